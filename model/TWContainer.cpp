#include "model/TWContainer.h"

#include "model/TWClassIDs.h"
#include "model/TWFactory.h"
#include "model/TWStreamHelpers.h"
#include "persist/RWReadingVersion.h"

RW_DEFINE_COLLECTABLE(TWContainer, TWClassIDs::Container)

void TWContainer::saveGuts(RWvostream& s) const
{
    TWStream::WriteFlag(s, mRhythmic);
    mName.recursiveSaveOn(s);
    mRoots.recursiveSaveOn(s);
    mFolders.recursiveSaveOn(s);
    mItems.recursiveSaveOn(s);
    s << mDefaultStroke;
    mExtra.recursiveSaveOn(s);
}

void TWContainer::restoreGuts(RWvistream& s)
{
    using namespace TWStream;
    const RWCString tag = mFactory ? RWCString(mFactory->GetVersionTag()) : rwGetReadingVersion();
    if (tag.compareTo("3.0") <= 0) {
        RestoreOldestLayout(s);
        return;
    }
    ReadFlag(s, mRhythmic);
    ReadMember(s, mName);
    ReadMember(s, mRoots);
    ReadMember(s, mFolders);
    ReadMember(s, mItems);
    mDefaultStroke = ReadRef(s);
    ReadMember(s, mExtra);
}

void TWContainer::RestoreOldestLayout(RWvistream& s)
{
    using namespace TWStream;
    int i = 0;
    unsigned long u = 0;
    ReadRef(s);
    s >> i >> i;
    ReadMember(s, mName);
    s >> u;
    for (int font = 0; font < 4; ++font)
        ReadRef(s);
    ReadRef(s);
    ReadMember(s, mRoots);
    ReadMember(s, mFolders);
    ReadMember(s, mItems);
    mDefaultStroke = ReadRef(s);
    ReadRef(s);
    ReadRef(s);
    s >> u >> u;
    ReadRef(s);
    ReadRef(s);
    ReadRef(s);
    s >> u;
    s >> i >> i >> i;
}
