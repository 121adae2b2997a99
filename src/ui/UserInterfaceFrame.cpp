// The interface from frame to frame: the switches' clicks and hovers, the messages and the
// counter, drawing, and the commands of the switches clicked.

#include "ui/UserInterface.h"

#include "rules/CommandTable.h"

#include <GL/gl.h>
#include <guichan/actionevent.hpp>
#include <guichan/graphics.hpp>

#include <cstdio>

namespace {

std::string formatCounter(const char* format, int value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

} // namespace

void UserInterface::setGoals(int open, int total, bool visible) {
    const std::string text = "GOALS " + std::to_string(open) + "/" + std::to_string(total);
    if (goalsLabel->getCaption() != text) {
        goalsLabel->setCaption(text);
    }
    goalsLabel->setVisible(visible);
}

void UserInterface::action(const gcn::ActionEvent& actionEvent) {
    const std::string& id = actionEvent.getId();
    gcn::ToggleButton* s = findToggle(id);
    const CommandInfo* command = findCommand(id);
    if (s == nullptr || command == nullptr) {
        return;
    }
    const gcn::ToggleButton::ImageButton2& button = *s->getButton();
    if (button.isPressed()) {
        // A counter switch that is on already does nothing.
        if ((s == fpsButton || s == nolButton) && s->getState()) {
            return;
        }
        // Run after drawing: the command may destroy this interface (display switch), which
        // must not happen while Guichan is still delivering this event.
        pendingCommands.push_back(command->command);
        clearHoverText();
    } else if (button.hasMouse()) {
        showHoverText(hoverText(command->command, keyBindings));
    } else {
        clearHoverText();
    }
}

void UserInterface::setToggle(const std::string& caption, const std::string& id, bool on) {
    gcn::ToggleButton* s = findToggle(id);
    if (s == nullptr || s == fpsButton || s == nolButton) {
        return; // the counter switches follow selectCounter
    }
    s->setCaption(caption);
    s->setState(on);
}

void UserInterface::flashMessage(const std::string& text) {
    shortMessage = text;
    messageLabel->setFont(highlightFont.get());
    shortMessageExpiry = clock() + MESSAGE_DURATION;
}

void UserInterface::showHoverText(const std::string& text) {
    shortMessage = text;
    messageLabel->setFont(normalFont.get());
    shortMessageExpiry = 0;
}

void UserInterface::clearHoverText() {
    if (shortMessageExpiry == 0) {
        shortMessage.clear();
    }
}

void UserInterface::showMessage(const std::string& text, double seconds,
                                const std::string& subText) {
    bigMessage = text;
    bigSubMessage = text.empty() ? "" : subText;
    bigLabel->setCaption(text);
    bigLabel->adjustSize();
    bigLabel->setPosition(top->getWidth() / 2 - bigLabel->getWidth() / 2,
                          top->getHeight() / 2 - bigLabel->getHeight() / 2);
    bigLabel->setVisible(true);
    bigSubLabel->setCaption(bigSubMessage);
    bigSubLabel->adjustSize();
    bigSubLabel->setPosition(top->getWidth() / 2 - bigSubLabel->getWidth() / 2,
                             bigLabel->getY() + bigLabel->getHeight() + 8);
    bigSubLabel->setVisible(!bigSubMessage.empty());
    bigMessageExpiry = seconds > 0 ? clock() + seconds : 0;
}

void UserInterface::selectCounter(const std::string& id) {
    gcn::ToggleButton* chosen = id == "fps" ? fpsButton : id == "nol" ? nolButton : nullptr;
    if (chosen == nullptr || chosen->getState()) {
        return;
    }
    (chosen == fpsButton ? nolButton : fpsButton)->setState(false);
    chosen->setState(true);
    layoutCounterLabel(id);
}

void UserInterface::layoutCounterLabel(const std::string& id) {
    counterLabel->setAlignment(gcn::Graphics::LEFT);
    counterLabel->setCaption(id == "fps" ? "FPS: 000" : "LASER COUNT: 00000");
    counterLabel->adjustSize();
    counterLabel->setX(counterField->getWidth() / 2 - counterLabel->getWidth() / 2);
}

void UserInterface::refreshTexts() {
    const double now = clock();
    if (shortMessage.empty()) {
        counterLabel->setVisible(true);
        messageLabel->setVisible(false);
        // The label keeps the size of its placeholder caption.
        counterLabel->setCaption(fpsButton->getState()
                                     ? formatCounter("FPS: %03d", fpsValue)
                                     : formatCounter("LASER COUNT: %05d", laserCount));
    } else {
        messageLabel->setVisible(true);
        counterLabel->setVisible(false);
        messageLabel->setCaption(shortMessage);
        if (shortMessageExpiry > 0 && now > shortMessageExpiry) {
            // Shown once more this frame; the counter returns in the next.
            shortMessageExpiry = 0;
            shortMessage.clear();
        }
    }
    if (bigMessageExpiry > 0 && now > bigMessageExpiry) {
        bigMessageExpiry = 0;
        bigMessage.clear();
        bigSubMessage.clear();
        bigLabel->setVisible(false);
        bigSubLabel->setVisible(false);
    }
}

void UserInterface::draw() {
    // Guichan's OpenGL back end saves and restores most state itself; guard the rest and give
    // it the fixed-function state it expects, whatever the frame left behind. The current colour
    // and texture coordinate are put back by hand as well: Mesa's glPopAttrib does not restore
    // them after immediate-mode drawing.
    GLfloat colour[4], texCoord[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    glGetFloatv(GL_CURRENT_TEXTURE_COORDS, texCoord);
    glPushAttrib(GL_CURRENT_BIT | GL_ENABLE_BIT | GL_POLYGON_BIT | GL_TEXTURE_BIT |
                 GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT |
                 GL_LIGHTING_BIT | GL_FOG_BIT | GL_TRANSFORM_BIT | GL_SCISSOR_BIT |
                 GL_VIEWPORT_BIT);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glViewport(0, 0, width, height);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    for (GLenum cap :
         {GLenum(GL_STENCIL_TEST), GLenum(GL_ALPHA_TEST), GLenum(GL_FOG), GLenum(GL_COLOR_MATERIAL),
          GLenum(GL_COLOR_LOGIC_OP), GLenum(GL_POLYGON_STIPPLE), GLenum(GL_TEXTURE_1D),
          GLenum(GL_TEXTURE_3D), GLenum(GL_TEXTURE_GEN_S), GLenum(GL_TEXTURE_GEN_T),
          GLenum(GL_TEXTURE_GEN_R), GLenum(GL_TEXTURE_GEN_Q)}) {
        glDisable(cap);
    }
    for (GLenum plane = GL_CLIP_PLANE0; plane <= GL_CLIP_PLANE5; ++plane) {
        glDisable(plane);
    }
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    graphics->setColor(gcn::Color(255, 255, 255, 255));
    gui->draw();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopClientAttrib();
    glPopAttrib();
    glColor4fv(colour);
    glTexCoord4fv(texCoord);
}

void UserInterface::updateAndDraw() {
    refreshTexts();
    gui->logic();
    draw();

    if (pendingCommands.empty()) {
        return;
    }
    // A command may destroy this interface: from here on use locals only.
    const std::vector<Command> commands = std::move(pendingCommands);
    pendingCommands.clear();
    const CommandCallback handler = commandHandler;
    if (handler != nullptr) {
        for (const Command command : commands) {
            handler(command);
        }
    }
}
