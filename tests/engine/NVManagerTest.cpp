#include "engine/NVManager.h"
#include "engine/NVMidiTrack.h"
#include "engine/NVScriptedDialogs.h"
#include "model/TWComposition.h"
#include "model/TWCompositionsMgr.h"
#include "model/TWInstrumentTrack.h"
#include "model/TWSettings.h"
#include "tests/support/NVTestEnvironment.h"

#include <gtest/gtest.h>

namespace
{
    const char* const kAllKeys[] = { "pluginList", "audioSettings", "ExtMIDITool", "ExtAudioTool",
                                     "ForceMonoInput", "MainWindowBounds", "LoopEditorBounds",
                                     "AudioEditorBounds", "LAMEPath", "AdditionalLatency" };

    std::unique_ptr<juce::PropertiesFile> openSettings()
    {
        juce::PropertiesFile::Options options;
        options.storageFormat = juce::PropertiesFile::storeAsXML;
        options.millisecondsBeforeSaving = -1;
        return std::make_unique<juce::PropertiesFile>(NVUserSettings::getSettingsFile(), options);
    }

    void writeSettings(const juce::StringPairArray& values)
    {
        auto props = openSettings();
        for (auto& key : values.getAllKeys())
            props->setValue(key, values[key]);
        ASSERT_TRUE(props->save());
    }

    // Every test starts a fresh engine in an empty home and kills it at the end.
    struct EngineTest : ::testing::Test
    {
        void SetUp() override { home = NVTest::freshHome(); }
        void TearDown() override { NVManager::kill(); }

        NVManager& start()
        {
            auto* engine = NVManager::getInstance();
            engine->setDialogHost(&dialogs);
            return *engine;
        }

        juce::File home;
        NVScriptedDialogs dialogs;
    };
}

TEST_F(EngineTest, FreshStartHasDefaultsAndWritesEveryKeyAtExit)
{
    auto& engine = start();
    auto& s = engine.getSettings();
    EXPECT_EQ(s.extMIDITool, "");
    EXPECT_EQ(s.extAudioTool, "");
    EXPECT_FALSE(s.forceMonoInput);
    EXPECT_EQ(s.lamePath, "/usr/local/bin/lame");
    EXPECT_EQ(s.additionalLatency, 0);
    EXPECT_TRUE(s.mainWindowBounds.isEmpty());
    EXPECT_EQ(engine.getSampleRate(), 0.0);
    EXPECT_EQ(engine.getPlaybackMode(), kStopped);
    EXPECT_EQ(engine.getQuantizeGrid(), 16);
    EXPECT_EQ(engine.getSelectedTrack(), -1);
    EXPECT_EQ(engine.getCurrentSong(), nullptr);
    EXPECT_EQ(engine.getNumInstruments(), 42);
    EXPECT_EQ(engine.getInstrumentByIndex(0)->getName(), "Audio");
    EXPECT_FLOAT_EQ(engine.getAuditionTrack().getVolume(), 1.0f);
    EXPECT_FLOAT_EQ(engine.getAuditionTrack().getPan(), 0.5f);
    for (int i = 0; i < 5; ++i)
        EXPECT_NE(engine.getTypeface(i), nullptr) << i;

    engine.initialiseAudio(); // no device here: runs on at rate 0 without a message
    EXPECT_TRUE(dialogs.getQuestions().empty());
    const bool deviceOpen = engine.getDeviceManager().getCurrentAudioDevice() != nullptr;
    NVManager::kill();

    // The device state is written only when a device was open.
    auto props = openSettings();
    for (auto* key : kAllKeys)
    {
        if (juce::String(key) != "audioSettings" || deviceOpen)
        {
            EXPECT_TRUE(props->containsKey(key)) << key;
        }
    }
    EXPECT_EQ(props->getValue("LAMEPath"), "/usr/local/bin/lame");
    EXPECT_EQ(props->getValue("ForceMonoInput"), "0");
    EXPECT_EQ(props->getValue("AdditionalLatency"), "0");
}

