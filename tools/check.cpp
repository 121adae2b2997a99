// beamworks-check [--data DIR] [--goals] [--segments] [--view] [--screen] LEVEL...
//
// For level designers: loads the models, then for each level file (a path, taken from the working
// directory) runs one laser update and prints a summary line
//   level2.txt: segments=7 goals=1/1 solved=yes
// with --goals a line per goal and with --segments a line per segment. With --view it says how
// many of the emitters, mirrors, half mirrors, filters, collectors and goals lie wholly inside
// the start view at 1024 x 768 with the game's projection, and names each one that does not
// by its class and its 1-based number in the level's element list:
//     view: 5/6 elements in the start view
//     outside: Mirror 5
// and how far the room reaches from the places the eye can stand (RoomReach.h):
//     farthest: 1934 units from the eye (far distance 2000)
// which fails the level when it passes ROOM_REACH_LIMIT or the walls do not close the room
// (the lines come after the goal lines and before the segment lines). --screen adds, after them,
// where the centre of each element in front of the eye lies in the window, in pixels from the top
// left ("  screen: Mirror 5 at 802 199"), for scripts that click on elements. Exits 2 when a level
// or the models could not be read or a level failed, 1 on wrong usage, 0 otherwise. Never opens
// a window.
//
// The models come from DIR when --data is given; else from the working directory when it holds
// any model file (inside a game folder such as build/game); else from the installed data folder
// beside the program (../share/games/beamworks from its bin/), so that the installed checker works
// from any folder. See DataFolder.h.

#include "elements/ActiveObject.h"
#include "elements/Collector.h"
#include "elements/ColorFilter.h"
#include "elements/Emitter.h"
#include "elements/Goal.h"
#include "elements/Holder.h"
#include "elements/Mirror.h"
#include "elements/MirrorHalf.h"
#include "elements/Wall.h"
#include "laser/Tracer.h"
#include "level/Level.h"
#include "model/GameModels.h"
#include "rules/Frustum.h"
#include "rules/RoomReach.h"
#include "rules/StartView.h"

#include "DataFolder.h"
#include "QuietConsole.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Names the build tree the binary comes from (see the game's main).
[[gnu::used]] const char BUILD_TREE_MARK[] = "beamworks build tree: " BEAMWORKS_BUILD_TREE;

const char* className(const Renderable* object) {
    if (!object) {
        return "none";
    }
    if (dynamic_cast<const Emitter*>(object)) {
        return "Emitter";
    }
    if (dynamic_cast<const Mirror*>(object)) {
        return "Mirror";
    }
    if (dynamic_cast<const MirrorHalf*>(object)) {
        return "MirrorHalf";
    }
    if (dynamic_cast<const ColorFilter*>(object)) {
        return "ColorFilter";
    }
    if (dynamic_cast<const Collector*>(object)) {
        return "Collector";
    }
    if (dynamic_cast<const Wall*>(object)) {
        return "Wall";
    }
    if (dynamic_cast<const FinshHead*>(object)) {
        return "FinshHead";
    }
    if (dynamic_cast<const Finish*>(object)) {
        return "Finish";
    }
    if (dynamic_cast<const HolderFrame*>(object)) {
        return "HolderFrame";
    }
    if (dynamic_cast<const Holder*>(object)) {
        return "Holder";
    }
    return "Element";
}

std::string point(const Point& p) {
    char text[96];
    std::snprintf(text, sizeof text, "(%.2f,%.2f,%.2f)", p[0], p[1], p[2]);
    return text;
}

const char* yesNo(bool b) {
    return b ? "yes" : "no";
}

