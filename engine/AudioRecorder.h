#pragma once
#include <juce_audio_devices/juce_audio_devices.h>
#include <juce_audio_formats/juce_audio_formats.h>

#include <atomic>

// Writes the device input into a file while the song plays: a second audio
// callback beside the engine's. Armed with a file on the message thread, it
// starts writing once the engine's callback sets its active flag, and hands
// each block to a threaded writer whose own thread, "Audio Recorder Thread",
// puts it on disk.
//
// The take is a mono 16-bit AIFF at the device rate holding the first input
// channel. The device callback never allocates, never touches the file and
// never waits: when arming or stopping holds the lock it lets that block go.
class AudioRecorder : public juce::AudioIODeviceCallback
{
public:
    AudioRecorder();
    ~AudioRecorder() override;

    // Stops any take and prepares a new one in `file`: the first `skipSamples`
    // samples after activation are dropped (the latency) and at most
    // `maxSamples` are kept after them (0 keeps everything). The file is deleted
    // first; without a running device (sample rate 0) nothing more is done.
    void armRecording(const juce::File& file, int skipSamples, juce::uint64 maxSamples);
    // Ends the take and closes its file; the recorded length in samples
    // (samples received since arming minus the latency; 0 or less for none).
    double stop();

    // Set by the engine's callback once the play position reaches the recording start.
    void setActive(bool shouldBeActive) { active = shouldBeActive; }
    bool isActive() const { return active.load(); }
    bool isRecording() const { return writer != nullptr; }

    double getSampleRate() const { return sampleRate.load(); }
    // The running device's input plus output latency in samples (0 without a device).
    int getDeviceLatency() const { return deviceLatency.load(); }
    juce::uint64 getReceivedSamples() const { return received.load(); }

    void audioDeviceIOCallbackWithContext(const float* const* inputChannelData, int numInputChannels,
                                          float* const* outputChannelData, int numOutputChannels,
                                          int numSamples,
                                          const juce::AudioIODeviceCallbackContext& context) override;
    void audioDeviceAboutToStart(juce::AudioIODevice* device) override;
    void audioDeviceStopped() override;

private:
    juce::TimeSliceThread thread { "Audio Recorder Thread" };
    std::unique_ptr<juce::AudioFormatWriter::ThreadedWriter> writer; // owned; null when idle
    juce::AudioFormatWriter::ThreadedWriter* activeWriter = nullptr;   // the callback's view of it
    std::atomic<double> sampleRate { 0.0 };
    std::atomic<int> deviceLatency { 0 };
    std::atomic<juce::uint64> received { 0 };
    int skip = 0;
    juce::uint64 maxSamples = 0;
    std::atomic<bool> active { false };
    juce::CriticalSection lock; // the writer the callback sees, the counts and the active flag

    JUCE_DECLARE_NON_COPYABLE(AudioRecorder)
};
