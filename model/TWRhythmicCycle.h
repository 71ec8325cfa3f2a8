#pragma once

#include "model/TWRhythmicSequence.h"

// A loop: a sequence with a cycle fraction and bar marks (TWKhali, TWTali).
// Its musical content is the file named by its underlying name.
class TWRhythmicCycle : public TWRhythmicSequence
{
    RW_DECLARE_COLLECTABLE(TWRhythmicCycle)
public:
    TWRhythmicCycle() = default;
    TWRhythmicCycle(const RWCString& name, const RWCString& alias, TWFolder* folder, const LMFraction& fraction,
                    int count, const LMFraction& beats, const LMFraction& wrap)
        : TWRhythmicSequence(name, alias, folder, count, beats, wrap), mCycleFraction(fraction) {}

    TWRhythmicItem* Clone() const override { return new TWRhythmicCycle(*this); }
    const LMFraction& GetCycleFraction() const { return mCycleFraction; }
    // The bar marks; a mark made by the program belongs to the library
    // (TWFactory::Adopt) or to whoever made it.
    RWSet& GetBarMarks() { return mBarMarks; }
    const RWSet& GetBarMarks() const { return mBarMarks; }

    // The sequence, then the bar marks set, then the cycle fraction.
    void saveGuts(RWvostream& s) const override;
    void restoreGuts(RWvistream& s) override;

private:
    LMFraction mCycleFraction = 1;
    RWSet mBarMarks;
};

// A pattern: a sequence with nothing more of its own.
class TWRhythmicPattern : public TWRhythmicSequence
{
    RW_DECLARE_COLLECTABLE(TWRhythmicPattern)
public:
    TWRhythmicPattern() = default;
    TWRhythmicPattern(const RWCString& name, const RWCString& alias, TWFolder* folder, int count,
                      const LMFraction& beats, const LMFraction& wrap)
        : TWRhythmicSequence(name, alias, folder, count, beats, wrap) {}
    TWRhythmicItem* Clone() const override { return new TWRhythmicPattern(*this); }
};

// Older looping data: carried unchanged.
class TWLoopSequence : public RWCollectable
{
    RW_DECLARE_COLLECTABLE(TWLoopSequence)
public:
    // Three unsigned longs, two member objects, one unsigned long.
    void saveGuts(RWvostream& s) const override;
    void restoreGuts(RWvistream& s) override;

    unsigned long mValues[4] = { 0, 0, 0, 0 };
    RWCollectable* mMembers[2] = { nullptr, nullptr };
};
