#pragma once
// Colours in words, for players who cannot tell the goals and filters apart by colour alone.

#include <cmath>
#include <string>
#include <vector>

/// "RED", "GREEN", "YELLOW", "BLUE", "MAGENTA", "CYAN", "WHITE"; "BLACK" for 0 and for codes
/// outside 0..7.
std::string colourName(signed char colorCode);

/// A goal's label: "WANTS RED" while no light reaches it, "WANTS RED - GETS WHITE" when light of
/// another colour does (every colour arriving, "WHITE + RED"), "RED - OPEN" when it is satisfied.
std::string goalLabel(signed char wanted, const std::vector<signed char>& arriving, bool satisfied);

/// A filter's label: "PASSES RED".
std::string filterLabel(signed char passes);

/// The part of the window where labels may stand (pixels, y down): left <= x < right,
/// top <= y < bottom.
struct LabelArea {
    int left = 0, top = 0, right = 0, bottom = 0;
};

/// The edge a label was moved to because what it names is out of view (None: in view).
enum class LabelEdge { None, Left, Right, Top, Bottom };

/// Where a label goes: its text's left and top in the window, and the edge it points past.
struct LabelPlace {
    int x = 0, y = 0;
    LabelEdge edge = LabelEdge::None;
};

/// Places a label `width` x `height` wanted with the middle of its bottom at (x, y), the
/// projection of what it names (for a point behind the eye: the centre of the area plus the
/// point's direction across the view, scaled far out). Inside the area it stays where it is,
/// moved in just as far as its text needs to fit; a point outside the area puts it at the edge
/// where the line from the area's centre towards the point leaves it, with that edge.
/// A label whose point is out of the area but whose object (objectX, objectY) is in it stands on
/// the object instead.
LabelPlace placeLabel(double x, double y, int width, int height, const LabelArea& area,
                      double objectX = NAN, double objectY = NAN);

/// The label with an arrow towards its edge: "< WANTS RED", "WANTS RED >", "^ WANTS RED",
/// "v WANTS RED"; unchanged in view.
std::string withEdgeArrow(const std::string& text, LabelEdge edge);
