// Counts heap allocations made while the audio callback plays a song.
#include "engine/NVAudioTrack.h"
#include "engine/NVMidiTrack.h"
#include "engine/NVPlayback.h"
#include "engine/NVSong.h"
#include "sound/NVBuiltinEngineFormat.h"
#include "sound/NVInstrument.h"
#include "tests/support/NVTestEnvironment.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace
{
    thread_local bool counting = false;
    std::atomic<int> allocations { 0 };
}

void* operator new(std::size_t size)
{
    if (counting)
        ++allocations;
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace
{
    float tone(int channel, int i) { return 0.2f * std::sin(0.05f * (float) i + (float) channel); }
}

TEST(NVAudioCallback, PlayingASongAllocatesNothing)
{
    constexpr double rate = 44100.0;
    constexpr int block = 512;
    const auto folder = NVTest::freshHome();
    const auto soundtrack = folder.getChildFile("soundtrack.wav");
    const auto take = folder.getChildFile("take.aif");
    ASSERT_TRUE(NVTest::writeAudioFile(soundtrack, 2, 600000, rate, tone));
    ASSERT_TRUE(NVTest::writeAudioFile(take, 1, 200000, rate, tone));

    NVSong song(0.9f, "", 0.0f, 120, 4);
    auto* track0 = new NVAudioTrack(0);
    song.appendTrack(track0);
    track0->addAudioFile(0, 600000, soundtrack.getFullPathName());
    auto* voice = new NVAudioTrack(1);
    song.appendTrack(voice);
    voice->addAudioFile(1000, 201000, take.getFullPathName());
    voice->addAudioFile(300000, 500000, take.getFullPathName());

    NVInstrument kit, keys;
    kit.drumKit = true;
    for (const char* name : { "Tabla", "Dholak", "Sitar", "Harmonium" })
    {
        auto* track = new NVMidiTrack();
        song.appendTrack(track);
        const bool isKit = NVBuiltinEngineFormat::isPercussionEngine(name);
        track->setInstrument(isKit ? &kit : &keys);
        track->setPitchShift(isKit ? 2 : -1);
        track->setPlugin(NVBuiltinEngineFormat::createEngine(name, name).release(), rate, block);
        for (int beat = 0; beat < 64; ++beat)
        {
            const int note = isKit ? 36 + beat % 12 : 48 + beat % 24;
            track->addMessage(beat * 480, 0x90, note, 90);
            auto cc = juce::MidiMessage::controllerEvent(1, 11, 100);
            cc.setTimeStamp(beat * 480 + 100);
            track->addMessage(cc);
            track->addMessage(beat * 480 + 240, 0x80, note, 0);
        }
    }
    song.prepareToPlay(rate, block);

    NVPlayback playback;
    playback.prepare(rate, block);
    playback.setMode(kPlaying, &song);
    juce::AudioBuffer<float> device(2, block);
    float peak = 0.0f;

    allocations = 0;
    counting = true;
    for (int i = 0; i < 1000; ++i)
    {
        playback.renderBlock(juce::AudioSourceChannelInfo(&device, 0, block), &song);
        peak = juce::jmax(peak, device.getMagnitude(0, block));
    }
    counting = false;

    EXPECT_EQ(allocations.load(), 0);
    EXPECT_GT(peak, 0.01f);
}
