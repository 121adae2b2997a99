// The interface's panel over the scene, the labels over the scene, which window points are the
// interface's, and what it shows kept across a new interface.

#include "ui/InterfaceParts.h"
#include "ui/TextLayout.h"
#include "ui/UserInterface.h"

#include "rules/ColourLabels.h"

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
    labelLayer->setVisible(false); // nothing of the scene shows through a panel
    layoutPanel();
}

int UserInterface::panelRowAt(int windowX, int windowY) const {
    const int x = scale_.toInterfaceX(windowX), y = scale_.toInterfaceY(windowY);
    if (!panelShown) {
        return -1;
    }
    const gcn::Rectangle r = panelBox->getDimension();
    if (!r.isPointInRect(x, y)) {
        return -1;
    }
    for (const RowBand& band : rowBands) {
        if (y - r.y >= band.top && y - r.y < band.bottom) {
            return static_cast<int>(band.row);
        }
    }
    return -1;
}

void UserInterface::setBarsVisible(bool visible) {
    barsVisible = visible;
    topBar->setVisible(visible);
    bottomBar->setVisible(visible);
}

void UserInterface::hidePanel() {
    panelShown = false;
    labelLayer->setVisible(true);
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
    // Text stays between the bars; rows may take the window's whole height, a page at a time.
    const int available = height - 2 * (BAR_HEIGHT - 20) - 2 * PANEL_MARGIN;
    const int footerLines =
        static_cast<int>(std::max(panel.footer.size(), panel.footerWhenMore.size()) +
                         (panel.footer.empty() ? 0 : 1));
    const std::size_t firstRow = std::min(panel.firstRow, panel.rows.size());
    // A menu's title stands in the large font: it takes the room of more lines.
    const int titleHeight = panel.menu ? largeFont->getHeight() + lineHeight : 2 * lineHeight;
    const int titleLines = (titleHeight + lineHeight - 1) / lineHeight;
    const int fixedLines =
        titleLines + static_cast<int>(panel.rows.size() - firstRow) + footerLines;
    const TextWidth measure = [&](const std::string& line) { return normalFont->getWidth(line); };
    // The text takes what the rows leave, and up to six lines even when rows then go on to a
    // next page.
    const int roomLines = (available - 2 * PANEL_PADDING) / lineHeight;
    const int textLines = std::max(
        {1, std::min(6, roomLines - titleLines - footerLines - 1), roomLines - fixedLines});
    std::vector<std::string> lines;
    if (!panel.text.empty()) {
        lines = layoutText(panel.text, inner, static_cast<std::size_t>(textLines), measure,
                           SMALL_FONT_GLYPHS);
    }
    // The rows of this page: each key and its text wrapped in their columns, as many rows as
    // the window holds (one at least).
    int keyWidth = 0;
    for (std::size_t r = firstRow; r < panel.rows.size(); ++r) {
        if (!panel.menu || !panel.rows[r].second.empty()) {
            keyWidth = std::max(keyWidth, highlightFont->getWidth("> " + panel.rows[r].first));
        }
    }
    keyWidth = std::min(keyWidth, inner * 2 / 5);
    const int textX = PANEL_PADDING + keyWidth + 16, textWidth = inner - (textX - PANEL_PADDING);
    const TextWidth measureKey = [&](const std::string& line) {
        return highlightFont->getWidth(line);
    };
    int rowRoom = (height - 2 * PANEL_MARGIN - 2 * PANEL_PADDING) / lineHeight - titleLines -
                  static_cast<int>(lines.size()) - footerLines;
    std::vector<std::pair<std::vector<std::string>, std::vector<std::string>>> rows;
    for (std::size_t r = firstRow; r < panel.rows.size(); ++r) {
        // A menu's heading may take the whole width.
        const bool wide = panel.menu && panel.rows[r].second.empty();
        auto key = layoutText(panel.rows[r].first, wide ? inner : keyWidth, 4, measureKey,
                              SMALL_FONT_GLYPHS);
        auto text = layoutText(panel.rows[r].second, textWidth, 6, measure, SMALL_FONT_GLYPHS);
        rowRoom -= static_cast<int>(std::max(key.size(), text.size()));
        if (rowRoom < 0 && !rows.empty()) {
            break;
        }
        rows.emplace_back(std::move(key), std::move(text));
    }
    panelRowsShown_ = rows.size();
    const bool more = firstRow + panelRowsShown_ < panel.rows.size();
    const std::vector<std::string>& footer = more ? panel.footerWhenMore : panel.footer;

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
    add(panel.title, panel.menu ? largeFont.get() : highlightFont.get(), PANEL_PADDING, true);
    y += titleHeight;
    for (const std::string& line : lines) {
        add(line, normalFont.get(), PANEL_PADDING, false);
        y += lineHeight;
    }
    rowBands.clear();
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const auto& [key, text] = rows[r];
        const std::size_t index = firstRow + r;
        // In a menu the chosen row and the headings stand out; elsewhere the keys do.
        const bool chosen = panel.menu && static_cast<int>(index) == panel.chosenRow;
        const bool heading = panel.menu && panel.rows[index].second.empty();
        gcn::ImageFont* keyFont =
            !panel.menu || chosen || heading ? highlightFont.get() : normalFont.get();
        gcn::ImageFont* textFont = chosen ? highlightFont.get() : normalFont.get();
        const int top = y;
        for (std::size_t i = 0; i < std::max(key.size(), text.size()); ++i) {
            if (i < key.size()) {
                add((chosen && i == 0 ? "> " : "") + key[i], keyFont, PANEL_PADDING, false);
            }
            if (i < text.size()) {
                add(text[i], textFont, textX, false);
            }
            y += lineHeight;
        }
        rowBands.push_back({index, top, y});
    }
    if (!footer.empty()) {
        y += lineHeight;
        for (const std::string& line : footer) {
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
    // Between the bars' plates, a little in from the window's sides.
    const LabelArea area{4, TOP_ROW_Y + smallButtonOff->getHeight(), width - 4,
                         height - BAR_HEIGHT + PLATE_TOP};
    const TextWidth measure = [&](const std::string& line) { return labelFont->getWidth(line); };
    const int lineHeight = labelFont->getHeight();
    std::size_t used = 0;
    for (const ScreenLabel& wanted : labels) {
        const double x = wanted.x / scale_.x(), y = wanted.y / scale_.y();
        const double objectX = wanted.objectX / scale_.x(), objectY = wanted.objectY / scale_.y();
        // A label wider than half the scene takes more lines; room is kept for an arrow.
        const std::string arrowed = "^ " + wanted.text + " >";
        std::vector<std::string> lines =
            layoutText(arrowed, (area.right - area.left) / 2, 4, measure, SMALL_FONT_GLYPHS);
        int blockWidth = 0;
        for (const std::string& line : lines) {
            blockWidth = std::max(blockWidth, measure(line));
        }
        const LabelPlace place = placeLabel(
            x, y, blockWidth, lineHeight * static_cast<int>(lines.size()), area, objectX, objectY);
        lines = layoutText(withEdgeArrow(wanted.text, place.edge), blockWidth, 4, measure,
                           SMALL_FONT_GLYPHS);
        for (std::size_t i = 0; i < lines.size(); ++i, ++used) {
            if (used == screenLabels.size()) {
                screenLabels.push_back(makeInterfaceLabel(labelFont.get()));
                labelLayer->add(screenLabels.back().get());
            }
            gcn::Label& label = *screenLabels[used];
            if (label.getCaption() != lines[i]) {
                label.setCaption(lines[i]);
                label.adjustSize();
            }
            label.setPosition(place.x + (blockWidth - label.getWidth()) / 2,
                              place.y + static_cast<int>(i) * lineHeight);
            label.setVisible(true);
        }
    }
    for (std::size_t i = used; i < screenLabels.size(); ++i) {
        screenLabels[i]->setVisible(false);
    }
}

bool UserInterface::isInterfaceAt(int windowX, int windowY) const {
    const int x = scale_.toInterfaceX(windowX), y = scale_.toInterfaceY(windowY);
    if (x < 0 || y < 0 || x >= width || y >= height) {
        return false;
    }
    if (panelShown) {
        const gcn::Rectangle r = panelBox->getDimension();
        if (r.isPointInRect(x, y)) {
            return true;
        }
    }
    if (!barsVisible) {
        return false;
    }
    if (y < TOP_BAND || y >= height - BOTTOM_BAND) {
        return true;
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
    s.moves = movesLabel->getCaption();
    s.movesVisible = movesLabel->isVisible();
    s.panelShown = panelShown;
    s.panel = panel;
    s.barsVisible = barsVisible;
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
    movesLabel->setCaption(s.moves);
    movesLabel->setVisible(s.movesVisible);
    setBarsVisible(s.barsVisible);
    if (s.panelShown) {
        showPanel(s.panel);
    }
}
