#pragma once
// The game's on-screen interface on Guichan: a bar along the bottom of the window with the laser
// power switch, the energy bar and the light, window-mode, music and exit switches; a bar along
// the top with the render switches and a field that shows the frame rate or the number of laser
// segments, or a short message instead; and one large message centred on the screen.
//
// The interface can be drawn larger for large screens: it is laid out for the window's size
// divided by its scale (InterfaceScale) and drawn stretched over the whole window. Everything it
// is told and asked about places on screen is in window pixels: the mouse events pushed to its
// input, isInterfaceAt, coveredTop and coveredBottom, the screen labels and visibleTexts. Only
// its widgets (and getWidth and getHeight) are in its own pixels.
//
// The interface holds no game state: the commands change the settings and then report the new
// state through setToggle and flashMessage. Its switches hand their command to the command
// handler, which runs it as a key of the command would, so a click does what the key does.
//
// Typical use, once per frame after the scene, with shader program 0 current and texture unit 0
// active:
//     ui->getInput().pushMouseInput(gcn::MouseInput(gcn::MouseInput::EMPTY,
//                                   gcn::MouseInput::MOVED, x, y, int(windowTime())));
//     ...
//     ui->setEnergy(float(energy / ENERGY_CAPACITY));
//     ui->setFramesPerSecond(int(framesPerSecond));
//     ui->setLaserCount(int(laserBeamCount));
//     ui->updateAndDraw();   // last use of ui in the frame: a button may have replaced it
//
// OpenGL state. The interface draws with fixed-function OpenGL on texture unit 0: it needs a
// current context, program 0 in use and texture unit 0 active, and it changes neither.
// - Construction uploads every picture and font as a new 2D texture object and puts back the
//   texture binding and the pixel-store (unpack) state it found.
// - updateAndDraw blends the interface into the colour buffer (alpha included) and restores all
//   it changes: the enables (depth test, lighting, face culling, blending, scissor test, 2D
//   texturing of unit 0, and the stencil and alpha tests, fog, colour material, logic op,
//   polygon stipple, 1D and 3D texturing, texture coordinate generation and clip planes 0 to 5,
//   which it switches off while it draws), the blend function, the polygon mode (it draws
//   filled), the colour mask, the texture environment mode and the 2D binding of unit 0, the
//   current colour and texture coordinate, the model-view, projection and texture matrices and
//   the matrix mode, the viewport (it draws over the whole window), the scissor box and the
//   unpack alignment. Depth and stencil buffers are neither read nor written.
// - Destruction deletes the texture objects. Destroy the interface while its context is current
//   or after that context is gone (the deletes then do nothing), never once a new context is
//   current: that would delete the new context's textures of the same names.

#include "ui/DevILImageLoader.h"
#include "ui/EnergyLevel.h"
#include "ui/GLFWInput.h"
#include "ui/IconRepeatable.h"
#include "ui/InterfaceScale.h"
#include "ui/ScaledGraphics.h"
#include "ui/ToggleButton.h"

#include <guichan/actionlistener.hpp>
#include <guichan/gui.hpp>
#include <guichan/imagefont.hpp>
#include <guichan/widgets/container.hpp>
#include <guichan/widgets/icon.hpp>
#include <guichan/widgets/label.hpp>

#include <cmath>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <string>
#include <vector>

enum class Command;

/// What a panel over the scene shows: a title, a text laid out to the panel (its own line ends
/// kept), rows of two columns (a key and what it does), and footer lines.
struct PanelContent {
    std::string title;
    std::string text;
    std::vector<std::pair<std::string, std::string>> rows;
    std::vector<std::string> footer;
    /// Rows from this one on are shown, as many as the window holds; when more follow, the
    /// footer is footerWhenMore instead.
    std::size_t firstRow = 0;
    std::vector<std::string> footerWhenMore;
    /// A menu: the first column in the normal font, a row without text (a heading) and the
    /// chosen row in the highlight font, the chosen one marked; the title in the large font.
    bool menu = false;
    int chosenRow = -1;
};

/// A text over the scene at a window position (its centre, the bottom of the text). A position
/// outside the scene between the bars puts it at the edge, with an arrow towards the position.
struct ScreenLabel {
    double x = 0, y = 0;
    std::string text;
    /// Where the object itself shows: while it is in the scene, a label whose own place is not
    /// goes there instead (no arrow points at what can be seen).
    double objectX = NAN, objectY = NAN;
};

