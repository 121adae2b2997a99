// The whole interface in a 1024 x 768 OpenGL window on a virtual display, with the generated
// pictures: layout, switches, counters, messages and their expiry (on a clock the test drives),
// clicks and hovering through the input adapter, the OpenGL state it leaves, and a screenshot.

#include "ui/UserInterface.h"
#include "UiSupport.h"
#include "app/Settings.h"

#include <GL/gl.h>
#include <gtest/gtest.h>
#include <guichan/actionevent.hpp>

#include <cstdlib>
#include <memory>
#include <set>
#include <sstream>

// The window and pictures of this test program (gtest owns the environment).
static ::testing::Environment* const glEnvironment =
    ::testing::AddGlobalTestEnvironment(new uitest::GlEnvironment);

// Leaks that are not ours: Mesa's, and Guichan's ImageFont, which does not free its picture when
// it rejects a glyph list (FontsTest).
extern "C" const char* __lsan_default_suppressions() {
    static const std::string suppressions =
        std::string(uitest::GRAPHICS_DRIVER_LEAKS) + "leak:gcn::ImageFont::ImageFont\n";
    return suppressions.c_str();
}

namespace {

double now = 0;
double testClock() {
    return now;
}

std::vector<std::pair<int, int>> keysSent;
void recordKey(int key, int action) {
    keysSent.push_back({key, action});
}

class UserInterfaceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(uitest::GlEnvironment::ready());
        now = 100;
        keysSent.clear();
        testing::internal::CaptureStdout();
        ui = std::make_unique<UserInterface>(1024, 768, recordKey, testClock);
        loadOutput = testing::internal::GetCapturedStdout();
    }
    void TearDown() override { ui.reset(); }

    void push(unsigned int type, int x, int y) {
        const unsigned int button = type == gcn::MouseInput::MOVED ? 0 : gcn::MouseInput::LEFT;
        ui->getInput().pushMouseInput(gcn::MouseInput(button, type, x, y, int(now)));
    }
    std::pair<int, int> centreOf(const std::string& id) const {
        const gcn::ToggleButton::ImageButton2& b = *ui->findToggle(id)->getButton();
        int x = 0, y = 0;
        b.getAbsolutePosition(x, y);
        return {x + b.getWidth() / 2, y + b.getHeight() / 2};
    }
    void frame() { ui->updateAndDraw(); }
    void moveTo(int x, int y) {
        push(gcn::MouseInput::MOVED, x, y);
        frame();
    }
    void hover(const std::string& id) {
        const auto [x, y] = centreOf(id);
        moveTo(x, y);
    }
    void moveAway() { moveTo(512, 400); }
    void click(const std::string& id) {
        const auto [x, y] = centreOf(id);
        push(gcn::MouseInput::MOVED, x, y);
        push(gcn::MouseInput::PRESSED, x, y);
        push(gcn::MouseInput::RELEASED, x, y);
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
    std::string loadOutput;
};

int absoluteX(const gcn::Widget& w) {
    int x = 0, y = 0;
    w.getAbsolutePosition(x, y);
    return x;
}

// --- construction and layout -------------------------------------------------------------------

TEST_F(UserInterfaceTest, LoadsEveryPictureOnceAndListsIt) {
    std::istringstream lines(loadOutput);
    std::multiset<std::string> listed;
    for (std::string line; std::getline(lines, line);) {
        listed.insert(line);
    }
    const std::multiset<std::string> expected(interfacePictureFiles().begin(),
                                              interfacePictureFiles().end());
    EXPECT_EQ(listed, expected);
}

TEST_F(UserInterfaceTest, BottomBarHoldsPowerEnergyAndFourSwitchesCentred) {
    const gcn::Container& row = ui->getBottomRow();
    const gcn::Widget& bar = *row.getParent();
    EXPECT_EQ(uitest::dims(bar.getDimension()),
              uitest::dims(gcn::Rectangle(0, 768 - 100, 1024, 100)));
    const auto w = [&](const char* id) { return toggle(id).getWidth(); };
    const int x1 = w("power") - 10;
    const int x2 = x1 + 260 + 5;
    const int x3 = x2 + w("light") - 10;
    const int x4 = x3 + w("fullscreen") - 10;
    const int x5 = x4 + w("audio") + 5;
    EXPECT_EQ(toggle("power").getX(), 0);
    EXPECT_EQ(ui->getEnergyBar().getX(), x1);
    EXPECT_EQ(toggle("light").getX(), x2);
    EXPECT_EQ(toggle("fullscreen").getX(), x3);
    EXPECT_EQ(toggle("audio").getX(), x4);
    EXPECT_EQ(toggle("exit").getX(), x5);
    EXPECT_EQ(row.getWidth(), x5 + w("exit"));
    EXPECT_EQ(row.getHeight(), 100);
    EXPECT_EQ(row.getX(), 512 - row.getWidth() / 2);
    EXPECT_EQ(row.getY(), 0);
    // With the shipped pictures.
    EXPECT_EQ(x1, 114);
    EXPECT_EQ(x5, 562);
    EXPECT_EQ(row.getWidth(), 628);
    for (const char* id : {"power", "light", "fullscreen", "audio", "exit"}) {
        EXPECT_EQ(toggle(id).getY(), 0) << id;
        EXPECT_EQ(toggle(id).getParent(), &row) << id;
    }
}

