#include "engine/NVExport.h"
#include "engine/NVManager.h"
#include "engine/NVScriptedDialogs.h"
#include "model/TWComposition.h"
#include "model/TWCompositionsMgr.h"
#include "model/TWRhythmicCycle.h"
#include "tests/engine/NVSongFixture.h"
#include "tests/support/NVTestEnvironment.h"

#include <juce_audio_formats/juce_audio_formats.h>

#include <gtest/gtest.h>

namespace
{
    constexpr double kRate = 44100.0;
    constexpr int kBlock = 512;

    float half(int, int) { return 0.5f; }

    using Bounced = NVTest::Sound;
    Bounced readBack(const juce::File& file) { return NVTest::readAudioFile(file); }

    // Index of the first sample of either channel above `threshold` in magnitude, or -1.
    int firstSound(const juce::AudioBuffer<float>& b, int from = 0)
    {
        for (int i = from; i < b.getNumSamples(); ++i)
            for (int c = 0; c < b.getNumChannels(); ++c)
                if (std::abs(b.getSample(c, i)) > 1.0e-4f)
                    return i;
        return -1;
    }

    void writeBeatMidi(const juce::File& file)
    {
        juce::MidiMessageSequence track;
        for (int beat = 0; beat < 4; ++beat)
        {
            auto on = juce::MidiMessage::noteOn(1, 38, (juce::uint8) 110);
            on.setTimeStamp(beat * 480);
            track.addEvent(on);
            auto off = juce::MidiMessage::noteOff(1, 38);
            off.setTimeStamp(beat * 480 + 240);
            track.addEvent(off);
        }
        EXPECT_TRUE(NVTest::writeMidiFile(file, track));
    }

    // A new song with an audio track (0) and a tabla track (1), no loops yet.
    struct ExportTest : NVSongFixture
    {
        void SetUp() override { ASSERT_NO_FATAL_FAILURE(startSong({ "Audio", "Tabla" })); }

        // A loop placed and the track's events rebuilt.
        void place(int track, int start, int length, const char* file)
        {
            NVSongFixture::place(track, start, length, file);
            ASSERT_TRUE(engine->refreshTrackEvents(track));
        }

        Bounced bounce(const juce::String& name = "mix.aif")
        {
            const auto file = home.getChildFile(name);
            EXPECT_TRUE(engine->bounceSongAsAudioFile(file, true, kRate, kBlock)) << engine->getExport().getLastError();
            return readBack(file);
        }
    };
}

TEST_F(ExportTest, TheBounceCoversTheSongInWholeBlocks)
{
    // 7680 ticks at about 11.146 ticks per block: 690 blocks.
    ASSERT_TRUE(NVTest::writeAudioFile(temp.getChildFile("RZ100000.wav"), 2, 30000, kRate, half));
    place(0, 48, 16, "RZ100000.wav"); // the song ends at quarter beat 64: 16 beats
    const auto mix = bounce();
    EXPECT_EQ(mix.channels, 2);
    EXPECT_EQ(mix.bits, 16);
    EXPECT_EQ(mix.rate, kRate);
    EXPECT_EQ(mix.samples.getNumSamples(), 690 * kBlock);
    EXPECT_EQ(engine->getMinimumNrOfBeats(), 16);
}

TEST_F(ExportTest, ASongWithoutLoopsIsFourBeatsOfSilence)
{
    const auto mix = bounce();
    EXPECT_EQ(mix.samples.getNumSamples(), 173 * kBlock); // 1920 ticks: 172.3 blocks, rounded up
    EXPECT_EQ(mix.samples.getMagnitude(0, mix.samples.getNumSamples()), 0.0f);
}

TEST_F(ExportTest, AnAudioLoopIsHeardFromTheFirstBlockInsideIt)
{
    ASSERT_TRUE(NVTest::writeAudioFile(temp.getChildFile("RZ100000.wav"), 2, 30000, kRate, half));
    place(0, 4, 4, "RZ100000.wav"); // samples 22050 to 44100
    const auto mix = bounce();
    const float level = 0.5f * engine->getCurrentSong()->getVolume();
    EXPECT_EQ(firstSound(mix.samples), 22528); // the block after the one the clip starts in
    EXPECT_NEAR(mix.samples.getSample(0, 22528), level, 1.0e-4);
    EXPECT_NEAR(mix.samples.getSample(1, 44099), level, 1.0e-4);
    EXPECT_EQ(firstSound(mix.samples, 44100), -1);
}

