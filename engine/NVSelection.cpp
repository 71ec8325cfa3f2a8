#include "engine/NVSelection.h"

void NVSelection::clear()
{
    selectedTrack = -1;
    loops.clear();
}

int NVSelection::getSelectedTrack(int numTracks)
{
    if (selectedTrack >= numTracks)
        selectedTrack = -1;
    return selectedTrack;
}

void NVSelection::selectTrackOnly(int track)
{
    selectedTrack = track;
    loops.clear();
}

void NVSelection::setSelectedLoop(int track, int loop, bool add)
{
    if (!add)
        loops.clear();
    loops.addIfNotAlreadyThere(code(track, loop));
    selectedTrack = track;
}

void NVSelection::loopWasInserted(int track, int loop, bool select)
{
    for (auto& entry : loops)
        if (entry / trackFactor == track && entry % trackFactor >= loop)
            ++entry;
    if (select)
        setSelectedLoop(track, loop, true);
}

bool NVSelection::loopWasRemoved(int track, int loop)
{
    const bool was = loops.contains(code(track, loop));
    loops.removeFirstMatchingValue(code(track, loop));
    for (auto& entry : loops)
        if (entry / trackFactor == track && entry % trackFactor > loop)
            --entry;
    return was;
}

void NVSelection::trackWasRemoved(int track)
{
    selectedTrack = -1;
    juce::Array<int> kept;
    for (const int entry : loops)
    {
        const int t = entry / trackFactor;
        if (t < track)
            kept.add(entry);
        else if (t > track)
            kept.add(entry - trackFactor);
    }
    loops = kept;
}
