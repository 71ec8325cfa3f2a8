#include "model/TWLoopRange.h"

#include "model/TWClassIDs.h"
#include "model/TWComposition.h"
#include "model/TWStreamHelpers.h"

RW_DEFINE_COLLECTABLE(TWLoopRange, TWClassIDs::LoopRange)

TWLoopRange::TWLoopRange(unsigned long start, unsigned long end, unsigned long repeats, TWComposition* composition)
    : mStart(start), mEnd(end), mRepeats(repeats), mComposition(composition), mInitialStart(start), mInitialEnd(end)
{
}

TWComposition* TWLoopRange::GetComposition() const
{
    return dynamic_cast<TWComposition*>(mComposition);
}

void TWLoopRange::SetComposition(TWComposition* composition)
{
    mComposition = composition;
}

double TWLoopRange::GetDuration() const
{
    return (static_cast<double>(mEnd) - static_cast<double>(mStart)) / 480.0;
}

unsigned long TWLoopRange::InLoop(unsigned long tick)
{
    if (tick != mEnd || mPlayed >= mRepeats)
        return tick;
    ++mPlayed;
    if (TWComposition* composition = GetComposition()) {
        const long long increase = composition->GetIncreaseBy();
        const long long period = 4LL * (static_cast<long long>(composition->GetCyclesPerIncrease()) + 1);
        if (increase > 0 && period > 0 && mPlayed % static_cast<unsigned long long>(period) == 0) {
            const LMFraction raised = composition->GetTempo() * LMFraction(increase + 100, 100);
            composition->SetTempo(LMFraction(raised.numerator() / static_cast<long long>(raised.denominator())));
        }
    }
    return mStart;
}

void TWLoopRange::saveGuts(RWvostream& s) const
{
    s << mFirstInt;
    mName.recursiveSaveOn(s);
    s << mComposition;
    s << mPlayed;
    s << mSecondInt;
    s << static_cast<unsigned long>(mStart + kFileOffset);
    s << mFlag;
    s << mRepeats;
    s << static_cast<unsigned long>(mEnd + kFileOffset);
}

void TWLoopRange::restoreGuts(RWvistream& s)
{
    using namespace TWStream;
    Read(s, mFirstInt);
    ReadMember(s, mName);
    mComposition = ReadRef(s);
    Read(s, mPlayed);
    Read(s, mSecondInt);
    unsigned long start = mStart + kFileOffset;
    unsigned long end = mEnd + kFileOffset;
    Read(s, start);
    char flag = static_cast<char>(mFlag); // one escaped character
    Read(s, flag);
    mFlag = static_cast<unsigned char>(flag);
    Read(s, mRepeats);
    Read(s, end);
    // A value below the offset (a damaged file) reads as tick 0.
    mStart = start >= kFileOffset ? start - kFileOffset : 0;
    mEnd = end >= kFileOffset ? end - kFileOffset : 0;
    mInitialStart = mStart;
    mInitialEnd = mEnd;
}
