// The version tag of the file being read ("QN313" and the like).
//
// A loader sets it right after reading a file's tag; restoreGuts of classes
// whose layout changed ask rwReadingVersionAtLeast("QN308") and the like.
// It is held per thread (reads on different threads do not disturb each
// other) and is "" when no read is in progress.
#pragma once

#include "persist/RWCString.h"

void rwSetReadingVersion(const RWCString& tag);
const RWCString& rwGetReadingVersion();
/// True when the current tag is not smaller than `tag` (exact compareTo).
bool rwReadingVersionAtLeast(const char* tag);

/// Sets the reading version for one scope; restores the previous on exit.
class RWReadingVersionScope {
public:
    explicit RWReadingVersionScope(const RWCString& tag);
    ~RWReadingVersionScope();
    RWReadingVersionScope(const RWReadingVersionScope&) = delete;
    RWReadingVersionScope& operator=(const RWReadingVersionScope&) = delete;

private:
    RWCString previous_;
};
