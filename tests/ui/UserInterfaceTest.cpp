// The whole interface in a 1024 x 768 OpenGL window on a virtual display, with the generated
// pictures: layout, switches, counters, messages and their expiry (on a clock the test drives),
// clicks and hovering through the input adapter, and the OpenGL state it leaves.

#include "ui/UserInterface.h"
#include "UiSupport.h"
#include "rules/ColourLabels.h"
#include "rules/CommandTable.h"
#include "rules/Commands.h"
#include "rules/Par.h"
#include "solver/Hint.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <iostream>
#include <limits>
#include <memory>

// The window and pictures of this test program (gtest owns the environment).
static ::testing::Environment* const glEnvironment =
    ::testing::AddGlobalTestEnvironment(new uitest::GlEnvironment);

// Leaks that are not ours: Mesa's, and Guichan's ImageFont, which does not free its picture when
// it rejects a glyph list.
extern "C" const char* __lsan_default_suppressions() {
    static const std::string suppressions =
        std::string(GRAPHICS_DRIVER_LEAKS) + "leak:gcn::ImageFont::ImageFont\n";
    return suppressions.c_str();
}

namespace {

double now = 0;
double testClock() {
    return now;
}

std::vector<Command> commandsRun;
void recordCommand(Command command) {
    commandsRun.push_back(command);
}

std::unique_ptr<UserInterface> quietInterface(UserInterface::CommandCallback handler) {
    testing::internal::CaptureStdout();
    auto ui = std::make_unique<UserInterface>(1024, 768, handler, testClock);
    testing::internal::GetCapturedStdout();
    return ui;
}

class UserInterfaceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(uitest::GlEnvironment::ready());
        now = 100;
        commandsRun.clear();
        ui = quietInterface(recordCommand);
    }
    void TearDown() override {
        ui.reset();
        EXPECT_EQ(gcn::Image::getImageLoader(), nullptr);
    }

    void push(unsigned int type, int x, int y) {
        const unsigned int button = type == gcn::MouseInput::MOVED ? 0 : gcn::MouseInput::LEFT;
        ui->getInput().pushMouseInput(gcn::MouseInput(button, type, x, y, int(now)));
    }
    /// In the window's pixels.
    std::pair<int, int> centreOf(const std::string& id) const {
        const gcn::ToggleButton::ImageButton2& b = *ui->findToggle(id)->getButton();
        int x = 0, y = 0;
        b.getAbsolutePosition(x, y);
        const InterfaceScale& s = ui->getScale();
        return {s.toWindowX(x + b.getWidth() / 2), s.toWindowY(y + b.getHeight() / 2)};
    }
    void frame() { ui->updateAndDraw(); }
    void hover(const std::string& id) {
        const auto [x, y] = centreOf(id);
        push(gcn::MouseInput::MOVED, x, y);
        frame();
    }
    void moveAway() {
        push(gcn::MouseInput::MOVED, 512, 400);
        frame();
    }
    void pushClick(const std::string& id) {
        const auto [x, y] = centreOf(id);
        push(gcn::MouseInput::MOVED, x, y);
        push(gcn::MouseInput::PRESSED, x, y);
        push(gcn::MouseInput::RELEASED, x, y);
    }
    void click(const std::string& id) {
        pushClick(id);
        frame();
    }
    gcn::ToggleButton& toggle(const std::string& id) const { return *ui->findToggle(id); }
    /// What the counter field shows after the next frame.
    std::string fieldText() {
        frame();
        const gcn::Label& counter = ui->getCounterLabel();
        const gcn::Label& message = ui->getMessageLabel();
        EXPECT_NE(counter.isVisible(), message.isVisible());
        return counter.isVisible() ? counter.getCaption() : message.getCaption();
    }

    std::unique_ptr<UserInterface> ui;
};

// --- layout ------------------------------------------------------------------------------------

gcn::Rectangle absolute(const gcn::Widget& w) {
    int x = 0, y = 0;
    w.getAbsolutePosition(x, y);
    return {x, y, w.getWidth(), w.getHeight()};
}

