#include "engine/NVMidiFiles.h"

namespace NVMidiFiles
{
namespace
{
    // Pairs the note-ons and note-offs of a copy of `track`.
    juce::MidiMessageSequence paired(const juce::MidiMessageSequence& track)
    {
        juce::MidiMessageSequence copy(track);
        copy.updateMatchedPairs();
        return copy;
    }

    juce::int64 truncated(double t) { return (juce::int64) t; }
}

bool read(const juce::File& file, juce::MidiFile& result)
{
    result.clear();
    if (!file.existsAsFile())
        return false;
    juce::FileInputStream in(file);
    if (!in.openedOk() || !result.readFrom(in))
    {
        result.clear();
        return false;
    }
    return true;
}

int divisionOf(const juce::MidiFile& file)
{
    const int division = file.getTimeFormat();
    return division > 0 ? division : defaultDivision;
}

bool writeSingleTrack(const juce::File& file, const juce::MidiMessageSequence& events, int division)
{
    juce::MidiMessageSequence track;
    double end = 0.0;
    bool hasEnd = false;
    for (const auto* holder : events)
    {
        if (holder->message.isEndOfTrackMetaEvent())
        {
            end = juce::jmax(end, holder->message.getTimeStamp());
            hasEnd = true;
            continue;
        }
        track.addEvent(holder->message);
    }
    track.updateMatchedPairs();
    if (hasEnd && end >= track.getEndTime())
        track.addEvent(juce::MidiMessage::endOfTrack().withTimeStamp(end));

    juce::MidiFile out;
    out.setTicksPerQuarterNote(division > 0 ? division : defaultDivision);
    out.addTrack(track);

    // Written beside the target first, so a failed write leaves the old file.
    juce::TemporaryFile temp(file);
    {
        juce::FileOutputStream stream(temp.getFile());
        if (!stream.openedOk() || !out.writeTo(stream, 0))
            return false;
        stream.flush();
        if (stream.getStatus().failed())
            return false;
    }
    return temp.overwriteTargetFileWithTemporary();
}

juce::int64 quantizeTime(juce::int64 ticks, int ticksPerBeat, int grid)
{
    if (grid <= 0)
        return ticks;
    const juce::int64 unit = (juce::int64) ticksPerBeat * 4 / grid;
    if (unit <= 0)
        return ticks;
    juce::int64 below = ticks / unit * unit;
    if (below > ticks) // negative positions round towards zero
        below -= unit;
    return ticks - below >= unit / 2 ? below + unit : below;
}

double getNumBeats(const juce::File& file)
{
    juce::MidiFile midi;
    if (!read(file, midi))
        return 0.0;
    return midi.getLastTimestamp() / divisionOf(midi);
}

bool convertToMIDIType0(const juce::File& file)
{
    juce::MidiFile midi;
    if (!read(file, midi))
        return false;
    if (midi.getNumTracks() <= 1)
        return true;
    const double end = midi.getLastTimestamp() + 1.0;
    juce::MidiMessageSequence merged;
    for (int i = 0; i < midi.getNumTracks(); ++i)
        merged.addSequence(*midi.getTrack(i), 0.0, 0.0, end);
    merged.updateMatchedPairs();
    return writeSingleTrack(file, merged, divisionOf(midi));
}

bool expandMidiFile(const juce::File& file, double factor)
{
    juce::MidiFile midi;
    if (!read(file, midi) || midi.getNumTracks() < 1 || factor <= 0.0)
        return false;
    const int division = divisionOf(midi);
    const double cut = factor * midi.getLastTimestamp();
    const auto track = paired(*midi.getTrack(0));

    juce::MidiMessageSequence kept;
    for (const auto* holder : track)
    {
        const auto& message = holder->message;
        // The old end marker gives way to the new one.
        if (message.getTimeStamp() >= cut || message.isNoteOff() || message.isEndOfTrackMetaEvent())
            continue;
        kept.addEvent(message);
        if (message.isNoteOn() && holder->noteOffObject != nullptr)
        {
            auto off = holder->noteOffObject->message;
            if (off.getTimeStamp() > cut)
                off.setTimeStamp(cut);
            kept.addEvent(off);
        }
    }
    kept.addEvent(juce::MidiMessage::allNotesOff(1).withTimeStamp(cut));
    kept.updateMatchedPairs();
    return writeSingleTrack(file, kept, division);
}

juce::MidiMessageSequence quantizeSequence(const juce::MidiMessageSequence& source, juce::int64 loopStart,
                                           juce::int64 loopLength, juce::int64 fileLength, int grid)
{
    juce::MidiMessageSequence result;
    if (loopLength <= 0 || fileLength <= 0)
        return result;
    const auto track = paired(source);
    for (const auto* holder : track)
    {
        const auto& message = holder->message;
        if (message.isNoteOff())
            continue; // moved with its note-on
        if (!message.isNoteOn())
        {
            result.addEvent(message);
            continue;
        }
        const juce::int64 t = truncated(message.getTimeStamp());
        const juce::int64 s = t * loopLength / fileLength;
        const juce::int64 snapped = quantizeTime(s + loopStart, defaultDivision, grid) - loopStart;
        // A loop starting off the grid could snap before its own start.
        const juce::int64 moved = juce::jmax<juce::int64>(0, snapped * fileLength / loopLength);
        if (moved >= fileLength)
            continue;
        result.addEvent(message.withTimeStamp((double) moved));
        if (holder->noteOffObject != nullptr)
        {
            const double shifted = holder->noteOffObject->message.getTimeStamp() + (double) (moved - t);
            result.addEvent(holder->noteOffObject->message.withTimeStamp(juce::jmin(shifted, (double) fileLength)));
        }
    }
    result.addEvent(juce::MidiMessage::allNotesOff(1).withTimeStamp((double) fileLength));
    result.updateMatchedPairs();
    return result;
}
} // namespace NVMidiFiles
