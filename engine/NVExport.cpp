#include "engine/NVExport.h"

#include "engine/NVManager.h"
#include "engine/NVTimeUnits.h"
#include "model/TWComposition.h"
#include "model/TWCompositionsMgr.h"

#include <juce_audio_formats/juce_audio_formats.h>

NVExport::NVExport(NVManager& engine) : owner(engine) {}

NVExport::~NVExport() = default;

bool NVExport::bounceSongAsAudioFile(const juce::File& file, bool flag)
{
    return bounceSongAsAudioFile(file, flag, owner.getSampleRate(), owner.getBlockSize());
}

bool NVExport::bounceSongAsAudioFile(const juce::File& file, bool, double sampleRate, int blockSize)
{
    lastError.clear();
    if (sampleRate <= 0.0 || blockSize <= 0)
    {
        lastError = "No audio device is running: there is no sample rate to bounce at.";
        return false;
    }

    const bool wasLocked = owner.isProcessLocked();
    owner.lockProcess();
    auto& playback = owner.getPlayback();
    const auto savedSamples = playback.getPlayPosition();
    const auto savedTick = playback.getLastTick();
    const auto savedBeats = playback.getPositionInBeats();

    const bool done = render(file, sampleRate, blockSize);

    playback.setPosition(savedSamples, savedTick, savedBeats);
    if (!wasLocked)
        owner.unlockProcess();
    return done;
}

bool NVExport::render(const juce::File& file, double sampleRate, int blockSize)
{
    // The song may not be replaced while it renders.
    const juce::ScopedLock songLock(owner.getSongLock());
    auto* song = owner.getCurrentSong();
    if (song == nullptr)
    {
        lastError = "There is no song to bounce.";
        return false;
    }

    file.deleteFile();
    std::unique_ptr<juce::AudioFormatWriter> writer;
    {
        auto stream = std::make_unique<juce::FileOutputStream>(file, 32768);
        if (stream->openedOk())
            writer.reset(juce::AiffAudioFormat().createWriterFor(stream.get(), sampleRate, 2, 16, {}, 0));
        if (writer != nullptr)
            stream.release(); // the writer owns it now
    }
    if (writer == nullptr)
    {
        lastError = "Can't write the file " + file.getFullPathName();
        return false;
    }

    if (auto* composition = GetCompositionsMgr()->GetComposition(0))
        owner.setMinimumNrOfBeats(composition->GetMinimumNrOfBeats());
    const double endTick = (double) owner.getMinimumNrOfBeats() * NVTimeUnits::ticksPerBeat;
    const double ticksPerBlock = blockSize / sampleRate * (owner.getTempo() / 60.0 * NVTimeUnits::ticksPerBeat);

    juce::AudioBuffer<float> block(2, blockSize);
    auto& playback = owner.getPlayback();
    playback.setPosition(0, 0, 0.0);
    song->prepareToPlay(sampleRate, blockSize);

    bool written = true;
    juce::uint64 position = 0;
    const auto totalBlocks = (juce::int64) std::ceil(endTick / ticksPerBlock);
    const auto progressStep = juce::jmax((juce::int64) 1, totalBlocks / 100);
    juce::int64 blockNumber = 0;
    for (double from = 0.0, to = ticksPerBlock; from < endTick; from = to, to += ticksPerBlock, ++blockNumber)
    {
        if (progressListener && blockNumber % progressStep == 0)
            progressListener((double) blockNumber / (double) totalBlocks);
        block.clear();
        song->processSlice((juce::int64) from, (juce::int64) to, position, block);
        block.applyGain(song->getVolume());
        if (!writer->writeFromAudioSampleBuffer(block, 0, blockSize))
        {
            lastError = "Couldn't write all of the file " + file.getFullPathName();
            written = false;
            break;
        }
        position += (juce::uint64) blockSize;
        playback.setPosition(position, (juce::int64) to, to / NVTimeUnits::ticksPerBeat);
    }
    writer.reset(); // completes the file
    if (progressListener && written)
        progressListener(1.0);

    // Back to the device's own settings when the bounce used others.
    const double deviceRate = owner.getSampleRate();
    const int deviceBlock = owner.getBlockSize();
    if (deviceRate > 0.0 && deviceBlock > 0 && (deviceRate != sampleRate || deviceBlock != blockSize))
        song->prepareToPlay(deviceRate, deviceBlock);
    return written;
}

