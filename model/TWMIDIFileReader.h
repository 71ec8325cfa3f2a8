#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Reads loop files for event generation. The model parses no MIDI itself: the
// engine registers a reader (built on its MIDI file support) at start-up.
struct TWMIDIFileEvent
{
    long long tick = 0;               // in the file's ticks
    std::vector<std::uint8_t> bytes;  // the whole message, meta events included
};

class TWMIDIFileReader
{
public:
    virtual ~TWMIDIFileReader() = default;
    // The events of the file's first track in order, its end-of-track event
    // included. False when the file is not a MIDI file or has no track.
    virtual bool ReadFirstTrack(const std::string& path, std::vector<TWMIDIFileEvent>& events) = 0;
};

// The reader event generation uses (not owned); null reads nothing.
void TWSetMIDIFileReader(TWMIDIFileReader* reader);
TWMIDIFileReader* TWGetMIDIFileReader();
