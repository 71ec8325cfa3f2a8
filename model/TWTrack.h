#pragma once

#include "model/TWObjectArena.h"
#include "persist/LMFraction.h"
#include "persist/RWCollectableString.h"
#include "persist/RWOrdered.h"

class TWComposition;
class TWEffect;
class TWInstrument;

// A track of a composition: name, mix settings, the carried humanize values
// and the effect chain. Base of TWInstrumentTrack; the composition's control
// track is a plain TWTrack.
//
// The track's saved sound-engine state travels in the file as one extra
// effect record named "SoundEngineState" after the real effects; in memory
// the effects stay parallel to the run-time chain and the state is held
// apart (GetSavedEngineState).
class TWTrack : public RWCollectable
{
    RW_DECLARE_COLLECTABLE(TWTrack)
public:
    static constexpr const char* kEngineStateRecord = "SoundEngineState";
    static constexpr int kHumanizeCount = 11;

    TWTrack();
    explicit TWTrack(const RWCString& name);

    virtual TWInstrument* GetInstrument() const { return nullptr; }
    // Regenerates the run-time track's events (instrument tracks).
    virtual bool RefreshMIDITrack(unsigned long& tick, int flags);
    virtual bool GetDLSFileName(RWCString& name) const;
    // The end of the last loop in whole beats; 0 without loops.
    virtual int GetMinimumNrOfBeats() const { return 0; }
    // Makes the track at least `beats` long; never shortens it.
    virtual void SetMaximumNrOfBeats(int beats);

    const RWCollectableString& GetName() const { return mName; }
    void SetName(const RWCString& name) { mName = name; }
    bool GetMute() const { return mMute; }
    void SetMute(bool mute) { mMute = mute; }
    const LMFraction& GetTrackFactor() const { return mTrackFactor; }
    void SetTrackFactor(const LMFraction& factor) { mTrackFactor = factor; }
    bool GetSecondFlag() const { return mSecondFlag; }
    int GetSa() const { return mSa; }
    void SetSa(int sa) { mSa = sa; }
    TWComposition* GetComposition() const;
    void SetComposition(TWComposition* composition);
    int GetVolume() const { return mVolume; }
    void SetVolume(int volume) { mVolume = volume; }
    int GetPan() const { return mPan; }
    void SetPan(int pan) { mPan = pan; }
    bool GetAlternateChannelAllowed() const { return mAlternateAllowed; }
    void SetAlternateChannelAllowed(bool allowed) { mAlternateAllowed = allowed; }
    int GetSemitones() const { return mSemitones; }
    void SetSemitones(int semitones) { mSemitones = semitones; }
    int GetHumanize(int i) const { return i >= 0 && i < kHumanizeCount ? mHumanize[i] : 0; }

    // The effect chain (TWEffect records).
    const RWOrdered& GetEffects() const { return mEffects; }
    TWEffect* GetEffect(int index) const;
    // Appends an effect with that name and an empty state.
    TWEffect* AddTrackEffect(const RWCString& name);
    // Takes the effect out of the chain; false for a bad index. The record
    // lives on with its owner, like a removed cell.
    bool RemoveTrackEffect(int index);
    // Swaps the effects at index and index + 1; false when either is missing.
    bool SwapTrackEffects(int index);

    // The sound engine's saved state ("" when none).
    const RWCString& GetSavedEngineState() const { return mSavedEngineState; }
    void SetSavedEngineState(const RWCString& state) { mSavedEngineState = state; }

    // Name, mute, factor, second flag, semitones, sa, composition reference,
    // volume, pan, alternate flag, eleven humanize ints, effects. Reading
    // skips what files before "QN304", "QN308", "QN311" and "QN312" lack.
    void saveGuts(RWvostream& s) const override;
    void restoreGuts(RWvistream& s) override;

private:
    void TakeEngineStateFromEffects();

    RWCollectableString mName;
    bool mMute = false;
    LMFraction mTrackFactor = LMFraction(4, 4);
    bool mSecondFlag = false;
    int mSa = 0;
    RWCollectable* mComposition = nullptr;
    int mVolume = 100;
    int mPan = 0;
    bool mAlternateAllowed = true;
    int mSemitones = 0;
    int mHumanize[kHumanizeCount] = { 1, 0, 0, 1, 0, 0, 1, 0, 1, 0, 0 };
    RWOrdered mEffects;
    RWCString mSavedEngineState;
    // The list as written when an engine state travels with it.
    mutable RWOrdered mFileEffects;
    mutable TWEffect* mStateRecord = nullptr;
    TWObjectArena mOwned; // effects this track made
};
