// Our widgets with stand-in pictures (no OpenGL): the toggle button and its image button, the
// energy bar and the tiled icon.

#include "UiSupport.h"
#include "ui/EnergyLevel.h"
#include "ui/GLFWInput.h"
#include "ui/IconRepeatable.h"
#include "ui/ToggleButton.h"

#include <gtest/gtest.h>
#include <guichan/actionevent.hpp>
#include <guichan/actionlistener.hpp>
#include <guichan/gui.hpp>

#include <cmath>
#include <limits>
#include <memory>

namespace {

using uitest::FakeImage;
using uitest::FakeLoader;
using uitest::RecordingGraphics;

const std::string& nameOf(const gcn::Image* image) {
    return dynamic_cast<const FakeImage&>(*image).name;
}

/// A loader that knows the pictures of the "power" and "light" switches and the energy bar.
struct WidgetPictures : FakeLoader {
    WidgetPictures() {
        sizes["images/poweron.png"] = {124, 100};
        sizes["images/poweroff.png"] = {120, 100};
        sizes["images/powernormal.png"] = {106, 48};
        sizes["images/powerhighlight.png"] = {106, 48};
        sizes["images/lightnormal.png"] = {48, 48};
        sizes["images/lighthighlight.png"] = {48, 48};
        sizes["images/energyback.png"] = {260, 100};
        sizes["images/energylevel.png"] = {250, 100};
        sizes["images/energyborder.png"] = {260, 100};
    }
};

// --- ToggleButton -------------------------------------------------------------------------

TEST(ToggleButton, OwnPicturesAreLoadedByNameAndItStartsOff) {
    WidgetPictures loader;
    gcn::ToggleButton power("power");
    const std::vector<std::string> expected = {"images/poweron.png", "images/poweroff.png",
                                               "images/powernormal.png",
                                               "images/powerhighlight.png"};
    EXPECT_EQ(loader.loaded, expected);
    EXPECT_FALSE(power.getState());
    EXPECT_EQ(nameOf(power.getIcon()->getImage()), "images/poweroff.png");
    EXPECT_EQ(power.getIcon()->getX(), 0);
    EXPECT_EQ(power.getIcon()->getY(), 0);
    // The switch takes the size of its off picture and draws no background.
    EXPECT_EQ(power.getWidth(), 120);
    EXPECT_EQ(power.getHeight(), 100);
    EXPECT_FALSE(power.isOpaque());
    EXPECT_TRUE(power.getCaption().empty());

    const gcn::ToggleButton::ImageButton2& button = *power.getButton();
    EXPECT_EQ(button.getX(), 9);
    EXPECT_EQ(button.getY(), 43);
    EXPECT_EQ(button.getWidth(), 106);
    EXPECT_EQ(button.getHeight(), 48);
    EXPECT_EQ(button.getFrameSize(), 0u);
    EXPECT_EQ(button.getParent(), &power);
}

TEST(ToggleButton, SetStateSwapsPictureAndIconSizeButNotTheSwitchSize) {
    WidgetPictures loader;
    gcn::ToggleButton power("power");
    power.setState(true);
    EXPECT_TRUE(power.getState());
    EXPECT_EQ(nameOf(power.getIcon()->getImage()), "images/poweron.png");
    EXPECT_EQ(power.getIcon()->getWidth(), 124);
    EXPECT_EQ(power.getWidth(), 120);
    power.setState(true); // again: no change
    EXPECT_EQ(nameOf(power.getIcon()->getImage()), "images/poweron.png");
    power.setState(false);
    EXPECT_FALSE(power.getState());
    EXPECT_EQ(nameOf(power.getIcon()->getImage()), "images/poweroff.png");
    EXPECT_EQ(power.getIcon()->getWidth(), 120);
}

TEST(ToggleButton, SharedPicturesAreNotLoadedAndOutliveTheSwitches) {
    WidgetPictures loader;
    const FakeImage on("on", 66, 100), off("off", 66, 100);
    {
        gcn::ToggleButton a("light", &on, &off);
        gcn::ToggleButton b("light", &on, &off);
        a.setState(true);
        EXPECT_EQ(a.getIcon()->getImage(), &on);
        EXPECT_EQ(b.getIcon()->getImage(), &off);
        EXPECT_EQ(a.getOnImage(), &on);
        EXPECT_EQ(b.getOffImage(), &off);
    }
    // Only the buttons' pictures were loaded; the shared pair is still ours (no double free).
    const std::vector<std::string> expected = {
        "images/lightnormal.png", "images/lighthighlight.png", "images/lightnormal.png",
        "images/lighthighlight.png"};
    EXPECT_EQ(loader.loaded, expected);
    EXPECT_EQ(on.getWidth(), 66);
}

TEST(ToggleButton, CaptionIsStoredOnly) {
    WidgetPictures loader;
    gcn::ToggleButton power("power");
    power.setCaption("LASER POWER ON");
    EXPECT_EQ(power.getCaption(), "LASER POWER ON");
    EXPECT_FALSE(power.getState());
}

TEST(ToggleButton, MissingPictureRaisesTheLoaderException) {
    WidgetPictures loader;
    loader.sizes.erase("images/powerhighlight.png");
    try {
        gcn::ToggleButton power("power");
        FAIL() << "no exception";
    } catch (const gcn::Exception& e) {
        EXPECT_EQ(e.getMessage(), "Unable to load image file:images/powerhighlight.png");
    }
    const FakeImage on("on", 66, 100), off("off", 66, 100);
    EXPECT_THROW(gcn::ToggleButton("audio", &on, &off), gcn::Exception);
}

TEST(ToggleButton, LoadingWithoutAnImageLoaderRaisesGuichansException) {
    gcn::ImageLoader* previous = gcn::Image::getImageLoader();
    gcn::Image::setImageLoader(nullptr);
    EXPECT_THROW(gcn::ToggleButton("power"), gcn::Exception);
    gcn::Image::setImageLoader(previous);
}

// --- ImageButton2 through Guichan's event handling -------------------------------------------

struct Event {
    std::string id;
    bool pressed;
    bool hasMouse;
};

/// A GUI of one toggle button at (100, 50) whose button events are recorded.
class ButtonEvents : public ::testing::Test, public gcn::ActionListener {
  protected:
    void SetUp() override {
        top.setDimension(gcn::Rectangle(0, 0, 400, 300));
        power = std::make_unique<gcn::ToggleButton>("power");
        top.add(power.get(), 100, 50);
        power->getButton()->setActionEventId("power");
        power->getButton()->addActionListener(this);
        gui.setTop(&top);
        gui.setInput(&input);
    }
    void TearDown() override {
        gui.setTop(nullptr);
        power.reset();
    }
    void action(const gcn::ActionEvent& e) override {
        const auto& b = *power->getButton();
        events.push_back({e.getId(), b.isPressed(), b.hasMouse()});
    }
    void push(unsigned int type, int x, int y, unsigned int button = gcn::MouseInput::LEFT) {
        input.pushMouseInput(
            gcn::MouseInput(type == gcn::MouseInput::MOVED ? 0 : button, type, x, y, 0));
    }
    void step() { gui.logic(); }

