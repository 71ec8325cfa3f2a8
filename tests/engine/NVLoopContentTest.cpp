#include "tests/engine/NVEditingFixture.h"

#include "engine/NVLoopEditorHost.h"
#include "engine/NVMidiFiles.h"
#include "engine/NVMidiTrack.h"

namespace
{
    juce::MidiFile readMidi(const juce::File& file)
    {
        juce::MidiFile midi;
        juce::FileInputStream in(file);
        EXPECT_TRUE(in.openedOk() && midi.readFrom(in)) << file.getFullPathName();
        return midi;
    }

    // Note-ons as {time, key, note-off time}, in order; -1 for a missing note-off.
    std::vector<std::array<int, 3>> notesOf(const juce::MidiMessageSequence& track)
    {
        juce::MidiMessageSequence copy(track);
        copy.updateMatchedPairs();
        std::vector<std::array<int, 3>> notes;
        for (const auto* e : copy)
            if (e->message.isNoteOn())
                notes.push_back({ (int) e->message.getTimeStamp(), e->message.getNoteNumber(),
                                  e->noteOffObject != nullptr ? (int) e->noteOffObject->message.getTimeStamp() : -1 });
        return notes;
    }

    int countNoteOffs(const juce::MidiMessageSequence& track)
    {
        int n = 0;
        for (const auto* e : track)
            n += e->message.isNoteOff() ? 1 : 0;
        return n;
    }

    // Records what the editors were given.
    struct RecordingEditors : NVLoopEditorHost
    {
        void editMidiLoop(const juce::String& t, int track, int loop, int start, int end,
                          const juce::MidiMessageSequence& events, int division) override
        {
            title = t;
            where = { track, loop, start, end };
            notes = notesOf(events);
            ticksPerQuarterNote = division;
            auditionHadEngine = NVManager::getInstance()->getAuditionTrack().getPlugin() != nullptr;
        }
        void editAudioLoop(const juce::String& t, int track, int loop, int start, int end,
                           juce::AudioBuffer<float>& samples) override
        {
            title = t;
            where = { track, loop, start, end };
            numSamples = samples.getNumSamples();
        }
        juce::String title;
        std::array<int, 4> where {};
        std::vector<std::array<int, 3>> notes;
        int ticksPerQuarterNote = 0, numSamples = 0;
        bool auditionHadEngine = false;
    };
}

using LoopFiles = NVEditingFixture;

TEST_F(LoopFiles, QuantizeTimeSnapsToTheNearestGridUnit)
{
    struct Case { juce::int64 ticks; int grid; juce::int64 expected; };
    const Case cases[] = {
        { 130, 16, 120 }, { 179, 16, 120 }, { 180, 16, 240 }, { 0, 16, 0 }, { 59, 16, 0 }, { 60, 16, 120 },
        { 79, 12, 0 }, { 80, 12, 160 }, { 1000, 1, 1920 }, { 959, 1, 0 }, { 30, 48, 40 },
    };
    for (const auto& c : cases)
    {
        engine->setQuantizeGrid(c.grid);
        EXPECT_EQ(engine->quantizeTime(c.ticks, 480), c.expected) << c.ticks << " at grid " << c.grid;
    }
}

