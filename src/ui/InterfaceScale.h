#pragma once
// How the interface's own pixels lie on the window's: the interface is laid out for its own size,
// the window's divided by the scale, and drawn stretched over the whole window. Positions count
// from the top left in both, in pixels.

#include <guichan/rectangle.hpp>

struct InterfaceScale {
    /// How far right of and below the window's pixel grid the interface is drawn, in window
    /// pixels. At scales like 1.5 the edges of its pictures fall half way between pixels: without
    /// it, the centre of a pixel could lie on an edge and take the texel beyond it (a font's
    /// separator column).
    static constexpr double NUDGE = 1.0 / 64;

    int windowWidth = 1, windowHeight = 1;
    int width = 1, height = 1; ///< the interface's own size

    /// The scale for a window: `asked` (1 for less than 1, or not a number), lowered as far as
    /// the interface needs to be at least minWidth x minHeight, but never below 1.
    static InterfaceScale fit(int windowWidth, int windowHeight, double asked, int minWidth,
                              int minHeight);

    /// Window pixels per interface pixel, across and down.
    double x() const { return static_cast<double>(windowWidth) / width; }
    double y() const { return static_cast<double>(windowHeight) / height; }

    /// The interface pixel that the window pixel at this column (row) shows.
    int toInterfaceX(int windowX) const;
    int toInterfaceY(int windowY) const;
    /// The window column (row) where a shape that starts at this interface column (row) starts
    /// on screen: the first whose centre it covers as drawn (NUDGE included).
    int toWindowX(int interfaceX) const;
    int toWindowY(int interfaceY) const;
    gcn::Rectangle toWindow(const gcn::Rectangle& r) const;
};
