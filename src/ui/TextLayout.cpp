#include "ui/TextLayout.h"

namespace {

const std::string ELLIPSIS = "...";

std::string drawableText(const std::string& text, const std::string& drawable) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '\r') {
            continue;
        }
        if (c == '\t') {
            c = ' ';
        }
        out.push_back(c == '\n' || drawable.find(c) != std::string::npos ? c : '?');
    }
    return out;
}

// Breaks one paragraph (no line ends) into lines that fit.
void breakParagraph(const std::string& paragraph, int maxWidth, const TextWidth& widthOf,
                    std::vector<std::string>& lines) {
    std::string line;
    std::size_t at = 0;
    while (at < paragraph.size()) {
        // The next word and the spaces before it.
        std::size_t start = at;
        while (start < paragraph.size() && paragraph[start] == ' ') {
            ++start;
        }
        std::size_t end = start;
        while (end < paragraph.size() && paragraph[end] != ' ') {
            ++end;
        }
        const std::string word = paragraph.substr(start, end - start);
        const std::string joined = line.empty() ? word : line + " " + word;
        at = end;
        if (word.empty() || widthOf(joined) <= maxWidth) {
            line = joined;
            continue;
        }
        if (!line.empty()) {
            lines.push_back(line);
            line.clear();
        }
        // A word wider than a line is broken inside.
        std::string rest = word;
        while (widthOf(rest) > maxWidth && rest.size() > 1) {
            std::size_t n = rest.size() - 1;
            while (n > 1 && widthOf(rest.substr(0, n)) > maxWidth) {
                --n;
            }
            lines.push_back(rest.substr(0, n));
            rest = rest.substr(n);
        }
        line = rest;
    }
    lines.push_back(line);
}

} // namespace

std::string fitLine(const std::string& line, int maxWidth, const TextWidth& widthOf) {
    if (widthOf(line) <= maxWidth) {
        return line;
    }
    std::string cut = line;
    while (!cut.empty() && widthOf(cut + ELLIPSIS) > maxWidth) {
        cut.pop_back();
    }
    // Whole words where there is room for one.
    if (cut.size() < line.size() && line[cut.size()] != ' ') {
        const std::size_t space = cut.rfind(' ');
        if (space != std::string::npos && space > 0) {
            cut.resize(space);
        }
    }
    while (!cut.empty() && cut.back() == ' ') {
        cut.pop_back();
    }
    return cut + ELLIPSIS;
}

std::vector<std::string> layoutText(const std::string& text, int maxWidth, std::size_t maxLines,
                                    const TextWidth& widthOf, const std::string& drawable) {
    const std::string clean = drawableText(text, drawable);
    // Paragraphs are separated by blank lines; the lines within one flow together.
    std::vector<std::string> paragraphs{""};
    std::size_t at = 0;
    while (at <= clean.size()) {
        std::size_t end = clean.find('\n', at);
        if (end == std::string::npos) {
            end = clean.size();
        }
        const std::string line = clean.substr(at, end - at);
        if (line.find_first_not_of(' ') == std::string::npos) {
            if (!paragraphs.back().empty()) {
                paragraphs.emplace_back();
            }
        } else {
            paragraphs.back() += (paragraphs.back().empty() ? "" : " ") + line;
        }
        at = end + 1;
    }
    std::vector<std::string> lines;
    for (const std::string& paragraph : paragraphs) {
        if (!lines.empty()) {
            lines.emplace_back();
        }
        breakParagraph(paragraph, maxWidth, widthOf, lines);
    }
    const auto blank = [](const std::string& s) { return s.find_first_not_of(' ') == s.npos; };
    while (!lines.empty() && blank(lines.back())) {
        lines.pop_back();
    }
    std::size_t first = 0;
    while (first < lines.size() && blank(lines[first])) {
        ++first;
    }
    lines.erase(lines.begin(), lines.begin() + static_cast<long>(first));
    if (lines.size() > maxLines) {
        lines.resize(maxLines);
        if (!lines.empty()) {
            lines.back() = fitLine(lines.back() + ELLIPSIS, maxWidth, widthOf);
        }
    }
    return lines;
}