class UserInterface : public gcn::ActionListener {
  public:
    /// Everything a player sees change in the interface, kept across a new interface (a display
    /// switch or a new window size): the counter shown, the messages with the time they have
    /// left, the goal count and the panel.
    struct State {
        bool fpsCounter = true;
        std::string bigMessage, bigSubMessage;
        double bigRemaining = 0; ///< seconds; 0: until replaced
        std::string shortMessage;
        double shortRemaining = 0; ///< seconds; 0: a hover text
        std::string goals, moves;
        bool goalsVisible = false, movesVisible = false;
        bool panelShown = false;
        PanelContent panel;
        bool barsVisible = true;
    };

    /// Seconds since some fixed start (the window layer's clock in the game).
    using Clock = std::function<double()>;
    /// Runs the command of a switch (Command, rules/CommandTable.h).
    using CommandCallback = void (*)(Command command);

    /// How long a command's flashed message stays, seconds.
    static constexpr double MESSAGE_DURATION = 1.5;
    /// Room the large message keeps from the window's sides, pixels.
    static constexpr int MESSAGE_MARGIN = 24;
    /// The most lines the large message and the text under it take together.
    static constexpr int BIG_MESSAGE_LINES = 8;
    /// Height of the two bars.
    static constexpr int BAR_HEIGHT = 100;
    /// Glyphs of the image fonts, in the order of their pictures.
    static const char* const SMALL_FONT_GLYPHS;
    static const char* const LARGE_FONT_GLYPHS;

    /// Builds the interface for the window size and the scale in gameSettings (screenWidth,
    /// screenHeight, uiScale). commandHandler runs the command of every switch clicked; the clock
    /// gives the time for the messages' expiry. Needs a current OpenGL context and the pictures
    /// under "images/"; throws gcn::Exception ("Unable to load image file:images/...") when one
    /// cannot be loaded.
    UserInterface(CommandCallback commandHandler, Clock clock);
    /// The same for a window of width x height pixels, drawn `scale` times as large as far as
    /// the window holds MINIMUM_WIDTH x MINIMUM_HEIGHT of the interface's own pixels.
    UserInterface(int width, int height, CommandCallback commandHandler, Clock clock,
                  float scale = 1.0f);
    ~UserInterface() override;
    UserInterface(const UserInterface&) = delete;
    UserInterface& operator=(const UserInterface&) = delete;

    /// Button events: a click queues its command (run at the end of updateAndDraw; a counter
    /// switch that is on already does nothing), a hover shows what the switch does and its key
    /// until the mouse leaves.
    void action(const gcn::ActionEvent& actionEvent) override;

    void setCommandHandler(CommandCallback handler) { commandHandler = handler; }

    /// Sets caption and state of the switch `id`: "wireframe", "texture", "mipmap", "frustum",
    /// "boundingsphere", "transparency", "power", "light", "audio", "fullscreen", "mirroring" or
    /// "exit". Any other id ("fps" and "nol" included) is ignored.
    void setToggle(const std::string& caption, const std::string& id, bool on);
    /// Shows text in the highlight font in place of the counter for MESSAGE_DURATION seconds.
    void flashMessage(const std::string& text);
    /// Shows text large in the middle of the window, for `seconds` or, with 0, until replaced,
    /// with subText (what to do next) in the small font under it. The empty text clears both.
    void showMessage(const std::string& text, double seconds, const std::string& subText = "");
    /// Makes the counter show the frame rate ("fps") or the laser segment count ("nol"); nothing
    /// when that counter is already shown or for another id.
    void selectCounter(const std::string& id);
    /// Ends a hover description; a flashed message that is still running stays.
    void clearHoverText();
    /// A lasting text for the counter field, such as where the selected element's light goes:
    /// shown in place of the counter while no message or hover text is; empty for none.
    void setReadout(const std::string& text) { readout = text; }

    /// Shows a panel over the middle of the scene, replacing the one before: the title in the
    /// highlight font, then the text laid out to the panel's width and cut with "..." where the
    /// window has no more room, the rows, and the footer.
    void showPanel(const PanelContent& content);
    void hidePanel();
    bool isPanelShown() const { return panelShown; }
    const PanelContent& getPanel() const { return panel; }
    /// How many of the panel's rows show, from its firstRow; whether rows follow them.
    std::size_t panelRowsShown() const { return panelRowsShown_; }
    bool panelHasMoreRows() const {
        return panelShown && panel.firstRow + panelRowsShown_ < panel.rows.size();
    }
    /// The lines the panel shows (title first), as laid out.
    std::vector<std::string> panelLines() const;
    const gcn::Container& getPanelContainer() const { return *panelBox; }
    /// The panel's row (an index into its rows) shown at this window point, or -1.
    int panelRowAt(int x, int y) const;

