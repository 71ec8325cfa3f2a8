#include "model/LUFilePath.h"

std::size_t LUFilePath::LastIndexOf(const RWCString& text, char c)
{
    const std::size_t at = text.str().rfind(c);
    return at == std::string::npos ? RW_NPOS : at;
}

RWCString LUFilePath::GetRootOnly() const
{
    const std::size_t colon = LastIndexOf(mPath, ':');
    return colon == RW_NPOS ? RWCString() : RWCString(mPath.str().substr(0, colon));
}

RWCString LUFilePath::GetPathWithoutRoot() const
{
    const std::size_t colon = LastIndexOf(mPath, ':');
    return colon == RW_NPOS ? mPath : RWCString(mPath.str().substr(colon + 1));
}

RWCString LUFilePath::GetPathOnly() const
{
    const std::size_t slash = LastIndexOf(mPath, '\\');
    return slash == RW_NPOS ? RWCString() : RWCString(mPath.str().substr(0, slash));
}

RWCString LUFilePath::GetNameOnly() const
{
    const std::size_t slash = LastIndexOf(mPath, '\\');
    return slash == RW_NPOS ? mPath : RWCString(mPath.str().substr(slash + 1));
}

RWCString LUFilePath::GetNameWithoutExtension() const
{
    const RWCString name = GetNameOnly();
    const std::size_t dot = LastIndexOf(name, '.');
    return dot == RW_NPOS ? name : RWCString(name.str().substr(0, dot));
}

bool LUFilePath::isPath() const
{
    return LastIndexOf(mPath, '\\') != RW_NPOS;
}
