// Times `nadavo render` of a three-minute song (a stereo soundtrack and a
// three-minute mono voice take, 16-bit WAV at 44.1 kHz) into an AIFF file beside
// `sox -m` mixing the same two files into an AIFF file, in one run, and
// prints both times (best and median of several runs) and their ratio.
#include "engine/NVAudioFileIO.h"
#include "engine/NVManager.h"
#include "engine/NVScriptedDialogs.h"
#include "tests/support/NVTestEnvironment.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace
{
    // 16-bit WAV files with a little noise under the tones, so that they pack
    // about as loosely as recorded music does.
    bool writeSound(const juce::File& file, int channels, int length, double rate, float frequency)
    {
        juce::AudioBuffer<float> samples(channels, length);
        juce::Random noise(42);
        for (int c = 0; c < channels; ++c)
            for (int i = 0; i < length; ++i)
                samples.setSample(c, i, 0.3f * std::sin(juce::MathConstants<float>::twoPi * frequency * (float) i / (float) rate + (float) c)
                                            + 0.05f * (noise.nextFloat() - 0.5f));
        juce::WavAudioFormat wav;
        return NVAudioFileIO::writeWhole(file, wav, samples, rate);
    }

    // Seconds of wall time a command takes, or a negative number when it fails.
    double timeCommand(const juce::StringArray& command)
    {
        const auto start = std::chrono::steady_clock::now();
        juce::ChildProcess process;
        if (!process.start(command, 0) || !process.waitForProcessToFinish(600000) || process.getExitCode() != 0)
            return -1.0;
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }

    struct Figures { double best, median; };
    Figures measure(const juce::StringArray& command, int runs)
    {
        std::vector<double> times;
        for (int i = 0; i < runs; ++i)
            times.push_back(timeCommand(command));
        std::sort(times.begin(), times.end());
        return { times.front(), times[times.size() / 2] };
    }
}

int main()
{
    juce::ScopedJuceInitialiser_GUI juce;
    constexpr double rate = 44100.0;
    constexpr int seconds = 180;
    constexpr int runs = 5;
    const auto work = juce::File::getSpecialLocation(juce::File::tempDirectory)
                          .getChildFile("nadavo-render-bench-" + juce::Uuid().toString());
    work.createDirectory();
    ::setenv("NADAVO_HOME", work.getChildFile("home").getFullPathName().toRawUTF8(), 1);
    const auto soundtrack = work.getChildFile("soundtrack.wav");
    const auto take = work.getChildFile("voice.wav");
    const auto song = work.getChildFile("song.nvz");
    int status = 0;

    // The song, made as New makes it, with the take on the voice track.
    {
        NVScriptedDialogs dialogs;
        auto* engine = NVManager::getInstance();
        engine->setDialogHost(&dialogs);
        engine->prepareToPlay(512, rate);
        dialogs.chooseNext(song);
        const bool made = writeSound(soundtrack, 2, seconds * (int) rate, rate, 220.0f)
                          && writeSound(take, 1, seconds * (int) rate, rate, 330.0f)
                          && engine->newSoundtrackSong(soundtrack.getFullPathName())
                          && engine->dragFileToTrack(1, 0, take.getFullPathName(), "take", 0, true, false)
                          && engine->saveCurrentSong(true, false);
        engine->setDialogHost(nullptr);
        NVManager::kill();
        if (!made)
        {
            std::fprintf(stderr, "could not make the song\n");
            status = 1;
        }
    }

    const auto nadavo = juce::File::getSpecialLocation(juce::File::currentExecutableFile).getSiblingFile("nadavo");
    if (status == 0)
    {
        const auto ours = measure({ nadavo.getFullPathName(), "render", song.getFullPathName(),
                                    work.getChildFile("ours.aif").getFullPathName() }, runs);
        const auto sox = measure({ "sox", "-m", soundtrack.getFullPathName(), take.getFullPathName(),
                                   work.getChildFile("sox.aif").getFullPathName() }, runs);
        if (ours.best < 0.0 || sox.best < 0.0)
        {
            std::fprintf(stderr, "a command failed (nadavo %.3f, sox %.3f)\n", ours.best, sox.best);
            status = 1;
        }
        else
        {
            std::printf("three-minute song, soundtrack and voice, 44.1 kHz, %d runs each\n", runs);
            std::printf("nadavo render: best %.3f s, median %.3f s\n", ours.best, ours.median);
            std::printf("sox -m:        best %.3f s, median %.3f s\n", sox.best, sox.median);
            std::printf("ratio (nadavo / sox): best %.2f, median %.2f\n", ours.best / sox.best, ours.median / sox.median);
        }
    }
    work.deleteRecursively();
    return status;
}
