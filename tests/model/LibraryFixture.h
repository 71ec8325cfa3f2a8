#pragma once

#include "model/TWInstrument.h"

#include <string>

// A library holding folders, sub-folders, cycles with split and merged
// cells, bar marks and one object of every class of older library content.
class LibraryFixture
{
public:
    // `trackOwner` makes it the library of a composition track.
    explicit LibraryFixture(RWCollectable* trackOwner = nullptr);
    TWGMInstrument& Instrument() { return mInstrument; }

private:
    TWGMInstrument mInstrument{ "Tabla" };
};
