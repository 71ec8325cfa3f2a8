#pragma once

#include "persist/RWCollectableString.h"

// One effect of a track's chain: the plug-in's identifier text and its saved
// state text (empty until the engine stores one).
class TWEffect : public RWCollectable
{
    RW_DECLARE_COLLECTABLE(TWEffect)
public:
    TWEffect() = default;
    TWEffect(const RWCString& name, const RWCString& state) : mName(name), mState(state) {}

    const RWCollectableString& GetName() const { return mName; }
    void SetName(const RWCString& name) { mName = name; }
    const RWCollectableString& GetState() const { return mState; }
    void SetState(const RWCString& state) { mState = state; }

    // Name object, state object.
    void saveGuts(RWvostream& s) const override;
    void restoreGuts(RWvistream& s) override;

private:
    RWCollectableString mName;
    RWCollectableString mState;
};
