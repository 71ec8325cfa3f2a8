#pragma once
#include <juce_core/juce_core.h>

class TWRhythmicSequence;

// A loop laid on a track: the library sequence it plays (not owned), its name
// and its bounds in quarter beats (end exclusive).
struct NVLoop
{
    NVLoop(TWRhythmicSequence* seq, const juce::String& loopName, int startQ, int endQ)
        : sequence(seq), name(loopName), start(startQ), end(endQ) {}

    bool contains(int q) const { return start <= q && q < end; }

    TWRhythmicSequence* sequence = nullptr;
    juce::String name;
    int start = 0;
    int end = 0;
};
