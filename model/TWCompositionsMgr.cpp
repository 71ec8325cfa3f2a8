#include "model/TWCompositionsMgr.h"

#include "model/TWComposition.h"
#include "model/TWFactory.h"
#include "model/TWFileWriting.h"
#include "model/TWFolder.h"
#include "model/TWInstrumentTrack.h"
#include "model/TWLoopRange.h"
#include "model/TWPlaybackMgr.h"
#include "model/TWRhythmicCycle.h"
#include "model/TWSettings.h"
#include "model/TWTrackArrangement.h"
#include "persist/RWReadingVersion.h"
#include "persist/RWpfstream.h"

#include <algorithm>

namespace
{
bool RefreshTracks(RWCollectable* p)
{
    auto* composition = dynamic_cast<TWComposition*>(p);
    if (!composition)
        return false;
    for (std::size_t i = 0; i < composition->GetTrackCount(); ++i) {
        unsigned long tick = 0;
        composition->GetTrack(static_cast<int>(i))->RefreshMIDITrack(tick, 0);
    }
    return true;
}

std::string Upper(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

// A detached copy: not a client of the items its cells use.
TWRhythmicItem* DetachedCopy(const TWRhythmicItem* item)
{
    TWRhythmicItem* copy = item->Clone();
    if (auto* sequence = dynamic_cast<TWRhythmicSequence*>(copy))
        for (std::size_t i = 0; i < sequence->GetCellCount(); ++i)
            if (TWRhythmicItem* used = sequence->GetSequencedItem(static_cast<int>(i))->GetItem())
                used->RemoveClient(sequence);
    return copy;
}
} // namespace

TWCompositionsMgr::TWCompositionsMgr()
{
    TWPlaybackMgr::SetMIDIRefresher(&RefreshTracks);
}

TWCompositionsMgr::~TWCompositionsMgr()
{
    mUndoCopy.reset();
    mCompositions.clear();
}

TWComposition* TWCompositionsMgr::GetComposition(int index) const
{
    return index >= 0 && static_cast<std::size_t>(index) < mCompositions.size()
               ? mCompositions[static_cast<std::size_t>(index)].get()
               : nullptr;
}

void TWCompositionsMgr::SetSlot(int index, TWComposition* composition)
{
    if (mCompositions.size() <= static_cast<std::size_t>(index))
        mCompositions.resize(static_cast<std::size_t>(index) + 1);
    // The undo copy may use items of the composition that goes.
    mUndoCopy.reset();
    mCompositions[static_cast<std::size_t>(index)].reset(composition);
}

bool TWCompositionsMgr::ClearComposition(int index)
{
    if (index < 0)
        return false;
    auto* composition = new TWComposition;
    composition->SetNewSongValues();
    SetSlot(index, composition);
    GetPlaybackMgr()->StopCurrentComposition();
    return true;
}

bool TWCompositionsMgr::SaveComposition(const std::string& path, int index)
{
    TWComposition* composition = GetComposition(index);
    if (!composition)
        return false;
    std::string target = path.empty() ? composition->GetFilePath() : path;
    if (target.empty())
        return false;
    if (Upper(target).find(".NVC") == std::string::npos)
        target += ".nvc";
    composition->SetFilePath(target);
    composition->TrimUnused();
    if (composition->isPractice())
        for (int i = 0; i < 3; ++i)
            if (!composition->GetTrack(i) || !composition->GetTrack(i)->GetMainSequence())
                return false;
    if (!TWReplaceFile(target, [composition](RWvostream& s) { s << composition; }))
        return false;
    composition->SetDirty(false);
    return true;
}

TWComposition* TWCompositionsMgr::ReadComposition(const std::string& path)
{
    RWpifstream s(path);
    if (!s.isOpen())
        return nullptr;
    TWObjectArena arena;
    RWCollectable* root = nullptr;
    {
        RWReadingVersionScope scope("");
        try {
            root = TWRestoreObjects(s, arena);
        } catch (...) {
            // Damaged or hostile data: what the read made is gone.
            return nullptr;
        }
    }
    auto* composition = dynamic_cast<TWComposition*>(root);
    if (!composition || s.fail()) {
        arena.DestroyAll();
        return nullptr;
    }
    arena.Release(composition);
    composition->TakeObjects(arena);
    return composition;
}

bool TWCompositionsMgr::LoadComposition(const std::string& path, int index)
{
    if (index < 0)
        return false;
    PrepareUndo(nullptr, false, false);
    SetSlot(index, nullptr);
    TWComposition* composition = ReadComposition(path);
    if (!composition) {
        if (index == 0)
            ClearComposition(0);
        return false;
    }
    SetSlot(index, composition);
    composition->SetFilePath(path);
    if (Upper(path).find(".QNP") != std::string::npos)
        composition->SetPractice(true);
    composition->AvoidChannel10();
    composition->SetDirty(false);
    GetPlaybackMgr()->StopCurrentComposition();
    return true;
}

const RWCString& TWCompositionsMgr::GetCurrentReadingVersion() const
{
    return rwGetReadingVersion();
}

bool TWCompositionsMgr::Edited(TWComposition* composition)
{
    PrepareUndo(nullptr, false, false);
    composition->SetDirty(true);
    return true;
}

TWRhythmicCycle* TWCompositionsMgr::AddTrackItem(int track, int position, int length)
{
    TWComposition* composition = GetComposition(0);
    TWInstrumentTrack* t = composition ? composition->GetTrack(track) : nullptr;
    if (!t)
        return nullptr;
    Edited(composition);
    return t->AddTrackItem(position, length);
}

bool TWCompositionsMgr::MoveTrackItem(int track, TWRhythmicItem* item, int instance, int position)
{
    TWComposition* composition = GetComposition(0);
    TWInstrumentTrack* t = composition ? composition->GetTrack(track) : nullptr;
    const int width = GetSettings()->GetTVBeatWidth();
    if (!t || width <= 0)
        return false;
    Edited(composition);
    const LMFraction units = LMFraction(position) * t->GetTrackFactor() * GetSettings()->GetViewFraction() / LMFraction(width);
    return t->MoveTrackItem(item, instance, units);
}

bool TWCompositionsMgr::SetTrackItemDuration(int track, TWRhythmicItem* item, int instance, int length)
{
    TWComposition* composition = GetComposition(0);
    TWInstrumentTrack* t = composition ? composition->GetTrack(track) : nullptr;
    const int width = GetSettings()->GetTVBeatWidth();
    if (!t || width <= 0)
        return false;
    Edited(composition);
    const LMFraction units = LMFraction(length) * t->GetTrackFactor() / LMFraction(width);
    const long long whole = TWTrackArrangement::Floor(units);
    return t->SetTrackItemDuration(item, instance, static_cast<int>(std::min<long long>(whole, 1 << 30)));
}

bool TWCompositionsMgr::RemoveTrackItem(int track, TWRhythmicItem* item, int instance)
{
    TWComposition* composition = GetComposition(0);
    TWInstrumentTrack* t = composition ? composition->GetTrack(track) : nullptr;
    if (!t)
        return false;
    Edited(composition);
    return t->RemoveTrackItem(item, instance);
}

bool TWCompositionsMgr::RenameTrackItem(int track, TWRhythmicItem* item, int, const RWCString& name)
{
    TWComposition* composition = GetComposition(0);
    TWInstrumentTrack* t = composition ? composition->GetTrack(track) : nullptr;
    if (!t)
        return false;
    Edited(composition);
    return t->RenameTrackItem(item, name);
}

bool TWCompositionsMgr::SetTrackPatch(int track, const RWCString& patchName)
{
    TWComposition* composition = GetComposition(0);
    TWInstrumentTrack* t = composition ? composition->GetTrack(track) : nullptr;
    if (!t)
        return false;
    t->SetMIDIPatch(patchName);
    composition->SetDirty(true);
    return true;
}

bool TWCompositionsMgr::ReplaceTrackItem(int track, int range, TWRhythmicSequence* sequence, const RWCString& name,
                                         int)
{
    TWComposition* composition = GetComposition(0);
    TWInstrumentTrack* t = composition ? composition->GetTrack(track) : nullptr;
    const TWLoopRange* loopRange = composition ? composition->GetLoopRange(range) : nullptr;
    TWFactory* factory = t ? t->GetTrackFactory() : nullptr;
    if (!factory || !loopRange || !sequence || loopRange->GetEnd() <= loopRange->GetStart())
        return false;
    Edited(composition);
    TWRhythmicItem* placed = sequence;
    if (sequence->GetFactory() != factory) {
        TWFolder* folder = factory->AddNewComponentFolder();
        placed = folder ? factory->MoveItem(sequence, folder, name) : nullptr;
    } else if (!name.isNull()) {
        factory->RenameItem(sequence, factory->ProvideUniqueName(name, sequence->GetFolder()));
    }
    auto* placedSequence = dynamic_cast<TWRhythmicSequence*>(placed);
    if (!placedSequence)
        return false;
    const LMFraction start = LMFraction(static_cast<long long>(loopRange->GetStart()), 480) * t->GetTrackFactor();
    const LMFraction end = LMFraction(static_cast<long long>(loopRange->GetEnd()), 480) * t->GetTrackFactor();
    return t->ReplaceTrackItem(start, end - start, placedSequence);
}

void TWCompositionsMgr::PrepareUndo(TWRhythmicItem* item, bool flag1, bool flag2)
{
    mUndoCopy.reset();
    if (item) {
        mUndoCopy.reset(DetachedCopy(item));
        const TWFactory* factory = item->GetFactory();
        if (factory && factory->isTrackFactory())
            if (TWComposition* composition = GetComposition(0))
                composition->SetDirty(true);
    }
    mUndoFlags[0] = flag1;
    mUndoFlags[1] = flag2;
}

TWCompositionsMgr* GetCompositionsMgr()
{
    static TWCompositionsMgr g_CompositionsMgr;
    return &g_CompositionsMgr;
}
