#include "model/TWRhythmicItem.h"

#include "model/TWFactory.h"
#include "model/TWFolder.h"
#include "model/TWInstrument.h"
#include "model/TWRhythmicSequence.h"
#include "model/TWSettings.h"
#include "model/TWStreamHelpers.h"

#include <algorithm>

namespace
{
bool ItemPathOf(const RWCollectable* p, RWCString& path)
{
    if (const auto* item = dynamic_cast<const TWRhythmicItem*>(p)) {
        path = item->GetItemPath();
        return true;
    }
    if (const auto* key = dynamic_cast<const TWItemKey*>(p)) {
        path = key->GetItemPath();
        return true;
    }
    return false;
}
} // namespace

TWRhythmicItem::TWRhythmicItem(const RWCString& name, const RWCString& alias, TWFolder* folder)
    : mFolder(folder), mName(name), mAlias(alias)
{
}

void TWRhythmicItem::SetFolder(TWFolder* folder)
{
    mFolder = folder;
}

TWFolder* TWRhythmicItem::GetFolder() const
{
    return dynamic_cast<TWFolder*>(mFolder);
}

TWFactory* TWRhythmicItem::GetFactory() const
{
    const TWFolder* folder = GetFolder();
    return folder ? folder->GetFactory() : nullptr;
}

RWCString TWRhythmicItem::GetItemPath() const
{
    const TWFolder* folder = GetFolder();
    return folder ? folder->GetFolderPath() + mName : RWCString(mName);
}

void TWRhythmicItem::AddClient(TWRhythmicSequence* sequence)
{
    RWCollectable* client = static_cast<TWRhythmicItem*>(sequence);
    if (sequence && std::find(mClients.begin(), mClients.end(), client) == mClients.end())
        mClients.insert(client);
}

void TWRhythmicItem::RemoveClient(TWRhythmicSequence* sequence)
{
    RWCollectable* client = static_cast<TWRhythmicItem*>(sequence);
    for (std::size_t i = 0; i < mClients.entries(); ++i)
        if (mClients.at(i) == client) {
            mClients.removeAt(i);
            return;
        }
}

std::string TWRhythmicItem::GetUnderlyingPath() const
{
    const RWCString name = GetUnderlyingName();
    if (!isSequence() || name.isNull())
        return std::string();
    const TWFactory* factory = GetFactory();
    const bool trackItem = factory && factory->isTrackFactory();
    const TWSettings* settings = GetSettings();
    const std::string folder = trackItem ? settings->GetDefaultCompositionsTempPath() : settings->GetDefaultBinariesPath();
    return folder + "/" + name.str();
}

int TWRhythmicItem::compareTo(const RWCollectable* other) const
{
    RWCString path;
    if (!ItemPathOf(other, path))
        return RWCollectable::compareTo(other);
    return GetItemPath().compareTo(path);
}

unsigned TWRhythmicItem::hash() const
{
    return mName.hash(RWCString::exact);
}

bool TWRhythmicItem::isEqual(const RWCollectable* other) const
{
    RWCString path;
    return ItemPathOf(other, path) && path == GetItemPath();
}

void TWRhythmicItem::saveGuts(RWvostream& s) const
{
    s << mFolder;
    s << 0;
    mName.recursiveSaveOn(s);
    mAlias.recursiveSaveOn(s);
    mItemVersion.recursiveSaveOn(s);
}

void TWRhythmicItem::restoreGuts(RWvistream& s)
{
    mFolder = TWStream::ReadRef(s);
    int spare = 0;
    s >> spare;
    TWStream::ReadMember(s, mName);
    TWStream::ReadMember(s, mAlias);
    if (TWFolder* folder = GetFolder())
        folder->GetItems().insert(this);
    TWStream::ReadMember(s, mItemVersion);
    mItemVersion = kItemVersion;
}

RWCString TWItemKey::GetName() const
{
    return TWKeyName(mPath, false);
}

unsigned TWItemKey::hash() const
{
    return GetName().hash();
}

bool TWItemKey::isEqual(const RWCollectable* other) const
{
    RWCString path;
    return ItemPathOf(other, path) && path == mPath;
}
