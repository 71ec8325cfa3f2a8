#include "model/TWInstrumentPart.h"

#include "model/TWClassIDs.h"
#include "model/TWStreamHelpers.h"
#include "persist/RWReadingVersion.h"

RW_DEFINE_COLLECTABLE(TWInstrumentPart, TWClassIDs::InstrumentPart)

void TWInstrumentPart::saveGuts(RWvostream& s) const
{
    mName.recursiveSaveOn(s);
    s << mShorts[0] << mShorts[1] << mShorts[2];
    mSounds.recursiveSaveOn(s);
    s << mValues[0] << mValues[1] << mValues[2];
    TWStream::WriteFlag(s, mFlag);
    s << mLinked;
    for (int value : mNewerInts)
        s << value;
}

void TWInstrumentPart::restoreGuts(RWvistream& s)
{
    using namespace TWStream;
    ReadMember(s, mName);
    for (short& value : mShorts)
        Read(s, value);
    ReadMember(s, mSounds);
    for (unsigned long& value : mValues)
        Read(s, value);
    ReadFlag(s, mFlag);
    mLinked = ReadRef(s);
    if (rwReadingVersionAtLeast("QN306"))
        for (int& value : mNewerInts)
            Read(s, value);
}
