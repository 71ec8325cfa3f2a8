#include "model/TWTrack.h"

#include "model/TWClassIDs.h"
#include "model/TWComposition.h"
#include "model/TWEffect.h"
#include "model/TWSettings.h"
#include "model/TWStreamHelpers.h"
#include "persist/RWReadingVersion.h"

#include <vector>

RW_DEFINE_COLLECTABLE(TWTrack, TWClassIDs::Track)

TWTrack::TWTrack() : mVolume(GetSettings()->GetTrackVolume()) {}

TWTrack::TWTrack(const RWCString& name) : mName(name), mVolume(GetSettings()->GetTrackVolume()) {}

bool TWTrack::RefreshMIDITrack(unsigned long&, int)
{
    return false;
}

bool TWTrack::GetDLSFileName(RWCString&) const
{
    return false;
}

void TWTrack::SetMaximumNrOfBeats(int) {}

TWComposition* TWTrack::GetComposition() const
{
    return dynamic_cast<TWComposition*>(mComposition);
}

void TWTrack::SetComposition(TWComposition* composition)
{
    mComposition = composition;
}

TWEffect* TWTrack::GetEffect(int index) const
{
    return index < 0 ? nullptr : dynamic_cast<TWEffect*>(mEffects.at(static_cast<std::size_t>(index)));
}

TWEffect* TWTrack::AddTrackEffect(const RWCString& name)
{
    auto* effect = mOwned.Adopt(new TWEffect(name, ""));
    mEffects.insert(effect);
    return effect;
}

bool TWTrack::RemoveTrackEffect(int index)
{
    return index >= 0 && mEffects.removeAt(static_cast<std::size_t>(index)) != nullptr;
}

bool TWTrack::SwapTrackEffects(int index)
{
    if (index < 0 || static_cast<std::size_t>(index) + 1 >= mEffects.entries())
        return false;
    RWCollectable* moved = mEffects.removeAt(static_cast<std::size_t>(index));
    mEffects.insertAt(static_cast<std::size_t>(index) + 1, moved);
    return true;
}

void TWTrack::saveGuts(RWvostream& s) const
{
    using TWStream::WriteFlag;
    mName.recursiveSaveOn(s);
    WriteFlag(s, mMute);
    mTrackFactor.recursiveSaveOn(s);
    WriteFlag(s, mSecondFlag);
    s << mSemitones << mSa;
    s << mComposition;
    s << mVolume << mPan;
    WriteFlag(s, mAlternateAllowed);
    for (int value : mHumanize)
        s << value;
    if (mSavedEngineState.isNull()) {
        mEffects.recursiveSaveOn(s);
        return;
    }
    // The state record is an object of this track, so that no two tracks
    // of one file write the same address.
    if (!mStateRecord)
        mStateRecord = const_cast<TWObjectArena&>(mOwned).Adopt(new TWEffect);
    mStateRecord->SetName(kEngineStateRecord);
    mStateRecord->SetState(mSavedEngineState);
    mFileEffects.clear();
    mEffects.forEach([this](RWCollectable* p) { mFileEffects.insert(p); });
    mFileEffects.insert(mStateRecord);
    mFileEffects.recursiveSaveOn(s);
}

void TWTrack::restoreGuts(RWvistream& s)
{
    using namespace TWStream;
    ReadMember(s, mName);
    ReadFlag(s, mMute);
    ReadMember(s, mTrackFactor);
    ReadFlag(s, mSecondFlag);
    Read(s, mSemitones);
    Read(s, mSa);
    mComposition = ReadRef(s);
    Read(s, mVolume);
    if (rwReadingVersionAtLeast("QN304"))
        Read(s, mPan);
    if (rwReadingVersionAtLeast("QN308"))
        ReadFlag(s, mAlternateAllowed);
    if (rwReadingVersionAtLeast("QN311"))
        for (int& value : mHumanize)
            Read(s, value);
    if (rwReadingVersionAtLeast("QN312")) {
        ReadMember(s, mEffects);
        TakeEngineStateFromEffects();
    }
}

void TWTrack::TakeEngineStateFromEffects()
{
    std::vector<RWCollectable*> kept;
    mEffects.forEach([&](RWCollectable* p) {
        auto* effect = dynamic_cast<TWEffect*>(p);
        if (!effect)
            return; // only effect records make a chain
        if (effect->GetName() == kEngineStateRecord)
            mSavedEngineState = effect->GetState();
        else
            kept.push_back(p);
    });
    mEffects.clear();
    for (RWCollectable* p : kept)
        mEffects.insert(p);
}
