#pragma once
#include <juce_core/juce_core.h>

class AudioRecorder;
class NVManager;

// Arming and stopping voice takes: where a take starts (the cursor, or the
// sixteenth before it when no loop lies under it), how much of the device
// input is latency, how long the take may grow, and the recording range that
// the arrangement view drags.
//
// The take is written to "audio_input.aif" in the song temp folder; when it
// stops, it becomes a loop of the track, or is merged with the loops it was
// recorded over, in one undoable step.
class NVRecording
{
public:
    NVRecording(NVManager& engine, AudioRecorder& recorder);

    // With a track index of 0 or more, arms recording on that track and moves
    // the play cursor to the take's start; with -1, stops the recorder and
    // deletes a take that recorded nothing.
    void setRecordingAudioTrack(int track);

    // The start tick of the armed take (at least 0), or -1 when no track is armed;
    // the same in pixels of the arrangement view.
    juce::int64 getRecordingStartPosition() const;
    int getRecordingStartX() const;

    // The recording start and stop ticks set from, and shown as, pixels. A stop
    // below 1 tick means the take has no set end.
    void setLoopRangeStartX(int x);
    void setLoopRangeEndX(int x);
    int getLoopRangeStartX() const;
    int getLoopRangeEndX() const;

    // Turns the finished take into a loop of the track: a new loop "New
    // recording" where the range is free, else one loop made of the loops it
    // overlaps with the take written over them. With `ask`, only when the user
    // says Yes to "Save recording". True when the song changed.
    bool saveAudioRecording(int track, bool ask);
    // The stop command while a track is armed: playback stops, the recorder
    // stops and the take is kept as a loop (without asking).
    bool stopRecording();

    juce::int64 getRecordingStartTick() const;
    juce::int64 getRecordingStopTick() const;
    // The take in progress: temp folder + separator + "audio_input.aif".
    juce::File getTakeFile() const;
    // The length the recorder reported when the last take stopped, in samples.
    double getLastTakeLength() const { return lastTakeLength; }

private:
    // Replaces loops first..last with one loop holding the take written over them.
    bool recordOver(int track, int first, int last, int f, int g);

    NVManager& owner;
    AudioRecorder& recorder;
    double lastTakeLength = 0.0;
};
