#pragma once
// Colours in words, for players who cannot tell the goals and filters apart by colour alone.

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
