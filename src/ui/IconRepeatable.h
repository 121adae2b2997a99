#pragma once
// An icon that covers its whole area with copies of its picture, for the bars' backgrounds.

#include <guichan/widgets/icon.hpp>

namespace gcn {

class IconRepeatable : public Icon {
  public:
    /// Shows image (not owned; it must outlive the icon), or nothing for nullptr. Size the icon
    /// with setDimension.
    explicit IconRepeatable(const Image* image);

    /// Tiles the picture from the top left corner, columns left to right, each top to bottom;
    /// the widget's clip area cuts the last row and column. Nothing without a picture.
    void draw(Graphics* graphics) override;
};

/// An icon narrower than its picture: the picture's left end at its left and its right end at
/// its right, each cut where they meet in the middle (for a field whose ends are its frame).
class IconNarrowed : public Icon {
  public:
    /// Shows image (not owned; it must outlive the icon) at its own size; setWidth narrows it.
    explicit IconNarrowed(const Image* image);
    void draw(Graphics* graphics) override;
};

} // namespace gcn
