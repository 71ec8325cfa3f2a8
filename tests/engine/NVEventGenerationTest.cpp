#include "engine/NVAudioTrack.h"
#include "engine/NVManager.h"
#include "engine/NVScriptedDialogs.h"
#include "model/TWComposition.h"
#include "model/TWCompositionsMgr.h"
#include "model/TWInstrumentTrack.h"
#include "model/TWRhythmicCycle.h"
#include "tests/engine/NVSongFixture.h"
#include "tests/support/NVTestEnvironment.h"

#include <gtest/gtest.h>

namespace
{
    struct Note { int tick; juce::MidiMessage message; };

    // Writes a one-track MIDI file at 480 ticks per quarter note.
    void writeMidi(const juce::File& file, const std::vector<Note>& notes, int endTick)
    {
        juce::MidiMessageSequence track;
        for (auto n : notes)
        {
            n.message.setTimeStamp(n.tick);
            track.addEvent(n.message);
        }
        auto end = juce::MidiMessage::endOfTrack();
        end.setTimeStamp(endTick);
        track.addEvent(end);
        ASSERT_TRUE(NVTest::writeMidiFile(file, track));
    }

    float half(int, int) { return 0.5f; }

    // A new song whose composition has an instrument track (0) and an audio track (1).
    struct EventGeneration : NVSongFixture
    {
        void SetUp() override { ASSERT_NO_FATAL_FAILURE(startSong({ "Tabla", "Audio" })); }

        // The run-time track's events as (tick, message).
        std::vector<Note> events(int track)
        {
            EXPECT_TRUE(engine->refreshTrackEvents(track));
            std::vector<Note> result;
            for (auto* holder : engine->getTrack(track)->getEvents())
                result.push_back({ (int) holder->message.getTimeStamp(), holder->message });
            return result;
        }
    };

    std::vector<Note> fourBeatLoop()
    {
        return { { 480, juce::MidiMessage::noteOn(10, 38, (juce::uint8) 100) },
                 { 600, juce::MidiMessage::pitchWheel(2, 9000) },
                 { 960, juce::MidiMessage::noteOn(3, 38, (juce::uint8) 0) } };
    }
}

TEST_F(EventGeneration, LoadedTrackTakesTheCompositionTracksSettings)
{
    auto* track = engine->getTrack(0);
    ASSERT_NE(track, nullptr);
    EXPECT_EQ(track->getCaption(), "Tabla"); // "GM" takes the instrument's name
    EXPECT_EQ(juce::String(GetCompositionsMgr()->GetComposition(0)->GetTrack(0)->GetName().data()), "Tabla");
    EXPECT_FLOAT_EQ(track->getVolume(), 1.0f);
    EXPECT_FLOAT_EQ(track->getPan(), 0.5f);
    EXPECT_NE(track->getPlugin(), nullptr);
    EXPECT_TRUE(engine->getTrack(1)->isAudioTrack());
    EXPECT_EQ(engine->getTrack(1)->getPlugin(), nullptr);
}

TEST_F(EventGeneration, AMidiLoopIsFittedToItsInstance)
{
    writeMidi(temp.getChildFile("RZ100000.mid"), fourBeatLoop(), 1920);
    place(0, 8, 16, "RZ100000.mid");  // its own speed: four beats over four beats
    place(0, 24, 8, "RZ100000.mid");  // twice as fast

    const auto all = events(0);
    struct Expected { int tick; bool note; int channel; int velocity; };
    const Expected expected[] = {
        { 1440, true, 1, 100 },  // file tick 480 at quarter beat 8: 960 + 480
        { 1560, false, 2, 0 },   // the pitch wheel keeps its channel
        { 1920, true, 1, 0 },    // velocity 0 stays a note event with velocity 0, on channel 1
        { 2880, false, 0, 0 },   // end of track: the instance's end, also the next one's start
        { 3120, true, 1, 100 },  // 2880 + 480 / 2
        { 3180, false, 2, 0 },
        { 3360, true, 1, 0 },
        { 3840, false, 0, 0 },
    };
    ASSERT_EQ(all.size(), std::size(expected));
    for (size_t i = 0; i < all.size(); ++i)
    {
        EXPECT_EQ(all[i].tick, expected[i].tick) << i;
        EXPECT_EQ(all[i].message.isNoteOnOrOff(), expected[i].note) << i;
        if (expected[i].channel > 0)
        {
            EXPECT_EQ(all[i].message.getChannel(), expected[i].channel) << i;
        }
        if (expected[i].note)
        {
            EXPECT_EQ(all[i].message.getVelocity(), expected[i].velocity) << i;
        }
    }
    EXPECT_TRUE(all[3].message.isEndOfTrackMetaEvent());
    EXPECT_EQ(engine->refreshTrackLoops(0), 2);
    EXPECT_EQ(engine->getTrack(0)->getLoop(0)->start, 8);
    EXPECT_EQ(engine->getTrack(0)->getLoop(1)->end, 32);
}

