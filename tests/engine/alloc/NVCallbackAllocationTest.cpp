// Counts heap allocations made while the audio callback plays a song.
#include "engine/NVPlayback.h"
#include "tests/support/NVDemoSong.h"
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

TEST(NVAudioCallback, PlayingASongAllocatesNothing)
{
    constexpr double rate = 44100.0;
    constexpr int block = 512;
    NVDemoSong demo(NVTest::freshHome(), rate, block);
    ASSERT_TRUE(demo.valid);
    auto& song = *demo.song;

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
