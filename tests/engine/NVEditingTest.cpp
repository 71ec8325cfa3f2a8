#include "tests/engine/NVEditingFixture.h"

#include "engine/NVTracks.h"

using Editing = NVEditingFixture;

TEST_F(Editing, DroppedFilesThatDoNotSuitTheTrackAreRefused)
{
    struct Case { const char* what; int track; std::function<juce::File(Editing&)> make; };
    const Case cases[] = {
        { "48 kHz WAV at 44.1 kHz", 1, [](Editing& f) { return f.audioFile("fast.wav", 8, 48000.0); } },
        { "MIDI on an audio track", 1, [](Editing& f) { return f.midiFile("beat.mid", 1, { { 0, 100, 60 } }); } },
        { "WAV on a MIDI track", 2, [](Editing& f) { return f.audioFile("voice.wav", 8); } },
        { "three channels", 1, [](Editing& f) { return f.audioFile("wide.wav", 8, rate, 3); } },
        { "unknown extension", 1, [](Editing& f) { auto file = f.audioFile("voice.wav", 8);
                                                   auto mp3 = file.withFileExtension(".ogg");
                                                   file.copyFileTo(mp3); return mp3; } },
        { "missing file", 1, [](Editing& f) { return f.inbox.getChildFile("absent.wav"); } },
        { "empty WAV", 1, [](Editing& f) { auto file = f.inbox.getChildFile("empty.wav"); file.create(); return file; } },
        { "empty MIDI", 2, [](Editing& f) { auto file = f.inbox.getChildFile("empty.mid"); file.create(); return file; } },
        { "text named .wav", 1, [](Editing& f) { auto file = f.inbox.getChildFile("text.wav");
                                                 file.replaceWithText("RIFF? no, just words"); return file; } },
        { "text named .mid", 2, [](Editing& f) { auto file = f.inbox.getChildFile("text.mid");
                                                 file.replaceWithText("MThd but not really"); return file; } },
        { "WAV cut in its data", 1, [](Editing& f) {
              auto file = f.audioFile("cut.wav", 8);
              juce::MemoryBlock data; file.loadFileAsData(data);
              file.replaceWithData(data.getData(), data.getSize() / 2); return file; } },
        { "WAV cut in its header", 1, [](Editing& f) {
              auto file = f.audioFile("stub.wav", 8);
              juce::MemoryBlock data; file.loadFileAsData(data);
              file.replaceWithData(data.getData(), 20); return file; } },
        { "MIDI cut in its track", 2, [](Editing& f) {
              auto file = f.midiFile("cut.mid", 4, { { 0, 100, 60 }, { 480, 600, 62 }, { 960, 1000, 64 } });
              juce::MemoryBlock data; file.loadFileAsData(data);
              file.replaceWithData(data.getData(), data.getSize() - 10); return file; } },
        { "no such track", 7, [](Editing& f) { return f.audioFile("voice.wav", 8); } },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        const auto file = c.make(*this);
        const auto before = state();
        EXPECT_FALSE(engine->canDragToTrack(c.track, 0, file.getFullPathName()));
        EXPECT_FALSE(drop(c.track, 0, file));
        EXPECT_TRUE(state() == before);
        EXPECT_FALSE(engine->getUndoManager().canUndo());
        EXPECT_TRUE(dialogs.getQuestions().empty());
    }
}

