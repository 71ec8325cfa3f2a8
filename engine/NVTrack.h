#pragma once
#include "engine/NVLoop.h"
#include "model/TWRuntimeTrackSink.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <atomic>
#include <map>
#include <memory>
#include <vector>

class NVInstrument;
class TWRhythmicSequence;

// A track of the run-time song: the events or clips it renders, the loops laid
// on it, its instrument, its sound engine and its mix settings.
//
// Fields are written on the message thread and read by the audio callback; the
// sound engine is only swapped and called under the track lock.
class NVTrack : public TWRuntimeTrackSink
{
public:
    explicit NVTrack(int trackIndex = 0);
    ~NVTrack() override;

    virtual void clearEvents();
    // Renders the events between two ticks into the buffer; the base renders nothing.
    virtual void processSlice(juce::int64 fromTick, juce::int64 toTick,
                              juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi);
    virtual bool isAudioTrack() const { return false; }
    virtual void allNotesOff(juce::AudioBuffer<float>& buffer);

    // Loops ---------------------------------------------------------------
    int addLoop(TWRhythmicSequence* item, const juce::String& name, int start, int end);
    NVLoop* getLoop(int i) const;
    int getNumLoops() const { return (int) loops.size(); }
    NVLoop* getLoopAt(int quarterBeat) const;
    int getNextFreeSignature(int from, int length) const;
    void clearAllLoops() { loops.clear(); }

    // Events --------------------------------------------------------------
    int addMessage(const juce::MidiMessage& message);
    int addMessage(juce::int64 tick, int status, int note, int velocity);
    void resequenceMap();

    // What a composition track adds when it regenerates the events: notes on
    // channel 1, other messages as they are, audio loops on audio tracks only.
    void AddMIDIEvent(long long tick, int status, int data1, int data2) override;
    void AddMIDIMessage(long long tick, const std::uint8_t* data, std::size_t size) override;
    bool AddAudioLoop(std::uint64_t start, std::uint64_t end, const std::string& path) override;
    int GetClipSampleRate() const override { return clipSampleRate; }
    void setClipSampleRate(int rate) { clipSampleRate = rate; }
    const juce::MidiMessageSequence& getEvents() const { return events; }
    const std::map<juce::int64, int>& getEventIndex() const { return eventIndex; }

    // Sound engine and effects ----------------------------------------------
    void setPlugin(juce::AudioPluginInstance* instance, double sampleRate, int blockSize);
    juce::AudioPluginInstance* getPlugin() const { return plugin; }
    juce::CriticalSection& getLock() { return lock; }
    virtual void prepareToPlay(double sampleRate, int blockSize);
    void addEffect(juce::AudioPluginInstance* instance);
    juce::AudioPluginInstance* getEffect(int i) const { return effects[i]; }
    int getNumEffects() const { return effects.size(); }
    void removeEffect(int i);
    // Runs the effect chain on the buffer, in place.
    void processEffects(juce::AudioBuffer<float>& buffer);

    // The buffer the track renders a block into, cleared, with `channels`
    // channels (or, when negative, as many as its sound engine needs) and
    // `numSamples` samples. Prepared in prepareToPlay, so the audio callback
    // does not allocate.
    juce::AudioBuffer<float>& getScratch(int channels, int numSamples);
    // How many channels of the scratch buffer carry the track's output.
    int getScratchOutputChannels() const { return scratchOutputs; }

    // Plain settings --------------------------------------------------------
    int getIndex() const { return index; }
    void setIndex(int i) { index = i; }
    float getVolume() const { return volume; }
    void setVolume(float v) { volume = v; }
    float getPan() const { return pan; }
    void setPan(float p) { pan = p; }
    bool isMuted() const { return mute; }
    void setMute(bool m) { mute = m; }
    bool isSolo() const { return solo; }
    void setSolo(bool s) { solo = s; }
    int getPitchShift() const { return pitchShift; }
    void setPitchShift(int semitones) { pitchShift = semitones; }
    NVInstrument* getInstrument() const { return instrument; }
    void setInstrument(NVInstrument* i) { instrument = i; }
    const juce::String& getCaption() const { return caption; }
    void setCaption(const juce::String& c) { caption = c; }
    int getLevel() const { return level; }
    void setLevel(int l) { level = l; }

protected:
    int index = 0;
    float volume = 1.0f;
    float pan = 0.5f;
    bool mute = false;
    bool solo = false;
    int pitchShift = 0;
    NVInstrument* instrument = nullptr;
    juce::AudioPluginInstance* plugin = nullptr; // owned unless this is the audition track
    juce::CriticalSection lock;
    juce::MidiMessageSequence events;
    std::map<juce::int64, int> eventIndex;
    juce::OwnedArray<juce::AudioPluginInstance> effects;
    std::vector<std::unique_ptr<NVLoop>> loops;
    juce::String caption;
    std::atomic<int> level { 0 };

    // Render buffers, sized in prepareToPlay.
    juce::AudioBuffer<float> scratch;
    int scratchOutputs = 0;
    juce::MidiBuffer midiScratch;
    juce::MidiBuffer effectMidi;
    juce::OwnedArray<juce::AudioBuffer<float>> effectScratch;
    int preparedBlockSize = 512;
    int clipSampleRate = 44100;

private:
    void indexEvent(juce::int64 tick, int position);
    bool ownsPlugin() const { return index != -1; }

    JUCE_DECLARE_NON_COPYABLE(NVTrack)
};
