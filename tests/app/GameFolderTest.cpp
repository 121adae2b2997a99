// The game folder a test drives belongs to the test's own build tree: a game staged by another
// build (the optimised one, say) would be tested in place of this one.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

TEST(GameFolder, EveryStagedProgramWasBuiltInThisTree) {
    const std::string mark = std::string("beamworks build tree: ") + BEAMWORKS_BINARY_DIR + '\0';
    for (const char* program : {"beamworks", "beamworks-check"}) {
        std::ifstream in(std::string(BEAMWORKS_GAME_DIR) + "/" + program, std::ios::binary);
        ASSERT_TRUE(in) << program << " is not staged in " << BEAMWORKS_GAME_DIR;
        const std::string bytes{std::istreambuf_iterator<char>(in), {}};
        EXPECT_NE(bytes.find(mark), std::string::npos)
            << BEAMWORKS_GAME_DIR << "/" << program << " was not built in " << BEAMWORKS_BINARY_DIR;
    }
}
