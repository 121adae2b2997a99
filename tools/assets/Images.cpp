#include "assets/Images.h"

#include "assets/ImagesIcons.h"
#include "assets/PixelFont.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

const char* const SMALL_FONT_GLYPHS =
    " ABCDEFGHIJKLMNOPQRSTUVWXYZ1234567890.:-,!/()abcdefghijklmnopqrstuvwxyz'\";[]#+?=<>*%&_^";
const char* const LARGE_FONT_GLYPHS = " ABCDEFGHIJKLMNOPQRSTUVWXYZ1234567890.:-_,!/()";
// Not magenta: Guichan's OpenGL images turn opaque magenta into transparency.
const Rgba FONT_SEPARATOR{255, 0, 128, 255};

namespace {

// The palette: blue-grey steel panels, cyan for what is on, amber for the power and for the
// highlighted buttons, ice white for text.
const Rgba CYAN{64, 224, 255, 255};
const Rgba AMBER{255, 176, 48, 255};
const Rgba TEXT{210, 236, 252, 255};
const Rgba PANEL_TOP{84, 100, 128, 255};
const Rgba PANEL_MIDDLE{44, 54, 72, 255};
const Rgba PANEL_BOTTOM{24, 30, 42, 255};
const Rgba EDGE{6, 8, 12, 235};
const Rgba SHADOW{0, 0, 0, 110};
const Rgba WHITE{255, 255, 255, 255};
const Rgba CLEAR{255, 255, 255, 0};

/// A three-stop vertical gradient.
Paint vertical3(float y0, const Rgba& c0, float y1, const Rgba& c1, float y2, const Rgba& c2) {
    const Paint upper = vertical(y0, c0, y1, c1), lower = vertical(y1, c1, y2, c2);
    return [upper, lower, y1](float x, float y) { return y < y1 ? upper(x, y) : lower(x, y); };
}

/// The shape grown by `grow` pixels with an edge that fades over `spread` pixels: glows and
/// soft shadows.
Distance soft(const Distance& shape, float grow, float spread) {
    return [shape, grow, spread](float x, float y) { return (shape(x, y) - grow) / spread; };
}

Distance moved(const Distance& shape, float dx, float dy) {
    return [shape, dx, dy](float x, float y) { return shape(x - dx, y - dy); };
}

Distance rect(float x0, float y0, float x1, float y1) {
    return roundRect(x0, y0, x1, y1, 0);
}

/// A steel plate with a soft shadow, a bevelled rim and a dark edge; its visible part starts at
/// row y0 and runs to the bottom of the picture.
void drawPlate(RgbaImage& image, float x0, float y0, float x1) {
    const float y1 = float(image.height) - 0.5f;
    const Distance body = roundRect(x0, y0, x1, y1, 7);
    fill(image, soft(moved(body, 1, 2), 0.5f, 2.5f), SHADOW);
    fill(image, body, vertical3(y0, PANEL_TOP, y0 + 30, PANEL_MIDDLE, y1, PANEL_BOTTOM));
    fill(image, outline(roundRect(x0 + 1.5f, y0 + 1.5f, x1 - 1.5f, y1 - 1.5f, 5.5f), 1),
         vertical(y0, Rgba{190, 210, 235, 150}, y1, Rgba{80, 90, 110, 30}));
    fill(image, outline(body, 1), EDGE);
}

/// Scan lines and a glassy sheen over a display window whose top edge is at row `top`.
void drawGlass(RgbaImage& image, const Distance& window, float top) {
    const Paint sheen = vertical(top, Rgba{255, 255, 255, 28}, top + 7, CLEAR);
    fill(image, window, [&](float x, float y) {
        const int row = int(y);
        Rgba c = (row - int(top)) % 3 == 1 ? Rgba{255, 255, 255, 7} : CLEAR;
        if (y < top + 7) {
            const Rgba s = sheen(x, y);
            c = s.a > c.a ? s : c;
        }
        return c;
    });
    fill(image, outline(window, 2), Rgba{0, 0, 0, 150});
}

} // namespace

