#pragma once
// The transparent pass: laser segments as additive rods with a whiter core line and colour
// filters as panes that multiply what lies behind them, drawn without depth writes in the order
// of transparentDrawList. Segments are left out while the laser power is off.

/// With `cull`, objects outside the frustum are skipped (when culling is on).
void drawTransparentPass(bool cull);