TEST_F(LoopFiles, QuantizingSnapsNotesInSongTimeAndDropsThoseThatReachTheEnd)
{
    // A one-beat loop: the file is 480 ticks long.
    ASSERT_TRUE(drop(2, 0, midiFile("beat.mid", 1, { { 130, 160, 60 }, { 179, 200, 62 }, { 180, 400, 64 }, { 450, 470, 65 } })));
    ASSERT_EQ(loops(2)[0].end, 4);
    engine->setQuantizeGrid(16);
    engine->setSongModified(false);
    EXPECT_FALSE(engine->isLoopQuantized(2, 0));
    const auto own = temp.getChildFile(loops(2)[0].file);
    juce::MemoryBlock ownBytes;
    own.loadFileAsData(ownBytes);

    ASSERT_TRUE(engine->quantizeLoop(2, 0));
    EXPECT_TRUE(engine->isSongModified());
    EXPECT_TRUE(engine->isLoopQuantized(2, 0));
    const auto twin = own.getSiblingFile(own.getFileNameWithoutExtension() + "_quant.mid");
    ASSERT_TRUE(twin.existsAsFile());
    const auto midi = readMidi(twin);
    ASSERT_EQ(midi.getNumTracks(), 1);
    using N = std::array<int, 3>;
    // The note at 450 snaps to 480, the end of the file: it goes with its note-off.
    EXPECT_EQ(notesOf(*midi.getTrack(0)), (std::vector<N> { { 120, 60, 150 }, { 120, 62, 141 }, { 240, 64, 460 } }));
    EXPECT_EQ(countNoteOffs(*midi.getTrack(0)), 3);
    EXPECT_DOUBLE_EQ(midi.getLastTimestamp(), 480.0);
    juce::MemoryBlock after;
    own.loadFileAsData(after);
    EXPECT_EQ(after, ownBytes); // the loop's own file is untouched

    // Off: the twin goes, the loop plays its own file again.
    ASSERT_TRUE(engine->unquantizeLoop(2, 0));
    EXPECT_FALSE(twin.exists());
    EXPECT_FALSE(engine->isLoopQuantized(2, 0));

    // Finalize: the twin becomes the loop's own file.
    ASSERT_TRUE(engine->quantizeLoop(2, 0));
    ASSERT_TRUE(engine->applyQuantization(2, 0));
    EXPECT_FALSE(twin.exists());
    EXPECT_FALSE(engine->isLoopQuantized(2, 0));
    EXPECT_EQ(notesOf(*readMidi(own).getTrack(0))[0][0], 120);
}

TEST_F(LoopFiles, QuantizingALoopOffTheGridSnapsToTheSongsGrid)
{
    // Starts at quarter beat 1 (tick 120); grid 12 has 160-tick units.
    ASSERT_TRUE(drop(2, 1, midiFile("beat.mid", 1, { { 0, 20, 60 }, { 200, 220, 62 } })));
    engine->setQuantizeGrid(12);
    ASSERT_TRUE(engine->quantizeLoop(2, 0));
    const auto own = temp.getChildFile(loops(2)[0].file);
    const auto midi = readMidi(own.getSiblingFile(own.getFileNameWithoutExtension() + "_quant.mid"));
    using N = std::array<int, 3>;
    // 0 + 120 snaps to 160 (40 in the file); 200 + 120 = 320 is on the grid.
    EXPECT_EQ(notesOf(*midi.getTrack(0)), (std::vector<N> { { 40, 60, 60 }, { 200, 62, 220 } }));
}

TEST_F(LoopFiles, OffOnALoopNeverQuantizedOnlyMarksTheSongModified)
{
    ASSERT_TRUE(drop(2, 0, midiFile("beat.mid", 1, { { 0, 100, 60 } })));
    engine->setSongModified(false);
    const auto files = temp.findChildFiles(juce::File::findFiles, false);
    ASSERT_TRUE(engine->unquantizeLoop(2, 0));
    EXPECT_TRUE(engine->isSongModified());
    EXPECT_EQ(temp.findChildFiles(juce::File::findFiles, false), files);
    EXPECT_TRUE(temp.getChildFile(loops(2)[0].file).existsAsFile());
}