    // A point on the button and one beside the switch.
    static constexpr int ON_X = 100 + 9 + 20, ON_Y = 50 + 43 + 20;
    static constexpr int OFF_X = 20, OFF_Y = 20;

    WidgetPictures loader;
    gcn::GLFWInput input;
    gcn::Container top;
    gcn::Gui gui;
    std::unique_ptr<gcn::ToggleButton> power;
    std::vector<Event> events;
};

TEST_F(ButtonEvents, EnteringAndLeavingReportTwoEventsWithTheHoverState) {
    push(gcn::MouseInput::MOVED, OFF_X, OFF_Y);
    step();
    EXPECT_TRUE(events.empty());
    push(gcn::MouseInput::MOVED, ON_X, ON_Y);
    step();
    push(gcn::MouseInput::MOVED, ON_X + 3, ON_Y); // moving within the button reports nothing
    step();
    push(gcn::MouseInput::MOVED, OFF_X, OFF_Y);
    step();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].id, "power");
    EXPECT_TRUE(events[0].hasMouse);
    EXPECT_FALSE(events[0].pressed);
    EXPECT_FALSE(events[1].hasMouse);
    EXPECT_FALSE(events[1].pressed);
}

TEST_F(ButtonEvents, ClickReportsOneEventWhileStillPressed) {
    push(gcn::MouseInput::MOVED, ON_X, ON_Y);
    push(gcn::MouseInput::PRESSED, ON_X, ON_Y);
    step();
    ASSERT_EQ(events.size(), 1u); // the entry; pressing alone reports nothing
    push(gcn::MouseInput::RELEASED, ON_X, ON_Y);
    step();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_TRUE(events[1].pressed);
    EXPECT_TRUE(events[1].hasMouse);
    // The press ends after the event; the switch does not flip itself.
    EXPECT_FALSE(power->getButton()->isPressed());
    EXPECT_FALSE(power->getState());
}