TEST_F(EngineTest, SettingsSurviveARun)
{
    writeSettings({});
    {
        juce::StringPairArray values;
        values.set("ExtMIDITool", "/opt/midi editor");
        values.set("ExtAudioTool", "/usr/bin/audacity");
        values.set("ForceMonoInput", "1");
        values.set("MainWindowBounds", "10 20 800 600");
        values.set("LoopEditorBounds", "1 2 3 4");
        values.set("AudioEditorBounds", "");
        values.set("LAMEPath", "/opt/lame");
        values.set("AdditionalLatency", "35");
        writeSettings(values);
    }
    auto& engine = start();
    auto& s = engine.getSettings();
    EXPECT_EQ(s.extMIDITool, "/opt/midi editor");
    EXPECT_TRUE(s.forceMonoInput);
    EXPECT_EQ(s.mainWindowBounds, juce::Rectangle<int>(10, 20, 800, 600));
    EXPECT_EQ(s.loopEditorBounds, juce::Rectangle<int>(1, 2, 3, 4));
    EXPECT_TRUE(s.audioEditorBounds.isEmpty());
    EXPECT_EQ(s.lamePath, "/opt/lame");
    EXPECT_EQ(s.additionalLatency, 35);
    NVManager::kill();

    auto props = openSettings();
    EXPECT_EQ(props->getValue("ExtMIDITool"), "/opt/midi editor");
    EXPECT_EQ(props->getValue("ExtAudioTool"), "/usr/bin/audacity");
    EXPECT_EQ(props->getValue("ForceMonoInput"), "1");
    EXPECT_EQ(props->getValue("MainWindowBounds"), "10 20 800 600");
    EXPECT_EQ(props->getValue("LoopEditorBounds"), "1 2 3 4");
    EXPECT_EQ(props->getValue("LAMEPath"), "/opt/lame");
    EXPECT_EQ(props->getValue("AdditionalLatency"), "35");
}

TEST_F(EngineTest, BlankLamePathBecomesTheDefault)
{
    for (auto* stored : { "", "   ", "\t " })
    {
        NVTest::freshHome();
        juce::StringPairArray values;
        values.set("LAMEPath", stored);
        writeSettings(values);
        EXPECT_EQ(start().getSettings().lamePath, "/usr/local/bin/lame") << "'" << stored << "'";
        NVManager::kill();
        EXPECT_EQ(openSettings()->getValue("LAMEPath"), "/usr/local/bin/lame");
    }
}

TEST_F(EngineTest, GarbageSettingsFileLeavesDefaults)
{
    const char* const garbage[] = { "this is not xml", "<PROPERTIES><VALUE name=", "\x01\x02\xff\xfe", "" };
    for (auto* text : garbage)
    {
        NVTest::freshHome();
        auto file = NVUserSettings::getSettingsFile();
        file.getParentDirectory().createDirectory();
        file.replaceWithText(text);
        auto& engine = start();
        EXPECT_EQ(engine.getSettings().lamePath, "/usr/local/bin/lame");
        EXPECT_EQ(engine.getSettings().additionalLatency, 0);
        EXPECT_TRUE(engine.getSettings().mainWindowBounds.isEmpty());
        EXPECT_NE(engine.newSong(), nullptr);
        NVManager::kill();
        EXPECT_EQ(openSettings()->getValue("LAMEPath"), "/usr/local/bin/lame");
    }
}

TEST_F(EngineTest, UnreadableSettingsFileLeavesDefaults)
{
    // A folder where the settings file should be: nothing can be read or written there.
    NVUserSettings::getSettingsFile().createDirectory();
    auto& engine = start();
    EXPECT_EQ(engine.getSettings().lamePath, "/usr/local/bin/lame");
    EXPECT_EQ(engine.getSettings().extMIDITool, "");
    EXPECT_NE(engine.newSong(), nullptr);
    NVManager::kill(); // the save fails quietly
    EXPECT_TRUE(NVUserSettings::getSettingsFile().isDirectory());
}

TEST_F(EngineTest, LamePathFallsBackToThePath)
{
    auto& s = start().getSettings();
    s.lamePath = "/usr/local/bin/lame";
    const auto resolved = s.resolveLAMEPath();
    const char* expected = juce::File("/usr/local/bin/lame").existsAsFile() ? "/usr/local/bin/lame"
                           : juce::File("/usr/bin/lame").existsAsFile()     ? "/usr/bin/lame"
                                                                            : "/usr/local/bin/lame";
    EXPECT_EQ(resolved, expected);
    s.lamePath = "/somewhere/else/lame";
    EXPECT_EQ(s.resolveLAMEPath(), "/somewhere/else/lame"); // a chosen path is kept
}

