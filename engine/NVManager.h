#pragma once
#include "engine/AudioRecorder.h"
#include "engine/NVDialogHost.h"
#include "engine/NVExport.h"
#include "engine/NVMidiTrack.h"
#include "engine/NVPlayback.h"
#include "engine/NVPlayHead.h"
#include "engine/NVSelection.h"
#include "engine/NVSong.h"
#include "engine/NVUserSettings.h"
#include "model/TWMIDIFileReader.h"
#include "sound/NVInstrument.h"

#include <juce_audio_devices/juce_audio_devices.h>
#include <juce_audio_utils/juce_audio_utils.h>


class NVAudioFiles;
class NVDocuments;
class NVEditing;
class NVExport;
class NVLoopContent;
class NVLoopEditorHost;
class NVRecording;
class NVTracks;
class TWInstrumentTrack;

// The engine: one object, alive from the application's construction to its
// shut-down, through which every window reaches the song, the audio device and
// the persistent model. It is the audio source the device plays.
class NVManager : public juce::AudioSource
{
public:
    static NVManager* getInstance();
    static void kill();
    static bool exists() { return _singleton != nullptr; }

    // Plug-in formats (the defaults and our own engines).
    static juce::AudioPluginFormatManager* mAudioManager;

    // Lifecycle ------------------------------------------------------------------
    void initialize();
    // Opens the audio device with 2 inputs and 2 outputs and wires the callbacks.
    void initialiseAudio();
    bool unloadCore();
    void reinitVariables();
    // Stops playback, shows the busy cursor and silences the audio callback.
    void lockProcess();
    // Ends what lockProcess started.
    void unlockProcess();
    bool isProcessLocked() const { return playback.isProcessLocked(); }

    // Dialogs ---------------------------------------------------------------------
    // The engine asks its questions through this host; it is not owned.
    void setDialogHost(NVDialogHost* host);
    NVDialogHost& getDialogHost();

    // Paths -----------------------------------------------------------------------
    juce::String getUserPath() const;
    juce::String getLibraryPath() const;
    juce::String getSoundEnginesPath() const;
    juce::String getCurrentGroovesFolder() const;
    juce::String getCurrentGroovesTempFolder(bool recreate);
    juce::String getFixedGrooveFilePath() const;

    // Songs -------------------------------------------------------------------------
    NVSong* getCurrentSong() const { return currentSong.get(); }
    NVSong* newSong();
    bool newSoundtrackSong(const juce::String& path);
    bool optionallySaveSong();
    bool saveCurrentSong(bool saveAs, bool compressed);
    NVSong* loadSong(const juce::String& path);
    juce::String getCurrentSongName() const;
    bool isSongModified() const { return songModified; }
    void setSongModified(bool modified) { songModified = modified; }
    // Replaces the current song under the engine lock; the old one is deleted.
    void setCurrentSong(std::unique_ptr<NVSong> song);
    juce::CriticalSection& getSongLock() { return songLock; }

    // Tracks ------------------------------------------------------------------------
    NVTrack* getTrack(int i) const;
    int appendTrack(const juce::String& instrumentName);
    // Renames the composition track and the run-time track.
    void setTrackCaption(int track, const juce::String& caption);
    // Mixer settings, kept in the composition and the run-time song alike; false
    // when either is missing. Track volume and mute mark the song modified.
    bool setTrackVolume(int track, float volume);
    float getTrackVolume(int track) const;
    bool setMuteTrack(int track, bool mute);
    bool getMuteTrack(int track) const;
    bool setVolume(float volume);
    float getVolume() const;
    // Before a save: every instrument track's engine state goes into its composition track.
    bool saveEffectsState();
    // Gives a track its instrument and, for instrument tracks, a sound engine,
    // restoring the state saved in the composition track when asked.
    bool setTrackInstrument(int trackIndex, NVInstrument* instrument, bool restoreState);
    // Builds a run-time track for a composition track and inserts it at `index`.
    NVTrack* loadTrack(NVSong& song, const juce::String& instrumentName, TWInstrumentTrack* compositionTrack, int index);
    // Refills a track's loops from the composition; the number of loops.
    int refreshTrackLoops(int track);
    // Regenerates a track's events and clips from the composition.
    bool refreshTrackEvents(int track);
    // Regenerates every track but track 0; false without a composition.
    bool refreshMIDIEvents();
    NVTrack& getAuditionTrack() { return auditionTrack; }
    // Plays the audition track from `tick` (mode 2) until playback stops.
    void startAuditioning(juce::int64 tick);
    // Where the audition track plays, in ticks.
    juce::int64 getLoopEditorTick() const { return (juce::int64) playback.getLoopEditorTick(); }

