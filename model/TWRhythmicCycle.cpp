#include "model/TWRhythmicCycle.h"

#include "model/TWClassIDs.h"
#include "model/TWStreamHelpers.h"

RW_DEFINE_COLLECTABLE(TWRhythmicCycle, TWClassIDs::RhythmicCycle)
RW_DEFINE_COLLECTABLE(TWRhythmicPattern, TWClassIDs::RhythmicPattern)
RW_DEFINE_COLLECTABLE(TWLoopSequence, TWClassIDs::LoopSequence)

void TWRhythmicCycle::saveGuts(RWvostream& s) const
{
    TWRhythmicSequence::saveGuts(s);
    mBarMarks.recursiveSaveOn(s);
    mCycleFraction.recursiveSaveOn(s);
}

void TWRhythmicCycle::restoreGuts(RWvistream& s)
{
    TWRhythmicSequence::restoreGuts(s);
    TWStream::ReadMember(s, mBarMarks);
    TWStream::ReadMember(s, mCycleFraction);
}

// A member object of unknown class is held by pointer; a missing one is
// written as the nil reference.
void TWLoopSequence::saveGuts(RWvostream& s) const
{
    s << mValues[0] << mValues[1] << mValues[2];
    s << mMembers[0] << mMembers[1];
    s << mValues[3];
}

void TWLoopSequence::restoreGuts(RWvistream& s)
{
    using namespace TWStream;
    Read(s, mValues[0]);
    Read(s, mValues[1]);
    Read(s, mValues[2]);
    mMembers[0] = ReadRef(s);
    mMembers[1] = ReadRef(s);
    Read(s, mValues[3]);
}