TEST_F(LoopFiles, ExpandingCutsOrLengthensALoopFile)
{
    using N = std::array<int, 3>;
    struct Case { const char* what; double factor; std::vector<N> notes; double end; };
    const Case cases[] = {
        { "half: the crossing note ends at the cut", 0.5, { { 0, 60, 100 }, { 800, 62, 960 } }, 960.0 },
        { "a note starting at the cut goes", 0.25, { { 0, 60, 100 } }, 480.0 },
        { "double: everything stays", 2.0, { { 0, 60, 100 }, { 800, 62, 1200 }, { 960, 64, 1000 }, { 1500, 65, 1900 } }, 3840.0 },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        const auto file = midiFile("loop.mid", 4, { { 0, 100, 60 }, { 800, 1200, 62 }, { 960, 1000, 64 }, { 1500, 1900, 65 } });
        ASSERT_TRUE(NVManager::expandMidiFile(file, c.factor));
        const auto midi = readMidi(file);
        ASSERT_EQ(midi.getNumTracks(), 1);
        EXPECT_EQ(notesOf(*midi.getTrack(0)), c.notes);
        EXPECT_EQ(countNoteOffs(*midi.getTrack(0)), (int) c.notes.size());
        EXPECT_DOUBLE_EQ(midi.getLastTimestamp(), c.end);
        EXPECT_EQ(midi.getTimeFormat(), 480);
    }
    EXPECT_FALSE(NVManager::expandMidiFile(inbox.getChildFile("absent.mid"), 0.5));
}

TEST_F(LoopFiles, MergingLeavesOneTrackFilesAsTheyAre)
{
    const auto file = midiFile("one.mid", 2, { { 0, 100, 60 }, { 480, 500, 61 } });
    juce::MemoryBlock before, after;
    file.loadFileAsData(before);
    ASSERT_TRUE(NVManager::convertToMIDIType0(file));
    file.loadFileAsData(after);
    EXPECT_EQ(before, after);
}

TEST_F(LoopFiles, MergingJoinsTheTracksOfFilesFromOtherPrograms)
{
    // Written by a second MIDI writer: a type-1 file with a tempo track, two
    // note tracks (one using running status and note-on velocity 0 as note-off)
    // and a division of 96.
    const auto file = inbox.getChildFile("other.mid");
    const juce::String script = R"(
import mido, sys
f = mido.MidiFile(type=1, ticks_per_beat=96)
t0 = mido.MidiTrack(); f.tracks.append(t0)
t0.append(mido.MetaMessage('set_tempo', tempo=500000, time=0))
t0.append(mido.MetaMessage('end_of_track', time=384))
t1 = mido.MidiTrack(); f.tracks.append(t1)
for n in (60, 62, 64, 65):
    t1.append(mido.Message('note_on', note=n, velocity=90, time=0))
    t1.append(mido.Message('note_on', note=n, velocity=0, time=48))
    t1.append(mido.Message('control_change', control=7, value=100, time=48))
t2 = mido.MidiTrack(); f.tracks.append(t2)
t2.append(mido.Message('note_on', channel=9, note=36, velocity=100, time=24))
t2.append(mido.Message('note_off', channel=9, note=36, velocity=0, time=300))
f.save(sys.argv[1])
)";
    const auto scriptFile = inbox.getChildFile("make.py");
    scriptFile.replaceWithText(script);
    juce::ChildProcess python;
    ASSERT_TRUE(python.start(juce::StringArray { "/usr/bin/python3", scriptFile.getFullPathName(), file.getFullPathName() }));
    const auto output = python.readAllProcessOutput();
    ASSERT_EQ(python.getExitCode(), 0u) << output;

    EXPECT_DOUBLE_EQ(NVManager::getNumBeats(file), 4.0); // 384 ticks at 96 per beat
    ASSERT_TRUE(drop(2, 0, file));
    EXPECT_EQ(loops(2)[0].end, 16);
    const auto merged = readMidi(temp.getChildFile(loops(2)[0].file));
    ASSERT_EQ(merged.getNumTracks(), 1);
    EXPECT_EQ(merged.getTimeFormat(), 96);
    using N = std::array<int, 3>;
    EXPECT_EQ(notesOf(*merged.getTrack(0)),
              (std::vector<N> { { 0, 60, 48 }, { 24, 36, 324 }, { 96, 62, 144 }, { 192, 64, 240 }, { 288, 65, 336 } }));
    int tempo = 0, controllers = 0;
    for (const auto* e : *merged.getTrack(0))
    {
        tempo += e->message.isTempoMetaEvent() ? 1 : 0;
        controllers += e->message.isController() ? 1 : 0;
    }
    EXPECT_EQ(tempo, 1);
    EXPECT_EQ(controllers, 4);
    EXPECT_DOUBLE_EQ(merged.getLastTimestamp(), 384.0);
}