const FontStyle& smallFontStyle() {
    static const FontStyle style = [] {
        FontStyle s;
        s.scale = 2;
        s.padTop = 1;
        s.padBottom = 1;
        s.padLeft = 1;
        s.padRight = 3; // the font is used with a glyph spacing of -2
        s.top = Rgba{236, 250, 255, 255};
        s.bottom = Rgba{150, 212, 240, 255};
        s.shadowOffset = 1;
        s.shadow = Rgba{0, 0, 0, 200};
        return s;
    }();
    return style;
}

const FontStyle& highlightFontStyle() {
    static const FontStyle style = [] {
        FontStyle s = smallFontStyle();
        s.top = Rgba{255, 242, 176, 255};
        s.bottom = Rgba{255, 166, 36, 255};
        return s;
    }();
    return style;
}

const FontStyle& outlinedFontStyle() {
    static const FontStyle style = [] {
        FontStyle s = smallFontStyle();
        s.top = Rgba{255, 255, 255, 255};
        s.bottom = Rgba{225, 235, 245, 255};
        s.outlineWidth = 2;
        s.outline = Rgba{0, 0, 0, 235};
        s.shadowOffset = 0;
        s.padTop = s.padBottom = s.padLeft = 2;
        s.padRight = 4;
        return s;
    }();
    return style;
}

const FontStyle& largeFontStyle() {
    static const FontStyle style = [] {
        FontStyle s;
        s.scale = 6;
        s.outlineWidth = 2;
        s.outline = Rgba{12, 16, 30, 255};
        s.shadowOffset = 3;
        s.shadow = Rgba{0, 0, 0, 130};
        s.padTop = 2;
        s.padBottom = 2 + 3;
        s.padLeft = 2;
        s.padRight = 2 + 3 + 1;
        s.top = Rgba{255, 248, 210, 255};
        s.bottom = Rgba{255, 150, 36, 255};
        return s;
    }();
    return style;
}

RgbaImage makeImageFont(const std::string& glyphs, const FontStyle& style) {
    const int glyphHeight = pixelfont::GLYPH_ROWS * style.scale;
    const int height = style.padTop + glyphHeight + style.padBottom;
    int width = 1;
    for (char c : glyphs) {
        if (!pixelfont::hasGlyph(c)) {
            throw std::invalid_argument(std::string("the pixel font has no glyph '") + c + "'");
        }
        width += style.padLeft + pixelfont::glyphColumns(c) * style.scale + style.padRight + 1;
    }
    RgbaImage font(width, height);
    const auto separator = [&](int x) {
        for (int y = 0; y < height; ++y) {
            font.set(x, y, FONT_SEPARATOR);
        }
    };
    separator(0);
    int x = 1;
    for (char c : glyphs) {
        const int cellWidth =
            style.padLeft + pixelfont::glyphColumns(c) * style.scale + style.padRight;
        std::vector<bool> mask(std::size_t(cellWidth) * std::size_t(height));
        for (int py = 0; py < height; ++py) {
            for (int px = 0; px < cellWidth; ++px) {
                const int bx = px - style.padLeft, by = py - style.padTop;
                mask[std::size_t(py) * std::size_t(cellWidth) + std::size_t(px)] =
                    bx >= 0 && by >= 0 &&
                    pixelfont::glyphPixel(c, bx / style.scale, by / style.scale);
            }
        }
        const auto body = [&](int px, int py) {
            return px >= 0 && py >= 0 && px < cellWidth && py < height &&
                   mask[std::size_t(py) * std::size_t(cellWidth) + std::size_t(px)];
        };
        // Within `radius` pixels of the glyph (round), for the outline.
        const auto near = [&](int px, int py, int radius) {
            for (int dy = -radius; dy <= radius; ++dy) {
                for (int dx = -radius; dx <= radius; ++dx) {
                    if (dx * dx + dy * dy <= radius * radius + radius && body(px + dx, py + dy)) {
                        return true;
                    }
                }
            }
            return false;
        };
        RgbaImage cell(cellWidth, height);
        const int o = style.shadowOffset;
        for (int py = 0; py < height; ++py) {
            for (int px = 0; px < cellWidth; ++px) {
                if (o > 0 && near(px - o, py - o, style.outlineWidth)) {
                    cell.blend(px, py, style.shadow);
                }
                if (style.outlineWidth > 0 && near(px, py, style.outlineWidth)) {
                    cell.blend(px, py, style.outline);
                }
                if (body(px, py)) {
                    const float t = float(py - style.padTop) / float(std::max(1, glyphHeight - 1));
                    cell.blend(px, py, mix(style.top, style.bottom, t));
                }
            }
        }
        for (int py = 0; py < height; ++py) {
            for (int px = 0; px < cellWidth; ++px) {
                const std::uint8_t* p = &cell.pixels[(std::size_t(py) * cellWidth + px) * 4];
                font.set(x + px, py, Rgba{float(p[0]), float(p[1]), float(p[2]), float(p[3])});
            }
        }
        x += cellWidth;
        separator(x);
        ++x;
    }
    return font;
}

