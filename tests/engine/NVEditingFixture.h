#pragma once
#include "engine/NVManager.h"
#include "engine/NVScriptedDialogs.h"
#include "model/TWComposition.h"
#include "model/TWCompositionsMgr.h"
#include "model/TWRhythmicSequence.h"
#include "tests/support/NVTestEnvironment.h"

#include <gtest/gtest.h>

// A new song at 44.1 kHz and 120 BPM with two audio tracks (0 and 1) and a
// Tabla track (2), no history and not modified; files are made in `inbox`.
struct NVEditingFixture : ::testing::Test
{
    static constexpr double rate = 44100.0;

    void SetUp() override
    {
        NVTest::freshHome();
        engine = NVManager::getInstance();
        engine->setDialogHost(&dialogs);
        engine->prepareToPlay(512, rate);
        engine->newSong();
        ASSERT_EQ(engine->appendTrack("Audio"), 0);
        ASSERT_EQ(engine->appendTrack("Audio"), 1);
        ASSERT_EQ(engine->appendTrack("Tabla"), 2);
        engine->getUndoManager().clearUndoHistory();
        engine->setSongModified(false);
        temp = juce::File(engine->getCurrentGroovesTempFolder(false));
        inbox = NVTest::currentHome().getChildFile("inbox");
        inbox.createDirectory();
    }
    void TearDown() override { NVManager::kill(); }

    static float ramp(int, int i) { return (float) (i % 1000) / 2000.0f; }

    // A WAV or AIFF file lasting `quarterBeats` at 120 BPM.
    juce::File audioFile(const juce::String& name, int quarterBeats, double fileRate = rate, int channels = 1)
    {
        auto file = inbox.getChildFile(name);
        const int samples = (int) (quarterBeats * fileRate / 8.0); // a quarter beat is 1/8 s at 120 BPM
        EXPECT_TRUE(NVTest::writeAudioFile(file, channels, samples, fileRate, ramp));
        return file;
    }

    // A one-track MIDI file of `beats` beats with notes {start, end, key} in ticks.
    struct Note { int start, end, key; };
    juce::File midiFile(const juce::String& name, double beats, std::initializer_list<Note> notes, int division = 480)
    {
        juce::MidiMessageSequence track;
        for (const auto& n : notes)
        {
            track.addEvent(juce::MidiMessage::noteOn(1, n.key, (juce::uint8) 100).withTimeStamp(n.start));
            track.addEvent(juce::MidiMessage::noteOff(1, n.key).withTimeStamp(n.end));
        }
        track.addEvent(juce::MidiMessage::endOfTrack().withTimeStamp(beats * division));
        track.updateMatchedPairs();
        auto file = inbox.getChildFile(name);
        EXPECT_TRUE(NVTest::writeMidiFile(file, track, division));
        return file;
    }

    // Drops a file at a quarter-beat position, as the arrangement view does.
    bool drop(int track, int quarterBeat, const juce::File& file, int length = 0, bool findFreePlace = false)
    {
        const int x = quarterBeat * engine->getBeatWidth() / 4;
        return engine->dragFileToTrack(track, x, file.getFullPathName(), file.getFileNameWithoutExtension(), length,
                                       true, findFreePlace);
    }

    int pixels(int quarterBeats) const { return quarterBeats * engine->getBeatWidth() / 4; }

    // What the song, the composition, the selection and the flag hold.
    struct Loop
    {
        int start, end;
        juce::String name, file;
        bool operator==(const Loop& o) const { return start == o.start && end == o.end && name == o.name && file == o.file; }
    };
    struct State
    {
        std::vector<std::vector<Loop>> song, composition;
        juce::Array<int> selection;
        bool modified = false;
        bool operator==(const State& o) const
        {
            return song == o.song && composition == o.composition && selection == o.selection && modified == o.modified;
        }
    };
    // Shown when a comparison fails.
    friend std::ostream& operator<<(std::ostream& out, const State& s)
    {
        auto put = [&out](const char* what, const std::vector<std::vector<Loop>>& tracks)
        {
            out << what << ":";
            for (size_t t = 0; t < tracks.size(); ++t)
            {
                out << " [" << t << "]";
                for (const auto& l : tracks[t])
                    out << " " << l.start << ".." << l.end << " '" << l.name << "' " << l.file;
            }
            out << "\n";
        };
        put("song", s.song);
        put("composition", s.composition);
        out << "selection:";
        for (int code : s.selection)
            out << " " << code;
        return out << (s.modified ? " modified" : " unmodified") << "\n";
    }

    static juce::String text(const RWCString& s) { return juce::String::fromUTF8(s.data(), (int) s.length()); }

    State state() const
    {
        State s;
        auto* song = engine->getCurrentSong();
        auto* composition = GetCompositionsMgr()->GetComposition(0);
        for (int t = 0; t < song->getNumTracks(); ++t)
        {
            std::vector<Loop> loops;
            for (int i = 0; i < song->getTrack(t)->getNumLoops(); ++i)
            {
                auto* l = song->getTrack(t)->getLoop(i);
                loops.push_back({ l->start, l->end, l->name, text(l->sequence->GetUnderlyingName()) });
            }
            s.song.push_back(loops);
            std::vector<Loop> stored;
            for (const auto& item : composition->GetItemsInTrack(t))
                stored.push_back({ item.start, item.end, text(item.item->GetName()), text(item.item->GetUnderlyingName()) });
            s.composition.push_back(stored);
        }
        s.selection = engine->getSelectedLoops();
        s.selection.sort(); // a set: its order does not matter
        s.modified = engine->isSongModified();
        return s;
    }

    // Undo gives `before` back and redo `after`, composition included. Loops
    // moved back by an undo stay selected: `reselected` lists them.
    void expectUndoRedo(State before, const State& after, juce::Array<int> reselected = {})
    {
        for (int code : reselected)
            before.selection.addIfNotAlreadyThere(code);
        before.selection.sort();
        ASSERT_TRUE(engine->getUndoManager().undo());
        EXPECT_TRUE(state() == before) << "after undo\n" << state() << "expected\n" << before;
        ASSERT_TRUE(engine->getUndoManager().redo());
        EXPECT_TRUE(state() == after) << "after redo\n" << state() << "expected\n" << after;
    }

    std::vector<Loop> loops(int track) const { return state().song[(size_t) track]; }

    NVManager* engine = nullptr;
    NVScriptedDialogs dialogs;
    juce::File temp, inbox;
};
