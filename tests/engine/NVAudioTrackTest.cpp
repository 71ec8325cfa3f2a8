#include "engine/NVAudioTrack.h"
#include "tests/support/NVTestEnvironment.h"

#include <gtest/gtest.h>

namespace
{
    float ramp(int channel, int i) { return (channel == 0 ? 1.0f : -1.0f) * (float) (i + 1) / 1000.0f; }
    float constant(int, int) { return 0.25f; }

    struct AudioFiles : ::testing::Test
    {
        void SetUp() override
        {
            folder = NVTest::freshHome().getChildFile("clips");
            folder.createDirectory();
            ASSERT_TRUE(NVTest::writeAudioFile(stereoWav(), 2, 100, 44100, ramp));
            ASSERT_TRUE(NVTest::writeAudioFile(monoAiff(), 1, 50, 44100, constant));
        }
        juce::File stereoWav() const { return folder.getChildFile("take.WAV"); }
        juce::File monoAiff() const { return folder.getChildFile("loop.aif"); }
        juce::File folder;
    };
}

TEST_F(AudioFiles, ClipsWithTheSamePathShareOneReader)
{
    NVAudioTrack track(1);
    track.addAudioFile(0, 100, stereoWav().getFullPathName());
    track.addAudioFile(200, 300, stereoWav().getFullPathName());
    track.addAudioFile(400, 450, monoAiff().getFullPathName());
    ASSERT_EQ(track.getNumClips(), 3);
    EXPECT_EQ(track.getNumReaders(), 2);
    EXPECT_EQ(track.getClip(0).reader, track.getClip(1).reader);
    EXPECT_NE(track.getClip(2).reader, nullptr);

    track.clearEvents(); // drops the clips and deletes each reader once
    EXPECT_EQ(track.getNumClips(), 0);
    EXPECT_EQ(track.getNumReaders(), 0);
    EXPECT_EQ(track.getSamples(), nullptr);
}

TEST_F(AudioFiles, WholeTrackPlacesEveryClipFromTheStartOfItsFile)
{
    NVAudioTrack track(0);
    track.addAudioFile(10, 60, stereoWav().getFullPathName());  // the first 50 samples of the file
    track.addAudioFile(100, 160, monoAiff().getFullPathName()); // longer than the file: silence after it

    auto all = track.getSamples();
    ASSERT_NE(all, nullptr);
    EXPECT_EQ(all->getNumChannels(), 2);
    EXPECT_EQ(all->getNumSamples(), 160);
    EXPECT_EQ(all->getSample(0, 9), 0.0f);
    EXPECT_NEAR(all->getSample(0, 10), 0.001f, 1e-5);
    EXPECT_NEAR(all->getSample(1, 59), -0.050f, 1e-5);
    EXPECT_EQ(all->getSample(0, 60), 0.0f);
    EXPECT_NEAR(all->getSample(0, 100), 0.25f, 1e-5);
    EXPECT_NEAR(all->getSample(1, 149), 0.25f, 1e-5); // a mono file fills both channels
    EXPECT_EQ(all->getSample(0, 150), 0.0f);
}

TEST_F(AudioFiles, WholeTrackCoversClipsAddedOutOfOrder)
{
    NVAudioTrack track(0);
    track.addAudioFile(300, 350, monoAiff().getFullPathName());
    track.addAudioFile(0, 100, stereoWav().getFullPathName());
    auto all = track.getSamples();
    ASSERT_NE(all, nullptr);
    EXPECT_EQ(all->getNumSamples(), 350);
    EXPECT_NEAR(all->getSample(0, 349), 0.25f, 1e-5);
}

TEST_F(AudioFiles, SingleClip)
{
    NVAudioTrack track(1);
    track.addAudioFile(500, 520, monoAiff().getFullPathName());
    track.addAudioFile(0, 30, stereoWav().getFullPathName());

    auto mono = track.getSamples(0);
    ASSERT_NE(mono, nullptr);
    EXPECT_EQ(mono->getNumChannels(), 1);
    EXPECT_EQ(mono->getNumSamples(), 20);

    auto stereo = track.getSamples(1);
    ASSERT_NE(stereo, nullptr);
    EXPECT_EQ(stereo->getNumChannels(), 2);
    EXPECT_NEAR(stereo->getSample(1, 29), -0.030f, 1e-5);

    EXPECT_EQ(track.getSamples(2), nullptr);
    EXPECT_EQ(track.getSamples(-1), nullptr);
}

TEST_F(AudioFiles, UnreadableFileGivesASilentClip)
{
    const auto bogus = folder.getChildFile("noise.wav");
    bogus.replaceWithText("not audio at all");
    NVAudioTrack track(0);
    track.addAudioFile(0, 40, bogus.getFullPathName());
    track.addAudioFile(40, 80, folder.getChildFile("missing.aif").getFullPathName());
    EXPECT_EQ(track.getNumClips(), 2);
    EXPECT_EQ(track.getNumReaders(), 0);
    EXPECT_EQ(track.getSamples(0), nullptr);
    auto all = track.getSamples();
    ASSERT_NE(all, nullptr);
    EXPECT_EQ(all->getMagnitude(0, all->getNumSamples()), 0.0f);
}
