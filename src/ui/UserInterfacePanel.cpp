// The interface's panel over the scene, the labels over the scene, which window points are the
// interface's, and what it shows kept across a new interface.

#include "ui/InterfaceParts.h"
#include "ui/TextLayout.h"
#include "ui/UserInterface.h"

#include <guichan/rectangle.hpp>

#include <algorithm>

namespace {

/// Room left free around a panel and inside it, pixels.
constexpr int PANEL_MARGIN = 16, PANEL_PADDING = 18, PANEL_MAX_WIDTH = 900;
/// Where the interface's bars are solid: the top band's rows and the bottom band's.
constexpr int TOP_BAND = 56, BOTTOM_BAND = 56;
/// The switch plates' pictures are clear above this row.
constexpr int PLATE_TOP = 31;

} // namespace

void UserInterface::showPanel(const PanelContent& content) {
    panel = content;
    panelShown = true;
    layoutPanel();
}

void UserInterface::hidePanel() {
    panelShown = false;
    panelBox->setVisible(false);
}

void UserInterface::layoutPanel() {
    // The labels are kept from one panel to the next (showing and hiding panels must not churn
    // the heap): those a panel does not use are hidden.
    panelLinesUsed = 0;
    if (!panelShown) {
        panelBox->setVisible(false);
        return;
    }
    const int panelWidth = std::min(PANEL_MAX_WIDTH, width - 2 * PANEL_MARGIN);
    const int inner = panelWidth - 2 * PANEL_PADDING;
    const int lineHeight = normalFont->getHeight() + 3;
    const int available = height - 2 * (BAR_HEIGHT - 20) - 2 * PANEL_MARGIN;
    const int fixedLines = 2 + static_cast<int>(panel.rows.size() + panel.footer.size()) +
                           (panel.footer.empty() ? 0 : 1);
    const int textLines = std::max(1, (available - 2 * PANEL_PADDING) / lineHeight - fixedLines);
    const TextWidth measure = [&](const std::string& line) { return normalFont->getWidth(line); };

    int y = PANEL_PADDING;
    const auto add = [&](const std::string& text, gcn::ImageFont* font, int x, bool centred) {
        if (panelLinesUsed == panelLabels.size()) {
            panelLabels.push_back(makeInterfaceLabel(font));
            panelBox->add(panelLabels.back().get());
        }
        gcn::Label& label = *panelLabels[panelLinesUsed++];
        label.setFont(font);
        label.setCaption(fitLine(text, inner - (x - PANEL_PADDING), measure));
        label.adjustSize();
        label.setPosition(centred ? panelWidth / 2 - label.getWidth() / 2 : x, y);
        label.setVisible(true);
    };
    add(panel.title, highlightFont.get(), PANEL_PADDING, true);
    y += lineHeight * 2;
    if (!panel.text.empty()) {
        const std::vector<std::string> lines = layoutText(
            panel.text, inner, static_cast<std::size_t>(textLines), measure, SMALL_FONT_GLYPHS);
        for (const std::string& line : lines) {
            add(line, normalFont.get(), PANEL_PADDING, false);
            y += lineHeight;
        }
    }
    int keyWidth = 0;
    for (const auto& row : panel.rows) {
        keyWidth = std::max(keyWidth, highlightFont->getWidth(row.first));
    }
    keyWidth = std::min(keyWidth, inner / 2);
    for (const auto& row : panel.rows) {
        add(row.first, highlightFont.get(), PANEL_PADDING, false);
        add(row.second, normalFont.get(), PANEL_PADDING + keyWidth + 16, false);
        y += lineHeight;
    }
    if (!panel.footer.empty()) {
        y += lineHeight;
        for (const std::string& line : panel.footer) {
            add(line, highlightFont.get(), PANEL_PADDING, true);
            y += lineHeight;
        }
    }
    for (std::size_t i = panelLinesUsed; i < panelLabels.size(); ++i) {
        panelLabels[i]->setVisible(false);
    }
    const int panelHeight = y + PANEL_PADDING - 3;
    panelBox->setDimension(gcn::Rectangle(width / 2 - panelWidth / 2,
                                          std::max(0, height / 2 - panelHeight / 2), panelWidth,
                                          panelHeight));
    panelBox->setVisible(true);
}

