#pragma once
// The level editor's judge: what the solver knows of a level as it stands, in words for a panel
// and a console line, and the warnings a designer should hear of (what the checker's --view says,
// a level that one move solves, a goal whose colour cannot be made). No window.
//
// judgeLevel runs the carrying solver with findPar on the level it is given: the move count is
// the par, the fewest moves that solve the level, a carry and a turn of the same holder counting
// two. BackgroundJudge runs it on a worker thread of its own, on a Level of its own built from
// the text it is given, and drops what an older text would have said as soon as a newer one comes.

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class Level;

struct Verdict {
    enum class Kind { StillLooking, SolvedAsPlaced, Solvable, NoSolution };
    Kind kind = Kind::StillLooking;
    int moves = -1; ///< Solvable: the par (fewest moves, carries included)
    /// Solvable: what the solver changes, one line each, in words, naming each element by its
    /// 1-based number in the level's element list as the checker does ("TURN MIRROR 2 30 DEGREES
    /// LEFT", "CARRY MIRROR 2 ON THE CEILING ABOVE THE COLLECTOR").
    std::vector<std::string> changes;
    /// NoSolution: the reason when known ("THE WHITE GOAL: NO LIGHT CAN REACH IT", "THE MAGENTA
    /// GOAL: NO FILTER OR COLLECTOR MAKES MAGENTA"), else "".
    std::string reason;
    std::vector<std::string> warnings; ///< upper case, one line each
    /// The panel's first line: "SOLVED AS PLACED", "SOLVABLE IN 3 MOVES", "NO SOLUTION",
    /// "STILL LOOKING".
    std::string headline() const;
    /// The console line: "Check: solvable in 3 moves", "Check: no solution", "Check: solved as
    /// placed"; "" while still looking.
    std::string consoleLine() const;
};

/// Judges a level synchronously (the level is the caller's; the solver leaves its local matrices
/// as given and its lasers traced anew). Warnings, each when it applies: an element or goal out of
/// the start view ("MIRROR 5 IS OUT OF THE START VIEW"), one move solves the level ("ONE MOVE
/// SOLVES IT"), a goal's colour cannot be made from the filters and collectors present ("NO
/// FILTER OR COLLECTOR MAKES MAGENTA"), a room point lies beyond the far distance from where the
/// eye can stand ("THE ROOM REACHES 2452 UNITS FROM THE EYE, PAST 1990", or "THE WALLS DO NOT
/// CLOSE THE ROOM AROUND THE EYE"). A level already solved as placed is "SOLVED AS PLACED" (a level
/// must not start solved). A level without a goal or without a laser has no solution, and says so.
/// Stops early (StillLooking, with the warnings) on the cancel flag or the time limit (0 or less
/// for none).
Verdict judgeLevel(Level& level, const std::atomic<bool>* cancel = nullptr,
                   double timeLimitSeconds = 0);

/// Runs judgeLevel in the background on levels given as text: each submit cancels a search under
/// way and starts one on the newest text (its own Level built from it); poll gives the newest
/// finished verdict once. The worker thread calls `prepareThread` first (the game lowers its
/// priority there). Joins its thread on destruction.
///
/// submit builds the Level on the calling thread (building one reads the goal's model file, and
/// the loader's console lines are kept quiet there), so it must not run beside another thread that
/// writes to std::cout or loads models; the worker only solves. A search stops at
/// BACKGROUND_JUDGE_SECONDS with StillLooking.
class BackgroundJudge {
  public:
    /// How long a background search may think, seconds.
    static constexpr double BACKGROUND_JUDGE_SECONDS = 60.0;

    explicit BackgroundJudge(std::function<void()> prepareThread = {});
    ~BackgroundJudge();
    BackgroundJudge(const BackgroundJudge&) = delete;
    BackgroundJudge& operator=(const BackgroundJudge&) = delete;
    void submit(const std::string& levelText);
    /// True once per finished verdict of the newest submitted text.
    bool poll(Verdict& verdict);
    /// Whether a submitted text has no verdict yet.
    bool busy() const;

  private:
    void run(std::function<void()> prepareThread);

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::unique_ptr<Level> pending_; ///< built from the newest text, not yet taken by the worker
    long long submitted_ = 0;        ///< texts submitted
    long long finished_ = 0;         ///< the text whose verdict is in `verdict_`
    bool fresh_ = false;             ///< `verdict_` not yet polled
    bool stop_ = false;
    Verdict verdict_;
    std::atomic<bool> cancel_{false};
    std::thread worker_; ///< last: starts once the rest is built
};
