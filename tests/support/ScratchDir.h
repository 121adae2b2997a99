#pragma once
// A fresh folder below the system's temporary folder, removed with everything in it; reading a
// file whole.

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

/// The bytes of a file ("" when it cannot be read).
inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

struct ScratchDir {
    std::filesystem::path path;
    explicit ScratchDir(const std::string& tag) {
        static int count = 0;
        path =
            std::filesystem::temp_directory_path() /
            ("beamworks-" + tag + "-" + std::to_string(::getpid()) + "-" + std::to_string(count++));
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
    }
    ~ScratchDir() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    std::string file(const std::string& name) const { return (path / name).string(); }
    /// Writes bytes to the file `name` and returns its path.
    std::string write(const std::string& name, const std::string& bytes) const {
        std::ofstream(file(name), std::ios::binary) << bytes;
        return file(name);
    }
};
