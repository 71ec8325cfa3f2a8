#include "cli/NVCommandLine.h"
#include "cli/NVConsoleDialogs.h"
#include "engine/NVManager.h"
#include "engine/NVScriptedDialogs.h"
#include "model/TWComposition.h"
#include "model/TWCompositionsMgr.h"
#include "model/TWRhythmicCycle.h"
#include "tests/support/NVTestEnvironment.h"

#include <juce_audio_formats/juce_audio_formats.h>

#include <gtest/gtest.h>

#include <sstream>

namespace
{
    struct Result { int code; std::string out; std::string err; };

    Result run(const juce::StringArray& args)
    {
        std::ostringstream out, err;
        const int code = NVCommandLine(out, err).run(args);
        return { code, out.str(), err.str() };
    }
}

TEST(NVCommandLine, UsageErrorsExitTwo)
{
    struct Case { juce::StringArray args; const char* message; };
    const Case cases[] = {
        { {}, "no command" },
        { { "frobnicate" }, "unknown command 'frobnicate'" },
        { { "render-note", "Tabla" }, "needs INSTRUMENT NOTE" },
        { { "render-note", "Tabla", "200", "x.wav" }, "NOTE must be" },
        { { "render-note", "Tabla", "60", "x.wav", "0" }, "VELOCITY" },
    };
    for (const auto& c : cases)
    {
        const auto r = run(c.args);
        EXPECT_EQ(r.code, 2) << c.args.joinIntoString(" ");
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("usage: nadavo"), std::string::npos) << r.err;
    }
}

TEST(NVCommandLine, PathsFollowTheHome)
{
    const auto home = NVTest::freshHome();
    const auto r = run({ "paths" });
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.out.find((home.getFullPathName() + "/Nadavo Recorder/Songs").toStdString()), std::string::npos) << r.out;
    // The tool writes its settings on the way out, as the program does.
    EXPECT_TRUE(home.getChildFile("Nadavo Recorder/Nadavo Recorder.settings").existsAsFile());
}

TEST(NVCommandLine, RenderNoteWritesAudibleAudio)
{
    const auto home = NVTest::freshHome();
    const auto out = home.getChildFile("tabla.wav");
    const auto r = run({ "render-note", "tabla", "38", out.getFullPathName(), "110", "1" });
    ASSERT_EQ(r.code, 0) << r.err;

    juce::AudioFormatManager formats;
    formats.registerBasicFormats();
    std::unique_ptr<juce::AudioFormatReader> reader(formats.createReaderFor(out));
    ASSERT_NE(reader, nullptr);
    EXPECT_EQ(reader->lengthInSamples, 44100);
    juce::Range<float> levels[2];
    reader->readMaxLevels(0, reader->lengthInSamples, levels, 2);
    EXPECT_GT(levels[0].getEnd(), 0.01f);
    EXPECT_GT(levels[1].getEnd(), 0.01f);

    const auto missing = run({ "render-note", "Kazoo", "60", out.getFullPathName() });
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.err.find("no instrument named 'Kazoo'"), std::string::npos);
}

namespace
{
    // A song archive made by the engine: a soundtrack with one loop and a
    // muted tabla track with two, tempo 90, a title and an author.
    juce::File writeSongArchive(const juce::File& folder)
    {
        auto* engine = NVManager::getInstance();
        NVScriptedDialogs dialogs;
        engine->setDialogHost(&dialogs);
        engine->newSong();
        const juce::File temp(engine->getCurrentGroovesTempFolder(false));
        NVTest::writeAudioFile(temp.getChildFile("RZ100000.wav"), 1, 4410, 44100.0, [](int, int i) { return i % 2 ? 0.1f : -0.1f; });
        temp.getChildFile("RZ100000.mid").replaceWithText("not really MIDI");
        engine->appendTrack("Audio");
        engine->appendTrack("Tabla");
        engine->setTrackCaption(0, "SOUNDTRACK");
        engine->setMuteTrack(1, true);
        engine->setTrackVolume(1, 0.25f);
        struct Loop { int track, start, length; const char* file; const char* name; };
        for (const auto& l : { Loop { 0, 0, 16, "RZ100000.wav", "Backing" }, Loop { 1, 8, 4, "RZ100000.mid", "Theka" },
                               Loop { 1, 20, 8, "RZ100000.mid", "Theka 2" } })
        {
            auto* item = GetCompositionsMgr()->AddTrackItem(l.track, l.start, l.length);
            item->SetUnderlyingName(l.file);
            item->SetName(l.name);
        }
        GetCompositionsMgr()->GetComposition(0)->SetTempo(LMFraction(90));
        engine->getCurrentSong()->setInfo(0, "Evening \"Raag\"");
        engine->getCurrentSong()->setInfo(2, "Anjali");
        const auto archive = folder.getChildFile("evening.nvz");
        dialogs.chooseNext(archive);
        const bool saved = engine->saveCurrentSong(true, false);
        engine->setDialogHost(nullptr);
        NVManager::kill();
        return saved ? archive : juce::File();
    }

