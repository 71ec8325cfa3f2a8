#pragma once
#include <juce_audio_basics/juce_audio_basics.h>

// Where the engine shows a loop for editing. The GUI opens its loop editor
// and audio editor in modal windows; each returns when its window closes and
// hands an accepted edit back through the engine's setLoopEvents or
// setLoopBuffer.
class NVLoopEditorHost
{
public:
    virtual ~NVLoopEditorHost() = default;

    // `events` is the loop file's first track; start and end in quarter beats.
    virtual void editMidiLoop(const juce::String& title, int track, int loop, int start, int end,
                              const juce::MidiMessageSequence& events, int ticksPerQuarterNote) = 0;
    // `samples` is the engine's copy of the loop's clip, the editor's to change.
    virtual void editAudioLoop(const juce::String& title, int track, int loop, int start, int end,
                               juce::AudioBuffer<float>& samples) = 0;
};
