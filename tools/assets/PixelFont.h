#pragma once
// Our own pixel font: letters (lower-case ones with short descenders), digits and the common
// punctuation marks on a grid seven pixels high, each glyph as narrow as its shape. Every caption
// and image font of the interface is drawn from these bitmaps.

#include <string>

namespace pixelfont {

/// Height of every glyph in font pixels.
constexpr int GLYPH_ROWS = 7;
/// Widest glyph in font pixels.
constexpr int MAX_GLYPH_COLUMNS = 5;

/// The characters the font can draw, in no particular order.
const std::string& supportedCharacters();

/// Whether the font has a glyph for c.
bool hasGlyph(char c);

/// Width of c's glyph in font pixels (1 to MAX_GLYPH_COLUMNS); 0 when the font has no glyph.
int glyphColumns(char c);

/// Whether pixel (column, row) of c's glyph is set; false outside the glyph or without one.
bool glyphPixel(char c, int column, int row);

/// Width in font pixels of text drawn with `gap` empty columns between glyphs; characters without
/// a glyph count as nothing.
int textColumns(const std::string& text, int gap = 1);

} // namespace pixelfont
