#pragma once
// Text for the interface's panels, laid out without a window: broken into lines that fit a
// width, kept to a number of lines, with what the font cannot draw replaced.

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

/// Measures the width of a line in pixels.
using TextWidth = std::function<int(const std::string&)>;

/// `text` as lines no wider than maxWidth: the lines of a paragraph flow together and are broken
/// at spaces where they can (a word wider than a line is broken inside it); a blank line between
/// paragraphs stays (but none at the start or the end). At most maxLines lines: when the text needs
/// more, the last line shown ends in "..." and still fits. Tabs become spaces, carriage returns
/// go, and every character not in `drawable` becomes '?'.
std::vector<std::string> layoutText(const std::string& text, int maxWidth, std::size_t maxLines,
                                    const TextWidth& widthOf, const std::string& drawable);

/// `line` shortened with "..." until it fits maxWidth (unchanged when it fits), at the end of a
/// word where it can.
std::string fitLine(const std::string& line, int maxWidth, const TextWidth& widthOf);
