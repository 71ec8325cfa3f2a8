// Process-wide registry from class identifier to creation function.
//
// Register a persistent class once at start-up, before any file is read:
//     rwAddToFactory(&TWComposition::create, 313);
// or  rwRegisterClass<TWComposition>(313);
// The first registration of an identifier stands; later ones are ignored.
// The persistence layer's own classes are registered when the factory is
// first used.
#pragma once

#include "persist/RWDefs.h"

#include <map>
#include <mutex>

class RWCollectable;

using RWuserCreator = RWCollectable* (*)();

class RWFactory {
public:
    static RWFactory& instance();

    /// Registers `creator` for `id`; false when `id` was already registered.
    bool addFunction(RWuserCreator creator, RWClassID id);
    /// A new object of the class registered for `id`, or nil.
    RWCollectable* create(RWClassID id) const;
    bool isRegistered(RWClassID id) const;

private:
    RWFactory();
    mutable std::mutex lock_;
    std::map<RWClassID, RWuserCreator> creators_;
};

/// Registers `creator` for `id` (first registration wins).
bool rwAddToFactory(RWuserCreator creator, RWClassID id);
/// A new object for `id` from the factory, or nil.
RWCollectable* rwCreateFromFactory(RWClassID id);

template <class T> bool rwRegisterClass(RWClassID id)
{
    return rwAddToFactory([]() -> RWCollectable* { return new T; }, id);
}
