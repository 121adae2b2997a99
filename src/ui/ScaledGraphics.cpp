#include "ui/ScaledGraphics.h"

#include <GL/gl.h>

ScaledGraphics::ScaledGraphics(const InterfaceScale& scale)
    : gcn::OpenGLGraphics(scale.width, scale.height), scale_(scale) {}

void ScaledGraphics::_beginDraw() {
    gcn::OpenGLGraphics::_beginDraw();
    glMatrixMode(GL_MODELVIEW);
    glTranslated(InterfaceScale::NUDGE / scale_.x(), InterfaceScale::NUDGE / scale_.y(), 0);
}

bool ScaledGraphics::pushClipArea(gcn::Rectangle area) {
    const bool inside = gcn::Graphics::pushClipArea(area);
    scissorTopArea();
    return inside;
}

void ScaledGraphics::popClipArea() {
    gcn::Graphics::popClipArea();
    if (!mClipStack.empty()) {
        scissorTopArea();
    }
}

void ScaledGraphics::scissorTopArea() {
    // The scissor box counts rows from the window's bottom.
    const gcn::Rectangle r = scale_.toWindow(mClipStack.top());
    glScissor(r.x, scale_.windowHeight - r.y - r.height, r.width, r.height);
}