TEST_F(EngineTest, FoldersLiveUnderTheHome)
{
    auto& engine = start();
    const auto user = home.getChildFile("Nadavo Recorder").getFullPathName() + "/";
    EXPECT_EQ(engine.getUserPath(), user);
    EXPECT_EQ(engine.getLibraryPath(), user + "Library/Binaries");
    EXPECT_EQ(engine.getCurrentGroovesFolder(), user + "Songs");
    EXPECT_EQ(engine.getCurrentGroovesTempFolder(false), user + "Songs/temp");
    EXPECT_EQ(engine.getFixedGrooveFilePath(), user + "Songs/temp/Main.nvc");
    EXPECT_EQ(NVUserSettings::getSettingsFile().getFullPathName(), user + "Nadavo Recorder.settings");
    EXPECT_TRUE(engine.getSoundEnginesPath().endsWith("/Sound Engines/"));
}

TEST_F(EngineTest, TempFolderIsRecreatedEmpty)
{
    auto& engine = start();
    const juce::File temp(engine.getCurrentGroovesTempFolder(true));
    ASSERT_TRUE(temp.isDirectory());
    temp.getChildFile("old.wav").replaceWithText("x");
    temp.getChildFile("sub").createDirectory();
    EXPECT_EQ(engine.getCurrentGroovesTempFolder(true), temp.getFullPathName());
    EXPECT_EQ(temp.getNumberOfChildFiles(juce::File::findFilesAndDirectories), 0);
    EXPECT_TRUE(dialogs.getQuestions().empty());
}

TEST_F(EngineTest, TempFolderThatCannotBeCreatedWarns)
{
    auto& engine = start();
    const juce::File songs(engine.getCurrentGroovesFolder());
    songs.getParentDirectory().createDirectory();
    songs.replaceWithText("a file where the songs folder should be");
    EXPECT_EQ(engine.getCurrentGroovesTempFolder(true), "");
    ASSERT_EQ(dialogs.getQuestions().size(), 1u);
    const auto& q = dialogs.getQuestions()[0];
    EXPECT_EQ(q.title, "Warning");
    EXPECT_EQ(q.text, "Can't recreate temp folder.");
    EXPECT_EQ(q.buttons, juce::StringArray("OK"));
    songs.deleteFile();
}

TEST_F(EngineTest, ModifiedSongAsksBeforeItIsDiscarded)
{
    auto& engine = start();
    auto* first = engine.newSong();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(dialogs.getQuestions().empty()); // nothing to ask about

    struct Case { const char* answer; bool agrees; };
    for (const Case c : { Case { "Cancel", false }, Case { "No", true }, Case { "Yes", true } })
    {
        dialogs.clearRecord();
        engine.setSongModified(true);
        dialogs.answerNext(c.answer);
        const auto chosen = home.getChildFile("answered.nvz");
        if (juce::String(c.answer) == "Yes")
            dialogs.chooseNext(chosen); // the new song is saved under a name asked for
        EXPECT_EQ(engine.optionallySaveSong(), c.agrees) << c.answer;
        EXPECT_EQ(chosen.existsAsFile(), juce::String(c.answer) == "Yes") << c.answer;
        ASSERT_EQ(dialogs.getQuestions().size(), 1u);
        const auto& q = dialogs.getQuestions()[0];
        EXPECT_EQ(q.title, "Song was modified");
        EXPECT_EQ(q.text, "The current song was modified. Do you wish to save changes?");
        EXPECT_EQ(q.buttons, juce::StringArray({ "Yes", "No", "Cancel" }));
        EXPECT_EQ(engine.isSongModified(), !c.agrees) << c.answer;
    }

    engine.setSongModified(true);
    dialogs.answerNext("Cancel");
    EXPECT_EQ(engine.newSong(), engine.getCurrentSong()); // cancelled: the same song stays
    EXPECT_TRUE(engine.isSongModified());
}

TEST_F(EngineTest, NewSongIsEmptyAt120BeatsPerMinute)
{
    auto& engine = start();
    auto* song = engine.newSong();
    ASSERT_NE(song, nullptr);
    EXPECT_EQ(song->getName(), "");
    EXPECT_EQ(song->getTempo(), 120);
    EXPECT_EQ(song->barSize, 4);
    EXPECT_FLOAT_EQ(song->getVolume(), 0.9f);
    EXPECT_EQ(song->getNumTracks(), 0);
    EXPECT_FALSE(engine.isSongModified());
    EXPECT_TRUE(juce::File(engine.getCurrentGroovesTempFolder(false)).isDirectory());
    EXPECT_FALSE(GetSettings()->GetAlternateChannels());
    EXPECT_EQ(GetSettings()->GetMIDIHeaderLength(), 0);
}

