#include "engine/AudioRecorder.h"

AudioRecorder::AudioRecorder()
{
    thread.startThread();
}

AudioRecorder::~AudioRecorder()
{
    stop();
    thread.stopThread(2000);
}

void AudioRecorder::armRecording(const juce::File& file, int skipSamples, juce::uint64 maximum)
{
    stop();
    {
        const juce::ScopedLock sl(lock);
        received = 0;
        skip = juce::jmax(0, skipSamples);
        maxSamples = maximum;
    }
    // A take left from before must not pass for this one, even when nothing can be recorded.
    file.deleteFile();
    const double rate = sampleRate.load();
    if (rate <= 0.0)
        return;

    auto stream = std::make_unique<juce::FileOutputStream>(file, 32768);
    if (!stream->openedOk())
        return;
    std::unique_ptr<juce::AudioFormatWriter> fileWriter(
        juce::AiffAudioFormat().createWriterFor(stream.get(), rate, 1, 16, {}, 0));
    if (fileWriter == nullptr)
        return;
    stream.release(); // the file writer owns it now

    auto threaded = std::make_unique<juce::AudioFormatWriter::ThreadedWriter>(fileWriter.release(), thread, 32768);
    const juce::ScopedLock sl(lock);
    writer = std::move(threaded);
    activeWriter = writer.get();
}

double AudioRecorder::stop()
{
    std::unique_ptr<juce::AudioFormatWriter::ThreadedWriter> finished;
    double length = 0.0;
    {
        const juce::ScopedLock sl(lock);
        activeWriter = nullptr;
        active = false;
        finished = std::move(writer);
        length = (double) received.load() - (double) skip;
        if (maxSamples > 0)
            length = juce::jmin(length, (double) maxSamples);
    }
    finished.reset(); // writes what is left in its buffer and closes the file
    return length;
}

void AudioRecorder::audioDeviceIOCallbackWithContext(const float* const* inputChannelData, int numInputChannels,
                                                     float* const* outputChannelData, int numOutputChannels,
                                                     int numSamples, const juce::AudioIODeviceCallbackContext&)
{
    {
        // Arming and stopping hold the lock only to swap a pointer; the block
        // that meets them is let go rather than waited for.
        const juce::ScopedTryLock sl(lock);
        if (sl.isLocked() && active.load() && numSamples > 0)
        {
            const auto from = received.load();
            const auto to = from + (juce::uint64) numSamples;
            // The part of the block past the latency and within the maximum length.
            const auto keepFrom = (juce::uint64) skip;
            const auto keepTo = maxSamples > 0 ? keepFrom + maxSamples : to;
            const auto first = juce::jmax(from, keepFrom);
            const auto last = juce::jmin(to, keepTo);
            if (activeWriter != nullptr && first < last)
            {
                const int offset = (int) (first - from);
                const int count = (int) (last - first);
                if (numInputChannels > 0 && inputChannelData[0] != nullptr)
                {
                    const float* channel[1] = { inputChannelData[0] + offset }; // the take is mono
                    activeWriter->write(channel, count);
                }
                else
                {
                    static const float silence[1024] {};
                    for (int done = 0; done < count; done += 1024)
                    {
                        const float* channel[1] = { silence };
                        activeWriter->write(channel, juce::jmin(1024, count - done));
                    }
                }
            }
            received = to;
        }
    }

    for (int c = 0; c < numOutputChannels; ++c)
        if (outputChannelData[c] != nullptr)
            juce::FloatVectorOperations::clear(outputChannelData[c], numSamples);
}

void AudioRecorder::audioDeviceAboutToStart(juce::AudioIODevice* device)
{
    if (device == nullptr)
        return;
    sampleRate = device->getCurrentSampleRate();
    deviceLatency = juce::jmax(0, device->getInputLatencyInSamples() + device->getOutputLatencyInSamples());
}

void AudioRecorder::audioDeviceStopped()
{
    sampleRate = 0.0;
    deviceLatency = 0;
}