TEST_F(Editing, DropsLandWhereThereIsRoom)
{
    ASSERT_TRUE(drop(1, 0, audioFile("a.wav", 8)));
    ASSERT_TRUE(drop(1, 12, audioFile("b.wav", 4)));
    ASSERT_TRUE(drop(1, 24, audioFile("c.wav", 4)));
    engine->setSongModified(false);

    struct Case { const char* what; int at, length; bool freePlace; bool added; int start; };
    const Case cases[] = {
        { "onto a loop without searching", 4, 4, false, false, 0 },
        { "inside a loop: the first gap that is long enough", 4, 4, true, true, 8 },
        { "too long for the first gap", 4, 8, true, true, 16 },
        { "in a free place", 40, 4, false, true, 40 },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        const auto before = state();
        EXPECT_EQ(drop(1, c.at, audioFile("x.wav", c.length), 0, c.freePlace), c.added);
        if (!c.added)
        {
            EXPECT_TRUE(state() == before);
            continue;
        }
        const auto after = state();
        const auto& placed = after.song[1];
        auto it = std::find_if(placed.begin(), placed.end(), [&](const Loop& l) { return l.start == c.start; });
        ASSERT_NE(it, placed.end());
        EXPECT_EQ(it->end, c.start + c.length);
        EXPECT_EQ(it->name, "x");
        EXPECT_TRUE(it->file.startsWith("RZ") && it->file.endsWith(".wav"));
        EXPECT_TRUE(temp.getChildFile(it->file).existsAsFile());
        EXPECT_TRUE(after.modified);
        expectUndoRedo(before, after);
        ASSERT_TRUE(engine->getUndoManager().undo());
        // The copy stays behind for a redo.
        EXPECT_TRUE(temp.getChildFile(it->file).existsAsFile());
    }
}

TEST_F(Editing, InsufficientSpaceAsksAndResizesShiftsOrCancels)
{
    ASSERT_TRUE(drop(1, 0, audioFile("a.wav", 8)));
    ASSERT_TRUE(drop(1, 20, audioFile("b.wav", 4)));
    ASSERT_TRUE(drop(1, 28, audioFile("c.wav", 8)));
    engine->getUndoManager().clearUndoHistory();
    engine->setSongModified(false);
    engine->setSelectedLoop(1, 2, false);

    struct Case
    {
        const char* answer;
        bool added;
        std::vector<std::pair<int, int>> loops;
        juce::Array<int> selection, reselectedByUndo;
    };
    const Case cases[] = {
        { "Cancel", false, { { 0, 8 }, { 20, 24 }, { 28, 36 } }, { 10002 }, {} },
        { "Resize", true, { { 0, 8 }, { 16, 20 }, { 20, 24 }, { 28, 36 } }, { 10003 }, {} },
        // A 16 quarter-beat drop at 16 overlaps b by 12: b and c move 12 right,
        // and the moves select them.
        { "Shift", true, { { 0, 8 }, { 16, 32 }, { 32, 36 }, { 40, 48 } }, { 10002, 10003 }, { 10001, 10002 } },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.answer);
        dialogs.clearRecord();
        dialogs.answerNext(c.answer);
        const auto before = state();
        EXPECT_EQ(drop(1, 16, audioFile("new.wav", 16)), c.added);
        ASSERT_EQ(dialogs.getQuestions().size(), 1u);
        EXPECT_EQ(dialogs.getQuestions()[0].title, "Insufficient space");
        EXPECT_EQ(dialogs.getQuestions()[0].buttons, juce::StringArray({ "Resize", "Shift", "Cancel" }));
        const auto after = state();
        std::vector<std::pair<int, int>> bounds;
        for (const auto& l : after.song[1])
            bounds.push_back({ l.start, l.end });
        EXPECT_EQ(bounds, c.loops);
        EXPECT_EQ(after.selection, c.selection);
        if (!c.added)
        {
            EXPECT_TRUE(after == before);
            EXPECT_FALSE(engine->getUndoManager().canUndo());
            continue;
        }
        // One undo takes back the whole drop, moves included.
        expectUndoRedo(before, after, c.reselectedByUndo);
        ASSERT_TRUE(engine->getUndoManager().undo());
        auto restored = state();
        EXPECT_EQ(restored.song, before.song);
        EXPECT_EQ(restored.composition, before.composition);
    }
}

