#pragma once
// A scripted audio backend for the sound layer's tests: its drivers and failures are set by the
// test, and everything the layer asks of it is recorded where the test can see it. Also the
// files and console lines of those tests.

#include "sound/SoundLayer.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

/// The fake's script and record, shared by the test and the backend.
struct FakeAudio {
    // Script.
    std::vector<sound::DriverInfo> drivers{{"Fake Output", 2, false}};
    std::set<int> refusedChannels; ///< opening with these channel counts fails
    bool openFails = false;        ///< every open fails
    bool ended = false;            ///< the stream ran out (or was halted)

    // Record.
    /// In order: "open N" (N channels; also failed attempts), "open silent", "close",
    /// "play loop", "play once", "pause", "resume", "seek MS", "halt", "volume PERCENT".
    std::vector<std::string> calls;
    std::map<int, std::string> loaded; ///< backend id -> path
};

class FakeBackend final : public sound::AudioBackend {
  public:
    explicit FakeBackend(std::shared_ptr<FakeAudio> audio) : a_(std::move(audio)) {}

    unsigned linkedVersion() const override { return sound::builtVersion(); }
    int driverCount() override { return int(a_->drivers.size()); }
    sound::DriverInfo driver(int index) override { return a_->drivers.at(std::size_t(index)); }
    sound::Result open(const sound::OutputSettings& settings, bool silent) override {
        a_->calls.push_back("open " + (silent ? "silent" : std::to_string(settings.channels)));
        if (a_->openFails) {
            return sound::Result::OutputInit;
        }
        return !silent && a_->refusedChannels.count(settings.channels) > 0
                   ? sound::Result::OutputCreateBuffer
                   : sound::Result::Ok;
    }
    void close() override { a_->calls.push_back("close"); }
    /// Streams are the files named *.fake; anything else does not decode.
    sound::Result load(const std::string& path, int& id) override {
        if (path.size() < 5 || path.compare(path.size() - 5, 5, ".fake") != 0) {
            return sound::Result::Format;
        }
        id = nextId_++;
        a_->loaded[id] = path;
        return sound::Result::Ok;
    }
    void unload(int id) override { a_->loaded.erase(id); }
    sound::Result play(int, bool loop) override {
        a_->calls.push_back(std::string("play ") + (loop ? "loop" : "once"));
        a_->ended = false;
        return sound::Result::Ok;
    }
    void pause() override { a_->calls.push_back("pause"); }
    void resume() override { a_->calls.push_back("resume"); }
    bool playing() override { return !a_->ended; }
    sound::Result seek(double seconds) override {
        a_->calls.push_back("seek " + std::to_string(int(seconds * 1000)));
        return sound::Result::Ok;
    }
    void halt() override {
        a_->calls.push_back("halt");
        a_->ended = true;
    }
    void setVolume(double volume) override {
        a_->calls.push_back("volume " + std::to_string(int(volume * 100 + 0.5)));
    }

  private:
    std::shared_ptr<FakeAudio> a_;
    int nextId_ = 1;
};

/// The sound tests' scratch folder.
inline const ScratchDir& scratch() {
    static const ScratchDir dir("sound");
    return dir;
}

/// What action printed on standard output.
template <typename F> std::string printed(F&& action) {
    testing::internal::CaptureStdout();
    action();
    return testing::internal::GetCapturedStdout();
}

/// Whether what was printed starts with the error report of code.
inline bool reportsError(const std::string& printed, sound::Result code) {
    return printed.rfind("FMOD error! (" + std::to_string(int(code)) + ") ", 0) == 0;
}
