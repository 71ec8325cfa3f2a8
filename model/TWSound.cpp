#include "model/TWSound.h"

#include "model/TWClassIDs.h"
#include "model/TWInstrumentPart.h"
#include "model/TWObjectArena.h"
#include "model/TWStreamHelpers.h"
#include "model/TWSwarManager.h"
#include "persist/RWCollection.h"

RW_DEFINE_COLLECTABLE(TWSound, TWClassIDs::Sound)
RW_DEFINE_COLLECTABLE(TWInstrumentSound, TWClassIDs::InstrumentSound)

RWCString TWSound::GetName() const
{
    const auto* name = dynamic_cast<const RWCollectableString*>(mMembers[0]);
    return name ? RWCString(*name) : RWCString();
}

TWSound* TWSound::DetachedCopy(TWObjectArena& arena) const
{
    auto* sound = arena.Adopt(new TWSound);
    for (int i = 0; i < kMemberCount; ++i)
        if (mMembers[i] && !dynamic_cast<const RWCollection*>(mMembers[i]))
            sound->mMembers[i] = arena.Adopt(mMembers[i]->copy());
    return sound;
}

void TWSound::saveGuts(RWvostream& s) const
{
    for (const RWCollectable* member : mMembers)
        s << member;
    mList.recursiveSaveOn(s);
    s << mReference;
}

void TWSound::restoreGuts(RWvistream& s)
{
    for (RWCollectable*& member : mMembers)
        member = TWStream::ReadRef(s);
    TWStream::ReadMember(s, mList);
    mReference = TWStream::ReadRef(s);
}

TWInstrumentPart* TWInstrumentSound::GetPart() const
{
    return dynamic_cast<TWInstrumentPart*>(mPart);
}

void TWInstrumentSound::saveGuts(RWvostream& s) const
{
    mName.recursiveSaveOn(s);
    s << mNotes[0] << mNotes[1] << mPart << mValue;
}

void TWInstrumentSound::restoreGuts(RWvistream& s)
{
    using namespace TWStream;
    ReadMember(s, mName);
    mNotes[0] = TWShareNote(s, ReadRef(s));
    mNotes[1] = TWShareNote(s, ReadRef(s));
    mPart = ReadRef(s);
    Read(s, mValue);
}