    /// Shows or hides both bars (a menu over the scene has none).
    void setBarsVisible(bool visible);
    bool areBarsVisible() const { return barsVisible; }

    /// Texts drawn over the scene this frame (outlined, readable on any background), none while
    /// a panel shows.
    void setScreenLabels(const std::vector<ScreenLabel>& labels);

    /// Whether the interface covers this window point: the bars' bands, a switch, the counter
    /// field or the energy bar, or a panel. Clicks there belong to the interface alone.
    bool isInterfaceAt(int x, int y) const;
    /// The smallest window that holds both bars: in a narrow one the top bar shows the counter
    /// field narrower and fewer switches (their keys still work).
    int minimumWidth() const;
    static constexpr int MINIMUM_WIDTH = 640;
    /// How many rows at the window's top and at its bottom the bars' backgrounds cover with
    /// fully opaque pixels across the whole width: whatever is drawn there before the interface
    /// never shows.
    int coveredTop() const { return barsVisible ? scale_.toWindowY(coveredTop_) : 0; }
    int coveredBottom() const {
        return barsVisible ? scale_.windowHeight - scale_.toWindowY(height - coveredBottom_) : 0;
    }
    static constexpr int MINIMUM_HEIGHT = 2 * BAR_HEIGHT + 40;

    State captureState() const;
    void restoreState(const State& state);

    /// The energy bar's level, 0 (empty) to 1 (full), clamped.
    void setEnergy(float level) { energyBar->setLevel(level); }
    void setFramesPerSecond(int value) { fpsValue = value; }
    /// "GOALS 1/2" in the top bar: open goals of all, shown while `visible` (the power is on).
    void setGoals(int open, int total, bool visible);
    const gcn::Label& getGoalsLabel() const { return *goalsLabel; }
    /// "MOVES 3" in the top bar beside the goal count, shown while `visible` (a level is played).
    void setMoves(int moves, bool visible);
    const gcn::Label& getMovesLabel() const { return *movesLabel; }
    void setLaserCount(int value) { laserCount = value; }

    /// The frame's interface step: message expiry and counter text, the GUI logic (which runs
    /// the button events), drawing, and last the command handler for every switch clicked in this
    /// step. The handler may destroy this interface; updateAndDraw does not touch it afterwards.
    void updateAndDraw();

    /// Where the frame loop and the mouse callback push their mouse events.
    gcn::GLFWInput& getInput() { return *input; }

    // Read access, for the HUD's users and the tests.
    /// The interface's own size: the window's divided by the scale.
    int getWidth() const { return width; }
    int getHeight() const { return height; }
    /// The scale it was built for, and how it lies on the window (with the scale that fits).
    float getAskedScale() const { return askedScale; }
    const InterfaceScale& getScale() const { return scale_; }
    /// The switch with this id (the twelve of setToggle plus "fps" and "nol"), or nullptr.
    gcn::ToggleButton* findToggle(const std::string& id) const;
    gcn::EnergyLevel& getEnergyBar() const { return *energyBar; }
    const std::string& getShortMessage() const { return shortMessage; }
    double getShortMessageExpiry() const { return shortMessageExpiry; }
    const std::string& getBigMessage() const { return bigMessage; }
    const std::string& getBigSubMessage() const { return bigSubMessage; }
    double getBigMessageExpiry() const { return bigMessageExpiry; }
    const gcn::Label& getCounterLabel() const { return *counterLabel; }
    const gcn::Label& getMessageLabel() const { return *messageLabel; }
    /// The lines of the large message and of the text under it, as laid out to the window.
    std::vector<std::string> bigMessageLines() const;
    /// Every label of the interface that shows now, with its place in the window: what a test
    /// looks at to find text outside the window.
    std::vector<std::pair<std::string, gcn::Rectangle>> visibleTexts() const;
    const gcn::Container& getCounterField() const { return *counterField; }
    const gcn::Container& getTopRow() const { return *topRow; }
    const gcn::Container& getBottomRow() const { return *bottomRow; }
    gcn::ImageFont& getNormalFont() const { return *normalFont; }
    gcn::ImageFont& getHighlightFont() const { return *highlightFont; }
    gcn::ImageFont& getLargeFont() const { return *largeFont; }

  private:
    /// Installs the interface's image loader as Guichan's and removes it again.
    struct LoaderSlot {
        std::unique_ptr<gcn::DevILImageLoader> loader;
        LoaderSlot();
        ~LoaderSlot();
        LoaderSlot(const LoaderSlot&) = delete;
        LoaderSlot& operator=(const LoaderSlot&) = delete;
    };

