#pragma once

#include "persist/RWCollectableString.h"

// Melodic detail of one cell in an older library: the strokes of both
// hands, a multi-stroke and glide values. Carried unchanged; the values of
// files before "QN310" are kept as read (their glides are not turned into
// points).
class TWSpecificSequence : public RWCollectable
{
    RW_DECLARE_COLLECTABLE(TWSpecificSequence)
public:
    // Name, left and right stroke references, two ints, multi-stroke
    // reference, flag, four ints, text.
    void saveGuts(RWvostream& s) const override;
    // Before "QN300": name, left, right, an int and an unsigned long (the
    // first int), an int and an unsigned long (the second), multi-stroke.
    // From "QN300" the current layout, with the last two ints from "QN308"
    // and the text from "QN310". The name is a symbol of kind 5.
    void restoreGuts(RWvistream& s) override;

    RWCollectable* mName = nullptr;
    RWCollectable* mLeft = nullptr;
    RWCollectable* mRight = nullptr;
    int mFirst = 0;
    int mSecond = 0;
    RWCollectable* mMultiStroke = nullptr;
    bool mFlag = false;
    int mValues[4] = { 0, 0, 0, 0 };
    RWCollectableString mText;
    // The ints before each unsigned long of the oldest layout.
    int mLegacyInts[2] = { 0, 0 };
};
