#pragma once

#include "persist/RWCollectable.h"
#include "persist/RWCString.h"

class TWObjectArena;
class TWSound;
class TWSwar;

// A single played stroke of an older library (never written alone).
class TWStroke : public RWCollectable
{
public:
    virtual RWCString GetName() const { return RWCString(); }
};

// A stroke with a sound and two values (its qualifiers). Strokes are equal
// when they are of one kind with equal sound names, values and notes.
class TWAudibleStroke : public TWStroke
{
public:
    RWCString GetName() const override;
    TWSound* GetSound() const;
    RWCollectable* GetValue(int i) const { return i >= 0 && i < 2 ? mValues[i] : nullptr; }
    virtual TWSwar* GetNote() const { return nullptr; }

    // A copy that refers to `sound` and owns copies of the values in
    // `arena`: it stays valid when the file it was read from is gone.
    TWAudibleStroke* DetachedCopy(TWSound* sound, TWObjectArena& arena) const;

    unsigned hash() const override;
    bool isEqual(const RWCollectable* other) const override;
    // Sound reference, then the two values.
    void saveGuts(RWvostream& s) const override;
    void restoreGuts(RWvistream& s) override;

    RWCollectable* mSound = nullptr;
    RWCollectable* mValues[2] = { nullptr, nullptr };

protected:
    // Reading hands the sound and then the stroke to the strokes manager.
    enum class Hand { Left, Right, Any };
    void RestoreAudible(RWvistream& s, Hand hand);
    void StoreInManager();
};

class TWLeftStroke : public TWAudibleStroke
{
    RW_DECLARE_COLLECTABLE(TWLeftStroke)
public:
    void restoreGuts(RWvistream& s) override;
};

class TWRightStroke : public TWAudibleStroke
{
    RW_DECLARE_COLLECTABLE(TWRightStroke)
public:
    void restoreGuts(RWvistream& s) override;
};

// A stroke of a sound at a note of the canonical note table.
class TWTunedStroke : public TWAudibleStroke
{
    RW_DECLARE_COLLECTABLE(TWTunedStroke)
public:
    TWSwar* GetNote() const override;
    // The stroke fields, then the note reference.
    void saveGuts(RWvostream& s) const override;
    void restoreGuts(RWvistream& s) override;

    RWCollectable* mNote = nullptr;
};

// A stroke with no sound; all are equal.
class TWUnaudibleStroke : public TWStroke
{
    RW_DECLARE_COLLECTABLE(TWUnaudibleStroke)
public:
    unsigned hash() const override { return 0; }
    bool isEqual(const RWCollectable* other) const override { return dynamic_cast<const TWUnaudibleStroke*>(other); }
};

// A stroke of an instrument sound with two values, a name and a note.
class TWAnyStroke : public RWCollectable
{
    RW_DECLARE_COLLECTABLE(TWAnyStroke)
public:
    // Instrument sound reference, value one, name reference, note reference,
    // value two. Reading shares the name (symbol kind 6) and the note; files
    // before "QN306" hold value two on an older scale and value one
    // unchecked.
    void saveGuts(RWvostream& s) const override;
    void restoreGuts(RWvistream& s) override;

    // Value two of the older scale: ceil(|v| / 4), at most 30, sign of v.
    static int ConvertOldValue(int v);

    RWCollectable* mInstrumentSound = nullptr;
    int mValueOne = 0;
    RWCollectable* mName = nullptr;
    RWCollectable* mNote = nullptr;
    int mValueTwo = 0;
};
