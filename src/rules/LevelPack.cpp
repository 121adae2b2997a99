#include "rules/LevelPack.h"

#include <cctype>
#include <climits>

namespace {

const std::string PREFIX = "level";
const std::string SUFFIX = ".txt";

bool hasPackShape(const std::string& name) {
    return name.size() > PREFIX.size() + SUFFIX.size() &&
           name.compare(0, PREFIX.size(), PREFIX) == 0 &&
           name.compare(name.size() - SUFFIX.size(), SUFFIX.size(), SUFFIX) == 0;
}

// What stands between "level" and ".txt", or the whole name.
std::string stem(const std::string& name) {
    if (!hasPackShape(name)) {
        return name;
    }
    return name.substr(PREFIX.size(), name.size() - PREFIX.size() - SUFFIX.size());
}

std::string trimmed(const std::string& s) {
    std::size_t a = 0, b = s.size();
    while (a < b && std::isspace(static_cast<unsigned char>(s[a]))) {
        ++a;
    }
    while (b > a && std::isspace(static_cast<unsigned char>(s[b - 1]))) {
        --b;
    }
    return s.substr(a, b - a);
}

} // namespace

namespace {

// The folder part of a path, with its slash ("" for a bare name), and the name.
std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "" : path.substr(0, slash + 1);
}
std::string nameOf(const std::string& path) {
    return path.substr(folderOf(path).size());
}

} // namespace

int packNumber(const std::string& path) {
    const std::string fileName = nameOf(path);
    if (!hasPackShape(fileName)) {
        return 0;
    }
    const std::string digits = stem(fileName);
    if (digits.size() > 6 || digits[0] == '0') {
        return 0;
    }
    int n = 0;
    for (char c : digits) {
        if (!std::isdigit(static_cast<unsigned char>(c))) {
            return 0;
        }
        n = 10 * n + (c - '0');
    }
    return n;
}

std::string neighbourLevel(const std::string& fileName, int step,
                           const std::function<bool(const std::string&)>& exists) {
    const int n = packNumber(fileName);
    if (n == 0 || n + step < 1) {
        return "";
    }
    const std::string next = folderOf(fileName) + PREFIX + std::to_string(n + step) + SUFFIX;
    return exists(next) ? next : "";
}

std::string levelTitle(const std::string& leadingComment, const std::string& fileName) {
    std::size_t at = 0;
    while (at < leadingComment.size()) {
        std::size_t end = leadingComment.find('\n', at);
        if (end == std::string::npos) {
            end = leadingComment.size();
        }
        const std::string line = trimmed(leadingComment.substr(at, end - at));
        if (!line.empty()) {
            return line;
        }
        at = end + 1;
    }
    return fileName;
}

std::string levelStartMessage(const std::string& fileName, bool solvedBefore) {
    return "LEVEL " + upperCase(stem(nameOf(fileName))) + (solvedBefore ? " - SOLVED BEFORE" : "");
}

std::string upperCase(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return text;
}

std::optional<int> digitsValue(const std::string& digits, std::size_t maxDigits) {
    if (digits.empty() || digits.size() > maxDigits) {
        return std::nullopt;
    }
    int value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}