TEST_F(UserInterfaceTest, BarsLineTheWindowsEdgesWithTheirSwitchesApartAndInside) {
    EXPECT_EQ(uitest::dims(absolute(*ui->getTopRow().getParent())), "0 0 1024 100");
    EXPECT_EQ(uitest::dims(absolute(*ui->getBottomRow().getParent())), "0 668 1024 100");
    // No button overlaps another, and every one lies wholly inside the window.
    std::vector<gcn::Rectangle> buttons;
    for (const CommandInfo& c : commandTable()) {
        const gcn::ToggleButton* s = ui->findToggle(c.id);
        if (s == nullptr || !s->isVisible()) {
            continue;
        }
        const char* id = c.id;
        const gcn::Rectangle at = absolute(*s->getButton());
        EXPECT_TRUE(at.x >= 0 && at.y >= 0 && at.x + at.width <= 1024 && at.y + at.height <= 768)
            << id << " at " << uitest::dims(at);
        for (const gcn::Rectangle& other : buttons) {
            EXPECT_FALSE(at.isIntersecting(other)) << id << " overlaps " << uitest::dims(other);
        }
        buttons.push_back(at);
    }
    EXPECT_EQ(buttons.size(), 14u);
    // The goal count fits right of the top row, under the move count, on the bar.
    const gcn::Rectangle goals = absolute(ui->getGoalsLabel());
    const gcn::Rectangle moves = absolute(ui->getMovesLabel());
    EXPECT_GE(goals.x, absolute(ui->getTopRow()).x + ui->getTopRow().getWidth());
    EXPECT_LE(goals.x + goals.width, 1024);
    EXPECT_TRUE(moves.x == goals.x && moves.width <= goals.width && moves.y >= 0 &&
                moves.y + moves.height <= goals.y && goals.y + goals.height <= ui->coveredTop());
    // The bounding-sphere switch has a key but no place of its own.
    EXPECT_FALSE(toggle("boundingsphere").isVisible());
}

// --- switches and counters ---------------------------------------------------------------------

TEST_F(UserInterfaceTest, SelectCounterSwitchesOnlyBetweenTheCounters) {
    ui->setFramesPerSecond(7);
    ui->setLaserCount(1234);
    EXPECT_EQ(fieldText(), "FPS: 007");
    ui->selectCounter("nol");
    EXPECT_TRUE(toggle("nol").getState());
    EXPECT_FALSE(toggle("fps").getState());
    EXPECT_EQ(fieldText(), "LASER COUNT: 01234");
    // Already shown, or unknown: nothing changes until the next frame writes the new count.
    ui->setLaserCount(5);
    ui->selectCounter("nol");
    ui->selectCounter("bogus");
    EXPECT_EQ(ui->getCounterLabel().getCaption(), "LASER COUNT: 01234");
    EXPECT_EQ(fieldText(), "LASER COUNT: 00005");
    ui->selectCounter("fps");
    EXPECT_TRUE(toggle("fps").getState());
    EXPECT_FALSE(toggle("nol").getState());
}

TEST_F(UserInterfaceTest, TheEnergyBarSlidesItsLevelOutAsItEmptiesClampedAndInsideTheRims) {
    gcn::EnergyLevel& bar = ui->getEnergyBar();
    EXPECT_FLOAT_EQ(bar.getLevel(), 1.0f); // it starts full
    const auto shownAt = [&](float value) {
        ui->setEnergy(value);
        return bar.getLevelIcon()->getX();
    };
    EXPECT_EQ(shownAt(1.0f), 0);
    // Emptier is further out, and empty still shows the picture's last columns.
    EXPECT_LT(shownAt(0.5f), 0);
    EXPECT_LT(shownAt(0.001f), shownAt(0.5f));
    EXPECT_LT(shownAt(0.0f), shownAt(0.001f));
    EXPECT_GT(shownAt(0.0f) + bar.getLevelIcon()->getWidth(), 0);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    for (const auto& [value, clamped] : {std::pair{1.5f, 1.0f}, std::pair{inf, 1.0f},
                                         std::pair{-0.2f, 0.0f}, std::pair{nan, 0.0f}}) {
        EXPECT_EQ(shownAt(value), shownAt(clamped)) << value;
        EXPECT_FLOAT_EQ(bar.getLevel(), clamped) << value;
    }
    // Drawn over its back and under its border, the level within the rims.
    uitest::RecordingGraphics graphics;
    graphics.pushClipArea(gcn::Rectangle(0, 0, bar.getWidth(), bar.getHeight()));
    ui->setEnergy(0.5f);
    bar.draw(&graphics);
    ASSERT_EQ(graphics.draws.size(), 3u);
    EXPECT_EQ(graphics.draws[1].image, bar.getLevelIcon()->getImage());
    const gcn::Rectangle shown = graphics.draws[1].clip;
    EXPECT_TRUE(shown.x > 0 && shown.x + shown.width < bar.getWidth()) << uitest::dims(shown);
}

