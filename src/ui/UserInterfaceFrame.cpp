// The interface from frame to frame: the switches' clicks and hovers, the messages and the
// counter, drawing, and the commands of the switches clicked.

#include "ui/UserInterface.h"

#include "rules/CommandTable.h"
#include "ui/InterfaceParts.h"
#include "ui/TextLayout.h"

#include <GL/gl.h>
#include <guichan/actionevent.hpp>
#include <guichan/graphics.hpp>

#include <algorithm>
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

void UserInterface::setMoves(int moves, bool visible) {
    const std::string text = "MOVES " + std::to_string(moves);
    if (movesLabel->getCaption() != text) {
        movesLabel->setCaption(text);
    }
    movesLabel->setVisible(visible);
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
    bigMessageExpiry = seconds > 0 ? clock() + seconds : 0;
    layoutBigMessage();
}

void UserInterface::layoutBigMessage() {
    // The message in the large font on at most two lines; a longer one in the small font. The
    // text under it in the small font, wrapped. Each line centred; the message's middle at the
    // window's.
    const int room = width - 2 * MESSAGE_MARGIN;
    const auto wrap = [&](const std::string& text, gcn::ImageFont& font, const char* glyphs) {
        const TextWidth measure = [&](const std::string& line) { return font.getWidth(line); };
        return layoutText(text, room, 100, measure, glyphs);
    };
    std::vector<std::pair<std::string, gcn::ImageFont*>> lines;
    std::vector<std::string> main = wrap(bigMessage, *largeFont, LARGE_FONT_GLYPHS);
    gcn::ImageFont* mainFont = largeFont.get();
    if (main.size() > 2) {
        mainFont = highlightFont.get();
        main = wrap(bigMessage, *mainFont, SMALL_FONT_GLYPHS);
    }
    for (const std::string& line : main) {
        lines.emplace_back(line, mainFont);
    }
    const int mainHeight = static_cast<int>(main.size()) * mainFont->getHeight();
    for (const std::string& line : wrap(bigSubMessage, *highlightFont, SMALL_FONT_GLYPHS)) {
        lines.emplace_back(line, highlightFont.get());
    }
    lines.resize(std::min(lines.size(), bigLines.size()));
    int y = height / 2 - mainHeight / 2;
    for (std::size_t i = 0; i < bigLines.size(); ++i) {
        gcn::Label& label = *bigLines[i];
        label.setVisible(i < lines.size());
        if (i >= lines.size()) {
            continue;
        }
        if (i == main.size()) {
            y += 8; // the text under the message stands apart
        }
        label.setFont(lines[i].second);
        label.setCaption(lines[i].first);
        label.adjustSize();
        label.setPosition(width / 2 - label.getWidth() / 2, y);
        y += label.getHeight();
    }
}

std::vector<std::pair<std::string, gcn::Rectangle>> UserInterface::visibleTexts() const {
    std::vector<const gcn::Label*> labels = {counterLabel.get(), messageLabel.get(),
                                             messageLine2.get(), goalsLabel.get(),
                                             movesLabel.get()};
    for (const auto* group : {&bigLines, &panelLabels, &screenLabels}) {
        for (const auto& label : *group) {
            labels.push_back(label.get());
        }
    }
    std::vector<std::pair<std::string, gcn::Rectangle>> texts;
    for (const gcn::Label* label : labels) {
        bool shown = true;
        for (const gcn::Widget* w = label; w != nullptr; w = w->getParent()) {
            shown = shown && w->isVisible();
        }
        if (!shown || label->getCaption().empty()) {
            continue;
        }
        int x = 0, y = 0;
        label->getAbsolutePosition(x, y);
        const int textWidth = label->getFont()->getWidth(label->getCaption());
        if (label->getAlignment() == gcn::Graphics::CENTER) {
            x += (label->getWidth() - textWidth) / 2;
        }
        texts.emplace_back(
            label->getCaption(),
            scale_.toWindow(gcn::Rectangle(x, y, textWidth, label->getFont()->getHeight())));
    }
    return texts;
}

std::vector<std::string> UserInterface::bigMessageLines() const {
    std::vector<std::string> lines;
    for (const auto& label : bigLines) {
        if (label->isVisible()) {
            lines.push_back(label->getCaption());
        }
    }
    return lines;
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
    if (shortMessage.empty() && readout.empty()) {
        counterLabel->setVisible(true);
        messageLabel->setVisible(false);
        messageLine2->setVisible(false);
        // The label keeps the size of its placeholder caption.
        counterLabel->setCaption(fpsButton->getState()
                                     ? formatCounter("FPS: %03d", fpsValue)
                                     : formatCounter("LASER COUNT: %05d", laserCount));
    } else {
        counterLabel->setVisible(false);
        if (shortMessage.empty()) {
            messageLabel->setFont(normalFont.get());
        }
        layoutShortMessage(shortMessage.empty() ? readout : shortMessage);
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
        layoutBigMessage();
    }
}

void UserInterface::layoutShortMessage(const std::string& text) {
    // One line where it fits the field, else two, each centred; the font is the message's. Laid
    // out again only when the text or the font changed.
    gcn::Font* font = messageLabel->getFont();
    if (messageLabel->isVisible() && text == shownMessage && font == messageLine2->getFont()) {
        return;
    }
    shownMessage = text;
    const TextWidth measure = [&](const std::string& line) { return font->getWidth(line); };
    const std::vector<std::string> lines = layoutText(
        text, counterField->getWidth() - 2 * FIELD_PADDING, 2, measure, SMALL_FONT_GLYPHS);
    const int half = font->getHeight() / 2;
    const bool two = lines.size() > 1;
    messageLabel->setCaption(lines.empty() ? "" : lines[0]);
    messageLabel->setY(two ? LABEL_Y - half : LABEL_Y);
    messageLabel->setVisible(true);
    messageLine2->setFont(font);
    messageLine2->setCaption(two ? lines[1] : "");
    messageLine2->setY(LABEL_Y + half);
    messageLine2->setVisible(two);
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
    glViewport(0, 0, scale_.windowWidth, scale_.windowHeight);
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
