#pragma once
#include <juce_audio_basics/juce_audio_basics.h>

// Reading, measuring and rewriting MIDI loop files. A division (ticks per
// quarter note) of 0 or less, which includes the SMPTE forms, counts as 480
// wherever a file is read; every file written gets its division set first.
namespace NVMidiFiles
{
constexpr int defaultDivision = 480;

// Reads a standard MIDI file; false when it is missing or not a MIDI file.
bool read(const juce::File& file, juce::MidiFile& result);
// The file's division, 480 when the header holds 0, less or an SMPTE form.
int divisionOf(const juce::MidiFile& file);
// Writes `events` as the one track of a type-0 file with `division`
// (480 when 0 or less), replacing the file. End-of-track markers inside the
// events are dropped; the track ends at the latest of them or the last event.
bool writeSingleTrack(const juce::File& file, const juce::MidiMessageSequence& events, int division);

// `ticks` moved to the nearest multiple of ticksPerBeat × 4 / grid; a
// remainder of half a unit or more goes up.
juce::int64 quantizeTime(juce::int64 ticks, int ticksPerBeat, int grid);
// The file's length in beats: its last timestamp over its division; 0 for
// a file that cannot be read.
double getNumBeats(const juce::File& file);
// Merges every track of a multi-track file into one, in track order, with
// note-ons and note-offs paired again. Files with one track or none stay
// as they are, byte for byte. False when the file cannot be read or written.
bool convertToMIDIType0(const juce::File& file);
// Gives a loop file a new length: `factor` times its last timestamp. Notes
// starting before the new end are kept, their note-offs moved to it when they
// fall after it; an all-notes-off on channel 1 marks the end.
bool expandMidiFile(const juce::File& file, double factor);

// The quantization of a loop's first track. The loop lies at `loopStart`
// ticks of the song and lasts `loopLength` ticks; the file lasts `fileLength`
// ticks. Each note is snapped to the song's grid and mapped back into the
// file; notes that land at or past the file's end are dropped with their
// note-offs. Other events are copied; an all-notes-off ends the sequence.
juce::MidiMessageSequence quantizeSequence(const juce::MidiMessageSequence& track, juce::int64 loopStart,
                                           juce::int64 loopLength, juce::int64 fileLength, int grid);
} // namespace NVMidiFiles
