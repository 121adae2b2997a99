// The interface built: its pictures and fonts, the two bars with their switches, the counter
// field and the energy bar, and the files it loads.

#include "ui/UserInterface.h"

#include "ui/InterfaceParts.h"

#include "rules/Settings.h"

#include <GL/gl.h>
#include <guichan/color.hpp>
#include <guichan/exception.hpp>
#include <guichan/graphics.hpp>
#include <guichan/rectangle.hpp>

#include <algorithm>

const char* const UserInterface::SMALL_FONT_GLYPHS =
    " ABCDEFGHIJKLMNOPQRSTUVWXYZ1234567890.:-,!/()abcdefghijklmnopqrstuvwxyz'\";[]#+?=<>*%&_^";
const char* const UserInterface::LARGE_FONT_GLYPHS =
    " ABCDEFGHIJKLMNOPQRSTUVWXYZ1234567890.:-_,!/()";

namespace {

/// Glyph spacing of the two small fonts; their pictures leave room for it.
constexpr int SMALL_FONT_SPACING = -2;
constexpr int COUNTER_LABEL_HEIGHT = 50;
/// The narrowest counter field: room for a message of about twenty characters a line.
constexpr int MIN_FIELD_WIDTH = 240;

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

const char* const SWITCH_IDS[] = {"wireframe", "boundingsphere", "texture",    "mipmap",
                                  "frustum",   "transparency",   "mirroring",  "fps",
                                  "nol",       "light",          "fullscreen", "audio",
                                  "exit",      "power",          "settings"};

} // namespace

std::unique_ptr<gcn::Label> makeInterfaceLabel(gcn::Font* font) {
    auto label = std::make_unique<gcn::Label>(" ");
    label->setFont(font);
    // White leaves the image fonts' own colours unchanged (OpenGL multiplies by the colour).
    label->setForegroundColor(gcn::Color(255, 255, 255));
    return label;
}

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
                    std::move(clockFunction), gameSettings.uiScale) {}

UserInterface::UserInterface(int w, int h, CommandCallback handler, Clock clockFunction,
                             float scale)
    : scale_(InterfaceScale::fit(w, h, scale, MINIMUM_WIDTH, MINIMUM_HEIGHT)), askedScale(scale),
      height(scale_.height), width(scale_.width), commandHandler(handler),
      clock(std::move(clockFunction)) {
    if (!clock) {
        clock = [] { return 0.0; };
    }
    const TextureStateGuard guard;
    build();
}

UserInterface::~UserInterface() = default;

void UserInterface::build() {
    input = std::make_unique<gcn::GLFWInput>();
    input->setScale(scale_);
    graphics = std::make_unique<ScaledGraphics>(scale_);
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

    // The large message's lines lie over the labels, under the panel and the bars.
    for (int i = 0; i < BIG_MESSAGE_LINES; ++i) {
        bigLines.push_back(makeInterfaceLabel(largeFont.get()));
        bigLines.back()->setVisible(false);
        top->add(bigLines.back().get());
    }
    labelFont = loadFont("images/ea030o.png", SMALL_FONT_GLYPHS, SMALL_FONT_SPACING, true);

    smallButtonOn = loadPicture("images/smallbuttonon.png");
    smallButtonOff = loadPicture("images/smallbuttonoff.png");

    buildBottomBar();
    buildTopBar();
    // A panel lies over everything, the bars included.
    panelBox = makeContainer(0, 0, 0, 0);
    panelBox->setOpaque(true);
    panelBox->setBaseColor(gcn::Color(8, 12, 22, 215));
    panelBox->setVisible(false);
    top->add(panelBox.get());
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
    x = placeSwitches(row, x + energyBar->getWidth() + 5,
                      {"light", "fullscreen", "audio", "settings"}) +
        5;
    int right = placeSwitches(row, x, {"exit"});
    if (right > width) {
        // A narrow window gives up the settings switch (its key still opens them).
        gcn::ToggleButton& settings = *switches.at("settings");
        gcn::ToggleButton& exit = *switches.at("exit");
        settings.setVisible(false);
        exit.setX(settings.getX() + 15);
        right = exit.getX() + exit.getWidth();
    }
    row.setSize(right, BAR_HEIGHT);
    row.setPosition(bottomBar->getWidth() / 2 - row.getWidth() / 2, 0);
    bottomBar->add(&row);
}

