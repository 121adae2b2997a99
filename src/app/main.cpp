// Beamworks: a 3D puzzle game about laser light.

#include "app/CommandLine.h"
#include "app/Settings.h"
#include "model/GameModels.h"

#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>
#include <vector>

namespace {

// The class models are read before main runs, from the working directory.
const std::vector<std::string> missingModels = loadGameModels();

std::string workingDirectory() {
    std::error_code error;
    const std::filesystem::path cwd = std::filesystem::current_path(error);
    return error ? std::string("(unknown)") : cwd.string();
}

} // namespace

int main(int argc, char** argv) {
    std::cout << "=== Beamworks Alpha ===" << std::endl;
    if (!parseCommandLine(argc, argv, gameSettings, levelFileName, std::cout)) {
        return 0;
    }
    if (!missingModels.empty()) {
        for (const std::string& file : missingModels) {
            std::cout << "Cannot start: model file " << file
                      << " is missing or damaged (working directory: " << workingDirectory() << ")"
                      << std::endl;
        }
        return 1;
    }
    viewMatrix = Matrix::identity();
    return 0;
}