TEST_F(UserInterfaceTest, TopBarHangsThirtyOnePixelsAboveTheWindow) {
    const gcn::Container& row = ui->getTopRow();
    EXPECT_EQ(uitest::dims(row.getParent()->getDimension()),
              uitest::dims(gcn::Rectangle(0, 0, 1024, 100)));
    EXPECT_EQ(row.getY(), -31);
    const int step = toggle("wireframe").getWidth() - 10;
    EXPECT_EQ(toggle("wireframe").getX(), 0);
    EXPECT_EQ(toggle("boundingsphere").getX(), step);
    EXPECT_FALSE(toggle("boundingsphere").isVisible());
    EXPECT_EQ(toggle("texture").getX(), step);
    EXPECT_EQ(toggle("mipmap").getX(), 2 * step);
    EXPECT_EQ(toggle("frustum").getX(), 3 * step);
    EXPECT_EQ(toggle("transparency").getX(), 4 * step);
    EXPECT_EQ(toggle("mirroring").getX(), 5 * step);
    const gcn::Container& field = ui->getCounterField();
    const int x6 = 5 * step + toggle("mirroring").getWidth() + 5;
    EXPECT_EQ(uitest::dims(field.getDimension()), uitest::dims(gcn::Rectangle(x6, 0, 350, 100)));
    const int x7 = x6 + field.getWidth() + 5;
    EXPECT_EQ(toggle("fps").getX(), x7);
    EXPECT_EQ(toggle("nol").getX(), x7 + toggle("fps").getWidth() - 10);
    EXPECT_EQ(row.getWidth(), toggle("nol").getX() + toggle("nol").getWidth());
    EXPECT_EQ(row.getX(), 512 - row.getWidth() / 2);
    // Every switch's button is on screen, just below the window's top edge.
    int x = 0, y = 0;
    toggle("wireframe").getButton()->getAbsolutePosition(x, y);
    EXPECT_EQ(y, 43 - 31);
    EXPECT_GE(x, 0);
    EXPECT_LE(absoluteX(toggle("nol")) + toggle("nol").getWidth(), 1024);
}

TEST_F(UserInterfaceTest, StartsWithTheFrameRateCounterAndEverythingElseOff) {
    for (const char* id :
         {"wireframe", "boundingsphere", "texture", "mipmap", "frustum", "transparency",
          "mirroring", "nol", "power", "light", "fullscreen", "audio", "exit"}) {
        ASSERT_NE(ui->findToggle(id), nullptr) << id;
        EXPECT_FALSE(toggle(id).getState()) << id;
        EXPECT_EQ(toggle(id).getCaption(), "") << id;
        EXPECT_EQ(toggle(id).getButton()->getActionEventId(), id);
    }
    EXPECT_TRUE(toggle("fps").getState());
    EXPECT_EQ(ui->findToggle("bogus"), nullptr);

    const gcn::Label& counter = ui->getCounterLabel();
    EXPECT_EQ(counter.getCaption(), "FPS: 000");
    EXPECT_EQ(counter.getAlignment(), gcn::Graphics::LEFT);
    EXPECT_EQ(counter.getWidth(), ui->getNormalFont().getWidth("FPS: 000"));
    EXPECT_EQ(counter.getHeight(), ui->getNormalFont().getHeight());
    EXPECT_EQ(counter.getX(), 350 / 2 - counter.getWidth() / 2);
    EXPECT_EQ(counter.getY(), 52);

    const gcn::Label& message = ui->getMessageLabel();
    EXPECT_FALSE(message.isVisible());
    EXPECT_EQ(uitest::dims(message.getDimension()),
              uitest::dims(gcn::Rectangle(0, 52, 350, ui->getNormalFont().getHeight())));
    EXPECT_EQ(message.getAlignment(), gcn::Graphics::CENTER);
    EXPECT_FALSE(ui->getBigLabel().isVisible());
    EXPECT_FLOAT_EQ(ui->getEnergyBar().getLevel(), 1.0f);
    EXPECT_EQ(ui->getNormalFont().getGlyphSpacing(), -2);
    EXPECT_EQ(ui->getHighlightFont().getGlyphSpacing(), -2);
    EXPECT_EQ(ui->getLargeFont().getGlyphSpacing(), 0);
}

