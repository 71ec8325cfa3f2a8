#include "engine/NVTimeUnits.h"

#include <gtest/gtest.h>

using namespace NVTimeUnits;

TEST(NVTimeUnits, PixelsAndTicks)
{
    struct Case { int x; int beatWidth; int64_t ticks; };
    const Case cases[] = {
        { 0, 60, 0 },
        { 60, 60, 480 },
        { 1, 60, 8 },
        { 7, 60, 56 },
        { 1, 70, 6 },     // 6.857 truncates
        { -1, 70, -6 },   // toward zero
        { 200, 200, 480 },
        { 13, 10, 624 },
    };
    for (const auto& c : cases)
        EXPECT_EQ(ticksFromPixels(c.x, c.beatWidth), c.ticks) << c.x << " px at " << c.beatWidth;

    EXPECT_EQ(pixelsFromTicks(480, 60), 60);
    EXPECT_EQ(pixelsFromTicks(479, 60), 59);
    EXPECT_EQ(pixelsFromTicks(120, 70), 17); // 17.5 truncates
    EXPECT_EQ(ticksFromPixels(10, 0), 0);    // no division by zero
    EXPECT_FLOAT_EQ(signatureWidth(60), 15.0f);
    EXPECT_FLOAT_EQ(signatureWidth(10), 2.5f);
}

TEST(NVTimeUnits, SamplesAndTicks)
{
    struct Case { int64_t ticks; double rate; double tempo; int32_t samples; };
    const Case cases[] = {
        { 480, 44100, 120, 22050 },   // one beat at 120 bpm is half a second
        { 1, 44100, 120, 45 },        // 45.9375 truncates
        { 960, 48000, 60, 96000 },
        { 0, 44100, 120, 0 },
        { 100, 0, 120, 0 },           // no device
    };
    for (const auto& c : cases)
        EXPECT_EQ(samplesFromTicks(c.ticks, c.rate, c.tempo), c.samples) << c.ticks;

    EXPECT_EQ(ticksFromSamples(22050, 44100, 120), 480);
    EXPECT_EQ(ticksFromSamples(45, 44100, 120), 1);    // 0.9796 rounds to 1
    EXPECT_EQ(ticksFromSamples(22, 44100, 120), 0);    // 0.479 rounds to 0
    EXPECT_EQ(ticksFromSamples(1000, 0, 120), 0);      // no device
    EXPECT_EQ(samplesFromTicks(0, 44100, 0), 0);       // no tempo

    EXPECT_EQ(ticksFromBeats(1.5), 720);
    EXPECT_EQ(ticksFromBeats(0.0010417), 1);           // 0.5 tick rounds up
}

TEST(NVTimeUnits, PlayCursor)
{
    EXPECT_EQ(playCursorX(60, 2.5), 150);
    EXPECT_EQ(playCursorX(60, 0.99), 59);
    EXPECT_EQ(playCursorX(60, -3.0), 0); // never negative
    EXPECT_EQ(playCursorMax(32, 60), 1920);
}
