// Counts heap allocations made while the audio callback plays a song.
#include "engine/AudioRecorder.h"
#include "engine/NVPlayback.h"
#include "tests/engine/NVFakeAudioDevice.h"
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

TEST(NVAudioCallback, TheRecorderAllocatesNothingWhileItRecords)
{
    constexpr int block = 512;
    constexpr int blocks = 60; // within the writer's buffer, however slowly its thread runs
    const auto take = NVTest::freshHome().getChildFile("audio_input.aif");
    NVFakeAudioDevice device(44100.0, block);
    AudioRecorder recorder;
    recorder.audioDeviceAboutToStart(&device);
    recorder.armRecording(take, 100, 0);
    recorder.setActive(true);
    juce::AudioBuffer<float> input(2, block), output(2, block);
    input.clear();
    for (int i = 0; i < block; ++i)
        input.setSample(0, i, 0.25f);

    allocations = 0;
    counting = true;
    for (int i = 0; i < blocks; ++i)
        recorder.audioDeviceIOCallbackWithContext(input.getArrayOfReadPointers(), 2, output.getArrayOfWritePointers(),
                                                  2, block, {});
    counting = false;

    EXPECT_EQ(allocations.load(), 0);
    EXPECT_DOUBLE_EQ(recorder.stop(), blocks * block - 100);
    juce::AiffAudioFormat aiff;
    std::unique_ptr<juce::AudioFormatReader> reader(aiff.createReaderFor(take.createInputStream().release(), true));
    ASSERT_NE(reader, nullptr);
    EXPECT_EQ(reader->lengthInSamples, blocks * block - 100);
}
