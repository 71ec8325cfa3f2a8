#pragma once

#include "model/TWSwar.h"

#include <memory>
#include <vector>

// The 132 canonical notes that every library object shares.
class TWSwarManager
{
public:
    TWSwarManager();

    // Fills the canonical notes; does nothing when they exist.
    void CreateAllNotes();
    // The canonical note, or nil when index >= 132.
    TWSwar* GetNote(unsigned long index) const;
    // The canonical note that stands for `note`, just read from a file whose
    // tag is the current reading version (legacy indexes, before "QN300",
    // count from octave -2 and are shifted by 36). Nil when the index is
    // outside the table: a format error of the file.
    TWSwar* ReplaceByCurrentNote(const TWSwar* note);
    // The note kept in place of which canonical note `index` was handed out
    // (a copy of the first one read), or nil.
    const TWSwar* GetPreviousNote(unsigned long index) const;

private:
    std::vector<std::unique_ptr<TWSwar>> mNotes;
    std::vector<std::unique_ptr<TWSwar>> mPreviousNotes;
};

TWSwarManager* GetSwarManager();

class RWvistream;
// For readers of library objects: when `p` is a note just read, the
// canonical note in its place (a note outside the table marks the stream as
// holding bad data and gives nil); anything else is answered unchanged.
RWCollectable* TWShareNote(RWvistream& s, RWCollectable* p);
