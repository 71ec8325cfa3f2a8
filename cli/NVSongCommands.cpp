#include "cli/NVSongCommands.h"

#include "cli/NVCommandLine.h"
#include "cli/NVConsoleDialogs.h"
#include "engine/NVAudioFileIO.h"
#include "engine/NVExport.h"
#include "engine/NVLoopContent.h"
#include "engine/NVManager.h"
#include "engine/NVSongArchive.h"
#include "model/TWComposition.h"
#include "model/TWCompositionsMgr.h"
#include "model/TWInstrumentTrack.h"
#include "model/TWRhythmicSequence.h"

#include <cmath>
#include <cstdlib>
#include <ostream>

namespace
{
    const char* const kInfoHelp =
        "usage: nadavo info SONG.nvz\n\n"
        "Opens a song archive as the program does and prints it as JSON: name, tempo,\n"
        "barSize, volume, tracks (index, caption, instrument, audio, mute, volume, pan\n"
        "and loops with name, start and end in quarter beats and file), lyricsTempo and\n"
        "the ten information texts. Progress goes to standard error.\n\n"
        "The archive is opened in a private scratch folder: the song the program has\n"
        "open and the user's files are not touched.\n\n"
        "Exit codes: 0 printed, 1 the file is missing or not a readable song archive,\n"
        "2 usage error.\n";

    // Figures as a person would write them: 0.9, not 0.89999997615814209.
    juce::var figure(float value)
    {
        return std::round((double) value * 10000.0) / 10000.0;
    }

    juce::String toText(const RWCString& s)
    {
        return juce::String::fromUTF8(s.data(), (int) s.length());
    }

    const char* const kRenderHelp =
        "usage: nadavo render SONG.nvz OUT [--rate R] [--block N]\n\n"
        "Bounces a song archive offline, as the export window does, into OUT: an AIFF\n"
        "file when OUT ends in .aif or .aiff, an MP3 file when it ends in .mp3 (through\n"
        "the LAME encoder named in the settings, waiting for it and reporting its\n"
        "failure). R is the sample rate (default: the rate of the song's first audio\n"
        "loop file, else 44100) and N the block size (default 512). OUT is replaced\n"
        "only once it is complete. Progress goes to standard error.\n\n"
        "Exit codes: 0 written, 1 the song can't be read or rendered, 2 usage error.\n";

    const char* const kNewHelp =
        "usage: nadavo new SOUNDTRACK -o SONG.nvz [--rate R]\n\n"
        "Makes a song as the New command does: two audio tracks, SOUNDTRACK and\n"
        "YOUR VOICE, with the soundtrack (WAV, AIFF or MP3, which is decoded first)\n"
        "on the first, and saves it as SONG.nvz (.nvz is added when missing). R is\n"
        "the song's sample rate (default: the soundtrack's own); a WAV or AIFF\n"
        "soundtrack must have that rate. Prints the archive's path.\n\n"
        "Exit codes: 0 saved, 1 the soundtrack can't be used or the song can't be\n"
        "saved, 2 usage error.\n";

    // NADAVO_HOME pointed at a new empty folder for as long as this lives.
    struct ScratchHome
    {
        ScratchHome()
            : previous(juce::SystemStats::getEnvironmentVariable("NADAVO_HOME", {})),
              hadPrevious(std::getenv("NADAVO_HOME") != nullptr),
              folder(juce::File::getSpecialLocation(juce::File::tempDirectory)
                         .getNonexistentChildFile("nadavo-info-" + juce::String::toHexString(juce::Random::getSystemRandom().nextInt()), "", false))
        {
            folder.createDirectory();
            ::setenv("NADAVO_HOME", folder.getFullPathName().toRawUTF8(), 1);
        }
        ~ScratchHome()
        {
            if (hadPrevious)
                ::setenv("NADAVO_HOME", previous.toRawUTF8(), 1);
            else
                ::unsetenv("NADAVO_HOME");
            folder.deleteRecursively();
        }
        juce::String previous;
        bool hadPrevious;
        juce::File folder;
    };