void UserInterface::buildTopBar() {
    topBar = makeContainer(0, 0, width, BAR_HEIGHT);
    top->add(topBar.get(), 0, 0);

    addTiledBackground(*topBar, "images/debugline.png", debugLineImage, topBackground);
    coveredTop_ = opaqueRows("images/debugline.png", BAR_HEIGHT, true);

    // The move count over the goal count, right of the row: the row moves left as far as it
    // needs the room. Stacked, they take no more of a narrow window's width than one.
    movesLabel = makeInterfaceLabel(normalFont.get());
    movesLabel->setCaption("MOVES 999");
    movesLabel->adjustSize();
    goalsLabel = makeInterfaceLabel(normalFont.get());
    goalsLabel->setCaption("GOALS 10/10");
    goalsLabel->adjustSize();
    const int countsRoom = std::max(movesLabel->getWidth(), goalsLabel->getWidth()) + 12;
    debugFieldImage = loadPicture("images/debugfield.png");
    const int naturalField = debugFieldImage->getWidth();

    // What the row holds, by how much a player needs it: a narrow window first gives up the
    // counter switches, then narrows the field, then gives up render switches whose keys stay
    // (culling first); wire frame and reflections always show.
    static const char* const RENDER_SWITCHES[] = {"wireframe", "texture",      "mipmap",
                                                  "frustum",   "transparency", "mirroring"};
    static const char* const GIVEN_UP_FIRST[] = {"frustum", "mipmap", "texture", "transparency"};
    const int step = smallButtonOff->getWidth() - 10;
    const auto span = [&](int switchCount) { return switchCount * step + 10; };
    std::vector<std::string> shown(std::begin(RENDER_SWITCHES), std::end(RENDER_SWITCHES));
    bool counters = true;
    int field = naturalField;
    const auto needed = [&] {
        return span(static_cast<int>(shown.size())) + 5 + field + (counters ? 5 + span(2) : 0) +
               countsRoom;
    };
    counters = needed() <= width;
    field = std::max(MIN_FIELD_WIDTH, naturalField - std::max(0, needed() - width));
    for (const char* id : GIVEN_UP_FIRST) {
        if (needed() > width) {
            shown.erase(std::find(shown.begin(), shown.end(), id));
        }
    }
    field = std::min(naturalField, field + std::max(0, width - needed()));

    topRow = makeContainer(0, 0, 0, 0);
    gcn::Container& row = *topRow;
    int x = 0;
    for (const char* id : RENDER_SWITCHES) {
        const bool show = std::find(shown.begin(), shown.end(), id) != shown.end();
        placeSwitch(id, show ? x : 0, row).setVisible(show);
        x += show ? step : 0;
        if (std::string(id) == "wireframe") {
            // Bounding spheres have a key (F10) but no visible switch.
            placeSwitch("boundingsphere", x, row).setVisible(false);
        }
    }
    x += 10 + 5;

    counterField = makeContainer(x, 0, field, debugFieldImage->getHeight());
    counterFieldIcon = std::make_unique<gcn::IconNarrowed>(debugFieldImage.get());
    counterFieldIcon->setWidth(field);
    counterField->add(counterFieldIcon.get(), 0, 0);
    row.add(counterField.get());

    counterLabel = makeInterfaceLabel(normalFont.get());
    counterLabel->setDimension(gcn::Rectangle(0, 0, field, COUNTER_LABEL_HEIGHT));
    counterLabel->setPosition(0, LABEL_Y);
    counterField->add(counterLabel.get());
    layoutCounterLabel("fps");

    for (auto* line : {&messageLabel, &messageLine2}) {
        *line = makeInterfaceLabel(normalFont.get());
        (*line)->adjustSize();
        (*line)->setWidth(field);
        (*line)->setPosition(0, LABEL_Y);
        (*line)->setAlignment(gcn::Graphics::CENTER);
        (*line)->setVisible(false);
        counterField->add(line->get());
    }

    const int end = placeSwitches(row, x + field + 5, {"fps", "nol"});
    row.setSize(counters ? end : x + field, BAR_HEIGHT);
    for (const char* id : {"fps", "nol"}) {
        findToggle(id)->setVisible(counters);
    }
    fpsButton = findToggle("fps");
    nolButton = findToggle("nol");
    fpsButton->setState(true);
    const int rowX = std::max(0, std::min(topBar->getWidth() / 2 - row.getWidth() / 2,
                                          topBar->getWidth() - countsRoom - row.getWidth()));
    row.setPosition(rowX, TOP_ROW_Y);
    topBar->add(&row);
    const int countsHalfGap = goalsLabel->getHeight() / 2 + 1;
    movesLabel->setPosition(rowX + row.getWidth() + 4, TOP_ROW_Y + LABEL_Y - countsHalfGap);
    goalsLabel->setPosition(rowX + row.getWidth() + 4, TOP_ROW_Y + LABEL_Y + countsHalfGap);
    for (gcn::Label* count : {movesLabel.get(), goalsLabel.get()}) {
        count->setCaption("");
        count->setVisible(false);
        topBar->add(count);
    }
}

int UserInterface::minimumWidth() const {
    return std::max(MINIMUM_WIDTH, bottomRow->getWidth());
}

gcn::ToggleButton* UserInterface::findToggle(const std::string& id) const {
    const auto found = switches.find(id);
    return found != switches.end() ? found->second.get() : nullptr;
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
