#pragma once
#include <juce_core/juce_core.h>

class NVManager;

// Audio file work for recording and new songs: merging a take with the loop
// it was recorded over, and turning an MP3 soundtrack into a WAV file.
class NVAudioFiles
{
public:
    explicit NVAudioFiles(NVManager& engine) : owner(engine) {}

    // Merges two audio files (WAV when the name ends in ".wav", AIFF otherwise)
    // into a new 16-bit AIFF in the song temp folder, under the next free
    // ".aif" loop file name, and answers its full path ("" when either file
    // can't be read or the result can't be written). The result has as many
    // channels as the wider file; a channel one file lacks is its channel 0.
    // Without appendTail: the base, with the other written over it from sample
    // `offset` on (max(base, offset + other) long). With appendTail: the whole
    // base followed by the other from its sample `offset` to its end.
    // Written at the device rate, or the base file's rate without a device.
    juce::String mergeAudioFile(const juce::String& basePath, const juce::String& otherPath,
                                juce::int64 offset, bool appendTail);

    // Decodes an MP3 file into a new temporary WAV file of the system (16 bits,
    // the MP3's channels, at the device rate, or the MP3's own rate without a
    // device), showing progress meanwhile; its path, or "" when the file can't be decoded.
    juce::String uncompressMP3(const juce::String& path);

private:
    NVManager& owner;
};
