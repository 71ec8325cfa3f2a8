#include "app/NVMainWindow.h"
#include "engine/NVManager.h"
#include "engine/NVScriptedDialogs.h"
#include "tests/support/NVTestEnvironment.h"

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
        {
            EXPECT_EQ(*result, c.stored);
        }
    }

    // A display whose user area does not start at the origin.
    const juce::Rectangle<int> offset(0, 30, 1280, 770);
    EXPECT_FALSE(NVMainWindow::usableStoredBounds({ 10, 10, 100, 100 }, offset));
    EXPECT_TRUE(NVMainWindow::usableStoredBounds({ 10, 30, 100, 100 }, offset));
}

TEST(NVMainWindowClose, StopsPlaybackAndAsksAboutAModifiedSong)
{
    NVTest::freshHome();
    NVScriptedDialogs dialogs;
    auto& engine = *NVManager::getInstance();
    engine.setDialogHost(&dialogs);
    engine.newSong();

    engine.setPlaybackMode(kPlaying);
    EXPECT_TRUE(NVMainWindow::confirmClose(engine)); // unmodified: no question
    EXPECT_EQ(engine.getPlaybackMode(), kStopped);
    EXPECT_TRUE(dialogs.getQuestions().empty());

    engine.setSongModified(true);
    dialogs.answerNext("Cancel");
    EXPECT_FALSE(NVMainWindow::confirmClose(engine));
    ASSERT_EQ(dialogs.getQuestions().size(), 1u);
    EXPECT_EQ(dialogs.getQuestions()[0].title, "Song was modified");

    dialogs.answerNext("No");
    EXPECT_TRUE(NVMainWindow::confirmClose(engine));
    EXPECT_EQ(dialogs.getQuestions().size(), 2u);
    NVManager::kill();
}
