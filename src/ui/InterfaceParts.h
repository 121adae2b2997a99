#pragma once
// What the parts of UserInterface share; no one else uses it.

#include <guichan/font.hpp>
#include <guichan/widgets/label.hpp>

#include <memory>

/// A label in `font` captioned " ", white, which leaves the image fonts' own colours unchanged.
std::unique_ptr<gcn::Label> makeInterfaceLabel(gcn::Font* font);
