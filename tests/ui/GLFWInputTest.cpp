// The input adapter: a first-in, first-out mouse queue that the program fills and Guichan drains,
// and a key queue that stays empty.

#include "ui/GLFWInput.h"

#include <gtest/gtest.h>
#include <guichan/exception.hpp>

namespace {

// The order and contents of the events are tested with the whole interface's clicks.
TEST(GLFWInput, EmptyQueuesThrowAndTheMouseQueueRefills) {
    gcn::GLFWInput input;
    EXPECT_TRUE(input.isMouseQueueEmpty());
    EXPECT_THROW(input.dequeueMouseInput(), gcn::Exception);
    input.pushMouseInput(gcn::MouseInput(0, gcn::MouseInput::MOVED, 2, 3, 4));
    EXPECT_FALSE(input.isMouseQueueEmpty());
    EXPECT_EQ(input.dequeueMouseInput().getY(), 3);
    EXPECT_TRUE(input.isMouseQueueEmpty());
    // Keys never arrive, polling included.
    input._pollInput();
    EXPECT_TRUE(input.isKeyQueueEmpty());
    EXPECT_THROW(input.dequeueKeyInput(), gcn::Exception);
}

} // namespace
