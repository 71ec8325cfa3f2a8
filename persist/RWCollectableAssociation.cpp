#include "persist/RWCollectableAssociation.h"

#include "persist/RWvistream.h"
#include "persist/RWvostream.h"

RW_DEFINE_COLLECTABLE(RWCollectableAssociation, RWClassIDs::collectableAssociation)

RWCollectable* RWCollectableAssociation::value(RWCollectable* v)
{
    RWCollectable* old = value_;
    value_ = v;
    return old;
}

const RWCollectable* RWCollectableAssociation::keyOf(const RWCollectable* other)
{
    auto* a = dynamic_cast<const RWCollectableAssociation*>(other);
    return a ? a->key_ : other;
}

int RWCollectableAssociation::compareTo(const RWCollectable* other) const
{
    const RWCollectable* k = keyOf(other);
    if (!key_ || !k)
        return key_ == k ? 0 : (key_ ? 1 : -1);
    return key_->compareTo(k);
}

unsigned RWCollectableAssociation::hash() const
{
    return key_ ? key_->hash() : 0;
}

bool RWCollectableAssociation::isEqual(const RWCollectable* other) const
{
    const RWCollectable* k = keyOf(other);
    return key_ && k && key_->isEqual(k);
}

bool RWCollectableAssociation::keyLeadsBack(const RWCollectable* key) const
{
    int steps = 0;
    for (const RWCollectable* k = key; k; k = keyOf(k) == k ? nullptr : keyOf(k))
        if (k == this || ++steps > 100000) // a cycle elsewhere counts too
            return true;
    return false;
}

void RWCollectableAssociation::restoreGuts(RWvistream& s)
{
    key_ = nullptr;
    RWCollectable* key = recursiveRestoreFrom(s, nullptr);
    // A key that is, or leads through association keys back to, this
    // association would make hash() and isEqual() recurse without end.
    if (keyLeadsBack(key)) {
        key = nullptr;
        s.setstate(std::ios_base::failbit);
    }
    key_ = key;
    value_ = recursiveRestoreFrom(s, nullptr);
}

void RWCollectableAssociation::saveGuts(RWvostream& s) const
{
    s << key_;
    s << value_;
}
