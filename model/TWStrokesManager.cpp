#include "model/TWStrokesManager.h"

#include "model/TWSound.h"
#include "model/TWSwar.h"
#include "persist/RWCollectableInt.h"
#include "persist/RWCollectableString.h"

TWSound* TWStrokesManager::Store(RWHashDictionary& table, const TWSound* sound)
{
    if (!sound)
        return nullptr;
    const RWCollectableString key(sound->GetName());
    if (auto* held = static_cast<TWSound*>(table.findValue(&key)))
        return held;
    // Every table shares the one copy kept under the name.
    auto* copy = static_cast<TWSound*>(mSounds.findValue(&key));
    if (!copy) {
        copy = sound->DetachedCopy(mOwned);
        mSounds.insertKeyAndValue(mOwned.Adopt(new RWCollectableString(key)), copy);
    }
    if (&table != &mSounds)
        table.insertKeyAndValue(mOwned.Adopt(new RWCollectableString(key)), copy);
    return copy;
}

TWSound* TWStrokesManager::StoreSound(const TWSound* sound)
{
    return Store(mSounds, sound);
}

TWSound* TWStrokesManager::StoreLeftSound(const TWSound* sound)
{
    return Store(mLeftSounds, sound);
}

TWSound* TWStrokesManager::StoreRightSound(const TWSound* sound)
{
    return Store(mRightSounds, sound);
}

TWSound* TWStrokesManager::GetSound(const RWCString& name) const
{
    const RWCollectableString key(name);
    return static_cast<TWSound*>(mSounds.findValue(&key));
}

TWAudibleStroke* TWStrokesManager::StoreStroke(const TWAudibleStroke* stroke)
{
    if (!stroke)
        return nullptr;
    if (auto* held = static_cast<TWAudibleStroke*>(mStrokes.find(stroke))) {
        StoreDuplicate(stroke);
        return held;
    }
    TWSound* sound = stroke->GetSound() ? StoreSound(stroke->GetSound()) : nullptr;
    TWAudibleStroke* copy = stroke->DetachedCopy(sound, mOwned);
    mStrokes.insert(copy);
    return copy;
}

void TWStrokesManager::StoreDuplicate(const TWAudibleStroke* stroke)
{
    if (stroke)
        mDuplicates.insert(stroke->DetachedCopy(GetSound(stroke->GetName()), mOwned));
}

TWAudibleStroke* TWStrokesManager::GetTunedStroke(const RWCString& name, int a, int b, TWSwar* note) const
{
    TWSound* sound = GetSound(name);
    if (!sound)
        return nullptr;
    RWCollectableInt first(a), second(b);
    TWTunedStroke probe;
    probe.mSound = sound;
    probe.mValues[0] = &first;
    probe.mValues[1] = &second;
    probe.mNote = note;
    return static_cast<TWAudibleStroke*>(mStrokes.find(&probe));
}

TWStroke* TWStrokesManager::AddTunedStroke(const RWCString& name, int a, int b, TWSwar* note)
{
    if (name == mPlaceholder.GetName())
        return &mPlaceholder;
    if (TWAudibleStroke* held = GetTunedStroke(name, a, b, note))
        return held;
    TWSound* sound = GetSound(name);
    if (!sound)
        return nullptr;
    auto* stroke = mOwned.Adopt(new TWTunedStroke);
    stroke->mSound = sound;
    stroke->mValues[0] = mOwned.Adopt(new RWCollectableInt(a));
    stroke->mValues[1] = mOwned.Adopt(new RWCollectableInt(b));
    stroke->mNote = note;
    mStrokes.insert(stroke);
    return stroke;
}

void TWStrokesManager::Clear()
{
    mSounds.clear();
    mLeftSounds.clear();
    mRightSounds.clear();
    mStrokes.clear();
    mDuplicates.clear();
    mOwned.DestroyAll();
}

TWStrokesManager* GetStrokesManager()
{
    static TWStrokesManager g_StrokesManager;
    return &g_StrokesManager;
}
