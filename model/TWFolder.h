#pragma once

#include "persist/RWCollectableString.h"
#include "persist/RWSet.h"

class TWFactory;
class TWRaagProperties;

// A folder of a library. Folders are equal when their paths are equal; a
// folder hashes by its name. In a rhythmic library the root folder has no
// visible name and paths have no root prefix ("Loops\\Cycles\\"); in a
// named library they start with the root's name and a colon
// ("All:Loops\\Cycles\\").
class TWFolder : public RWCollectable
{
public:
    TWFolder() = default;
    explicit TWFolder(TWFactory* factory) : mFactory(factory) {}

    virtual RWCString GetFolderPath() const = 0;
    virtual RWCString GetName() const = 0;
    virtual void CreateHDImage(const RWCollectableString&) {}
    virtual bool isRoot() const = 0;

    TWFactory* GetFactory() const { return mFactory; }
    void SetFactory(TWFactory* factory) { mFactory = factory; }
    // True in a rhythmic library, and for a folder of no library.
    bool isRhythmicLibrary() const;
    RWSet& GetSubFolders() { return mSubFolders; }
    const RWSet& GetSubFolders() const { return mSubFolders; }
    // The items of this folder (not saved: items enter it when read).
    RWSet& GetItems() { return mItems; }
    const RWSet& GetItems() const { return mItems; }

    int compareTo(const RWCollectable* other) const override;
    unsigned hash() const override;
    bool isEqual(const RWCollectable* other) const override;
    // The sub-folders set. Reading takes the factory being read.
    void saveGuts(RWvostream& s) const override;
    void restoreGuts(RWvistream& s) override;

private:
    TWFactory* mFactory = nullptr;
    RWSet mSubFolders;
    RWSet mItems;
};

class TWRootFolder : public TWFolder
{
    RW_DECLARE_COLLECTABLE(TWRootFolder)
public:
    TWRootFolder() = default;
    explicit TWRootFolder(TWFactory* factory) : TWFolder(factory) {}

    RWCString GetFolderPath() const override;
    RWCString GetName() const override;
    bool isRoot() const override { return true; }

    const RWCollectableString& GetRootName() const { return mName; }
    void SetRootName(const RWCString& name) { mName = name; }
    RWCollectable* GetDefaultStroke() const { return mDefaultStroke; }
    void SetDefaultStroke(RWCollectable* stroke) { mDefaultStroke = stroke; }
    RWCollectable* GetRaagProperties() const { return mRaagProperties; }
    void SetRaagProperties(RWCollectable* properties) { mRaagProperties = properties; }

    void saveGuts(RWvostream& s) const override;
    void restoreGuts(RWvistream& s) override;

private:
    RWCollectableString mName = "Root";
    RWCollectable* mDefaultStroke = nullptr;
    RWCollectable* mRaagProperties = nullptr;
};

class TWSubFolder : public TWFolder
{
    RW_DECLARE_COLLECTABLE(TWSubFolder)
public:
    TWSubFolder() = default;
    TWSubFolder(TWFactory* factory, const RWCString& name, TWFolder* parent)
        : TWFolder(factory), mName(name), mParent(parent) {}

    RWCString GetFolderPath() const override;
    RWCString GetName() const override { return mName; }
    bool isRoot() const override { return false; }
    TWFolder* GetParent() const { return dynamic_cast<TWFolder*>(mParent); }

    void saveGuts(RWvostream& s) const override;
    void restoreGuts(RWvistream& s) override;

private:
    RWCollectableString mName;
    RWCollectable* mParent = nullptr;
};

// Lookup-only keys holding one path. The name is the text after the last
// backslash, else after the last colon, else the whole text (a folder key
// drops its trailing backslash first; a root key "All:" is named "All").
class TWFolderKey : public RWCollectable
{
public:
    explicit TWFolderKey(const RWCString& path) : mPath(path) {}
    const RWCString& GetFolderPath() const { return mPath; }
    RWCString GetName() const;
    unsigned hash() const override;
    bool isEqual(const RWCollectable* other) const override;

private:
    RWCString mPath;
};

class TWItemKey : public RWCollectable
{
public:
    explicit TWItemKey(const RWCString& path) : mPath(path) {}
    const RWCString& GetItemPath() const { return mPath; }
    RWCString GetName() const;
    unsigned hash() const override;
    bool isEqual(const RWCollectable* other) const override;

private:
    RWCString mPath;
};

// The name part of a key path, as the keys above take it.
RWCString TWKeyName(const RWCString& path, bool folderKey);
