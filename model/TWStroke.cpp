#include "model/TWStroke.h"

#include "model/TWClassIDs.h"
#include "model/TWFactory.h"
#include "model/TWInstrumentPart.h"
#include "model/TWObjectArena.h"
#include "model/TWSound.h"
#include "model/TWStreamHelpers.h"
#include "model/TWStrokesManager.h"
#include "model/TWSwarManager.h"
#include "persist/RWCollection.h"
#include "persist/RWReadingVersion.h"

#include <algorithm>
#include <cstdlib>

RW_DEFINE_COLLECTABLE(TWLeftStroke, TWClassIDs::LeftStroke)
RW_DEFINE_COLLECTABLE(TWRightStroke, TWClassIDs::RightStroke)
RW_DEFINE_COLLECTABLE(TWTunedStroke, TWClassIDs::TunedStroke)
RW_DEFINE_COLLECTABLE(TWUnaudibleStroke, TWClassIDs::UnaudibleStroke)
RW_DEFINE_COLLECTABLE(TWAnyStroke, TWClassIDs::AnyStroke)

namespace
{
bool SameValue(const RWCollectable* a, const RWCollectable* b)
{
    if (!a || !b)
        return a == b;
    return a == b || a->isEqual(b);
}

// A value's hash; containers and unknown objects hash by kind only, so the
// hash never depends on an address.
unsigned ValueHash(const RWCollectable* p)
{
    if (!p || dynamic_cast<const RWCollection*>(p))
        return 0;
    return p->isA() == 0x800A || p->isA() == 0x800B || p->isA() == 40 ? p->hash() : p->isA();
}

} // namespace

RWCString TWAudibleStroke::GetName() const
{
    const TWSound* sound = GetSound();
    return sound ? sound->GetName() : RWCString();
}

TWSound* TWAudibleStroke::GetSound() const
{
    return dynamic_cast<TWSound*>(mSound);
}

TWAudibleStroke* TWAudibleStroke::DetachedCopy(TWSound* sound, TWObjectArena& arena) const
{
    auto* stroke = arena.Adopt(static_cast<TWAudibleStroke*>(newSpecies()));
    stroke->mSound = sound;
    for (int i = 0; i < 2; ++i)
        if (mValues[i] && !dynamic_cast<const RWCollection*>(mValues[i]))
            stroke->mValues[i] = arena.Adopt(mValues[i]->copy());
    if (auto* tuned = dynamic_cast<TWTunedStroke*>(stroke))
        tuned->mNote = GetNote();
    return stroke;
}

unsigned TWAudibleStroke::hash() const
{
    const TWSwar* note = GetNote();
    return GetName().hash() ^ (ValueHash(mValues[0]) * 31u) ^ (ValueHash(mValues[1]) * 131u)
        ^ (note ? static_cast<unsigned>(note->GetIndex()) * 7u : 0u) ^ isA();
}

bool TWAudibleStroke::isEqual(const RWCollectable* other) const
{
    const auto* stroke = dynamic_cast<const TWAudibleStroke*>(other);
    if (!stroke || stroke->isA() != isA())
        return false;
    const TWSwar* a = GetNote();
    const TWSwar* b = stroke->GetNote();
    const bool sameNote = a == b || (a && b && a->GetIndex() == b->GetIndex());
    return sameNote && GetName() == stroke->GetName() && SameValue(mValues[0], stroke->mValues[0])
        && SameValue(mValues[1], stroke->mValues[1]);
}

void TWAudibleStroke::saveGuts(RWvostream& s) const
{
    s << mSound << mValues[0] << mValues[1];
}

void TWAudibleStroke::restoreGuts(RWvistream& s)
{
    RestoreAudible(s, Hand::Any);
}

void TWAudibleStroke::RestoreAudible(RWvistream& s, Hand hand)
{
    mSound = TWStream::ReadRef(s);
    if (const TWSound* sound = GetSound()) {
        TWStrokesManager* manager = GetStrokesManager();
        if (hand == Hand::Left)
            manager->StoreLeftSound(sound);
        else if (hand == Hand::Right)
            manager->StoreRightSound(sound);
        else
            manager->StoreSound(sound);
    }
    mValues[0] = TWStream::ReadRef(s);
    mValues[1] = TWStream::ReadRef(s);
}

void TWAudibleStroke::StoreInManager()
{
    GetStrokesManager()->StoreStroke(this);
}

void TWLeftStroke::restoreGuts(RWvistream& s)
{
    RestoreAudible(s, Hand::Left);
    StoreInManager();
}

void TWRightStroke::restoreGuts(RWvistream& s)
{
    RestoreAudible(s, Hand::Right);
    StoreInManager();
}

TWSwar* TWTunedStroke::GetNote() const
{
    return dynamic_cast<TWSwar*>(mNote);
}

void TWTunedStroke::saveGuts(RWvostream& s) const
{
    TWAudibleStroke::saveGuts(s);
    s << mNote;
}

void TWTunedStroke::restoreGuts(RWvistream& s)
{
    RestoreAudible(s, Hand::Any);
    mNote = TWShareNote(s, TWStream::ReadRef(s));
    if (s.good())
        StoreInManager();
}

int TWAnyStroke::ConvertOldValue(int v)
{
    if (v == 0)
        return 0;
    const long magnitude = std::min(30L, (std::labs(static_cast<long>(v)) + 3) / 4);
    return static_cast<int>(v < 0 ? -magnitude : magnitude);
}

void TWAnyStroke::saveGuts(RWvostream& s) const
{
    s << mInstrumentSound << mValueOne << mName << mNote << mValueTwo;
}

void TWAnyStroke::restoreGuts(RWvistream& s)
{
    using namespace TWStream;
    mInstrumentSound = ReadRef(s);
    Read(s, mValueOne);
    mName = ReadRef(s);
    mNote = ReadRef(s);
    Read(s, mValueTwo);
    if (auto* name = dynamic_cast<RWCollectableString*>(mName))
        if (TWFactory* factory = TWFactory::GetReadingFactory())
            mName = factory->GetSymbolManager().AddSymbolRef(6, name);
    mNote = TWShareNote(s, mNote);
    if (!rwReadingVersionAtLeast("QN306")) {
        mValueTwo = ConvertOldValue(mValueTwo);
        const auto* sound = dynamic_cast<const TWInstrumentSound*>(mInstrumentSound);
        const TWInstrumentPart* part = sound ? sound->GetPart() : nullptr;
        mValueOne = part && part->GetFlag() ? std::clamp(mValueOne, -30, 30) : 0;
    }
}
