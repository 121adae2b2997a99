#pragma once
// For test programs that open an OpenGL window themselves: Mesa's drivers keep a few allocations
// to the end, which the leak checker must still be able to name.

#include <dlfcn.h>
#include <link.h>

#include <string>

/// Keeps Mesa's driver libraries mapped after the window library unloads them, so that the leak
/// checker at exit can still name them and the suppressions below recognise their allocations.
inline void keepGraphicsDriversLoaded() {
    dl_iterate_phdr(
        [](dl_phdr_info* info, std::size_t, void*) {
            const std::string path = info->dlpi_name != nullptr ? info->dlpi_name : "";
            if (path.find("/dri/") != std::string::npos ||
                path.find("libLLVM") != std::string::npos) {
                // A handle that is never closed: the library stays.
                dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
            }
            return 0;
        },
        nullptr);
}

/// Leak suppressions for a test program that draws with Mesa.
constexpr const char* GRAPHICS_DRIVER_LEAKS = "leak:swrast_dri.so\nleak:libLLVM\n";
