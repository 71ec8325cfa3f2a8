#pragma once

#include "persist/RWCollectableString.h"
#include "persist/RWHashDictionary.h"

#include <vector>

class TWFactory;
class TWInstrument;
class TWInstrumentAlias;
class TWInstrumentTrack;

// The built-in instruments and their libraries: 19 aliases ("GM", "Audio",
// "Tabla", ...) and one instrument per alias, made in the alias
// dictionary's order, each with one library of one root folder holding the
// silent stroke.
class TWComponentsMgr
{
public:
    static constexpr const char* kVersionTag = "QN312";

    TWComponentsMgr();
    ~TWComponentsMgr();
    TWComponentsMgr(const TWComponentsMgr&) = delete;
    TWComponentsMgr& operator=(const TWComponentsMgr&) = delete;

    TWInstrumentAlias* GetInstrumentAlias(const RWCString& name) const;
    // The instrument named by the alias of that name.
    TWInstrument* GetAbsoluteInstrument(const RWCString& name) const;
    // GetAbsoluteInstrument, else the instrument named by the alias's family.
    TWInstrument* GetInstrument(const RWCString& name) const;
    // A clone (owned by the caller) of GetInstrument(name), or nil.
    TWInstrument* GetNewInstrument(const RWCString& name) const;
    // The instruments in dictionary order.
    std::vector<TWInstrument*> GetInstruments() const;
    std::size_t GetInstrumentCount() const { return mInstruments.entries(); }
    // The aliases in dictionary order.
    std::vector<TWInstrumentAlias*> GetAliases() const;
    const RWCollectableString& GetVersionTag() const { return mVersionTag; }
    // The library being read on this thread, or nil.
    TWFactory* GetCurrentFactory() const;

    // The track library of a new composition track: a minimal clone of the
    // library of the track's instrument (its folder "All:Loops\\Cycles\\",
    // else its first root folder), added to the track's instrument and made
    // current, holding the main sequence "MainSequence" of track factor x
    // 300 silent cells of one grid unit each; nil when there is none.
    TWFactory* NewTrackFactory(TWInstrumentTrack* track) const;

    // Destroys all instruments.
    void Clear();

private:
    void CreateBuiltins();

    RWCollectableString mVersionTag = kVersionTag;
    RWHashDictionary mInstruments; // name -> TWInstrument, owned
    RWHashDictionary mAliases;     // alias name -> TWInstrumentAlias, owned
};

TWComponentsMgr* GetComponentsMgr();
