#include "model/TWSpecificSequence.h"

#include "model/TWClassIDs.h"
#include "model/TWFactory.h"
#include "model/TWStreamHelpers.h"
#include "persist/RWReadingVersion.h"

RW_DEFINE_COLLECTABLE(TWSpecificSequence, TWClassIDs::SpecificSequence)

void TWSpecificSequence::saveGuts(RWvostream& s) const
{
    s << mName << mLeft << mRight << mFirst << mSecond << mMultiStroke;
    TWStream::WriteFlag(s, mFlag);
    for (int value : mValues)
        s << value;
    mText.recursiveSaveOn(s);
}

void TWSpecificSequence::restoreGuts(RWvistream& s)
{
    using namespace TWStream;
    mName = ReadRef(s);
    if (auto* name = dynamic_cast<RWCollectableString*>(mName))
        if (TWFactory* factory = TWFactory::GetReadingFactory())
            factory->GetSymbolManager().AddSymbolRef(5, name);
    mLeft = ReadRef(s);
    mRight = ReadRef(s);
    if (!rwReadingVersionAtLeast("QN300")) {
        unsigned long value = 0;
        Read(s, mLegacyInts[0]);
        Read(s, value);
        mFirst = static_cast<int>(value);
        Read(s, mLegacyInts[1]);
        Read(s, value);
        mSecond = static_cast<int>(value);
        mMultiStroke = ReadRef(s);
        return;
    }
    Read(s, mFirst);
    Read(s, mSecond);
    mMultiStroke = ReadRef(s);
    ReadFlag(s, mFlag);
    Read(s, mValues[0]);
    Read(s, mValues[1]);
    if (rwReadingVersionAtLeast("QN308")) {
        Read(s, mValues[2]);
        Read(s, mValues[3]);
    }
    if (rwReadingVersionAtLeast("QN310"))
        ReadMember(s, mText);
}
