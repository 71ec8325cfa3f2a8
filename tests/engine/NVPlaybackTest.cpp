#include "engine/NVAudioTrack.h"
#include "engine/NVMidiTrack.h"
#include "engine/NVPlayHead.h"
#include "engine/NVPlayback.h"
#include "engine/NVSong.h"
#include "sound/NVInstrument.h"
#include "tests/engine/NVFakeEngine.h"
#include "tests/support/NVTestEnvironment.h"

#include <gtest/gtest.h>

namespace
{
    constexpr double kRate = 44100.0;
    constexpr int kBlock = 512;

    // A song at 120 bpm with full master volume, played block by block at 44.1 kHz.
    struct PlaybackTest : ::testing::Test
    {
        PlaybackTest() : song(1.0f, "", 0.0f, 120, 4), device(2, kBlock)
        {
            playback.prepare(kRate, kBlock);
        }

        // One device block; the buffer starts out holding `input` on every channel.
        void render(float input = 0.0f)
        {
            for (int c = 0; c < device.getNumChannels(); ++c)
                juce::FloatVectorOperations::fill(device.getWritePointer(c), input, kBlock);
            playback.renderBlock(juce::AudioSourceChannelInfo(&device, 0, kBlock), &song);
        }

        NVMidiTrack* addMidiTrack(NVFakeEngine*& engine, int outputs = 2)
        {
            auto* track = new NVMidiTrack();
            song.appendTrack(track);
            engine = new NVFakeEngine(outputs);
            track->setPlugin(engine, kRate, kBlock);
            track->prepareToPlay(kRate, kBlock);
            return track;
        }

        NVSong song;
        NVPlayback playback;
        juce::AudioBuffer<float> device;
    };

    std::vector<juce::MidiMessage> messagesAt(const std::vector<NVFakeEngine::Event>& block, int offset)
    {
        std::vector<juce::MidiMessage> result;
        for (auto& e : block)
            if (e.offset == offset)
                result.push_back(e.message);
        return result;
    }

    int pitchWheelOf(const std::vector<NVFakeEngine::Event>& block)
    {
        for (auto& e : block)
            if (e.message.isPitchWheel())
                return e.message.getPitchWheelValue();
        return -1;
    }

    int controller(const std::vector<NVFakeEngine::Event>& block, int number)
    {
        int value = -1;
        for (auto& e : block)
            if (e.message.isControllerOfType(number))
                value = e.message.getControllerValue();
        return value;
    }
}

TEST_F(PlaybackTest, ProcessLockSilencesEveryModeEvenMonitoring)
{
    NVFakeEngine* engine = nullptr;
    addMidiTrack(engine)->addMessage(0, 0x90, 60, 100);
    playback.setRecordingTrack(1);
    playback.setProcessLocked(true);
    for (auto mode : { kStopped, kPlaying, kPreviewing, kAuditioning, kPlayingNoRecord })
    {
        playback.setMode(mode, &song);
        render(0.7f);
        EXPECT_EQ(device.getMagnitude(0, kBlock), 0.0f) << mode;
    }
    EXPECT_TRUE(engine->blocks.empty());
}

TEST_F(PlaybackTest, StoppedPassesTheInputOnlyWhileATrackIsArmed)
{
    render(0.7f);
    EXPECT_EQ(device.getMagnitude(0, kBlock), 0.0f);
    playback.setRecordingTrack(1);
    render(0.7f);
    EXPECT_FLOAT_EQ(device.getSample(1, 100), 0.7f);
}