    juce::var describeSong(NVManager& engine, const NVSong& song)
    {
        auto* composition = GetCompositionsMgr()->GetComposition(0);
        juce::Array<juce::var> tracks;
        for (auto* track : song.getTracks())
        {
            auto* stored = composition != nullptr ? composition->GetTrack(track->getIndex()) : nullptr;
            juce::Array<juce::var> loops;
            for (int i = 0; i < track->getNumLoops(); ++i)
            {
                const auto* loop = track->getLoop(i);
                juce::DynamicObject::Ptr l = new juce::DynamicObject();
                l->setProperty("name", loop->name);
                l->setProperty("start", loop->start);
                l->setProperty("end", loop->end);
                l->setProperty("file", loop->sequence != nullptr ? toText(loop->sequence->GetUnderlyingName()) : juce::String());
                loops.add(juce::var(l.get()));
            }
            juce::DynamicObject::Ptr t = new juce::DynamicObject();
            t->setProperty("index", track->getIndex());
            t->setProperty("caption", track->getCaption());
            t->setProperty("instrument", stored != nullptr ? toText(stored->GetPatchName())
                                         : track->getInstrument() != nullptr ? track->getInstrument()->name : juce::String());
            t->setProperty("audio", track->isAudioTrack());
            t->setProperty("mute", track->isMuted());
            t->setProperty("volume", figure(track->getVolume()));
            t->setProperty("pan", figure(track->getPan()));
            t->setProperty("loops", loops);
            tracks.add(juce::var(t.get()));
        }

        juce::DynamicObject::Ptr info = new juce::DynamicObject();
        for (int i = 0; i < NVSong::numInfoFields; ++i)
            info->setProperty(NVSong::infoFieldNames[(size_t) i], song.getInfo(i));

        juce::DynamicObject::Ptr root = new juce::DynamicObject();
        root->setProperty("name", engine.getCurrentSongName());
        root->setProperty("tempo", song.getTempo());
        root->setProperty("barSize", song.barSize);
        root->setProperty("volume", figure(song.getVolume()));
        root->setProperty("tracks", tracks);
        root->setProperty("lyricsTempo", figure(song.lyricsTempo));
        root->setProperty("info", juce::var(info.get()));
        return juce::var(root.get());
    }
}


// A command's engine, in a scratch home so that the user's songs temp folder
// (the working copy of a song open in the program) is never touched.
struct NVSongCommands::Session
{
    explicit Session(std::ostream& errors) : err(errors), dialogs(errors)
    {
        NVManager::getInstance()->setDialogHost(&dialogs);
    }
    ~Session()
    {
        NVManager::getInstance()->setDialogHost(nullptr);
        NVManager::kill();
    }
    NVManager& engine() { return *NVManager::getInstance(); }

    // Opens an archive; false (with a message) when it holds no readable song.
    bool open(const juce::File& file)
    {
        if (engine().newSong() == nullptr)
        {
            err << "nadavo: can't make the song temp folder\n";
            return false;
        }
        auto* song = engine().loadSong(file.getFullPathName());
        if (song == nullptr || dialogs.getTitlesShown().contains("Song not found"))
        {
            err << "nadavo: can't read the song in " << file.getFullPathName() << "\n";
            return false;
        }
        return true;
    }

    std::ostream& err;
    ScratchHome home;
    NVConsoleDialogs dialogs;
};

int NVSongCommands::usageError(const juce::String& message)
{
    err << "nadavo: " << message << "\n" << NVCommandLine::usage() << "\n";
    return 2;
}

bool NVSongCommands::checkArchive(const juce::File& file)
{
    const auto shown = file.getFullPathName();
    if (!file.existsAsFile())
    {
        err << "nadavo: no such file: " << shown << "\n";
        return false;
    }
    juce::ZipFile zip(file);
    if (zip.getNumEntries() == 0)
    {
        err << "nadavo: not a song archive (not a zip file): " << shown << "\n";
        return false;
    }
    if (zip.getEntry("Main.nvc") == nullptr)
    {
        err << "nadavo: not a song archive (no Main.nvc): " << shown << "\n";
        return false;
    }
    for (int i = 0; i < zip.getNumEntries(); ++i)
    {
        const auto& name = zip.getEntry(i)->filename;
        if (!name.endsWithChar('/') && !NVSongArchive::isPlainFileName(name))
            err << "nadavo: ignoring archive entry '" << name << "' (not a plain file name)\n";
    }
    return true;
}

