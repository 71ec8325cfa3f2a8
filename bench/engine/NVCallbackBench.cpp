// Times the audio callback playing a song of two audio and four instrument
// tracks at 44.1 kHz in 512-sample blocks, and prints the mean and the 99th
// percentile time per block as a share of the block's duration.
#include "engine/NVPlayback.h"
#include "tests/support/NVDemoSong.h"

#include <juce_events/juce_events.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

int main()
{
    juce::ScopedJuceInitialiser_GUI juce;
    constexpr double rate = 44100.0;
    constexpr int block = 512;
    constexpr int blocks = 5000;
    const auto folder = juce::File::getSpecialLocation(juce::File::tempDirectory)
                            .getChildFile("nadavo-callback-bench-" + juce::Uuid().toString());
    folder.createDirectory();
    int status = 0;
    {
        NVDemoSong demo(folder, rate, block);
        if (!demo.valid)
        {
            std::fprintf(stderr, "could not write the audio files\n");
            status = 1;
        }
        else
        {
            NVPlayback playback;
            playback.prepare(rate, block);
            playback.setMode(kPlaying, demo.song.get());
            juce::AudioBuffer<float> device(2, block);
            std::vector<double> micros;
            micros.reserve(blocks);
            for (int i = 0; i < blocks; ++i)
            {
                const auto start = std::chrono::steady_clock::now();
                playback.renderBlock(juce::AudioSourceChannelInfo(&device, 0, block), demo.song.get());
                micros.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count());
            }
            const double blockMicros = block / rate * 1e6;
            double sum = 0.0;
            for (double m : micros)
                sum += m;
            std::sort(micros.begin(), micros.end());
            const double mean = sum / blocks;
            const double p99 = micros[(size_t) (blocks * 0.99)];
            std::printf("callback, 2 audio + 4 instrument tracks, %d blocks of %d at %.0f Hz\n", blocks, block, rate);
            std::printf("mean %.1f us (%.2f %% of a block), 99th percentile %.1f us (%.2f %%), max %.1f us\n",
                        mean, 100.0 * mean / blockMicros, p99, 100.0 * p99 / blockMicros, micros.back());
        }
    }
    folder.deleteRecursively();
    return status;
}
