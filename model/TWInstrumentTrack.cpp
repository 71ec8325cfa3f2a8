#include "model/TWInstrumentTrack.h"

#include "model/TWTrackEvents.h"

#include "model/TWClassIDs.h"
#include "model/TWFactory.h"
#include "model/TWFolder.h"
#include "model/TWInstrument.h"
#include "model/TWPlaybackMgr.h"
#include "model/TWRhythmicCycle.h"
#include "model/TWRuntimeTrackSink.h"
#include "model/TWStreamHelpers.h"
#include "model/TWTrackArrangement.h"
#include "persist/RWReadingVersion.h"

RW_DEFINE_COLLECTABLE(TWInstrumentTrack, TWClassIDs::InstrumentTrack)

namespace
{
int Truncated(const LMFraction& f)
{
    return static_cast<int>(static_cast<long long>(f.numerator()) / static_cast<long long>(f.denominator()));
}
} // namespace

TWInstrument* TWInstrumentTrack::GetInstrument() const
{
    return dynamic_cast<TWInstrument*>(mInstrument);
}

void TWInstrumentTrack::SetInstrument(TWInstrument* instrument)
{
    mInstrument = instrument;
    if (instrument)
        instrument->SetTrackOwner(this);
}

TWFolder* TWInstrumentTrack::GetMainFolder() const
{
    return dynamic_cast<TWFolder*>(mMainFolder);
}

void TWInstrumentTrack::SetMainFolder(TWFolder* folder)
{
    mMainFolder = folder;
}

TWRhythmicSequence* TWInstrumentTrack::GetMainSequence() const
{
    return dynamic_cast<TWRhythmicSequence*>(mMainSequence);
}

void TWInstrumentTrack::SetMainSequence(TWRhythmicSequence* sequence)
{
    mMainSequence = static_cast<TWRhythmicItem*>(sequence);
}

TWFactory* TWInstrumentTrack::GetTrackFactory() const
{
    const TWInstrument* instrument = GetInstrument();
    return instrument ? instrument->GetFactory() : nullptr;
}

int TWInstrumentTrack::GetMinimumNrOfBeats() const
{
    return TWTrackArrangement(GetMainSequence(), GetTrackFactor()).GetLastLoopEndInBeats();
}

void TWInstrumentTrack::SetMaximumNrOfBeats(int beats)
{
    TWTrackArrangement arrangement(GetMainSequence(), GetTrackFactor());
    if (arrangement.IsUsable() && beats > 0)
        arrangement.LengthenTo(LMFraction(beats) * GetTrackFactor());
}

void TWInstrumentTrack::SetMIDIPatch(const RWCString& name)
{
    TWPlaybackMgr* table = GetPlaybackMgr();
    TWMIDIPatch* patch = table->GetDefaultPatch(name);
    if (patch) {
        mPatchName = patch->mName;
    } else {
        patch = table->GetPatch(1);
        mPatchName = "";
    }
    if (!patch)
        return;
    mPatchKey[0] = patch->mBank;
    mPatchKey[1] = patch->mSubBank;
    mPatchKey[2] = patch->mSlot;
    mRhythmicPatch = patch->mDrumKit;
}

TWMIDIPatch* TWInstrumentTrack::GetMIDIPatch()
{
    TWPlaybackMgr* table = GetPlaybackMgr();
    if (TWMIDIPatch* patch = table->GetMIDIPatch(mPatchKey[0], mPatchKey[1], mPatchKey[2]))
        return patch;
    SetMIDIPatch(GetName());
    return table->GetMIDIPatch(mPatchKey[0], mPatchKey[1], mPatchKey[2]);
}

std::vector<TWTrackItem> TWInstrumentTrack::GetItemsInTrack() const
{
    std::vector<TWTrackItem> items;
    const TWTrackArrangement arrangement(GetMainSequence(), GetTrackFactor());
    for (const auto& instance : arrangement.GetInstances()) {
        TWTrackItem item;
        item.item = dynamic_cast<TWRhythmicSequence*>(instance.item);
        item.start = Truncated(instance.start);
        item.end = Truncated(instance.start + instance.length);
        items.push_back(item);
    }
    return items;
}

TWRhythmicCycle* TWInstrumentTrack::AddTrackItem(int position, int length)
{
    TWFactory* factory = GetTrackFactory();
    TWTrackArrangement arrangement(GetMainSequence(), GetTrackFactor());
    if (!factory || !arrangement.IsUsable() || length <= 0)
        return nullptr;
    TWFolder* folder = factory->AddNewComponentFolder();
    if (!folder)
        return nullptr;
    TWRhythmicCycle* cycle = factory->CreateRhythmicCycle("New Component", "", folder, LMFraction(1), 1, 1, 1);
    cycle->SetGharana("");
    cycle->SetComposer("");
    cycle->SetReporter("");
    cycle->SetCycle("");
    cycle->ClearStyles();
    const LMFraction size(length);
    const LMFraction start = arrangement.FindPlace(LMFraction(position < 0 ? 0 : position), size);
    return arrangement.Place(cycle, start, size) ? cycle : nullptr;
}