bool NVSongCommands::parseNumber(const juce::String& option, const juce::String& text, int low, int high, int& value)
{
    const auto trimmed = text.trim();
    if (trimmed.isEmpty() || !trimmed.containsOnly("0123456789") || trimmed.length() > 9
        || trimmed.getIntValue() < low || trimmed.getIntValue() > high)
    {
        usageError(option + " needs a whole number from " + juce::String(low) + " to " + juce::String(high));
        return false;
    }
    value = trimmed.getIntValue();
    return true;
}

int NVSongCommands::info(const juce::StringArray& args)
{
    if (args.size() == 2 && (args[1] == "--help" || args[1] == "-h"))
    {
        out << kInfoHelp;
        return 0;
    }
    if (args.size() != 2)
        return usageError(args.size() < 2 ? "info needs SONG.nvz" : "info takes one SONG.nvz");
    if (args[1].startsWith("-"))
        return usageError("info: unknown option '" + args[1] + "'");

    const auto file = juce::File::getCurrentWorkingDirectory().getChildFile(args[1]);
    if (!checkArchive(file))
        return 1;

    Session session(err);
    if (!session.open(file))
        return 1;
    out << juce::JSON::toString(describeSong(session.engine(), *session.engine().getCurrentSong())) << "\n";
    return 0;
}

namespace
{
    // The rate of the first audio loop file of the song, or 0.
    double firstAudioLoopRate(NVManager& engine)
    {
        auto* song = engine.getCurrentSong();
        for (int t = 0; song != nullptr && t < song->getNumTracks(); ++t)
        {
            if (!song->getTrack(t)->isAudioTrack())
                continue;
            for (int i = 0; i < song->getTrack(t)->getNumLoops(); ++i)
                if (auto reader = NVAudioFileIO::openLoopFile(juce::File(engine.getLoopContent().getLoopFilePath(t, i))))
                    return reader->sampleRate;
        }
        return 0.0;
    }
}

int NVSongCommands::render(const juce::StringArray& args)
{
    if (args.contains("--help") || args.contains("-h"))
    {
        out << kRenderHelp;
        return 0;
    }
    juce::StringArray files;
    int rate = 0, block = 512;
    for (int i = 1; i < args.size(); ++i)
    {
        if (args[i] == "--rate" || args[i] == "--block")
        {
            if (i + 1 >= args.size())
                return usageError("render: " + args[i] + " needs a value");
            const bool isRate = args[i] == "--rate";
            if (!parseNumber("render: " + args[i], args[i + 1], isRate ? 8000 : 16, isRate ? 384000 : 16384,
                             isRate ? rate : block))
                return 2;
            ++i;
        }
        else if (args[i].startsWith("-"))
            return usageError("render: unknown option '" + args[i] + "'");
        else
            files.add(args[i]);
    }
    if (files.size() != 2)
        return usageError("render needs SONG.nvz and OUT");
    const auto cwd = juce::File::getCurrentWorkingDirectory();
    const auto songFile = cwd.getChildFile(files[0]);
    const auto target = cwd.getChildFile(files[1]);
    const bool mp3 = target.getFileName().endsWithIgnoreCase(".mp3");
    if (!mp3 && !target.getFileName().endsWithIgnoreCase(".aif") && !target.getFileName().endsWithIgnoreCase(".aiff"))
        return usageError("render: OUT must end in .aif, .aiff or .mp3");
    if (!target.getParentDirectory().isDirectory())
    {
        err << "nadavo: no such folder: " << target.getParentDirectory().getFullPathName() << "\n";
        return 1;
    }
    if (!checkArchive(songFile))
        return 1;

    Session session(err);
    auto& engine = session.engine();
    // Audio loops are placed in samples at the song's rate when it is opened:
    // with no rate given, at 44100 Hz until the first audio loop says otherwise.
    double sampleRate = rate > 0 ? rate : 44100.0;
    engine.prepareToPlay(block, sampleRate);
    if (!session.open(songFile))
        return 1;
    if (rate <= 0)
    {
        const double ownRate = firstAudioLoopRate(engine);
        if (ownRate > 0.0 && ownRate != sampleRate)
        {
            sampleRate = ownRate;
            engine.prepareToPlay(block, sampleRate);
            engine.refreshTrackEvents(0);
            engine.refreshMIDIEvents();
        }
    }

    auto& exporter = engine.getExport();
    const auto message = "Rendering " + engine.getCurrentSongName();
    session.dialogs.showProgress("Rendering...", message);
    exporter.setProgressListener([&session, message](double done) { session.dialogs.setProgress(message, done); });
    // The target is replaced only once the new file is complete.
    juce::TemporaryFile partial(target);
    const bool done = exporter.exportSong(partial.getFile(), NVExport::Encoder::waitForResult, sampleRate, block);
    exporter.setProgressListener(nullptr);
    session.dialogs.hideProgress();
    if (!done || !partial.overwriteTargetFileWithTemporary())
    {
        err << "nadavo: can't render " << target.getFullPathName() << ": "
            << (exporter.getLastError().isNotEmpty() ? exporter.getLastError() : juce::String("the file can't be written"))
            << "\n";
        return 1;
    }
    return 0;
}

