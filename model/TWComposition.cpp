#include "model/TWComposition.h"

#include "model/TWClassIDs.h"
#include "model/TWComponentsMgr.h"
#include "model/TWInstrument.h"
#include "model/TWInstrumentTrack.h"
#include "model/TWLoopRange.h"
#include "model/TWSettings.h"
#include "model/TWStreamHelpers.h"
#include "persist/RWReadingVersion.h"

#include <algorithm>
#include <vector>

// A composition owns its graph and is never copied: copy() gives a new one.
RWCollectable* TWComposition::newSpecies() const { return new TWComposition; }
RWCollectable* TWComposition::copy() const { return new TWComposition; }
RWClassID TWComposition::isA() const { return TWClassIDs::Composition; }
RWCollectable* TWComposition::create() { return new TWComposition; }

TWComposition::TWComposition()
{
    mControlTrack.SetComposition(this);
}

TWComposition::~TWComposition()
{
    mObjects.DestroyAll();
}

void TWComposition::SetNewSongValues()
{
    mLength = 3000;
    mIncreaseBy = 0;
    mCyclesPerIncrease = 0;
    mMode = 3;
    mTempo = 120;
    mBarSize = 4;
    mThirdFraction = 16;
    // As after reading a file, so that a new song saves as it reads back.
    mLegacyLoopStart = 0;
    mLegacyLoopEnd = 0;
}

TWInstrumentTrack* TWComposition::GetTrack(int index) const
{
    return index < 0 ? nullptr : dynamic_cast<TWInstrumentTrack*>(mTracks.at(static_cast<std::size_t>(index)));
}

int TWComposition::IndexOf(const TWTrack* track) const
{
    for (std::size_t i = 0; i < mTracks.entries(); ++i)
        if (mTracks.at(i) == track)
            return static_cast<int>(i);
    return -1;
}

int TWComposition::AddInstrumentTrack(const RWCString& instrument, short channel, const RWCString& patch, int sa,
                                      int factor, int volume, int pan)
{
    TWInstrument* own = GetComponentsMgr()->GetNewInstrument(instrument);
    if (!own)
        return -1;
    Adopt(own);
    auto* track = Adopt(new TWInstrumentTrack(own->GetName()));
    track->SetComposition(this);
    track->SetInstrument(own);
    track->SetChannel(channel);
    track->SetMIDIPatch(patch);
    track->SetSa(sa);
    track->SetTrackFactor(LMFraction(factor > 0 ? factor : 1));
    track->SetVolume(volume);
    track->SetPan(pan);
    mTracks.insert(track);
    GetComponentsMgr()->NewTrackFactory(track);
    mDirty = true;
    return static_cast<int>(mTracks.entries());
}

bool TWComposition::RemoveTrack(int index)
{
    if (index < 0 || !mTracks.removeAt(static_cast<std::size_t>(index)))
        return false;
    mDirty = true;
    return true;
}

bool TWComposition::MoveTrack(int from, int to)
{
    const int count = static_cast<int>(mTracks.entries());
    if (from < 0 || to < 0 || from >= count || to >= count)
        return false;
    RWCollectable* track = mTracks.removeAt(static_cast<std::size_t>(from));
    mTracks.insertAt(static_cast<std::size_t>(from < to ? to - 1 : to), track);
    mDirty = true;
    return true;
}

std::vector<TWTrackItem> TWComposition::GetItemsInTrack(int index) const
{
    const TWInstrumentTrack* track = GetTrack(index);
    return track ? track->GetItemsInTrack() : std::vector<TWTrackItem>();
}

int TWComposition::GetMinimumNrOfBeats() const
{
    int beats = 4;
    for (RWCollectable* p : mTracks)
        beats = std::max(beats, static_cast<TWTrack*>(p)->GetMinimumNrOfBeats());
    return beats;
}

void TWComposition::TrimUnused()
{
    if (mPractice || mTracks.isEmpty())
        return;
    const int beats = GetMinimumNrOfBeats();
    for (RWCollectable* p : mTracks)
        static_cast<TWTrack*>(p)->SetMaximumNrOfBeats(beats);
}

void TWComposition::AvoidChannel10()
{
    for (RWCollectable* p : mTracks) {
        auto* track = static_cast<TWInstrumentTrack*>(p);
        if (track->GetChannel() != 9)
            continue;
        for (short channel = 0; channel < 16; ++channel) {
            const bool used = std::any_of(mTracks.begin(), mTracks.end(), [&](RWCollectable* q) {
                return static_cast<TWInstrumentTrack*>(q)->GetChannel() == channel;
            });
            if (!used) {
                track->SetChannel(channel);
                mDirty = true;
                break;
            }
        }
    }
}

void TWComposition::AssignAlternateChannels()
{
    for (RWCollectable* p : mTracks)
        static_cast<TWInstrumentTrack*>(p)->SetAlternateChannel(static_cast<TWInstrumentTrack*>(p)->GetChannel());
    if (!GetSettings()->GetAlternateChannels())
        return;
    for (RWCollectable* p : mTracks) {
        auto* track = static_cast<TWInstrumentTrack*>(p);
        if (!track->GetAlternateChannelAllowed())
            continue;
        for (short channel = 0; channel < 16; ++channel) {
            if (channel == 9)
                continue;
            const bool used = std::any_of(mTracks.begin(), mTracks.end(), [&](RWCollectable* q) {
                const auto* other = static_cast<TWInstrumentTrack*>(q);
                return other->GetChannel() == channel || other->GetAlternateChannel() == channel;
            });
            if (!used) {
                track->SetAlternateChannel(channel);
                break;
            }
        }
    }
}

