// A take recorded through a real audio server. Run by jack_recording_test.sh,
// which starts a JACK server with the dummy backend and a client named in
// NADAVO_TEST_FEEDER playing a 1 kHz tone at half scale.
#include "engine/AudioRecorder.h"
#include "engine/NVAudioFileIO.h"
#include "engine/NVLoopContent.h"
#include "engine/NVManager.h"
#include "engine/NVScriptedDialogs.h"
#include "tests/support/NVTestEnvironment.h"

#include <gtest/gtest.h>

namespace
{
    float silence(int, int) { return 0.0f; }
}

TEST(JackRecording, ATakeHoldsWhatTheServerFedIn)
{
    const auto feeder = juce::SystemStats::getEnvironmentVariable("NADAVO_TEST_FEEDER", {});
    ASSERT_TRUE(feeder.isNotEmpty()) << "run through jack_recording_test.sh";
    const auto home = NVTest::freshHome();
    NVScriptedDialogs dialogs;
    auto* engine = NVManager::getInstance();
    engine->setDialogHost(&dialogs);
    engine->initialiseAudio();

    // The feeder's outputs become the program's inputs.
    auto& devices = engine->getDeviceManager();
    ASSERT_NE(devices.getCurrentAudioDevice(), nullptr);
    ASSERT_EQ(devices.getCurrentAudioDevice()->getTypeName(), "JACK");
    devices.getCurrentDeviceTypeObject()->scanForDevices();
    auto setup = devices.getAudioDeviceSetup();
    setup.inputDeviceName = feeder;
    ASSERT_EQ(devices.setAudioDeviceSetup(setup, true), juce::String());
    auto* device = devices.getCurrentAudioDevice();
    ASSERT_NE(device, nullptr);
    ASSERT_EQ(device->getActiveInputChannels().countNumberOfSetBits(), 2);
    const double rate = device->getCurrentSampleRate();
    ASSERT_EQ(engine->getSampleRate(), rate);

    // A soundtrack song of 16 beats, as New makes it.
    const auto soundtrack = home.getChildFile("backing.wav");
    ASSERT_TRUE(NVTest::writeAudioFile(soundtrack, 2, (int) (8 * rate), rate, silence));
    ASSERT_TRUE(engine->newSoundtrackSong(soundtrack.getFullPathName()));

    // Record from beat 2 for about three seconds.
    engine->getSettings().additionalLatency = 10;
    engine->setCurrentPos(2.0);
    engine->setRecordingAudioTrack(1);
    EXPECT_EQ(engine->getRecordingStartPosition(), 960);
    engine->setPlaybackMode(kPlaying);
    juce::Thread::sleep(3000);
    const double latency = engine->getAudioRecorder().getDeviceLatency() + 441.0;
    ASSERT_TRUE(engine->stopRecording());

    auto* voice = engine->getTrack(1);
    ASSERT_EQ(voice->getNumLoops(), 1);
    EXPECT_EQ(voice->getLoop(0)->name, "New recording");
    EXPECT_EQ(voice->getLoop(0)->start, 8); // beat 2, in quarter beats
    const auto file = juce::File(engine->getLoopContent().getLoopFilePath(1, 0));
    EXPECT_EQ(file.getParentDirectory().getFullPathName(), engine->getCurrentGroovesTempFolder(false));
    EXPECT_FALSE(file.getSiblingFile("audio_input.aif").exists());

    juce::AudioBuffer<float> take;
    double takeRate = 0.0;
    ASSERT_TRUE(NVAudioFileIO::readLoopFile(file, take, &takeRate));
    EXPECT_EQ(take.getNumChannels(), 1); // mono
    EXPECT_EQ(takeRate, rate);
    const double seconds = take.getNumSamples() / rate;
    EXPECT_GT(seconds, 2.0);
    EXPECT_LT(seconds, 3.5 - latency / rate);

    // The tone from its first sample on: the latency was skipped, not recorded as silence.
    const int n = take.getNumSamples();
    EXPECT_GT(take.getMagnitude(0, 0, juce::jmin(n, 64)), 0.3f);
    EXPECT_NEAR(take.getRMSLevel(0, 0, n), 0.5f / std::sqrt(2.0f), 0.03f);
    int crossings = 0;
    for (int i = 1; i < n; ++i)
        crossings += (take.getSample(0, i - 1) < 0.0f) != (take.getSample(0, i) < 0.0f) ? 1 : 0;
    EXPECT_NEAR(crossings / seconds, 2000.0, 40.0); // 1 kHz

    NVManager::kill();
}
