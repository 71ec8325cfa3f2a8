#pragma once
#include "engine/NVSong.h"
#include "sound/NVInstrument.h"

#include <memory>

// A playing song for tests and benchmarks: a soundtrack on track 0, a voice
// track with two takes, and four instrument tracks (two kits, two melodic
// engines of our own) with a note on every beat for 64 beats.
struct NVDemoSong
{
    // Writes the audio files into `folder` and builds the song, prepared to play.
    NVDemoSong(const juce::File& folder, double sampleRate, int blockSize);

    std::unique_ptr<NVSong> song;
    NVInstrument kit;
    NVInstrument keys;
    bool valid = false; // the audio files could be written
};