TEST_F(EventGeneration, LoopsThatAddNothing)
{
    writeMidi(temp.getChildFile("RZ100000.mid"), { { 0, juce::MidiMessage::noteOn(1, 40, (juce::uint8) 90) } }, 0);
    temp.getChildFile("RZ100001.mid").replaceWithText("not a MIDI file");
    place(0, 0, 8, "RZ100000.mid");  // every event at time 0
    place(0, 8, 8, "RZ100001.mid");  // unreadable
    place(0, 16, 8, "RZ100002.mid"); // missing
    place(1, 0, 8, "RZ100003.wav");  // missing audio
    writeMidi(temp.getChildFile("RZ100004.mid"), fourBeatLoop(), 1920);
    place(0, 24, 16, "RZ100004.mid"); // the rest of the track still plays
    const auto all = events(0);
    ASSERT_FALSE(all.empty());
    EXPECT_EQ(all.front().tick, 2880 + 480);
    EXPECT_EQ(all.size(), 4u);
    EXPECT_TRUE(events(1).empty());
    EXPECT_EQ(static_cast<NVAudioTrack*>(engine->getTrack(1))->getNumClips(), 0);
}

TEST_F(EventGeneration, AQuantizedTwinPlaysInPlaceOfItsFile)
{
    writeMidi(temp.getChildFile("RZ100000.mid"), fourBeatLoop(), 1920);
    writeMidi(temp.getChildFile("RZ100000_quant.mid"),
              { { 480, juce::MidiMessage::noteOn(1, 45, (juce::uint8) 70) } }, 1920);
    place(0, 0, 16, "RZ100000.mid");
    const auto all = events(0);
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].message.getNoteNumber(), 45);
    EXPECT_EQ(all[0].tick, 480);
}

TEST_F(EventGeneration, AudioLoopsBecomeSampleRanges)
{
    ASSERT_TRUE(NVTest::writeAudioFile(temp.getChildFile("RZ100000.wav"), 2, 30000, 44100, half));
    place(1, 4, 4, "RZ100000.wav");  // quarter beats 4..8 at 120 bpm
    place(1, 1, 2, "RZ100000.wav");  // tick 120 starts at 5512.5, truncated
    EXPECT_TRUE(events(1).empty());
    auto* audio = static_cast<NVAudioTrack*>(engine->getTrack(1));
    ASSERT_EQ(audio->getNumClips(), 2);
    struct Range { juce::uint64 start, end; };
    const Range expected[] = { { 5512, 16537 }, { 22050, 44100 } }; // in the composition's order
    for (int i = 0; i < 2; ++i)
    {
        EXPECT_EQ(audio->getClip(i).start, expected[i].start) << i;
        EXPECT_EQ(audio->getClip(i).end, expected[i].end) << i;
        EXPECT_TRUE(audio->getClip(i).path.endsWith("/Songs/temp/RZ100000.wav")) << audio->getClip(i).path;
    }
    EXPECT_EQ(audio->getNumReaders(), 1);

    // An audio loop on an instrument track adds nothing.
    place(0, 0, 4, "RZ100000.wav");
    EXPECT_TRUE(events(0).empty());
}

