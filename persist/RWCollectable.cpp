#include "persist/RWCollectable.h"

#include "persist/RWCreationLog.h"
#include "persist/RWFactory.h"
#include "persist/RWObjectTables.h"
#include "persist/RWvistream.h"
#include "persist/RWvostream.h"
#include "persist/RWxmsg.h"

#include <cstdint>

RWCollectable::~RWCollectable() = default;

RWCollectable* RWCollectable::newSpecies() const
{
    return new RWCollectable;
}

RWCollectable* RWCollectable::copy() const
{
    return new RWCollectable(*this);
}

RWClassID RWCollectable::isA() const
{
    return RWClassIDs::collectable;
}

unsigned RWCollectable::binaryStoreSize() const
{
    return 0;
}

int RWCollectable::compareTo(const RWCollectable* other) const
{
    const auto a = reinterpret_cast<std::uintptr_t>(this);
    const auto b = reinterpret_cast<std::uintptr_t>(other);
    return a == b ? 0 : (a < b ? -1 : 1);
}

unsigned RWCollectable::hash() const
{
    const auto a = reinterpret_cast<std::uintptr_t>(this);
    return static_cast<unsigned>(a ^ (a >> 3));
}

bool RWCollectable::isEqual(const RWCollectable* other) const
{
    return this == other;
}

void RWCollectable::restoreGuts(RWvistream&) {}

void RWCollectable::saveGuts(RWvostream&) const {}

namespace {

void saveReference(RWvostream& s, const RWCollectable* p, bool asNew)
{
    RWSaveScope scope;
    RWStoreTable& table = scope.table();
    if (!p || !asNew) {
        const int number = table.find(p);
        if (number >= 0) {
            s << '@';
            s << number;
            return;
        }
    }
    const int number = table.add(p);
    s << ':';
    s << static_cast<unsigned short>(p->isA());
    s << '{';
    p->saveGuts(s);
    s << '}';
    if (asNew)
        table.forget(p, number);
}

} // namespace

void RWCollectable::recursiveSaveOn(RWvostream& s) const
{
    saveReference(s, this, false);
}

void RWCollectable::saveAsNewObject(RWvostream& s) const
{
    saveReference(s, this, true);
}

RWCollectable* RWCollectable::recursiveRestoreFrom(RWvistream& s, RWCollectable* into)
{
    RWRestoreScope scope;
    if (!s.good())
        return nullptr;
    char marker = 0;
    s >> marker;
    if (!s.good())
        return nullptr;
    RWReadTable& table = scope.table();
    if (marker == '@') {
        int number = 0;
        s >> number;
        if (s.fail())
            return nullptr;
        if (number < 0 || static_cast<std::size_t>(number) >= table.size()
            || (into && table.at(static_cast<std::size_t>(number)) != into))
            throw RWInternalErr(RWMessages::badReference());
        return table.at(static_cast<std::size_t>(number));
    }
    if (marker != ':') {
        s.setstate(std::ios_base::failbit);
        return nullptr;
    }
    if (scope.depth() > maxNestingDepth)
        throw RWExternalErr(RWMessages::nestingTooDeep(maxNestingDepth));
    unsigned short id = 0;
    s >> id;
    char brace = 0;
    s >> brace;
    if (!s.good() || brace != '{') {
        s.setstate(std::ios_base::failbit);
        return nullptr;
    }
    RWCollectable* object = into;
    if (!object) {
        object = rwCreateFromFactory(id);
        if (!object)
            throw RWInternalErr(RWMessages::noCreate(id));
        RWCreationLog::record(object);
    }
    table.append(object);
    object->restoreGuts(s);
    char closing = 0;
    s >> closing; // the closing brace, not compared
    return object;
}

RWvostream& operator<<(RWvostream& s, const RWCollectable* p)
{
    saveReference(s, p, false);
    return s;
}

RWvostream& operator<<(RWvostream& s, const RWCollectable& obj)
{
    obj.recursiveSaveOn(s);
    return s;
}

RWvistream& operator>>(RWvistream& s, RWCollectable*& p)
{
    p = RWCollectable::recursiveRestoreFrom(s, nullptr);
    return s;
}

RWvistream& operator>>(RWvistream& s, RWCollectable& obj)
{
    RWCollectable::recursiveRestoreFrom(s, &obj);
    return s;
}
