#include "engine/NVMidiTrack.h"
#include "engine/NVSong.h"
#include "model/TWRuntimeTrackSink.h"

#include <gtest/gtest.h>

namespace
{
    // A track with loops at [0,8) [8,12) [20,24) quarter beats.
    struct LoopedTrack : ::testing::Test
    {
        void SetUp() override
        {
            track.addLoop(nullptr, "a", 0, 8);
            track.addLoop(nullptr, "b", 8, 12);
            track.addLoop(nullptr, "c", 20, 24);
        }
        NVMidiTrack track { 0 };
    };
}

TEST_F(LoopedTrack, GetLoopAtUsesHalfOpenBounds)
{
    struct Case { int q; const char* name; };
    const Case cases[] = { { 0, "a" }, { 7, "a" }, { 8, "b" }, { 11, "b" }, { 12, nullptr },
                           { 19, nullptr }, { 20, "c" }, { 24, nullptr }, { -1, nullptr } };
    for (const auto& c : cases)
    {
        auto* loop = track.getLoopAt(c.q);
        EXPECT_EQ(loop == nullptr, c.name == nullptr) << c.q;
        if (c.name != nullptr && loop != nullptr)
        {
            EXPECT_EQ(loop->name, c.name) << c.q;
        }
    }
}

TEST_F(LoopedTrack, NextFreeSignatureFindsAGapLongEnough)
{
    struct Case { int from; int length; int expected; };
    const Case cases[] = {
        { 12, 8, 12 },  // gap 12..20 is exactly 8
        { 12, 9, 24 },  // too short: after the last loop
        { 0, 4, 12 },   // `from` lies inside a: the answer moves past a, then past b
        { 3, 4, 12 },
        { 30, 4, 30 },  // past every loop
        { 13, 7, 13 },
        { 13, 8, 24 },
    };
    for (const auto& c : cases)
        EXPECT_EQ(track.getNextFreeSignature(c.from, c.length), c.expected) << c.from << "/" << c.length;
}

TEST(NVTrackEvents, SameTickEventsGetConsecutiveKeys)
{
    NVMidiTrack track;
    track.addMessage(0, 0x90, 60, 100);
    track.addMessage(10, 0x90, 62, 100);
    track.addMessage(10, 0x90, 64, 100);
    track.addMessage(10, 0x80, 60, 64);
    ASSERT_EQ(track.getEvents().getNumEvents(), 4);

    const auto& index = track.getEventIndex();
    ASSERT_EQ(index.size(), 4u);
    EXPECT_EQ(index.at(0), 0);
    EXPECT_EQ(index.at(1000), 1);
    EXPECT_EQ(index.at(1001), 2);
    EXPECT_EQ(index.at(1002), 3);

    // Every event of tick 10 is found in its key range, at its true position.
    int found = 0;
    for (auto it = index.lower_bound(1000); it != index.end() && it->first <= 1099; ++it, ++found)
        EXPECT_EQ(track.getEvents().getEventTime(it->second), 10.0);
    EXPECT_EQ(found, 3);
}

TEST(NVTrackEvents, NoteMessagesFollowStatusAndVelocity)
{
    struct Case { int status; int velocity; bool noteOn; };
    const Case cases[] = { { 0x90, 100, true }, { 0x90, 0, false }, { 0x80, 64, false },
                           { 0x8F, 64, false }, { 0x93, 50, true } };
    for (const auto& c : cases)
    {
        NVMidiTrack track;
        track.addMessage(5, c.status, 61, c.velocity);
        const auto& m = track.getEvents().getEventPointer(0)->message;
        EXPECT_EQ(m.isNoteOn(), c.noteOn) << std::hex << c.status;
        EXPECT_EQ(m.getChannel(), 1);
        EXPECT_EQ(m.getNoteNumber(), 61);
        EXPECT_EQ(m.getTimeStamp(), 5.0);
        EXPECT_EQ(m.getVelocity(), c.noteOn ? c.velocity : 0);
    }
}

TEST(NVTrackEvents, OutOfOrderEventKeepsTheIndexTrue)
{
    NVMidiTrack track;
    track.addMessage(20, 0x90, 60, 100);
    track.addMessage(30, 0x90, 61, 100);
    track.addMessage(10, 0x90, 62, 100); // earlier than the last event
    const auto& index = track.getEventIndex();
    ASSERT_EQ(index.size(), 3u);
    for (auto& [key, position] : index)
        EXPECT_EQ((juce::int64) track.getEvents().getEventTime(position), key / 100);

    track.clearEvents();
    EXPECT_EQ(track.getEvents().getNumEvents(), 0);
    EXPECT_TRUE(track.getEventIndex().empty());
}

