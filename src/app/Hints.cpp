#include "app/Hints.h"

#include "app/Display.h"
#include "app/Sounds.h"
#include "app/ThreadPriority.h"
#include "elements/ActiveObject.h"
#include "laser/Tracer.h"
#include "level/Level.h"
#include "rules/Interaction.h"
#include "rules/Settings.h"
#include "solver/Hint.h"
#include "ui/UserInterface.h"

#include <atomic>
#include <future>
#include <iostream>
#include <memory>
#include <sstream>
#include <vector>

namespace {

/// A search on its own copies of the level, on a worker thread.
struct Search {
    std::unique_ptr<Level> level;   ///< the worker's alone until the result is taken
    std::unique_ptr<Level> shipped; ///< the level as its file has it, likewise
    std::vector<Matrix> poses;      ///< the game's local matrices when the search began
    std::atomic<bool> cancel{false};
    std::future<HintSearch> result;
};

std::unique_ptr<Search> running;

/// Longest a hint may think, seconds.
constexpr double HINT_TIME_LIMIT = 30.0;

// The level read from its file again, quietly (the goals load their door).
std::unique_ptr<Level> levelFromFile() {
    std::ostringstream quiet;
    std::streambuf* saved = std::cout.rdbuf(quiet.rdbuf());
    auto level = std::make_unique<Level>(levelFileName);
    std::cout.rdbuf(saved);
    return level;
}

// The level as the player has it now: read from its file again, with every object's local matrix
// copied from the game's. Null when the file has changed under the game and no longer matches.
std::unique_ptr<Level> snapshotOfLevel() {
    auto copy = levelFromFile();
    const Level& game = *currentLevel;
    if (!copy->isLoaded() || copy->objects.size() != game.objects.size() - game.laserBeams.size()) {
        return nullptr;
    }
    for (std::size_t i = 0; i < copy->objects.size(); ++i) {
        copy->objects[i]->setLocalMatrix(game.objects[i]->localMatrix);
    }
    return copy;
}

// The local matrices of the game's objects but the laser beams (which come last): what the
// snapshot copies.
std::vector<Matrix> currentPoses() {
    const Level& game = *currentLevel;
    std::vector<Matrix> poses;
    const std::size_t count = game.objects.size() - game.laserBeams.size();
    poses.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        poses.push_back(game.objects[i]->localMatrix);
    }
    return poses;
}

// The line under a hint: where a carry goes (its place in words), and what the hint cost.
std::string withPlace(const std::string& place) {
    const std::string cost = "THIS HINT COST 20 SECONDS OF ENERGY";
    return place.empty() ? cost : place + " - " + cost;
}

} // namespace

void requestHint() {
    if (running || levelSolved || gameOver) {
        return;
    }
    auto search = std::make_unique<Search>();
    search->level = snapshotOfLevel();
    if (!search->level) {
        std::cout << "\nHint: the level file changed; restart the level" << std::endl;
        return;
    }
    search->shipped = levelFromFile();
    search->poses = currentPoses();
    SolveOptions options;
    options.timeLimitSeconds = HINT_TIME_LIMIT;
    options.cancel = &search->cancel;
    Level* level = search->level.get();
    Level* shipped = search->shipped.get();
    search->result = std::async(std::launch::async, [level, shipped, options] {
        // The search takes only the time the frames leave: it may think for seconds, and the
        // game must not stutter meanwhile.
        lowerThreadPriority();
        return findHint(*level, *shipped, options);
    });
    running = std::move(search);
    if (userInterface) {
        userInterface->flashMessage("LOOKING FOR A HINT");
    }
}

bool hintSearching() {
    return running &&
           running->result.wait_for(std::chrono::seconds(0)) != std::future_status::ready;
}

void pollHint() {
    if (!running || hintSearching()) {
        return;
    }
    const HintSearch found = running->result.get();
    const SolveResult& result = found.result;
    if (running->poses != currentPoses()) {
        // The player turned, moved or undid something meanwhile: the answer is about a level
        // that is no more. Ask again from where the player stands now.
        std::cout << "\nHint: the level changed while looking; looking again" << std::endl;
        running.reset();
        requestHint();
        return;
    }
    const Hint hint = describeHint(found);
    std::cout << "\n" << hint.console << std::endl;
    playCue(Cue::Hint);
    if (hint.helps) {
        // Select the same element in the game's level, as a click would.
        const ElementTurn& first = result.turns.front();
        const int index = first.activeIndex;
        // A carry's spot is marked on its surface.
        hintSpot = HintSpot{};
        if (first.carry.carried) {
            const float* p = first.carry.point;
            const float* n = first.carry.normal;
            hintSpot = {true, {p[0], p[1], p[2], 1}, {n[0], n[1], n[2], 0}};
        }
        if (index >= 0 && index < static_cast<int>(currentLevel->activeObjects.size())) {
            selectElement(currentLevel->activeObjects[index]);
        }
        energy -= HINT_ENERGY_COST;
        std::cout << "Hint costs " << HINT_ENERGY_COST << " s of energy: " << energy << " s left"
                  << std::endl;
    }
    if (userInterface) {
        userInterface->showMessage(hint.message, 5.0, hint.helps ? withPlace(hint.detail) : "");
    }
    running.reset();
}

void cancelHint() {
    if (!running) {
        return;
    }
    running->cancel = true;
    running->result.wait();
    running.reset();
}