// The start view's lines: how many puzzle elements lie wholly inside the view frustum, and
// which do not; with showReach how far the room reaches. False when it reaches too far.
bool reportView(Level& level, bool showReach, bool showScreen) {
    std::vector<std::string> outside, screen;
    const std::vector<ViewedElement> seen = startViewElements(level);
    for (const ViewedElement& e : seen) {
        const Point& centre = e.eyeCentre;
        const std::string name =
            std::string(className(e.element)) + " " + std::to_string(e.index + 1);
        if (!e.inside) {
            outside.push_back(name);
        }
        if (showScreen && centre[2] < -NEAR_PLANE) {
            // Where its centre is in the window, pixels from the top left.
            constexpr double WIDTH = START_VIEW_WIDTH, HEIGHT = START_VIEW_HEIGHT;
            const double f = 1.0 / std::tan(FIELD_OF_VIEW / 2 * PI / 180);
            const double x = (f * HEIGHT / WIDTH * centre[0] / -centre[2] + 1) / 2 * WIDTH;
            const double y = (1 - f * centre[1] / -centre[2]) / 2 * HEIGHT;
            screen.push_back(name + " at " + std::to_string(static_cast<int>(x)) + " " +
                             std::to_string(static_cast<int>(y)));
        }
    }
    const int count = static_cast<int>(seen.size());
    std::cout << "  view: " << count - static_cast<int>(outside.size()) << "/" << count
              << " elements in the start view\n";
    for (const std::string& name : outside) {
        std::cout << "  outside: " << name << "\n";
    }
    bool fits = true;
    if (showReach) {
        const double farthest = farthestRoomDistance(level);
        fits = farthest <= ROOM_REACH_LIMIT;
        std::cout << "  farthest: ";
        if (std::isinf(farthest)) {
            std::cout << "the walls do not close the room around the eye\n";
        } else {
            std::cout << std::ceil(farthest) << " units from the eye (far distance " << FAR_PLANE
                      << ")";
            if (!fits) {
                std::cout << ": too far, keep the room within " << ROOM_REACH_LIMIT;
            }
            std::cout << "\n";
        }
    }
    for (const std::string& place : screen) {
        std::cout << "  screen: " << place << "\n";
    }
    return fits;
}

// Runs the check of one level file; false when it could not be read or failed.
bool checkLevel(const std::string& file, bool showGoals, bool showSegments, bool showView,
                bool showScreen) {
    std::unique_ptr<Level> read;
    {
        QuietConsole quiet;
        read = std::make_unique<Level>(file);
        if (read->isLoaded()) {
            updateLasers(*read);
        }
    }
    Level& level = *read;
    if (!level.isLoaded()) {
        std::cout << file << ": cannot read the level file" << std::endl;
        return false;
    }
    std::vector<bool> satisfied;
    int count = 0;
    for (FinshHead* goal : level.goals) {
        satisfied.push_back(goal->isSatisfied());
        count += satisfied.back();
    }
    const bool solved = count == static_cast<int>(level.goals.size());
    std::cout << file << ": segments=" << level.laserBeams.size() << " goals=" << count << "/"
              << level.goals.size() << " solved=" << yesNo(solved) << "\n";
    if (showGoals) {
        for (std::size_t i = 0; i < level.goals.size(); ++i) {
            const FinshHead* goal = level.goals[i];
            std::cout << "  goal " << i + 1 << " colour=" << int{goal->requiredColor}
                      << " satisfied=" << yesNo(satisfied[i])
                      << " beams=" << goal->incomingLasers.size() << "\n";
        }
    }
    const bool fits = !(showView || showScreen) || reportView(level, showView, showScreen);
    if (showSegments) {
        for (std::size_t i = 0; i < level.laserBeams.size(); ++i) {
            LaserBeam* s = level.laserBeams[i];
            std::cout << "  segment " << i + 1 << " colour=" << int{s->colorCode}
                      << " intensity=" << int{s->intensity} << " from=" << point(s->startPoint())
                      << " to=" << point(s->endPoint()) << " owner=" << className(s->owner)
                      << " hit=" << className(s->hitObject) << " mask=" << s->filterMask << "\n";
        }
    }
    std::cout.flush();
    return fits;
}

int usage() {
    std::cerr << "usage: beamworks-check [--data DIR] [--goals] [--segments] [--view] [--screen] "
                 "LEVEL..."
              << std::endl;
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    std::string dataDir;
    bool showGoals = false, showSegments = false, showView = false, showScreen = false;
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--data") == 0) {
            if (i + 1 >= argc) {
                return usage();
            }
            dataDir = argv[++i];
        } else if (std::strcmp(argv[i], "--goals") == 0) {
            showGoals = true;
        } else if (std::strcmp(argv[i], "--segments") == 0) {
            showSegments = true;
        } else if (std::strcmp(argv[i], "--view") == 0) {
            showView = true;
        } else if (std::strcmp(argv[i], "--screen") == 0) {
            showScreen = true;
        } else if (std::strncmp(argv[i], "--", 2) == 0) {
            return usage();
        } else {
            files.push_back(argv[i]);
        }
    }
    if (files.empty()) {
        return usage();
    }

    const std::vector<std::string> failed = [&] {
        QuietConsole quiet;
        return loadGameModels(toolModelFolder(dataDir));
    }();
    if (!failed.empty()) {
        for (const std::string& file : failed) {
            std::cout << "cannot load model file " << gameModelPath(file) << std::endl;
        }
        return 2;
    }

    int status = 0;
    for (const std::string& file : files) {
        if (!checkLevel(file, showGoals, showSegments, showView, showScreen)) {
            status = 2;
        }
    }
    return status;
}
