#include "engine/AudioRecorder.h"
#include "engine/NVLoopContent.h"
#include "engine/NVManager.h"
#include "engine/NVRecording.h"
#include "engine/NVScriptedDialogs.h"
#include "model/TWComposition.h"
#include "model/TWCompositionsMgr.h"
#include "model/TWRhythmicCycle.h"
#include "tests/engine/NVFakeAudioDevice.h"
#include "tests/engine/NVSongFixture.h"
#include "tests/support/NVTestEnvironment.h"

#include <juce_audio_formats/juce_audio_formats.h>

#include <gtest/gtest.h>

namespace
{
    constexpr double kRate = 44100.0;
    constexpr int kBlock = 512;
    constexpr float kQuantum = 2.0f / 32768.0f; // 16-bit files

    // What the first input channel carries at an absolute sample index.
    float ramp(juce::int64 k) { return (float) ((k % 4000) - 2000) / 4000.0f; }

    NVTest::Sound readBack(const juce::File& file) { return NVTest::readAudioFile(file); }

    // A new song with a soundtrack track (0) and a voice track (1).
    struct RecordingTest : NVSongFixture
    {
        void SetUp() override { ASSERT_NO_FATAL_FAILURE(startSong({ "Audio", "Audio" })); }

        // The device starts: the engine is prepared and the recorder learns the rate and latency.
        void startDevice()
        {
            engine->prepareToPlay(kBlock, kRate);
            engine->getAudioRecorder().audioDeviceAboutToStart(&device);
        }

        // One device cycle: the recorder's callback, then the engine's, as the
        // device manager calls them; channel 0 carries the ramp, channel 1 -0.5.
        void cycle()
        {
            juce::AudioBuffer<float> input(2, kBlock), output(2, kBlock), engineBlock(2, kBlock);
            for (int i = 0; i < kBlock; ++i)
            {
                input.setSample(0, i, ramp(sample + i));
                input.setSample(1, i, -0.5f);
            }
            output.applyGain(0.0f);
            engine->getAudioRecorder().audioDeviceIOCallbackWithContext(
                input.getArrayOfReadPointers(), 2, output.getArrayOfWritePointers(), 2, kBlock, {});
            EXPECT_EQ(output.getMagnitude(0, kBlock), 0.0f); // the recorder's outputs are cleared
            engineBlock.makeCopyOf(input);
            engine->getNextAudioBlock(juce::AudioSourceChannelInfo(&engineBlock, 0, kBlock));
            sample += kBlock;
            juce::Thread::sleep(1); // the writer thread keeps up as with a real device
        }

        void play(int blocks)
        {
            engine->setPlaybackMode(kPlaying);
            for (int b = 0; b < blocks; ++b)
                cycle();
            engine->setPlaybackMode(kStopped);
        }

        juce::File take() const { return temp.getChildFile("audio_input.aif"); }

        NVFakeAudioDevice device { kRate, kBlock, 100, 50 };
        juce::int64 sample = 0;
    };
}

TEST_F(RecordingTest, TheTakeStartsOnTheSixteenthBeforeTheCursorUnlessALoopLiesThere)
{
    startDevice();
    EXPECT_EQ(engine->getRecordingStartPosition(), -1);
    EXPECT_EQ(engine->getRecordingStartX(), -1);

    struct Case { bool loopUnderCursor; juce::int64 start; };
    for (const Case c : { Case { false, 600 }, Case { true, 690 } }) // the cursor is at tick 690
    {
        if (c.loopUnderCursor)
        {
            GetCompositionsMgr()->AddTrackItem(1, 4, 8)->SetUnderlyingName("RZ100000.aif");
            ASSERT_EQ(engine->refreshTrackLoops(1), 1);
        }
        engine->setCurrentPos(1.4375);
        engine->setRecordingAudioTrack(1);
        EXPECT_EQ(engine->getRecordingAudioTrack(), 1);
        EXPECT_EQ(engine->getRecordingStartPosition(), c.start);
        EXPECT_EQ(engine->getRecordingStartX(), (int) (c.start * 60 / 480));
        EXPECT_DOUBLE_EQ(engine->getCurrentPos(), (double) c.start / 480.0); // the cursor jumps there
        EXPECT_EQ(engine->getLoopRangeStartX(), engine->getRecordingStartX());
        engine->setRecordingAudioTrack(-1);
        EXPECT_EQ(engine->getRecordingStartPosition(), -1);
    }
}

