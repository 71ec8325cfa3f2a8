#pragma once

#include "model/TWRhythmicItem.h"
#include "persist/RWSet.h"

// The single strokes a melodic or joined stroke combines.
class TWMultiStroke : public RWCollectable
{
    RW_DECLARE_COLLECTABLE(TWMultiStroke)
public:
    RWSet& GetStrokes() { return mStrokes; }
    const RWSet& GetStrokes() const { return mStrokes; }
    // One set object.
    void saveGuts(RWvostream& s) const override;
    void restoreGuts(RWvistream& s) override;

private:
    RWSet mStrokes;
};

// A stroke of a library with its notation texts. Every new library holds
// one: the silent stroke "S" ("Silence", display texts "-" and "D").
class TWMelodicStroke : public TWRhythmicItem
{
    RW_DECLARE_COLLECTABLE(TWMelodicStroke)
public:
    TWMelodicStroke() = default;
    TWMelodicStroke(const RWCString& name, const RWCString& alias, TWFolder* folder)
        : TWRhythmicItem(name, alias, folder) {}

    TWRhythmicItem* Clone() const override;
    void SetDisplayTexts(const RWCString& one, const RWCString& two)
    {
        mTexts[0] = one;
        mTexts[1] = two;
    }
    // 0, 1: display texts; 2, 3: texts three and four.
    const RWCollectableString& GetText(int i) const { return mTexts[i >= 0 && i < 4 ? i : 0]; }
    void SetText(int i, const RWCString& text)
    {
        if (i >= 0 && i < 4)
            mTexts[i] = text;
    }
    TWMultiStroke& GetMultiStroke() { return mMultiStroke; }

    // The item guts, the multi-stroke, the four texts.
    void saveGuts(RWvostream& s) const override;
    void restoreGuts(RWvistream& s) override;

private:
    TWMultiStroke mMultiStroke;
    RWCollectableString mTexts[4];
};

// Two strokes played as one; carried from older libraries.
class TWJoinedStroke : public TWRhythmicItem
{
    RW_DECLARE_COLLECTABLE(TWJoinedStroke)
public:
    TWJoinedStroke() = default;
    TWJoinedStroke(const RWCString& name, const RWCString& alias, TWFolder* folder)
        : TWRhythmicItem(name, alias, folder) {}

    RWCollectableString mTexts[2];
    TWMultiStroke mMultiStroke;

    // The item guts, two texts, the multi-stroke.
    void saveGuts(RWvostream& s) const override;
    void restoreGuts(RWvistream& s) override;
};
