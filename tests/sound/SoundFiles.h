#pragma once
// Files for the sound tests: fake streams written on the spot, and what a call printed.

#include "FakeBackend.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>
#include <string>

/// A stream the fake backend decodes.
inline std::string fakeStream(const ScratchDir& dir, const std::string& name) {
    return dir.write(name, std::string(FAKE_STREAM_TAG) + " music");
}

/// What action printed on standard output.
template <typename F> std::string printed(F&& action) {
    testing::internal::CaptureStdout();
    action();
    return testing::internal::GetCapturedStdout();
}