TEST_F(ButtonEvents, ReleasingAfterDraggingOffIsNoClick) {
    push(gcn::MouseInput::MOVED, ON_X, ON_Y);
    push(gcn::MouseInput::PRESSED, ON_X, ON_Y);
    push(gcn::MouseInput::MOVED, OFF_X, OFF_Y);
    push(gcn::MouseInput::RELEASED, OFF_X, OFF_Y);
    step();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_FALSE(events[1].hasMouse);
    EXPECT_FALSE(events[1].pressed);
    // A later release over the button is not a click either.
    push(gcn::MouseInput::MOVED, ON_X, ON_Y);
    push(gcn::MouseInput::RELEASED, ON_X, ON_Y);
    step();
    ASSERT_EQ(events.size(), 3u);
    EXPECT_FALSE(events[2].pressed);
}

TEST_F(ButtonEvents, PressingOutsideAndReleasingOnTheButtonIsNoClick) {
    push(gcn::MouseInput::MOVED, OFF_X, OFF_Y);
    push(gcn::MouseInput::PRESSED, OFF_X, OFF_Y);
    push(gcn::MouseInput::MOVED, ON_X, ON_Y);
    push(gcn::MouseInput::RELEASED, ON_X, ON_Y);
    step();
    for (const Event& e : events) {
        EXPECT_FALSE(e.pressed);
    }
}

TEST_F(ButtonEvents, RightButtonClickReportsNothing) {
    push(gcn::MouseInput::MOVED, ON_X, ON_Y);
    step();
    events.clear();
    push(gcn::MouseInput::PRESSED, ON_X, ON_Y, gcn::MouseInput::RIGHT);
    push(gcn::MouseInput::RELEASED, ON_X, ON_Y, gcn::MouseInput::RIGHT);
    step();
    EXPECT_TRUE(events.empty());
}

TEST_F(ButtonEvents, DrawsTheHighlightPictureOnlyWhileHovered) {
    RecordingGraphics graphics;
    power->getButton()->draw(&graphics);
    push(gcn::MouseInput::MOVED, ON_X, ON_Y);
    step();
    power->getButton()->draw(&graphics);
    push(gcn::MouseInput::MOVED, OFF_X, OFF_Y);
    step();
    power->getButton()->draw(&graphics);
    ASSERT_EQ(graphics.draws.size(), 3u);
    EXPECT_EQ(nameOf(graphics.draws[0].image), "images/powernormal.png");
    EXPECT_EQ(nameOf(graphics.draws[1].image), "images/powerhighlight.png");
    EXPECT_EQ(nameOf(graphics.draws[2].image), "images/powernormal.png");
    for (const auto& d : graphics.draws) {
        EXPECT_EQ(d.x, 0);
        EXPECT_EQ(d.y, 0);
    }
}

// --- EnergyLevel --------------------------------------------------------------------------

TEST(EnergyLevel, BuildsBackClippedLevelAndBorder) {
    WidgetPictures loader;
    gcn::EnergyLevel bar;
    const std::vector<std::string> expected = {"images/energyback.png", "images/energylevel.png",
                                               "images/energyborder.png"};
    EXPECT_EQ(loader.loaded, expected);
    EXPECT_EQ(bar.getWidth(), 260);
    EXPECT_EQ(bar.getHeight(), 100);
    EXPECT_FALSE(bar.isOpaque());
    EXPECT_FLOAT_EQ(bar.getLevel(), 1.0f);

    const gcn::Icon& level = *bar.getLevelIcon();
    EXPECT_EQ(nameOf(level.getImage()), "images/energylevel.png");
    EXPECT_EQ(uitest::dims(level.getDimension()), uitest::dims(gcn::Rectangle(0, 0, 250, 100)));
    // The level sits in a window 10 pixels narrower than the bar, 5 pixels in.
    const gcn::Widget* window = level.getParent();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(uitest::dims(window->getDimension()), uitest::dims(gcn::Rectangle(5, 0, 250, 100)));
    EXPECT_EQ(window->getParent(), &bar);
}

TEST(EnergyLevel, DrawsBackThenLevelThenBorder) {
    WidgetPictures loader;
    gcn::EnergyLevel bar;
    bar.setLevel(0.5f);
    RecordingGraphics graphics;
    graphics.pushClipArea(gcn::Rectangle(0, 0, 260, 100));
    bar.draw(&graphics);
    ASSERT_EQ(graphics.draws.size(), 3u);
    EXPECT_EQ(nameOf(graphics.draws[0].image), "images/energyback.png");
    EXPECT_EQ(nameOf(graphics.draws[1].image), "images/energylevel.png");
    EXPECT_EQ(nameOf(graphics.draws[2].image), "images/energyborder.png");
    // The level picture sits at 5 - 123 in the bar, and only the window's part of it shows.
    EXPECT_EQ(graphics.draws[1].offsetX, 5 - 123);
    EXPECT_EQ(graphics.draws[1].clip.x, 5);
    EXPECT_LE(graphics.draws[1].clip.x + graphics.draws[1].clip.width, 5 + 250);
    EXPECT_EQ(graphics.draws[2].offsetX, 0);
    EXPECT_EQ(graphics.draws[2].clip.width, 260);
}

