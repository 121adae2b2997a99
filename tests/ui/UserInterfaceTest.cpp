// The whole interface in a 1024 x 768 OpenGL window on a virtual display, with the generated
// pictures: layout, switches, counters, messages and their expiry (on a clock the test drives),
// clicks and hovering through the input adapter, and the OpenGL state it leaves.

#include "ui/UserInterface.h"
#include "UiSupport.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

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

std::vector<std::pair<int, int>> keysSent;
void recordKey(int key, int action) {
    keysSent.push_back({key, action});
}

std::unique_ptr<UserInterface> quietInterface(void (*keys)(int, int)) {
    testing::internal::CaptureStdout();
    auto ui = std::make_unique<UserInterface>(1024, 768, keys, testClock);
    testing::internal::GetCapturedStdout();
    return ui;
}

int absoluteX(const gcn::Widget& w) {
    int x = 0, y = 0;
    w.getAbsolutePosition(x, y);
    return x;
}

class UserInterfaceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(uitest::GlEnvironment::ready());
        now = 100;
        keysSent.clear();
        ui = quietInterface(recordKey);
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

TEST_F(UserInterfaceTest, BarsLayTheSwitchesOutCentredWithTheTopRowAboveTheWindow) {
    // The bottom row: power, energy bar, light, display mode, music, exit; neighbours overlap
    // by the plates' 10-pixel rims.
    const gcn::Container& bottom = ui->getBottomRow();
    EXPECT_EQ(uitest::dims(bottom.getParent()->getDimension()), "0 668 1024 100");
    const auto w = [&](const char* id) { return toggle(id).getWidth(); };
    const int x1 = w("power") - 10, x2 = x1 + 260 + 5, x3 = x2 + w("light") - 10;
    const int x4 = x3 + w("fullscreen") - 10, x5 = x4 + w("audio") + 5;
    EXPECT_EQ(toggle("power").getX(), 0);
    EXPECT_EQ(ui->getEnergyBar().getX(), x1);
    EXPECT_EQ(toggle("light").getX(), x2);
    EXPECT_EQ(toggle("fullscreen").getX(), x3);
    EXPECT_EQ(toggle("audio").getX(), x4);
    EXPECT_EQ(toggle("exit").getX(), x5);
    EXPECT_EQ(x1, 114); // with the shipped pictures
    EXPECT_EQ(bottom.getWidth(), 628);
    EXPECT_EQ(bottom.getX(), 512 - bottom.getWidth() / 2);

    // The top row hangs 31 pixels above the window: the plates' clear rows.
    const gcn::Container& top = ui->getTopRow();
    EXPECT_EQ(top.getY(), -31);
    const int step = toggle("wireframe").getWidth() - 10;
    EXPECT_EQ(toggle("texture").getX(), step);
    EXPECT_EQ(toggle("boundingsphere").getX(), step); // hidden in the texture switch's place
    EXPECT_FALSE(toggle("boundingsphere").isVisible());
    EXPECT_EQ(toggle("mirroring").getX(), 5 * step);
    const int x6 = 5 * step + toggle("mirroring").getWidth() + 5;
    EXPECT_EQ(uitest::dims(ui->getCounterField().getDimension()),
              uitest::dims(gcn::Rectangle(x6, 0, 350, 100)));
    EXPECT_EQ(toggle("fps").getX(), x6 + 350 + 5);
    EXPECT_EQ(toggle("nol").getX(), toggle("fps").getX() + toggle("fps").getWidth() - 10);
    EXPECT_EQ(top.getX(), 512 - top.getWidth() / 2);
    int x = 0, y = 0;
    toggle("wireframe").getButton()->getAbsolutePosition(x, y);
    EXPECT_EQ(y, 43 - 31);
    EXPECT_GE(x, 0);
    EXPECT_LE(absoluteX(toggle("nol")) + toggle("nol").getWidth(), 1024);
}

// --- switches and counters ---------------------------------------------------------------------

TEST_F(UserInterfaceTest, SetToggleSetsTheCommandSwitchesOnly) {
    EXPECT_TRUE(toggle("fps").getState()); // the frame rate counter shows at the start
    for (const char* id :
         {"wireframe", "texture", "mipmap", "frustum", "boundingsphere", "transparency", "power",
          "light", "audio", "fullscreen", "mirroring", "exit"}) {
        EXPECT_FALSE(toggle(id).getState()) << id;
        ui->setToggle(std::string(id) + " ON", id, true);
        EXPECT_TRUE(toggle(id).getState()) << id;
        EXPECT_EQ(toggle(id).getCaption(), std::string(id) + " ON");
        ui->setToggle("OFF", id, false);
        EXPECT_FALSE(toggle(id).getState()) << id;
    }
    // The counter switches and unknown ids are left alone.
    ui->setToggle("X", "fps", false);
    ui->setToggle("Y", "nol", true);
    ui->setToggle("Z", "bogus", true);
    EXPECT_TRUE(toggle("fps").getState());
    EXPECT_FALSE(toggle("nol").getState());
    EXPECT_EQ(toggle("nol").getCaption(), "");
    EXPECT_EQ(ui->findToggle("bogus"), nullptr);
}

