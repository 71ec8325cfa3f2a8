#pragma once
#include <juce_audio_formats/juce_audio_formats.h>

class NVLoopEditorHost;
class NVManager;

// The engine's work on the files loops play: measuring them, quantizing MIDI
// loops, opening loops in an editor and taking edits back. A loop's file is
// never changed in place by an undoable edit: the new content goes to a fresh
// file in the song temp folder and the loop is switched to it.
class NVLoopContent
{
public:
    explicit NVLoopContent(NVManager& engine) : owner(engine) {}

    // A reader for an audio loop file: WAV for names ending in ".wav" (any
    // case), AIFF otherwise; null when it cannot be read.
    static std::unique_ptr<juce::AudioFormatReader> openAudioFile(const juce::File& file);
    // The length of an audio file in samples; 0 when it cannot be read.
    static juce::int64 getFileNumSamples(const juce::File& file);
    // The length of a file in quarter beats, for placing it on a track; at least 4.
    int getSignaturesEstimate(const juce::String& path) const;

    // The loop's own file (not its quantized twin); "" when there is none.
    juce::String getLoopFilePath(int track, int loop) const;
    // The file the loop plays: its quantized twin when there is one.
    juce::String getLoopPlayingPath(int track, int loop) const;

    bool quantizeLoop(int track, int loop);
    bool unquantizeLoop(int track, int loop);
    bool applyQuantization(int track, int loop);
    bool isLoopQuantized(int track, int loop) const;

    // Opens the loop in the external tool named by the settings, or in the
    // editor host; true when a MIDI loop was shown or a tool was started.
    bool editLoop(int track, int loop);
    void setEditorHost(NVLoopEditorHost* host) { editorHost = host; }

    // Take back an edit as a new file through an undoable action; false when
    // the user cancels or the file cannot be written.
    bool setLoopEvents(int track, int loop, const juce::MidiMessageSequence& events, int ticksPerQuarterNote);
    bool setLoopBuffer(int track, int loop, const juce::AudioBuffer<float>& buffer);

private:
    bool startExternalTool(const juce::String& tool, const juce::String& path, const juce::String& missingText);
    // Asks whether every loop sharing the playing path changes too: 1 yes, 0 no, -1 cancel.
    int askUpdateAll(int track, int loop);
    bool replaceLoopFile(int track, int loop, const juce::String& fileName, bool updateAll);

    NVManager& owner;
    NVLoopEditorHost* editorHost = nullptr;
    juce::OwnedArray<juce::ChildProcess> tools;
};
