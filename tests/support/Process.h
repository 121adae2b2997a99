#pragma once
// Runs a program of the game folder as a real process and collects what it prints.

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

struct ProcessResult {
    int status;      ///< exit status, -1 when the process did not exit normally
    std::string out; ///< standard output and standard error
};

/// Runs `command` (a shell command line) in `dir`.
inline ProcessResult runIn(const std::string& dir, const std::string& command) {
    const std::string line = "cd '" + dir + "' && " + command + " 2>&1";
    ProcessResult r{-1, ""};
    FILE* pipe = popen(line.c_str(), "r");
    if (!pipe) {
        return r;
    }
    std::array<char, 4096> buffer;
    std::size_t n;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
        r.out.append(buffer.data(), n);
    }
    const int status = pclose(pipe);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}