// MP3 -------------------------------------------------------------------------------------

juce::String NVExport::encoderArguments(const juce::String& aifPath, const juce::String& targetPath)
{
    return "-b 320 \"" + aifPath + "\" \"" + targetPath + "\"";
}

juce::String NVExport::getEncoderPath() const
{
    return owner.getSettings().resolveLAMEPath();
}

juce::File NVExport::getMP3ScratchFile() const
{
    return juce::File(owner.getCurrentGroovesTempFolder(false) + juce::File::getSeparatorString() + "audiotomp3.aif");
}

bool NVExport::exportSong(const juce::File& target, Encoder mode)
{
    return exportSong(target, mode, owner.getSampleRate(), owner.getBlockSize());
}

bool NVExport::exportSong(const juce::File& target, Encoder mode, double sampleRate, int blockSize)
{
    if (target.getFileName().endsWithIgnoreCase(".mp3"))
        return exportMP3(target, mode, sampleRate, blockSize);
    return bounceSongAsAudioFile(target, true, sampleRate, blockSize);
}

bool NVExport::exportMP3(const juce::File& target, Encoder mode)
{
    return exportMP3(target, mode, owner.getSampleRate(), owner.getBlockSize());
}

bool NVExport::exportMP3(const juce::File& target, Encoder mode, double sampleRate, int blockSize)
{
    lastError.clear();
    const auto encoder = getEncoderPath();
    if (!juce::File::isAbsolutePath(encoder) || !juce::File(encoder).existsAsFile())
    {
        lastError = "The MP3 encoder was not found: " + encoder;
        return false;
    }

    const auto aif = getMP3ScratchFile();
    if (!bounceSongAsAudioFile(aif, true, sampleRate, blockSize))
        return false;
    target.deleteFile();
    return runEncoder(encoder, aif, target, mode);
}

bool NVExport::runEncoder(const juce::String& encoder, const juce::File& aif, const juce::File& target, Encoder mode)
{
    reapEncoders();

    // The argument text -b 320 "<aif>" "<target>", handed over word by word so
    // that no path is split or cut at a quote or a blank inside it.
    const juce::StringArray command { encoder, "-b", "320", aif.getFullPathName(), target.getFullPathName() };
    auto process = std::make_unique<juce::ChildProcess>();

    if (mode == Encoder::start)
    {
        // Its output goes nowhere: nobody reads it, and a full pipe would stop the encoder.
        if (!process->start(command, 0))
        {
            lastError = "The MP3 encoder could not be started: " + encoder;
            return false;
        }
        const juce::ScopedLock sl(encoderLock);
        runningEncoders.add(process.release());
        return true;
    }

    if (!process->start(command, juce::ChildProcess::wantStdOut | juce::ChildProcess::wantStdErr))
    {
        lastError = "The MP3 encoder could not be started: " + encoder;
        return false;
    }
    const auto output = process->readAllProcessOutput(); // until the encoder closes its output
    process->waitForProcessToFinish(-1);
    const auto exitCode = process->getExitCode();
    if (exitCode != 0 || target.getSize() <= 0)
    {
        lastError = "The MP3 encoder failed (exit code " + juce::String(exitCode) + "): "
                    + output.trim().fromLastOccurrenceOf("\n", false, false);
        return false;
    }
    return true;
}

void NVExport::reapEncoders()
{
    const juce::ScopedLock sl(encoderLock);
    for (int i = runningEncoders.size(); --i >= 0;)
        if (!runningEncoders[i]->isRunning()) // collects an encoder that has ended
            runningEncoders.remove(i);
}
