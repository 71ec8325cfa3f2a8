#pragma once
#include <juce_core/juce_core.h>

// The selected track and loops. A selected loop is kept as
// track × 10000 + loop number, and the list follows loops and tracks as
// they are inserted and removed.
class NVSelection
{
public:
    static constexpr int trackFactor = 10000;

    void clear();
    // The selected track, or -1; reset to -1 when it is not below `numTracks`.
    int getSelectedTrack(int numTracks);
    int peekSelectedTrack() const { return selectedTrack; }
    void setSelectedTrack(int track) { selectedTrack = track; }
    // Clicking a track row: it becomes the selected track and no loop stays selected.
    void selectTrackOnly(int track);

    void setSelectedLoop(int track, int loop, bool add);
    bool isLoopSelected(int track, int loop) const { return loops.contains(code(track, loop)); }
    void loopWasInserted(int track, int loop, bool select);
    // Whether the loop was selected.
    bool loopWasRemoved(int track, int loop);
    void trackWasRemoved(int track);
    const juce::Array<int>& getSelectedLoops() const { return loops; }
    void clearLoops() { loops.clear(); }

    static int code(int track, int loop) { return track * trackFactor + loop; }

private:
    int selectedTrack = -1;
    juce::Array<int> loops;
};
