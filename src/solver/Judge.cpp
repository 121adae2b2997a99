#include "solver/Judge.h"
#include "solver/Hint.h"
#include "solver/Reach.h"
#include "solver/Solver.h"
#include "solver/Turnables.h"

#include "elements/ActiveObject.h"
#include "elements/Emitter.h"
#include "elements/Goal.h"
#include "level/Level.h"
#include "rules/ColourLabels.h"
#include "rules/RoomReach.h"
#include "rules/StartView.h"

#include <algorithm>
#include <cmath>
#include <iostream>
#include <sstream>

namespace {

// The element's 1-based number in the level's element list, as the checker names it.
int numberOf(const Level& level, const ActiveObject* element) {
    const auto at = std::find(level.activeObjects.begin(), level.activeObjects.end(), element);
    return static_cast<int>(at - level.activeObjects.begin()) + 1;
}

// "THE MAGENTA GOAL", or with its number when another goal wants the same colour: "THE MAGENTA
// GOAL 7".
std::string goalName(const Level& level, const FinshHead* goal) {
    const auto same =
        std::count_if(level.goals.begin(), level.goals.end(),
                      [&](const FinshHead* g) { return g->requiredColor == goal->requiredColor; });
    std::string name = "THE " + colourName(goal->requiredColor) + " GOAL";
    return same > 1 ? name + " " + std::to_string(numberOf(level, goal)) : name;
}

void addOnce(std::vector<std::string>& lines, const std::string& line) {
    if (std::find(lines.begin(), lines.end(), line) == lines.end()) {
        lines.push_back(line);
    }
}

// What the checker's --view says, as warnings.
void viewWarnings(Level& level, std::vector<std::string>& warnings) {
    for (const ViewedElement& e : startViewElements(level)) {
        if (!e.inside) {
            warnings.push_back(spokenName(*e.element) + " " + std::to_string(e.index + 1) +
                               " IS OUT OF THE START VIEW");
        }
    }
    const double farthest = farthestRoomDistance(level);
    if (std::isinf(farthest)) {
        warnings.push_back("THE WALLS DO NOT CLOSE THE ROOM AROUND THE EYE");
    } else if (farthest > ROOM_REACH_LIMIT) {
        warnings.push_back(
            "THE ROOM REACHES " + std::to_string(static_cast<long>(std::ceil(farthest))) +
            " UNITS FROM THE EYE, PAST " + std::to_string(static_cast<long>(ROOM_REACH_LIMIT)));
    }
}

} // namespace

std::string Verdict::headline() const {
    switch (kind) {
    case Kind::SolvedAsPlaced:
        return "SOLVED AS PLACED";
    case Kind::Solvable:
        return "SOLVABLE IN " + std::to_string(moves) + (moves == 1 ? " MOVE" : " MOVES");
    case Kind::NoSolution:
        return "NO SOLUTION";
    default:
        return "STILL LOOKING";
    }
}

std::string Verdict::consoleLine() const {
    switch (kind) {
    case Kind::SolvedAsPlaced:
        return "Check: solved as placed";
    case Kind::Solvable:
        return "Check: solvable in " + std::to_string(moves) + (moves == 1 ? " move" : " moves");
    case Kind::NoSolution:
        return "Check: no solution";
    default:
        return "";
    }
}