TEST_F(ExportTest, MutedTracksAreSilent)
{
    ASSERT_TRUE(NVTest::writeAudioFile(temp.getChildFile("RZ100000.wav"), 2, 30000, kRate, half));
    writeBeatMidi(temp.getChildFile("RZ100001.mid"));
    place(0, 0, 4, "RZ100000.wav");  // beat 0 to 1
    place(1, 16, 16, "RZ100001.mid"); // beats 4 to 8
    struct Case { bool muteAudio; bool muteTabla; bool audioHeard; bool tablaHeard; };
    const Case cases[] = {
        { false, false, true, true },
        { true, false, false, true },
        { false, true, true, false },
        { true, true, false, false },
    };
    for (const auto& c : cases)
    {
        engine->setMuteTrack(0, c.muteAudio);
        engine->setMuteTrack(1, c.muteTabla);
        const auto mix = bounce();
        ASSERT_EQ(mix.samples.getNumSamples(), 345 * kBlock); // 8 beats
        EXPECT_EQ(mix.samples.getMagnitude(0, 22050) > 0.1f, c.audioHeard) << c.muteAudio << c.muteTabla;
        EXPECT_EQ(mix.samples.getMagnitude(88200, 88200) > 0.01f, c.tablaHeard) << c.muteAudio << c.muteTabla;
        EXPECT_EQ(mix.samples.getMagnitude(22528, 88000 - 22528), 0.0f);
    }
}

TEST_F(ExportTest, FailuresAreReportedAndLeaveThePositionAndLockAsTheyWere)
{
    engine->prepareToPlay(kBlock, kRate);
    engine->setCurrentPos(2.5);
    const auto folder = home.getChildFile("folder");
    ASSERT_TRUE(folder.getChildFile("inside").create());
    const auto samples = engine->getPlayPositionSamples();

    struct Case { const char* what; juce::File file; double rate; bool lockedBefore; };
    const Case cases[] = {
        { "a folder in place of the file", folder, kRate, false },
        { "a folder that does not exist", home.getChildFile("missing/mix.aif"), kRate, false },
        { "no sample rate", home.getChildFile("mix.aif"), 0.0, false },
        { "already locked", folder, kRate, true },
    };
    for (const auto& c : cases)
    {
        if (c.lockedBefore)
            engine->lockProcess();
        EXPECT_FALSE(engine->bounceSongAsAudioFile(c.file, true, c.rate, kBlock)) << c.what;
        EXPECT_TRUE(engine->getExport().getLastError().isNotEmpty()) << c.what;
        EXPECT_EQ(engine->isProcessLocked(), c.lockedBefore) << c.what;
        EXPECT_EQ(engine->getPlayPositionSamples(), samples) << c.what;
        EXPECT_DOUBLE_EQ(engine->getCurrentPos(), 2.5) << c.what;
        engine->unlockProcess();
    }
    EXPECT_FALSE(home.getChildFile("mix.aif").exists());

    // A successful bounce puts the position back too, and plays at the device's rate.
    EXPECT_TRUE(engine->bounceSongAsAudioFile(home.getChildFile("mix.aif"), true));
    EXPECT_FALSE(engine->isProcessLocked());
    EXPECT_EQ(engine->getPlayPositionSamples(), samples);
    EXPECT_EQ(readBack(home.getChildFile("mix.aif")).rate, kRate);
}

TEST_F(ExportTest, WithoutADeviceTheDevicesRateCannotBeUsed)
{
    const auto file = home.getChildFile("mix.aif");
    EXPECT_FALSE(engine->bounceSongAsAudioFile(file, true));
    EXPECT_FALSE(file.exists());
    EXPECT_FALSE(engine->isProcessLocked());
}

namespace
{
    // Runs a program and answers its standard output; empty when it fails.
    juce::String run(const juce::StringArray& command)
    {
        juce::ChildProcess process;
        if (!process.start(command, juce::ChildProcess::wantStdOut))
            return {};
        const auto output = process.readAllProcessOutput();
        process.waitForProcessToFinish(10000);
        return process.getExitCode() == 0 ? output : juce::String();
    }

    bool onPath(const juce::String& program)
    {
        return run({ "sh", "-c", "command -v " + program }).isNotEmpty();
    }

    // An encoder that writes its arguments, one a line, next to itself, writes
    // a byte into its last argument and ends with `exitCode`.
    juce::File fakeEncoder(const juce::File& folder, int exitCode)
    {
        const auto script = folder.getChildFile("fake lame");
        script.replaceWithText("#!/bin/sh\n"
                               "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > \""
                               + folder.getChildFile("arguments.txt").getFullPathName() + "\"\n"
                               "for a in \"$@\"; do last=\"$a\"; done\n"
                               "printf x > \"$last\"\n"
                               "exit " + juce::String(exitCode) + "\n",
                               false, false, "\n");
        script.setExecutePermission(true);
        return script;
    }
}

