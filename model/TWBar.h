#pragma once

#include "persist/LMFraction.h"

// A bar mark of a cycle at a position: khali (open) or tali (clap). Marks
// are equal when they are of one kind at one position.
class TWBar : public RWCollectable
{
public:
    TWBar() = default;
    explicit TWBar(const LMFraction& position) : mPosition(position) {}
    const LMFraction& GetPosition() const { return mPosition; }

    unsigned hash() const override { return mPosition.hash() ^ isA(); }
    bool isEqual(const RWCollectable* other) const override;
    int compareTo(const RWCollectable* other) const override;
    // The position object.
    void saveGuts(RWvostream& s) const override;
    void restoreGuts(RWvistream& s) override;

private:
    LMFraction mPosition;
};

class TWKhali : public TWBar
{
    RW_DECLARE_COLLECTABLE(TWKhali)
public:
    using TWBar::TWBar;
};

class TWTali : public TWBar
{
    RW_DECLARE_COLLECTABLE(TWTali)
public:
    using TWBar::TWBar;
};
