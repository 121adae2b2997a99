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

} // namespace gcn
