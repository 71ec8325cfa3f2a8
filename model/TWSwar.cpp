#include "model/TWSwar.h"

#include "model/TWClassIDs.h"
#include "model/TWStreamHelpers.h"
#include "persist/RWReadingVersion.h"

RW_DEFINE_COLLECTABLE(TWSwar, TWClassIDs::Swar)

TWSwar::TWSwar(short octave, short position)
    : mKomal(position == 2 || position == 4 || position == 9 || position == 11)
    , mTivra(position == 7)
    , mOctave(octave)
    , mPosition(position)
    , mIndex(static_cast<unsigned long>((octave + 5) * 12 + position - 1))
{
}

bool TWSwar::isEqual(const RWCollectable* other) const
{
    const auto* swar = dynamic_cast<const TWSwar*>(other);
    return swar && swar->mIndex == mIndex;
}

void TWSwar::saveGuts(RWvostream& s) const
{
    s << mIndex << mPosition << mOctave;
    TWStream::WriteFlag(s, mKomal);
    TWStream::WriteFlag(s, mTivra);
}

void TWSwar::restoreGuts(RWvistream& s)
{
    using namespace TWStream;
    if (rwReadingVersionAtLeast("QN300")) {
        Read(s, mIndex);
        Read(s, mPosition);
        Read(s, mOctave);
        ReadFlag(s, mKomal);
        ReadFlag(s, mTivra);
        return;
    }
    ReadRef(s);
    ReadRef(s);
    ReadFlag(s, mKomal);
    Read(s, mIndex);
    ReadRef(s);
    Read(s, mPosition);
    Read(s, mOctave);
    ReadRef(s);
    ReadFlag(s, mTivra);
    ReadRef(s);
    ReadRef(s);
}