TEST_F(EngineTest, InstrumentsAreFoundIgnoringCase)
{
    auto& engine = start();
    ASSERT_NE(engine.getInstrument("tabla"), nullptr);
    EXPECT_EQ(engine.getInstrument("tabla")->getName(), "Tabla");
    EXPECT_EQ(engine.getInstrumentByName("SYNTH PAD")->getEngineName(), "SynthPad");
    EXPECT_EQ(engine.getInstrument("Tabl"), nullptr);
    EXPECT_EQ(engine.getInstrumentByIndex(42), nullptr);
    EXPECT_EQ(engine.getInstrumentByIndex(-1), nullptr);

    struct Case { const char* maker; const char* name; bool inbuilt; };
    const Case cases[] = { { "Kelvora", "Tabla", true }, { "KELVORA", "Sitar", true },
                           { "Kelvora", "mirelo", false }, { "kelvora", "TOLVANE", false },
                           { "Someone", "Tabla", false }, { "", "", false } };
    for (const auto& c : cases)
    {
        juce::PluginDescription d;
        d.manufacturerName = c.maker;
        d.name = c.name;
        EXPECT_EQ(NVManager::isInbuiltPlugin(d), c.inbuilt) << c.maker << "/" << c.name;
    }
}

TEST_F(EngineTest, EveryInstrumentTrackGetsASoundEngine)
{
    auto& engine = start();
    engine.newSong();
    for (int i = 0; i < engine.getNumInstruments(); ++i)
    {
        auto* instrument = engine.getInstrumentByIndex(i);
        const int index = engine.appendTrack(instrument->getName());
        auto* track = engine.getTrack(index);
        ASSERT_NE(track, nullptr);
        EXPECT_EQ(track->getInstrument(), instrument);
        if (instrument->getName() == "Audio")
        {
            EXPECT_TRUE(track->isAudioTrack());
            EXPECT_EQ(track->getPlugin(), nullptr);
        }
        else
        {
            ASSERT_NE(track->getPlugin(), nullptr) << instrument->getName();
            EXPECT_TRUE(NVManager::isInbuiltPlugin(track->getPlugin()->getPluginDescription()));
            EXPECT_EQ(track->getPlugin()->getName(), instrument->getEngineName());
        }
    }
    EXPECT_TRUE(dialogs.getQuestions().empty());

    // The composition grows with the song, one track for each.
    auto* composition = GetCompositionsMgr()->GetComposition(0);
    ASSERT_EQ((int) composition->GetTrackCount(), engine.getCurrentSong()->getNumTracks());
    EXPECT_EQ(juce::String(composition->GetTrack(1)->GetName().data()), "Accordion");
    EXPECT_EQ(engine.getTrack(1)->getCaption(), "Accordion");
    EXPECT_TRUE(engine.isSongModified());
}

TEST_F(EngineTest, StrokeNamesComeFromTheEnginesFile)
{
    auto& engine = start();
    engine.newSong();
    const int tabla = engine.appendTrack("Tabla");
    const int piano = engine.appendTrack("Piano");
    auto* bare = new NVMidiTrack();
    engine.getCurrentSong()->appendTrack(bare);

    struct Case { int track; int note; const char* name; };
    const Case cases[] = {
        { tabla, 36, "DHA" }, { tabla, 38, "NA" }, { tabla, 0, "" }, { tabla, 120, "" },
        { piano, 61, "C#5" }, { piano, 0, "C0" }, { piano, 127, "G10" }, // no stroke-name file: pitch names
        { bare->getIndex(), 60, "" }, { 99, 60, "" },                   // no instrument, no track
    };
    for (const auto& c : cases)
    {
        const auto names = engine.getStrokesMapping(c.track);
        ASSERT_EQ(names.size(), 128) << c.track;
        EXPECT_EQ(names[c.note], c.name) << c.track << "/" << c.note;
    }
}