TEST_F(RecordingTest, TakesDropTheLatencyAndKeepTheirLengthInMono)
{
    startDevice();
    struct Case { int additionalMs; int stopX; int blocks; int skipped; int length; };
    const Case cases[] = {
        // Device latency 100 + 50, plus 10 ms = 441 samples; recording begins with the
        // block after the one that reaches the start tick.
        { 10, 0, 100, 591, 99 * kBlock - 591 },
        // A stop one bar (1920 ticks, 240 pixels) after the start at 120 bpm: 2 s.
        { 0, 240, 250, 150, 88200 },
    };
    for (const auto& c : cases)
    {
        engine->getSettings().additionalLatency = c.additionalMs;
        engine->setLoopRangeEndX(c.stopX);
        engine->setCurrentPos(0.0);
        sample = 0;
        engine->setRecordingAudioTrack(1);
        play(c.blocks);
        engine->setRecordingAudioTrack(-1);
        EXPECT_EQ(engine->getRecordingAudioTrack(), -1);
        EXPECT_DOUBLE_EQ(engine->getRecording().getLastTakeLength(), c.length);

        const auto recorded = readBack(take());
        EXPECT_EQ(recorded.channels, 1); // mono, although the device delivers two channels
        EXPECT_EQ(recorded.bits, 16);
        EXPECT_EQ(recorded.rate, kRate);
        ASSERT_EQ(recorded.samples.getNumSamples(), c.length) << c.additionalMs;
        for (int i : { 0, 1, 777, c.length - 1 })
            EXPECT_NEAR(recorded.samples.getSample(0, i), ramp(kBlock + c.skipped + i), kQuantum) << i;
    }
}

TEST_F(RecordingTest, StoppingBeforeAnythingWasRecordedLeavesNoTake)
{
    struct Case { const char* what; bool device; int startX; };
    const Case cases[] = {
        { "the start tick is never reached", true, 960 },
        { "no device runs", false, 0 },
    };
    for (const auto& c : cases)
    {
        if (c.device)
            startDevice();
        else
            engine->getAudioRecorder().audioDeviceStopped();
        take().replaceWithText("an old take");
        engine->setCurrentPos(0.0);
        engine->setRecordingAudioTrack(1);
        engine->setLoopRangeStartX(c.startX);
        play(10);
        engine->setRecordingAudioTrack(-1);
        EXPECT_FALSE(take().exists()) << c.what;
        EXPECT_LE(engine->getRecording().getLastTakeLength(), 0.0) << c.what;
    }
}

namespace
{
    float baseValue(int channel, int) { return channel == 0 ? 0.1f : 0.2f; }
    float otherValue(int channel, int i) { return channel == 0 ? 0.3f + (float) i / 10000.0f : -0.3f; }
}

