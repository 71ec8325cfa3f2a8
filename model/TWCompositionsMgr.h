#pragma once

#include "persist/RWCString.h"

#include <memory>
#include <string>
#include <vector>

class TWComposition;
class TWRhythmicCycle;
class TWRhythmicItem;
class TWRhythmicSequence;

// The compositions in memory (slot 0 is the song), their files and the
// arrangement edits the engine makes. A process-wide singleton reached
// through GetCompositionsMgr(). Every edit of an arrangement first drops the
// kept undo copy (PrepareUndo) and marks the composition dirty.
//
// Positions given in view units are divided by the preferences' beat width;
// lengths and positions of AddTrackItem are grid units of 1 / track factor
// beats (quarter beats on the engine's tracks).
class TWCompositionsMgr
{
public:
    TWCompositionsMgr();
    ~TWCompositionsMgr();
    TWCompositionsMgr(const TWCompositionsMgr&) = delete;
    TWCompositionsMgr& operator=(const TWCompositionsMgr&) = delete;

    // The composition in the slot, or nil.
    TWComposition* GetComposition(int index = 0) const;
    std::size_t GetSlotCount() const { return mCompositions.size(); }
    // A new song in the slot (the old composition is destroyed); false for
    // a negative index.
    bool ClearComposition(int index = 0);
    // Writes the slot's composition to `path` ("": its file path; ".nvc" is
    // added unless the upper-cased path holds ".NVC"), replacing the file
    // only once it is written in full. False for a bad slot, no path, an
    // incomplete practice composition or a failed write.
    bool SaveComposition(const std::string& path, int index = 0);
    // Reads `path` into the slot. A file that cannot be read in full leaves
    // the slot empty (slot 0 gets a new song) and answers false.
    bool LoadComposition(const std::string& path, int index = 0);
    // The tag of the file being read; "" when no read is in progress.
    const RWCString& GetCurrentReadingVersion() const;

    // Arrangement edits of composition 0 (track = track index).
    TWRhythmicCycle* AddTrackItem(int track, int position, int length);
    bool MoveTrackItem(int track, TWRhythmicItem* item, int instance, int position);
    bool SetTrackItemDuration(int track, TWRhythmicItem* item, int instance, int length);
    bool RemoveTrackItem(int track, TWRhythmicItem* item, int instance);
    bool RenameTrackItem(int track, TWRhythmicItem* item, int instance, const RWCString& name);
    bool SetTrackPatch(int track, const RWCString& patchName);
    // Within the beats of loop range `range`, removes the track's loops and
    // places `sequence` there (brought into the track library when it comes
    // from another library), named `name` when that is not empty.
    bool ReplaceTrackItem(int track, int range, TWRhythmicSequence* sequence, const RWCString& name, int flags);

    // Drops the kept undo copy; with an item, keeps a detached copy of it
    // (and marks composition 0 dirty when the item is a track's); stores the
    // flags.
    void PrepareUndo(TWRhythmicItem* item, bool flag1, bool flag2);
    const TWRhythmicItem* GetUndoCopy() const { return mUndoCopy.get(); }
    bool GetUndoFlag(int i) const { return i == 0 ? mUndoFlags[0] : mUndoFlags[1]; }

private:
    TWComposition* ReadComposition(const std::string& path);
    void SetSlot(int index, TWComposition* composition);
    bool Edited(TWComposition* composition);

    std::vector<std::unique_ptr<TWComposition>> mCompositions;
    std::unique_ptr<TWRhythmicItem> mUndoCopy;
    bool mUndoFlags[2] = { false, false };
};

TWCompositionsMgr* GetCompositionsMgr();
