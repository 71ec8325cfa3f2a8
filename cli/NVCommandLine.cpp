#include "cli/NVCommandLine.h"

#include "cli/NVConsoleDialogs.h"
#include "engine/NVManager.h"
#include "engine/NVScriptedDialogs.h"
#include "engine/NVSongArchive.h"
#include "model/TWBuiltinInstruments.h"
#include "model/TWComposition.h"
#include "model/TWCompositionsMgr.h"
#include "model/TWInstrumentTrack.h"
#include "model/TWRhythmicSequence.h"

#include <cmath>
#include <cstdlib>

#include <ostream>

namespace
{
    const char* const kUsage = "usage: nadavo [--version | --help | <command> [arguments]]";

    // Starts the engine for a command and shuts it down (writing its settings) after.
    struct EngineSession
    {
        EngineSession() { NVManager::getInstance()->setDialogHost(&dialogs); }
        ~EngineSession() { NVManager::kill(); }
        NVManager& engine() { return *NVManager::getInstance(); }
        NVScriptedDialogs dialogs;
    };
}

int NVCommandLine::run(const juce::StringArray& args)
{
    if (args.isEmpty())
        return usageError("no command given");

    const auto& command = args[0];
    if (command == "--version" || command == "version")
    {
        out << version() << "\n";
        return 0;
    }
    if (command == "--help" || command == "help" || command == "-h")
        return printHelp();
    if (command == "paths")
        return printPaths();
    if (command == "devices")
        return listDevices();
    if (command == "engines")
        return listEngines();
    if (command == "render-note")
        return renderNote(args);
    if (command == "info")
        return songInfo(args);
    return usageError("unknown command '" + command + "'");
}

int NVCommandLine::usageError(const juce::String& message)
{
    err << "nadavo: " << message << "\n" << kUsage << "\n";
    return 2;
}

int NVCommandLine::printHelp()
{
    out << kUsage << "\n\n"
        << "Nadavo Recorder's command-line tool.\n\n"
        << "Commands:\n"
        << "  --version            print the version\n"
        << "  --help               print this help\n"
        << "  paths                print the folders and files the program uses\n"
        << "  devices              open the audio device as the program does and describe it\n"
        << "  engines              list the instruments and their sound engines\n"
        << "  render-note INSTRUMENT NOTE OUT.wav [VELOCITY] [SECONDS]\n"
        << "                       play one note through an instrument's sound engine into a WAV file\n"
        << "  info SONG.nvz        print a song archive's settings, tracks, loops and information as JSON\n"
        << "\nThe environment variable NADAVO_HOME moves every per-user file under one folder.\n";
    return 0;
}

int NVCommandLine::printPaths()
{
    EngineSession session;
    auto& engine = session.engine();
    out << "user folder:     " << engine.getUserPath() << "\n"
        << "settings file:   " << NVUserSettings::getSettingsFile().getFullPathName() << "\n"
        << "library:         " << engine.getLibraryPath() << "\n"
        << "songs:           " << engine.getCurrentGroovesFolder() << "\n"
        << "song temp:       " << engine.getCurrentGroovesTempFolder(false) << "\n"
        << "sound engines:   " << engine.getSoundEnginesPath() << "\n"
        << "MP3 encoder:     " << engine.getSettings().resolveLAMEPath() << "\n";
    return 0;
}

int NVCommandLine::listDevices()
{
    EngineSession session;
    auto& engine = session.engine();
    engine.initialiseAudio();
    auto& devices = engine.getDeviceManager();
    // Let the device start calling back.
    juce::MessageManager::getInstance()->runDispatchLoopUntil(300);
    if (auto* device = devices.getCurrentAudioDevice())
    {
        out << "type:        " << devices.getCurrentAudioDeviceType() << "\n"
            << "device:      " << device->getName() << "\n"
            << "sample rate: " << device->getCurrentSampleRate() << "\n"
            << "block size:  " << device->getCurrentBufferSizeSamples() << "\n"
            << "inputs:      " << device->getActiveInputChannels().countNumberOfSetBits() << "\n"
            << "outputs:     " << device->getActiveOutputChannels().countNumberOfSetBits() << "\n"
            << "engine rate: " << engine.getSampleRate() << "\n";
    }
    else
    {
        out << "no audio device; the engine runs at sample rate " << engine.getSampleRate() << "\n";
    }
    return 0;
}

int NVCommandLine::listEngines()
{
    EngineSession session;
    auto& engine = session.engine();
    for (int i = 0; i < engine.getNumInstruments(); ++i)
    {
        auto* instrument = engine.getInstrumentByIndex(i);
        out << instrument->name << "\t" << instrument->engineName << (instrument->drumKit ? "\tdrum kit" : "") << "\n";
    }
    return 0;
}

