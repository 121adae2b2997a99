#include "ui/UserInterface.h"

#include "rules/Settings.h"
#include "rules/WindowConstants.h"

#include <GL/gl.h>
#include <guichan/actionevent.hpp>
#include <guichan/color.hpp>
#include <guichan/exception.hpp>
#include <guichan/graphics.hpp>
#include <guichan/rectangle.hpp>

#include <cstdio>

const char* const UserInterface::SMALL_FONT_GLYPHS =
    " ABCDEFGHIJKLMNOPQRSTUVWXYZ1234567890.:-,!/()";
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

struct Command {
    const char* id;
    int key;
};

// The switches that setToggle may set, in its search order, with the key a click sends.
const Command COMMANDS[] = {
    {"wireframe", GLFW_KEY_F3},   {"texture", GLFW_KEY_F4},         {"mipmap", GLFW_KEY_F5},
    {"frustum", GLFW_KEY_F8},     {"boundingsphere", GLFW_KEY_F10}, {"transparency", GLFW_KEY_F9},
    {"power", GLFW_KEY_SPACE},    {"light", GLFW_KEY_ENTER},        {"audio", GLFW_KEY_F18},
    {"fullscreen", GLFW_KEY_F19}, {"mirroring", GLFW_KEY_F11},      {"exit", GLFW_KEY_ESC},
};

const Command* findCommand(const std::string& id) {
    for (const Command& c : COMMANDS) {
        if (id == c.id) {
            return &c;
        }
    }
    return nullptr;
}

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
    "images/ea105.png",
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

UserInterface::UserInterface(KeyCallback handler, Clock clockFunction)
    : UserInterface(gameSettings.screenWidth, gameSettings.screenHeight, handler,
                    std::move(clockFunction)) {}