std::vector<std::string> UserInterface::panelLines() const {
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < panelLinesUsed; ++i) {
        lines.push_back(panelLabels[i]->getCaption());
    }
    return lines;
}

void UserInterface::setScreenLabels(const std::vector<ScreenLabel>& labels) {
    while (screenLabels.size() > labels.size()) {
        labelLayer->remove(screenLabels.back().get());
        screenLabels.pop_back();
    }
    while (screenLabels.size() < labels.size()) {
        screenLabels.push_back(makeInterfaceLabel(labelFont.get()));
        labelLayer->add(screenLabels.back().get());
    }
    for (std::size_t i = 0; i < labels.size(); ++i) {
        gcn::Label& label = *screenLabels[i];
        if (label.getCaption() != labels[i].text) {
            label.setCaption(labels[i].text);
            label.adjustSize();
        }
        label.setPosition(labels[i].x - label.getWidth() / 2, labels[i].y - label.getHeight());
        label.setVisible(true);
    }
}

bool UserInterface::isInterfaceAt(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) {
        return false;
    }
    if (y < TOP_BAND || y >= height - BOTTOM_BAND) {
        return true;
    }
    if (panelShown) {
        const gcn::Rectangle r = panelBox->getDimension();
        if (r.isPointInRect(x, y)) {
            return true;
        }
    }
    // The plates that stand out of the bands.
    for (const gcn::Container* row : {topRow.get(), bottomRow.get()}) {
        int rowX = 0, rowY = 0;
        row->getAbsolutePosition(rowX, rowY);
        for (const auto& entry : switches) {
            const gcn::ToggleButton& s = *entry.second;
            if (!s.isVisible() || s.getParent() != row) {
                continue;
            }
            if (x >= rowX + s.getX() && x < rowX + s.getX() + s.getWidth() &&
                y >= rowY + s.getY() + PLATE_TOP && y < rowY + s.getY() + s.getHeight()) {
                return true;
            }
        }
    }
    for (const gcn::Widget* w : {static_cast<const gcn::Widget*>(counterField.get()),
                                 static_cast<const gcn::Widget*>(energyBar.get())}) {
        int wx = 0, wy = 0;
        w->getAbsolutePosition(wx, wy);
        if (x >= wx && x < wx + w->getWidth() && y >= wy + PLATE_TOP && y < wy + w->getHeight()) {
            return true;
        }
    }
    return false;
}

UserInterface::State UserInterface::captureState() const {
    State s;
    const double now = clock();
    s.fpsCounter = fpsButton->getState();
    s.bigMessage = bigMessage;
    s.bigSubMessage = bigSubMessage;
    s.bigRemaining = bigMessageExpiry > 0 ? std::max(0.01, bigMessageExpiry - now) : 0;
    s.shortMessage = shortMessage;
    s.shortRemaining = shortMessageExpiry > 0 ? std::max(0.01, shortMessageExpiry - now) : 0;
    s.goals = goalsLabel->getCaption();
    s.goalsVisible = goalsLabel->isVisible();
    s.panelShown = panelShown;
    s.panel = panel;
    return s;
}

void UserInterface::restoreState(const State& s) {
    selectCounter(s.fpsCounter ? "fps" : "nol");
    if (!s.bigMessage.empty()) {
        showMessage(s.bigMessage, s.bigRemaining, s.bigSubMessage);
    }
    if (!s.shortMessage.empty() && s.shortRemaining > 0) {
        flashMessage(s.shortMessage);
        shortMessageExpiry = clock() + s.shortRemaining;
    }
    goalsLabel->setCaption(s.goals);
    goalsLabel->setVisible(s.goalsVisible);
    if (s.panelShown) {
        showPanel(s.panel);
    }
}
