#pragma once
#include <juce_core/juce_core.h>

class NVManager;

// Arrangement edits: dropping files on tracks, moving, resizing, deleting and
// renaming loops, appending tracks. Each edit is one transaction of undoable
// actions on the engine's undo manager.
class NVEditing
{
public:
    explicit NVEditing(NVManager& engine) : owner(engine) {}

    // Whether the file suits the track: ".mid" for instrument tracks; ".wav",
    // ".aif" or ".aiff" for audio tracks, readable, at most two channels and
    // at the device's sample rate.
    bool canDragToTrack(int track, int x, const juce::String& path) const;
    // Puts a file on a track as a new loop at pixel x (`length` in quarter
    // beats, 0 to estimate it); true when a loop was added.
    bool dragFileToTrack(int track, int x, const juce::String& path, const juce::String& name, int length,
                         bool refresh, bool findFreePlace);
    void moveLoop(int track, int loop, int x);
    void resizeLoop(int track, int loop, int width, bool keepContent);
    void deleteLoop(int track, int loop);
    void deleteSelectedLoops();
    void renameLoop(int track, int loop, const juce::String& name);
    int appendTrack(const juce::String& instrumentName);

private:
    // The answer of the "Insufficient space" question.
    enum class Fit { cancel, resize, shift };
    Fit askForSpace();

    NVManager& owner;
};
