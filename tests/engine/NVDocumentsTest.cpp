#include "engine/NVDocuments.h"
#include "engine/NVManager.h"
#include "engine/NVScriptedDialogs.h"
#include "model/TWComposition.h"
#include "model/TWCompositionsMgr.h"
#include "model/TWInstrumentTrack.h"
#include "model/TWRhythmicCycle.h"
#include "tests/support/NVTestEnvironment.h"

#include <juce_audio_formats/juce_audio_formats.h>

#include <gtest/gtest.h>

#include <cmath>
#include <map>

namespace
{
    float tone(int channel, int i) { return 0.3f * std::sin(0.02f * (float) i + (float) channel); }

    void writeMidi(const juce::File& file, int note)
    {
        juce::MidiMessageSequence track;
        track.addEvent(juce::MidiMessage::noteOn(1, note, (juce::uint8) 100), 0);
        track.addEvent(juce::MidiMessage::noteOff(1, note), 240);
        track.addEvent(juce::MidiMessage::endOfTrack(), 1920);
        EXPECT_TRUE(NVTest::writeMidiFile(file, track));
    }

    juce::StringArray entryNames(const juce::File& archive)
    {
        juce::ZipFile zip(archive);
        juce::StringArray names;
        for (int i = 0; i < zip.getNumEntries(); ++i)
            names.add(zip.getEntry(i)->filename);
        names.sort(true);
        return names;
    }

    juce::MemoryBlock bytesOf(const juce::File& file)
    {
        juce::MemoryBlock block;
        file.loadFileAsData(block);
        return block;
    }

    // Runs python3 and returns what it printed, or "" when it failed.
    juce::String runPython(const juce::String& script, const juce::StringArray& args)
    {
        juce::StringArray command { juce::File("/usr/bin/python3").existsAsFile() ? "/usr/bin/python3" : "python3", "-c", script };
        command.addArray(args);
        juce::ChildProcess python;
        if (!python.start(command))
            return {};
        const auto output = python.readAllProcessOutput();
        return python.waitForProcessToFinish(30000) && python.getExitCode() == 0 ? output : juce::String();
    }

    struct Loop { int track; int start; int length; const char* file; const char* name; };

    // A song as the program makes one: a soundtrack and a voice track of audio,
    // an instrument track with a MIDI loop and its quantized twin, a lyrics
    // file and, in the temp folder, files no loop refers to.
    struct Documents : ::testing::Test
    {
        void SetUp() override
        {
            home = NVTest::freshHome();
            engine = NVManager::getInstance();
            engine->setDialogHost(&dialogs);
            ASSERT_NE(engine->newSong(), nullptr);
            temp = juce::File(engine->getCurrentGroovesTempFolder(false));
            songs = juce::File(engine->getCurrentGroovesFolder());
        }
        void TearDown() override { NVManager::kill(); }