TEST_F(ExportTest, TheEncoderGetsTheBounceAndTheTarget)
{
    EXPECT_EQ(NVExport::encoderArguments("/t/audiotomp3.aif", "/m/My Song.mp3"),
              "-b 320 \"/t/audiotomp3.aif\" \"/m/My Song.mp3\"");

    const auto folder = home.getChildFile("My Songs");
    folder.createDirectory();
    const auto arguments = folder.getChildFile("arguments.txt");
    const auto target = folder.getChildFile("Take \"one\".MP3");
    const auto scratch = engine->getExport().getMP3ScratchFile();
    EXPECT_EQ(scratch.getFullPathName(), temp.getFullPathName() + "/audiotomp3.aif");

    struct Case { int exitCode; NVExport::Encoder mode; bool reported; };
    const Case cases[] = {
        { 0, NVExport::Encoder::waitForResult, true },
        { 3, NVExport::Encoder::waitForResult, false }, // the waiting mode reports the failure
        { 3, NVExport::Encoder::start, true },          // the window's mode does not wait
    };
    for (const auto& c : cases)
    {
        engine->getSettings().lamePath = fakeEncoder(folder, c.exitCode).getFullPathName();
        arguments.deleteFile();
        target.replaceWithText("an older export");
        scratch.deleteFile();
        EXPECT_EQ(engine->getExport().exportSong(target, c.mode, kRate, kBlock), c.reported)
            << c.exitCode << engine->getExport().getLastError();
        if (c.exitCode != 0 && c.mode == NVExport::Encoder::waitForResult)
        {
            EXPECT_TRUE(engine->getExport().getLastError().contains("exit code 3"));
        }
        for (int i = 0; i < 500 && target.loadFileAsString() != "x"; ++i) // the script's last step
            juce::Thread::sleep(10);
        juce::StringArray lines;
        lines.addLines(arguments.loadFileAsString());
        lines.removeEmptyStrings();
        const juce::StringArray expected { "-b", "320", scratch.getFullPathName(), target.getFullPathName() };
        EXPECT_EQ(lines, expected) << c.exitCode;
        EXPECT_EQ(readBack(scratch).samples.getNumSamples(), 173 * kBlock);
        EXPECT_EQ(target.loadFileAsString(), "x"); // the older file was deleted first
    }
}

TEST_F(ExportTest, AMissingEncoderWritesNothing)
{
    engine->getSettings().lamePath = home.getChildFile("no/lame").getFullPathName();
    const auto target = home.getChildFile("song.mp3");
    EXPECT_FALSE(engine->exportSong(target, NVExport::Encoder::start));
    EXPECT_FALSE(engine->getExport().exportSong(target, NVExport::Encoder::waitForResult, kRate, kBlock));
    EXPECT_TRUE(engine->getExport().getLastError().contains("not found"));
    EXPECT_FALSE(target.exists());
    EXPECT_FALSE(engine->getExport().getMP3ScratchFile().exists());
}

TEST_F(ExportTest, OtherNamesAreBouncedStraightIntoTheTarget)
{
    engine->getSettings().lamePath = home.getChildFile("no/lame").getFullPathName();
    const auto target = home.getChildFile("song.mp3.aif");
    EXPECT_TRUE(engine->getExport().exportSong(target, NVExport::Encoder::start, kRate, kBlock));
    EXPECT_EQ(readBack(target).samples.getNumSamples(), 173 * kBlock);
}

TEST_F(ExportTest, LameMakesAnMP3ThatAnotherDecoderReads)
{
    if (!onPath("lame") || !onPath("soxi"))
        GTEST_SKIP() << "needs lame and sox";
    ASSERT_TRUE(NVTest::writeAudioFile(temp.getChildFile("RZ100000.wav"), 2, 30000, kRate, half));
    place(0, 48, 16, "RZ100000.wav");
    engine->getSettings().lamePath = NVUserSettings::defaultLAMEPath; // found on the PATH when missing there
    const auto target = home.getChildFile("song.mp3");
    EXPECT_FALSE(engine->exportSong(target, NVExport::Encoder::start)); // no device: no rate
    ASSERT_TRUE(engine->getExport().exportSong(target, NVExport::Encoder::waitForResult, kRate, kBlock))
        << engine->getExport().getLastError();

    const auto seconds = run({ "soxi", "-D", target.getFullPathName() }).trim();
    if (seconds.isEmpty())
        GTEST_SKIP() << "this sox reads no MP3 files";
    EXPECT_NEAR(seconds.getDoubleValue(), 690 * kBlock / kRate, 0.1); // the encoder pads a little
}
