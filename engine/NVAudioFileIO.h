#pragma once
#include <juce_audio_formats/juce_audio_formats.h>

// Reading and writing whole audio files. Loop files are read with a WAV
// reader when their name ends in ".wav" (any case) and an AIFF reader otherwise.
namespace NVAudioFileIO
{
// A reader for the file in `format`; null when it can't be opened.
std::unique_ptr<juce::AudioFormatReader> openReader(const juce::File& file, juce::AudioFormat& format);
// A reader for a loop file (WAV or AIFF by its name); null when it can't be opened.
std::unique_ptr<juce::AudioFormatReader> openLoopFile(const juce::File& file);
// The whole file in `buffer` (and its rate in `sampleRate` when given); false
// when it can't be read, has no channel or is too long for one buffer.
bool readWhole(const juce::File& file, juce::AudioFormat& format, juce::AudioBuffer<float>& buffer,
               double* sampleRate = nullptr);
bool readLoopFile(const juce::File& file, juce::AudioBuffer<float>& buffer, double* sampleRate = nullptr);
// Writes `buffer` as 16-bit samples with no metadata in blocks of 1024,
// replacing the file; a file that could not be written in full is removed.
bool writeWhole(const juce::File& file, juce::AudioFormat& format, const juce::AudioBuffer<float>& buffer,
                double sampleRate, int qualityIndex = 0);
} // namespace NVAudioFileIO