TEST_F(PlaybackTest, PreviewPlaysToItsEndThenStops)
{
    struct Case { int length; int blocksBeforeStop; };
    for (const Case c : { Case { 1000, 2 }, Case { 1024, 3 } }) // a position equal to the length does not stop yet
    {
        juce::AudioBuffer<float> preview(1, c.length);
        for (int i = 0; i < c.length; ++i)
            preview.setSample(0, i, (float) (i + 1) / 2048.0f);
        playback.setPreviewBuffer(&preview);
        playback.setPosition(0, 0, 0.0);
        playback.setMode(kPreviewing, &song);

        render();
        EXPECT_FLOAT_EQ(device.getSample(0, 0), 1.0f / 2048.0f);
        EXPECT_FLOAT_EQ(device.getSample(1, 511), 512.0f / 2048.0f); // mono preview on both channels
        EXPECT_EQ(playback.getPlayPosition(), 512u);
        render();
        const int rest = juce::jmin(kBlock, c.length - kBlock);
        EXPECT_FLOAT_EQ(device.getSample(0, rest - 1), (float) c.length / 2048.0f);
        if (rest < kBlock)
        {
            EXPECT_EQ(device.getMagnitude(0, rest, kBlock - rest), 0.0f);
        }
        for (int b = 2; b < c.blocksBeforeStop; ++b)
        {
            EXPECT_EQ(playback.getMode(), kPreviewing) << c.length;
            render();
            EXPECT_EQ(device.getMagnitude(0, kBlock), 0.0f);
        }
        EXPECT_EQ(playback.getMode(), kStopped) << c.length;
        EXPECT_EQ(playback.getPlayPosition(), 0u);
        EXPECT_EQ(playback.getPositionInBeats(), 0.0);
    }
    playback.setPreviewBuffer(nullptr);
    playback.setMode(kPreviewing, &song);
    render(0.3f);
    EXPECT_EQ(device.getMagnitude(0, kBlock), 0.0f); // no preview: silence
}

TEST_F(PlaybackTest, RecordingStartsOnlyOnAVoiceTrackFromItsStartTick)
{
    struct Case { int track; juce::int64 start; juce::int64 stop; TLPlaybackMode mode; bool records; };
    const Case cases[] = {
        { 1, 0, 0, kPlaying, true },
        { 0, 0, 0, kPlaying, false },          // the soundtrack is never recorded
        { -1, 0, 0, kPlaying, false },
        { 1, 0, 0, kPlayingNoRecord, false },
        { 1, 4800, 0, kPlaying, false },       // not yet at the start tick
        { 1, 0, 960, kPlaying, true },
    };
    for (const auto& c : cases)
    {
        playback.clearRecorderStart();
        playback.resetLevelRing();
        playback.setSamplesPerLevelEntry(128);
        playback.setRecordingTrack(c.track);
        playback.setRecordingTicks(c.start, c.stop);
        playback.setPosition(0, 0, 0.0);
        playback.setMode(c.mode, &song);
        render(-0.25f);
        EXPECT_EQ(playback.recorderShouldRun(), c.records) << c.track << " " << c.start;
        EXPECT_EQ(playback.getLevelRingIndex(), c.records ? 4 : 0);
        if (c.records)
        {
            EXPECT_FLOAT_EQ(playback.getLevelRing()[0], 0.5f); // two channels of |-0.25|
        }
    }
}

TEST_F(PlaybackTest, BlocksAdvanceTicksSamplesAndBeatsTogether)
{
    playback.setMode(kPlaying, &song);
    render();
    EXPECT_EQ(playback.getLastTick(), 11); // 480 * 2 * 512 / 44100 = 11.15
    EXPECT_EQ(playback.getPlayPosition(), 512u);
    EXPECT_DOUBLE_EQ(playback.getPositionInBeats(), 11.0 / 480.0);
    render();
    EXPECT_EQ(playback.getLastTick(), 22);
    EXPECT_EQ(playback.getPlayPosition(), 1024u);
}

