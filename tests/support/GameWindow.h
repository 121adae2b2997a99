#pragma once
// Runs the real game in a window on a private virtual X display (Xvfb), drives it with xdotool
// and reads its screenshots, for end-to-end tests. A test program starts one display and runs
// every game of its cases on it, one after the other.

#include "support/Process.h"
#include "support/ScratchDir.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

/// An Xvfb server on a free display number, stopped when this goes away.
class VirtualDisplay {
  public:
    VirtualDisplay() {
        int fds[2];
        if (pipe(fds) != 0) {
            return;
        }
        pid_ = fork();
        if (pid_ == 0) {
            // The server ends with the test program, however that ends, and keeps none of its
            // output channels open (ctest waits for them to close).
            prctl(PR_SET_PDEATHSIG, SIGTERM);
            const int null = open("/dev/null", O_WRONLY);
            dup2(null, 1);
            dup2(null, 2);
            close(fds[0]);
            const std::string fd = std::to_string(fds[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24",
                   "-nolisten", "tcp", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        // The server writes the number and then a line end, possibly in two writes: read up to
        // the line end before closing, or the server fails writing to a closed pipe.
        std::string number;
        char c = 0;
        while (read(fds[0], &c, 1) == 1 && c != '\n') {
            number.push_back(c);
        }
        close(fds[0]);
        if (!number.empty()) {
            name_ = ":" + number;
        }
    }
    ~VirtualDisplay() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;

    bool ok() const { return !name_.empty(); }
    const std::string& name() const { return name_; }

  private:
    pid_t pid_ = -1;
    std::string name_;
};

/// The test program's display, started on first use and stopped when the program ends.
inline VirtualDisplay& sharedDisplay() {
    static VirtualDisplay display;
    return display;
}

/// Checks `done` every 100 ms until it holds or `seconds` have passed; whether it held.
template <class Done> bool waitUntil(Done done, double seconds = 60) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > until) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return true;
}

/// The game started in the background in `dir`; its output goes to a file.
class GameRun {
  public:
    GameRun(const std::string& display, const std::string& dir, const std::string& args,
            const std::string& env = "")
        : log_(std::string(::testing::TempDir()) + "/beamworks_game_" + std::to_string(getpid()) +
               "_" + std::to_string(counter()++) + ".log") {
        // Mesa's drivers keep a few allocations to the end: the game's own code is leak-checked
        // by the unit tests. The player's progress and settings go to folders of the test's
        // own, unless `env` names others.
        const std::string command = "cd '" + dir + "' && DISPLAY=" + display +
                                    " ASAN_OPTIONS=detect_leaks=0 XDG_DATA_HOME='" +
                                    ::testing::TempDir() + "/beamworks-data' XDG_CONFIG_HOME='" +
                                    ::testing::TempDir() + "/beamworks-config' " + env +
                                    " exec ./beamworks " + args + " > '" + log_ + "' 2>&1";
        pid_ = fork();
        if (pid_ == 0) {
            prctl(PR_SET_PDEATHSIG, SIGKILL); // the game ends with the test program
            execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
    }
    ~GameRun() {
        if (pid_ > 0 && status_ < 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        std::remove(log_.c_str());
    }
    GameRun(const GameRun&) = delete;
    GameRun& operator=(const GameRun&) = delete;

    /// The exit status, or -1 if the game did not end within `seconds` (it is then killed).
    int wait(double seconds) {
        waitUntil( // a second call finds the status at once
            [&] {
                int status = 0;
                if (status_ >= 0 || waitpid(pid_, &status, WNOHANG) != pid_) {
                    return status_ >= 0;
                }
                status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128;
                return true;
            },
            seconds);
        return status_;
    }
    std::string output() const { return readFile(log_); }
    /// Waits until the output holds `text`.
    bool waitForOutput(const std::string& text, double seconds) const {
        return waitUntil([&] { return output().find(text) != std::string::npos; }, seconds);
    }

  private:
    static int& counter() {
        static int n = 0;
        return n;
    }
    pid_t pid_ = -1;
    int status_ = -1;
    std::string log_;
};

/// Runs xdotool on the display; true when it succeeded.
inline bool xdotool(const std::string& display, const std::string& args) {
    const std::string command =
        "DISPLAY=" + display + " timeout 60 xdotool " + args + " > /dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}