    juce::File writeZip(const juce::File& file, const std::vector<std::pair<juce::String, juce::String>>& entries)
    {
        juce::ZipFile::Builder builder;
        for (const auto& [name, content] : entries)
            builder.addEntry(new juce::MemoryInputStream(content.toRawUTF8(), content.getNumBytesAsUTF8(), true), 5, name,
                             juce::Time::getCurrentTime());
        file.deleteFile();
        juce::FileOutputStream out(file);
        builder.writeToStream(out, nullptr);
        return file;
    }
}

TEST(NVCommandLine, InfoPrintsTheSongAsJson)
{
    const auto home = NVTest::freshHome();
    const auto archive = writeSongArchive(home);
    ASSERT_TRUE(archive.existsAsFile());
    // The program's own song temp folder is left alone.
    const auto marker = home.getChildFile("Nadavo Recorder/Songs/temp/RZ100123.wav");
    marker.replaceWithText("the song the program has open");

    const auto r = run({ "info", archive.getFullPathName() });
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(marker.existsAsFile());
    EXPECT_EQ(NVTest::currentHome(), home);

    const auto json = juce::JSON::parse(juce::String(r.out));
    ASSERT_TRUE(json.isObject()) << r.out;
    EXPECT_EQ(json["name"].toString(), "evening");
    EXPECT_EQ((int) json["tempo"], 90);
    EXPECT_EQ((int) json["barSize"], 4);
    EXPECT_DOUBLE_EQ((double) json["volume"], 0.9);
    EXPECT_DOUBLE_EQ((double) json["lyricsTempo"], 120.0);
    EXPECT_EQ(json["info"]["Title"].toString(), "Evening \"Raag\"");
    EXPECT_EQ(json["info"]["Author"].toString(), "Anjali");
    ASSERT_EQ(json["info"].getDynamicObject()->getProperties().size(), NVSong::numInfoFields);
    for (auto* field : NVSong::infoFieldNames)
        EXPECT_TRUE(json["info"].hasProperty(field)) << field;

    const auto* tracks = json["tracks"].getArray();
    ASSERT_NE(tracks, nullptr);
    ASSERT_EQ(tracks->size(), 2);
    struct Track { const char* caption; const char* instrument; bool audio; bool mute; double volume; int loops; };
    const Track expected[] = { { "SOUNDTRACK", "Audio", true, false, 1.0, 1 }, { "Tabla", "Tabla", false, true, 0.25, 2 } };
    for (int i = 0; i < 2; ++i)
    {
        const auto& t = tracks->getReference(i);
        EXPECT_EQ((int) t["index"], i);
        EXPECT_EQ(t["caption"].toString(), expected[i].caption);
        EXPECT_EQ(t["instrument"].toString(), expected[i].instrument);
        EXPECT_EQ((bool) t["audio"], expected[i].audio);
        EXPECT_EQ((bool) t["mute"], expected[i].mute);
        EXPECT_DOUBLE_EQ((double) t["volume"], expected[i].volume);
        EXPECT_DOUBLE_EQ((double) t["pan"], 0.5);
        EXPECT_EQ(t["loops"].size(), expected[i].loops);
    }
    const auto& loop = tracks->getReference(1)["loops"][1];
    EXPECT_EQ(loop["name"].toString(), "Theka 2");
    EXPECT_EQ((int) loop["start"], 20);
    EXPECT_EQ((int) loop["end"], 28);
    EXPECT_EQ(loop["file"].toString(), "RZ100000.mid");

    // Progress goes to standard error as one line rewritten in place.
    EXPECT_NE(r.err.find("\rLoading song evening... 0%"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("\rLoading complete 100%"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.back(), '\n');
}

TEST(NVCommandLine, InfoFailsCleanly)
{
    const auto home = NVTest::freshHome();
    const auto text = home.getChildFile("notes.nvz");
    text.replaceWithText("not a zip");
    const auto noSong = writeZip(home.getChildFile("nosong.nvz"), { { "SongInfo.nvc", "<SongInfo/>" } });
    const auto corrupt = writeZip(home.getChildFile("corrupt.nvz"), { { "Main.nvc", "QN313 no composition" } });

    struct Case { juce::StringArray args; int code; const char* message; };
    const Case cases[] = {
        { { "info", home.getChildFile("missing.nvz").getFullPathName() }, 1, "no such file: " },
        { { "info", home.getFullPathName() }, 1, "no such file: " },
        { { "info", text.getFullPathName() }, 1, "not a song archive (not a zip file): " },
        { { "info", noSong.getFullPathName() }, 1, "not a song archive (no Main.nvc): " },
        { { "info", corrupt.getFullPathName() }, 1, "can't read the song in " },
        { { "info" }, 2, "info needs SONG.nvz" },
        { { "info", "a.nvz", "b.nvz" }, 2, "info takes one SONG.nvz" },
        { { "info", "--frobnicate" }, 2, "unknown option '--frobnicate'" },
    };
    for (const auto& c : cases)
    {
        const auto r = run(c.args);
        EXPECT_EQ(r.code, c.code) << c.args.joinIntoString(" ");
        EXPECT_TRUE(r.out.empty()) << r.out;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    }
    const auto help = run({ "info", "--help" });
    EXPECT_EQ(help.code, 0);
    EXPECT_NE(help.out.find("usage: nadavo info SONG.nvz"), std::string::npos);
    EXPECT_NE(run({ "--help" }).out.find("info SONG.nvz"), std::string::npos);
}

TEST(NVConsoleDialogs, AnswersWithoutAskingAndDrawsOneProgressLine)
{
    struct Case { juce::StringArray buttons; int answer; };
    const Case cases[] = { { { "OK" }, 0 }, { { "Yes", "No", "Cancel" }, 2 }, { { "Retry", "Ignore" }, 0 }, { {}, -1 } };
    for (const auto& c : cases)
        EXPECT_EQ(NVConsoleDialogs::answerFor(c.buttons), c.answer) << c.buttons.joinIntoString("/");

    std::ostringstream err;
    NVConsoleDialogs dialogs(err);
    EXPECT_EQ(dialogs.chooseFile(true, "Choose a file to save...", {}, "*.nvz"), juce::File());
    dialogs.showProgress("Saving song...", "Saving song x...");
    dialogs.setProgress("Processing file # 10", 0.5);
    dialogs.setProgress("Done", -1.0); // keeps the fraction; covers the longer line
    EXPECT_EQ(dialogs.showMessageBox(NVDialogHost::Icon::warning, "Song was modified", "Save?", { "Yes", "No", "Cancel" }), 2);
    dialogs.hideProgress();
    EXPECT_EQ(err.str(), "nadavo: Choose a file to save... (no file chooser here: cancelled)\n"
                         "\rSaving song x... 0%"
                         "\rProcessing file # 10 50%"
                         "\rDone 50%                "
                         "\nnadavo: Song was modified: Save? [Cancel]\n"
                         "\rDone 50%\n"); // the line starts afresh after the message
    EXPECT_EQ(dialogs.getTitlesShown(), juce::StringArray("Song was modified"));
}