TEST_F(LoopFiles, MeasuringFiles)
{
    // SMPTE division (25 fps, 40 subframes): measured as 480 ticks per beat.
    juce::MidiMessageSequence track;
    track.addEvent(juce::MidiMessage::noteOn(1, 60, (juce::uint8) 100).withTimeStamp(0));
    track.addEvent(juce::MidiMessage::noteOff(1, 60).withTimeStamp(1440));
    juce::MidiFile smpte;
    smpte.setSmpteTimeFormat(25, 40);
    smpte.addTrack(track);
    const auto smpteFile = inbox.getChildFile("smpte.mid");
    {
        juce::FileOutputStream out(smpteFile);
        ASSERT_TRUE(smpte.writeTo(out, 0));
    }
    const auto garbage = inbox.getChildFile("garbage.mid");
    garbage.replaceWithText("not a MIDI file");

    struct Case { const char* what; juce::File file; double beats; int estimate; };
    const Case cases[] = {
        { "SMPTE division", smpteFile, 3.0, 12 },
        { "two beats at 240", midiFile("slow.mid", 2, { { 0, 100, 60 } }, 240), 2.0, 8 },
        { "unreadable MIDI", garbage, 0.0, 4 },
        { "missing", inbox.getChildFile("absent.mid"), 0.0, 4 },
        { "short MIDI", midiFile("short.mid", 0.5, { { 0, 100, 60 } }), 0.5, 4 },
        { "eight quarter beats of audio", audioFile("take.wav", 8), 0.0, 8 },
        { "a quarter beat of audio", audioFile("blip.aif", 1), 0.0, 4 },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        if (c.file.hasFileExtension(".mid"))
        {
            EXPECT_DOUBLE_EQ(NVManager::getNumBeats(c.file), c.beats);
        }
        EXPECT_EQ(engine->getSignaturesEstimate(c.file.getFullPathName()), c.estimate);
    }
    EXPECT_EQ(NVManager::getFileNumSamples(audioFile("take.wav", 8)), 44100);
    EXPECT_EQ(NVManager::getFileNumSamples(garbage), 0);
}