TEST_F(Editing, MovingSelectsTheMovedLoopBesideTheOthers)
{
    ASSERT_TRUE(drop(1, 0, audioFile("a.wav", 4)));
    ASSERT_TRUE(drop(1, 8, audioFile("b.wav", 4)));
    ASSERT_TRUE(drop(1, 16, audioFile("c.wav", 4)));
    engine->setSongModified(false);
    engine->setSelectedLoop(1, 2, false);

    const auto before = state();
    engine->moveLoop(1, 0, pixels(24)); // a goes after c and becomes loop 2
    const auto after = state();
    ASSERT_EQ(after.song[1].size(), 3u);
    EXPECT_EQ(after.song[1][0].name, "b");
    EXPECT_EQ(after.song[1][1].name, "c");
    EXPECT_EQ(after.song[1][2].name, "a");
    EXPECT_EQ(after.song[1][2].start, 24);
    EXPECT_EQ(after.song[1][2].end, 28);
    // c was selected and is now loop 1; the moved loop is added.
    EXPECT_EQ(after.selection, juce::Array<int>({ 10001, 10002 }));
    EXPECT_TRUE(after.modified);
    // Moved back, a stays selected beside c.
    expectUndoRedo(before, after, { 10000 });
}

TEST_F(Editing, DeletingRemovesAndUndoRestoresNameFileAndSelection)
{
    ASSERT_TRUE(drop(1, 0, audioFile("a.wav", 4)));
    ASSERT_TRUE(drop(1, 8, audioFile("b.wav", 4)));
    ASSERT_TRUE(drop(1, 16, audioFile("c.wav", 4)));
    ASSERT_TRUE(drop(0, 0, audioFile("song.wav", 32)));
    engine->renameLoop(1, 1, "Chorus take");
    engine->getUndoManager().clearUndoHistory();
    engine->setSongModified(false);

    // Track 0 is never deleted from.
    const auto start = state();
    engine->deleteLoop(0, 0);
    EXPECT_TRUE(state() == start);
    EXPECT_FALSE(engine->getUndoManager().canUndo());

    engine->setSelectedLoop(1, 1, false);
    engine->setSelectedLoop(1, 2, true);
    const auto before = state();
    engine->deleteLoop(1, 1);
    const auto after = state();
    ASSERT_EQ(after.song[1].size(), 2u);
    EXPECT_EQ(after.song[1][1].name, "c");
    EXPECT_EQ(after.selection, juce::Array<int>({ 10001 }));
    EXPECT_TRUE(after.modified);
    expectUndoRedo(before, after);
    ASSERT_TRUE(engine->getUndoManager().undo());
    EXPECT_EQ(loops(1)[1].name, "Chorus take");
    EXPECT_EQ(loops(1)[1].file, before.song[1][1].file);
}

TEST_F(Editing, DeletingTheSelectedLoopsDeletesEachOfThem)
{
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(drop(1, i * 8, audioFile("take" + juce::String(i) + ".wav", 4)));
    engine->setSelectedLoop(1, 0, false);
    engine->setSelectedLoop(1, 2, true);
    engine->setSelectedLoop(1, 4, true);
    engine->deleteSelectedLoops();
    const auto after = loops(1);
    ASSERT_EQ(after.size(), 2u);
    EXPECT_EQ(after[0].name, "take1");
    EXPECT_EQ(after[1].name, "take3");
    EXPECT_TRUE(engine->getSelectedLoops().isEmpty());
    // Each deletion is its own step.
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(engine->getUndoManager().undo());
    EXPECT_EQ(loops(1).size(), 5u);
}

TEST_F(Editing, RenamingAndAppendingUndo)
{
    ASSERT_TRUE(drop(1, 0, audioFile("a.wav", 4)));
    engine->setSongModified(false);

    auto before = state();
    engine->renameLoop(1, 0, "Verse");
    auto after = state();
    EXPECT_EQ(after.song[1][0].name, "Verse");
    EXPECT_EQ(after.composition[1][0].name, "Verse");
    expectUndoRedo(before, after);

    engine->setSongModified(false);
    engine->setSelectedLoop(3, 0, false);
    before = state();
    const int index = engine->appendTrack("Dholak");
    EXPECT_EQ(index, 3);
    EXPECT_EQ(engine->getCurrentSong()->getNumTracks(), 4);
    EXPECT_TRUE(engine->isSongModified());
    ASSERT_TRUE(engine->getUndoManager().undo());
    EXPECT_EQ(engine->getCurrentSong()->getNumTracks(), 3);
    EXPECT_EQ(GetCompositionsMgr()->GetComposition(0)->GetTrackCount(), 3u);
    EXPECT_FALSE(engine->isSongModified());
    EXPECT_EQ(engine->getSelectedTrack(), -1);
    ASSERT_TRUE(engine->getUndoManager().redo());
    EXPECT_EQ(engine->getCurrentSong()->getNumTracks(), 4);
    EXPECT_EQ(engine->getTrack(3)->getCaption(), "Dholak");
}

