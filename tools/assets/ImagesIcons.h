#pragma once
// The symbols on the switches' buttons, one per command, as shapes about 30 pixels across.

#include "assets/ImagesCanvas.h"

#include <string>

/// Whether `id` names a switch with a symbol.
bool hasIcon(const std::string& id);

/// The symbol of the switch `id` centred on (cx, cy). Throws std::invalid_argument for an id
/// without one.
Distance iconShape(const std::string& id, float cx, float cy);
