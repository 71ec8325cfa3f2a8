#include "model/TWInstrumentAlias.h"

#include "model/TWClassIDs.h"
#include "model/TWStreamHelpers.h"

RW_DEFINE_COLLECTABLE(TWInstrumentAlias, TWClassIDs::InstrumentAlias)

void TWInstrumentAlias::saveGuts(RWvostream& s) const
{
    mInstrumentName.recursiveSaveOn(s);
    mFamily.recursiveSaveOn(s);
    mAliasName.recursiveSaveOn(s);
    TWStream::WriteFlag(s, mFirst);
    TWStream::WriteFlag(s, mSecond);
}

void TWInstrumentAlias::restoreGuts(RWvistream& s)
{
    using namespace TWStream;
    ReadMember(s, mInstrumentName);
    ReadMember(s, mFamily);
    ReadMember(s, mAliasName);
    ReadFlag(s, mFirst);
    ReadFlag(s, mSecond);
}
