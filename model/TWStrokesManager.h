#pragma once

#include "model/TWObjectArena.h"
#include "model/TWStroke.h"
#include "persist/RWHashDictionary.h"
#include "persist/RWOrdered.h"
#include "persist/RWSet.h"

class TWSound;
class TWSwar;

// The process-wide table of the sounds and strokes read from libraries, so
// that equal strokes are one. The table keeps its own copies of what it is
// handed: closing the song a stroke came from never leaves it pointing at
// freed objects.
class TWStrokesManager
{
public:
    TWStrokesManager() = default;
    TWStrokesManager(const TWStrokesManager&) = delete;
    TWStrokesManager& operator=(const TWStrokesManager&) = delete;

    // Enter a sound under its name unless the name is there; answer the
    // sound held under that name (nil for nil).
    TWSound* StoreSound(const TWSound* sound);
    TWSound* StoreLeftSound(const TWSound* sound);
    TWSound* StoreRightSound(const TWSound* sound);
    // Enters the stroke unless an equal one is held (then it is recorded as
    // a duplicate); answers the stroke held.
    TWAudibleStroke* StoreStroke(const TWAudibleStroke* stroke);
    void StoreDuplicate(const TWAudibleStroke* stroke);
    // The held tuned stroke of the named sound, qualifiers and note, or nil.
    TWAudibleStroke* GetTunedStroke(const RWCString& name, int a, int b, TWSwar* note) const;
    // The placeholder for the placeholder's name (""); else the held stroke,
    // else nil for an unknown sound, else a new stroke entered.
    TWStroke* AddTunedStroke(const RWCString& name, int a, int b, TWSwar* note);
    TWStroke* GetPlaceholder() { return &mPlaceholder; }

    TWSound* GetSound(const RWCString& name) const;
    std::size_t GetSoundCount() const { return mSounds.entries(); }
    std::size_t GetLeftSoundCount() const { return mLeftSounds.entries(); }
    std::size_t GetRightSoundCount() const { return mRightSounds.entries(); }
    std::size_t GetStrokeCount() const { return mStrokes.entries(); }
    std::size_t GetDuplicateCount() const { return mDuplicates.entries(); }
    // Deletes everything held.
    void Clear();

private:
    TWSound* Store(RWHashDictionary& table, const TWSound* sound);

    RWHashDictionary mSounds;
    RWHashDictionary mLeftSounds;
    RWHashDictionary mRightSounds;
    RWSet mStrokes;
    RWOrdered mDuplicates;
    TWUnaudibleStroke mPlaceholder;
    TWObjectArena mOwned;
};

TWStrokesManager* GetStrokesManager();
