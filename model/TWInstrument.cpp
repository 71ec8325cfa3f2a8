#include "model/TWInstrument.h"

#include "model/TWClassIDs.h"
#include "model/TWFactory.h"
#include "model/TWInstrumentPart.h"
#include "model/TWStreamHelpers.h"
#include "persist/RWReadingVersion.h"

RW_DEFINE_COLLECTABLE(TWInstrument, TWClassIDs::Instrument)
RW_DEFINE_COLLECTABLE(TWAudioInstrument, TWClassIDs::AudioInstrument)
RW_DEFINE_COLLECTABLE(TWGMInstrument, TWClassIDs::AudioInstrument)
RW_DEFINE_COLLECTABLE(TWSSInstrument, TWClassIDs::AudioInstrument)
RW_DEFINE_COLLECTABLE(TWRhythmicInstrument, TWClassIDs::RhythmicInstrument)
RW_DEFINE_COLLECTABLE(TWMelodicInstrument, TWClassIDs::MelodicInstrument)
RW_DEFINE_COLLECTABLE(TWStringsInstrument, TWClassIDs::StringsInstrument)
RW_DEFINE_COLLECTABLE(TWWindInstrument, TWClassIDs::WindInstrument)
RW_DEFINE_COLLECTABLE(TWDroneInstrument, TWClassIDs::DroneInstrument)

TWInstrument::TWInstrument(const RWCString& name) : mName(name)
{
    UpdateExclusive();
}

TWInstrument::TWInstrument(const TWInstrument& other)
    : RWCollectable(other), mName(other.mName), mExclusive(other.mExclusive), mOption(other.mOption)
{
    for (RWCollectable* p : other.mParts)
        if (auto* part = dynamic_cast<TWInstrumentPart*>(p))
            mParts.insert(mOwned.Adopt(new TWInstrumentPart(*part)));
}

TWInstrument::~TWInstrument()
{
    mFactories.clearAndDestroy();
}

TWInstrumentPart* TWInstrument::GetInstrumentPart(const RWCString& name) const
{
    for (RWCollectable* p : mParts)
        if (auto* part = dynamic_cast<TWInstrumentPart*>(p))
            if (part->GetName() == name)
                return part;
    return nullptr;
}

TWInstrumentPart* TWInstrument::AddInstrumentPart(const RWCString& name, short first, short second, short third,
                                                  bool flag)
{
    if (GetInstrumentPart(name))
        return nullptr;
    auto* part = mOwned.Adopt(new TWInstrumentPart(name, first, second, third, flag));
    mParts.insert(part);
    return part;
}

TWFactory* TWInstrument::AddFactory()
{
    auto* factory = new TWFactory(this);
    AdoptFactory(factory);
    return factory;
}

void TWInstrument::AdoptFactory(TWFactory* factory)
{
    if (!factory)
        return;
    if (mFactories.index(factory) == RW_NPOS)
        mFactories.insert(factory);
    mFactory = factory;
}

TWFolder* TWInstrument::GetFolder(const RWCString& path) const
{
    for (RWCollectable* p : mFactories)
        if (TWFolder* folder = static_cast<TWFactory*>(p)->GetFolder(path))
            return folder;
    return nullptr;
}

TWSymbolManager* TWInstrument::GetSymbolManager() const
{
    return mFactory ? &mFactory->GetSymbolManager() : nullptr;
}

void TWInstrument::UpdateExclusive()
{
    const std::string prefix = mName.str().substr(0, 5);
    mExclusive = prefix == "Duggi" || prefix == "Tumbi" || prefix == "Ektar";
}

void TWInstrument::saveGuts(RWvostream& s) const
{
    mName.recursiveSaveOn(s);
    mParts.recursiveSaveOn(s);
    s << (mFactory ? 1 : 0);
    s << mOption;
    if (mFactory)
        mFactory->GetContainer().saveGuts(s);
}

void TWInstrument::restoreGuts(RWvistream& s)
{
    using namespace TWStream;
    ReadMember(s, mName);
    ReadMember(s, mParts);
    int hasFactory = 0;
    Read(s, hasFactory);
    if (rwReadingVersionAtLeast("QN308"))
        Read(s, mOption);
    if (hasFactory && s.good()) {
        auto* factory = new TWFactory(this);
        factory->SetVersionTag(rwGetReadingVersion());
        AdoptFactory(factory);
        TWFactory::ReadingScope scope(factory);
        factory->GetContainer().restoreGuts(s);
    }
    UpdateExclusive();
}
