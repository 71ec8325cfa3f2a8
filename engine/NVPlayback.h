#pragma once
#include <juce_audio_basics/juce_audio_basics.h>

#include <array>
#include <atomic>

class NVPlayHead;
class NVSong;
class NVTrack;

// Playback modes of the engine.
enum TLPlaybackMode
{
    kStopped = 0,
    kPlaying = 1,          // records when an audio track is armed
    kPreviewing = 2,       // an editor's preview buffer
    kAuditioning = 3,      // as previewing
    kPlayingNoRecord = 4
};

// The engine's playback state and its audio callback: turns each device block
// into a tick range, renders the song into it, applies the master volume and
// measures the levels.
//
// The callback allocates nothing, takes no lock but the tracks' own sound-engine
// locks, and touches no file. Fields it reads are written on the message thread
// while it cannot render the song (playback stopped, or the process lock set).
class NVPlayback
{
public:
    static constexpr int levelRingSize = 1024;

    NVPlayback() = default;

    // The callback's work for one block of the device.
    void renderBlock(const juce::AudioSourceChannelInfo& info, NVSong* song);

    // Stores the mode; stopping also resets every sound engine of the song.
    void setMode(TLPlaybackMode mode, NVSong* song);
    TLPlaybackMode getMode() const { return mode.load(); }

    void setProcessLocked(bool locked) { processLocked = locked; }
    bool isProcessLocked() const { return processLocked.load(); }

    void prepare(double newSampleRate, int newBlockSize);
    double getSampleRate() const { return sampleRate; }
    int getBlockSize() const { return blockSize; }

    // Position: samples, last rendered tick and beats move together.
    juce::uint64 getPlayPosition() const { return playPosition.load(); }
    juce::int64 getLastTick() const { return lastTick.load(); }
    double getPositionInBeats() const { return positionInBeats.load(); }
    void setPosition(juce::uint64 samples, juce::int64 tick, double beats);

    int getMasterLevel() const { return masterLevel.load(); }
    void setMasterLevel(int level) { masterLevel = level; }

    // A buffer that an editor lends for modes 2 and 3 (not owned; null for none).
    void setPreviewBuffer(const juce::AudioBuffer<float>* buffer) { previewBuffer = buffer; }
    const juce::AudioBuffer<float>* getPreviewBuffer() const { return previewBuffer; }

    // Auditioning (modes 2 and 3 without a preview buffer): the audition track is
    // rendered from the loop-editor tick at the audition play head's tempo, and
    // the tick advances while the mode lasts.
    void setAudition(NVTrack* track, const NVPlayHead* head) { auditionTrack = track; auditionHead = head; }
    double getLoopEditorTick() const { return loopEditorTick.load(); }
    void setLoopEditorTick(double tick) { loopEditorTick = tick; }

    // Recording: the armed audio track (-1 for none) and the ticks it records between.
    void setRecordingTrack(int track) { recordingTrack = track; }
    int getRecordingTrack() const { return recordingTrack.load(); }
    void setRecordingTicks(juce::int64 start, juce::int64 stop) { recordingStartTick = start; recordingStopTick = stop; }
    juce::int64 getRecordingStartTick() const { return recordingStartTick.load(); }
    juce::int64 getRecordingStopTick() const { return recordingStopTick.load(); }
    // Set when the callback reaches the recording start; the recorder watches it.
    bool recorderShouldRun() const { return recorderStarted.load(); }
    void clearRecorderStart() { recorderStarted = false; }

    // The input level ring: the mean absolute input over each run of samplesPerEntry frames.
    void setSamplesPerLevelEntry(int samples) { samplesPerEntry = juce::jmax(1, samples); countdown = samplesPerEntry; }
    const std::array<float, levelRingSize>& getLevelRing() const { return levelRing; }
    int getLevelRingIndex() const { return levelIndex.load(); }
    void resetLevelRing();

private:
    void renderPreview(juce::AudioBuffer<float>& out, NVSong* song);
    void renderAudition(juce::AudioBuffer<float>& out);
    void feedLevelRing(const juce::AudioBuffer<float>& input);

    std::atomic<TLPlaybackMode> mode { kStopped };
    std::atomic<bool> processLocked { false };
    double sampleRate = 0.0;
    int blockSize = 0;
    std::atomic<juce::uint64> playPosition { 0 };
    std::atomic<juce::int64> lastTick { 0 };
    std::atomic<double> positionInBeats { 0.0 };
    std::atomic<int> masterLevel { 0 };
    const juce::AudioBuffer<float>* previewBuffer = nullptr;
    NVTrack* auditionTrack = nullptr;
    const NVPlayHead* auditionHead = nullptr;
    std::atomic<double> loopEditorTick { 0.0 };
    juce::MidiBuffer noMidi;

    std::atomic<int> recordingTrack { -1 };
    std::atomic<juce::int64> recordingStartTick { 0 };
    std::atomic<juce::int64> recordingStopTick { 0 };
    std::atomic<bool> recorderStarted { false };

    std::array<float, levelRingSize> levelRing {};
    std::atomic<int> levelIndex { 0 };
    int samplesPerEntry = 441;
    int countdown = 441;
    float levelSum = 0.0f;
};
