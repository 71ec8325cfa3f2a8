#include "model/TWLibraryContent.h"

#include "model/TWClassIDs.h"
#include "model/TWStreamHelpers.h"
#include "model/TWSwarManager.h"

#include <vector>
#include "persist/RWCollectableInt.h"

RW_DEFINE_COLLECTABLE(TWDeltaPitch, TWClassIDs::DeltaPitch)
RW_DEFINE_COLLECTABLE(TWSequencedPoint, TWClassIDs::SequencedPoint)
RW_DEFINE_COLLECTABLE(TWStrokeSign, TWClassIDs::StrokeSign)
RW_DEFINE_COLLECTABLE(TWRaagProperties, TWClassIDs::RaagProperties)
RW_DEFINE_COLLECTABLE(TWFont, TWClassIDs::Font)
RW_DEFINE_COLLECTABLE(TWPen, TWClassIDs::Pen)
RW_DEFINE_COLLECTABLE(TWPixel, TWClassIDs::Pixel)

using namespace TWStream;

void TWDeltaPitch::saveGuts(RWvostream& s) const
{
    s << mReference << mValue;
}

void TWDeltaPitch::restoreGuts(RWvistream& s)
{
    mReference = ReadRef(s);
    Read(s, mValue);
}

void TWSequencedPoint::saveGuts(RWvostream& s) const
{
    s << mValues[0] << mValues[1] << mValues[2];
}

void TWSequencedPoint::restoreGuts(RWvistream& s)
{
    for (int& value : mValues)
        Read(s, value);
}

void TWStrokeSign::saveGuts(RWvostream& s) const
{
    s << mKind;
    // Its own object every time: two signs must never share one number.
    RWCollectableInt(mValue).saveAsNewObject(s);
}

void TWStrokeSign::restoreGuts(RWvistream& s)
{
    Read(s, mKind);
    if (const auto* value = dynamic_cast<const RWCollectableInt*>(ReadRef(s)))
        mValue = value->value();
}

void TWRaagProperties::saveGuts(RWvostream& s) const
{
    s << mJati;
    mName.recursiveSaveOn(s);
    s << mVadi << mThaat << mTime << mSamvadi;
    mAscending.recursiveSaveOn(s);
    mDescending.recursiveSaveOn(s);
    for (bool flag : mFlags)
        WriteFlag(s, flag);
}

void TWRaagProperties::restoreGuts(RWvistream& s)
{
    Read(s, mJati);
    ReadMember(s, mName);
    mVadi = TWShareNote(s, ReadRef(s));
    Read(s, mThaat);
    Read(s, mTime);
    mSamvadi = TWShareNote(s, ReadRef(s));
    ReadMember(s, mAscending);
    ReadMember(s, mDescending);
    for (RWOrdered* list : { &mAscending, &mDescending }) {
        std::vector<RWCollectable*> notes(list->begin(), list->end());
        list->clear();
        for (RWCollectable* p : notes)
            if (RWCollectable* note = TWShareNote(s, p))
                list->insert(note);
    }
    for (bool& flag : mFlags)
        ReadFlag(s, flag);
}

void TWFont::saveGuts(RWvostream& s) const
{
    for (int i = 0; i < 5; ++i)
        s << mMembers[i];
    for (bool flag : mFlags)
        WriteFlag(s, flag);
    for (int i = 5; i < 12; ++i)
        s << mMembers[i];
}

void TWFont::restoreGuts(RWvistream& s)
{
    for (int i = 0; i < 5; ++i)
        mMembers[i] = ReadRef(s);
    for (bool& flag : mFlags)
        ReadFlag(s, flag);
    for (int i = 5; i < 12; ++i)
        mMembers[i] = ReadRef(s);
}

void TWPen::saveGuts(RWvostream& s) const
{
    s << mMembers[0];
    WriteFlag(s, mFlag);
    s << mMembers[1];
}

void TWPen::restoreGuts(RWvistream& s)
{
    mMembers[0] = ReadRef(s);
    ReadFlag(s, mFlag);
    mMembers[1] = ReadRef(s);
}

void TWPixel::saveGuts(RWvostream& s) const
{
    WriteFlag(s, mFlag);
}

void TWPixel::restoreGuts(RWvistream& s)
{
    ReadFlag(s, mFlag);
}