TEST_F(PlaybackTest, MidiTrackBlockCarriesControllersAndEventsAtTheirOffsets)
{
    NVFakeEngine* engine = nullptr;
    auto* track = addMidiTrack(engine);
    track->setPan(0.5f);
    track->addMessage(0, 0x90, 60, 100);
    track->addMessage(5, 0x80, 60, 0);
    track->addMessage(11, 0x90, 62, 100); // exactly the first block's end tick
    playback.setMode(kPlaying, &song);
    render();

    ASSERT_EQ(engine->blocks.size(), 1u);
    const auto& first = engine->blocks[0];
    const int expected[][2] = { { 10, 63 }, { 101, 0 }, { 100, 0 }, { 6, 8 }, { 101, 127 }, { 100, 127 } };
    ASSERT_GE(first.size(), 6u);
    for (int i = 0; i < 6; ++i)
    {
        EXPECT_EQ(first[(size_t) i].offset, 0);
        EXPECT_EQ(first[(size_t) i].message.getChannel(), 1);
        EXPECT_TRUE(first[(size_t) i].message.isControllerOfType(expected[i][0])) << i;
        EXPECT_EQ(first[(size_t) i].message.getControllerValue(), expected[i][1]) << i;
    }
    EXPECT_EQ(pitchWheelOf(first), -1); // not a drum kit
    EXPECT_EQ(messagesAt(first, 0).size(), 8u); // six controllers, the note and the volume
    ASSERT_EQ(messagesAt(first, 512 * 5 / 11).size(), 1u);
    EXPECT_TRUE(messagesAt(first, 512 * 5 / 11)[0].isNoteOff());
    EXPECT_EQ(controller(first, 7), 127);

    render();
    ASSERT_EQ(engine->blocks.size(), 2u);
    bool found = false;
    for (auto& e : engine->blocks[1])
        if (e.message.isNoteOn())
            found = e.offset == 0 && e.message.getNoteNumber() == 62;
    EXPECT_TRUE(found) << "the event at the end tick plays at the start of the next block";
}

TEST_F(PlaybackTest, PitchShiftAndVolume)
{
    NVInstrument kit;
    kit.drumKit = true;
    NVInstrument keys;

    struct Case { NVInstrument* instrument; int shift; float volume; int volumeController; int wheel; int note; int cc7; };
    const Case cases[] = {
        { &kit, 12, 1.0f, -1, 16383, 60, 127 },   // 12 * 16383 / 16 + 8191 clamps to 16383
        { &kit, -12, 1.0f, -1, 0, 60, 127 },
        { &kit, 0, 1.0f, -1, 8191, 60, 127 },
        { &kit, 1, 1.0f, -1, 9214, 60, 127 },
        { &keys, 2, 0.5f, -1, -1, 62, 100 },      // 80 * 0.5 + 60
        { &keys, -3, 1.0f, 64, -1, 57, 100 },     // 80 * 64 / 127 = 40.3 -> 40, + 60
    };
    for (const auto& c : cases)
    {
        NVSong fresh(1.0f, "", 0.0f, 120, 4);
        auto* track = new NVMidiTrack();
        fresh.appendTrack(track);
        auto* engine = new NVFakeEngine();
        track->setPlugin(engine, kRate, kBlock);
        track->setInstrument(c.instrument);
        track->setPitchShift(c.shift);
        track->setVolume(c.volume);
        if (c.volumeController >= 0)
        {
            auto cc = juce::MidiMessage::controllerEvent(1, 7, c.volumeController);
            cc.setTimeStamp(0);
            track->addMessage(cc);
        }
        auto bend = juce::MidiMessage::pitchWheel(1, 100);
        bend.setTimeStamp(1);
        track->addMessage(bend);
        track->addMessage(2, 0x90, 60, 90);

        NVPlayback p;
        p.prepare(kRate, kBlock);
        p.setMode(kPlaying, &fresh);
        p.renderBlock(juce::AudioSourceChannelInfo(&device, 0, kBlock), &fresh);
        ASSERT_EQ(engine->blocks.size(), 1u);
        const auto& block = engine->blocks[0];

        int wheels = 0, note = -1;
        for (auto& e : block)
        {
            wheels += e.message.isPitchWheel() ? 1 : 0;
            if (e.message.isNoteOn())
                note = e.message.getNoteNumber();
        }
        if (c.wheel >= 0)
        {
            EXPECT_EQ(pitchWheelOf(block), c.wheel) << c.shift;
            EXPECT_EQ(wheels, c.shift != 0 ? 1 : 2) << "a shifted kit drops its loops' pitch wheel";
        }
        else
        {
            EXPECT_EQ(wheels, 1) << "other instruments keep their pitch wheel";
        }
        EXPECT_EQ(note, c.note);
        EXPECT_EQ(controller(block, 7), c.cc7);
    }
}

