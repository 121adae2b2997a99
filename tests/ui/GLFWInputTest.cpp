// The input adapter: two first-in, first-out queues that the program fills and Guichan drains.

#include "ui/GLFWInput.h"

#include <gtest/gtest.h>
#include <guichan/exception.hpp>

namespace {

gcn::MouseInput mouse(unsigned int type, int x, int y, int time = 0) {
    return gcn::MouseInput(gcn::MouseInput::LEFT, type, x, y, time);
}

TEST(GLFWInput, NewAdapterHasEmptyQueues) {
    gcn::GLFWInput input;
    EXPECT_TRUE(input.isMouseQueueEmpty());
    EXPECT_TRUE(input.isKeyQueueEmpty());
}

TEST(GLFWInput, MouseEventsComeOutInPushOrderWithAllFields) {
    gcn::GLFWInput input;
    input.pushMouseInput(
        gcn::MouseInput(gcn::MouseInput::EMPTY, gcn::MouseInput::MOVED, 10, 20, 3));
    input.pushMouseInput(mouse(gcn::MouseInput::PRESSED, 30, 40, 4));
    input.pushMouseInput(mouse(gcn::MouseInput::RELEASED, 31, 41, 5));
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
    EXPECT_EQ(second.getX(), 30);

    EXPECT_EQ(input.dequeueMouseInput().getType(), unsigned(gcn::MouseInput::RELEASED));
    EXPECT_TRUE(input.isMouseQueueEmpty());
    // Pushing only mouse events leaves the key queue alone.
    EXPECT_TRUE(input.isKeyQueueEmpty());
}

TEST(GLFWInput, QueueRefillsAfterBeingDrained) {
    gcn::GLFWInput input;
    input.pushMouseInput(mouse(gcn::MouseInput::MOVED, 1, 1));
    input.dequeueMouseInput();
    input.pushMouseInput(mouse(gcn::MouseInput::MOVED, 2, 2));
    EXPECT_EQ(input.dequeueMouseInput().getX(), 2);
}

TEST(GLFWInput, DequeueingAnEmptyMouseQueueThrows) {
    gcn::GLFWInput input;
    input.pushMouseInput(mouse(gcn::MouseInput::MOVED, 1, 1));
    input.dequeueMouseInput();
    try {
        input.dequeueMouseInput();
        FAIL() << "no exception";
    } catch (const gcn::Exception& e) {
        EXPECT_EQ(e.getMessage(), "The queue is empty.");
        EXPECT_EQ(e.getFunction(), "gcn::GLFWInput::dequeueMouseInput");
        EXPECT_NE(e.getFilename().find("GLFWInput.cpp"), std::string::npos);
        EXPECT_GT(e.getLine(), 0u);
    }
}

TEST(GLFWInput, KeyQueueIsAlwaysEmptyAndDequeueingItThrows) {
    gcn::GLFWInput input;
    input._pollInput(); // polling adds nothing
    EXPECT_TRUE(input.isKeyQueueEmpty());
    try {
        input.dequeueKeyInput();
        FAIL() << "no exception";
    } catch (const gcn::Exception& e) {
        EXPECT_EQ(e.getMessage(), "The queue is empty.");
        EXPECT_EQ(e.getFunction(), "gcn::GLFWInput::dequeueKeyInput");
    }
}

} // namespace
