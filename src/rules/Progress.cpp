#include "rules/Progress.h"

#include "rules/Settings.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

Progress progress;

namespace {

/// More than this many bytes is no progress file of ours (one line per level).
constexpr std::uintmax_t MAX_FILE_SIZE = 1 << 20;

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
    const auto damaged = [&](const char* why) {
        solved_.clear();
        out << "Progress file " << source << " " << why
            << ": starting with no level solved (the next solved level replaces it)" << std::endl;
        return false;
    };
    std::string line;
    // A line ends: it names a solved level, or nothing at all.
    const auto take = [&]() {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        const bool ok = line.empty() || isLevelFileName(line);
        if (ok && !line.empty()) {
            solved_.insert(line);
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
        } else if (line.size() > LEVEL_FILE_NAME_MAX) {
            return damaged("is damaged or not ours");
        } else {
            line.push_back(static_cast<char>(c));
        }
    }
    return take() || damaged("is damaged or not ours");
}

bool Progress::markSolved(const std::string& levelFile, std::ostream& out) {
    if (!isLevelFileName(levelFile) || !solved_.insert(levelFile).second) {
        return false;
    }
    return save(out);
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
        for (const std::string& name : solved_) {
            o << name << '\n';
        }
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