TWLoopRange* TWComposition::GetLoopRange(int index) const
{
    return index < 0 ? nullptr : dynamic_cast<TWLoopRange*>(mLoopRanges.at(static_cast<std::size_t>(index)));
}

TWLoopRange* TWComposition::AddLoopRange(unsigned long start, unsigned long end, unsigned long repeats)
{
    auto* range = Adopt(new TWLoopRange(start, end, repeats, this));
    mLoopRanges.insert(range);
    return range;
}

void TWComposition::SortLoopRanges()
{
    std::vector<RWCollectable*> ranges(mLoopRanges.begin(), mLoopRanges.end());
    std::stable_sort(ranges.begin(), ranges.end(), [](RWCollectable* a, RWCollectable* b) {
        return static_cast<TWLoopRange*>(a)->GetStart() < static_cast<TWLoopRange*>(b)->GetStart();
    });
    mLoopRanges.clear();
    for (RWCollectable* p : ranges)
        mLoopRanges.insert(p);
}

void TWComposition::saveGuts(RWvostream& s) const
{
    RWCollectableString(kVersionTag).saveAsNewObject(s);
    mName.recursiveSaveOn(s);
    mTracks.recursiveSaveOn(s);
    s << mMode << mLength << mIncreaseBy << mCyclesPerIncrease;
    mControlTrack.recursiveSaveOn(s);
    mTempo.recursiveSaveOn(s);
    mBarSize.recursiveSaveOn(s);
    mThirdFraction.recursiveSaveOn(s);
    s << mLegacyLoopCount;
    LMFraction(mLegacyLoopStart).saveAsNewObject(s);
    LMFraction(mLegacyLoopEnd).saveAsNewObject(s);
    mLoopRanges.recursiveSaveOn(s);
    s << mVolume << mPitch;
    mStyle.recursiveSaveOn(s);
    mBeatsFactor.recursiveSaveOn(s);
}

void TWComposition::restoreGuts(RWvistream& s)
{
    using namespace TWStream;
    ReadMember(s, mVersionTag);
    rwSetReadingVersion(mVersionTag);
    // A newer file is not read: the song starts empty.
    if (mVersionTag.compareTo(kVersionTag) > 0)
        return;
    ReadMember(s, mName);
    ReadMember(s, mTracks);
    Read(s, mMode);
    Read(s, mLength);
    Read(s, mIncreaseBy);
    Read(s, mCyclesPerIncrease);
    ReadMember(s, mControlTrack);
    ReadMember(s, mTempo);
    ReadMember(s, mBarSize);
    ReadMember(s, mThirdFraction);
    if (rwReadingVersionAtLeast("QN306")) {
        Read(s, mLegacyLoopCount);
        ReadMember(s, mLegacyLoopStart);
        ReadMember(s, mLegacyLoopEnd);
    }
    if (rwReadingVersionAtLeast("QN311"))
        ReadMember(s, mLoopRanges);
    if (!KeepOnlyTracksAndRanges())
        Fail(s); // something else where a track or a loop range belongs
    if (!rwReadingVersionAtLeast("QN311"))
        ConvertLegacyLoop();
    if (rwReadingVersionAtLeast("QN312")) {
        Read(s, mVolume);
        Read(s, mPitch);
        ReadMember(s, mStyle);
        ReadMember(s, mBeatsFactor);
    }
    mLegacyLoopCount = 0;
    mLegacyLoopStart = 0;
    mLegacyLoopEnd = 0;
    AssignAlternateChannels();
    mVersionTag = kVersionTag;
}

bool TWComposition::KeepOnlyTracksAndRanges()
{
    bool allWanted = true;
    // A damaged file may put anything in these lists, even one object twice.
    auto keep = [&allWanted](RWOrdered& list, auto isWanted) {
        std::vector<RWCollectable*> kept;
        list.forEach([&](RWCollectable* p) {
            if (!isWanted(p))
                allWanted = false;
            else if (std::find(kept.begin(), kept.end(), p) == kept.end())
                kept.push_back(p);
        });
        list.clear();
        for (RWCollectable* p : kept)
            list.insert(p);
    };
    keep(mTracks, [](RWCollectable* p) { return dynamic_cast<TWInstrumentTrack*>(p) != nullptr; });
    keep(mLoopRanges, [](RWCollectable* p) { return dynamic_cast<TWLoopRange*>(p) != nullptr; });
    for (RWCollectable* p : mTracks)
        static_cast<TWTrack*>(p)->SetComposition(this);
    for (RWCollectable* p : mLoopRanges)
        static_cast<TWLoopRange*>(p)->SetComposition(this);
    mControlTrack.SetComposition(this);
    return allWanted;
}

void TWComposition::ConvertLegacyLoop()
{
    if (mLegacyLoopCount == 0)
        return;
    if (mLoopRanges.isEmpty())
        AddLoopRange(0, 0, 0);
    auto tick = [](const LMFraction& beat) {
        const LMFraction ticks = beat * LMFraction(480);
        const long long value = static_cast<long long>(ticks.numerator()) / ticks.denominator();
        return value > 0 ? static_cast<unsigned long>(value) : 0ul;
    };
    TWLoopRange* range = GetLoopRange(0);
    range->SetStart(tick(mLegacyLoopStart));
    range->SetEnd(tick(mLegacyLoopEnd));
    range->SetRepeatCount(mLegacyLoopCount);
}
