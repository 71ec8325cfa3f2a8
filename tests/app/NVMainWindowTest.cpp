#include "app/NVMainWindow.h"

#include <gtest/gtest.h>

TEST(NVMainWindowPlacement, StoredBoundsMustLieWhollyInsideTheUserArea)
{
    const juce::Rectangle<int> area(0, 0, 1280, 800);
    struct Case { juce::Rectangle<int> stored; bool used; };
    const Case cases[] = {
        { { 100, 100, 700, 500 }, true },
        { { 0, 0, 1280, 800 }, true },       // exactly the user area
        { { 491, 100, 790, 539 }, false },   // one pixel past the right edge
        { { 490, 100, 790, 539 }, true },    // touching the right edge
        { { -1, 100, 790, 539 }, false },    // left of the display
        { { 100, -1, 790, 539 }, false },    // above it
        { { 100, 262, 790, 539 }, false },   // one pixel below the bottom
        { { 100, 100, 0, 539 }, false },     // no width: never stored
        { { 0, 0, 0, 0 }, false },
    };
    for (const auto& c : cases)
    {
        const auto result = NVMainWindow::usableStoredBounds(c.stored, area);
        EXPECT_EQ(result.has_value(), c.used) << c.stored.toString();
        if (result)
            EXPECT_EQ(*result, c.stored);
    }

    // A display whose user area does not start at the origin.
    const juce::Rectangle<int> offset(0, 30, 1280, 770);
    EXPECT_FALSE(NVMainWindow::usableStoredBounds({ 10, 10, 100, 100 }, offset));
    EXPECT_TRUE(NVMainWindow::usableStoredBounds({ 10, 30, 100, 100 }, offset));
}
