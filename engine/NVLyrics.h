#pragma once
#include <juce_core/juce_core.h>

// One word or syllable of a lyrics set, timed in beats at the lyrics tempo.
struct NVLyricsItem
{
    juce::String text;
    bool spaceAfter = true;
    bool lineEnd = false;
    double position = 1.0;
    int line = 1;
};

// One set of timed lyrics of a song.
class NVLyrics
{
public:
    juce::String name;
    juce::OwnedArray<NVLyricsItem> items;
};