Verdict judgeLevel(Level& level, const std::atomic<bool>* cancel, double timeLimitSeconds) {
    Verdict verdict;
    viewWarnings(level, verdict.warnings);

    const bool hasLaser =
        std::any_of(level.activeObjects.begin(), level.activeObjects.end(),
                    [](const ActiveObject* o) { return dynamic_cast<const Emitter*>(o); });
    if (!hasLaser || level.goals.empty()) {
        verdict.kind = Verdict::Kind::NoSolution;
        verdict.reason = hasLaser ? "THE LEVEL HAS NO GOAL" : "THE LEVEL HAS NO LASER";
        return verdict;
    }

    SolveOptions options;
    options.cancel = cancel;
    options.timeLimitSeconds = timeLimitSeconds;
    options.carry = true;
    options.findPar = true;
    std::vector<solver::Turnable> turnables;
    for (std::size_t i = 0; i < level.activeObjects.size(); ++i) {
        if (Holder* holder = solver::holderOf(level.activeObjects[i])) {
            turnables.push_back(solver::makeTurnable(level.activeObjects[i], holder,
                                                     static_cast<int>(i), options.stepDegrees));
        }
    }
    const std::vector<solver::GoalBlock> blocks = solver::blockedGoals(level, turnables);
    for (std::size_t g = 0; g < blocks.size(); ++g) {
        const std::string goal = goalName(level, level.goals[g]);
        const std::string colour = colourName(level.goals[g]->requiredColor);
        std::string why;
        if (blocks[g] == solver::GoalBlock::WalledIn) {
            why = goal + ": NO LIGHT CAN REACH IT";
        } else if (blocks[g] == solver::GoalBlock::ColourNotMade) {
            why = goal + ": NO FILTER OR COLLECTOR MAKES " + colour;
            addOnce(verdict.warnings, "NO FILTER OR COLLECTOR MAKES " + colour);
        }
        if (verdict.reason.empty()) {
            verdict.reason = why;
        }
    }

    const SolveResult result = solve(level, options);
    switch (result.outcome) {
    case SolveOutcome::Solved:
        if (result.turns.empty()) {
            verdict.kind = Verdict::Kind::SolvedAsPlaced;
        } else if (result.par > 0) {
            verdict.kind = Verdict::Kind::Solvable;
            verdict.moves = result.par;
            for (const ElementTurn& turn :
                 result.parTurns.empty() ? result.turns : result.parTurns) {
                verdict.changes.push_back(describeChange(turn));
            }
            if (verdict.moves == 1) {
                verdict.warnings.push_back("ONE MOVE SOLVES IT");
            }
        }
        // else the time ran out before the par was known: still looking.
        break;
    case SolveOutcome::NoSolution:
        verdict.kind = Verdict::Kind::NoSolution;
        if (verdict.reason.empty() && turnables.empty()) {
            verdict.reason = "NOTHING CAN BE TURNED OR CARRIED";
        }
        break;
    default:
        break;
    }
    if (verdict.kind != Verdict::Kind::NoSolution) {
        verdict.reason.clear();
    }
    return verdict;
}

BackgroundJudge::BackgroundJudge(std::function<void()> prepareThread)
    : worker_([this, prepare = std::move(prepareThread)] { run(prepare); }) {}

BackgroundJudge::~BackgroundJudge() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
        cancel_ = true;
    }
    wake_.notify_all();
    worker_.join();
}

void BackgroundJudge::submit(const std::string& levelText) {
    // Built here, on the caller's thread: building reads the goal's model file, and the loader's
    // console lines are not wanted.
    auto level = std::make_unique<Level>();
    {
        std::ostringstream quiet;
        std::streambuf* saved = std::cout.rdbuf(quiet.rdbuf());
        std::istringstream in(levelText);
        level->read(in);
        std::cout.rdbuf(saved);
    }
    std::unique_ptr<Level> dropped;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        dropped = std::move(pending_);
        pending_ = std::move(level);
        ++submitted_;
        fresh_ = false;
        cancel_ = true;
    }
    wake_.notify_all();
}

bool BackgroundJudge::poll(Verdict& verdict) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!fresh_) {
        return false;
    }
    fresh_ = false;
    verdict = verdict_;
    return true;
}

bool BackgroundJudge::busy() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return finished_ != submitted_;
}

void BackgroundJudge::run(std::function<void()> prepareThread) {
    if (prepareThread) {
        prepareThread();
    }
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stop_ || pending_; });
        if (stop_) {
            return;
        }
        std::unique_ptr<Level> level = std::move(pending_);
        const long long number = submitted_;
        cancel_ = false;
        lock.unlock();
        Verdict verdict = judgeLevel(*level, &cancel_, BACKGROUND_JUDGE_SECONDS);
        level.reset();
        lock.lock();
        // A newer text cancelled this search (or will be judged next): its verdict is not wanted.
        if (number == submitted_ && !stop_) {
            verdict_ = std::move(verdict);
            finished_ = number;
            fresh_ = true;
        }
    }
}
