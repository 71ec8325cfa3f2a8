#include "model/TWEffect.h"

#include "model/TWClassIDs.h"
#include "model/TWStreamHelpers.h"

RW_DEFINE_COLLECTABLE(TWEffect, TWClassIDs::Effect)

void TWEffect::saveGuts(RWvostream& s) const
{
    mName.recursiveSaveOn(s);
    mState.recursiveSaveOn(s);
}

void TWEffect::restoreGuts(RWvistream& s)
{
    TWStream::ReadMember(s, mName);
    TWStream::ReadMember(s, mState);
}
