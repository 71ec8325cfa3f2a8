#pragma once

#include "persist/LMFraction.h"

class TWRhythmicItem;
class TWRhythmicSequence;
class TWSpecificSequence;

// One cell of a sequence: what it plays, its index within the instance of
// the sequence it refers to, and its share of the owning sequence.
class TWSequencedItem : public RWCollectable
{
    RW_DECLARE_COLLECTABLE(TWSequencedItem)
public:
    TWSequencedItem() = default;
    TWSequencedItem(TWRhythmicItem* item, unsigned short cellIndex, const LMFraction& duration);

    TWRhythmicItem* GetItem() const;
    RWCollectable* GetItemRef() const { return mItem; }
    void SetItem(TWRhythmicItem* item);
    unsigned short GetCellIndex() const { return mCellIndex; }
    void SetCellIndex(unsigned short index) { mCellIndex = index; }
    const LMFraction& GetDuration() const { return mDuration; }
    void SetDuration(const LMFraction& duration) { mDuration = duration; }
    TWSpecificSequence* GetSpecific() const;
    RWCollectable* GetSpecificRef() const { return mSpecific; }
    void SetSpecificRef(RWCollectable* specific) { mSpecific = specific; }
    RWCollectable* GetLegacyLink() const { return mLegacyLink; }

    TWRhythmicSequence* GetOwner() const { return mOwner; }
    void SetOwner(TWRhythmicSequence* owner) { mOwner = owner; }
    // Offset of the cell within its owning sequence and the duration of
    // the instance it belongs to (recomputed when the cells change).
    const LMFraction& GetAncestorOffset() const { return mAncestorOffset; }
    const LMFraction& GetAncestorDuration() const { return mAncestorDuration; }
    void SetAncestor(const LMFraction& offset, const LMFraction& duration)
    {
        mAncestorOffset = offset;
        mAncestorDuration = duration;
    }

    // Item reference, cell index, duration, specific reference; in a named
    // library before "QN300" one more reference (the legacy link).
    void saveGuts(RWvostream& s) const override;
    void restoreGuts(RWvistream& s) override;

private:
    RWCollectable* mItem = nullptr;
    unsigned short mCellIndex = 0;
    LMFraction mDuration = 1;
    RWCollectable* mSpecific = nullptr;
    RWCollectable* mLegacyLink = nullptr;
    TWRhythmicSequence* mOwner = nullptr;
    LMFraction mAncestorOffset;
    LMFraction mAncestorDuration;
};