RgbaImage makeSwitchPlate(int width, bool on, bool power) {
    RgbaImage image(width, BAR_PICTURE_HEIGHT);
    const Rgba accent = power ? AMBER : CYAN;
    // Small plates touch their neighbours, which are placed 10 pixels into them.
    const float x0 = 5, x1 = float(width) - (power ? 7 : 5);
    drawPlate(image, x0, PLATE_TOP, x1);

    const float buttonWidth = float(power ? POWER_BUTTON_WIDTH : BUTTON_SIZE);
    const Distance socket =
        roundRect(BUTTON_X - 2.5f, BUTTON_Y - 2.5f, BUTTON_X + buttonWidth + 2.5f,
                  BUTTON_Y + BUTTON_SIZE + 2.5f, 8);
    if (on) {
        fill(image, soft(socket, 2, 3), fade(accent, 0.55f));
    }
    fill(image, socket, Rgba{8, 10, 16, 255});
    fill(image, outline(socket, 2.5f), on ? accent : Rgba{52, 62, 80, 255});

    // The lamp above the button.
    const float cx = float(width) / 2, half = power ? 22 : 12;
    const Distance lamp = roundRect(cx - half, 33, cx + half, 38.5f, 2.75f);
    if (on) {
        fill(image, soft(lamp, 1, 3), fade(accent, 0.7f));
        fill(image, lamp, vertical(33, mix(accent, WHITE, 0.6f), 38.5f, accent));
    } else {
        fill(image, lamp, Rgba{26, 36, 48, 255});
        fill(image, outline(lamp, 1), Rgba{4, 6, 10, 200});
    }
    return image;
}

RgbaImage makeButtonFace(const std::string& id, bool highlight) {
    if (!hasIcon(id)) {
        throw std::invalid_argument("no button face for the switch \"" + id + "\"");
    }
    const bool power = id == "power";
    const int width = power ? POWER_BUTTON_WIDTH : BUTTON_SIZE;
    RgbaImage image(width, BUTTON_SIZE);
    const float w = float(width), h = float(BUTTON_SIZE);
    const Distance face = roundRect(0.5f, 0.5f, w - 0.5f, h - 0.5f, 6);
    if (highlight) {
        fill(image, face, vertical(0, Rgba{104, 126, 162, 255}, h, Rgba{46, 58, 84, 255}));
    } else {
        fill(image, face, vertical(0, Rgba{70, 86, 112, 255}, h, Rgba{30, 38, 54, 255}));
    }
    fill(image, roundRect(3, 2, w - 3, 22, 5),
         vertical(2, Rgba{255, 255, 255, float(highlight ? 60 : 36)}, 22, CLEAR));
    fill(image, outline(face, 1), EDGE);
    if (highlight) {
        fill(image, outline(roundRect(1.5f, 1.5f, w - 1.5f, h - 1.5f, 5), 2), AMBER);
    }

    const Rgba ink = highlight ? Rgba{255, 238, 190, 255} : Rgba{150, 215, 245, 255};
    const Distance icon = iconShape(id, 24, 24);
    fill(image, soft(icon, 1, 2.5f), highlight ? fade(AMBER, 0.55f) : Rgba{0, 0, 0, 90});
    fill(image, icon, ink);
    if (power) {
        const int textY = (BUTTON_SIZE - pixelfont::GLYPH_ROWS * 2) / 2;
        drawText(image, 43, textY + 1, "LASER", 2, Rgba{0, 0, 0, 120});
        drawText(image, 42, textY, "LASER", 2, ink);
    }
    return image;
}

