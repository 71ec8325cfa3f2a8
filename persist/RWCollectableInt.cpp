#include "persist/RWCollectableInt.h"

#include "persist/RWvistream.h"
#include "persist/RWvostream.h"

RW_DEFINE_COLLECTABLE(RWCollectableInt, RWClassIDs::collectableInt)

int RWCollectableInt::compareTo(const RWCollectable* other) const
{
    auto* o = dynamic_cast<const RWCollectableInt*>(other);
    if (!o)
        return RWCollectable::compareTo(other);
    return value_ == o->value_ ? 0 : (value_ < o->value_ ? -1 : 1);
}

unsigned RWCollectableInt::hash() const
{
    return static_cast<unsigned>(value_);
}

bool RWCollectableInt::isEqual(const RWCollectable* other) const
{
    auto* o = dynamic_cast<const RWCollectableInt*>(other);
    return o && o->value_ == value_;
}

void RWCollectableInt::restoreGuts(RWvistream& s)
{
    int v = 0;
    s >> v;
    if (!s.fail())
        value_ = v;
}

void RWCollectableInt::saveGuts(RWvostream& s) const
{
    s << static_cast<int>(value_);
}
