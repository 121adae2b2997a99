#pragma once
// What the parts of UserInterface share; no one else uses it.

#include <guichan/font.hpp>
#include <guichan/widgets/label.hpp>

#include <memory>

/// A label in `font` captioned " ", white, which leaves the image fonts' own colours unchanged.
std::unique_ptr<gcn::Label> makeInterfaceLabel(gcn::Font* font);

/// Where the counter and message labels sit in the counter field, and the room kept free at the
/// field's ends.
constexpr int LABEL_Y = 52;
/// The top row sits this far above the window's top edge, hiding the top of its plates.
constexpr int TOP_ROW_Y = -31;
constexpr int FIELD_PADDING = 10;