namespace
{
    // Plays the song from the start through the engine's audio callback and returns the output.
    juce::AudioBuffer<float> playFromStart(NVManager& engine, int blocks)
    {
        engine.setPlaybackMode(kStopped);
        engine.setCurrentPos(0.0);
        engine.setPlaybackMode(kPlayingNoRecord);
        juce::AudioBuffer<float> all(2, blocks * 512), block(2, 512);
        for (int b = 0; b < blocks; ++b)
        {
            block.clear();
            engine.getNextAudioBlock(juce::AudioSourceChannelInfo(&block, 0, 512));
            for (int c = 0; c < 2; ++c)
                all.copyFrom(c, b * 512, block, c, 0, 512);
        }
        engine.setPlaybackMode(kStopped);
        return all;
    }
}

TEST_F(EventGeneration, ASongPlaysItsAudioAndInstrumentLoopsWhereTheyLie)
{
    engine->prepareToPlay(512, 44100.0); // as the device does
    ASSERT_TRUE(NVTest::writeAudioFile(temp.getChildFile("RZ100000.wav"), 2, 30000, 44100, half));
    std::vector<Note> strokes;
    for (int beat = 0; beat < 4; ++beat)
    {
        strokes.push_back({ beat * 480, juce::MidiMessage::noteOn(1, 38, (juce::uint8) 110) });
        strokes.push_back({ beat * 480 + 240, juce::MidiMessage::noteOff(1, 38) });
    }
    writeMidi(temp.getChildFile("RZ100001.mid"), strokes, 1920);
    place(1, 4, 4, "RZ100000.wav");    // samples 22050 to 44100
    place(0, 16, 16, "RZ100001.mid");  // beats 4 to 8: samples 88200 to 176400
    ASSERT_TRUE(engine->refreshTrackEvents(0));
    ASSERT_TRUE(engine->refreshTrackEvents(1));

    auto out = playFromStart(*engine, 400);
    const float volume = engine->getCurrentSong()->getVolume();
    EXPECT_EQ(out.getMagnitude(0, 22528), 0.0f) << "nothing before the first block inside the clip";
    EXPECT_NEAR(out.getSample(0, 22528), 0.5f * volume, 1e-4);
    EXPECT_NEAR(out.getSample(1, 44031), 0.5f * volume, 1e-4);
    EXPECT_EQ(out.getMagnitude(44544, 88200 - 44544), 0.0f) << "silence between the clip and the loop";
    for (int beat = 4; beat < 8; ++beat) // each stroke sounds on its beat
        EXPECT_GT(out.getMagnitude(beat * 22050 + 512, 4000), 0.01f) << beat;

    engine->getTrack(1)->setMute(true);
    out = playFromStart(*engine, 400);
    EXPECT_EQ(out.getMagnitude(0, 88200), 0.0f) << "the muted audio track is silent";
    EXPECT_GT(out.getMagnitude(88200, 88200), 0.01f);

    engine->lockProcess();
    out = playFromStart(*engine, 400);
    EXPECT_EQ(out.getMagnitude(0, out.getNumSamples()), 0.0f) << "the process lock silences everything";
    engine->unlockProcess();
}

TEST_F(EventGeneration, MixerSettingsGoToTheCompositionAndTheSong)
{
    auto* stored = GetCompositionsMgr()->GetComposition(0)->GetTrack(0);
    engine->setSongModified(false);
    EXPECT_TRUE(engine->setTrackVolume(0, 0.25f));
    EXPECT_TRUE(engine->isSongModified());
    EXPECT_FLOAT_EQ(stored->GetFloat(TWInstrumentTrack::Volume), 0.25f);
    EXPECT_FLOAT_EQ(engine->getTrackVolume(0), 0.25f);

    engine->getTrack(0)->setSolo(true);
    EXPECT_TRUE(engine->setMuteTrack(0, true));
    EXPECT_TRUE(stored->GetMute());
    EXPECT_TRUE(engine->getMuteTrack(0));
    EXPECT_FALSE(engine->getTrack(0)->isSolo()); // muting clears solo

    engine->setTrackCaption(0, "Left hand");
    EXPECT_EQ(juce::String(stored->GetName().data()), "Left hand");
    EXPECT_EQ(engine->getTrack(0)->getCaption(), "Left hand");

    EXPECT_TRUE(engine->setVolume(0.6f));
    EXPECT_FLOAT_EQ(GetCompositionsMgr()->GetComposition(0)->GetVolume(), 0.6f);
    EXPECT_FLOAT_EQ(engine->getVolume(), 0.6f);

    EXPECT_FALSE(engine->setTrackVolume(7, 0.5f));
    EXPECT_FALSE(engine->setMuteTrack(7, true));
}

