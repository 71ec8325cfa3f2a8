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
    RWCollectableString mVersionTag = kNewVersionTag;
    TWInstrument* mInstrument;
    TWSymbolManager mSymbols;
    RWCollectable* mComponentsFile = nullptr;
    TWContainer mContainer;
    TWObjectArena mOwned;
};
