#include "app/Guidance.h"

#include "app/Display.h"
#include "elements/ColorFilter.h"
#include "elements/Goal.h"
#include "laser/LaserBeam.h"
#include "level/Level.h"
#include "render/GL.h"
#include "render/Picking.h"
#include "rules/ColourLabels.h"
#include "rules/CommandTable.h"
#include "rules/LevelPack.h"
#include "rules/Progress.h"
#include "rules/Settings.h"
#include "ui/UserInterface.h"

#include <fstream>
#include <vector>

void showLevelIntroduction() {
    if (!userInterface) {
        return;
    }
    std::ifstream file(levelFileName, std::ios::binary);
    std::string comment = readLeadingComment(file);
    const std::string title = levelTitle(comment, levelFileName);
    // The text under the title: the comment without its title line.
    const std::size_t at = comment.find(title);
    if (at != std::string::npos) {
        comment.erase(0, at + title.size());
    }
    PanelContent content;
    content.title = title;
    content.text = comment;
    content.footer = {levelStartMessage(levelFileName, progress.isSolved(levelFileName)),
                      "Click or press any key to start",
                      keyHint(Command::Help, "help", keyBindings)};
    gameSettings.showHelp = false;
    userInterface->showPanel(content);
    introductionOpen = true;
}

void closeLevelIntroduction() {
    introductionOpen = false;
    if (userInterface) {
        userInterface->hidePanel();
    }
}

void showHelpPanel() {
    if (!userInterface) {
        return;
    }
    introductionOpen = false;
    if (!gameSettings.showHelp) {
        userInterface->hidePanel();
        return;
    }
    PanelContent content;
    content.title = "Controls";
    content.rows = helpRows(keyBindings);
    content.footer = {keyHint(Command::Help, "close", keyBindings)};
    userInterface->showPanel(content);
}

void updateColourLabels() {
    if (!userInterface) {
        return;
    }
    static std::vector<ScreenLabel> labels;
    labels.clear();
    if (gameSettings.colourLabels) {
        const ScreenProjection screen = currentScreenProjection(viewMatrix);
        const GLint* viewport = screen.viewport;
        const int top = UserInterface::BAR_HEIGHT / 2, bottom = viewport[3] - top;
        // A label at a world point above an object, when the point is in front of the eye and
        // between the bars.
        const auto place = [&](Renderable& object, float above, std::string text) {
            Point p = object.getBoundingCenter();
            Point eye = p;
            transformPoint(viewMatrix, eye);
            if (eye[2] > -1.0f) {
                return; // behind the eye
            }
            double wx = 0, wy = 0, wz = 0;
            gluProject(p[0], p[1] + above, p[2], screen.modelview, screen.projection, viewport, &wx,
                       &wy, &wz);
            const int x = static_cast<int>(wx), y = viewport[3] - static_cast<int>(wy);
            if (wz < 0 || wz > 1 || x < 0 || x >= viewport[2] || y < top || y >= bottom) {
                return;
            }
            labels.push_back({x, y, std::move(text)});
        };
        Level& level = *currentLevel;
        for (FinshHead* goal : level.goals) {
            std::vector<signed char> arriving;
            if (gameSettings.laserPower) {
                for (const LaserBeam* beam : goal->incomingLasers) {
                    arriving.push_back(beam->colorCode);
                }
            }
            const bool open = gameSettings.laserPower && goal->hasItsColour();
            place(*goal, 30, goalLabel(goal->requiredColor, arriving, open));
        }
        for (ColorFilter* filter : level.colorFilters) {
            place(*filter, 110, filterLabel(filter->colorCode));
        }
    }
    userInterface->setScreenLabels(labels);
}
