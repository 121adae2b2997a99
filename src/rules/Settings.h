#pragma once
// The global settings and game state shared by every subsystem of the application. Plain
// globals: the player's settings file (SettingsFile.h) sets them at the start, the command line
// overrides it for the run, and the keys and the interface's buttons change them.

#include "core/Matrix.h"
#include "rules/WindowConstants.h"

#include <cstddef>
#include <string>
#include <vector>

class Camera;
class Renderable;
struct TransparentObject;

struct GameSettings {
    bool running = true;         ///< the frame loop continues while true
    bool frustumCulling = true;  ///< objects outside the view frustum are not drawn
    bool linearFiltering = true; ///< bilinear texture filtering, else nearest neighbour
    bool mipmapping = true;      ///< textures use mip-maps
    bool mipmapLinear = false;   ///< mip-map levels blended linearly, else nearest level
    bool mirroring = true;       ///< reflections are drawn
    bool mirroringDepth2 = true; ///< reflections of reflections are drawn
    bool transparency = true;    ///< the transparent pass blends
    bool wireframe = false;      ///< wire frame, without the shader program
    bool showBoundingSpheres = false;
    bool laserPower = false;               ///< emitters are powered and energy drains
    float ambientLevel = 0.8f;             ///< grey level of light 1's diffuse and specular colour
    float lightPosition[4] = {1, 1, 1, 0}; ///< position of light 1 (directional)
    int screenWidth = 1024;                ///< window width in pixels
    int screenHeight = 768;                ///< window height in pixels
    int windowMode = GLFW_WINDOW;          ///< GLFW_WINDOW or GLFW_FULLSCREEN
    bool showHelp = false;                 ///< the help panel is open
    bool colourLabels = false;             ///< goals and filters say their colours in words
    float lookSpeed = 1.0f;                ///< how fast the view turns, times the game's own
    float turnSpeed = 1.0f;                ///< how fast a drag turns an element, likewise
    bool invertLook = false;               ///< the view turns up and down the other way
    bool relaxedEnergy = false;            ///< the energy never runs out
    bool music = true;                     ///< the music plays from the start
    int musicVolume = 100;                 ///< how loud the music plays, 0 (silent) to 100
    bool effects = true;                   ///< the sound effects are heard
    int effectsVolume = 100;               ///< how loud they play, 0 (silent) to 100
    /// How much larger the interface is drawn: 1, 1.5 or 2, as far as the window holds it.
    float uiScale = 1.0f;
    bool shadows = true; ///< the shadow map is rendered and the scene shaded by it
};

extern GameSettings gameSettings;

/// Seconds of powered laser time a level starts with.
constexpr double ENERGY_CAPACITY = 300.0;

/// Longest level file name: "level" + an argument of up to 82 characters + ".txt".
constexpr std::size_t LEVEL_FILE_NAME_MAX = 91;
/// Longest level path that -file takes.
constexpr std::size_t LEVEL_PATH_MAX = 4096;

/// The level to load: "level2.txt" unless -level names one, or the path -file gives.
extern std::string levelFileName;
extern double energy;              ///< remaining powered laser time, seconds
extern bool levelSolved;           ///< every goal was satisfied at the last check
extern bool gameOver;              ///< latched when the energy ran out unsolved
extern Matrix viewMatrix;          ///< world to eye; identity until the level is loaded
extern Matrix startViewMatrix;     ///< the level's start view, which Home goes back to
extern Matrix inverseViewMatrix;   ///< eye to world, derived from viewMatrix every frame
extern unsigned int shaderProgram; ///< the OpenGL program object, 0 until built
extern bool reinitialising;        ///< true while the display is being re-created

extern Camera* camera;                        ///< the viewer's eye model, created after the display
extern std::vector<Renderable*> sceneObjects; ///< copy of the level's objects list, not owning
/// What the transparent pass draws, back to front; refilled every frame.
extern std::vector<TransparentObject*> transparentDrawList;

// Input state written by the mouse callback and read by the frame.
extern bool pickRequested;    ///< a single left click asks the next frame to pick
extern bool doubleClicked;    ///< a carry: the holder follows the mouse or the key pointer
extern bool warpPending;      ///< the first move-mode frame places the cursor
extern int clickX, clickY;    ///< drag origin
extern int pickX, pickY;      ///< where the click that asked for the pick was pressed
extern bool placementBlocked; ///< this frame, the moved element overlaps another one
/// The level's introduction is open: the first click or key closes it and does nothing else.
extern bool introductionOpen;
/// A menu (the title, the map of the levels, the settings) is open: keys and clicks are its.
extern bool menuOpen;
/// The level editor is open (not in its test play): the level shown is the one being edited.
extern bool editorOpen;
/// The left or right button went down over the interface: until it comes up, it is the
/// interface's alone (no pick, no turn of the view or of an element).
extern bool leftPressOnInterface, rightPressOnInterface;