TEST_F(LoopFiles, EditsComeBackAsNewFilesAndAskWhenTheFileIsShared)
{
    ASSERT_TRUE(drop(2, 0, midiFile("a.mid", 1, { { 0, 100, 60 } })));
    ASSERT_TRUE(drop(2, 8, midiFile("b.mid", 1, { { 0, 100, 62 } })));
    ASSERT_TRUE(drop(2, 16, midiFile("c.mid", 1, { { 0, 100, 64 } })));
    // Loops 0 and 2 play the same file.
    auto* song = engine->getCurrentSong();
    song->GetLoop(2, 2)->sequence->SetUnderlyingName(song->GetLoop(2, 0)->sequence->GetUnderlyingName());
    const auto shared = loops(2)[0].file, other = loops(2)[1].file;
    engine->getUndoManager().clearUndoHistory();
    engine->setSongModified(false);

    juce::MidiMessageSequence edited;
    edited.addEvent(juce::MidiMessage::noteOn(1, 70, (juce::uint8) 90).withTimeStamp(0));
    edited.addEvent(juce::MidiMessage::noteOff(1, 70).withTimeStamp(240));
    edited.updateMatchedPairs();

    struct Case { const char* answer; bool taken; std::array<bool, 3> changed; };
    const Case cases[] = {
        { "Cancel", false, { false, false, false } },
        { "No", true, { true, false, false } },
        { "Yes", true, { true, false, true } },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.answer);
        dialogs.clearRecord();
        dialogs.answerNext(c.answer);
        const auto before = state();
        const auto filesBefore = temp.findChildFiles(juce::File::findFiles, false).size();
        EXPECT_EQ(engine->setLoopEvents(2, 0, edited, 240), c.taken);
        ASSERT_EQ(dialogs.getQuestions().size(), 1u);
        EXPECT_EQ(dialogs.getQuestions()[0].title, "Multiple instances");
        EXPECT_EQ(dialogs.getQuestions()[0].icon, NVDialogHost::Icon::info);
        const auto after = state();
        if (!c.taken)
        {
            EXPECT_TRUE(after == before);
            EXPECT_EQ(temp.findChildFiles(juce::File::findFiles, false).size(), filesBefore);
            continue;
        }
        const auto fresh = after.song[2][0].file;
        EXPECT_NE(fresh, shared);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(after.song[2][(size_t) i].file == fresh, c.changed[(size_t) i]) << "loop " << i;
        EXPECT_EQ(after.song[2][1].file, other);
        const auto midi = readMidi(temp.getChildFile(fresh));
        EXPECT_EQ(midi.getTimeFormat(), 240);
        EXPECT_EQ(notesOf(*midi.getTrack(0)), (std::vector<std::array<int, 3>> { { 0, 70, 240 } }));
        expectUndoRedo(before, after);
        ASSERT_TRUE(engine->getUndoManager().undo());
        EXPECT_TRUE(temp.getChildFile(fresh).existsAsFile()); // kept for a redo
        EXPECT_TRUE(temp.getChildFile(shared).existsAsFile()); // the old file was never touched
    }

    // A loop with a file of its own is taken back without a question.
    dialogs.clearRecord();
    EXPECT_TRUE(engine->setLoopEvents(2, 1, edited, 480));
    EXPECT_TRUE(dialogs.getQuestions().empty());
    EXPECT_NE(loops(2)[1].file, other);
}

TEST_F(LoopFiles, AudioEditsComeBackAsAiffAtTheDeviceRate)
{
    ASSERT_TRUE(drop(1, 0, audioFile("take.wav", 8, rate, 2)));
    juce::AudioBuffer<float> buffer(2, 1000);
    for (int i = 0; i < 1000; ++i)
    {
        buffer.setSample(0, i, 0.25f);
        buffer.setSample(1, i, -0.25f);
    }
    ASSERT_TRUE(engine->setLoopBuffer(1, 0, buffer));
    const auto file = temp.getChildFile(loops(1)[0].file);
    EXPECT_TRUE(file.hasFileExtension(".aif"));
    juce::AudioFormatManager formats;
    formats.registerBasicFormats();
    std::unique_ptr<juce::AudioFormatReader> reader(formats.createReaderFor(file));
    ASSERT_NE(reader, nullptr);
    EXPECT_EQ(reader->sampleRate, rate);
    EXPECT_EQ(reader->numChannels, 2u);
    EXPECT_EQ(reader->bitsPerSample, 16u);
    EXPECT_EQ(reader->lengthInSamples, 1000);
    juce::AudioBuffer<float> back(2, 1000);
    reader->read(&back, 0, 1000, 0, true, true);
    EXPECT_NEAR(back.getSample(0, 500), 0.25f, 1e-3f);
    EXPECT_NEAR(back.getSample(1, 500), -0.25f, 1e-3f);
    ASSERT_TRUE(engine->getUndoManager().undo());
    EXPECT_TRUE(loops(1)[0].file.endsWith(".wav"));
}

