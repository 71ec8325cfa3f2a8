#include "persist/RWReadingVersion.h"

namespace {
thread_local RWCString currentTag;
}

void rwSetReadingVersion(const RWCString& tag)
{
    currentTag = tag;
}

const RWCString& rwGetReadingVersion()
{
    return currentTag;
}

bool rwReadingVersionAtLeast(const char* tag)
{
    return currentTag.compareTo(tag, RWCString::exact) >= 0;
}

RWReadingVersionScope::RWReadingVersionScope(const RWCString& tag) : previous_(currentTag)
{
    currentTag = tag;
}

RWReadingVersionScope::~RWReadingVersionScope()
{
    currentTag = previous_;
}