        void makeSong()
        {
            ASSERT_TRUE(NVTest::writeAudioFile(temp.getChildFile("RZ100000.wav"), 2, 48000, 48000.0, tone));
            ASSERT_TRUE(NVTest::writeAudioFile(temp.getChildFile("RZ100000.aif"), 1, 22050, 44100.0, tone));
            writeMidi(temp.getChildFile("RZ100000.mid"), 38);
            writeMidi(temp.getChildFile("RZ100000_quant.mid"), 38);
            ASSERT_TRUE(NVTest::writeAudioFile(temp.getChildFile("audio_input.aif"), 1, 1000, 44100.0, tone));
            ASSERT_TRUE(NVTest::writeAudioFile(temp.getChildFile("RZ100099.WAV"), 1, 1000, 44100.0, tone));
            temp.getChildFile("Lyrics.nvc").replaceWithText("CSV,90\n", false, false, "\n");

            ASSERT_EQ(engine->appendTrack("Audio"), 0);
            ASSERT_EQ(engine->appendTrack("Audio"), 1);
            ASSERT_EQ(engine->appendTrack("Tabla"), 2);
            engine->setTrackCaption(0, "SOUNDTRACK");
            engine->setTrackCaption(1, "YOUR VOICE");
            engine->setTrackVolume(1, 0.5f);
            engine->setMuteTrack(2, true);
            const Loop loops[] = { { 0, 0, 8, "RZ100000.wav", "Backing" },
                                   { 1, 8, 4, "rz100000.AIF", "Take 1" }, // paths match whatever their case
                                   { 2, 4, 16, "RZ100000.mid", "Theka" },
                                   { 2, 24, 8, "RZ100000.mid", "Theka again" } };
            for (const auto& l : loops)
            {
                auto* item = GetCompositionsMgr()->AddTrackItem(l.track, l.start, l.length);
                ASSERT_NE(item, nullptr);
                item->SetUnderlyingName(l.file);
                item->SetName(l.name);
            }
            for (int t = 0; t < 3; ++t)
                engine->refreshTrackLoops(t);
            auto* composition = GetCompositionsMgr()->GetComposition(0);
            composition->SetTempo(LMFraction(100));
            engine->getCurrentSong()->setTempo(100);
            engine->getCurrentSong()->setInfo(0, "Raag & <Roll>");
            engine->getCurrentSong()->setInfo(2, juce::String::fromUTF8("Anjali \xc3\xa9"));
            engine->setSongModified(true);
        }

        // Saves through the file dialog, choosing `name` in the songs folder.
        bool saveAs(const juce::String& name, bool compressed)
        {
            dialogs.chooseNext(songs.getChildFile(name));
            return engine->saveCurrentSong(true, compressed);
        }

        NVSong* reopen(const juce::File& archive)
        {
            engine->setSongModified(false);
            engine->newSong();
            return engine->loadSong(archive.getFullPathName());
        }

        juce::File home, temp, songs;
        NVManager* engine = nullptr;
        NVScriptedDialogs dialogs;
    };

    // Writes 1000 bytes of the archive and then nothing, as a full disk would.
    struct FailingStream : juce::OutputStream
    {
        explicit FailingStream(const juce::File& f) : file(f.createOutputStream()) {}
        bool write(const void* data, size_t n) override
        {
            if (file == nullptr || position + (juce::int64) n > 1000)
                return false;
            position += (juce::int64) n;
            return file->write(data, n);
        }
        void flush() override { if (file) file->flush(); }
        bool setPosition(juce::int64) override { return false; }
        juce::int64 getPosition() override { return position; }
        std::unique_ptr<juce::FileOutputStream> file;
        juce::int64 position = 0;
    };
}