TEST_F(RecordingTest, MergingWritesOneFileOverTheOtherOrAppendsItsTail)
{
    startDevice();
    const auto stereoBase = home.getChildFile("base.wav");
    const auto monoBase = home.getChildFile("base.aif");
    const auto monoOther = home.getChildFile("other.aif");
    const auto stereoOther = home.getChildFile("other.wav");
    ASSERT_TRUE(NVTest::writeAudioFile(stereoBase, 2, 1000, kRate, baseValue));
    ASSERT_TRUE(NVTest::writeAudioFile(monoBase, 1, 1000, kRate, baseValue));
    ASSERT_TRUE(NVTest::writeAudioFile(monoOther, 1, 300, kRate, otherValue));
    ASSERT_TRUE(NVTest::writeAudioFile(stereoOther, 2, 300, kRate, otherValue));

    struct Probe { int channel; int index; float value; };
    struct Case { juce::File base; juce::File other; int offset; bool tail; int length; int channels; std::vector<Probe> probes; };
    const Case cases[] = {
        { stereoBase, monoOther, 200, false, 1000, 2,
          { { 0, 199, 0.1f }, { 1, 199, 0.2f }, { 0, 200, 0.3f }, { 1, 200, 0.3f }, // mono: channel 0 twice
            { 0, 499, 0.3299f }, { 0, 500, 0.1f }, { 1, 999, 0.2f } } },
        { stereoBase, monoOther, 900, false, 1200, 2,
          { { 0, 899, 0.1f }, { 0, 900, 0.3f }, { 1, 1000, 0.31f }, { 0, 1199, 0.3299f } } },
        { stereoBase, monoOther, 100, true, 1200, 2,
          { { 0, 999, 0.1f }, { 1, 999, 0.2f }, { 0, 1000, 0.31f }, { 1, 1199, 0.3299f } } },
        { monoBase, stereoOther, 0, false, 1000, 2,
          { { 0, 0, 0.3f }, { 1, 0, -0.3f }, { 0, 300, 0.1f }, { 1, 300, 0.1f } } }, // base's channel 0 twice
        { monoBase, stereoOther, 1000, true, 1000, 2, // an offset past the other's end appends nothing
          { { 1, 999, 0.1f } } },
    };
    int number = 100000;
    for (const auto& c : cases)
    {
        const auto path = engine->mergeAudioFile(c.base.getFullPathName(), c.other.getFullPathName(), c.offset, c.tail);
        EXPECT_EQ(path, temp.getChildFile("RZ" + juce::String(number++) + ".aif").getFullPathName());
        const auto merged = readBack(juce::File(path));
        EXPECT_EQ(merged.rate, kRate);
        EXPECT_EQ(merged.bits, 16);
        ASSERT_EQ(merged.channels, c.channels) << c.offset;
        ASSERT_EQ(merged.samples.getNumSamples(), c.length) << c.offset;
        for (const auto& p : c.probes)
            EXPECT_NEAR(merged.samples.getSample(p.channel, p.index), p.value, kQuantum)
                << c.offset << " " << p.channel << " " << p.index;
    }
    EXPECT_EQ(engine->mergeAudioFile(stereoBase.getFullPathName(), home.getChildFile("none.aif").getFullPathName(), 0, false), "");
}

namespace
{
    float tone(int channel, int i) { return 0.3f * std::sin(0.03f * (float) i + (float) channel); }

    bool encode(const juce::File& in, const juce::File& out)
    {
        juce::ChildProcess lame;
        if (!lame.start(juce::StringArray { "lame", "--quiet", "-b", "320", in.getFullPathName(), out.getFullPathName() }, 0))
            return false;
        lame.waitForProcessToFinish(20000);
        return out.getSize() > 0;
    }
}