TEST(EnergyLevel, SetLevelClampsAndPlacesTheBar) {
    WidgetPictures loader;
    gcn::EnergyLevel bar;
    const gcn::Icon& level = *bar.getLevelIcon();
    struct Case {
        float value, stored;
        int x;
    };
    const Case cases[] = {
        {0.5f, 0.5f, -123},  {0.0f, 0.0f, -247},   {1.0f, 1.0f, 0},     {1.5f, 1.0f, 0},
        {-0.2f, 0.0f, -247}, {0.25f, 0.25f, -185}, {0.999f, 0.999f, 0}, {0.001f, 0.001f, -246},
    };
    for (const Case& c : cases) {
        bar.setLevel(c.value);
        EXPECT_FLOAT_EQ(bar.getLevel(), c.stored) << c.value;
        EXPECT_EQ(level.getX(), c.x) << c.value;
        EXPECT_EQ(level.getY(), 0);
        EXPECT_EQ(level.getWidth(), 250);
        EXPECT_EQ(level.getHeight(), 100);
    }
    bar.setLevel(std::numeric_limits<float>::quiet_NaN());
    EXPECT_FLOAT_EQ(bar.getLevel(), 0.0f);
    EXPECT_EQ(level.getX(), -247);
    bar.setLevel(std::numeric_limits<float>::infinity());
    EXPECT_FLOAT_EQ(bar.getLevel(), 1.0f);
}

TEST(EnergyLevel, MissingPictureRaisesTheLoaderException) {
    WidgetPictures loader;
    loader.sizes.erase("images/energyborder.png");
    try {
        gcn::EnergyLevel bar;
        FAIL() << "no exception";
    } catch (const gcn::Exception& e) {
        EXPECT_EQ(e.getMessage(), "Unable to load image file:images/energyborder.png");
    }
}

// --- IconRepeatable -----------------------------------------------------------------------

std::vector<std::pair<int, int>> tiles(int tileW, int tileH, int areaW, int areaH) {
    const FakeImage tile("tile", tileW, tileH);
    gcn::IconRepeatable icon(&tile);
    icon.setDimension(gcn::Rectangle(0, 0, areaW, areaH));
    RecordingGraphics graphics;
    icon.draw(&graphics);
    std::vector<std::pair<int, int>> at;
    for (const auto& d : graphics.draws) {
        EXPECT_EQ(d.image, &tile);
        at.push_back({d.x, d.y});
    }
    return at;
}

TEST(IconRepeatable, TilesColumnsLeftToRightEachTopToBottom) {
    const std::vector<std::pair<int, int>> expected = {{0, 0},    {0, 32},  {256, 0},
                                                       {256, 32}, {512, 0}, {512, 32}};
    EXPECT_EQ(tiles(256, 32, 600, 40), expected);
}

TEST(IconRepeatable, ExactFitDrawsNoExtraTile) {
    const std::vector<std::pair<int, int>> expected = {{0, 0}, {64, 0}};
    EXPECT_EQ(tiles(64, 100, 128, 100), expected);
}

TEST(IconRepeatable, AreaSmallerThanTheTileDrawsOneCutTile) {
    const std::vector<std::pair<int, int>> expected = {{0, 0}};
    EXPECT_EQ(tiles(64, 100, 10, 5), expected);
}

TEST(IconRepeatable, DrawsNothingWithoutPictureAreaOrPictureSize) {
    EXPECT_TRUE(tiles(64, 100, 0, 100).empty());
    EXPECT_TRUE(tiles(0, 0, 100, 100).empty());
    gcn::IconRepeatable empty(nullptr);
    empty.setDimension(gcn::Rectangle(0, 0, 100, 100));
    RecordingGraphics graphics;
    empty.draw(&graphics);
    EXPECT_TRUE(graphics.draws.empty());
}

TEST(IconRepeatable, TakesThePictureSizeUntilSized) {
    const FakeImage tile("tile", 64, 100);
    const gcn::IconRepeatable icon(&tile);
    EXPECT_EQ(icon.getWidth(), 64);
    EXPECT_EQ(icon.getHeight(), 100);
}

} // namespace
