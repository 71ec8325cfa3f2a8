#pragma once
#include "engine/NVTrack.h"

#include <juce_audio_formats/juce_audio_formats.h>

// A track of audio clips. Clips with the same file share one reader and one
// copy of the file's samples in memory, which playback reads from, so neither
// playing nor recording ever waits on the disk.
class NVAudioTrack : public NVTrack
{
public:
    struct Clip
    {
        juce::uint64 start = 0; // samples
        juce::uint64 end = 0;   // samples, exclusive
        juce::AudioFormatReader* reader = nullptr; // shared; null when the file can't be read
        juce::String path;
        const juce::AudioBuffer<float>* samples = nullptr; // the whole file in memory, shared like the reader
    };

    explicit NVAudioTrack(int trackIndex = 0) : NVTrack(trackIndex) {}
    ~NVAudioTrack() override;

    bool isAudioTrack() const override { return true; }
    void clearEvents() override;
    // Adds the one clip under the block's first sample to the start of the
    // buffer, then runs the effects and applies volume and pan. Reads memory only.
    void processSlice(juce::int64 fromTick, juce::int64 toTick,
                      juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi) override;
    // The play position, in samples, of the block processSlice renders next.
    void setRenderPosition(juce::uint64 samples) { renderPosition = samples; }

    void addAudioFile(juce::uint64 start, juce::uint64 end, const juce::String& path);
    bool AddAudioLoop(std::uint64_t start, std::uint64_t end, const std::string& path) override;
    void clearAudioFiles();
    int getNumClips() const { return (int) clips.size(); }
    const Clip& getClip(int i) const { return clips[(size_t) i]; }
    int getNumReaders() const { return readers.size(); }

    // The whole track as two channels, each clip read from the start of its file
    // at its own start sample; null without clips.
    std::unique_ptr<juce::AudioBuffer<float>> getSamples() const;
    // Clip i from the start of its file, end - start samples, with the reader's
    // channel count; null when i is out of range or the file can't be read.
    std::unique_ptr<juce::AudioBuffer<float>> getSamples(int i) const;

private:
    void openFile(Clip& clip);

    std::vector<Clip> clips;
    juce::OwnedArray<juce::AudioFormatReader> readers;
    juce::OwnedArray<juce::AudioBuffer<float>> fileSamples; // one per reader
    juce::uint64 renderPosition = 0;
};