TEST(NVSongTracks, InsertAndRemoveRenumber)
{
    NVSong song;
    auto* a = new NVMidiTrack();
    auto* b = new NVMidiTrack();
    EXPECT_EQ(song.appendTrack(a), 0);
    EXPECT_EQ(song.appendTrack(b), 1);

    auto* c = new NVMidiTrack();
    EXPECT_EQ(song.insertTrack(c, 0), 0);
    EXPECT_EQ(c->getIndex(), 0);
    EXPECT_EQ(a->getIndex(), 1);
    EXPECT_EQ(b->getIndex(), 2);

    auto* d = new NVMidiTrack();
    EXPECT_EQ(song.insertTrack(d, 3), 3); // at the count: appends
    EXPECT_EQ(song.getTrack(3), d);

    song.removeTrack(0);
    EXPECT_EQ(song.getTrack(0), a);
    EXPECT_EQ(a->getIndex(), 0);
    EXPECT_EQ(d->getIndex(), 2);

    song.removeTrack(7);  // out of range: nothing happens
    song.removeTrack(-1);
    EXPECT_EQ(song.getNumTracks(), 3);
    EXPECT_EQ(song.getTrack(3), nullptr);
    EXPECT_EQ(song.getTrack(-1), nullptr);
}

TEST(NVSongTracks, LoopsInBounds)
{
    NVSong song;
    auto* track = new NVMidiTrack();
    song.appendTrack(track);
    track->addLoop(nullptr, "a", 0, 8);
    track->addLoop(nullptr, "b", 8, 12);
    track->addLoop(nullptr, "c", 20, 24);

    struct Case { int from, to, first, last; };
    const Case cases[] = {
        { 0, 4, 0, 0 },
        { 8, 20, 1, 1 },     // a ends at 8: no overlap; c starts at 20: excluded
        { 7, 21, 0, 2 },
        { 12, 20, -1, -1 },  // the gap
        { 24, 40, -1, -1 },
        { 0, 100, 0, 2 },
    };
    for (const auto& c : cases)
    {
        int first = 99, last = 99;
        song.getLoopsInBounds(0, c.from, c.to, first, last);
        EXPECT_EQ(first, c.first) << c.from << ".." << c.to;
        EXPECT_EQ(last, c.last) << c.from << ".." << c.to;
    }

    int first = 0, last = 0;
    song.getLoopsInBounds(5, 0, 100, first, last);
    EXPECT_EQ(first, -1);
    EXPECT_EQ(last, -1);

    EXPECT_TRUE(song.setLoopName(0, 1, "renamed"));
    EXPECT_EQ(song.GetLoop(0, 1)->name, "renamed");
    EXPECT_FALSE(song.setLoopName(0, 3, "x"));
    EXPECT_EQ(song.GetLoop(1, 0), nullptr);
}

TEST(NVTrackEvents, CompositionTracksFillRuntimeTracksThroughTheSink)
{
    NVMidiTrack midi;
    TWRuntimeTrackSink& sink = midi;
    sink.AddMIDIEvent(0, 0x99, 42, 100);  // a note on channel 10 arrives on channel 1
    sink.AddMIDIEvent(10, 0xE1, 0, 64);   // a pitch wheel keeps its channel
    const std::uint8_t tempo[] = { 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20 };
    sink.AddMIDIMessage(20, tempo, sizeof(tempo));
    EXPECT_FALSE(sink.AddAudioLoop(0, 100, "/tmp/x.wav")); // not an audio track

    const auto& events = midi.getEvents();
    ASSERT_EQ(events.getNumEvents(), 3);
    EXPECT_TRUE(events.getEventPointer(0)->message.isNoteOn());
    EXPECT_EQ(events.getEventPointer(0)->message.getChannel(), 1);
    EXPECT_TRUE(events.getEventPointer(1)->message.isPitchWheel());
    EXPECT_EQ(events.getEventPointer(1)->message.getChannel(), 2);
    EXPECT_TRUE(events.getEventPointer(2)->message.isTempoMetaEvent());
    EXPECT_EQ(midi.getEventIndex().size(), 3u);
}
