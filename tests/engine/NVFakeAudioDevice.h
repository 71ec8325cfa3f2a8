#pragma once
#include <juce_audio_devices/juce_audio_devices.h>

// An audio device for tests that never runs: it only answers what a callback
// asks when the device starts (rate, block size, latencies).
class NVFakeAudioDevice : public juce::AudioIODevice
{
public:
    NVFakeAudioDevice(double rate, int block, int inputLatency = 0, int outputLatency = 0)
        : juce::AudioIODevice("Fake", "Test"), sampleRate(rate), blockSize(block),
          inLatency(inputLatency), outLatency(outputLatency)
    {
    }

    juce::StringArray getOutputChannelNames() override { return { "L", "R" }; }
    juce::StringArray getInputChannelNames() override { return { "L", "R" }; }
    juce::Array<double> getAvailableSampleRates() override { return { sampleRate }; }
    juce::Array<int> getAvailableBufferSizes() override { return { blockSize }; }
    int getDefaultBufferSize() override { return blockSize; }
    juce::String open(const juce::BigInteger&, const juce::BigInteger&, double, int) override { return {}; }
    void close() override {}
    bool isOpen() override { return true; }
    void start(juce::AudioIODeviceCallback*) override {}
    void stop() override {}
    bool isPlaying() override { return false; }
    juce::String getLastError() override { return {}; }
    int getCurrentBufferSizeSamples() override { return blockSize; }
    double getCurrentSampleRate() override { return sampleRate; }
    int getCurrentBitDepth() override { return 16; }
    juce::BigInteger getActiveOutputChannels() const override { return 3; }
    juce::BigInteger getActiveInputChannels() const override { return 3; }
    int getOutputLatencyInSamples() override { return outLatency; }
    int getInputLatencyInSamples() override { return inLatency; }

private:
    double sampleRate;
    int blockSize;
    int inLatency;
    int outLatency;
};
