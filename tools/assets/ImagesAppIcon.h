#pragma once
// The game's application icon for the desktop's menu: a bright beam that strikes a mirror pane and
// leaves it at an angle, on a dark rounded square. Drawn from shapes at each size, so that the
// small icon is as sharp as the large one.

#include "assets/Images.h"

#include <vector>

/// Smallest icon size that still shows the beam and the pane apart, in pixels.
constexpr int APP_ICON_MIN_SIZE = 16;

/// The icon, size x size pixels. Throws std::invalid_argument below APP_ICON_MIN_SIZE.
RgbaImage makeAppIcon(int size);

/// Where the beam strikes the mirror, as fractions of the icon's size (x from the left, y from
/// the top).
constexpr float APP_ICON_HIT_X = 0.50f, APP_ICON_HIT_Y = 0.64f;

/// The icons the desktop installs, icons/beamworksSIZE.png for 48, 128 and 256 pixels.
const std::vector<GeneratedImage>& generatedIconFiles();
