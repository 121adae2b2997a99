#pragma once
// Frame-time statistics per render pass, for measuring the renderer: with the environment
// variable BEAMWORKS_FRAMES=N the game runs N frames, prints the mean and 95th percentile of
// each pass and of the whole frame, and ends (BEAMWORKS_SCREENSHOT=file.png also saves the last
// frame). BEAMWORKS_FRAMES_AFTER=SECONDS leaves out the frames of the first SECONDS seconds
// (start-up, or the time a script needs to begin a drag): they are run but not counted.
// BEAMWORKS_SCREENSHOT alone saves every frame over the same file, so that the file holds the
// last frame when the game ends. Otherwise nothing is measured.

#include <ostream>
#include <string>
#include <vector>

class FrameStats {
  public:
    /// Reads the environment; disabled unless BEAMWORKS_FRAMES is a positive number.
    static FrameStats fromEnvironment();

    bool enabled() const { return framesWanted_ > 0; }
    /// True once the wanted number of frames has been recorded.
    bool done() const { return enabled() && frames_ >= framesWanted_; }
    const std::string& screenshotPath() const { return screenshot_; }

    /// Starts timing a frame; pass() ends the running pass and names it. A frame that begins
    /// less than the delay after the first one is not recorded.
    void beginFrame(double now);
    void pass(const char* name, double now);
    void endFrame(double now);

    /// Records the renderer's state left after a frame: pixels with a non-zero stencil value
    /// and the depth of the modelview matrix stack.
    void recordFrameState(long stencilPixels, int modelviewDepth);

    /// "pass: mean X ms, p95 Y ms" per pass in first-seen order, then the whole frame, then the
    /// period (from a recorded frame's start to the next one's, waits between frames included),
    /// then the state after each frame.
    void print(std::ostream& out) const;

    /// The p-th percentile (0..100) of the values, by the nearest-rank rule; 0 for none.
    static double percentile(std::vector<double> values, double p);

  private:
    int framesWanted_ = 0;
    int frames_ = 0;
    double delay_ = 0;       ///< seconds from the first frame before recording starts
    double firstFrame_ = -1; ///< when the first frame began, -1 before it
    bool recording_ = false; ///< the running frame counts
    std::string screenshot_;
    double frameStart_ = 0, passStart_ = 0;
    std::vector<std::string> names_;
    std::vector<std::vector<double>> samples_; ///< per pass, milliseconds
    std::vector<double> frameTimes_;
    std::vector<double> periods_; ///< from each recorded frame's start to the next one's
    std::vector<long> stencilPixels_;
    std::vector<int> modelviewDepths_;
};
