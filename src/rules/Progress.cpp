#include "rules/Progress.h"

#include "rules/LevelPack.h"

#include "rules/Settings.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

Progress progress;

namespace {

/// More than this many bytes is no progress file of ours (one line per level).
constexpr std::uintmax_t MAX_FILE_SIZE = 1 << 20;
/// The longest line: a name, a blank and the digits of MAX_MOVES.
constexpr std::size_t MAX_LINE = LEVEL_FILE_NAME_MAX + 1 + 9;

} // namespace

std::string Progress::defaultPath(const char* xdgDataHome, const char* home) {
    // Relative folders are ignored, as the XDG base directory rules say: the game runs in its
    // data folder, and they would point into it.
    if (xdgDataHome && *xdgDataHome == '/') {
        return std::string(xdgDataHome) + "/beamworks/progress.txt";
    }
    if (home && *home == '/') {
        return std::string(home) + "/.local/share/beamworks/progress.txt";
    }
    return "";
}

bool Progress::isLevelFileName(const std::string& line) {
    const std::string suffix = ".txt";
    if (line.size() <= suffix.size() || line.size() > LEVEL_FILE_NAME_MAX ||
        line.compare(line.size() - suffix.size(), suffix.size(), suffix) != 0) {
        return false;
    }
    for (char c : line) {
        if (c < 0x20 || c > 0x7E || c == '/' || c == '\\') {
            return false;
        }
    }
    return true;
}

bool Progress::load(const std::string& path, std::ostream& out) {
    path_ = path;
    solved_.clear();
    best_.clear();
    if (path.empty()) {
        out << "No home folder: solved levels are not remembered" << std::endl;
        return false;
    }
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        return false;
    }
    const auto damaged = [&](const char* why) {
        solved_.clear();
        best_.clear();
        out << "Progress file " << path << " " << why
            << ": starting with no level solved (the next solved level replaces it)" << std::endl;
        return true;
    };
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error || !std::filesystem::is_regular_file(path, error)) {
        return damaged("cannot be read");
    }
    if (size > MAX_FILE_SIZE) {
        return damaged("is too large to be ours");
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return damaged("cannot be read");
    }
    read(in, path, out);
    return true;
}

bool Progress::read(std::istream& in, const std::string& source, std::ostream& out) {
    solved_.clear();
    best_.clear();
    const auto damaged = [&](const char* why) {
        solved_.clear();
        best_.clear();
        out << "Progress file " << source << " " << why
            << ": starting with no level solved (the next solved level replaces it)" << std::endl;
        return false;
    };
    std::string line;
    // A line ends: it names a solved level, with its best moves or without, or nothing at all.
    // A name ends in ".txt", so a line that ends in digits has its moves after its last blank.
    const auto take = [&]() {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        bool ok = true;
        if (isLevelFileName(line)) {
            solved_.insert(line);
        } else if (!line.empty()) {
            const std::size_t blank = line.rfind(' ');
            const std::string name = line.substr(0, blank);
            const std::optional<int> moves =
                blank == std::string::npos ? std::nullopt : digitsValue(line.substr(blank + 1), 9);
            ok = moves && isLevelFileName(name);
            if (ok) {
                solved_.insert(name);
                const auto known = best_.emplace(name, *moves).first;
                known->second = std::min(known->second, *moves);
            }
        }
        line.clear();
        return ok;
    };
    std::uintmax_t bytes = 0;
    for (int c = in.get(); c != std::char_traits<char>::eof(); c = in.get()) {
        if (++bytes > MAX_FILE_SIZE) {
            return damaged("is too large to be ours");
        }
        if (c == '\n') {
            if (!take()) {
                return damaged("is damaged or not ours");
            }
        } else if (line.size() > MAX_LINE) {
            return damaged("is damaged or not ours");
        } else {
            line.push_back(static_cast<char>(c));
        }
    }
    return take() || damaged("is damaged or not ours");
}

std::optional<int> Progress::bestMoves(const std::string& levelFile) const {
    const auto found = best_.find(levelFile);
    return found != best_.end() ? std::optional<int>(found->second) : std::nullopt;
}

bool Progress::recordSolve(const std::string& levelFile, int moves, std::ostream& out) {
    if (!isLevelFileName(levelFile)) {
        return false;
    }
    moves = std::clamp(moves, 0, MAX_MOVES);
    const bool isNew = solved_.insert(levelFile).second;
    const std::optional<int> best = bestMoves(levelFile);
    if (!isNew && best && *best <= moves) {
        return false;
    }
    best_[levelFile] = moves;
    return save(out);
}

void Progress::write(std::ostream& o) const {
    for (const std::string& name : solved_) {
        o << name;
        if (const std::optional<int> best = bestMoves(name)) {
            o << ' ' << *best;
        }
        o << '\n';
    }
}

bool Progress::save(std::ostream& out) const {
    if (path_.empty()) {
        return false;
    }
    const std::filesystem::path file(path_);
    std::error_code error;
    std::filesystem::create_directories(file.parent_path(), error);
    const std::string temporary = path_ + ".tmp";
    {
        std::ofstream o(temporary, std::ios::binary | std::ios::trunc);
        write(o);
        o.flush();
        if (!o) {
            out << "Cannot save progress to " << path_ << ": the folder cannot be written"
                << std::endl;
            std::filesystem::remove(temporary, error);
            return false;
        }
    }
    std::filesystem::rename(temporary, file, error);
    if (error) {
        out << "Cannot save progress to " << path_ << ": " << error.message() << std::endl;
        std::filesystem::remove(temporary, error);
        return false;
    }
    return true;
}
