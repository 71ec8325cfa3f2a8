#pragma once

#include "persist/RWCollectable.h"

// One note of the Indian scale. position 1..12 within the octave (1 = Sa),
// octave -5..+5 (0 = middle), index (octave + 5) * 12 + position - 1.
class TWSwar : public RWCollectable
{
    RW_DECLARE_COLLECTABLE(TWSwar)
public:
    static constexpr unsigned long kNoteCount = 132;

    TWSwar() = default;
    TWSwar(short octave, short position);

    unsigned long GetIndex() const { return mIndex; }
    short GetPosition() const { return mPosition; }
    short GetOctave() const { return mOctave; }
    bool isKomal() const { return mKomal; }
    bool isTivra() const { return mTivra; }

    bool isEqual(const RWCollectable* other) const override;
    unsigned hash() const override { return static_cast<unsigned>(mIndex); }

    // Current layout: index, position, octave, komal, tivra. Files whose tag
    // is before "QN300" hold the legacy layout with ignored objects between.
    void saveGuts(RWvostream& s) const override;
    void restoreGuts(RWvistream& s) override;

private:
    bool mKomal = false;
    bool mTivra = false;
    short mOctave = 0;
    short mPosition = 1;
    unsigned long mIndex = 60;
};
