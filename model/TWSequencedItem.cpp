#include "model/TWSequencedItem.h"

#include "model/TWClassIDs.h"
#include "model/TWFactory.h"
#include "model/TWRhythmicItem.h"
#include "model/TWSpecificSequence.h"
#include "model/TWStreamHelpers.h"
#include "persist/RWReadingVersion.h"

RW_DEFINE_COLLECTABLE(TWSequencedItem, TWClassIDs::SequencedItem)

TWSequencedItem::TWSequencedItem(TWRhythmicItem* item, unsigned short cellIndex, const LMFraction& duration)
    : mItem(item), mCellIndex(cellIndex), mDuration(duration)
{
}

TWRhythmicItem* TWSequencedItem::GetItem() const
{
    return dynamic_cast<TWRhythmicItem*>(mItem);
}

void TWSequencedItem::SetItem(TWRhythmicItem* item)
{
    mItem = item;
}

TWSpecificSequence* TWSequencedItem::GetSpecific() const
{
    return dynamic_cast<TWSpecificSequence*>(mSpecific);
}

void TWSequencedItem::saveGuts(RWvostream& s) const
{
    s << mItem;
    s << mCellIndex;
    mDuration.recursiveSaveOn(s);
    s << mSpecific;
}

void TWSequencedItem::restoreGuts(RWvistream& s)
{
    mItem = TWStream::ReadRef(s);
    TWStream::Read(s, mCellIndex);
    TWStream::ReadMember(s, mDuration);
    mSpecific = TWStream::ReadRef(s);
    const TWFactory* factory = TWFactory::GetReadingFactory();
    const bool named = factory && !factory->GetContainer().isRhythmic();
    if (named && !rwReadingVersionAtLeast("QN300"))
        mLegacyLink = TWStream::ReadRef(s);
}
