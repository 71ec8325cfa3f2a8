#pragma once

#include "persist/RWCString.h"

// A library path such as "All:Loops\\Cycles\\Teental": the root before the
// last colon, folders separated by backslashes, the name after the last
// backslash.
class LUFilePath
{
public:
    explicit LUFilePath(const RWCString& path) : mPath(path) {}

    // Before the last colon; "" when there is none.
    RWCString GetRootOnly() const;
    // After the last colon; the whole text when there is none.
    RWCString GetPathWithoutRoot() const;
    // Before the last backslash; "" when there is none.
    RWCString GetPathOnly() const;
    // After the last backslash; the whole text when there is none.
    RWCString GetNameOnly() const;
    // The name up to its last point.
    RWCString GetNameWithoutExtension() const;
    bool isPath() const;

    static std::size_t LastIndexOf(const RWCString& text, char c);

private:
    RWCString mPath;
};