bool TWInstrumentTrack::MoveTrackItem(TWRhythmicItem* item, int instance, const LMFraction& position)
{
    TWTrackArrangement arrangement(GetMainSequence(), GetTrackFactor());
    TWTrackArrangement::Instance found;
    if (!arrangement.FindInstance(item, instance, found))
        return false;
    const LMFraction target(TWTrackArrangement::Floor(position));
    if (target < LMFraction(0) || !arrangement.IsFree(target, found.length, &found))
        return false;
    arrangement.MakeSilent(found);
    if (arrangement.Place(item, target, found.length))
        return true;
    arrangement.Place(item, found.start, found.length);
    return false;
}

bool TWInstrumentTrack::SetTrackItemDuration(TWRhythmicItem* item, int instance, int length)
{
    TWTrackArrangement arrangement(GetMainSequence(), GetTrackFactor());
    TWTrackArrangement::Instance found;
    if (!arrangement.FindInstance(item, instance, found))
        return false;
    LMFraction size(length < 1 ? 1 : length);
    if (!arrangement.LengthenTo(found.start + size))
        return false;
    arrangement.FindInstance(item, instance, found);
    arrangement.MakeSilent(found);
    bool reachesEnd = false;
    const LMFraction room = arrangement.SilenceAfter(found.start, reachesEnd);
    if (room < size && !reachesEnd)
        size = room;
    return arrangement.Place(item, found.start, size);
}

bool TWInstrumentTrack::RemoveTrackItem(TWRhythmicItem* item, int instance)
{
    TWTrackArrangement arrangement(GetMainSequence(), GetTrackFactor());
    TWTrackArrangement::Instance found;
    if (!arrangement.FindInstance(item, instance, found))
        return false;
    arrangement.MakeSilent(found);
    return true;
}

bool TWInstrumentTrack::RenameTrackItem(TWRhythmicItem* item, const RWCString& name)
{
    TWFactory* factory = item ? item->GetFactory() : nullptr;
    return factory && factory == GetTrackFactory() && factory->RenameItem(item, name);
}

bool TWInstrumentTrack::ReplaceTrackItem(const LMFraction& start, const LMFraction& length,
                                         TWRhythmicSequence* sequence)
{
    TWTrackArrangement arrangement(GetMainSequence(), GetTrackFactor());
    if (!sequence || !arrangement.IsUsable() || length <= LMFraction(0))
        return false;
    const auto instances = arrangement.GetInstances();
    for (auto it = instances.rbegin(); it != instances.rend(); ++it)
        if (it->start < start + length && start < it->start + it->length)
            arrangement.MakeSilent(*it);
    return arrangement.Place(sequence, start, length);
}

bool TWInstrumentTrack::RefreshMIDITrack(unsigned long&, int)
{
    return TWTrackEvents(*this).Refresh();
}

bool TWInstrumentTrack::AddMIDIEvent(long long tick, int status, int data1, int data2)
{
    if (!mRuntimeTrack)
        return false;
    mRuntimeTrack->AddMIDIEvent(tick, status, data1, data2);
    return true;
}

bool TWInstrumentTrack::AddMIDIMessage(long long tick, const std::uint8_t* data, std::size_t size)
{
    if (!mRuntimeTrack)
        return false;
    mRuntimeTrack->AddMIDIMessage(tick, data, size);
    return true;
}

bool TWInstrumentTrack::AddAudioLoop(std::uint64_t start, std::uint64_t end, const std::string& path)
{
    return mRuntimeTrack && mRuntimeTrack->AddAudioLoop(start, end, path);
}

void TWInstrumentTrack::saveGuts(RWvostream& s) const
{
    TWTrack::saveGuts(s);
    s << mInstrument << mMainFolder << mMainSequence;
    s << mPatchKey[0] << mPatchKey[1] << mPatchKey[2] << mChannel;
    mPatchName.recursiveSaveOn(s);
    for (float value : mFloats)
        s << value;
    s << mPitchShift;
}

void TWInstrumentTrack::restoreGuts(RWvistream& s)
{
    using namespace TWStream;
    TWTrack::restoreGuts(s);
    mInstrument = ReadRef(s);
    mMainFolder = ReadRef(s);
    mMainSequence = ReadRef(s);
    for (short& key : mPatchKey)
        Read(s, key);
    Read(s, mChannel);
    ReadMember(s, mPatchName);
    if (rwReadingVersionAtLeast("QN312")) {
        for (float& value : mFloats)
            Read(s, value);
        Read(s, mPitchShift);
    }
    // Wrong classes where the instrument, folder or sequence belong make the
    // file unreadable.
    if ((mInstrument && !GetInstrument()) || (mMainFolder && !GetMainFolder())
        || (mMainSequence && !GetMainSequence()))
        Fail(s);
    if (TWInstrument* instrument = GetInstrument())
        instrument->SetTrackOwner(this);
    if (const TWMIDIPatch* patch = GetPlaybackMgr()->GetMIDIPatch(mPatchKey[0], mPatchKey[1], mPatchKey[2]))
        mRhythmicPatch = patch->mDrumKit;
}
