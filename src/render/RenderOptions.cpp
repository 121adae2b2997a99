#include "render/RenderOptions.h"

#include <cstdlib>

RenderOptions renderOptions;

RenderOptions RenderOptions::fromEnvironment() {
    RenderOptions options;
    const char* every = std::getenv("BEAMWORKS_SHADOW_EVERY_FRAME");
    options.shadowEveryFrame = every && every[0] == '1';
    const char* fast = std::getenv("BEAMWORKS_FAST_PASSES");
    options.fastPasses = !(fast && fast[0] == '0');
    return options;
}