TEST_F(UserInterfaceTest, TakesTheWindowSizeFromTheSettings) {
    const GameSettings saved = gameSettings;
    gameSettings.screenWidth = 800;
    gameSettings.screenHeight = 600;
    testing::internal::CaptureStdout();
    ui = std::make_unique<UserInterface>(recordKey, testClock);
    testing::internal::GetCapturedStdout();
    gameSettings = saved;
    EXPECT_EQ(ui->getWidth(), 800);
    EXPECT_EQ(ui->getHeight(), 600);
    EXPECT_EQ(ui->getBottomRow().getParent()->getY(), 500);
    EXPECT_EQ(ui->getBottomRow().getX(), 400 - ui->getBottomRow().getWidth() / 2);
    frame();
}

// --- switches and counters ---------------------------------------------------------------------

TEST_F(UserInterfaceTest, SetToggleSetsTheCommandSwitchesOnly) {
    for (const char* id :
         {"wireframe", "texture", "mipmap", "frustum", "boundingsphere", "transparency", "power",
          "light", "audio", "fullscreen", "mirroring", "exit"}) {
        ui->setToggle(std::string(id) + " ON", id, true);
        EXPECT_TRUE(toggle(id).getState()) << id;
        EXPECT_EQ(toggle(id).getCaption(), std::string(id) + " ON");
        ui->setToggle("OFF", id, false);
        EXPECT_FALSE(toggle(id).getState()) << id;
        EXPECT_EQ(toggle(id).getCaption(), "OFF");
    }
    // The counter switches and unknown ids are left alone.
    ui->setToggle("X", "fps", false);
    ui->setToggle("Y", "nol", true);
    ui->setToggle("Z", "bogus", true);
    ui->setToggle("Z", "", true);
    EXPECT_TRUE(toggle("fps").getState());
    EXPECT_FALSE(toggle("nol").getState());
    EXPECT_EQ(toggle("fps").getCaption(), "");
    EXPECT_EQ(toggle("nol").getCaption(), "");
}

TEST_F(UserInterfaceTest, CountersArePaddedWithZeros) {
    ui->setFramesPerSecond(7);
    ui->setLaserCount(1234);
    EXPECT_EQ(fieldText(), "FPS: 007");
    ui->setFramesPerSecond(100);
    EXPECT_EQ(fieldText(), "FPS: 100");
    const int width = ui->getCounterLabel().getWidth();
    ui->setFramesPerSecond(1234); // longer than the placeholder: the label is not re-measured
    EXPECT_EQ(fieldText(), "FPS: 1234");
    EXPECT_EQ(ui->getCounterLabel().getWidth(), width);
    ui->selectCounter("nol");
    EXPECT_EQ(fieldText(), "LASER COUNT: 01234");
    ui->setLaserCount(0);
    EXPECT_EQ(fieldText(), "LASER COUNT: 00000");
}

TEST_F(UserInterfaceTest, SelectCounterSwitchesOnlyToTheOtherCounter) {
    ui->selectCounter("nol");
    EXPECT_TRUE(toggle("nol").getState());
    EXPECT_FALSE(toggle("fps").getState());
    const gcn::Label& counter = ui->getCounterLabel();
    EXPECT_EQ(counter.getCaption(), "LASER COUNT: 00000");
    EXPECT_EQ(counter.getWidth(), ui->getNormalFont().getWidth("LASER COUNT: 00000"));
    EXPECT_EQ(counter.getX(), 350 / 2 - counter.getWidth() / 2);
    EXPECT_EQ(counter.getY(), 52);

    // Already shown: nothing changes, not even a caption written meanwhile.
    ui->setLaserCount(5);
    frame();
    ui->selectCounter("nol");
    EXPECT_EQ(counter.getCaption(), "LASER COUNT: 00005");
    ui->selectCounter("bogus");
    EXPECT_TRUE(toggle("nol").getState());

    ui->selectCounter("fps");
    EXPECT_TRUE(toggle("fps").getState());
    EXPECT_FALSE(toggle("nol").getState());
    EXPECT_EQ(counter.getCaption(), "FPS: 000");
}

