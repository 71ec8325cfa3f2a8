#include "model/TWMIDIPatch.h"

#include "model/TWClassIDs.h"
#include "model/TWStreamHelpers.h"

RW_DEFINE_COLLECTABLE(TWMIDIPatch, TWClassIDs::MIDIPatch)

void TWMIDIPatch::saveGuts(RWvostream& s) const
{
    s << mBank << mSubBank << mSlot;
    mName.recursiveSaveOn(s);
    TWStream::WriteFlag(s, mReservedFlag1);
    s << mNameCopy;
    s << mReservedShort;
    mEngineName.recursiveSaveOn(s);
    s << mReservedInt;
    TWStream::WriteFlag(s, mReservedFlag2);
    TWStream::WriteFlag(s, mDrumKit);
    s << mProgram;
    mPluginFolder.recursiveSaveOn(s);
    mPluginExtension.recursiveSaveOn(s);
    mPhoto.recursiveSaveOn(s);
}

void TWMIDIPatch::restoreGuts(RWvistream& s)
{
    using namespace TWStream;
    Read(s, mBank);
    Read(s, mSubBank);
    Read(s, mSlot);
    ReadMember(s, mName);
    ReadFlag(s, mReservedFlag1);
    RWCString copy;
    s >> copy;
    Read(s, mReservedShort);
    ReadMember(s, mEngineName);
    Read(s, mReservedInt);
    ReadFlag(s, mReservedFlag2);
    ReadFlag(s, mDrumKit);
    Read(s, mProgram);
    ReadMember(s, mPluginFolder);
    ReadMember(s, mPluginExtension);
    ReadMember(s, mPhoto);
    // The plain copy always follows the name.
    mNameCopy = mName;
}