TEST_F(Documents, CompressedArchiveHoldsOggInPlaceOfWaveAndLoadsBackAsWave)
{
    makeSong();
    ASSERT_TRUE(saveAs("mysong", true));
    const auto archive = songs.getChildFile("mysong.nvz");
    EXPECT_EQ(entryNames(archive),
              juce::StringArray({ "Lyrics.nvc", "Main.nvc", "RZ100000.aif.ogg", "RZ100000.mid",
                                  "RZ100000.wav.ogg", "RZ100000_quant.mid", "SongInfo.nvc" }));

    // A second reader agrees: the same entries, all deflated.
    const auto listing = runPython("import sys, zipfile\n"
                                   "z = zipfile.ZipFile(sys.argv[1])\n"
                                   "assert z.testzip() is None\n"
                                   "for i in sorted(z.infolist(), key=lambda i: i.filename):\n"
                                   "    print(i.filename, i.compress_type)\n",
                                   { archive.getFullPathName() });
    EXPECT_EQ(listing.trim(), "Lyrics.nvc 8\nMain.nvc 8\nRZ100000.aif.ogg 8\nRZ100000.mid 8\n"
                              "RZ100000.wav.ogg 8\nRZ100000_quant.mid 8\nSongInfo.nvc 8");

    // No device here: the engine runs at rate 0 and audio files are written at 44100.
    ASSERT_EQ(engine->getSampleRate(), 0.0);
    ASSERT_NE(reopen(archive), nullptr);
    for (auto* ogg : { "RZ100000.wav.ogg", "RZ100000.aif.ogg" })
        EXPECT_FALSE(temp.getChildFile(ogg).exists()) << ogg;

    struct Expected { const char* file; int channels; juce::int64 length; const char* format; };
    for (const auto& e : { Expected { "RZ100000.wav", 2, 48000, "WAV file" }, Expected { "RZ100000.aif", 1, 22050, "AIFF file" } })
    {
        juce::AudioFormatManager formats;
        formats.registerBasicFormats();
        std::unique_ptr<juce::AudioFormatReader> reader(formats.createReaderFor(temp.getChildFile(e.file)));
        ASSERT_NE(reader, nullptr) << e.file;
        EXPECT_EQ(reader->getFormatName(), e.format);
        EXPECT_EQ(reader->sampleRate, 44100.0) << e.file; // the recording was made at 48000
        EXPECT_EQ((int) reader->numChannels, e.channels);
        EXPECT_EQ(reader->bitsPerSample, 16u);
        EXPECT_NEAR((double) reader->lengthInSamples, (double) e.length, 0.0) << e.file;
        juce::Range<float> level;
        reader->readMaxLevels(0, reader->lengthInSamples, &level, 1);
        EXPECT_NEAR(level.getEnd(), 0.3f, 0.05f) << e.file;
    }
    // The loops find their files again.
    ASSERT_EQ(engine->getCurrentSong()->getNumTracks(), 3);
    EXPECT_EQ(engine->getCurrentSong()->getTrack(0)->getNumLoops(), 1);
}

TEST_F(Documents, PlainArchiveKeepsOnlyTheSongsFiles)
{
    makeSong();
    ASSERT_TRUE(saveAs("plain", false));
    // Abandoned recordings and files no loop refers to stay out.
    EXPECT_EQ(entryNames(songs.getChildFile("plain.nvz")),
              juce::StringArray({ "Lyrics.nvc", "Main.nvc", "RZ100000.aif", "RZ100000.mid", "RZ100000.wav",
                                  "RZ100000_quant.mid", "SongInfo.nvc" }));
    EXPECT_EQ(runPython("import sys, zipfile\n"
                        "print(set(i.compress_type for i in zipfile.ZipFile(sys.argv[1]).infolist()))\n",
                        { songs.getChildFile("plain.nvz").getFullPathName() }).trim(),
              "{8}");
    // Only the archive and the temp folder: no temporary file is left behind.
    EXPECT_EQ(songs.findChildFiles(juce::File::findFilesAndDirectories | juce::File::ignoreHiddenFiles, false).size(), 2);
    EXPECT_EQ(songs.findChildFiles(juce::File::findFiles, false, ".*").size(), 0);
}

TEST_F(Documents, ChosenNamesGetOneExtension)
{
    struct Case { const char* chosen; const char* written; const char* name; };
    const Case cases[] = { { "mysong", "mysong.nvz", "mysong" },
                           { "mysong.nvz", "mysong.nvz", "mysong" },
                           { "Loud.NVZ", "Loud.NVZ.nvz", "Loud.NVZ" },
                           { "my.song", "my.song.nvz", "my.song" } };
    for (const auto& c : cases)
    {
        engine->setSongModified(true);
        ASSERT_TRUE(saveAs(c.chosen, false)) << c.chosen;
        EXPECT_TRUE(songs.getChildFile(c.written).existsAsFile()) << c.chosen;
        EXPECT_FALSE(songs.getChildFile(juce::String(c.written) + ".nvz").exists()) << c.chosen;
        EXPECT_EQ(engine->getCurrentSongName(), c.name);
        EXPECT_EQ(engine->getCurrentSong()->getName(), c.name);
        EXPECT_FALSE(engine->isSongModified());
        songs.getChildFile(c.written).deleteFile();

        // A plain Save then writes the same file without asking.
        dialogs.clearRecord();
        engine->setSongModified(true);
        ASSERT_TRUE(engine->saveCurrentSong(false, false)) << c.chosen;
        EXPECT_TRUE(dialogs.getFileRequests().empty());
        EXPECT_TRUE(songs.getChildFile(c.written).existsAsFile()) << c.chosen;
        songs.getChildFile(c.written).deleteFile();
    }
}