// --- short messages ----------------------------------------------------------------------------

TEST_F(UserInterfaceTest, FlashedMessageLastsOneAndAHalfSecondsInTheHighlightFont) {
    ui->setFramesPerSecond(60);
    ui->flashMessage("WIREFRAME MODE ON");
    EXPECT_EQ(fieldText(), "WIREFRAME MODE ON");
    EXPECT_EQ(ui->getMessageLabel().getFont(), &ui->getHighlightFont());
    now = 101.5; // not yet past
    EXPECT_EQ(fieldText(), "WIREFRAME MODE ON");
    now = 101.51; // shown once more, then gone
    EXPECT_EQ(fieldText(), "WIREFRAME MODE ON");
    EXPECT_EQ(fieldText(), "FPS: 060");
    // A new flash restarts the time.
    now = 200;
    ui->flashMessage("LIGHT OFF");
    now = 201;
    ui->flashMessage("LIGHT ON");
    now = 202;
    EXPECT_EQ(fieldText(), "LIGHT ON");
    now = 202.6;
    fieldText();
    EXPECT_EQ(fieldText(), "FPS: 060");
}

TEST_F(UserInterfaceTest, HoverShowsTheCaptionUntilTheMouseLeaves) {
    ui->setToggle("WIREFRAME MODE OFF", "wireframe", false);
    ui->setToggle("VIEW FRUSTUM CULLING ON", "frustum", true);
    ui->setToggle("BILINEAR TEXTURING", "texture", true);
    ui->flashMessage("MUSIC OFF");
    now = 100.5;
    hover("wireframe");                        // replaces a running flash
    now = 1000;                                // and does not expire
    EXPECT_EQ(fieldText(), "WIRE FRAME - F3"); // what it does and its key
    EXPECT_EQ(ui->getMessageLabel().getFont(), &ui->getNormalFont());
    hover("frustum");
    EXPECT_EQ(fieldText(), "VIEW FRUSTUM CULLING - F8");
    hover("texture"); // the hidden bounding-sphere switch shares its place
    EXPECT_EQ(fieldText(), "TEXTURE FILTERING - F4");
    moveAway();
    EXPECT_EQ(fieldText(), "FPS: 000");

    // Leaving a switch keeps a flash that started meanwhile.
    hover("texture");
    ui->flashMessage("LASER POWER ON");
    moveAway();
    EXPECT_EQ(fieldText(), "LASER POWER ON");
    now = 1002;
    fieldText();
    EXPECT_EQ(fieldText(), "FPS: 000");
}

// --- clicks ------------------------------------------------------------------------------------

