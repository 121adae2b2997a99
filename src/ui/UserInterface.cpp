#include "ui/UserInterface.h"

#include "ui/TextLayout.h"

#include "rules/CommandTable.h"
#include "rules/Settings.h"

#include <GL/gl.h>
#include <guichan/actionevent.hpp>
#include <guichan/color.hpp>
#include <guichan/exception.hpp>
#include <guichan/graphics.hpp>
#include <guichan/rectangle.hpp>

#include <algorithm>
#include <cstdio>

const char* const UserInterface::SMALL_FONT_GLYPHS =
    " ABCDEFGHIJKLMNOPQRSTUVWXYZ1234567890.:-,!/()abcdefghijklmnopqrstuvwxyz'\";[]#+?=<>*%&_";
const char* const UserInterface::LARGE_FONT_GLYPHS =
    " ABCDEFGHIJKLMNOPQRSTUVWXYZ1234567890.:-_,!/()";

namespace {

/// Glyph spacing of the two small fonts; their pictures leave room for it.
constexpr int SMALL_FONT_SPACING = -2;
/// The top row sits this far above the window's top edge, hiding the top of its plates.
constexpr int TOP_ROW_Y = -31;
/// Where the counter and message labels sit in the counter field.
constexpr int LABEL_Y = 52;
constexpr int COUNTER_LABEL_HEIGHT = 50;

std::unique_ptr<gcn::Image> loadPicture(const char* fileName) {
    return std::unique_ptr<gcn::Image>(gcn::Image::load(fileName));
}

std::unique_ptr<gcn::ImageFont> loadFont(const char* fileName, const char* glyphs, int spacing,
                                         bool setSpacing) {
    auto font = std::make_unique<gcn::ImageFont>(fileName, glyphs);
    if (setSpacing) {
        font->setGlyphSpacing(spacing);
    }
    return font;
}

std::unique_ptr<gcn::Container> makeContainer(int x, int y, int w, int h) {
    auto container = std::make_unique<gcn::Container>();
    container->setOpaque(false);
    container->setDimension(gcn::Rectangle(x, y, w, h));
    return container;
}

std::unique_ptr<gcn::Label> makeLabel(gcn::Font* font) {
    auto label = std::make_unique<gcn::Label>(" ");
    label->setFont(font);
    // White leaves the image fonts' own colours unchanged (OpenGL multiplies by the colour).
    label->setForegroundColor(gcn::Color(255, 255, 255));
    return label;
}

std::string formatCounter(const char* format, int value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

/// Restores the texture binding and the pixel-store state while pictures are uploaded.
class TextureStateGuard {
  public:
    TextureStateGuard() {
        glPushAttrib(GL_TEXTURE_BIT);
        glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    }
    ~TextureStateGuard() {
        glPopClientAttrib();
        glPopAttrib();
    }
    TextureStateGuard(const TextureStateGuard&) = delete;
    TextureStateGuard& operator=(const TextureStateGuard&) = delete;
};

const char* const PICTURE_FILES[] = {
    "images/poweron.png",        "images/poweroff.png",   "images/smallbuttonon.png",
    "images/smallbuttonoff.png", "images/energyback.png", "images/energylevel.png",
    "images/energyborder.png",   "images/menuline.png",   "images/debugline.png",
    "images/debugfield.png",     "images/ea030.png",      "images/ea030h.png",
    "images/ea105.png",          "images/ea030o.png",
};

const char* const SWITCH_IDS[] = {"wireframe",    "boundingsphere", "texture", "mipmap", "frustum",
                                  "transparency", "mirroring",      "fps",     "nol",    "light",
                                  "fullscreen",   "audio",          "exit",    "power"};

} // namespace

UserInterface::LoaderSlot::LoaderSlot() : loader(std::make_unique<gcn::DevILImageLoader>()) {
    gcn::Image::setImageLoader(loader.get());
}

UserInterface::LoaderSlot::~LoaderSlot() {
    if (gcn::Image::getImageLoader() == loader.get()) {
        gcn::Image::setImageLoader(nullptr);
    }
}

UserInterface::UserInterface(CommandCallback handler, Clock clockFunction)
    : UserInterface(gameSettings.screenWidth, gameSettings.screenHeight, handler,
                    std::move(clockFunction)) {}

UserInterface::UserInterface(int w, int h, CommandCallback handler, Clock clockFunction)
    : height(h), width(w), commandHandler(handler), clock(std::move(clockFunction)) {
    if (!clock) {
        clock = [] { return 0.0; };
    }
    const TextureStateGuard guard;
    build();
}

UserInterface::~UserInterface() = default;

void UserInterface::build() {
    input = std::make_unique<gcn::GLFWInput>();
    graphics = std::make_unique<gcn::OpenGLGraphics>(width, height);
    top = makeContainer(0, 0, width, height);
    gui = std::make_unique<gcn::Gui>();
    gui->setTabbingEnabled(false);
    gui->setGraphics(graphics.get());
    gui->setInput(input.get());

    normalFont = loadFont("images/ea030.png", SMALL_FONT_GLYPHS, SMALL_FONT_SPACING, true);
    highlightFont = loadFont("images/ea030h.png", SMALL_FONT_GLYPHS, SMALL_FONT_SPACING, true);
    largeFont = loadFont("images/ea105.png", LARGE_FONT_GLYPHS, 0, false);
    // Texts over the scene lie under everything else.
    labelLayer = makeContainer(0, 0, width, height);
    top->add(labelLayer.get());

    bigLabel = makeLabel(largeFont.get());
    bigLabel->setCaption("");
    bigLabel->adjustSize();
    bigLabel->setVisible(false);
    top->add(bigLabel.get());
    bigSubLabel = makeLabel(highlightFont.get());
    bigSubLabel->setCaption("");
    bigSubLabel->adjustSize();
    bigSubLabel->setVisible(false);
    top->add(bigSubLabel.get());
    labelFont = loadFont("images/ea030o.png", SMALL_FONT_GLYPHS, SMALL_FONT_SPACING, true);

    panelBox = makeContainer(0, 0, 0, 0);
    panelBox->setOpaque(true);
    panelBox->setBaseColor(gcn::Color(8, 12, 22, 215));
    panelBox->setVisible(false);
    top->add(panelBox.get());

    smallButtonOn = loadPicture("images/smallbuttonon.png");
    smallButtonOff = loadPicture("images/smallbuttonoff.png");

    buildBottomBar();
    buildTopBar();
    gui->setTop(top.get());
}

gcn::ToggleButton& UserInterface::placeSwitch(const std::string& id, int x, gcn::Container& row) {
    auto made = id == "power" ? std::make_unique<gcn::ToggleButton>(id)
                              : std::make_unique<gcn::ToggleButton>(id, smallButtonOn.get(),
                                                                    smallButtonOff.get());
    gcn::ToggleButton& s = *made;
    s.setPosition(x, 0);
    s.setState(false);
    s.getButton()->setActionEventId(id);
    s.getButton()->addActionListener(this);
    row.add(&s);
    switches[id] = std::move(made);
    return s;
}

int UserInterface::placeSwitches(gcn::Container& row, int x,
                                 std::initializer_list<const char*> ids) {
    int right = x;
    for (const char* id : ids) {
        const gcn::ToggleButton& placed = placeSwitch(id, x, row);
        right = x + placed.getWidth();
        x = right - 10;
    }
    return right;
}

void UserInterface::addTiledBackground(gcn::Container& bar, const char* fileName,
                                       std::unique_ptr<gcn::Image>& picture,
                                       std::unique_ptr<gcn::IconRepeatable>& background) {
    picture = loadPicture(fileName);
    background = std::make_unique<gcn::IconRepeatable>(picture.get());
    background->setDimension(gcn::Rectangle(0, 0, bar.getWidth(), BAR_HEIGHT));
    bar.add(background.get(), 0, 0);
}

namespace {

// How many of a bar's rows, counted from its top (fromTop) or its bottom, its tiled background
// fills with fully opaque pixels: the rows of the tile whose every pixel has alpha 255.
int opaqueRows(const char* fileName, int barHeight, bool fromTop) {
    std::vector<unsigned int> pixels;
    int w = 0, h = 0;
    if (!gcn::DevILImageLoader::decode(fileName, pixels, w, h) || w <= 0 || h <= 0) {
        return 0;
    }
    const auto rowOpaque = [&](int row) {
        for (int x = 0; x < w; ++x) {
            const unsigned int p = pixels[static_cast<std::size_t>(row) * w + x];
            if (reinterpret_cast<const unsigned char*>(&p)[3] != 255) {
                return false;
            }
        }
        return true;
    };
    int rows = 0;
    while (rows < barHeight && rowOpaque((fromTop ? rows : barHeight - 1 - rows) % h)) {
        ++rows;
    }
    return rows;
}

} // namespace

void UserInterface::buildBottomBar() {
    bottomBar = makeContainer(0, 0, width, BAR_HEIGHT);
    bottomBar->setPosition(0, height - BAR_HEIGHT);
    top->add(bottomBar.get());

    addTiledBackground(*bottomBar, "images/menuline.png", menuLineImage, bottomBackground);
    coveredBottom_ = opaqueRows("images/menuline.png", BAR_HEIGHT, false);

    bottomRow = makeContainer(0, 0, 0, 0);
    gcn::Container& row = *bottomRow;
    int x = placeSwitches(row, 0, {"power"}) - 10;
    energyBar = std::make_unique<gcn::EnergyLevel>();
    row.add(energyBar.get(), x, 0);
    x = placeSwitches(row, x + energyBar->getWidth() + 5, {"light", "fullscreen", "audio"}) + 5;
    row.setSize(placeSwitches(row, x, {"exit"}), BAR_HEIGHT);
    row.setPosition(bottomBar->getWidth() / 2 - row.getWidth() / 2, 0);
    bottomBar->add(&row);
}

void UserInterface::buildTopBar() {
    topBar = makeContainer(0, 0, width, BAR_HEIGHT);
    top->add(topBar.get(), 0, 0);

    addTiledBackground(*topBar, "images/debugline.png", debugLineImage, topBackground);
    coveredTop_ = opaqueRows("images/debugline.png", BAR_HEIGHT, true);

    topRow = makeContainer(0, 0, 0, 0);
    gcn::Container& row = *topRow;
    int x = placeSwitches(row, 0, {"wireframe"}) - 10;
    // Bounding spheres have a key (F10) but no visible switch: the texture switch takes its place.
    placeSwitch("boundingsphere", x, row).setVisible(false);
    x = placeSwitches(row, x, {"texture", "mipmap", "frustum", "transparency", "mirroring"}) + 5;

    debugFieldImage = loadPicture("images/debugfield.png");
    const int fieldWidth = debugFieldImage->getWidth();
    counterField = makeContainer(x, 0, fieldWidth, debugFieldImage->getHeight());
    counterFieldIcon = std::make_unique<gcn::Icon>(debugFieldImage.get());
    counterField->add(counterFieldIcon.get(), 0, 0);
    row.add(counterField.get());

    counterLabel = makeLabel(normalFont.get());
    counterLabel->setDimension(gcn::Rectangle(0, 0, fieldWidth, COUNTER_LABEL_HEIGHT));
    counterLabel->setPosition(0, LABEL_Y);
    counterField->add(counterLabel.get());
    layoutCounterLabel("fps");

    messageLabel = makeLabel(normalFont.get());
    messageLabel->adjustSize();
    messageLabel->setWidth(fieldWidth);
    messageLabel->setPosition(0, LABEL_Y);
    messageLabel->setAlignment(gcn::Graphics::CENTER);
    messageLabel->setVisible(false);
    counterField->add(messageLabel.get());

    row.setSize(placeSwitches(row, x + fieldWidth + 5, {"fps", "nol"}), BAR_HEIGHT);
    fpsButton = findToggle("fps");
    nolButton = findToggle("nol");
    fpsButton->setState(true);
    // The goal count stands right of the row: the row moves left as far as it needs the room.
    goalsLabel = makeLabel(normalFont.get());
    goalsLabel->setCaption("GOALS 10/10");
    goalsLabel->adjustSize();
    const int room = goalsLabel->getWidth() + 8;
    const int rowX = std::max(0, std::min(topBar->getWidth() / 2 - row.getWidth() / 2,
                                          topBar->getWidth() - room - row.getWidth()));
    row.setPosition(rowX, TOP_ROW_Y);
    topBar->add(&row);
    goalsLabel->setPosition(rowX + row.getWidth() + 4, TOP_ROW_Y + LABEL_Y);
    goalsLabel->setCaption("");
    goalsLabel->setVisible(false);
    topBar->add(goalsLabel.get());
}

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
            panelLabels.push_back(makeLabel(font));
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
        screenLabels.push_back(makeLabel(labelFont.get()));
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

int UserInterface::minimumWidth() const {
    return std::max(topRow->getWidth() + goalsLabel->getWidth() + 12, bottomRow->getWidth());
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

void UserInterface::setGoals(int open, int total, bool visible) {
    const std::string text = "GOALS " + std::to_string(open) + "/" + std::to_string(total);
    if (goalsLabel->getCaption() != text) {
        goalsLabel->setCaption(text);
    }
    goalsLabel->setVisible(visible);
}

gcn::ToggleButton* UserInterface::findToggle(const std::string& id) const {
    const auto found = switches.find(id);
    return found != switches.end() ? found->second.get() : nullptr;
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

const std::vector<std::string>& interfacePictureFiles() {
    static const std::vector<std::string> files = [] {
        std::vector<std::string> all(std::begin(PICTURE_FILES), std::end(PICTURE_FILES));
        for (const char* id : SWITCH_IDS) {
            all.push_back(std::string("images/") + id + "normal.png");
            all.push_back(std::string("images/") + id + "highlight.png");
        }
        return all;
    }();
    return files;
}

std::string checkInterfacePictures() {
    for (const std::string& file : interfacePictureFiles()) {
        std::vector<unsigned int> pixels;
        int width = 0, height = 0;
        if (!gcn::DevILImageLoader::decode(file, pixels, width, height)) {
            return gcn::DevILImageLoader::loadFailure(file).getMessage();
        }
    }
    return "";
}