TEST_F(UserInterfaceTest, EnergyGoesToTheBar) {
    ui->setEnergy(0.5f);
    EXPECT_EQ(ui->getEnergyBar().getLevelIcon()->getX(), -123);
    ui->setEnergy(2.0f);
    EXPECT_FLOAT_EQ(ui->getEnergyBar().getLevel(), 1.0f);
    ui->setEnergy(-1.0f);
    EXPECT_EQ(ui->getEnergyBar().getLevelIcon()->getX(), -247);
}

// --- short messages ----------------------------------------------------------------------------

TEST_F(UserInterfaceTest, FlashedMessageLastsOneAndAHalfSecondsInTheHighlightFont) {
    ui->setFramesPerSecond(60);
    ui->flashMessage("WIREFRAME MODE ON");
    EXPECT_DOUBLE_EQ(ui->getShortMessageExpiry(), 101.5);
    EXPECT_EQ(fieldText(), "WIREFRAME MODE ON");
    EXPECT_EQ(ui->getMessageLabel().getFont(), &ui->getHighlightFont());
    now = 101.5; // not yet past
    EXPECT_EQ(fieldText(), "WIREFRAME MODE ON");
    now = 101.51; // shown once more, then gone
    EXPECT_EQ(fieldText(), "WIREFRAME MODE ON");
    EXPECT_EQ(ui->getShortMessage(), "");
    EXPECT_EQ(ui->getShortMessageExpiry(), 0);
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
    hover("wireframe");
    EXPECT_EQ(ui->getShortMessage(), "WIREFRAME MODE OFF");
    EXPECT_EQ(ui->getShortMessageExpiry(), 0);
    now = 1000; // hover descriptions do not expire
    EXPECT_EQ(fieldText(), "WIREFRAME MODE OFF");
    EXPECT_EQ(ui->getMessageLabel().getFont(), &ui->getNormalFont());
    moveAway();
    EXPECT_EQ(ui->getShortMessage(), "");
    EXPECT_EQ(fieldText(), "FPS: 000");
    // From switch to switch.
    ui->setToggle("MIP MAPPING: NEAREST NEIGHBOR", "mipmap", true);
    ui->setToggle("VIEW FRUSTUM CULLING ON", "frustum", true);
    hover("mipmap");
    hover("frustum");
    EXPECT_EQ(fieldText(), "VIEW FRUSTUM CULLING ON");
    // The hidden bounding-sphere switch shares its place with the texture switch.
    ui->setToggle("BOUNDING SPHERES OFF", "boundingsphere", false);
    ui->setToggle("BILINEAR TEXTURING", "texture", true);
    hover("texture"); // the same place
    EXPECT_EQ(fieldText(), "BILINEAR TEXTURING");
}

TEST_F(UserInterfaceTest, HoverReplacesARunningFlashAndThenStays) {
    ui->setToggle("TEXTURE", "texture", true);
    ui->flashMessage("MUSIC OFF");
    now = 100.5;
    hover("texture");
    EXPECT_EQ(fieldText(), "TEXTURE");
    now = 105;
    EXPECT_EQ(fieldText(), "TEXTURE");
    moveAway();
    EXPECT_EQ(fieldText(), "FPS: 000");
}

TEST_F(UserInterfaceTest, LeavingASwitchKeepsAFlashThatStartedMeanwhile) {
    ui->setToggle("MIRRORING DEPTH 2", "mirroring", true);
    hover("mirroring");
    ui->flashMessage("LASER POWER ON");
    moveAway();
    EXPECT_EQ(fieldText(), "LASER POWER ON");
    ui->clearHoverText();
    EXPECT_EQ(ui->getShortMessage(), "LASER POWER ON");
    now = 102;
    fieldText();
    EXPECT_EQ(fieldText(), "FPS: 000");
}

// --- clicks ------------------------------------------------------------------------------------