TEST_F(UserInterfaceTest, SwitchesRunTheirCommandsWhenClickedAndShowWhatSetToggleSays) {
    int clicked = 0;
    for (const CommandInfo& c : commandTable()) {
        gcn::ToggleButton* s = ui->findToggle(c.id);
        if (s == nullptr || !s->isVisible() || s->getState()) {
            continue; // no switch, or the counter already shown
        }
        commandsRun.clear();
        pushClick(c.id);
        EXPECT_TRUE(commandsRun.empty()) << c.id; // run after drawing
        frame();
        EXPECT_EQ(commandsRun, std::vector<Command>{c.command}) << c.id;
        // The switch follows setToggle, not the click; the counters follow selectCounter alone.
        EXPECT_FALSE(s->getState()) << c.id;
        ui->setToggle(c.id, c.id, true);
        const bool counter = c.command == Command::LaserCounter;
        EXPECT_EQ(s->getState() && s->getCaption() == c.id, !counter) << c.id;
        ui->setToggle("OFF", c.id, false);
        ++clicked;
    }
    EXPECT_EQ(clicked, 13);
    // A press released elsewhere runs nothing, nor a click on the counter already shown;
    // without a command handler a click is harmless.
    commandsRun.clear();
    const auto [x, y] = centreOf("power");
    push(gcn::MouseInput::MOVED, x, y);
    push(gcn::MouseInput::PRESSED, x, y);
    push(gcn::MouseInput::MOVED, 512, 400);
    push(gcn::MouseInput::RELEASED, 512, 400);
    frame();
    click("fps");
    ui->setToggle("X", "fps", false);
    EXPECT_TRUE(toggle("fps").getState());
    ui->setCommandHandler(nullptr);
    click("exit");
    EXPECT_TRUE(commandsRun.empty());
}

// A command handler that replaces the interface, as the display-mode switch does.
std::unique_ptr<UserInterface>* replaceable = nullptr;
void replaceInterface(Command command) {
    commandsRun.push_back(command);
    replaceable->reset();
    *replaceable = quietInterface(replaceInterface);
}

TEST_F(UserInterfaceTest, CommandMayReplaceTheInterfaceFromInsideItsClick) {
    replaceable = &ui;
    ui->setCommandHandler(replaceInterface);
    ui->selectCounter("nol");
    // Two clicks in one step: both commands run, the first one destroys the interface.
    pushClick("fullscreen");
    pushClick("exit");
    ui->updateAndDraw();
    EXPECT_EQ(commandsRun, (std::vector<Command>{Command::DisplayMode, Command::Quit}));
    // The new interface starts afresh, with the frame rate counter.
    EXPECT_TRUE(toggle("fps").getState());
    EXPECT_EQ(fieldText(), "FPS: 000");
    replaceable = nullptr;
}

// --- life cycle (every test builds an interface and destroys it) ------------------------------

TEST(UserInterfaceFailure, MissingPictureThrowsTheLoaderMessageAndLeavesNoLoader) {
    ASSERT_TRUE(uitest::GlEnvironment::ready());
    for (const bool somePictures : {false, true}) {
        const ScratchDir dir("pictures");
        if (somePictures) {
            uitest::writeAllPictures(dir);
            std::filesystem::remove(dir.file("images/exithighlight.png"));
        }
        const uitest::WorkingDirectory inside(dir.path);
        const std::string missing = somePictures ? "images/exithighlight.png" : "images/ea030.png";
        testing::internal::CaptureStdout();
        try {
            const UserInterface ui(1024, 768, recordCommand, testClock);
            ADD_FAILURE() << "no exception without " << missing;
        } catch (const gcn::Exception& e) {
            EXPECT_EQ(e.getMessage(), "Unable to load image file:" + missing);
        }
        const std::string listed = testing::internal::GetCapturedStdout();
        EXPECT_EQ(listed.substr(listed.size() - missing.size() - 1), missing + "\n");
        EXPECT_EQ(gcn::Image::getImageLoader(), nullptr);
    }
}

// --- OpenGL ------------------------------------------------------------------------------------

