#include "app/FrameStats.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iomanip>
#include <numeric>

FrameStats FrameStats::fromEnvironment() {
    FrameStats stats;
    if (const char* frames = std::getenv("BEAMWORKS_FRAMES")) {
        stats.framesWanted_ = std::max(0, std::atoi(frames));
    }
    if (const char* after = std::getenv("BEAMWORKS_FRAMES_AFTER")) {
        const double seconds = std::atof(after);
        stats.delay_ = seconds > 0 ? seconds : 0; // NaN too
    }
    if (const char* shot = std::getenv("BEAMWORKS_SCREENSHOT")) {
        stats.screenshot_ = shot;
    }
    return stats;
}

void FrameStats::beginFrame(double now) {
    if (firstFrame_ < 0) {
        firstFrame_ = now;
    }
    if (recording_ && frames_ < framesWanted_) {
        periods_.push_back((now - frameStart_) * 1000.0);
    }
    recording_ = now - firstFrame_ >= delay_;
    frameStart_ = passStart_ = now;
}

void FrameStats::pass(const char* name, double now) {
    if (!recording_) {
        passStart_ = now;
        return;
    }
    const auto at = std::find(names_.begin(), names_.end(), name);
    std::size_t i = static_cast<std::size_t>(at - names_.begin());
    if (at == names_.end()) {
        names_.emplace_back(name);
        samples_.emplace_back();
    }
    samples_[i].push_back((now - passStart_) * 1000.0);
    passStart_ = now;
}

void FrameStats::endFrame(double now) {
    if (!recording_) {
        return;
    }
    frameTimes_.push_back((now - frameStart_) * 1000.0);
    ++frames_;
}

void FrameStats::recordFrameState(long stencilPixels, int modelviewDepth) {
    if (!recording_) {
        return;
    }
    stencilPixels_.push_back(stencilPixels);
    modelviewDepths_.push_back(modelviewDepth);
}

double FrameStats::percentile(std::vector<double> values, double p) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    const auto rank = static_cast<std::size_t>(std::ceil(p / 100.0 * values.size()));
    return values[std::min(values.size() - 1, rank > 0 ? rank - 1 : 0)];
}

void FrameStats::print(std::ostream& out) const {
    const auto line = [&](const std::string& name, const std::vector<double>& v) {
        const double mean =
            v.empty() ? 0
                      : std::accumulate(v.begin(), v.end(), 0.0) / static_cast<double>(v.size());
        out << std::fixed << std::setprecision(3) << name << ": mean " << mean << " ms, p95 "
            << percentile(v, 95) << " ms" << std::defaultfloat << "\n";
    };
    out << "\nFrame statistics over " << frames_ << " frames\n";
    for (std::size_t i = 0; i < names_.size(); ++i) {
        line(names_[i], samples_[i]);
    }
    line("frame", frameTimes_);
    line("period", periods_);
    out << "Stencil non-zero pixels after each frame:";
    for (long n : stencilPixels_) {
        out << " " << n;
    }
    out << "\nModelview stack depth after each frame:";
    for (int d : modelviewDepths_) {
        out << " " << d;
    }
    out << "\n";
    out.flush();
}
