#pragma once
#include "model/TWMIDIFileReader.h"

// Reads MIDI loop files for the model's event generation, with JUCE's MIDI
// file support: the first track's events in file ticks.
class NVMidiLoopReader : public TWMIDIFileReader
{
public:
    bool ReadFirstTrack(const std::string& path, std::vector<TWMIDIFileEvent>& events) override;
};
