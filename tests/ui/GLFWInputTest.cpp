// The input adapter: a first-in, first-out mouse queue that the program fills and Guichan drains,
// and a key queue that stays empty.

#include "ui/GLFWInput.h"

#include <gtest/gtest.h>
#include <guichan/exception.hpp>

namespace {

TEST(GLFWInput, MouseEventsComeOutInPushOrderAndEmptyQueuesThrow) {
    gcn::GLFWInput input;
    EXPECT_TRUE(input.isMouseQueueEmpty());
    input.pushMouseInput(
        gcn::MouseInput(gcn::MouseInput::EMPTY, gcn::MouseInput::MOVED, 10, 20, 3));
    input.pushMouseInput(
        gcn::MouseInput(gcn::MouseInput::LEFT, gcn::MouseInput::PRESSED, 30, 40, 4));
    EXPECT_FALSE(input.isMouseQueueEmpty());
    const gcn::MouseInput first = input.dequeueMouseInput();
    EXPECT_EQ(first.getType(), unsigned(gcn::MouseInput::MOVED));
    EXPECT_EQ(first.getButton(), unsigned(gcn::MouseInput::EMPTY));
    EXPECT_EQ(first.getX(), 10);
    EXPECT_EQ(first.getY(), 20);
    EXPECT_EQ(first.getTimeStamp(), 3);
    const gcn::MouseInput second = input.dequeueMouseInput();
    EXPECT_EQ(second.getType(), unsigned(gcn::MouseInput::PRESSED));
    EXPECT_EQ(second.getButton(), unsigned(gcn::MouseInput::LEFT));
    EXPECT_TRUE(input.isMouseQueueEmpty());
    EXPECT_THROW(input.dequeueMouseInput(), gcn::Exception);
    // The queue refills; keys never arrive, polling included.
    input.pushMouseInput(gcn::MouseInput(0, gcn::MouseInput::MOVED, 2, 2, 0));
    EXPECT_EQ(input.dequeueMouseInput().getX(), 2);
    input._pollInput();
    EXPECT_TRUE(input.isKeyQueueEmpty());
    EXPECT_THROW(input.dequeueKeyInput(), gcn::Exception);
}

} // namespace
