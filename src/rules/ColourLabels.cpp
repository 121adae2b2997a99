#include "rules/ColourLabels.h"

#include <algorithm>

std::string colourName(signed char colorCode) {
    static const char* const NAMES[] = {"BLACK", "RED",     "GREEN", "YELLOW",
                                        "BLUE",  "MAGENTA", "CYAN",  "WHITE"};
    return colorCode >= 0 && colorCode <= 7 ? NAMES[colorCode] : NAMES[0];
}

std::string goalLabel(signed char wanted, const std::vector<signed char>& arriving,
                      bool satisfied) {
    if (satisfied) {
        return colourName(wanted) + " - OPEN";
    }
    std::string label = "WANTS " + colourName(wanted);
    std::vector<signed char> seen;
    for (signed char c : arriving) {
        if (std::find(seen.begin(), seen.end(), c) == seen.end()) {
            seen.push_back(c);
        }
    }
    for (std::size_t i = 0; i < seen.size(); ++i) {
        label += (i == 0 ? " - GETS " : " + ") + colourName(seen[i]);
    }
    return label;
}

std::string filterLabel(signed char passes) {
    return "PASSES " + colourName(passes);
}