TEST_F(EngineTest, MissingSynthIsReported)
{
    auto& engine = start();
    engine.newSong();
    const int index = engine.appendTrack("Audio");
    NVInstrument nowhere;
    nowhere.name = "Nowhere";
    nowhere.engineName = "NoSuchEngine";
    nowhere.pluginFolder = "/nonexistent/";
    EXPECT_FALSE(engine.setTrackInstrument(index, &nowhere, false) && engine.getTrack(index)->getPlugin() != nullptr);

    auto* midi = new NVMidiTrack();
    engine.getCurrentSong()->appendTrack(midi);
    EXPECT_FALSE(engine.setTrackInstrument(midi->getIndex(), &nowhere, false));
    EXPECT_EQ(midi->getInstrument(), &nowhere); // keeps the instrument, stays silent
    EXPECT_EQ(midi->getPlugin(), nullptr);
    ASSERT_EQ(dialogs.getQuestions().size(), 1u);
    EXPECT_EQ(dialogs.getQuestions()[0].title, "Synth not found");
    EXPECT_EQ(dialogs.getQuestions()[0].text, "Nadavo requires a synth to be installed on your system.");
}

TEST_F(EngineTest, TrackEngineStateRoundTrips)
{
    auto& engine = start();
    engine.newSong();
    auto* track = dynamic_cast<NVMidiTrack*>(engine.getTrack(engine.appendTrack("Tabla")));
    ASSERT_NE(track, nullptr);
    ASSERT_NE(track->getPlugin(), nullptr);
    track->getPlugin()->setCurrentProgram(track->getPlugin()->getNumPrograms() - 1);
    const auto state = track->getPluginState();
    EXPECT_TRUE(state.isNotEmpty());

    auto* other = dynamic_cast<NVMidiTrack*>(engine.getTrack(engine.appendTrack("Tabla")));
    ASSERT_TRUE(other->setPluginState(state));
    EXPECT_EQ(other->getPluginState(), state);
    EXPECT_EQ(other->getPlugin()->getCurrentProgram(), track->getPlugin()->getCurrentProgram());

    NVMidiTrack bare;
    EXPECT_EQ(bare.getPluginState(), "");
    EXPECT_FALSE(bare.setPluginState(state));
}

TEST_F(EngineTest, PositionAndZoom)
{
    auto& engine = start();
    engine.newSong();
    EXPECT_EQ(engine.getBeatWidth(), 60);
    engine.setCurrentPos(2.5);
    EXPECT_EQ(engine.getLastRenderedTick(), 1200);
    EXPECT_EQ(engine.getPlayPositionSamples(), 0u); // no device: rate 0
    EXPECT_GE(engine.getPlayCursorX(), 150);
    engine.setPlayCursorX(30);
    EXPECT_EQ(engine.getLastRenderedTick(), 240);
    engine.setMinimumNrOfBeats(32);
    EXPECT_EQ(engine.getPlayCursorMax(), 1920);

    for (int i = 0; i < 30; ++i)
        engine.zoomHorizontally(true);
    EXPECT_EQ(engine.getBeatWidth(), 200);
    for (int i = 0; i < 30; ++i)
        engine.zoomHorizontally(false);
    EXPECT_EQ(engine.getBeatWidth(), 10);
    GetSettings()->SetTVBeatWidth(60);
}

TEST_F(EngineTest, ReinitResetsPerSongState)
{
    auto& engine = start();
    engine.newSong();
    engine.setSelectedTrack(3);
    engine.setSongModified(true);
    engine.setCurrentPos(4.0);
    engine.reinitVariables();
    EXPECT_EQ(engine.getSelectedTrack(), -1);
    EXPECT_TRUE(engine.getSelectedLoops().isEmpty());
    EXPECT_FALSE(engine.isSongModified());
    EXPECT_EQ(engine.getLastRenderedTick(), 0);
    EXPECT_EQ(engine.getRecordingAudioTrack(), -1);
    EXPECT_EQ(engine.getMinimumNrOfBeats(), 4); // an empty composition is four beats long
}

TEST_F(EngineTest, LockProcessStopsAndSilences)
{
    auto& engine = start();
    engine.setPlaybackMode(kPlaying);
    engine.lockProcess();
    EXPECT_EQ(engine.getPlaybackMode(), kStopped);
    EXPECT_TRUE(engine.isProcessLocked());
    EXPECT_TRUE(dialogs.isBusy());
    engine.unlockProcess();
    EXPECT_FALSE(engine.isProcessLocked());
    EXPECT_FALSE(dialogs.isBusy());
}
