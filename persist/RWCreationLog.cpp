#include "persist/RWCreationLog.h"

#include "persist/RWCollection.h"

#include <algorithm>
#include <unordered_set>

namespace {
thread_local RWCreationLog* innermost = nullptr;
}

RWCreationLog::RWCreationLog() : outer_(innermost)
{
    innermost = this;
}

RWCreationLog::~RWCreationLog()
{
    innermost = outer_;
}

void RWCreationLog::destroyAll()
{
    std::vector<RWCollectable*> objects;
    objects.swap(objects_);
    // Containers first let go of what they hold, so nothing is deleted twice.
    for (RWCollectable* p : objects)
        if (auto* c = dynamic_cast<RWCollection*>(p))
            c->removeAll();
    for (RWCollectable* p : objects)
        delete p;
    // Enclosing logs recorded the same objects: they must not keep them.
    const std::unordered_set<RWCollectable*> gone(objects.begin(), objects.end());
    for (RWCreationLog* log = outer_; log; log = log->outer_) {
        auto& v = log->objects_;
        v.erase(std::remove_if(v.begin(), v.end(), [&](RWCollectable* p) { return gone.count(p) != 0; }), v.end());
    }
}

void RWCreationLog::record(RWCollectable* p)
{
    for (RWCreationLog* log = innermost; log; log = log->outer_)
        log->objects_.push_back(p);
}