TEST_F(LoopFiles, EditingOpensTheLoopInAToolOrAnEditor)
{
    ASSERT_TRUE(drop(2, 0, midiFile("beat.mid", 2, { { 0, 100, 60 }, { 480, 600, 62 } }, 960)));
    ASSERT_TRUE(drop(1, 0, audioFile("take.wav", 8)));
    engine->renameLoop(2, 0, "Theka");
    engine->setSongModified(false);

    // No tool and no editor: nothing is shown.
    EXPECT_FALSE(engine->editLoop(2, 0));
    EXPECT_TRUE(engine->isSongModified());
    EXPECT_FALSE(engine->editLoop(9, 0));

    RecordingEditors editors;
    engine->setLoopEditorHost(&editors);
    EXPECT_TRUE(engine->editLoop(2, 0));
    EXPECT_EQ(editors.title, "Loop Editor - Theka (Tabla)");
    EXPECT_EQ(editors.where, (std::array<int, 4> { 2, 0, 0, 8 }));
    EXPECT_EQ(editors.ticksPerQuarterNote, 960);
    EXPECT_EQ(editors.notes, (std::vector<std::array<int, 3>> { { 0, 60, 100 }, { 480, 62, 600 } }));
    EXPECT_TRUE(editors.auditionHadEngine);
    EXPECT_EQ(engine->getAuditionTrack().getPlugin(), nullptr); // the engine went back
    ASSERT_NE(engine->getTrack(2)->getPlugin(), nullptr);

    EXPECT_FALSE(engine->editLoop(1, 0));
    EXPECT_EQ(editors.title, "Audio Editor - take (Audio)");
    EXPECT_EQ(editors.numSamples, 44100);
    engine->setLoopEditorHost(nullptr);

    // External tools get the playing path as their one argument.
    const auto record = inbox.getChildFile("args.txt");
    const auto tool = inbox.getChildFile("tool with space.sh");
    tool.replaceWithText("#!/bin/sh\nprintf '%s|' \"$#\" \"$@\" > '" + record.getFullPathName() + "'\n", false, false, "\n");
    tool.setExecutePermission(true);
    ASSERT_TRUE(engine->quantizeLoop(2, 0));
    struct Case { int track; const char* missingText; };
    const Case cases[] = {
        { 2, "You have defined an external MIDI editor that was not found." },
        { 1, "You have defined an external Audio editor that was not found." },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.track);
        auto& path = c.track == 2 ? engine->getSettings().extMIDITool : engine->getSettings().extAudioTool;
        path = inbox.getChildFile("absent-tool").getFullPathName();
        dialogs.clearRecord();
        EXPECT_FALSE(engine->editLoop(c.track, 0));
        ASSERT_EQ(dialogs.getQuestions().size(), 1u);
        EXPECT_EQ(dialogs.getQuestions()[0].title, "Tool not found");
        EXPECT_EQ(dialogs.getQuestions()[0].text, c.missingText);

        path = tool.getFullPathName();
        record.deleteFile();
        EXPECT_TRUE(engine->editLoop(c.track, 0));
        // The tool runs on its own: wait for what it wrote.
        for (int i = 0; i < 1000 && !record.loadFileAsString().endsWith("|"); ++i)
            juce::Thread::sleep(10);
        const auto own = temp.getChildFile(loops(c.track)[0].file);
        const auto playing = c.track == 2 ? own.getSiblingFile(own.getFileNameWithoutExtension() + "_quant.mid") : own;
        EXPECT_EQ(record.loadFileAsString(), "1|" + playing.getFullPathName() + "|");
        path.clear();
    }
}

TEST_F(LoopFiles, ADroppedLoopBringsItsQuantizedTwin)
{
    const auto own = midiFile("groove.mid", 1, { { 10, 100, 60 } });
    const auto twin = midiFile("groove_quant.mid", 1, { { 0, 90, 60 } });
    ASSERT_TRUE(drop(2, 0, own));
    EXPECT_TRUE(engine->isLoopQuantized(2, 0));
    const auto copy = temp.getChildFile(loops(2)[0].file);
    const auto copiedTwin = copy.getSiblingFile(copy.getFileNameWithoutExtension() + "_quant.mid");
    EXPECT_EQ(notesOf(*readMidi(copiedTwin).getTrack(0))[0][0], 0);
    EXPECT_EQ(notesOf(*readMidi(copy).getTrack(0))[0][0], 10);
    // Audio tracks bring no twins.
    EXPECT_FALSE(engine->isLoopQuantized(1, 0));
}
