#include "engine/NVPlayHead.h"

#include <gtest/gtest.h>

TEST(NVPlayHead, PositionRecordAndLatency)
{
    NVPlayHead head;
    head.start(90.0);
    head.setNewPosition(8.0);
    const double now = head.getCurrentPosition();
    EXPECT_GE(now, 8.0);
    EXPECT_LT(now, 8.0 + 90.0 / 60.0); // less than a second has passed

    juce::AudioPlayHead::PositionInfo info;
    EXPECT_TRUE(head.getCurrentPosition(info));
    EXPECT_EQ(*info.getBpm(), 90.0);
    EXPECT_EQ(info.getTimeSignature()->numerator, 4);
    EXPECT_EQ(info.getTimeSignature()->denominator, 4);
    EXPECT_EQ(*info.getTimeInSeconds(), 0.0);
    EXPECT_EQ(*info.getPpqPosition(), *info.getPpqPositionOfLastBarStart());
    EXPECT_FALSE(info.getIsPlaying());

    // Latency moves the start later: the position falls behind, never wraps around.
    head.setNewPosition(0.0);
    head.addLatency(2000);
    EXPECT_LT(head.getCurrentPosition(), 0.0);
    EXPECT_LT(head.getCurrentSample(44100.0), 0.0);

    head.setNewPosition(4.0);
    head.setNewBPM(240.0);
    EXPECT_EQ(head.getTempo(), 240.0);
    EXPECT_GE(head.getCurrentPosition(), 4.0);
}