TEST_F(PlaybackTest, SilentAndMutedMidiTracksDoNotCallTheirEngines)
{
    NVFakeEngine* idle = nullptr;
    addMidiTrack(idle); // no events
    NVFakeEngine* muted = nullptr;
    auto* track = addMidiTrack(muted);
    track->addMessage(0, 0x90, 60, 100);
    track->setMute(true);
    playback.setMode(kPlaying, &song);
    render();
    EXPECT_TRUE(idle->blocks.empty());
    EXPECT_TRUE(muted->blocks.empty());
    EXPECT_EQ(device.getMagnitude(0, kBlock), 0.0f);
}

TEST_F(PlaybackTest, MonoEngineOnAStereoDeviceFillsOnlyTheFirstChannel)
{
    NVFakeEngine* engine = nullptr;
    addMidiTrack(engine, 1)->addMessage(0, 0x90, 60, 100);
    playback.setMode(kPlaying, &song);
    render();
    EXPECT_FLOAT_EQ(device.getSample(0, 10), 0.5f);
    EXPECT_EQ(device.getMagnitude(1, 0, kBlock), 0.0f);
}

TEST_F(PlaybackTest, MasterVolumeAndLevel)
{
    NVFakeEngine* engine = nullptr;
    addMidiTrack(engine)->addMessage(0, 0x90, 60, 100);
    song.setVolume(0.5f);
    playback.setMode(kPlayingNoRecord, &song);
    render();
    EXPECT_FLOAT_EQ(device.getSample(1, 300), 0.25f);
    EXPECT_EQ(song.getTrack(0)->getLevel(), 21); // 0.5 * 42, before the master volume
    EXPECT_EQ(playback.getMasterLevel(), 17);    // 0.25 * 70
}

namespace
{
    float leftHalf(int channel, int) { return channel == 0 ? 0.5f : 0.25f; }

    struct AudioPlayback : PlaybackTest
    {
        void SetUp() override
        {
            file = NVTest::freshHome().getChildFile("take.wav");
            ASSERT_TRUE(NVTest::writeAudioFile(file, 2, 4000, kRate, leftHalf));
        }

        // Renders blocks from sample 0 and returns the left and right value at each block's start.
        std::vector<std::pair<float, float>> play(NVAudioTrack* track, int blocks)
        {
            track->prepareToPlay(kRate, kBlock);
            playback.setPosition(0, 0, 0.0);
            playback.setMode(kPlaying, &song);
            std::vector<std::pair<float, float>> starts;
            for (int b = 0; b < blocks; ++b)
            {
                render();
                starts.emplace_back(device.getSample(0, 0), device.getSample(1, 0));
            }
            return starts;
        }
        juce::File file;
    };
}