TEST_F(Documents, NewSongAsksForANameAndCancellingWritesNothing)
{
    engine->setSongModified(true);
    for (bool saveAsCommand : { false, true })
    {
        dialogs.clearRecord();
        EXPECT_FALSE(engine->saveCurrentSong(saveAsCommand, false));
        ASSERT_EQ(dialogs.getFileRequests().size(), 1u);
        const auto& request = dialogs.getFileRequests()[0];
        EXPECT_EQ(request.title, "Choose a file to save...");
        EXPECT_EQ(request.text, "save " + songs.getFullPathName());
        EXPECT_EQ(request.buttons, juce::StringArray("*.nvz"));
        EXPECT_TRUE(engine->isSongModified());
        EXPECT_TRUE(dialogs.getProgress().empty());
        EXPECT_EQ(songs.findChildFiles(juce::File::findFiles, false, "*").size(), 0);
    }
}

TEST_F(Documents, SaveAndLoadShowTheirProgress)
{
    makeSong();
    ASSERT_TRUE(saveAs("steps", false));
    const std::vector<juce::String> saving = dialogs.getProgress();
    // The temp folder lists 9 files, in name order; RZ100099.WAV (6) and audio_input.aif (8)
    // are numbered but not archived.
    const std::vector<juce::String> expectedSave {
        "show Saving song...: Saving song steps...",
        "set Processing file # 0 0.111", "set Processing file # 1 0.222", "set Processing file # 2 0.333",
        "set Processing file # 3 0.444", "set Processing file # 4 0.556", "set Processing file # 5 0.667",
        "set Processing file # 7 0.889",
        "set Saving complete 1.000", "hide" };
    EXPECT_EQ(saving, expectedSave);

    dialogs.clearRecord();
    const auto before = dialogs.getProgress().size();
    ASSERT_NE(reopen(songs.getChildFile("steps.nvz")), nullptr);
    const std::vector<juce::String> loading(dialogs.getProgress().begin() + (long) before, dialogs.getProgress().end());
    const std::vector<juce::String> expectedLoad {
        "show Loading song...: Loading song steps...", "set Initializing... 0.100",
        "set Refreshing track #1 0.200", "set Refreshing track #2 0.467", "set Refreshing track #3 0.733",
        "set Finalizing... -1.000", "set Loading complete 1.000", "hide" };
    EXPECT_EQ(loading, expectedLoad);
}

TEST_F(Documents, RoundTripKeepsTracksLoopsAndSettings)
{
    makeSong();
    ASSERT_TRUE(saveAs("round", false));
    auto describe = [this]
    {
        std::vector<juce::String> lines;
        auto* song = engine->getCurrentSong();
        lines.push_back("song " + juce::String(song->getTempo()) + " " + juce::String(song->barSize) + " "
                        + juce::String(song->getVolume()));
        for (int i = 0; i < NVSong::numInfoFields; ++i)
            lines.push_back("info " + song->getInfo(i));
        for (auto* t : song->getTracks())
        {
            lines.push_back("track " + juce::String(t->getIndex()) + " " + t->getCaption() + " "
                            + (t->isAudioTrack() ? "audio" : "midi") + (t->isMuted() ? " muted " : " ")
                            + juce::String(t->getVolume()) + " " + juce::String(t->getPan()));
            for (int l = 0; l < t->getNumLoops(); ++l)
            {
                auto* loop = t->getLoop(l);
                lines.push_back("  loop " + loop->name + " " + juce::String(loop->start) + "-" + juce::String(loop->end)
                                + " " + juce::String(loop->sequence->GetUnderlyingName().data()));
            }
        }
        return lines;
    };
    const auto saved = describe();
    ASSERT_EQ(saved.size(), 1u + 10u + 3u + 4u);

    ASSERT_NE(reopen(songs.getChildFile("round.nvz")), nullptr);
    EXPECT_EQ(describe(), saved);
    EXPECT_EQ(engine->getCurrentSongName(), "round");
    EXPECT_EQ(engine->getCurrentSong()->getName(), "round");
    EXPECT_FALSE(engine->isSongModified());
    EXPECT_EQ(engine->getCurrentSong()->getTrack(2)->getEvents().getNumEvents() > 0, true);
    EXPECT_EQ(temp.getChildFile("Lyrics.nvc").loadFileAsString(), "CSV,90\n"); // kept as it came
    EXPECT_FALSE(temp.getChildFile("audio_input.aif").exists());
}

