#include "cli/NVCommandLine.h"

#include "cli/NVSongCommands.h"
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
        return NVSongCommands(out, err).info(args);
    if (command == "render")
        return NVSongCommands(out, err).render(args);
    if (command == "new")
        return NVSongCommands(out, err).makeSong(args);
    return usageError("unknown command '" + command + "'");
}

int NVCommandLine::usageError(const juce::String& message)
{
    err << "nadavo: " << message << "\n" << usage() << "\n";
    return 2;
}

int NVCommandLine::printHelp()
{
    out << usage() << "\n\n"
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
        << "  render SONG.nvz OUT [--rate R] [--block N]\n"
        << "                       bounce a song archive into an AIFF or MP3 file\n"
        << "  new SOUNDTRACK -o SONG.nvz [--rate R]\n"
        << "                       make a song from a soundtrack and save it\n"
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