TEST_F(Editing, ResizingChangesTheDurationAndWithShiftTheContent)
{
    ASSERT_TRUE(drop(2, 0, midiFile("beat.mid", 4, { { 0, 100, 60 }, { 600, 1200, 62 }, { 1500, 1600, 64 } })));
    ASSERT_EQ(loops(2)[0].end, 16);
    const auto ownFile = loops(2)[0].file;
    engine->setSongModified(false);

    // Without Shift only the duration changes.
    auto before = state();
    engine->resizeLoop(2, 0, pixels(8), true);
    auto after = state();
    EXPECT_EQ(after.song[2][0].end, 8);
    EXPECT_EQ(after.song[2][0].file, ownFile);
    expectUndoRedo(before, after);
    ASSERT_TRUE(engine->getUndoManager().undo());

    // With Shift the loop gets a cut copy of its file, in one step.
    before = state();
    engine->resizeLoop(2, 0, pixels(8), false);
    after = state();
    EXPECT_EQ(after.song[2][0].end, 8);
    const auto cutFile = after.song[2][0].file;
    EXPECT_NE(cutFile, ownFile);
    juce::MidiFile cut;
    {
        juce::FileInputStream in(temp.getChildFile(cutFile));
        ASSERT_TRUE(cut.readFrom(in));
    }
    EXPECT_DOUBLE_EQ(cut.getLastTimestamp(), 960.0);
    expectUndoRedo(before, after);
    ASSERT_TRUE(engine->getUndoManager().undo());
    // Both files stay for a redo.
    EXPECT_TRUE(temp.getChildFile(cutFile).existsAsFile());
    EXPECT_TRUE(temp.getChildFile(ownFile).existsAsFile());
}

TEST_F(Editing, SelectionFollowsInsertedAndRemovedLoopsAndTracks)
{
    NVSelection s;
    s.setSelectedLoop(1, 0, false);
    s.setSelectedLoop(1, 3, true);
    s.setSelectedLoop(2, 1, true);
    s.setSelectedLoop(3, 5, true);
    EXPECT_EQ(s.peekSelectedTrack(), 3);

    s.loopWasInserted(1, 2, false);
    EXPECT_EQ(s.getSelectedLoops(), juce::Array<int>({ 10000, 10004, 20001, 30005 }));
    EXPECT_TRUE(s.loopWasRemoved(1, 0));
    EXPECT_EQ(s.getSelectedLoops(), juce::Array<int>({ 10003, 20001, 30005 }));
    EXPECT_FALSE(s.loopWasRemoved(1, 7));
    s.trackWasRemoved(2);
    EXPECT_EQ(s.getSelectedLoops(), juce::Array<int>({ 10003, 20005 }));
    EXPECT_EQ(s.peekSelectedTrack(), -1);
    s.setSelectedTrack(5);
    EXPECT_EQ(s.getSelectedTrack(3), -1);
    s.setSelectedLoop(0, 0, false);
    EXPECT_EQ(s.getSelectedLoops(), juce::Array<int>({ 0 }));
}

TEST_F(Editing, NewSongClearsTheHistory)
{
    ASSERT_TRUE(drop(1, 0, audioFile("a.wav", 4)));
    ASSERT_TRUE(engine->getUndoManager().canUndo());
    dialogs.setDefaultAnswer("No");
    engine->newSong();
    EXPECT_FALSE(engine->getUndoManager().canUndo());
    EXPECT_EQ(engine->getSelectedTrack(), -1);
}
