// Owner of persistent objects that several others may point to.
//
// The persistent model never deletes through the pointers it follows: a
// library graph read from a file may share any object between any two
// owners. Instead every object has exactly one arena:
//  - objects read from a file belong to the arena of that read
//    (TWRestoreObjects below), kept by whoever loads the file;
//  - objects the program creates belong to the factory, instrument or
//    sequence that creates them.
// An arena deletes its objects when it dies (collections emptied first,
// so nothing is deleted twice). Copying an arena gives an empty one.
#pragma once

#include "persist/RWCollectable.h"

#include <unordered_set>
#include <vector>

class RWvistream;

class TWObjectArena
{
public:
    TWObjectArena() = default;
    TWObjectArena(const TWObjectArena&) {}
    TWObjectArena& operator=(const TWObjectArena&) { return *this; }
    ~TWObjectArena() { DestroyAll(); }

    /// Takes `p` (nil and objects already held are ignored); answers `p`.
    template <class T> T* Adopt(T* p)
    {
        AdoptObject(p);
        return p;
    }
    void AdoptAll(const std::vector<RWCollectable*>& objects);
    bool Owns(const RWCollectable* p) const { return mSet.count(p) != 0; }
    std::size_t size() const { return mObjects.size(); }
    /// Deletes every object held.
    void DestroyAll();
    /// Gives up `p` without deleting it; false when it was not held.
    bool Release(const RWCollectable* p);
    /// Takes every object of `other`, which is left empty.
    void TakeAll(TWObjectArena& other);

private:
    void AdoptObject(RWCollectable* p);
    std::vector<RWCollectable*> mObjects;
    std::unordered_set<const RWCollectable*> mSet;
};

/// Reads one object reference; every object the read creates goes to
/// `arena`. When the read throws, the objects created are deleted and the
/// exception passes on.
RWCollectable* TWRestoreObjects(RWvistream& s, TWObjectArena& arena, RWCollectable* into = nullptr);
