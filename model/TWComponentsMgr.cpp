#include "model/TWComponentsMgr.h"

#include "model/TWFactory.h"
#include "model/TWFolder.h"
#include "model/TWInstrument.h"
#include "model/TWInstrumentAlias.h"
#include "model/TWInstrumentTrack.h"
#include "model/TWRhythmicCycle.h"
#include "model/TWTrackArrangement.h"

#include <algorithm>

namespace
{
const char* const kGMAliases[] = { "Tabla", "Dholak",  "Manjeera",    "Dhol",  "Bells", "Gunghroo",
                                   "Duff",  "Duggis",  "Tambourines", "Chimta", "Tumbi", "Ghatam",
                                   "Tanpura", "Drums", "Bass",        "Guitar", "General" };
}

TWComponentsMgr::TWComponentsMgr()
{
    CreateBuiltins();
}

TWComponentsMgr::~TWComponentsMgr()
{
    Clear();
    mAliases.clearAndDestroy();
}

void TWComponentsMgr::CreateBuiltins()
{
    auto addAlias = [this](const char* name, const char* family, bool first, bool second) {
        mAliases.insertKeyAndValue(new RWCollectableString(name),
                                   new TWInstrumentAlias(name, name, family, first, second));
    };
    addAlias("GM", "GM", true, true);
    addAlias("Audio", "Audio", true, true);
    for (const char* name : kGMAliases)
        addAlias(name, "GM", true, false);

    for (TWInstrumentAlias* alias : GetAliases()) {
        const RWCString& name = alias->GetInstrumentName();
        TWInstrument* instrument = alias->GetFamily() == "Audio" ? static_cast<TWInstrument*>(new TWAudioInstrument(name))
                                                                 : new TWGMInstrument(name);
        instrument->AddInstrumentPart("Main", 0, 127, 0, false);
        instrument->AddFactory()->AddRootFolder();
        mInstruments.insertKeyAndValue(new RWCollectableString(name), instrument);
        instrument->SetIndex(static_cast<int>(mInstruments.entries()) - 1);
    }
}

TWInstrumentAlias* TWComponentsMgr::GetInstrumentAlias(const RWCString& name) const
{
    const RWCollectableString key(name);
    return static_cast<TWInstrumentAlias*>(mAliases.findValue(&key));
}

TWInstrument* TWComponentsMgr::GetAbsoluteInstrument(const RWCString& name) const
{
    const TWInstrumentAlias* alias = GetInstrumentAlias(name);
    if (!alias)
        return nullptr;
    const RWCollectableString key(alias->GetInstrumentName());
    return static_cast<TWInstrument*>(mInstruments.findValue(&key));
}

TWInstrument* TWComponentsMgr::GetInstrument(const RWCString& name) const
{
    if (TWInstrument* instrument = GetAbsoluteInstrument(name))
        return instrument;
    const TWInstrumentAlias* alias = GetInstrumentAlias(name);
    if (!alias)
        return nullptr;
    const RWCollectableString key(alias->GetFamily());
    return static_cast<TWInstrument*>(mInstruments.findValue(&key));
}

TWInstrument* TWComponentsMgr::GetNewInstrument(const RWCString& name) const
{
    const TWInstrument* instrument = GetInstrument(name);
    return instrument ? instrument->Clone() : nullptr;
}

std::vector<TWInstrument*> TWComponentsMgr::GetInstruments() const
{
    std::vector<TWInstrument*> instruments;
    mInstruments.forEachKeyAndValue(
        [&](RWCollectable*, RWCollectable* value) { instruments.push_back(static_cast<TWInstrument*>(value)); });
    return instruments;
}

std::vector<TWInstrumentAlias*> TWComponentsMgr::GetAliases() const
{
    std::vector<TWInstrumentAlias*> aliases;
    mAliases.forEachKeyAndValue(
        [&](RWCollectable*, RWCollectable* value) { aliases.push_back(static_cast<TWInstrumentAlias*>(value)); });
    return aliases;
}

TWFactory* TWComponentsMgr::GetCurrentFactory() const
{
    return TWFactory::GetReadingFactory();
}

TWFactory* TWComponentsMgr::NewTrackFactory(TWInstrumentTrack* track) const
{
    TWInstrument* own = track ? track->GetInstrument() : nullptr;
    const TWInstrument* library = own ? GetInstrument(own->GetName()) : nullptr;
    if (!library)
        return nullptr;
    TWFolder* folder = library->GetFolder("All:Loops\\Cycles\\");
    if (!folder && library->GetFactory())
        folder = library->GetFactory()->GetRootFolder();
    TWFactory* source = folder ? folder->GetFactory() : nullptr;
    if (!source)
        return nullptr;
    TWFactory* factory = source->MinimalClone(own);
    own->AdoptFactory(factory);
    TWRootFolder* root = factory->GetRootFolder();
    TWRhythmicCycle* main = factory->CreateRhythmicCycle("MainSequence", "Track sequence", root, LMFraction(1), 300,
                                                         300, 300);
    track->SetMainSequence(main);
    track->SetMainFolder(root);
    const long long cells = TWTrackArrangement::Floor(track->GetTrackFactor() * LMFraction(300));
    main->MergeItems(main->GetSequencedItem(0), 300);
    main->SplitItem(main->GetSequencedItem(0), static_cast<int>(std::max(1LL, std::min(cells, 1LL << 20))));
    return factory;
}

void TWComponentsMgr::Clear()
{
    mInstruments.clearAndDestroy();
}

TWComponentsMgr* GetComponentsMgr()
{
    static TWComponentsMgr g_ComponentsMgr;
    return &g_ComponentsMgr;
}