TEST_F(RecordingTest, AnMP3SoundtrackBecomesAWavFile)
{
    const auto source = home.getChildFile("tone.aif");
    const auto mp3 = home.getChildFile("tone.mp3");
    ASSERT_TRUE(NVTest::writeAudioFile(source, 2, 44100, kRate, tone));
    if (!encode(source, mp3))
        GTEST_SKIP() << "needs lame";

    struct Case { double deviceRate; double wavRate; };
    for (const Case c : { Case { 0.0, kRate }, Case { 48000.0, 48000.0 } }) // without a device: the MP3's own rate
    {
        if (c.deviceRate > 0.0)
            engine->prepareToPlay(kBlock, c.deviceRate);
        dialogs = NVScriptedDialogs();
        const auto path = engine->uncompressMP3(mp3.getFullPathName());
        ASSERT_TRUE(path.endsWith(".wav")) << path;
        const juce::File wav(path);
        EXPECT_TRUE(wav.isAChildOf(juce::File::getSpecialLocation(juce::File::tempDirectory)));
        const auto decoded = readBack(wav);
        EXPECT_EQ(decoded.channels, 2);
        EXPECT_EQ(decoded.bits, 16);
        EXPECT_EQ(decoded.rate, c.wavRate);
        EXPECT_GE(decoded.samples.getNumSamples(), 44100); // the decoder keeps the encoder's padding
        EXPECT_LT(decoded.samples.getNumSamples(), 44100 + 3 * 1152);
        EXPECT_GT(decoded.samples.getMagnitude(0, decoded.samples.getNumSamples()), 0.2f);
        const std::vector<juce::String> progress { "show Uncompressing...: Uncompressing file tone...", "hide" };
        EXPECT_EQ(dialogs.getProgress(), progress);
        wav.deleteFile();
    }

    for (const char* text : { "this is no MP3 file at all", "" })
    {
        const auto garbage = home.getChildFile("broken.mp3");
        garbage.replaceWithText(text);
        dialogs = NVScriptedDialogs();
        EXPECT_EQ(engine->uncompressMP3(garbage.getFullPathName()), "");
        ASSERT_EQ(dialogs.getProgress().size(), 2u);
        EXPECT_EQ(dialogs.getProgress().back(), "hide");
    }
    EXPECT_EQ(engine->uncompressMP3(home.getChildFile("missing.mp3").getFullPathName()), "");
}

namespace
{
    float oldA(int, int) { return 0.1f; }
    float oldB(int, int) { return 0.2f; }
}

TEST_F(RecordingTest, TakesBecomeLoopsOrAreWrittenOverTheLoopsTheyOverlap)
{
    startDevice();
    const auto inbox = home.getChildFile("inbox");
    inbox.createDirectory();
    ASSERT_TRUE(NVTest::writeAudioFile(inbox.getChildFile("A.aif"), 1, 44100, kRate, oldA)); // 8 quarter beats
    ASSERT_TRUE(NVTest::writeAudioFile(inbox.getChildFile("B.aif"), 1, 88200, kRate, oldB)); // 16 quarter beats

    struct Case
    {
        const char* what;
        std::vector<std::pair<int, const char*>> loops; // start in quarter beats, file
        double cursor;                                   // beats
        int blocks;
        int expectedStart;
        const char* expectedName;
    };
    const Case cases[] = {
        { "a free range: a new loop on the sixteenth", {}, 1.4375, 60, 5, "New recording" },
        { "punched into a loop, out in the gap after it", { { 0, "A.aif" } }, 0.5, 200, 0, "A" },
        { "punched into a loop, out inside the next one", { { 0, "A.aif" }, { 16, "B.aif" } }, 0.5, 222, 0, "A" },
        { "over a whole loop, out inside the next one", { { 4, "A.aif" }, { 16, "B.aif" } }, 0.25, 222, 1, "New recording" },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        engine->setSongModified(false);
        ASSERT_NE(engine->newSong(), nullptr);
        ASSERT_EQ(engine->appendTrack("Audio"), 0);
        ASSERT_EQ(engine->appendTrack("Audio"), 1);
        for (const auto& [start, file] : c.loops)
            ASSERT_TRUE(engine->dragFileToTrack(1, start * 15, inbox.getChildFile(file).getFullPathName(),
                                                juce::File(file).getFileNameWithoutExtension(), 0, true, false));
        engine->getUndoManager().clearUndoHistory();
        auto* track = engine->getTrack(1);
        std::vector<std::pair<int, juce::String>> before;
        for (int i = 0; i < track->getNumLoops(); ++i)
            before.push_back({ track->getLoop(i)->start, track->getLoop(i)->name });

        engine->setCurrentPos(c.cursor);
        sample = 0;
        engine->setRecordingAudioTrack(1);
        const auto startTick = engine->getRecordingStartPosition();
        engine->setPlaybackMode(kPlaying);
        for (int b = 0; b < c.blocks; ++b)
            cycle();
        engine->setPlaybackMode(kStopped);
        engine->setRecordingAudioTrack(-1);
        const auto recorded = readBack(take());
        ASSERT_GT(recorded.samples.getNumSamples(), 0);

        ASSERT_TRUE(engine->saveAudioRecording(1, false));
        EXPECT_FALSE(take().exists());
        ASSERT_EQ(track->getNumLoops(), 1);
        const auto* loop = track->getLoop(0);
        EXPECT_EQ(loop->start, c.expectedStart);
        EXPECT_EQ(loop->name, c.expectedName);
        const auto kept = readBack(juce::File(engine->getLoopContent().getLoopFilePath(1, 0)));
        EXPECT_EQ(kept.channels, 1);

        // Where the take lies in the kept file, and what surrounds it.
        const int takeAt = c.loops.empty() ? 0 : engine->getSamplesFromTicks(startTick - loop->start * 120);
        const int takeLength = recorded.samples.getNumSamples();
        for (int i : { 0, 1, takeLength / 2, takeLength - 1 })
            EXPECT_NEAR(kept.samples.getSample(0, takeAt + i), recorded.samples.getSample(0, i), kQuantum) << i;
        if (takeAt > 0)
        {
            EXPECT_NEAR(kept.samples.getSample(0, takeAt - 1), 0.1f, kQuantum);
        }
        if (c.loops.size() == 2)
        {
            // B's rest follows, in its own place: the loop ends where B did.
            EXPECT_EQ(kept.samples.getNumSamples() + engine->getSamplesFromTicks(loop->start * 120),
                      engine->getSamplesFromTicks(32 * 120));
            EXPECT_NEAR(kept.samples.getSample(0, kept.samples.getNumSamples() - 1), 0.2f, kQuantum);
            EXPECT_NEAR(kept.samples.getSample(0, takeAt + takeLength), 0.2f, kQuantum);
        }
        else
        {
            EXPECT_EQ(kept.samples.getNumSamples(), juce::jmax(takeAt + takeLength, c.loops.empty() ? 0 : 44100));
        }

        // One undo puts the old loops back.
        ASSERT_TRUE(engine->getUndoManager().undo());
        std::vector<std::pair<int, juce::String>> after;
        for (int i = 0; i < track->getNumLoops(); ++i)
            after.push_back({ track->getLoop(i)->start, track->getLoop(i)->name });
        EXPECT_EQ(after, before);
    }
}

