#include "model/TWFolder.h"

#include "model/LUFilePath.h"
#include "model/TWClassIDs.h"
#include "model/TWFactory.h"
#include "model/TWStreamHelpers.h"

RW_DEFINE_COLLECTABLE(TWRootFolder, TWClassIDs::RootFolder)
RW_DEFINE_COLLECTABLE(TWSubFolder, TWClassIDs::SubFolder)

namespace
{
// Deepest folder nesting a path is built for; a damaged file may even make
// a folder its own ancestor.
constexpr int kMaxFolderDepth = 256;

bool PathOf(const RWCollectable* p, RWCString& path)
{
    if (const auto* folder = dynamic_cast<const TWFolder*>(p)) {
        path = folder->GetFolderPath();
        return true;
    }
    if (const auto* key = dynamic_cast<const TWFolderKey*>(p)) {
        path = key->GetFolderPath();
        return true;
    }
    return false;
}
} // namespace

bool TWFolder::isRhythmicLibrary() const
{
    return !mFactory || mFactory->GetContainer().isRhythmic();
}

int TWFolder::compareTo(const RWCollectable* other) const
{
    RWCString path;
    if (!PathOf(other, path))
        return RWCollectable::compareTo(other);
    return GetFolderPath().compareTo(path);
}

unsigned TWFolder::hash() const
{
    return GetName().hash();
}

bool TWFolder::isEqual(const RWCollectable* other) const
{
    RWCString path;
    return PathOf(other, path) && path == GetFolderPath();
}

void TWFolder::saveGuts(RWvostream& s) const
{
    mSubFolders.recursiveSaveOn(s);
}

void TWFolder::restoreGuts(RWvistream& s)
{
    mFactory = TWFactory::GetReadingFactory();
    TWStream::ReadMember(s, mSubFolders);
    mItems.clear();
}

RWCString TWRootFolder::GetFolderPath() const
{
    if (isRhythmicLibrary())
        return RWCString();
    return mName + RWCString(":");
}

RWCString TWRootFolder::GetName() const
{
    return isRhythmicLibrary() ? RWCString() : RWCString(mName);
}

void TWRootFolder::saveGuts(RWvostream& s) const
{
    mName.recursiveSaveOn(s);
    TWFolder::saveGuts(s);
    if (!isRhythmicLibrary()) {
        s << mRaagProperties;
        s << mDefaultStroke;
    }
}

void TWRootFolder::restoreGuts(RWvistream& s)
{
    TWStream::ReadMember(s, mName);
    TWFolder::restoreGuts(s);
    if (!isRhythmicLibrary()) {
        mRaagProperties = TWStream::ReadRef(s);
        mDefaultStroke = TWStream::ReadRef(s);
    }
}

RWCString TWSubFolder::GetFolderPath() const
{
    std::string path = mName.str() + "\\";
    const RWCollectable* parent = mParent;
    for (int depth = 0; parent && depth < kMaxFolderDepth; ++depth) {
        if (const auto* sub = dynamic_cast<const TWSubFolder*>(parent)) {
            path = sub->mName.str() + "\\" + path;
            parent = sub->mParent;
        } else {
            if (const auto* root = dynamic_cast<const TWRootFolder*>(parent))
                path = root->GetFolderPath().str() + path;
            break;
        }
    }
    return RWCString(std::move(path));
}

void TWSubFolder::saveGuts(RWvostream& s) const
{
    mName.recursiveSaveOn(s);
    s << mParent;
    TWFolder::saveGuts(s);
}

void TWSubFolder::restoreGuts(RWvistream& s)
{
    TWStream::ReadMember(s, mName);
    mParent = TWStream::ReadRef(s);
    TWFolder::restoreGuts(s);
}

RWCString TWKeyName(const RWCString& path, bool folderKey)
{
    RWCString text = path;
    if (folderKey && text.length() > 0 && text[text.length() - 1] == '\\')
        text = RWCString(text.str().substr(0, text.length() - 1));
    else if (folderKey && text.length() > 0 && text[text.length() - 1] == ':')
        return RWCString(text.str().substr(0, text.length() - 1));
    const std::size_t slash = LUFilePath::LastIndexOf(text, '\\');
    if (slash != RW_NPOS)
        return RWCString(text.str().substr(slash + 1));
    const std::size_t colon = LUFilePath::LastIndexOf(text, ':');
    if (colon != RW_NPOS)
        return RWCString(text.str().substr(colon + 1));
    return text;
}

RWCString TWFolderKey::GetName() const
{
    return TWKeyName(mPath, true);
}

unsigned TWFolderKey::hash() const
{
    return GetName().hash();
}

bool TWFolderKey::isEqual(const RWCollectable* other) const
{
    RWCString path;
    return PathOf(other, path) && path == mPath;
}