TEST_F(UserInterfaceTest, DrawingAndBuildingRestoreTheOpenGLStateTheyFound) {
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(1, 2, 3);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glScalef(2, 2, 2);
    glColor4f(0.25f, 0.5f, 0.75f, 0.5f);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);

    ui->showMessage("LEVEL SOLVED", 0);
    hover("light");
    auto second = quietInterface(recordCommand); // building uploads textures
    second.reset();
    GLint value = -1;
    glGetIntegerv(GL_ATTRIB_STACK_DEPTH, &value);
    EXPECT_EQ(value, 0);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    glGetIntegerv(GL_MATRIX_MODE, &value);
    EXPECT_EQ(value, GL_PROJECTION);
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    EXPECT_FLOAT_EQ(m[13], 2);
    glGetFloatv(GL_PROJECTION_MATRIX, m);
    EXPECT_FLOAT_EQ(m[0], 2);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &value);
    EXPECT_EQ(GLuint(value), texture);
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[3], 0.5f);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    GLint modes[2];
    glGetIntegerv(GL_POLYGON_MODE, modes);
    EXPECT_EQ(modes[0], GL_LINE);

    // Back to the state the other tests expect.
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glDisable(GL_DEPTH_TEST);
    glColor4f(1, 1, 1, 1);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glBindTexture(GL_TEXTURE_2D, 0);
    glDeleteTextures(1, &texture);
}

} // namespace

// --- panels, labels and what survives a new interface ------------------------------------------

TEST_F(UserInterfaceTest, APanelKeepsLongTextInsideTheWindowAndClaimsItsClicks) {
    PanelContent content;
    content.title = "A title";
    for (int i = 0; i < 200; ++i) {
        content.text += "Many words that go on and on, line after line. ";
    }
    content.footer = {"Click or press any key to start", "F1: help"};
    EXPECT_FALSE(ui->isInterfaceAt(512, 384));
    ui->showPanel(content);
    frame();
    const gcn::Rectangle r = ui->getPanelContainer().getDimension();
    EXPECT_GE(r.y, 0);
    EXPECT_LE(r.y + r.height, 768);
    EXPECT_GE(r.x, 0);
    EXPECT_LE(r.x + r.width, 1024);
    const std::vector<std::string> lines = ui->panelLines();
    ASSERT_GT(lines.size(), 4u);
    EXPECT_EQ(lines.front(), "A title");
    EXPECT_EQ(lines.back(), "F1: help");
    const std::string& lastText = lines[lines.size() - 3];
    EXPECT_EQ(lastText.substr(lastText.size() - 3), "...");
    EXPECT_TRUE(ui->isInterfaceAt(512, 384));
    ui->hidePanel();
    EXPECT_FALSE(ui->isInterfaceAt(512, 384));
    // The bars' bands and plates are the interface's, the scene between them is not.
    EXPECT_TRUE(ui->isInterfaceAt(3, 3));
    EXPECT_TRUE(ui->isInterfaceAt(1020, 765));
    EXPECT_FALSE(ui->isInterfaceAt(40, 300));
    const auto [px, py] = centreOf("power");
    EXPECT_TRUE(ui->isInterfaceAt(px, py));
}

TEST_F(UserInterfaceTest, ANewInterfaceShowsWhatTheOldOneShowed) {
    ui->selectCounter("nol");
    ui->showMessage("LEVEL SOLVED", 0, "N: NEXT LEVEL");
    ui->flashMessage("HEADING 45 TILT -15");
    ui->setGoals(1, 2, true);
    ui->setMoves(12, true);
    PanelContent help;
    help.title = "Controls";
    help.rows = {{"F1", "this help"}};
    ui->showPanel(help);
    ui->showMessage("GAME OVER", 4.0, "R: RESTART THE LEVEL");
    frame();
    now += 1.0;
    const UserInterface::State shown = ui->captureState();
    ui = quietInterface(recordCommand);
    ui->restoreState(shown);
    frame();
    EXPECT_FALSE(toggle("fps").getState());
    EXPECT_TRUE(toggle("nol").getState());
    EXPECT_EQ(ui->getBigMessage(), "GAME OVER");
    EXPECT_EQ(ui->getBigSubMessage(), "R: RESTART THE LEVEL");
    EXPECT_NEAR(ui->getBigMessageExpiry(), now + 3.0, 1e-9);
    EXPECT_EQ(fieldText(), "HEADING 45 TILT -15");
    EXPECT_TRUE(ui->getGoalsLabel().isVisible());
    EXPECT_EQ(ui->getGoalsLabel().getCaption(), "GOALS 1/2");
    EXPECT_EQ(ui->getMovesLabel().getCaption(), "MOVES 12");
    EXPECT_TRUE(ui->isPanelShown());
    EXPECT_EQ(ui->panelLines().front(), "Controls");
}

