#include "rules/Par.h"

#include "rules/LevelPack.h"

#include <fstream>

ParTable parTable;

namespace {

/// Longer lines are no lines of ours ("level123456.txt 9999" is 20 bytes).
constexpr std::size_t MAX_LINE = 64;

// The par of a line's end: 1 to 4 digits, not 0, no leading zero.
std::optional<int> parIn(const std::string& digits) {
    return digits.empty() || digits[0] == '0' ? std::nullopt : digitsValue(digits, 4);
}

bool isBarePackName(const std::string& name) {
    return name.find('/') == std::string::npos && packNumber(name) > 0;
}

} // namespace

bool ParTable::load(const std::string& path, std::ostream& out) {
    par_.clear();
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        out << "No par file " << path << ": the levels show no par" << std::endl;
        return false;
    }
    read(in, path, out);
    return true;
}

bool ParTable::read(std::istream& in, const std::string& source, std::ostream& out) {
    par_.clear();
    int lineNumber = 0, firstBad = 0, bad = 0;
    std::string line;
    while (std::getline(in, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.empty() || line[0] == '#') {
            continue;
        }
        const std::size_t blank = line.find(' ');
        const std::string name = line.substr(0, blank);
        const std::optional<int> par =
            blank == std::string::npos ? std::nullopt : parIn(line.substr(blank + 1));
        if (line.size() > MAX_LINE || !par || !isBarePackName(name) ||
            !par_.emplace(name, *par).second) {
            ++bad;
            firstBad = firstBad != 0 ? firstBad : lineNumber;
        }
    }
    if (bad > 0) {
        out << "Par file " << source << ": " << bad << (bad == 1 ? " line" : " lines")
            << " left out, the first line " << firstBad
            << " (a line is a level file and its par, \"level4.txt 3\")" << std::endl;
    }
    return bad == 0;
}

std::optional<int> ParTable::parOf(const std::string& levelFile) const {
    const auto found = par_.find(levelFile);
    return found != par_.end() ? std::optional<int>(found->second) : std::nullopt;
}

std::string solvedMessage(int moves, std::optional<int> par) {
    std::string text = "SOLVED IN " + std::to_string(moves) + " MOVES";
    if (par) {
        text += " - PAR " + std::to_string(*par);
    }
    return text;
}

std::string solvedLine(const std::string& levelFile, int moves, std::optional<int> par) {
    std::string text = "Level solved: " + levelFile + " in " + std::to_string(moves) + " moves";
    if (par) {
        text += " (par " + std::to_string(*par) + ")";
    }
    return text;
}

bool isAtPar(std::optional<int> best, std::optional<int> par) {
    return best && par && *best <= *par;
}
