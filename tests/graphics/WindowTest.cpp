#include <gtest/gtest.h>

#include "Graphics.h"
#include "GraphicsTestSupport.h"

TEST_F(GraphicsWindowTest, OpensWindowOfRequestedClientSize) {
    int width = 0;
    int height = 0;
    GetWindowSize(&width, &height);
    EXPECT_EQ(width, windowWidth);
    EXPECT_EQ(height, windowHeight);
    EXPECT_TRUE(messages->empty());
}