    // Instruments -------------------------------------------------------------------
    NVInstrument* getInstrument(const juce::String& name) const;
    NVInstrument* getInstrumentByName(const juce::String& name) const { return getInstrument(name); }
    NVInstrument* getInstrumentByIndex(int i) const { return instruments[i]; }
    int getNumInstruments() const { return instruments.size(); }
    static bool isInbuiltPlugin(const juce::PluginDescription& description);
    // Creates the sound engine an instrument names, or null when none can be made.
    std::unique_ptr<juce::AudioPluginInstance> createSoundEngine(const NVInstrument& instrument,
                                                                 juce::String& error);
    juce::KnownPluginList& getKnownPluginList() { return knownPlugins; }
    // The names of the 128 notes of the track's instrument: its strokes, or pitch
    // names without a stroke-name file; 128 empty names when it has no instrument.
    juce::StringArray getStrokesMapping(int trackIndex) const;

    // Time and position -----------------------------------------------------------
    double getSampleRate() const { return playback.getSampleRate(); }
    int getBlockSize() const { return playback.getBlockSize(); }
    int getTempo() const;
    int getBeatWidth() const;
    float getSignatureWidth() const;
    juce::int64 getTicksFromPixels(int x) const;
    juce::int64 getPixelsFromTicks(juce::int64 ticks) const;
    juce::int32 getSamplesFromTicks(juce::int64 ticks) const;
    juce::int64 getTicksFromSamples(juce::uint64 samples) const;
    // The play position in beats.
    double getCurrentPos() const { return playback.getPositionInBeats(); }
    void setCurrentPos(double beats);
    int getPlayCursorX() const;
    void setPlayCursorX(int x);
    int getPlayCursorMax() const;
    void zoomHorizontally(bool zoomIn);
    int getMinimumNrOfBeats() const { return minimumNrOfBeats; }
    void setMinimumNrOfBeats(int beats) { minimumNrOfBeats = beats; }
    juce::uint64 getPlayPositionSamples() const { return playback.getPlayPosition(); }
    juce::int64 getLastRenderedTick() const { return playback.getLastTick(); }
    NVPlayHead& getPlayHead() { return playHead; }
    NVPlayHead& getAuditionPlayHead() { return auditionPlayHead; }

    // Playback state ----------------------------------------------------------------
    TLPlaybackMode getPlaybackMode() const { return playback.getMode(); }
    void setPlaybackMode(TLPlaybackMode mode);
    void resetPlugins();
    int getMasterLevel() const { return playback.getMasterLevel(); }
    NVPlayback& getPlayback() { return playback; }
    // Lends the engine a buffer to play in modes 2 and 3 (not owned; null for none).
    void setPreviewBuffer(const juce::AudioBuffer<float>* buffer) { playback.setPreviewBuffer(buffer); }

    // Arrangement edits, each one undoable transaction ---------------------------------
    juce::UndoManager& getUndoManager() { return undoManager; }
    bool canDragToTrack(int track, int x, const juce::String& path) const;
    bool dragFileToTrack(int track, int x, const juce::String& path, const juce::String& name, int length,
                         bool refresh, bool findFreePlace);
    void moveLoop(int track, int loop, int x);
    void resizeLoop(int track, int loop, int width, bool keepContent);
    void deleteLoop(int track, int loop);
    void deleteSelectedLoops();
    void renameLoop(int track, int loop, const juce::String& name);

    // Selection: loops are kept as track × 10000 + loop number.
    NVSelection& getSelection() { return selection; }
    // -1 without a song; reset to -1 when past the last track.
    int getSelectedTrack();
    void setSelectedTrack(int t) { selection.setSelectedTrack(t); }
    const juce::Array<int>& getSelectedLoops() const { return selection.getSelectedLoops(); }
    void setSelectedLoop(int track, int loop, bool add) { selection.setSelectedLoop(track, loop, add); }
    bool isLoopSelected(int track, int loop) const { return selection.isLoopSelected(track, loop); }
    void loopWasInserted(int track, int loop, bool select) { selection.loopWasInserted(track, loop, select); }
    bool loopWasRemoved(int track, int loop) { return selection.loopWasRemoved(track, loop); }
    void trackWasRemoved(int track) { selection.trackWasRemoved(track); }

