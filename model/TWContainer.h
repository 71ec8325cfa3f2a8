#pragma once

#include "persist/RWCollectableString.h"
#include "persist/RWOrdered.h"
#include "persist/RWSet.h"

class TWFactory;

// What a library holds: root folders, every folder, every item, the default
// stroke of a rhythmic library and a carried list. Inside a factory its guts
// are written inline by the instrument.
class TWContainer : public RWCollectable
{
    RW_DECLARE_COLLECTABLE(TWContainer)
public:
    TWContainer() = default;
    TWContainer(const TWContainer&) = default;

    bool isRhythmic() const { return mRhythmic; }
    void SetRhythmic(bool rhythmic) { mRhythmic = rhythmic; }
    const RWCollectableString& GetName() const { return mName; }
    void SetName(const RWCString& name) { mName = name; }
    RWSet& GetRoots() { return mRoots; }
    const RWSet& GetRoots() const { return mRoots; }
    RWSet& GetFolders() { return mFolders; }
    const RWSet& GetFolders() const { return mFolders; }
    RWSet& GetItems() { return mItems; }
    const RWSet& GetItems() const { return mItems; }
    RWCollectable* GetDefaultStroke() const { return mDefaultStroke; }
    void SetDefaultStroke(RWCollectable* stroke) { mDefaultStroke = stroke; }
    RWOrdered& GetExtraList() { return mExtra; }

    void SetFactory(TWFactory* factory) { mFactory = factory; }
    // The current layout: the rhythmic flag, name, roots, folders, items,
    // default stroke reference, extra list. Libraries whose tag is "3.0" or
    // below hold the oldest layout, of which only the name, the three sets
    // and the default stroke are kept.
    void saveGuts(RWvostream& s) const override;
    void restoreGuts(RWvistream& s) override;

private:
    void RestoreOldestLayout(RWvistream& s);

    bool mRhythmic = true;
    RWCollectableString mName;
    RWSet mRoots;
    RWSet mFolders;
    RWSet mItems;
    RWCollectable* mDefaultStroke = nullptr;
    RWOrdered mExtra;
    TWFactory* mFactory = nullptr;
};
