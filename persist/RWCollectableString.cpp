#include "persist/RWCollectableString.h"

RW_DEFINE_COLLECTABLE(RWCollectableString, RWClassIDs::collectableString)

int RWCollectableString::compareTo(const RWCollectable* other) const
{
    auto* s = dynamic_cast<const RWCollectableString*>(other);
    return s ? RWCString::compareTo(*s, RWCString::exact) : RWCollectable::compareTo(other);
}

unsigned RWCollectableString::hash() const
{
    return RWCString::hash(RWCString::exact);
}

bool RWCollectableString::isEqual(const RWCollectable* other) const
{
    auto* s = dynamic_cast<const RWCollectableString*>(other);
    return s && static_cast<const RWCString&>(*this) == static_cast<const RWCString&>(*s);
}

void RWCollectableString::restoreGuts(RWvistream& s)
{
    restoreFrom(s);
}

void RWCollectableString::saveGuts(RWvostream& s) const
{
    saveOn(s);
}
