#pragma once
// Guichan's OpenGL graphics drawing the interface stretched over the window: the projection spans
// the interface's own size while the caller's viewport spans the window, so the clip areas'
// scissor boxes are scaled to the window's pixels.
//
// The pictures and fonts keep Guichan's nearest-texel filtering: each of their pixels becomes a
// sharp block (at 1.5 alternately one and two window pixels wide). Linear filtering would blur the
// pixel fonts and bleed their pictures' opaque separator columns into the glyphs' edges.

#include "ui/InterfaceScale.h"

#include <guichan/opengl/openglgraphics.hpp>

class ScaledGraphics : public gcn::OpenGLGraphics {
  public:
    /// Draws the interface's width x height over the whole window; the viewport must span the
    /// window while it draws.
    explicit ScaledGraphics(const InterfaceScale& scale);

    /// Guichan's set-up, with the interface moved by InterfaceScale::NUDGE.
    void _beginDraw() override;
    bool pushClipArea(gcn::Rectangle area) override;
    void popClipArea() override;

  private:
    void scissorTopArea();
    InterfaceScale scale_;
};