TEST_F(RecordingTest, KeepingATakeCanBeDeclined)
{
    startDevice();
    engine->setCurrentPos(0.0);
    engine->setRecordingAudioTrack(1);
    play(40);
    engine->setRecordingAudioTrack(-1);
    ASSERT_TRUE(take().existsAsFile());
    for (const char* answer : { "No", "Cancel" })
    {
        dialogs.answerNext(answer);
        EXPECT_FALSE(engine->saveAudioRecording(1, true));
        EXPECT_EQ(dialogs.getQuestions().back().title, "Save recording");
        EXPECT_EQ(engine->getTrack(1)->getNumLoops(), 0);
    }
    dialogs.answerNext("Yes");
    EXPECT_TRUE(engine->saveAudioRecording(1, true));
    EXPECT_EQ(engine->getTrack(1)->getNumLoops(), 1);
    EXPECT_FALSE(engine->saveAudioRecording(1, false)); // the take is gone
    EXPECT_FALSE(engine->saveAudioRecording(5, false));
}

TEST_F(RecordingTest, StopKeepsTheTake)
{
    startDevice();
    engine->setCurrentPos(0.0);
    engine->setRecordingAudioTrack(1);
    engine->setPlaybackMode(kPlaying);
    for (int b = 0; b < 40; ++b)
        cycle();
    EXPECT_TRUE(engine->stopRecording());
    EXPECT_EQ(engine->getPlaybackMode(), kStopped);
    EXPECT_EQ(engine->getRecordingAudioTrack(), -1);
    ASSERT_EQ(engine->getTrack(1)->getNumLoops(), 1);
    EXPECT_EQ(engine->getTrack(1)->getLoop(0)->name, "New recording");
    EXPECT_FALSE(engine->stopRecording()); // nothing armed
}