TEST_F(EventGeneration, EngineStatesAreSavedInTheCompositionAndRestoredWithTheTrack)
{
    auto* tabla = engine->getTrack(0)->getPlugin();
    ASSERT_NE(tabla, nullptr);
    tabla->setCurrentProgram(3);
    ASSERT_TRUE(engine->saveEffectsState());
    auto* stored = GetCompositionsMgr()->GetComposition(0)->GetTrack(0);
    const juce::String saved(stored->GetSavedEngineState().data());
    EXPECT_TRUE(saved.startsWith("M?")) << saved;
    EXPECT_EQ(GetCompositionsMgr()->GetComposition(0)->GetTrack(1)->GetSavedEngineState().length(), 0u); // audio

    // A track built again from the composition gets its engine back in that state.
    auto& song = *engine->getCurrentSong();
    song.removeTrack(0);
    auto* reloaded = engine->loadTrack(song, "Tabla", stored, 0);
    ASSERT_NE(reloaded->getPlugin(), nullptr);
    EXPECT_EQ(reloaded->getPlugin()->getCurrentProgram(), 3);

    // A state saved for another engine file is not applied.
    stored->SetSavedEngineState(RWCString(("/usr/lib/vst3/Other.vst3" + saved.substring(1)).toRawUTF8()));
    song.removeTrack(0);
    reloaded = engine->loadTrack(song, "Tabla", stored, 0);
    EXPECT_EQ(reloaded->getPlugin()->getCurrentProgram(), 0);
}

TEST_F(EventGeneration, AMidiFileWithoutTracksAddsNothing)
{
    juce::MidiFile empty;
    empty.setTicksPerQuarterNote(480);
    const auto file = temp.getChildFile("RZ100000.mid");
    {
        juce::FileOutputStream out(file);
        ASSERT_TRUE(empty.writeTo(out));
    }
    place(0, 0, 8, "RZ100000.mid");
    EXPECT_TRUE(events(0).empty());
}

TEST_F(EventGeneration, ClipAreasOfOlderSongsSelectPartOfTheFile)
{
    std::vector<Note> notes;
    for (int t : { 480, 960, 1440, 1600 })
        notes.push_back({ t, juce::MidiMessage::noteOn(1, 40, (juce::uint8) 90) });
    writeMidi(temp.getChildFile("RZ100000.mid"), notes, 1920);

    struct Case { bool linkedToItself; std::vector<int> ticks; };
    const Case cases[] = {
        { false, { 0, 960, 1920 } }, // 0.25 to 0.75 stretched over the instance
        { true, { 0, 480, 960 } },   // linked to itself: played at its own speed
    };
    for (const auto& c : cases)
    {
        GetCompositionsMgr()->ClearComposition(0);
        auto* composition = GetCompositionsMgr()->GetComposition(0);
        ASSERT_EQ(composition->AddInstrumentTrack("GM", 0, "Tabla", 0, 4, 100, 0), 1);
        auto* loop = GetCompositionsMgr()->AddTrackItem(0, 0, 16);
        ASSERT_NE(loop, nullptr);
        loop->SetUnderlyingName("RZ100000.mid");
        loop->SetClipArea(LMFraction(25075));
        loop->SetTrackLink(c.linkedToItself ? loop : nullptr);

        std::vector<int> ticks;
        for (auto& e : events(0))
            if (e.message.isNoteOn())
                ticks.push_back(e.tick);
        EXPECT_EQ(ticks, c.ticks) << c.linkedToItself;
    }
}