TEST_F(Documents, SongInfoFile)
{
    const auto file = temp.getChildFile("SongInfo.nvc");
    NVSong song;
    for (int i = 0; i < NVSong::numInfoFields; ++i)
        song.setInfo(i, "text " + juce::String(i) + (i == 1 ? " & <more>\nline two" : ""));
    ASSERT_TRUE(song.saveInfo(file.getFullPathName()));
    const auto text = file.loadFileAsString();
    EXPECT_TRUE(text.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>")) << text;
    EXPECT_FALSE(text.contains("DOCTYPE"));
    auto xml = juce::parseXML(file);
    ASSERT_NE(xml, nullptr);
    EXPECT_EQ(xml->getTagName(), "SongInfo");
    ASSERT_EQ(xml->getNumChildElements(), NVSong::numInfoFields);
    for (int i = 0; i < NVSong::numInfoFields; ++i)
        EXPECT_EQ(xml->getChildElement(i)->getTagName(), NVSong::infoFieldNames[(size_t) i]);

    NVSong back;
    ASSERT_TRUE(back.restoreInfo(file.getFullPathName()));
    for (int i = 0; i < NVSong::numInfoFields; ++i)
        EXPECT_EQ(back.getInfo(i), song.getInfo(i)) << i;

    struct Case { const char* content; bool read; const char* title; const char* author; };
    const Case cases[] = {
        { "<SongInfo><Title>Only a title</Title></SongInfo>", true, "Only a title", "" },
        { "<SongInfo><Author>A <b>bold</b> one</Author></SongInfo>", true, "", "A bold one" },
        { nullptr, false, "kept", "kept" },                       // no file: fields unchanged
        { "not xml at all", false, "kept", "kept" },              // unreadable: unchanged
        { "<Other><Title>x</Title></Other>", false, "kept", "kept" },
    };
    for (const auto& c : cases)
    {
        file.deleteFile();
        if (c.content != nullptr)
            file.replaceWithText(c.content);
        NVSong s;
        for (int i = 0; i < NVSong::numInfoFields; ++i)
            s.setInfo(i, "kept");
        EXPECT_EQ(s.restoreInfo(file.getFullPathName()), c.read) << (c.content ? c.content : "missing");
        EXPECT_EQ(s.getInfo(0), c.title);
        EXPECT_EQ(s.getInfo(2), c.author);
        for (int i : { 1, 3, 4, 5, 6, 7, 8, 9 })
            EXPECT_EQ(s.getInfo(i), c.read ? "" : "kept") << i;
    }
}

TEST_F(Documents, FailedSaveLeavesThePreviousArchiveAndTheSongModified)
{
    makeSong();
    ASSERT_TRUE(saveAs("safe", false));
    const auto archive = songs.getChildFile("safe.nvz");
    const auto original = bytesOf(archive);
    ASSERT_GT(original.getSize(), 1000u);

    // The same save through a documents object whose archive stream fails part-way.
    NVDocuments failing(*engine);
    failing.getArchive().setStreamOpener([](const juce::File& f) { return std::make_unique<FailingStream>(f); });
    dialogs.chooseNext(archive);
    engine->getCurrentSong()->setInfo(0, "changed");
    engine->setSongModified(true);
    dialogs.clearRecord();
    EXPECT_FALSE(failing.saveCurrentSong(true, false));
    EXPECT_TRUE(engine->isSongModified());
    EXPECT_EQ(bytesOf(archive), original);
    ASSERT_EQ(dialogs.getQuestions().size(), 1u);
    EXPECT_EQ(dialogs.getQuestions()[0].title, "Song not saved");
    EXPECT_EQ(songs.findChildFiles(juce::File::findFiles, false, "*").size(), 1); // no temporary file left

    // A folder where the archive should go: nothing is replaced either.
    songs.getChildFile("folder.nvz").createDirectory();
    dialogs.chooseNext(songs.getChildFile("folder"));
    EXPECT_FALSE(engine->saveCurrentSong(true, false));
    EXPECT_TRUE(songs.getChildFile("folder.nvz").isDirectory());
    EXPECT_TRUE(engine->isSongModified());

    // Asked before the song is discarded, "Yes" with a failing or cancelled save keeps the song.
    auto* song = engine->getCurrentSong();
    dialogs.answerNext("Yes");
    dialogs.chooseNext(archive);
    EXPECT_FALSE(failing.optionallySaveSong());
    EXPECT_TRUE(engine->isSongModified());
    dialogs.answerNext("Yes");
    dialogs.chooseNext(archive);
    EXPECT_EQ(failing.newSong(), song);
    EXPECT_TRUE(engine->isSongModified());
    dialogs.answerNext("Yes"); // no file chosen: the save is cancelled
    EXPECT_EQ(failing.newSong(), song);
    EXPECT_TRUE(engine->isSongModified());
    EXPECT_EQ(bytesOf(archive), original);

    // Without a temp folder the song can't be written: no archive without its composition.
    ASSERT_TRUE(temp.deleteRecursively());
    dialogs.clearRecord();
    EXPECT_FALSE(engine->saveCurrentSong(false, false));
    EXPECT_TRUE(engine->isSongModified());
    EXPECT_EQ(bytesOf(archive), original);
    ASSERT_EQ(dialogs.getQuestions().size(), 1u);
    EXPECT_EQ(dialogs.getQuestions()[0].title, "Song not saved");
}

TEST_F(Documents, HostileAndBrokenArchivesOpenNothingOutsideTheTempFolder)
{
    makeSong();
    ASSERT_TRUE(saveAs("good", false));
    juce::MemoryBlock mainFile;
    {
        juce::ZipFile zip(songs.getChildFile("good.nvz"));
        std::unique_ptr<juce::InputStream> in(zip.createStreamForEntry(*zip.getEntry("Main.nvc")));
        ASSERT_NE(in, nullptr);
        in->readIntoMemoryBlock(mainFile);
    }
    const auto outside = home.getChildFile("outside-" + juce::Uuid().toString() + ".txt");

    struct Case
    {
        const char* label;
        std::vector<std::pair<juce::String, juce::String>> entries; // name, content ("MAIN" for the composition)
        bool opens;
        const char* plainFile; // a file that must be in the temp folder afterwards
    };
    const juce::String up = "../../../" + outside.getFileName(); // from the temp folder to the home
    const std::vector<Case> cases {
        { "escaping entries", { { up, "x" }, { outside.getFullPathName(), "x" }, { "sub/inner.txt", "x" },
                                { "..\\back.txt", "x" }, { "folder/", "" }, { "Main.nvc", "MAIN" },
                                { "notes.txt", "kept" }, { "link.txt", "LINK" } }, true, "notes.txt" },
        { "escaping composition", { { "../Main.nvc", "MAIN" } }, false, nullptr },
        { "no composition", { { "SongInfo.nvc", "<SongInfo/>" } }, false, nullptr },
        { "corrupt composition", { { "Main.nvc", "QN313 garbage that is no composition" } }, false, nullptr },
    };
    for (const auto& c : cases)
    {
        const auto archive = home.getChildFile(juce::String(c.label).replaceCharacter(' ', '-') + ".nvz");
        {
            juce::ZipFile::Builder builder;
            for (const auto& [name, content] : c.entries)
            {
                if (content == "LINK") // a symbolic link to a file of the home
                {
                    const auto pointee = home.getChildFile("pointee.txt");
                    pointee.replaceWithText("secret");
                    const auto link = home.getChildFile("link");
                    ASSERT_TRUE(pointee.createSymbolicLink(link, true));
                    builder.addFile(link, 0, name);
                    continue;
                }
                juce::MemoryBlock data = content == "MAIN" ? mainFile : juce::MemoryBlock(content.toRawUTF8(), content.getNumBytesAsUTF8());
                builder.addEntry(new juce::MemoryInputStream(data, true), 5, name, juce::Time::getCurrentTime());
            }
            juce::FileOutputStream out(archive);
            ASSERT_TRUE(builder.writeToStream(out, nullptr));
        }
        dialogs.clearRecord();
        auto* song = reopen(archive);
        ASSERT_NE(song, nullptr) << c.label;
        EXPECT_FALSE(outside.exists()) << c.label;
        EXPECT_FALSE(home.getChildFile(outside.getFileName()).exists()) << c.label;
        EXPECT_FALSE(songs.getChildFile("Main.nvc").exists()) << c.label;
        EXPECT_FALSE(songs.getChildFile("back.txt").exists()) << c.label;
        EXPECT_EQ(temp.findChildFiles(juce::File::findDirectories, true).size(), 0) << c.label;
        if (c.opens)
        {
            EXPECT_TRUE(dialogs.getQuestions().empty()) << c.label;
            EXPECT_EQ(song->getNumTracks(), 3) << c.label;
            EXPECT_TRUE(temp.getChildFile(c.plainFile).existsAsFile()) << c.label;
            EXPECT_FALSE(temp.getChildFile("link.txt").exists()) << c.label;
            EXPECT_EQ(temp.getNumberOfChildFiles(juce::File::findFiles), 2) << c.label; // Main.nvc and notes.txt
        }
        else
        {
            ASSERT_EQ(dialogs.getQuestions().size(), 1u) << c.label;
            EXPECT_EQ(dialogs.getQuestions()[0].title, "Song not found");
            EXPECT_EQ(dialogs.getQuestions()[0].text, "The song you tried to open wasn't found.");
            EXPECT_EQ(dialogs.getQuestions()[0].buttons, juce::StringArray("OK"));
            // A new empty song without a name, so a plain Save can't overwrite the archive.
            EXPECT_EQ(song->getNumTracks(), 0) << c.label;
            EXPECT_EQ(engine->getCurrentSongName(), "") << c.label;
            EXPECT_EQ(temp.getNumberOfChildFiles(juce::File::findFilesAndDirectories), 0) << c.label;
        }
    }
}

TEST_F(Documents, FilesThatAreNoArchiveGiveANewSong)
{
    const auto notZip = home.getChildFile("text.nvz");
    notZip.replaceWithText("just some text, no zip");
    for (const auto& file : { notZip, home.getChildFile("missing.nvz"), home })
    {
        dialogs.clearRecord();
        auto* song = reopen(file);
        ASSERT_NE(song, nullptr);
        EXPECT_EQ(song->getNumTracks(), 0);
        ASSERT_EQ(dialogs.getQuestions().size(), 1u) << file.getFullPathName();
        EXPECT_EQ(dialogs.getQuestions()[0].title, "Song not found");
        EXPECT_EQ(engine->getCurrentSongName(), "");
    }
}

TEST_F(Documents, AudioThatCannotBeCompressedIsArchivedAsItIs)
{
    makeSong();
    // The voice take's file is damaged: no audio reader accepts it.
    temp.getChildFile("RZ100000.aif").replaceWithText("FORM? not really", false, false, "\n");
    ASSERT_TRUE(saveAs("damaged", true));
    const auto names = entryNames(songs.getChildFile("damaged.nvz"));
    EXPECT_TRUE(names.contains("RZ100000.aif"));
    EXPECT_FALSE(names.contains("RZ100000.aif.ogg"));
    EXPECT_TRUE(names.contains("RZ100000.wav.ogg"));
}