TEST_F(UserInterfaceTest, ClickingASwitchSendsTheKeyOfItsCommand) {
    const std::pair<const char*, int> commands[] = {
        {"wireframe", GLFW_KEY_F3},   {"texture", GLFW_KEY_F4},      {"mipmap", GLFW_KEY_F5},
        {"frustum", GLFW_KEY_F8},     {"transparency", GLFW_KEY_F9}, {"mirroring", GLFW_KEY_F11},
        {"power", GLFW_KEY_SPACE},    {"light", GLFW_KEY_ENTER},     {"audio", GLFW_KEY_F18},
        {"fullscreen", GLFW_KEY_F19}, {"exit", GLFW_KEY_ESC},
    };
    for (const auto& [id, key] : commands) {
        keysSent.clear();
        click(id);
        ASSERT_EQ(keysSent.size(), 1u) << id;
        EXPECT_EQ(keysSent[0].first, key) << id;
        EXPECT_EQ(keysSent[0].second, GLFW_PRESS) << id;
        // The switch follows the command (setToggle), not the click.
        EXPECT_FALSE(toggle(id).getState()) << id;
    }
    // Hovering and a press released elsewhere send nothing.
    keysSent.clear();
    hover("power");
    moveAway();
    const auto [x, y] = centreOf("power");
    push(gcn::MouseInput::MOVED, x, y);
    push(gcn::MouseInput::PRESSED, x, y);
    push(gcn::MouseInput::MOVED, 512, 400);
    push(gcn::MouseInput::RELEASED, 512, 400);
    frame();
    EXPECT_TRUE(keysSent.empty());
    // Without a key handler a click is harmless.
    ui->setKeyHandler(nullptr);
    click("exit");
    ui->setKeyHandler(recordKey);
    click("exit");
    EXPECT_EQ(keysSent.size(), 1u);
}

TEST_F(UserInterfaceTest, ClickingTheCounterSwitchesChangesTheCounter) {
    ui->setLaserCount(42);
    click("nol");
    EXPECT_TRUE(keysSent.empty());
    EXPECT_TRUE(toggle("nol").getState());
    EXPECT_FALSE(toggle("fps").getState());
    // The click ended the hover description: the counter shows while the mouse stays.
    EXPECT_EQ(fieldText(), "LASER COUNT: 00042");
    // A second click on the chosen counter only describes it.
    click("nol");
    EXPECT_TRUE(toggle("nol").getState());
    EXPECT_EQ(fieldText(), "SHOW LASER COUNT");
    hover("fps");
    EXPECT_EQ(fieldText(), "SHOW FPS");
    click("fps");
    EXPECT_TRUE(toggle("fps").getState());
    EXPECT_EQ(fieldText(), "FPS: 000");
}

// A key handler that replaces the interface, as the display-mode switch does.
std::unique_ptr<UserInterface>* replaceable = nullptr;
int replacements = 0;
void replaceInterface(int key, int action) {
    keysSent.push_back({key, action});
    replaceable->reset();
    ++replacements;
    testing::internal::CaptureStdout();
    *replaceable = std::make_unique<UserInterface>(1024, 768, replaceInterface, testClock);
    testing::internal::GetCapturedStdout();
}

TEST_F(UserInterfaceTest, CommandMayReplaceTheInterfaceFromInsideItsClick) {
    replaceable = &ui;
    replacements = 0;
    ui->setKeyHandler(replaceInterface);
    ui->selectCounter("nol");
    const UserInterface* old = ui.get();
    // Two clicks in one step: both keys arrive, the first one destroys the interface.
    const auto [fx, fy] = centreOf("fullscreen");
    const auto [ex, ey] = centreOf("exit");
    for (const auto& [x, y] : {std::pair<int, int>{fx, fy}, std::pair<int, int>{ex, ey}}) {
        push(gcn::MouseInput::MOVED, x, y);
        push(gcn::MouseInput::PRESSED, x, y);
        push(gcn::MouseInput::RELEASED, x, y);
    }
    ui->updateAndDraw();
    EXPECT_EQ(replacements, 2);
    ASSERT_EQ(keysSent.size(), 2u);
    EXPECT_EQ(keysSent[0].first, GLFW_KEY_F19);
    EXPECT_EQ(keysSent[1].first, GLFW_KEY_ESC);
    EXPECT_NE(ui.get(), old);
    // The new interface starts afresh, with the frame rate counter.
    EXPECT_TRUE(toggle("fps").getState());
    EXPECT_EQ(fieldText(), "FPS: 000");
    replaceable = nullptr;
}

// --- the large message -------------------------------------------------------------------------

