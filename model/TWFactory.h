#pragma once

#include "model/TWContainer.h"
#include "model/TWObjectArena.h"
#include "model/TWSymbolManager.h"
#include "persist/LMFraction.h"

class TWFolder;
class TWInstrument;
class TWMelodicStroke;
class TWRhythmicCycle;
class TWRhythmicItem;
class TWRhythmicPattern;
class TWRootFolder;
class TWSubFolder;

// A library: the container of an instrument's folders and items, with its
// symbol registry. Never written as an object of its own: the instrument
// writes the container's guts inline.
//
// Objects the factory makes belong to it; objects read from a file belong
// to the objects of that file (see TWObjectArena).
class TWFactory : public RWCollectable
{
public:
    static constexpr const char* kNewVersionTag = "QN312";

    explicit TWFactory(TWInstrument* instrument = nullptr);
    TWFactory(const TWFactory&) = delete;
    TWFactory& operator=(const TWFactory&) = delete;

    TWInstrument* GetInstrument() const { return mInstrument; }
    const RWCollectableString& GetVersionTag() const { return mVersionTag; }
    void SetVersionTag(const RWCString& tag) { mVersionTag = tag; }
    TWContainer& GetContainer() { return mContainer; }
    const TWContainer& GetContainer() const { return mContainer; }
    TWSymbolManager& GetSymbolManager() { return mSymbols; }
    RWCollectable* GetComponentsFile() const { return mComponentsFile; }
    // True when the library belongs to a composition track's instrument.
    bool isTrackFactory() const;

    // Look-ups by path ("Loops\\Cycles\\", "Loops\\Cycles\\Teental").
    TWFolder* GetFolder(const RWCString& path) const;
    TWRhythmicItem* GetItem(const RWCString& path) const;
    // The first root folder in set order.
    TWRootFolder* GetRootFolder() const;
    // In a rhythmic library the first root folder; else the root named by
    // the root part of `path`; nil when none.
    TWRootFolder* GetRootFolder(const RWCString& path) const;
    // In a rhythmic library the container's default stroke; else that of
    // the folder's root folder.
    RWCollectable* GetDefaultStroke(const TWFolder* folder) const;

    // A new root folder holding the silent stroke "S" ("Silence"), which
    // becomes the default stroke.
    TWRootFolder* AddRootFolder();
    TWSubFolder* CreateSubFolder(const RWCString& name, TWFolder* parent);
    // Creates the missing folders of `path`; answers the deepest (nil when
    // the path names no root folder).
    TWFolder* CreateSubFolder(const RWCString& path);
    TWRhythmicCycle* CreateRhythmicCycle(const RWCString& name, const RWCString& alias, TWFolder* folder,
                                         const LMFraction& fraction, int count, const LMFraction& beats,
                                         const LMFraction& wrap);
    TWRhythmicPattern* CreateRhythmicPattern(const RWCString& name, const RWCString& alias, TWFolder* folder,
                                             int count, const LMFraction& beats, const LMFraction& wrap);
    TWMelodicStroke* CreateMelodicStroke(const RWCString& name, const RWCString& alias, TWFolder* folder);
    // Enters an item made elsewhere into the container's and its folder's
    // items (the factory takes it).
    void AddItem(TWRhythmicItem* item);

    // Track-library operations. A name is free in a folder when neither the
    // folder path and the name is an item path nor the folder path, the
    // name and a backslash is a folder path; this answers the name, "Copy of
    // " and the name, then "Copy(1) of " and the name, and so on.
    RWCString ProvideUniqueName(const RWCString& name, const TWFolder* folder) const;
    // A new sub-folder "Comp#" and the smallest number from 1 not yet taken,
    // under the first root folder.
    TWFolder* AddNewComponentFolder();
    // Brings `item` into `target`, a folder of this library, as `name` ("":
    // the item's name). Within one library the item changes folder and
    // takes the unique name; nil when the target path is taken. From
    // another library: a copy under the unique name, the items its cells use
    // brought along, and, unless the source is a track library, its file
    // copied into the song temp folder under a new name; when the target
    // path is taken, the item there is answered instead.
    TWRhythmicItem* MoveItem(TWRhythmicItem* item, TWFolder* target, const RWCString& name);
    // A copy of `item` in its folder under ProvideUniqueName.
    TWRhythmicItem* DuplicateItem(TWRhythmicItem* item);
    // Renames an item of this library; false when the new item path is
    // taken (or the name is empty). The item re-enters the items sets under
    // its new name.
    bool RenameItem(TWRhythmicItem* item, const RWCString& name);
    // A new library for `instrument` with this one's rhythmic flag and name
    // and one new root folder ("Root"; in a named library named as this
    // one's first root) holding copies of this library's default stroke,
    // which becomes the new default stroke, and of every item held directly
    // by this library's first root folder. The caller owns the result.
    TWFactory* MinimalClone(TWInstrument* instrument) const;

    // Takes an object made for this library.
    template <class T> T* Adopt(T* p) { return mOwned.Adopt(p); }

    // The factory whose library is being read on this thread, or nil.
    static TWFactory* GetReadingFactory();
    class ReadingScope
    {
    public:
        explicit ReadingScope(TWFactory* factory);
        ~ReadingScope();
        ReadingScope(const ReadingScope&) = delete;
        ReadingScope& operator=(const ReadingScope&) = delete;

    private:
        TWFactory* mPrevious;
    };

private:
    TWRhythmicItem* MoveItemAt(TWRhythmicItem* item, TWFolder* target, const RWCString& name, int depth);
    TWRhythmicItem* CopyIn(TWRhythmicItem* item, TWFolder* target, const RWCString& name, int depth);

    RWCollectableString mVersionTag = kNewVersionTag;
    TWInstrument* mInstrument;
    TWSymbolManager mSymbols;
    RWCollectable* mComponentsFile = nullptr;
    TWContainer mContainer;
    TWObjectArena mOwned;
};
