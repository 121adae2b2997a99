#include "DataFolder.h"

#include "model/GameModels.h"

#include <system_error>

namespace fs = std::filesystem;

bool holdsGameModels(const fs::path& folder) {
    std::error_code error;
    for (const std::string& file : gameModelFiles()) {
        if (fs::is_regular_file(folder / file, error)) {
            return true;
        }
    }
    return false;
}

std::string chooseModelFolder(const std::string& dataOption, const fs::path& workingDirectory,
                              const fs::path& installedData) {
    if (!dataOption.empty()) {
        return dataOption;
    }
    const fs::path installed = installedData.lexically_normal();
    if (!holdsGameModels(workingDirectory) && holdsGameModels(installed)) {
        return installed.string();
    }
    return "";
}

std::string toolModelFolder(const std::string& dataOption) {
    std::error_code error;
    const fs::path cwd = fs::current_path(error);
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    if (error) {
        return dataOption;
    }
    return chooseModelFolder(dataOption, cwd, program.parent_path() / BEAMWORKS_INSTALLED_DATA);
}
