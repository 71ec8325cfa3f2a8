#pragma once
#include <juce_core/juce_core.h>

class NVManager;
class NVSong;

// Song documents: creating a new song and asking before a modified one is discarded.
class NVDocuments
{
public:
    explicit NVDocuments(NVManager& engine) : owner(engine) {}

    // The new song, or the current one when the user cancels.
    NVSong* newSong();
    // False only when the user cancels.
    bool optionallySaveSong();
    // Writing song archives is not available yet: reports failure, writes nothing.
    bool saveCurrentSong(bool saveAs, bool compressed);

private:
    NVManager& owner;
};