int NVCommandLine::renderNote(const juce::StringArray& args)
{
    if (args.size() < 4)
        return usageError("render-note needs INSTRUMENT NOTE OUT.wav");
    const int note = args[2].getIntValue();
    const int velocity = args.size() > 4 ? args[4].getIntValue() : 100;
    const double seconds = args.size() > 5 ? args[5].getDoubleValue() : 2.0;
    if (!juce::isPositiveAndBelow(note, 128) || velocity < 1 || velocity > 127 || seconds <= 0.0 || seconds > 60.0)
        return usageError("NOTE must be 0-127, VELOCITY 1-127, SECONDS up to 60");

    EngineSession session;
    auto& engine = session.engine();
    auto* instrument = engine.getInstrument(args[1]);
    if (instrument == nullptr || instrument->engineName == "Audio")
    {
        err << "nadavo: no instrument named '" << args[1] << "'\n";
        return 1;
    }
    juce::String error;
    auto synth = engine.createSoundEngine(*instrument, error);
    if (synth == nullptr)
    {
        err << "nadavo: " << error << "\n";
        return 1;
    }

    const double rate = 44100.0;
    const int block = 512;
    synth->prepareToPlay(rate, block);
    const int total = (int) (seconds * rate);
    juce::AudioBuffer<float> result(2, total);
    result.clear();
    juce::AudioBuffer<float> buffer(juce::jmax(2, synth->getTotalNumOutputChannels()), block);
    const int noteOffAt = (int) (total * 0.6);
    for (int pos = 0; pos < total; pos += block)
    {
        const int n = juce::jmin(block, total - pos);
        buffer.clear();
        juce::MidiBuffer midi;
        if (pos == 0)
            midi.addEvent(juce::MidiMessage::noteOn(1, note, (juce::uint8) velocity), 0);
        if (noteOffAt >= pos && noteOffAt < pos + n)
            midi.addEvent(juce::MidiMessage::noteOff(1, note), noteOffAt - pos);
        synth->processBlock(buffer, midi);
        for (int ch = 0; ch < 2; ++ch)
            result.copyFrom(ch, pos, buffer, juce::jmin(ch, buffer.getNumChannels() - 1), 0, n);
    }
    synth->releaseResources();

    juce::File outFile = juce::File::getCurrentWorkingDirectory().getChildFile(args[3]);
    outFile.deleteFile();
    std::unique_ptr<juce::OutputStream> stream(outFile.createOutputStream());
    juce::WavAudioFormat wav;
    std::unique_ptr<juce::AudioFormatWriter> writer(
        stream != nullptr ? wav.createWriterFor(stream.get(), rate, 2, 16, {}, 0) : nullptr);
    if (writer == nullptr)
    {
        err << "nadavo: can't write " << outFile.getFullPathName() << "\n";
        return 1;
    }
    stream.release();
    writer->writeFromAudioSampleBuffer(result, 0, total);
    out << "wrote " << outFile.getFullPathName() << " (" << instrument->name << ", note " << note
        << ", peak " << result.getMagnitude(0, total) << ")\n";
    return 0;
}

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

int NVCommandLine::songInfo(const juce::StringArray& args)
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
    const auto shown = file.getFullPathName();
    if (!file.existsAsFile())
    {
        err << "nadavo: no such file: " << shown << "\n";
        return 1;
    }
    {
        juce::ZipFile zip(file);
        if (zip.getNumEntries() == 0)
        {
            err << "nadavo: not a song archive (not a zip file): " << shown << "\n";
            return 1;
        }
        if (zip.getEntry("Main.nvc") == nullptr)
        {
            err << "nadavo: not a song archive (no Main.nvc): " << shown << "\n";
            return 1;
        }
        for (int i = 0; i < zip.getNumEntries(); ++i)
        {
            const auto& name = zip.getEntry(i)->filename;
            if (!name.endsWithChar('/') && !NVSongArchive::isPlainFileName(name))
                err << "nadavo: ignoring archive entry '" << name << "' (not a plain file name)\n";
        }
    }

    ScratchHome home;
    NVConsoleDialogs dialogs(err);
    int result = 1;
    {
        auto* engine = NVManager::getInstance();
        engine->setDialogHost(&dialogs);
        if (engine->newSong() != nullptr)
        {
            auto* song = engine->loadSong(file.getFullPathName());
            if (song == nullptr || dialogs.getTitlesShown().contains("Song not found"))
            {
                err << "nadavo: can't read the song in " << shown << "\n";
            }
            else
            {
                out << juce::JSON::toString(describeSong(*engine, *song)) << "\n";
                result = 0;
            }
        }
        else
        {
            err << "nadavo: can't make the song temp folder\n";
        }
        engine->setDialogHost(nullptr);
        NVManager::kill();
    }
    return result;
}
