#include "app/Guidance.h"

#include "app/Display.h"
#include "app/Editor.h"
#include "elements/ColorFilter.h"
#include "elements/Goal.h"
#include "elements/Mirror.h"
#include "laser/LaserBeam.h"
#include "level/Level.h"
#include "render/GL.h"
#include "render/Picking.h"
#include "rules/ColourLabels.h"
#include "rules/CommandTable.h"
#include "rules/Interaction.h"
#include "rules/LevelPack.h"
#include "rules/LightReadout.h"
#include "rules/Progress.h"
#include "rules/Settings.h"
#include "ui/UserInterface.h"

#include <fstream>
#include <vector>

namespace {

/// How far off the surface the hint's spot label stands, world units.
constexpr float HINT_LABEL_LIFT = 60.0f;

} // namespace

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

void showHelpPanel(const std::string& text) {
    if (!userInterface) {
        return;
    }
    introductionOpen = false;
    // In a window too small for every row, the key that closes the help turns its pages first.
    static std::size_t firstRow = 0;
    const bool helpShown =
        userInterface->isPanelShown() && userInterface->getPanel().title == "Controls";
    if (!gameSettings.showHelp) {
        if (!helpShown || !userInterface->panelHasMoreRows()) {
            firstRow = 0;
            userInterface->hidePanel();
            return;
        }
        firstRow += userInterface->panelRowsShown();
        gameSettings.showHelp = true;
    } else if (!helpShown) {
        firstRow = 0;
    }
    PanelContent content;
    content.title = "Controls";
    content.text = text;
    content.rows = helpRows(keyBindings);
    content.firstRow = firstRow;
    content.footer = {keyHint(Command::Help, "close", keyBindings)};
    content.footerWhenMore = {keyHint(Command::Help, "more", keyBindings)};
    userInterface->showPanel(content);
}

void updateColourLabels() {
    if (!userInterface) {
        return;
    }
    static std::vector<ScreenLabel> labels;
    labels.clear();
    if (gameSettings.colourLabels || hintSpot.shown) {
        const ScreenProjection screen = currentScreenProjection(viewMatrix);
        const GLint* viewport = screen.viewport;
        // A label at a world point above an object. A goal out of view is pointed at from the
        // window's edge (a point behind the eye has no projection: its direction across the view
        // does); other labels show only in view.
        // Where a world point shows in the window (y down), and whether it is in view.
        const auto project = [&](Point p, double& x, double& y) {
            Point eye = p;
            transformPoint(viewMatrix, eye);
            double wx = 0, wy = 0, wz = 0;
            if (eye[2] < -1.0f) {
                gluProject(p[0], p[1], p[2], screen.modelview, screen.projection, viewport, &wx,
                           &wy, &wz);
            } else {
                wx = viewport[2] / 2.0 + 1e6 * eye[0];
                wy = viewport[3] / 2.0 + 1e6 * eye[1];
            }
            x = wx;
            y = viewport[3] - wy;
            return eye[2] < -1.0f && wx >= 0 && wx < viewport[2] && wy >= 0 && wy < viewport[3];
        };
        // The spot a hint carries a holder to, pointed at from the window's edge while it is
        // out of view: on the ceiling or behind the player it is otherwise easily missed.
        if (hintSpot.shown) {
            ScreenLabel label;
            const Point& p = hintSpot.position;
            const Point& n = hintSpot.normal;
            project(p, label.objectX, label.objectY);
            project({p[0] + n[0] * HINT_LABEL_LIFT, p[1] + n[1] * HINT_LABEL_LIFT,
                     p[2] + n[2] * HINT_LABEL_LIFT, 1},
                    label.x, label.y);
            label.text = "CARRY HERE";
            labels.push_back(std::move(label));
        }
        const auto place = [&](Renderable& object, float above, std::string text,
                               bool pointWhenOutOfView) {
            ScreenLabel label;
            const Point centre = object.getBoundingCenter();
            project(centre, label.objectX, label.objectY);
            const bool inView =
                project({centre[0], centre[1] + above, centre[2], 1}, label.x, label.y);
            if (inView || pointWhenOutOfView) {
                label.text = std::move(text);
                labels.push_back(std::move(label));
            }
        };
        if (gameSettings.colourLabels) {
            Level& level = *currentLevel;
            for (FinshHead* goal : level.goals) {
                std::vector<signed char> arriving;
                if (gameSettings.laserPower) {
                    for (const LaserBeam* beam : goal->incomingLasers) {
                        arriving.push_back(beam->colorCode);
                    }
                }
                const bool open = gameSettings.laserPower && goal->hasItsColour();
                place(*goal, 30, goalLabel(goal->requiredColor, arriving, open), true);
            }
            for (ColorFilter* filter : level.colorFilters) {
                place(*filter, 110, filterLabel(filter->colorCode), false);
            }
            // Mirrors are named as the readout of a selected element names them.
            for (ActiveObject* element : level.activeObjects) {
                if (dynamic_cast<MirrorBase*>(element) != nullptr) {
                    place(*element, 110, elementName(level, *element), false);
                }
            }
        }
    }
    addEditorLabels(labels);
    userInterface->setScreenLabels(labels);
}
