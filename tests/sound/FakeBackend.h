#pragma once
// A scripted audio backend for the sound layer's tests: its drivers and failures are set by the
// test, and everything the layer asks of it is recorded where the test can see it.

#include "sound/SoundLayer.h"

#include <fstream>
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

    // Record.
    std::vector<sound::OutputSettings> opens; ///< successful and failed attempts
    std::vector<bool> silentOpens;
    bool open = false;
    int closes = 0;
    std::map<int, std::string> loaded; ///< backend id -> path
    std::vector<std::string> calls;    ///< play/pause/resume/seek/halt in order
    int current = 0;                   ///< the stream on the output, 0 for none
    bool loop = false, paused = false;
    bool ended = false; ///< set by tests: the stream ran out
    double position = 0;
};

/// Streams are files that start with this tag, 60 s long; anything else does not decode.
constexpr const char* FAKE_STREAM_TAG = "FAKESTREAM";

class FakeBackend final : public sound::AudioBackend {
  public:
    explicit FakeBackend(std::shared_ptr<FakeAudio> audio) : a_(std::move(audio)) {}

    unsigned linkedVersion() const override { return sound::builtVersion(); }
    int driverCount() override { return int(a_->drivers.size()); }
    sound::DriverInfo driver(int index) override { return a_->drivers.at(std::size_t(index)); }
    sound::Result open(const sound::OutputSettings& settings, bool silent) override {
        a_->opens.push_back(settings);
        a_->silentOpens.push_back(silent);
        if (a_->openFails) {
            return sound::Result::OutputInit;
        }
        if (!silent && a_->refusedChannels.count(settings.channels) > 0) {
            return sound::Result::OutputCreateBuffer;
        }
        a_->open = true;
        return sound::Result::Ok;
    }
    void close() override {
        a_->open = false;
        ++a_->closes;
    }
    sound::Result load(const std::string& path, int& id) override {
        std::ifstream in(path, std::ios::binary);
        std::string head(std::char_traits<char>::length(FAKE_STREAM_TAG), '\0');
        if (!in.read(&head[0], std::streamsize(head.size())) || head != FAKE_STREAM_TAG) {
            return sound::Result::Format;
        }
        id = nextId_++;
        a_->loaded[id] = path;
        return sound::Result::Ok;
    }
    void unload(int id) override { a_->loaded.erase(id); }
    sound::Result play(int id, bool loop) override {
        a_->calls.push_back(std::string("play ") + (loop ? "loop" : "once"));
        a_->current = id;
        a_->loop = loop;
        a_->paused = a_->ended = false;
        a_->position = 0;
        return sound::Result::Ok;
    }
    void pause() override {
        a_->calls.push_back("pause");
        a_->paused = true;
    }
    void resume() override {
        a_->calls.push_back("resume");
        a_->paused = false;
    }
    bool playing() override { return a_->current != 0 && !a_->ended; }
    sound::Result seek(double seconds) override {
        a_->calls.push_back("seek " + std::to_string(int(seconds * 1000)));
        a_->position = seconds;
        return sound::Result::Ok;
    }
    void halt() override {
        a_->calls.push_back("halt");
        a_->current = 0;
    }

  private:
    std::shared_ptr<FakeAudio> a_;
    int nextId_ = 1;
};

/// A backend on audio, for System::create and initMusic.
inline std::unique_ptr<sound::AudioBackend> fakeBackend(const std::shared_ptr<FakeAudio>& audio) {
    return std::make_unique<FakeBackend>(audio);
}