RgbaImage makeEnergyBack() {
    RgbaImage image(ENERGY_WIDTH, BAR_PICTURE_HEIGHT);
    const Distance track = roundRect(5, GAUGE_TOP, ENERGY_WIDTH - 5, GAUGE_BOTTOM, 2);
    // An empty gauge reads as a warning: its left end glows dull red.
    fill(image, track, horizontal(5, Rgba{120, 26, 20, 255}, 90, Rgba{8, 12, 20, 255}));
    drawGlass(image, track, GAUGE_TOP);
    return image;
}

RgbaImage makeEnergyLevel() {
    const int width = ENERGY_WIDTH - 10;
    RgbaImage image(width, BAR_PICTURE_HEIGHT);
    const float top = GAUGE_TOP, bottom = GAUGE_BOTTOM, w = float(width);
    fill(image, rect(0, top, w, bottom),
         vertical3(top, Rgba{200, 252, 255, 255}, top + 9, CYAN, bottom, Rgba{14, 100, 160, 255}));
    fill(image, rect(0, top + 2, w, top + 8),
         vertical(top + 2, Rgba{255, 255, 255, 70}, top + 8, CLEAR));
    // The bright front of the bar: the last three columns stay visible when it is empty.
    fill(image, rect(w - 8, top, w - 3, bottom),
         horizontal(w - 8, fade(WHITE, 0), w - 3, fade(WHITE, 0.6f)));
    fill(image, rect(w - 3, top, w, bottom), Rgba{240, 255, 255, 255});
    return image;
}

RgbaImage makeEnergyBorder() {
    RgbaImage image(ENERGY_WIDTH, BAR_PICTURE_HEIGHT);
    const float w = float(ENERGY_WIDTH);
    // The frame is open over the whole gauge window: the window of the widget starts at x = 5.
    const Distance window = rect(5, GAUGE_TOP, w - 5, GAUGE_BOTTOM);
    RgbaImage plate(ENERGY_WIDTH, BAR_PICTURE_HEIGHT);
    drawPlate(plate, 3, PLATE_TOP, w - 3);
    for (int y = 0; y < plate.height; ++y) {
        for (int x = 0; x < plate.width; ++x) {
            if (window(float(x) + 0.5f, float(y) + 0.5f) >= 0) {
                const std::uint8_t* p = &plate.pixels[(std::size_t(y) * plate.width + x) * 4];
                image.set(x, y, Rgba{float(p[0]), float(p[1]), float(p[2]), float(p[3])});
            }
        }
    }
    // Ten cells across the gauge.
    for (int i = 1; i < 10; ++i) {
        const float x = 5 + 25 * float(i);
        fill(image, rect(x - 1, GAUGE_TOP, x + 1, GAUGE_BOTTOM), Rgba{0, 0, 0, 120});
    }
    // A dark lip around the window, outside it: the ends of the gauge stay bright.
    fill(image, cut(outline(window, 4), window), Rgba{0, 0, 0, 170});
    drawText(image, 13, 37, "ENERGY", 2, Rgba{0, 0, 0, 140});
    drawText(image, 12, 36, "ENERGY", 2, TEXT);
    return image;
}

RgbaImage makeMenuLine() {
    RgbaImage image(BAR_TILE_WIDTH, BAR_PICTURE_HEIGHT);
    const float w = float(BAR_TILE_WIDTH), band = 44;
    fill(image, rect(0, band - 10, w, band),
         vertical(band - 10, Rgba{0, 0, 0, 0}, band, Rgba{0, 0, 0, 100}));
    fill(image, rect(0, band, w, 100),
         vertical3(band, Rgba{44, 56, 76, 255}, band + 24, PANEL_MIDDLE, 100,
                   Rgba{12, 15, 22, 255}));
    fill(image, rect(0, band, w, band + 1), EDGE);
    fill(image, rect(0, band + 1, w, band + 2), fade(CYAN, 0.6f));
    fill(image, rect(0, band + 2, w, band + 3), Rgba{120, 140, 170, 110});
    // A panel seam at every tile.
    fill(image, rect(0, band + 8, 1, 96), Rgba{0, 0, 0, 70});
    fill(image, rect(1, band + 8, 2, 96), Rgba{255, 255, 255, 20});
    return image;
}