int NVSongCommands::makeSong(const juce::StringArray& args)
{
    if (args.contains("--help") || args.contains("-h"))
    {
        out << kNewHelp;
        return 0;
    }
    juce::StringArray files;
    juce::String output;
    int rate = 0;
    for (int i = 1; i < args.size(); ++i)
    {
        if (args[i] == "-o" || args[i] == "--rate")
        {
            if (i + 1 >= args.size())
                return usageError("new: " + args[i] + " needs a value");
            if (args[i] == "-o")
                output = args[i + 1];
            else if (!parseNumber("new: --rate", args[i + 1], 8000, 384000, rate))
                return 2;
            ++i;
        }
        else if (args[i].startsWith("-"))
            return usageError("new: unknown option '" + args[i] + "'");
        else
            files.add(args[i]);
    }
    if (files.size() != 1 || output.isEmpty())
        return usageError("new needs SOUNDTRACK and -o SONG.nvz");

    const auto cwd = juce::File::getCurrentWorkingDirectory();
    const auto soundtrack = cwd.getChildFile(files[0]);
    auto target = cwd.getChildFile(output);
    if (!soundtrack.existsAsFile())
    {
        err << "nadavo: no such file: " << soundtrack.getFullPathName() << "\n";
        return 1;
    }
    const auto name = soundtrack.getFileName();
    const bool isMP3 = name.endsWithIgnoreCase(".mp3");
    if (!isMP3 && !name.endsWithIgnoreCase(".wav") && !name.endsWithIgnoreCase(".aif") && !name.endsWithIgnoreCase(".aiff"))
    {
        err << "nadavo: not a WAV, AIFF or MP3 file: " << soundtrack.getFullPathName() << "\n";
        return 1;
    }
    double ownRate = 0.0;
    if (isMP3)
    {
        juce::MP3AudioFormat format;
        if (auto reader = NVAudioFileIO::openReader(soundtrack, format))
            ownRate = reader->sampleRate;
    }
    else if (auto reader = NVAudioFileIO::openLoopFile(soundtrack))
    {
        ownRate = reader->sampleRate;
    }
    if (ownRate <= 0.0)
    {
        err << "nadavo: can't read the soundtrack " << soundtrack.getFullPathName() << "\n";
        return 1;
    }
    if (!target.getParentDirectory().isDirectory())
    {
        err << "nadavo: no such folder: " << target.getParentDirectory().getFullPathName() << "\n";
        return 1;
    }

    Session session(err);
    auto& engine = session.engine();
    const double sampleRate = rate > 0 ? rate : ownRate;
    engine.prepareToPlay(512, sampleRate);
    if (!engine.newSoundtrackSong(soundtrack.getFullPathName()))
    {
        if (!session.dialogs.getTitlesShown().contains("Conversion error"))
            err << "nadavo: the soundtrack doesn't suit an audio track: it needs 1 or 2 channels at "
                << juce::String(sampleRate, 0) << " Hz\n";
        return 1;
    }
    session.dialogs.chooseNext(target);
    if (!engine.saveCurrentSong(true, false))
    {
        err << "nadavo: can't save " << target.getFullPathName() << "\n";
        return 1;
    }
    if (!target.getFileName().endsWith(".nvz"))
        target = target.getSiblingFile(target.getFileName() + ".nvz");
    out << target.getFullPathName() << "\n";
    return 0;
}
