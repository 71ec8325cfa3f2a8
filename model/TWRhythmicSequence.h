#pragma once

#include "model/TWObjectArena.h"
#include "model/TWRhythmicItem.h"
#include "model/TWSequencedItem.h"
#include "persist/LMFraction.h"
#include "persist/RWSet.h"

// A sequence of cells: the base of cycles and patterns.
//
// An instance: for a cell whose item is a sequence, the run of cells around
// it that refer to the same item with consecutive cell indices (starting at
// 0); for a cell whose item is not a sequence, the cell alone.
//
// Cells: the sequence never deletes a cell. Cells it makes (NewCell, splits)
// belong to it; cells read from a file belong to that file's objects; a
// removed cell stays alive as long as its owner.
class TWRhythmicSequence : public TWRhythmicItem
{
public:
    TWRhythmicSequence() = default;
    // `count` cells of 1/count each, playing the library's default stroke.
    TWRhythmicSequence(const RWCString& name, const RWCString& alias, TWFolder* folder, int count,
                       const LMFraction& beats, const LMFraction& wrap);
    TWRhythmicSequence(const TWRhythmicSequence& other);

    bool isSequence() const override { return true; }
    RWCString GetUnderlyingName() const override { return mUnderlying; }
    void SetUnderlyingName(const RWCString& name) { mUnderlying = name; }

    // Cells.
    std::size_t GetCellCount() const { return mCells.entries(); }
    const RWOrdered& GetCells() const { return mCells; }
    TWSequencedItem* GetSequencedItem(int index) const;
    int IndexOf(const TWSequencedItem* cell) const;
    LMFraction GetTotalDuration() const;
    // A new cell owned by this sequence (not yet placed).
    TWSequencedItem* NewCell(TWRhythmicItem* item, unsigned short cellIndex, const LMFraction& duration);
    // Places `cell` before `index` (at the end when index is past it).
    void AddItem(TWSequencedItem* cell, int index);
    // Takes out the cell at `index` and answers it (nil when out of range).
    TWSequencedItem* RemoveItem(int index);
    // Inserts `count` cells playing the default stroke, each 1 / cell count
    // of a beat's share, before `index`.
    void InsertItems(int index, int count);
    // Replaces the cells first..last (none when last < first; first may be
    // the cell count, to append) by `cells`, made with NewCell, as one change.
    void ReplaceItems(int first, int last, const std::vector<TWSequencedItem*>& cells);
    // The first and last cell of the instance holding `cell`.
    bool GetBoundSequences(const TWSequencedItem* cell, int& first, int& last) const;
    // The cells of the k-th instance (from 1) of `item`; false when item is
    // nil, k is 0 or there is no such instance.
    bool GetInstanceBoundaries(const TWRhythmicItem* item, int k, int& first, int& last) const;
    // Divides the instance holding `cell` into `parts` equal parts: its
    // cells shrink by 1/parts and parts - 1 copies of them follow it.
    bool SplitItem(const TWSequencedItem* cell, int parts);
    // Makes the instance holding `cell` cover `count` cells counted from its
    // first cell: the following cells are removed and the instance's cells
    // stretch proportionally over their time.
    bool MergeItems(const TWSequencedItem* cell, int count);
    // The sum of the durations of the cells before `index`.
    LMFraction GetItemOffset(int index) const;
    // The cell that covers `offset` and the offset within it (`rest`); -1
    // when the offset lies outside the sequence.
    int GetItemAtOffset(const LMFraction& offset, LMFraction& rest) const;
    // Recomputes every cell's owner, ancestor offset and duration.
    void Resequence();
    // After a change of the cells: Resequence and the items' client lists.
    void ImpactChanges();

    const LMFraction& GetNumberOfBeats() const { return mBeats; }
    void SetNumberOfBeats(const LMFraction& beats) { mBeats = beats; }
    const LMFraction& GetCellCountFraction() const { return mCellCount; }
    void SetCellCountFraction(const LMFraction& count) { mCellCount = count; }
    const LMFraction& GetWrapAt() const { return mWrapAt; }
    const LMFraction& GetTempo() const { return mTempo; }
    void SetTempo(const LMFraction& tempo) { mTempo = tempo; }
    const LMFraction& GetClipArea() const { return mFourthFraction; }
    void SetClipArea(const LMFraction& area) { mFourthFraction = area; }
    RWCollectable* GetTrackLink() const { return mTrackLink; }
    void SetTrackLink(RWCollectable* link) { mTrackLink = link; }
    int GetDisplayValue() const { return mDisplayValue; }
    unsigned long GetTempoFrom() const { return mTempoFrom; }
    unsigned long GetTempoTo() const { return mTempoTo; }
    void SetTempoRange(unsigned long from, unsigned long to)
    {
        mTempoFrom = from;
        mTempoTo = to;
    }

    // Tradition texts (nil when unset): kinds of the symbol manager.
    RWCollectableString* GetGharana() const { return AsString(mGharana); }
    RWCollectableString* GetComposer() const { return AsString(mComposer); }
    RWCollectableString* GetReporter() const { return AsString(mReporter); }
    RWCollectableString* GetCycle() const { return AsString(mCycle); }
    // Each setter registers the text in the library's symbol manager; an
    // empty text clears the field.
    void SetGharana(const RWCString& text) { mGharana = Symbol(0, text); }
    void SetComposer(const RWCString& text) { mComposer = Symbol(1, text); }
    void SetReporter(const RWCString& text) { mReporter = Symbol(2, text); }
    void SetCycle(const RWCString& text) { mCycle = Symbol(4, text); }
    const RWOrdered& GetStyles() const { return mStyles; }
    void AddStyle(const RWCString& text);
    void ClearStyles() { mStyles.clear(); }
    RWSet& GetThirdSet() { return mThirdSet; }
    RWOrdered& GetFourthList() { return mFourthList; }

    void saveGuts(RWvostream& s) const override;
    void restoreGuts(RWvistream& s) override;

protected:
    // Copies every cell into cells owned by this sequence.
    void CopyCellsFrom(const TWRhythmicSequence& other);

private:
    static RWCollectableString* AsString(RWCollectable* p) { return dynamic_cast<RWCollectableString*>(p); }
    RWCollectable* Symbol(int kind, const RWCString& text);
    void RegisterSymbol(int kind, RWCollectable* p) const;
    void InstanceAt(int index, int& first, int& last) const;
    bool StillUsed(const RWCollectable* item) const;
    void ForgetUnused(const std::vector<RWCollectable*>& items);

    RWOrdered mCells;
    LMFraction mBeats = 1;
    LMFraction mCellCount = 1;
    LMFraction mWrapAt = 1;
    LMFraction mSecondFraction = 1;
    RWCollectable* mGharana = nullptr;
    RWCollectable* mComposer = nullptr;
    RWCollectable* mReporter = nullptr;
    RWCollectable* mCycle = nullptr;
    LMFraction mTempo = 120;
    RWSet mThirdSet;
    unsigned long mTempoFrom = 0;
    unsigned long mTempoTo = 0;
    RWOrdered mFourthList;
    int mDisplayValue = 1;
    RWOrdered mStyles;
    LMFraction mThirdFraction = 1;
    RWCollectableString mUnderlying;
    LMFraction mFourthFraction = -1;
    RWCollectable* mTrackLink = nullptr;
    bool mReadWithTrackLink = false;
    TWObjectArena mOwned; // cells and texts this sequence made
};