TEST_F(UserInterfaceTest, CountersArePaddedWithZerosAndSelectCounterSwitchesOnlyBetweenThem) {
    EXPECT_EQ(fieldText(), "FPS: 000");
    ui->setFramesPerSecond(7);
    ui->setLaserCount(1234);
    EXPECT_EQ(fieldText(), "FPS: 007");
    ui->setFramesPerSecond(1234); // longer than the placeholder
    EXPECT_EQ(fieldText(), "FPS: 1234");

    ui->selectCounter("nol");
    EXPECT_TRUE(toggle("nol").getState());
    EXPECT_FALSE(toggle("fps").getState());
    EXPECT_EQ(fieldText(), "LASER COUNT: 01234");
    const gcn::Label& counter = ui->getCounterLabel();
    EXPECT_EQ(counter.getX(), 350 / 2 - counter.getWidth() / 2);
    // Already shown: nothing changes, not even a caption written meanwhile.
    ui->setLaserCount(5);
    ui->selectCounter("nol");
    EXPECT_EQ(counter.getCaption(), "LASER COUNT: 01234");
    ui->selectCounter("bogus");
    EXPECT_TRUE(toggle("nol").getState());
    EXPECT_EQ(fieldText(), "LASER COUNT: 00005");
    ui->selectCounter("fps");
    EXPECT_TRUE(toggle("fps").getState());
    EXPECT_FALSE(toggle("nol").getState());

    ui->setEnergy(0.5f);
    EXPECT_EQ(ui->getEnergyBar().getLevelIcon()->getX(), -123);
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
    hover("wireframe"); // replaces a running flash
    now = 1000;         // and does not expire
    EXPECT_EQ(fieldText(), "WIREFRAME MODE OFF");
    EXPECT_EQ(ui->getMessageLabel().getFont(), &ui->getNormalFont());
    hover("frustum");
    EXPECT_EQ(fieldText(), "VIEW FRUSTUM CULLING ON");
    hover("texture"); // the hidden bounding-sphere switch shares its place
    EXPECT_EQ(fieldText(), "BILINEAR TEXTURING");
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
        EXPECT_EQ(keysSent, (std::vector<std::pair<int, int>>{{key, GLFW_PRESS}})) << id;
        // The switch follows the command (setToggle), not the click.
        EXPECT_FALSE(toggle(id).getState()) << id;
    }
    // A press released elsewhere sends nothing; without a key handler a click is harmless.
    keysSent.clear();
    const auto [x, y] = centreOf("power");
    push(gcn::MouseInput::MOVED, x, y);
    push(gcn::MouseInput::PRESSED, x, y);
    push(gcn::MouseInput::MOVED, 512, 400);
    push(gcn::MouseInput::RELEASED, 512, 400);
    frame();
    ui->setKeyHandler(nullptr);
    click("exit");
    EXPECT_TRUE(keysSent.empty());
    // The counter switches choose the counter and send no key.
    click("nol");
    EXPECT_TRUE(toggle("nol").getState());
    EXPECT_TRUE(keysSent.empty());
}

// A key handler that replaces the interface, as the display-mode switch does.
std::unique_ptr<UserInterface>* replaceable = nullptr;
void replaceInterface(int key, int action) {
    keysSent.push_back({key, action});
    replaceable->reset();
    *replaceable = quietInterface(replaceInterface);
}

TEST_F(UserInterfaceTest, CommandMayReplaceTheInterfaceFromInsideItsClick) {
    replaceable = &ui;
    ui->setKeyHandler(replaceInterface);
    ui->selectCounter("nol");
    // Two clicks in one step: both keys arrive, the first one destroys the interface.
    pushClick("fullscreen");
    pushClick("exit");
    ui->updateAndDraw();
    ASSERT_EQ(keysSent.size(), 2u);
    EXPECT_EQ(keysSent[0].first, GLFW_KEY_F19);
    EXPECT_EQ(keysSent[1].first, GLFW_KEY_ESC);
    // The new interface starts afresh, with the frame rate counter.
    EXPECT_TRUE(toggle("fps").getState());
    EXPECT_EQ(fieldText(), "FPS: 000");
    replaceable = nullptr;
}

// --- life cycle --------------------------------------------------------------------------------

TEST_F(UserInterfaceTest, CanBeDestroyedAndRebuiltRepeatedly) {
    for (int i = 0; i < 3; ++i) {
        ui->setToggle("LIGHT ON", "light", true);
        ui->showMessage("LEVEL SOLVED", 0);
        hover("light");
        ui.reset();
        EXPECT_EQ(gcn::Image::getImageLoader(), nullptr);
        ui = quietInterface(recordKey);
    }
    frame();
}

TEST(UserInterfaceFailure, MissingPictureThrowsTheLoaderMessageAndLeavesNoLoader) {
    ASSERT_TRUE(uitest::GlEnvironment::ready());
    for (const bool somePictures : {false, true}) {
        const uitest::ScratchDir dir("pictures");
        if (somePictures) {
            uitest::writeAllPictures(dir);
            std::filesystem::remove(dir.file("images/exithighlight.png"));
        }
        const uitest::WorkingDirectory inside(dir.path);
        const std::string missing = somePictures ? "images/exithighlight.png" : "images/ea030.png";
        testing::internal::CaptureStdout();
        try {
            const UserInterface ui(1024, 768, recordKey, testClock);
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
    auto second = quietInterface(recordKey); // building uploads textures
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