RgbaImage makeDebugLine() {
    RgbaImage image(BAR_TILE_WIDTH, BAR_PICTURE_HEIGHT);
    const float w = float(BAR_TILE_WIDTH), band = 56;
    fill(image, rect(0, 0, w, band),
         vertical3(0, Rgba{12, 15, 22, 255}, band - 24, PANEL_MIDDLE, band, Rgba{44, 56, 76, 255}));
    fill(image, rect(0, band - 3, w, band - 2), Rgba{120, 140, 170, 110});
    fill(image, rect(0, band - 2, w, band - 1), fade(CYAN, 0.6f));
    fill(image, rect(0, band - 1, w, band), EDGE);
    fill(image, rect(0, band, w, band + 10),
         vertical(band, Rgba{0, 0, 0, 100}, band + 10, Rgba{0, 0, 0, 0}));
    fill(image, rect(0, 4, 1, band - 8), Rgba{0, 0, 0, 70});
    fill(image, rect(1, 4, 2, band - 8), Rgba{255, 255, 255, 20});
    return image;
}

RgbaImage makeDebugField() {
    RgbaImage image(COUNTER_FIELD_WIDTH, BAR_PICTURE_HEIGHT);
    const float w = float(COUNTER_FIELD_WIDTH);
    drawPlate(image, 5, PLATE_TOP, w - 5);
    // The display: the counter and message labels sit at row 52, 16 rows high.
    const Distance display = roundRect(14, 45, w - 14, 76, 4);
    fill(image, outline(roundRect(12.5f, 43.5f, w - 12.5f, 77.5f, 5), 1), Rgba{150, 170, 200, 90});
    fill(image, display, vertical(45, Rgba{4, 18, 26, 255}, 76, Rgba{8, 34, 44, 255}));
    drawGlass(image, display, 45);
    return image;
}

const std::vector<std::string>& switchIds() {
    static const std::vector<std::string> ids = {
        "wireframe",    "boundingsphere", "texture", "mipmap", "frustum",
        "transparency", "mirroring",      "fps",     "nol",    "light",
        "fullscreen",   "audio",          "exit",    "power",  "settings"};
    return ids;
}

const std::vector<GeneratedImage>& generatedImageFiles() {
    static const std::vector<GeneratedImage> files = [] {
        std::vector<GeneratedImage> all;
        all.push_back(
            {"images/poweron.png", [] { return makeSwitchPlate(POWER_SWITCH_WIDTH, true, true); }});
        all.push_back({"images/poweroff.png",
                       [] { return makeSwitchPlate(POWER_SWITCH_WIDTH, false, true); }});
        all.push_back({"images/smallbuttonon.png",
                       [] { return makeSwitchPlate(SMALL_SWITCH_WIDTH, true, false); }});
        all.push_back({"images/smallbuttonoff.png",
                       [] { return makeSwitchPlate(SMALL_SWITCH_WIDTH, false, false); }});
        for (const std::string& id : switchIds()) {
            all.push_back(
                {"images/" + id + "normal.png", [id] { return makeButtonFace(id, false); }});
            all.push_back(
                {"images/" + id + "highlight.png", [id] { return makeButtonFace(id, true); }});
        }
        all.push_back({"images/energyback.png", makeEnergyBack});
        all.push_back({"images/energylevel.png", makeEnergyLevel});
        all.push_back({"images/energyborder.png", makeEnergyBorder});
        all.push_back({"images/menuline.png", makeMenuLine});
        all.push_back({"images/debugline.png", makeDebugLine});
        all.push_back({"images/debugfield.png", makeDebugField});
        all.push_back({"images/ea030.png",
                       [] { return makeImageFont(SMALL_FONT_GLYPHS, smallFontStyle()); }});
        all.push_back({"images/ea030h.png",
                       [] { return makeImageFont(SMALL_FONT_GLYPHS, highlightFontStyle()); }});
        all.push_back({"images/ea030o.png",
                       [] { return makeImageFont(SMALL_FONT_GLYPHS, outlinedFontStyle()); }});
        all.push_back({"images/ea105.png",
                       [] { return makeImageFont(LARGE_FONT_GLYPHS, largeFontStyle()); }});
        return all;
    }();
    return files;
}
