// Times the offline bounce of a 3-minute song at 120 bpm with a soundtrack and
// a voice track (two 30-second takes) into a 16-bit AIFF at 44.1 kHz in
// 512-sample blocks, and prints the seconds per bounce and the realtime factor.
#include "engine/NVManager.h"
#include "model/TWComposition.h"
#include "model/TWCompositionsMgr.h"
#include "model/TWRhythmicCycle.h"
#include "tests/support/NVTestEnvironment.h"

#include <juce_events/juce_events.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace
{
    float music(int channel, int i) { return 0.3f * std::sin(0.01f * (float) i + (float) channel); }
    float voice(int, int i) { return 0.2f * std::sin(0.037f * (float) i); }
}

int main()
{
    juce::ScopedJuceInitialiser_GUI juce;
    constexpr double rate = 44100.0;
    constexpr int block = 512;
    constexpr int songSeconds = 180;
    constexpr int runs = 5;
    const auto home = juce::File::getSpecialLocation(juce::File::tempDirectory)
                          .getChildFile("nadavo-bounce-bench-" + juce::Uuid().toString());
    home.createDirectory();
    ::setenv("NADAVO_HOME", home.getFullPathName().toRawUTF8(), 1);
    int status = 0;
    {
        auto* engine = NVManager::getInstance();
        engine->newSong();
        const juce::File temp(engine->getCurrentGroovesTempFolder(false));
        auto* composition = GetCompositionsMgr()->GetComposition(0);
        composition->AddInstrumentTrack("Audio", 0, "Audio", 0, 4, 100, 0);
        composition->AddInstrumentTrack("Audio", 0, "Audio", 0, 4, 100, 0);
        auto& song = *engine->getCurrentSong();
        engine->loadTrack(song, "Audio", composition->GetTrack(0), 0);
        engine->loadTrack(song, "Audio", composition->GetTrack(1), 1);

        const bool written = NVTest::writeAudioFile(temp.getChildFile("RZ100000.wav"), 2, songSeconds * (int) rate, rate, music)
                             && NVTest::writeAudioFile(temp.getChildFile("RZ100000.aif"), 1, 30 * (int) rate, rate, voice);
        // 120 bpm: 8 quarter beats a second.
        GetCompositionsMgr()->AddTrackItem(0, 0, songSeconds * 8)->SetUnderlyingName("RZ100000.wav");
        GetCompositionsMgr()->AddTrackItem(1, 80, 240)->SetUnderlyingName("RZ100000.aif");
        GetCompositionsMgr()->AddTrackItem(1, 600, 240)->SetUnderlyingName("RZ100000.aif");
        if (!written || !engine->refreshTrackEvents(0) || !engine->refreshTrackEvents(1))
        {
            std::fprintf(stderr, "could not build the song\n");
            status = 1;
        }
        else
        {
            const auto mix = home.getChildFile("mix.aif");
            std::vector<double> seconds;
            for (int r = 0; r < runs && status == 0; ++r)
            {
                const auto start = std::chrono::steady_clock::now();
                if (!engine->bounceSongAsAudioFile(mix, true, rate, block))
                {
                    std::fprintf(stderr, "bounce failed: %s\n", engine->getExport().getLastError().toRawUTF8());
                    status = 1;
                }
                seconds.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
            }
            if (status == 0)
            {
                std::sort(seconds.begin(), seconds.end());
                const double median = seconds[seconds.size() / 2];
                std::printf("bounce, %d s song (soundtrack + voice track), %.0f Hz, %d-sample blocks, %d runs\n",
                            songSeconds, rate, block, runs);
                std::printf("median %.3f s (min %.3f, max %.3f), realtime factor %.0fx, file %.1f MB\n",
                            median, seconds.front(), seconds.back(), songSeconds / median,
                            (double) mix.getSize() / 1.0e6);
            }
        }
        NVManager::kill();
    }
    home.deleteRecursively();
    return status;
}