UserInterface::UserInterface(int w, int h, KeyCallback handler, Clock clockFunction)
    : height(h), width(w), keyHandler(handler), clock(std::move(clockFunction)) {
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

void UserInterface::addTiledBackground(gcn::Container& bar, const char* fileName,
                                       std::unique_ptr<gcn::Image>& picture,
                                       std::unique_ptr<gcn::IconRepeatable>& background) {
    picture = loadPicture(fileName);
    background = std::make_unique<gcn::IconRepeatable>(picture.get());
    background->setDimension(gcn::Rectangle(0, 0, bar.getWidth(), BAR_HEIGHT));
    bar.add(background.get(), 0, 0);
}

void UserInterface::buildBottomBar() {
    bottomBar = makeContainer(0, 0, width, BAR_HEIGHT);
    bottomBar->setPosition(0, height - BAR_HEIGHT);
    top->add(bottomBar.get());

    addTiledBackground(*bottomBar, "images/menuline.png", menuLineImage, bottomBackground);

    bottomRow = makeContainer(0, 0, 0, 0);
    gcn::Container& row = *bottomRow;
    const gcn::ToggleButton& power = placeSwitch("power", 0, row);
    const int x1 = widthOf(power) - 10;
    energyBar = std::make_unique<gcn::EnergyLevel>();
    row.add(energyBar.get(), x1, 0);
    const int x2 = x1 + energyBar->getWidth() + 5;
    const gcn::ToggleButton& light = placeSwitch("light", x2, row);
    const int x3 = x2 + widthOf(light) - 10;
    const gcn::ToggleButton& fullscreen = placeSwitch("fullscreen", x3, row);
    const int x4 = x3 + widthOf(fullscreen) - 10;
    const gcn::ToggleButton& audio = placeSwitch("audio", x4, row);
    const int x5 = x4 + widthOf(audio) + 5;
    const gcn::ToggleButton& exit = placeSwitch("exit", x5, row);

    row.setSize(x5 + widthOf(exit), BAR_HEIGHT);
    row.setPosition(bottomBar->getWidth() / 2 - row.getWidth() / 2, 0);
    bottomBar->add(&row);
}

void UserInterface::buildTopBar() {
    topBar = makeContainer(0, 0, width, BAR_HEIGHT);
    top->add(topBar.get(), 0, 0);

    addTiledBackground(*topBar, "images/debugline.png", debugLineImage, topBackground);

    topRow = makeContainer(0, 0, 0, 0);
    gcn::Container& row = *topRow;
    const gcn::ToggleButton& wireframe = placeSwitch("wireframe", 0, row);
    const int x1 = widthOf(wireframe) - 10;
    // Bounding spheres have a key (F10) but no visible switch: the texture switch takes its place.
    placeSwitch("boundingsphere", x1, row).setVisible(false);
    const gcn::ToggleButton& texture = placeSwitch("texture", x1, row);
    const int x2 = x1 + widthOf(texture) - 10;
    const gcn::ToggleButton& mipmap = placeSwitch("mipmap", x2, row);
    const int x3 = x2 + widthOf(mipmap) - 10;
    const gcn::ToggleButton& frustum = placeSwitch("frustum", x3, row);
    const int x4 = x3 + widthOf(frustum) - 10;
    const gcn::ToggleButton& transparency = placeSwitch("transparency", x4, row);
    const int x5 = x4 + widthOf(transparency) - 10;
    const gcn::ToggleButton& mirroring = placeSwitch("mirroring", x5, row);

    const int x6 = x5 + widthOf(mirroring) + 5;
    debugFieldImage = loadPicture("images/debugfield.png");
    const int fieldWidth = debugFieldImage->getWidth();
    counterField = makeContainer(x6, 0, fieldWidth, debugFieldImage->getHeight());
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

    const int x7 = x6 + fieldWidth + 5;
    gcn::ToggleButton& fps = placeSwitch("fps", x7, row);
    fps.setState(true);
    const int x8 = x7 + widthOf(fps) - 10;
    gcn::ToggleButton& nol = placeSwitch("nol", x8, row);
    fpsButton = &fps;
    nolButton = &nol;

    row.setSize(x8 + widthOf(nol), BAR_HEIGHT);
    row.setPosition(topBar->getWidth() / 2 - row.getWidth() / 2, TOP_ROW_Y);
    topBar->add(&row);
}

gcn::ToggleButton* UserInterface::findToggle(const std::string& id) const {
    const auto found = switches.find(id);
    return found != switches.end() ? found->second.get() : nullptr;
}

void UserInterface::action(const gcn::ActionEvent& actionEvent) {
    const std::string& id = actionEvent.getId();
    gcn::ToggleButton* s = findToggle(id);
    if (s == nullptr) {
        return;
    }
    const gcn::ToggleButton::ImageButton2& button = *s->getButton();
    if (s == fpsButton || s == nolButton) {
        if (button.isPressed() && !s->getState()) {
            selectCounter(id);
            clearHoverText();
        } else if (button.hasMouse()) {
            showHoverText(s == fpsButton ? "SHOW FPS" : "SHOW LASER COUNT");
        } else {
            clearHoverText();
        }
        return;
    }
    const Command* command = findCommand(id);
    if (command == nullptr) {
        return;
    }
    if (button.isPressed()) {
        // Sent after drawing: the command may destroy this interface (display switch), which
        // must not happen while Guichan is still delivering this event.
        pendingKeys.push_back(command->key);
    } else if (button.hasMouse()) {
        showHoverText(s->getCaption());
    } else {
        clearHoverText();
    }
}

void UserInterface::setToggle(const std::string& caption, const std::string& id, bool on) {
    if (findCommand(id) == nullptr) {
        return;
    }
    gcn::ToggleButton* s = findToggle(id);
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

    if (pendingKeys.empty()) {
        return;
    }
    // A command may destroy this interface: from here on use locals only.
    const std::vector<int> keys = std::move(pendingKeys);
    pendingKeys.clear();
    const KeyCallback handler = keyHandler;
    if (handler != nullptr) {
        for (const int key : keys) {
            handler(key, GLFW_PRESS);
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
