#pragma once

class TWRhythmicSequence;

// One loop instance placed on a track, as handed to the engine: the loop
// item and its start and end in grid units of 1 / track factor beats
// (quarter beats on the engine's tracks). Not saved.
struct TWTrackItem
{
    TWRhythmicSequence* item = nullptr;
    int start = 0;
    int end = 0;
};
