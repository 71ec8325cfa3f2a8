// Records every object that the factory creates while reading, so that a
// caller can release a graph that was only partly read, or whose reading
// was abandoned by an exception:
//
//     RWCreationLog log;
//     try { root = RWCollectable::recursiveRestoreFrom(s); }
//     catch (const RWxmsg&) { log.destroyAll(); throw; }
//
// Logs nest: every active log of the reading thread records each object,
// and objects deleted through one log are dropped from the enclosing ones.
#pragma once

#include <vector>

class RWCollectable;

class RWCreationLog {
public:
    RWCreationLog();
    ~RWCreationLog();
    RWCreationLog(const RWCreationLog&) = delete;
    RWCreationLog& operator=(const RWCreationLog&) = delete;

    /// Objects created while this log was active, in reading order.
    const std::vector<RWCollectable*>& objects() const { return objects_; }
    /// Deletes every recorded object once and empties the log. Containers are
    /// emptied first (removeAll), so this is safe with the persistence
    /// layer's own classes; a class whose destructor deletes the objects it
    /// points to must not be released this way.
    void destroyAll();
    /// Forgets the recorded objects without deleting them (enclosing logs
    /// keep them).
    void release() { objects_.clear(); }

    /// Called by the reader for every object it creates.
    static void record(RWCollectable* p);

private:
    std::vector<RWCollectable*> objects_;
    RWCreationLog* outer_;
};
