#pragma once
// The pictures and image fonts of the on-screen interface, drawn from our own shapes and pixel
// font: the switch plates and their button faces, the energy bar, the tiles of the two bars, the
// counter field, and the three image fonts in the layout Guichan's ImageFont reads.
//
// Every picture is 100 pixels high where it sits in a bar. The visible plate of a switch covers
// rows 31 to 99: the top bar is placed 31 pixels above the window, so its plates hang from the
// window's top edge, while the bottom bar shows them whole.

#include "assets/ImagesCanvas.h"

#include <functional>
#include <string>
#include <vector>

/// Glyphs of the two small fonts (images/ea030.png and images/ea030h.png), in picture order.
extern const char* const SMALL_FONT_GLYPHS;
/// Glyphs of the large font (images/ea105.png), in picture order.
extern const char* const LARGE_FONT_GLYPHS;
/// Colour of the font pictures' top left pixel and of the columns between their glyphs.
extern const Rgba FONT_SEPARATOR;

/// Height of every switch plate, bar tile and the counter field.
constexpr int BAR_PICTURE_HEIGHT = 100;
/// First row of a switch plate's visible body.
constexpr int PLATE_TOP = 31;
/// Size of the small switches' pictures.
constexpr int SMALL_SWITCH_WIDTH = 66;
/// Size of the power switch's pictures.
constexpr int POWER_SWITCH_WIDTH = 124;
/// Where the toggle button places its inner button.
constexpr int BUTTON_X = 9, BUTTON_Y = 43;
/// Size of a small switch's button faces.
constexpr int BUTTON_SIZE = 48;
/// Width of the power switch's button faces (BUTTON_SIZE high).
constexpr int POWER_BUTTON_WIDTH = 106;
/// Size of the energy bar's pictures; the moving level picture is ENERGY_WIDTH - 10 wide.
constexpr int ENERGY_WIDTH = 260;
/// Rows of the energy gauge's window in the energy bar's pictures.
constexpr int GAUGE_TOP = 53, GAUGE_BOTTOM = 90;
/// Width of the counter field.
constexpr int COUNTER_FIELD_WIDTH = 350;
/// Width of the bar tiles (menuline, debugline).
constexpr int BAR_TILE_WIDTH = 64;

/// How an image font draws its glyphs.
struct FontStyle {
    int scale = 1;        ///< pixels per font pixel
    int padTop = 0;       ///< empty rows above the glyphs
    int padBottom = 0;    ///< rows below the glyphs (room for the shadow)
    int padLeft = 0;      ///< columns left of each glyph
    int padRight = 0;     ///< columns right of each glyph
    Rgba top, bottom;     ///< glyph colour at the top and the bottom of the glyph rows
    int outlineWidth = 0; ///< dark rim around the glyphs, pixels (0 = none)
    Rgba outline;         ///< its colour
    int shadowOffset = 0; ///< drop shadow to the lower right, pixels (0 = none)
    Rgba shadow;          ///< its colour
};

const FontStyle& smallFontStyle();
/// White text with a dark rim, readable over any part of the scene.
const FontStyle& outlinedFontStyle();
const FontStyle& highlightFontStyle();
const FontStyle& largeFontStyle();

/// A one-row image font: a separator column, then every glyph of `glyphs` in order, each followed
/// by a separator column. Throws std::invalid_argument for a character the pixel font lacks.
RgbaImage makeImageFont(const std::string& glyphs, const FontStyle& style);

/// A switch's plate (its on or off picture): `width` wide, with the socket of its button and the
/// lamp above it lit when on. The power switch glows amber, the others cyan.
RgbaImage makeSwitchPlate(int width, bool on, bool power);
/// The face of the button of the switch with this id ("power" is wider), plain or highlighted
/// (mouse over it). Throws std::invalid_argument for an unknown id.
RgbaImage makeButtonFace(const std::string& id, bool highlight);

RgbaImage makeEnergyBack();
/// The moving bar, ENERGY_WIDTH - 10 wide, bright at its right end.
RgbaImage makeEnergyLevel();
/// The frame drawn over the bar, open over the gauge, with its caption.
RgbaImage makeEnergyBorder();
/// Tile of the bottom bar's background.
RgbaImage makeMenuLine();
/// Tile of the top bar's background.
RgbaImage makeDebugLine();
/// The counter field's display.
RgbaImage makeDebugField();

/// The ids of the interface's switches, each with a pair of button faces.
const std::vector<std::string>& switchIds();

struct GeneratedImage {
    std::string fileName; ///< path below the game folder
    std::function<RgbaImage()> build;
};

/// Every picture and image font of the interface.
const std::vector<GeneratedImage>& generatedImageFiles();
