// The per-thread store table (object address -> number) and read table
// (number -> object) that span one outermost save or restore call.
#pragma once

#include <unordered_map>
#include <vector>

class RWCollectable;

class RWStoreTable {
public:
    RWStoreTable();
    /// Number of the object, or -1 when it was not written yet.
    int find(const RWCollectable* p) const;
    /// Gives the object the next number.
    int add(const RWCollectable* p);
    /// Forgets the address of an object numbered `number`.
    void forget(const RWCollectable* p, int number);

private:
    std::unordered_map<const RWCollectable*, int> numbers_;
    int next_ = 0;
};

class RWReadTable {
public:
    RWReadTable() { entries_.push_back(nullptr); }
    std::size_t size() const { return entries_.size(); }
    RWCollectable* at(std::size_t i) const { return entries_[i]; }
    void append(RWCollectable* p) { entries_.push_back(p); }

private:
    std::vector<RWCollectable*> entries_;
};

/// Holds the thread's store table for the duration of a save call; the
/// outermost scope creates it and discards it on exit.
class RWSaveScope {
public:
    RWSaveScope();
    ~RWSaveScope();
    RWSaveScope(const RWSaveScope&) = delete;
    RWSaveScope& operator=(const RWSaveScope&) = delete;
    RWStoreTable& table();
};

/// Holds the thread's read table for the duration of a restore call and
/// counts the nesting depth.
class RWRestoreScope {
public:
    RWRestoreScope();
    ~RWRestoreScope();
    RWRestoreScope(const RWRestoreScope&) = delete;
    RWRestoreScope& operator=(const RWRestoreScope&) = delete;
    RWReadTable& table();
    int depth() const;
};
