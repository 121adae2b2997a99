// The game folder a test drives belongs to the test's own build tree: a game staged by another
// build (the optimised one, say) would be tested in place of this one.

#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <string>

TEST(GameFolder, EveryStagedProgramWasBuiltInThisTree) {
    const std::string mark = std::string("beamworks build tree: ") + BEAMWORKS_BINARY_DIR + '\0';
    for (const char* program : {"beamworks", "beamworks-check"}) {
        const std::string bytes = readFile(std::string(BEAMWORKS_GAME_DIR) + "/" + program);
        ASSERT_FALSE(bytes.empty()) << program << " is not staged in " << BEAMWORKS_GAME_DIR;
        EXPECT_NE(bytes.find(mark), std::string::npos)
            << BEAMWORKS_GAME_DIR << "/" << program << " was not built in " << BEAMWORKS_BINARY_DIR;
    }
}