    void build();
    /// Loads the bar's tile picture and fills the bar with it, behind everything added later.
    void addTiledBackground(gcn::Container& bar, const char* fileName,
                            std::unique_ptr<gcn::Image>& picture,
                            std::unique_ptr<gcn::IconRepeatable>& background);
    void buildBottomBar();
    void buildTopBar();
    /// Creates the switch `id` at (x, 0) in row, off, reporting to this interface.
    gcn::ToggleButton& placeSwitch(const std::string& id, int x, gcn::Container& row);
    /// Places the switches side by side from x, each overlapping the one before by 10 pixels;
    /// returns the right edge of the last.
    int placeSwitches(gcn::Container& row, int x, std::initializer_list<const char*> ids);
    /// The counter label's caption placeholder, size and place for "fps" or "nol".
    void layoutCounterLabel(const std::string& id);
    void showHoverText(const std::string& text);
    void refreshTexts();
    void layoutShortMessage(const std::string& text);
    void layoutBigMessage();
    void draw();
    void layoutPanel();

    InterfaceScale scale_;
    float askedScale = 1;
    int height = 0, width = 0;               ///< the interface's own size
    int coveredTop_ = 0, coveredBottom_ = 0; ///< in the interface's rows
    CommandCallback commandHandler = nullptr;
    Clock clock;

    // Declared so that they are destroyed in a safe order: widgets first (children before their
    // containers), then pictures and fonts, then the GUI and its adapters.
    LoaderSlot loaderSlot;
    std::unique_ptr<gcn::GLFWInput> input;
    std::unique_ptr<ScaledGraphics> graphics;
    std::unique_ptr<gcn::Gui> gui;
    std::unique_ptr<gcn::ImageFont> largeFont, normalFont, highlightFont;
    std::unique_ptr<gcn::Image> smallButtonOn, smallButtonOff;
    std::unique_ptr<gcn::Image> menuLineImage, debugLineImage, debugFieldImage;

    std::unique_ptr<gcn::Container> top;
    std::unique_ptr<gcn::Container> bottomBar, topBar;
    std::unique_ptr<gcn::IconRepeatable> bottomBackground, topBackground;
    std::unique_ptr<gcn::Container> bottomRow, topRow;
    std::unique_ptr<gcn::Container> counterField;
    std::unique_ptr<gcn::IconNarrowed> counterFieldIcon;
    std::unique_ptr<gcn::Label> counterLabel, messageLabel, messageLine2, goalsLabel, movesLabel;
    std::unique_ptr<gcn::EnergyLevel> energyBar;
    std::map<std::string, std::unique_ptr<gcn::ToggleButton>> switches;
    gcn::ToggleButton* fpsButton = nullptr;
    gcn::ToggleButton* nolButton = nullptr;
    std::vector<std::unique_ptr<gcn::Label>> bigLines;
    std::unique_ptr<gcn::ImageFont> labelFont;
    std::unique_ptr<gcn::Container> labelLayer;
    std::vector<std::unique_ptr<gcn::Label>> screenLabels;
    std::unique_ptr<gcn::Container> panelBox;
    std::vector<std::unique_ptr<gcn::Label>> panelLabels;
    std::size_t panelLinesUsed = 0; ///< the first labels of panelLabels that the panel shows
    std::size_t panelRowsShown_ = 0;
    /// The window rows each shown panel row takes: its index, top and bottom (panel-relative).
    struct RowBand {
        std::size_t row;
        int top, bottom;
    };
    std::vector<RowBand> rowBands;
    bool barsVisible = true;
    PanelContent panel;
    bool panelShown = false;

    std::string shortMessage;
    double shortMessageExpiry = 0;
    std::string readout;
    std::string shownMessage; ///< what the field's message labels were last laid out for
    std::string bigMessage, bigSubMessage;
    double bigMessageExpiry = 0;
    int fpsValue = 0;
    int laserCount = 0;
    /// Commands of the switches clicked during the current logic step, run after drawing.
    std::vector<Command> pendingCommands;
};

/// Every picture and image font file the interface loads, relative to the game folder.
const std::vector<std::string>& interfacePictureFiles();

/// Reads every file of interfacePictureFiles() (relative to the working directory), without an
/// OpenGL context and without console output. Returns the empty string when all can be read,
/// otherwise the image loader's message for the first that cannot, such as
/// "Unable to load image file:images/poweron.png".
std::string checkInterfacePictures();
