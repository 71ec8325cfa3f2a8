#pragma once
#include "engine/NVManager.h"
#include "engine/NVScriptedDialogs.h"
#include "model/TWComposition.h"
#include "model/TWCompositionsMgr.h"
#include "model/TWRhythmicCycle.h"
#include "tests/support/NVTestEnvironment.h"

#include <gtest/gtest.h>

// A fresh engine in an empty home with a new song whose composition holds one
// track per instrument name ("Audio" for an audio track), each built as a
// run-time track; the engine is killed at the end of the test.
struct NVSongFixture : ::testing::Test
{
    void TearDown() override { NVManager::kill(); }

    void startSong(std::initializer_list<const char*> instruments)
    {
        home = NVTest::freshHome();
        engine = NVManager::getInstance();
        engine->setDialogHost(&dialogs);
        engine->newSong();
        temp = juce::File(engine->getCurrentGroovesTempFolder(false));
        auto* composition = GetCompositionsMgr()->GetComposition(0);
        ASSERT_NE(composition, nullptr);
        int index = 0;
        for (const juce::String name : instruments)
        {
            const bool audio = name == "Audio";
            ASSERT_EQ(composition->AddInstrumentTrack(audio ? "Audio" : "GM", 0, name.toRawUTF8(), 0, 4, 100, 0), index + 1);
            engine->loadTrack(*engine->getCurrentSong(), name, composition->GetTrack(index), index);
            ++index;
        }
    }

    // A loop of the composition track playing `file` of the temp folder.
    void place(int track, int start, int length, const char* file)
    {
        auto* loop = GetCompositionsMgr()->AddTrackItem(track, start, length);
        ASSERT_NE(loop, nullptr);
        loop->SetUnderlyingName(file);
    }

    juce::File home, temp;
    NVManager* engine = nullptr;
    NVScriptedDialogs dialogs;
};