TEST_F(UserInterfaceTest, LargeMessageIsCentredAndStaysOrExpires) {
    ui->showMessage("LEVEL SOLVED", 0);
    const gcn::Label& big = ui->getBigLabel();
    EXPECT_TRUE(big.isVisible());
    EXPECT_EQ(big.getCaption(), "LEVEL SOLVED");
    EXPECT_EQ(big.getFont(), &ui->getLargeFont());
    EXPECT_EQ(big.getWidth(), ui->getLargeFont().getWidth("LEVEL SOLVED"));
    EXPECT_EQ(big.getX(), 512 - big.getWidth() / 2);
    EXPECT_EQ(big.getY(), 384 - big.getHeight() / 2);
    EXPECT_EQ(ui->getBigMessageExpiry(), 0);
    now = 1e6;
    frame();
    EXPECT_TRUE(big.isVisible());
    EXPECT_EQ(ui->getBigMessage(), "LEVEL SOLVED");
    // The empty text replaces it.
    ui->showMessage("", 0);
    EXPECT_EQ(big.getCaption(), "");
    EXPECT_EQ(big.getWidth(), 0);
    EXPECT_EQ(ui->getBigMessage(), "");
    // With a duration it disappears.
    now = 100;
    ui->showMessage("GAME OVER", 2);
    EXPECT_DOUBLE_EQ(ui->getBigMessageExpiry(), 102);
    now = 102;
    frame();
    EXPECT_TRUE(ui->getBigLabel().isVisible());
    now = 102.01;
    frame();
    EXPECT_FALSE(ui->getBigLabel().isVisible());
    EXPECT_EQ(ui->getBigMessage(), "");
    EXPECT_EQ(ui->getBigMessageExpiry(), 0);
    // A short message is not affected.
    EXPECT_EQ(fieldText(), "FPS: 000");
}

// --- life cycle --------------------------------------------------------------------------------

TEST_F(UserInterfaceTest, CanBeDestroyedAndRebuiltRepeatedly) {
    for (int i = 0; i < 3; ++i) {
        ui->setToggle("LIGHT ON", "light", true);
        ui->showMessage("LEVEL SOLVED", 0);
        hover("light");
        frame();
        ui.reset();
        EXPECT_EQ(gcn::Image::getImageLoader(), nullptr);
        testing::internal::CaptureStdout();
        ui = std::make_unique<UserInterface>(1024, 768, recordKey, testClock);
        testing::internal::GetCapturedStdout();
    }
    frame();
}

TEST(UserInterfaceFailure, MissingPictureThrowsTheLoaderMessageAndLeavesNoLoader) {
    ASSERT_TRUE(uitest::GlEnvironment::ready());
    {
        const uitest::ScratchDir empty("nopictures");
        const uitest::WorkingDirectory inside(empty.path);
        testing::internal::CaptureStdout();
        try {
            UserInterface ui(1024, 768, recordKey, testClock);
            testing::internal::GetCapturedStdout();
            FAIL() << "no exception";
        } catch (const gcn::Exception& e) {
            EXPECT_EQ(testing::internal::GetCapturedStdout(), "images/ea030.png\n");
            EXPECT_EQ(e.getMessage(), "Unable to load image file:images/ea030.png");
        }
        EXPECT_EQ(gcn::Image::getImageLoader(), nullptr);
    }
    {
        // A picture missing half way.
        const uitest::ScratchDir dir("somepictures");
        uitest::writeAllPictures(dir);
        std::filesystem::remove(dir.file("images/exithighlight.png"));
        const uitest::WorkingDirectory inside(dir.path);
        testing::internal::CaptureStdout();
        bool threw = false;
        try {
            const UserInterface ui(1024, 768, recordKey, testClock);
        } catch (const gcn::Exception&) {
            threw = true;
        }
        testing::internal::GetCapturedStdout();
        EXPECT_TRUE(threw);
        EXPECT_EQ(checkInterfacePictures(), "Unable to load image file:images/exithighlight.png");
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
    glViewport(0, 0, 1024, 768);
    glColor4f(0.25f, 0.5f, 0.75f, 0.5f);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_CULL_FACE);
    glDisable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glEnable(GL_STENCIL_TEST);
    glDisable(GL_SCISSOR_TEST);

    glTexCoord2f(0.125f, 0.375f);
    ui->showMessage("LEVEL SOLVED", 0);
    hover("light");
    frame();
    GLint depth = -1;
    glGetIntegerv(GL_ATTRIB_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 0);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    GLint value = 0;
    glGetIntegerv(GL_MATRIX_MODE, &value);
    EXPECT_EQ(value, GL_PROJECTION);
    GLfloat m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    EXPECT_FLOAT_EQ(m[12], 1);
    EXPECT_FLOAT_EQ(m[14], 3);
    glGetFloatv(GL_PROJECTION_MATRIX, m);
    EXPECT_FLOAT_EQ(m[0], 2);
    EXPECT_FLOAT_EQ(m[12], 0);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &value);
    EXPECT_EQ(GLuint(value), texture);
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[0], 0.25f);
    EXPECT_FLOAT_EQ(colour[3], 0.5f);
    GLfloat coords[4];
    glGetFloatv(GL_CURRENT_TEXTURE_COORDS, coords);
    EXPECT_FLOAT_EQ(coords[0], 0.125f);
    EXPECT_FLOAT_EQ(coords[1], 0.375f);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_TRUE(glIsEnabled(GL_STENCIL_TEST));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    glGetIntegerv(GL_BLEND_SRC, &value);
    EXPECT_EQ(value, GL_ONE);
    glGetIntegerv(GL_BLEND_DST, &value);
    EXPECT_EQ(value, GL_ONE);
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &value);
    EXPECT_EQ(value, 1);
    GLint modes[2];
    glGetIntegerv(GL_POLYGON_MODE, modes);
    EXPECT_EQ(modes[0], GL_LINE);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 1024);

    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glDisable(GL_STENCIL_TEST);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    glColor4f(1, 1, 1, 1);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glBindTexture(GL_TEXTURE_2D, 0);
    glDeleteTextures(1, &texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    {
        // Building uploads textures but keeps the bound one.
        GLuint texture = 0;
        glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        testing::internal::CaptureStdout();
        auto second = std::make_unique<UserInterface>(1024, 768, recordKey, testClock);
        testing::internal::GetCapturedStdout();
        GLint bound = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        EXPECT_EQ(GLuint(bound), texture);
        second.reset();
        glBindTexture(GL_TEXTURE_2D, 0);
        glDeleteTextures(1, &texture);
    }
}

