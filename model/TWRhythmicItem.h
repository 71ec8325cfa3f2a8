#pragma once

#include "persist/RWCollectableString.h"
#include "persist/RWOrdered.h"

class TWFactory;
class TWFolder;
class TWRhythmicSequence;
class TWSequencedItem;

// Base of everything a library folder holds. Items are equal when their
// item paths (folder path followed by the name) are equal; an item hashes by
// its name.
class TWRhythmicItem : public RWCollectable
{
public:
    static constexpr const char* kItemVersion = "QN3000";

    TWRhythmicItem() = default;
    TWRhythmicItem(const RWCString& name, const RWCString& alias, TWFolder* folder);

    virtual TWRhythmicItem* FindItem(const TWRhythmicItem* item) { return item == this ? this : nullptr; }
    virtual RWCString GetItemPath() const;
    virtual RWCString GetName() const { return mName; }
    virtual bool isSequence() const { return false; }
    virtual RWCString GetAlias(const TWSequencedItem*) const { return mAlias; }
    // A copy in the same folder, owned by the caller; nil for content this
    // program only carries.
    virtual TWRhythmicItem* Clone() const { return nullptr; }
    virtual bool HasSameStructure(const TWRhythmicItem* item) const { return item && item->isA() == isA(); }
    virtual void ConvertToCurrentVersion() {}

    TWFolder* GetFolder() const;
    void SetFolder(TWFolder* folder);
    TWFactory* GetFactory() const;
    void SetName(const RWCString& name) { mName = name; }
    void SetAlias(const RWCString& alias) { mAlias = alias; }
    const RWCollectableString& GetItemVersion() const { return mItemVersion; }

    // The sequences whose cells refer to this item (rebuilt on reading).
    const RWOrdered& GetClients() const { return mClients; }
    void AddClient(TWRhythmicSequence* sequence);
    void RemoveClient(TWRhythmicSequence* sequence);

    // The full path of the item's file: "" when it is not a sequence or has
    // no underlying name; else, for an item of a track's library, the songs
    // temporary folder, "/" and the name; otherwise the binaries folder, "/"
    // and the name.
    std::string GetUnderlyingPath() const;
    virtual RWCString GetUnderlyingName() const { return RWCString(); }

    int compareTo(const RWCollectable* other) const override;
    unsigned hash() const override;
    bool isEqual(const RWCollectable* other) const override;
    // Folder reference, the int 0, name, alias, item version. Reading puts
    // the item into its folder's items and sets the version to "QN3000".
    void saveGuts(RWvostream& s) const override;
    void restoreGuts(RWvistream& s) override;

protected:
    RWCollectable* mFolder = nullptr; // a TWFolder (any object in a damaged file)
    RWCollectableString mName;
    RWCollectableString mAlias;
    RWCollectableString mItemVersion = kItemVersion;
    RWOrdered mClients;
};
