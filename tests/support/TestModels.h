#pragma once
// Loads the game's generated models from the staged game folder once per test binary, without
// the loader's console lines.

#include "model/GameModels.h"

#include <gtest/gtest.h>

#include <iostream>
#include <sstream>

inline void loadTestModels() {
    static bool loaded = false;
    if (loaded) {
        return;
    }
    std::ostringstream sink;
    std::streambuf* saved = std::cout.rdbuf(sink.rdbuf());
    const auto failed = loadGameModels(BEAMWORKS_GAME_DIR);
    std::cout.rdbuf(saved);
    ASSERT_TRUE(failed.empty()) << "cannot load " << failed.front() << " from "
                                << BEAMWORKS_GAME_DIR;
    loaded = true;
}

/// The fixture of tests that build scene objects: the models are loaded first.
class WithGameModels : public ::testing::Test {
  protected:
    void SetUp() override { loadTestModels(); }
};

/// Runs f with standard output captured and returns what it printed.
template <class F> std::string captureStdout(F&& f) {
    std::ostringstream sink;
    std::streambuf* saved = std::cout.rdbuf(sink.rdbuf());
    f();
    std::cout.rdbuf(saved);
    return sink.str();
}