struct Pixel {
    int r, g, b;
};

/// Reads the back buffer, rows from the top.
std::vector<unsigned char> readWindow() {
    std::vector<unsigned char> rgba(std::size_t(1024) * 768 * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, 1024, 768, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    std::vector<unsigned char> flipped(rgba.size());
    for (int y = 0; y < 768; ++y) {
        std::copy_n(&rgba[std::size_t(767 - y) * 1024 * 4], 1024 * 4,
                    &flipped[std::size_t(y) * 1024 * 4]);
    }
    return flipped;
}

/// With BEAMWORKS_UI_SCREENSHOT=PREFIX set, writes the picture to PREFIX-name.png for a person
/// to look at.
void saveForViewing(const std::vector<unsigned char>& shot, const std::string& name) {
    const char* prefix = std::getenv("BEAMWORKS_UI_SCREENSHOT");
    if (prefix == nullptr) {
        return;
    }
    RgbaImage image(1024, 768);
    image.pixels = shot;
    for (std::size_t i = 3; i < image.pixels.size(); i += 4) {
        image.pixels[i] = 255;
    }
    std::string error;
    EXPECT_TRUE(writePng(std::string(prefix) + "-" + name + ".png", image, &error)) << error;
}

Pixel at(const std::vector<unsigned char>& shot, int x, int y) {
    const unsigned char* p = &shot[(std::size_t(y) * 1024 + x) * 4];
    return {p[0], p[1], p[2]};
}

TEST_F(UserInterfaceTest, DrawsBarsCounterAndMessageOverTheScene) {
    // A stand-in for the scene: a blue-grey gradient.
    glClearColor(0.2f, 0.3f, 0.4f, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    // Settings as the game sets them at start-up.
    ui->setToggle("WIREFRAME MODE OFF", "wireframe", false);
    ui->setToggle("BILINEAR TEXTURING", "texture", true);
    ui->setToggle("MIP MAPPING: NEAREST NEIGHBOR", "mipmap", true);
    ui->setToggle("VIEW FRUSTUM CULLING ON", "frustum", true);
    ui->setToggle("BOUNDING SPHERES OFF", "boundingsphere", false);
    ui->setToggle("TRANSPARENCY ON", "transparency", true);
    ui->setToggle("MUSIC ON", "audio", true);
    ui->setToggle("LASER POWER ON", "power", true);
    ui->setToggle("EXIT BEAMWORKS", "exit", false);
    ui->setToggle("WINDOW MODE", "fullscreen", false);
    ui->setToggle("LIGHT ON", "light", true);
    ui->setToggle("MIRRORING DEPTH 2", "mirroring", true);
    ui->setEnergy(0.62f);
    ui->setFramesPerSecond(87);
    ui->showMessage("LEVEL SOLVED", 0);
    hover("mipmap");
    glClear(GL_COLOR_BUFFER_BIT);
    frame();
    const std::vector<unsigned char> shot = readWindow();

    saveForViewing(shot, "hover");

    const Pixel scene{51, 77, 102};
    const auto isScene = [&](int x, int y) {
        const Pixel p = at(shot, x, y);
        return std::abs(p.r - scene.r) <= 1 && std::abs(p.g - scene.g) <= 1 &&
               std::abs(p.b - scene.b) <= 1;
    };
    // The middle of the window shows the scene; both bars cover their edges.
    EXPECT_TRUE(isScene(200, 200));
    EXPECT_TRUE(isScene(200, 600));
    EXPECT_FALSE(isScene(5, 5));
    EXPECT_FALSE(isScene(5, 760));
    // The message's glyphs are bright amber somewhere on the middle line.
    const gcn::Label& big = ui->getBigLabel();
    int amber = 0;
    for (int x = big.getX(); x < big.getX() + big.getWidth(); ++x) {
        const Pixel p = at(shot, x, 384);
        amber += p.r > 220 && p.g > 120 && p.b < 120;
    }
    EXPECT_GT(amber, 30);
    // The hovered switch shows its highlight picture's amber rim, the others none.
    const auto rimIsAmber = [&](const std::string& id) {
        int x = 0, y = 0;
        toggle(id).getButton()->getAbsolutePosition(x, y);
        const Pixel p = at(shot, x + 24, y + 1);
        return p.r > 200 && p.b < 120;
    };
    EXPECT_TRUE(rimIsAmber("mipmap"));
    EXPECT_FALSE(rimIsAmber("frustum"));
    // The counter field shows the hover text in the light normal font.
    int x = 0, y = 0;
    ui->getMessageLabel().getAbsolutePosition(x, y);
    int light = 0;
    for (int px = x; px < x + 350; ++px) {
        for (int py = y; py < y + 16; ++py) {
            const Pixel p = at(shot, px, py);
            light += p.r > 180 && p.g > 200 && p.b > 220;
        }
    }
    EXPECT_GT(light, 100);
    // The energy bar is cyan up to 62 % of its window and dark after it.
    const int barX = absoluteX(ui->getEnergyBar()) + 5,
              barY = 768 - 100 + (GAUGE_TOP + GAUGE_BOTTOM) / 2;
    const Pixel filled = at(shot, barX + 110, barY), empty = at(shot, barX + 210, barY);
    EXPECT_GT(filled.b, 150);
    EXPECT_GT(filled.g, 150);
    EXPECT_LT(empty.b + empty.g, 120);
}

TEST_F(UserInterfaceTest, DrawsFlashedMessageLaserCountAndAnAlmostEmptyBar) {
    glClearColor(0.6f, 0.6f, 0.6f, 1); // a bright scene
    glClear(GL_COLOR_BUFFER_BIT);
    ui->setToggle("LASER POWER OFF", "power", false);
    ui->selectCounter("nol");
    ui->setLaserCount(17);
    ui->setEnergy(0.0f);
    ui->showMessage("GAME OVER", 0);
    frame();
    glClear(GL_COLOR_BUFFER_BIT);
    ui->flashMessage("LASER POWER OFF");
    frame();
    const std::vector<unsigned char> shot = readWindow();
    saveForViewing(shot, "flash");

    // The flashed text is amber in the counter field.
    int x = 0, y = 0;
    ui->getMessageLabel().getAbsolutePosition(x, y);
    int amber = 0;
    for (int px = x; px < x + 350; ++px) {
        for (int py = y; py < y + 16; ++py) {
            const Pixel p = at(shot, px, py);
            amber += p.r > 220 && p.g > 140 && p.b < 120;
        }
    }
    EXPECT_GT(amber, 100);
    // The empty bar keeps its bright front at the left end of the gauge, and is dark after it.
    const int barX = absoluteX(ui->getEnergyBar()) + 5,
              barY = 768 - 100 + (GAUGE_TOP + GAUGE_BOTTOM) / 2;
    const Pixel front = at(shot, barX + 1, barY), after = at(shot, barX + 40, barY);
    EXPECT_GT(front.r + front.g + front.b, 600);
    EXPECT_LT(after.g + after.b, 150);
    // The counter comes back after the flash, with the laser count.
    now += 2;
    frame();
    EXPECT_EQ(fieldText(), "LASER COUNT: 00017");
    glClearColor(0, 0, 0, 0);
}

} // namespace