    // Loop content ---------------------------------------------------------------------
    int getQuantizeGrid() const { return quantizeGrid; }
    void setQuantizeGrid(int grid) { quantizeGrid = grid; }
    // `ticks` snapped to the quantize grid (ticksPerBeat × 4 / grid ticks).
    juce::int64 quantizeTime(juce::int64 ticks, int ticksPerBeat) const;
    static double getNumBeats(const juce::File& file);
    static juce::int64 getFileNumSamples(const juce::File& file);
    int getSignaturesEstimate(const juce::String& path) const;
    static bool convertToMIDIType0(const juce::File& file);
    static bool expandMidiFile(const juce::File& file, double factor);
    bool quantizeLoop(int track, int loop);
    bool unquantizeLoop(int track, int loop);
    bool applyQuantization(int track, int loop);
    bool isLoopQuantized(int track, int loop) const;
    bool editLoop(int track, int loop);
    // Where loops are shown for editing (not owned; null for none).
    void setLoopEditorHost(NVLoopEditorHost* host);
    bool setLoopEvents(int track, int loop, const juce::MidiMessageSequence& events, int ticksPerQuarterNote);
    bool setLoopBuffer(int track, int loop, const juce::AudioBuffer<float>& buffer);

    // The engine's parts, for the classes that work behind it.
    NVTracks& getTracks() { return *tracks; }
    NVLoopContent& getLoopContent() { return *loopContent; }
    int getRecordingAudioTrack() const { return playback.getRecordingTrack(); }

    // User settings -------------------------------------------------------------------
    NVUserSettings& getSettings() { return settings; }
    juce::AudioDeviceManager& getDeviceManager() { return deviceManager; }
    juce::MidiMessageCollector& getMidiCollector() { return midiCollector; }
    juce::String getEnabledMidiInput() const { return enabledMidiInput; }
    // The five embedded typefaces, in load order.
    juce::Typeface::Ptr getTypeface(int i) const { return juce::isPositiveAndBelow(i, 5) ? typefaces[(size_t) i] : nullptr; }

    // Recording and export ------------------------------------------------------------
    // Thin delegates to NVRecording, NVAudioFiles and NVExport (see those classes).
    void setRecordingAudioTrack(int track);
    bool saveAudioRecording(int track, bool ask);
    bool stopRecording();
    juce::int64 getRecordingStartPosition() const;
    int getRecordingStartX() const;
    void setLoopRangeStartX(int x);
    void setLoopRangeEndX(int x);
    int getLoopRangeStartX() const;
    int getLoopRangeEndX() const;
    NVRecording& getRecording() { return *recording; }
    AudioRecorder& getAudioRecorder() { return *recorder; }
    juce::String mergeAudioFile(const juce::String& basePath, const juce::String& otherPath,
                                juce::int64 offset, bool appendTail);
    juce::String uncompressMP3(const juce::String& path);
    bool bounceSongAsAudioFile(const juce::File& file, bool flag);
    bool bounceSongAsAudioFile(const juce::File& file, bool flag, double sampleRate, int blockSize);
    bool exportSong(const juce::File& target, NVExport::Encoder mode);
    NVExport& getExport() { return *exporter; }

    // AudioSource -----------------------------------------------------------------------
    void prepareToPlay(int samplesPerBlockExpected, double newSampleRate) override;
    void releaseResources() override;
    void getNextAudioBlock(const juce::AudioSourceChannelInfo& info) override;

    ~NVManager() override;

private:
    NVManager();
    void loadTypefaces();
    void buildInstrumentList();

    static NVManager* _singleton;

    // device and hosting
    juce::MidiMessageCollector midiCollector;
    juce::OwnedArray<NVInstrument> instruments;
    juce::AudioDeviceManager deviceManager;
    juce::AudioSourcePlayer sourcePlayer;
    juce::UndoManager undoManager { 30000, 30 };
    juce::KnownPluginList knownPlugins;
    juce::CriticalSection songLock;
    juce::String songFilePath;
    juce::String enabledMidiInput;
    NVMidiTrack auditionTrack { -1 };
    NVUserSettings settings;
    std::array<juce::Typeface::Ptr, 5> typefaces;
    std::unique_ptr<NVTracks> tracks;
    std::unique_ptr<NVDocuments> documents;
    std::unique_ptr<NVEditing> editing;
    std::unique_ptr<NVLoopContent> loopContent;
    std::unique_ptr<TWMIDIFileReader> midiLoopReader;
    NVDialogHost* dialogHost = nullptr;
    std::unique_ptr<NVDialogHost> fallbackDialogs;

    // song
    std::unique_ptr<NVSong> currentSong;
    bool songModified = false;
    NVPlayHead playHead;
    NVPlayHead auditionPlayHead;
    int minimumNrOfBeats = 1;

    // playback state
    NVPlayback playback;
    juce::AudioPlayHead::PositionInfo positionInfo;

    // editing
    NVSelection selection;
    int quantizeGrid = 16;

    // recording and export (the recorder before what uses it)
    std::unique_ptr<AudioRecorder> recorder = std::make_unique<AudioRecorder>();
    std::unique_ptr<NVRecording> recording;
    std::unique_ptr<NVAudioFiles> audioFiles;
    std::unique_ptr<NVExport> exporter;

    friend class NVDocuments;
    JUCE_DECLARE_NON_COPYABLE(NVManager)
};