TEST_F(UserInterfaceTest, ScreenLabelsComeAndGoWithTheirTexts) {
    ui->setScreenLabels({{300, 300, "WANTS RED - GETS WHITE"}, {600, 300, "PASSES RED"}});
    frame();
    ui->setScreenLabels({{300, 300, "RED - OPEN"}});
    frame();
    // Nothing of the scene shows through a panel.
    PanelContent panel;
    panel.title = "A title";
    ui->showPanel(panel);
    frame();
    for (const auto& shown : ui->visibleTexts()) {
        EXPECT_NE(shown.first, "RED - OPEN");
    }
    ui->hidePanel();
    ui->setScreenLabels({});
    frame();
    EXPECT_FALSE(ui->isInterfaceAt(300, 290)); // labels never take clicks from the scene
}

// --- twice as large on a large screen --------------------------------------------------------

TEST_F(UserInterfaceTest, TwiceAsLargeOnALargeScreenWithTextsInsideAndClicksOnTheirSwitches) {
    testing::internal::CaptureStdout();
    UserInterface half(960, 540, recordCommand, testClock); // the same layout, unscaled
    UserInterface third(1440, 810, recordCommand, testClock, 1.5f);
    UserInterface fitted(1024, 768, recordCommand, testClock, 2.0f); // as large as 640 x 480 fits
    ui = std::make_unique<UserInterface>(1920, 1080, recordCommand, testClock, 2.0f);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(fitted.getWidth(), 640);
    EXPECT_EQ(ui->coveredBottom(), 2 * half.coveredBottom());
    // On screen (the test window holds the bottom left of it) each window pixel shows the
    // unscaled picture's pixel that it maps to: nothing blurred, lost or taken from beside.
    const auto drawn = [](UserInterface& u) {
        const InterfaceScale& s = u.getScale();
        u.showMessage("LEVEL SOLVED", 0, "N: NEXT LEVEL");
        u.flashMessage("-> GOAL 10, WANTS MAGENTA, GETS YELLOW / -> HALF MIRROR 3");
        u.setScreenLabels({{s.windowWidth * 0.5, s.windowHeight * 0.6, "WANTS MAGENTA"}});
        glClearColor(1, 0, 1, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        u.updateAndDraw();
        std::vector<std::uint32_t> p(1024 * 768);
        glReadPixels(0, 0, 1024, 768, GL_RGBA, GL_UNSIGNED_BYTE, p.data());
        return p;
    };
    const auto small = drawn(half);
    for (UserInterface* large : {&third, ui.get()}) {
        const InterfaceScale& s = large->getScale();
        const auto picture = drawn(*large);
        long differing = 0;
        for (int i = 0; i < 1024 * 768; ++i) {
            const int y = 539 - s.toInterfaceY(s.windowHeight - 1 - i / 1024);
            differing += picture[i] != small[y * 1024 + s.toInterfaceX(i % 1024)];
        }
        EXPECT_EQ(differing, 0) << s.windowWidth;
    }
    // Texts in the window's pixels: inside it, and the label (the last) where it was put.
    for (const auto& [text, r] : ui->visibleTexts()) {
        EXPECT_TRUE(r.x >= 0 && r.y >= 0 && r.x + r.width <= 1920 && r.y + r.height <= 1080)
            << text << " at " << uitest::dims(r);
    }
    const gcn::Rectangle label = ui->visibleTexts().back().second;
    EXPECT_TRUE(label.x + label.width / 2 == 960 && label.y + label.height == 648);
    // Clicks at window positions reach the switch drawn there.
    for (const char* id : {"power", "exit", "wireframe", "mirroring"}) {
        commandsRun.clear();
        click(id);
        EXPECT_EQ(commandsRun, std::vector<Command>{findCommand(id)->command}) << id;
        EXPECT_TRUE(ui->isInterfaceAt(centreOf(id).first, centreOf(id).second)) << id;
    }
}

// --- every text the game shows fits an 800 x 600 window --------------------------------------

TEST(SmallWindow, EveryMessageLabelAndPanelStaysInsideAnd640PixelsHoldTheBars) {
    ASSERT_TRUE(uitest::GlEnvironment::ready());
    testing::internal::CaptureStdout();
    UserInterface ui(800, 600, recordCommand, testClock);
    UserInterface narrow(640, 480, recordCommand, testClock);
    testing::internal::GetCapturedStdout();
    // The bars at 640: the field, the goal count (the move count over it) and the switches
    // shown lie inside, apart.
    narrow.setGoals(10, 10, true);
    narrow.setMoves(999, true);
    narrow.updateAndDraw();
    EXPECT_LE(narrow.minimumWidth(), 640);
    const gcn::Rectangle goals = absolute(narrow.getGoalsLabel());
    EXPECT_LE(goals.x + goals.width, 640);
    EXPECT_GE(goals.x, absolute(narrow.getCounterField()).x + narrow.getCounterField().getWidth());

    const auto expectInside = [&](const std::string& what) {
        ui.updateAndDraw();
        for (const auto& [text, r] : ui.visibleTexts()) {
            EXPECT_TRUE(r.x >= 0 && r.x + r.width <= 800 && r.y >= 0 && r.y + r.height <= 600)
                << what << ": \"" << text << "\" at " << uitest::dims(r);
        }
    };
    std::vector<std::string> flashed = {
        "CANNOT LOAD LEVEL", "LOOKING FOR A HINT", "HEADING -180 TILT -90",
        "-> GOAL 10, WANTS MAGENTA, GETS YELLOW / -> HALF MIRROR 3"};
    for (const CommandInfo& c : commandTable()) {
        flashed.push_back(hoverText(c.command, keyBindings));
        GameSettings settings;
        double energy = 10;
        bool over = false;
        for (int twice = 0; twice < 2; ++twice) {
            testing::internal::CaptureStdout();
            flashed.push_back(runCommand(c.command, settings, energy, over, std::cout).caption);
            testing::internal::GetCapturedStdout();
        }
    }
    for (const std::string& text : flashed) {
        ui.flashMessage(text);
        expectInside(text);
    }
    const std::string next = keyHint(Command::NextLevel, "NEXT LEVEL", keyBindings) + " - " +
                             keyHint(Command::Restart, "RESTART THE LEVEL", keyBindings);
    std::vector<std::pair<std::string, std::string>> bigMessages = {
        {solvedMessage(999, 9999), next},
        {"OUT OF ENERGY", next},
        {"TURN THIS HALF MIRROR 165 DEGREES RIGHT AND TILT IT 75 DEGREES DOWN",
         "THIS HINT COST 20 SECONDS OF ENERGY"}};
    for (NoHint why :
         {NoHint::OutOfTime, NoHint::FromHere, NoHint::RestoreLevel, NoHint::CarryAHolder}) {
        bigMessages.emplace_back(describeHint({SolveResult{}, why}).message, "");
    }
    for (const auto& [big, sub] : bigMessages) {
        ui.showMessage(big, 0, sub);
        expectInside(big);
    }
    ui.setScreenLabels({{-5000, 300, goalLabel(7, {1, 2, 3, 4, 5, 6}, false)},
                        {400, 1e9, goalLabel(5, {3}, false)},
                        {790, 70, filterLabel(6)}});
    expectInside("labels");
    PanelContent help;
    help.title = "Controls";
    help.rows = helpRows(keyBindings);
    help.footer = {keyHint(Command::Help, "close", keyBindings)};
    std::size_t rowsShown = 0;
    do {
        help.firstRow = rowsShown;
        ui.showPanel(help);
        expectInside("help");
        rowsShown += ui.panelRowsShown();
    } while (ui.panelHasMoreRows());
    EXPECT_EQ(rowsShown, help.rows.size()) << "every help row shows on some page";
}
