#include "model/TWPlaybackMgr.h"

#include "model/LUAppFolders.h"
#include "model/TWBuiltinInstruments.h"
#include "model/TWFileWriting.h"
#include "model/TWStreamHelpers.h"
#include "persist/RWCreationLog.h"
#include "persist/RWpfstream.h"

#include <filesystem>
#include <system_error>

namespace
{
TWPlaybackMgr::MIDIRefresher g_MIDIRefresher = nullptr;
}

TWPlaybackMgr::TWPlaybackMgr()
{
    CreateDefaultPatches();
    LoadPatches();
}

TWPlaybackMgr::~TWPlaybackMgr()
{
    ClearMIDIPatches();
}

TWMIDIPatch* TWPlaybackMgr::GetPatch(std::size_t index) const
{
    return static_cast<TWMIDIPatch*>(mMainList.at(index));
}

void TWPlaybackMgr::CreateDefaultPatches()
{
    for (const auto& b : kBuiltinInstruments)
        AddMIDIPatch(b.name, kBuiltinInstrumentBank, 0, b.slot, -1, "", b.drumKit, 0, 0, b.engineName, b.photo, "");
}

TWMIDIPatch* TWPlaybackMgr::AddMIDIPatch(const char* name, short bank, short subBank, short slot, short program,
                                         const char* folder, bool drumKit, short reservedShort, int reservedInt,
                                         const char* engineName, const char* photo, const char* extension)
{
    auto* patch = new TWMIDIPatch;
    patch->SetName(name);
    patch->mBank = bank;
    patch->mSubBank = subBank;
    patch->mSlot = slot;
    patch->mProgram = program;
    patch->mPluginFolder = folder;
    patch->mDrumKit = drumKit;
    patch->mReservedShort = reservedShort;
    patch->mReservedInt = reservedInt;
    patch->mEngineName = engineName;
    patch->mPhoto = photo;
    patch->mPluginExtension = extension;
    mMainList.insert(patch);
    return patch;
}

std::string TWPlaybackMgr::GetPatchesPath()
{
    return LUAppFolders::GetDataFolder() + kFileName;
}

bool TWPlaybackMgr::LoadPatches()
{
    return LoadPatchesFrom(GetPatchesPath());
}

bool TWPlaybackMgr::LoadPatchesFrom(const std::string& path)
{
    mKeepUnreadFile = false;
    RWpifstream s(path);
    if (!s.isOpen())
        return false;

    RWCollectableString tag;
    RWOrdered read;
    bool complete = false;
    {
        RWCreationLog log;
        try {
            TWStream::ReadTopLevelValue(s, tag);
            if (tag.compareTo(kVersionTag) <= 0) {
                RWCollectable::recursiveRestoreFrom(s, &read);
                complete = !s.fail();
            }
        } catch (const std::exception&) {
            // Damaged data, or a path that is no readable file.
            complete = false;
        }
        // The user list keeps copies of the entries; everything read goes.
        read.forEach([this](RWCollectable* p) {
            if (auto* patch = dynamic_cast<TWMIDIPatch*>(p))
                mUserList.insert(new TWMIDIPatch(*patch));
        });
        read.clear();
        log.destroyAll();
    }
    // An empty file holds no entries: nothing of the user's is lost.
    std::error_code ec;
    const bool empty = std::filesystem::is_regular_file(path, ec) && std::filesystem::file_size(path, ec) == 0;
    mKeepUnreadFile = !complete && !empty;

    for (RWCollectable* p : mUserList)
        ApplyUserPatch(*static_cast<TWMIDIPatch*>(p));
    return complete;
}

void TWPlaybackMgr::ApplyUserPatch(const TWMIDIPatch& patch)
{
    if (TWMIDIPatch* existing = GetMIDIPatch(patch.mBank, patch.mSubBank, patch.mSlot))
        *existing = patch;
    else
        InsertCustomPatchInList(patch);
}

void TWPlaybackMgr::AddUserPatch(const TWMIDIPatch& patch)
{
    mUserList.insert(new TWMIDIPatch(patch));
    ApplyUserPatch(patch);
}

bool TWPlaybackMgr::SavePatches() const
{
    return SavePatchesTo(GetPatchesPath());
}

bool TWPlaybackMgr::SavePatchesTo(const std::string& path) const
{
    if (mKeepUnreadFile)
        return false;
    return TWReplaceFile(path, [this](RWvostream& s) {
        RWCollectableString(kVersionTag).recursiveSaveOn(s);
        mUserList.recursiveSaveOn(s);
    });
}

TWMIDIPatch* TWPlaybackMgr::GetMIDIPatch(short bank, short subBank, short slot) const
{
    for (RWCollectable* p : mMainList) {
        auto* patch = static_cast<TWMIDIPatch*>(p);
        if (patch->HasKey(bank, subBank, slot))
            return patch;
    }
    return nullptr;
}

TWMIDIPatch* TWPlaybackMgr::GetDefaultPatch(const RWCString& name) const
{
    for (RWCollectable* p : mMainList)
        if (static_cast<TWMIDIPatch*>(p)->mName == name)
            return static_cast<TWMIDIPatch*>(p);
    for (RWCollectable* p : mMainList)
        if (static_cast<TWMIDIPatch*>(p)->mName.contains(name))
            return static_cast<TWMIDIPatch*>(p);
    return nullptr;
}

TWMIDIPatch* TWPlaybackMgr::InsertCustomPatchInList(const TWMIDIPatch& patch)
{
    auto* copy = new TWMIDIPatch(patch);
    std::size_t i = 0;
    while (i < mMainList.entries() && static_cast<TWMIDIPatch*>(mMainList.at(i))->mName.compareTo(patch.mName) <= 0)
        ++i;
    mMainList.insertAt(i, copy);
    return copy;
}

void TWPlaybackMgr::ClearMIDIPatches()
{
    mMainList.clearAndDestroy();
    mUserList.clearAndDestroy();
}

bool TWPlaybackMgr::GenerateMIDIFile(RWCollectable* composition, const std::string&, bool)
{
    if (!composition)
        return false;
    if (g_MIDIRefresher)
        g_MIDIRefresher(composition);
    return true;
}

void TWPlaybackMgr::SetMIDIRefresher(MIDIRefresher refresher)
{
    g_MIDIRefresher = refresher;
}

TWPlaybackMgr* GetPlaybackMgr()
{
    static TWPlaybackMgr g_PlaybackMgr;
    return &g_PlaybackMgr;
}
