#include "rules/RoomReach.h"
#include "support/LevelText.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(RoomReach, FromTheFarthestPlaceOfTheEyeToTheFarthestCornerOfTheRoom) {
    // The eye can stand 300, 400 and 1200 from the far sides of the room in tests/data.
    const std::string room = readFile(std::string(BEAMWORKS_SOURCE_DIR) + "/tests/data/reach.txt");
    const struct {
        const char* what;
        std::string more;
        double low, high;
    } cases[] = {
        {"an eye anywhere 10 or more from the walls", "@ CAM\n# Pos 100;200;500;\n", 1300, 1300},
        {"an eye that starts 5 from a wall may stay there", "@ CAM\n# Pos -145;0;0;\n",
         std::hypot(305.0, 400, 1200), std::hypot(305.0, 400, 1200)},
        {"a turned slab through the right wall counts whole", "@ WAL\n# Pos 160;0;0;\n# YRo 30;\n",
         1310, 1400},
        {"an eye outside the walls", "@ CAM\n# Pos 0;300;0;\n", INFINITY, INFINITY},
    };
    for (const auto& c : cases) {
        const double farthest = farthestRoomDistance(*levelFromText(room + c.more));
        EXPECT_GE(farthest, c.low - 0.01) << c.what;
        EXPECT_LE(farthest, c.high + 0.01) << c.what;
    }
}
