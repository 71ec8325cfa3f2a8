#pragma once

#include "model/TWObjectArena.h"
#include "persist/RWCollectableString.h"
#include "persist/RWOrdered.h"

class TWFactory;
class TWFolder;
class TWInstrumentPart;
class TWSymbolManager;

// An instrument of the library model: a name, its parts and its libraries
// (factories). The instrument owns its factories and the parts it makes.
class TWInstrument : public RWCollectable
{
    RW_DECLARE_COLLECTABLE(TWInstrument)
public:
    TWInstrument() = default;
    // The exclusive flag follows the name, as after reading.
    explicit TWInstrument(const RWCString& name);
    // A copy has the name, copies of the parts and the option; no library.
    TWInstrument(const TWInstrument& other);
    TWInstrument& operator=(const TWInstrument&) = delete;
    ~TWInstrument() override;

    virtual void ImportV2Factory(TWFactory*) {}
    // A new instrument of the same kind without a library, owned by the
    // caller; nil for kinds this program does not create.
    virtual TWInstrument* Clone() const { return nullptr; }
    virtual bool isRhythmic() const { return false; }
    virtual bool isDrone() const { return false; }
    virtual TWInstrumentPart* GetMainInstrumentPart() const { return nullptr; }

    const RWCollectableString& GetName() const { return mName; }
    const RWOrdered& GetParts() const { return mParts; }
    TWInstrumentPart* GetInstrumentPart(const RWCString& name) const;
    // Nil (and nothing added) when a part of that name exists.
    TWInstrumentPart* AddInstrumentPart(const RWCString& name, short first, short second, short third, bool flag);

    // The current library.
    TWFactory* GetFactory() const { return mFactory; }
    const RWOrdered& GetFactories() const { return mFactories; }
    // A new library for this instrument, made current.
    TWFactory* AddFactory();
    // Takes a factory made elsewhere for this instrument, made current.
    void AdoptFactory(TWFactory* factory);
    // The first folder of `path` found in the libraries, in order.
    TWFolder* GetFolder(const RWCString& path) const;
    TWSymbolManager* GetSymbolManager() const;

    RWCollectable* GetTrackOwner() const { return mTrackOwner; }
    void SetTrackOwner(RWCollectable* track) { mTrackOwner = track; }
    int GetIndex() const { return mIndex; }
    void SetIndex(int index) { mIndex = index; }
    bool isExclusive() const { return mExclusive; }
    int GetOption() const { return mOption; }

    // Name, parts, has-library int, option int (since "QN308"), then the
    // library's container guts inline.
    void saveGuts(RWvostream& s) const override;
    void restoreGuts(RWvistream& s) override;

private:
    void UpdateExclusive();

    TWFactory* mFactory = nullptr;
    RWCollectableString mName;
    RWOrdered mParts;
    RWOrdered mFactories; // owned
    RWCollectable* mTrackOwner = nullptr;
    int mIndex = -1;
    bool mExclusive = false;
    int mOption = 1;
    TWObjectArena mOwned; // parts made by the program
};

// Shares the saved form; the kinds this program creates.
class TWAudioInstrument : public TWInstrument
{
    RW_DECLARE_COLLECTABLE(TWAudioInstrument)
public:
    using TWInstrument::TWInstrument;
    TWInstrument* Clone() const override { return new TWAudioInstrument(*this); }
    bool isRhythmic() const override { return true; }
    TWInstrumentPart* GetMainInstrumentPart() const override { return GetInstrumentPart("Main"); }
};

class TWGMInstrument : public TWInstrument
{
    RW_DECLARE_COLLECTABLE(TWGMInstrument)
public:
    using TWInstrument::TWInstrument;
    TWInstrument* Clone() const override { return new TWGMInstrument(*this); }
    bool isRhythmic() const override { return true; }
    TWInstrumentPart* GetMainInstrumentPart() const override { return GetInstrumentPart("Main"); }
};

// Kinds of older files, read and written with the same form.
class TWSSInstrument : public TWInstrument
{
    RW_DECLARE_COLLECTABLE(TWSSInstrument)
public:
    using TWInstrument::TWInstrument;
};

class TWRhythmicInstrument : public TWSSInstrument
{
    RW_DECLARE_COLLECTABLE(TWRhythmicInstrument)
public:
    using TWSSInstrument::TWSSInstrument;
};

class TWMelodicInstrument : public TWSSInstrument
{
    RW_DECLARE_COLLECTABLE(TWMelodicInstrument)
public:
    using TWSSInstrument::TWSSInstrument;
};

class TWStringsInstrument : public TWMelodicInstrument
{
    RW_DECLARE_COLLECTABLE(TWStringsInstrument)
public:
    using TWMelodicInstrument::TWMelodicInstrument;
};

class TWWindInstrument : public TWMelodicInstrument
{
    RW_DECLARE_COLLECTABLE(TWWindInstrument)
public:
    using TWMelodicInstrument::TWMelodicInstrument;
};

class TWDroneInstrument : public TWSSInstrument
{
    RW_DECLARE_COLLECTABLE(TWDroneInstrument)
public:
    using TWSSInstrument::TWSSInstrument;
    bool isDrone() const override { return true; }
};