TEST_F(AudioPlayback, AClipIsHeardFromTheFirstBlockThatStartsInsideIt)
{
    for (int trackIndex : { 0, 1 }) // the soundtrack's track and another
    {
        if (trackIndex == 1)
            song.appendTrack(new NVAudioTrack());
        auto* track = new NVAudioTrack(trackIndex);
        song.appendTrack(track);
        track->addAudioFile(1000, 3000, file.getFullPathName());
        track->setVolume(0.8f);

        const auto starts = play(track, 7);
        EXPECT_EQ(starts[0].first, 0.0f);
        EXPECT_EQ(starts[1].first, 0.0f);        // 512: before the clip
        EXPECT_NEAR(starts[2].first, 0.4f, 1e-4); // 1024: inside it
        EXPECT_NEAR(starts[2].second, 0.2f, 1e-4);
        EXPECT_NEAR(starts[5].first, 0.4f, 1e-4); // 2560: 440 samples left of the clip
        EXPECT_EQ(starts[6].first, 0.0f);         // 3072: after the clip
        while (song.getNumTracks() > 0)
            song.removeTrack(0);
    }
}

TEST_F(AudioPlayback, PanMuteAndVolume)
{
    auto* track = new NVAudioTrack(1);
    song.appendTrack(new NVAudioTrack());
    song.appendTrack(track);
    track->addAudioFile(0, 4000, file.getFullPathName());

    struct Case { float pan; float volume; bool mute; float left; float right; };
    const Case cases[] = {
        { 0.5f, 1.0f, false, 0.5f, 0.25f },
        { 0.0f, 1.0f, false, 0.5f, 0.0f },
        { 1.0f, 1.0f, false, 0.0f, 0.25f },
        { 0.25f, 0.5f, false, 0.25f, 0.0625f }, // right gain min(1, 0.5)
        { 0.5f, 1.0f, true, 0.0f, 0.0f },
    };
    for (const auto& c : cases)
    {
        track->setPan(c.pan);
        track->setVolume(c.volume);
        track->setMute(c.mute);
        const int levelBefore = track->getLevel();
        const auto starts = play(track, 1);
        EXPECT_NEAR(starts[0].first, c.left, 1e-4) << c.pan;
        EXPECT_NEAR(starts[0].second, c.right, 1e-4) << c.pan;
        // A muted track renders nothing and its meter keeps its last level.
        const int expectedLevel = c.mute ? levelBefore : (int) (juce::jmax(c.left, c.right) * 42.0f);
        EXPECT_EQ(track->getLevel(), expectedLevel) << c.pan;
    }
}

TEST_F(PlaybackTest, WithoutAPreviewBufferTheAuditionTrackPlaysFromItsTick)
{
    NVMidiTrack audition(-1);
    NVPlayHead head;
    head.start(120.0);
    NVFakeEngine engine; // lent: the audition track never deletes it
    audition.setPlugin(&engine, kRate, kBlock);
    audition.prepareToPlay(kRate, kBlock);
    audition.addMessage(0, 0x90, 40, 100);
    audition.addMessage(965, 0x90, 41, 100);
    playback.setAudition(&audition, &head);

    playback.setMode(kPreviewing, &song);
    playback.setLoopEditorTick(960.0);
    render();
    ASSERT_EQ(engine.blocks.size(), 1u);
    int notes = 0;
    for (auto& e : engine.blocks[0])
    {
        if (e.message.isNoteOn())
        {
            ++notes;
            EXPECT_EQ(e.message.getNoteNumber(), 41); // the note of tick 0 lies before the start
            EXPECT_EQ(e.offset, 512 * 5 / 11);
        }
    }
    EXPECT_EQ(notes, 1);
    EXPECT_NEAR(playback.getLoopEditorTick(), 960.0 + 960.0 * 512 / kRate, 1e-9);
    EXPECT_FLOAT_EQ(device.getSample(0, 511), 0.5f);

    head.setNewBPM(60.0); // the tempo field of the loop editor
    const double before = playback.getLoopEditorTick();
    render();
    EXPECT_NEAR(playback.getLoopEditorTick() - before, 480.0 * 512 / kRate, 1e-9);

    playback.setMode(kStopped, &song);
    render();
    EXPECT_EQ(engine.blocks.size(), 2u); // stopped: not called any more
    audition.setPlugin(nullptr, 0.0, 0);
}
