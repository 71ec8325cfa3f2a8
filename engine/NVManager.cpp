#include "engine/NVManager.h"

#include "engine/NVAudioFiles.h"
#include "engine/NVAudioTrack.h"
#include "engine/NVDocuments.h"
#include "engine/NVEditing.h"
#include "engine/NVLoopContent.h"
#include "engine/NVMidiFiles.h"
#include "engine/NVEngineState.h"
#include "engine/NVMidiLoopReader.h"
#include "engine/NVMidiTrack.h"
#include "engine/NVRecording.h"
#include "engine/NVScriptedDialogs.h"
#include "engine/NVTimeUnits.h"
#include "engine/NVTracks.h"
#include "model/TWComponentsMgr.h"
#include "model/TWComposition.h"
#include "model/TWCompositionsMgr.h"
#include "model/TWInstrumentTrack.h"
#include "model/TWLoopFiles.h"
#include "model/TWRhythmicSequence.h"
#include "model/TWPlaybackMgr.h"
#include "model/TWRegisterModelClasses.h"
#include "model/TWSettings.h"
#include "model/TWStrokesManager.h"
#include "model/TWSwarManager.h"
#include "sound/NVSoundEngineFactory.h"
#include "sound/NVStrokeMapping.h"

#include "NVBinaryData.h"

NVManager* NVManager::_singleton = nullptr;
juce::AudioPluginFormatManager* NVManager::mAudioManager = nullptr;

NVManager* NVManager::getInstance()
{
    if (_singleton == nullptr)
    {
        auto* engine = new NVManager();
        engine->initialize();
        _singleton = engine;
    }
    return _singleton;
}

void NVManager::kill()
{
    if (_singleton != nullptr)
    {
        _singleton->unloadCore();
        delete _singleton;
        _singleton = nullptr;
    }
}

NVManager::NVManager()
    : documents(std::make_unique<NVDocuments>(*this)),
      editing(std::make_unique<NVEditing>(*this)),
      loopContent(std::make_unique<NVLoopContent>(*this))
{
    recording = std::make_unique<NVRecording>(*this, *recorder);
    audioFiles = std::make_unique<NVAudioFiles>(*this);
    exporter = std::make_unique<NVExport>(*this);
}

void NVManager::initialize()
{
    playback.setProcessLocked(false);
    settings.forceMonoInput = false;
    quantizeGrid = 16;
    settings.audioSettings.reset();
    settings.additionalLatency = 0;
    settings.mainWindowBounds = settings.loopEditorBounds = settings.audioEditorBounds = {};
    reinitVariables();

    auditionTrack.setVolume(1.0f);
    auditionTrack.setPan(0.5f);
    playback.setAudition(&auditionTrack, &auditionPlayHead);

    loadTypefaces();
    settings.read(knownPlugins);

    playback.setMode(kStopped, nullptr);
    playHead.start(120.0);
    auditionPlayHead.start(120.0);

    currentSong.reset();
    playback.prepare(0.0, 0);

    // The persistent model: its classes, preferences, notes and strokes, library.
    TWRegisterModelClasses();
    GetSettings();
    GetSwarManager()->CreateAllNotes();
    GetStrokesManager();
    GetComponentsMgr();
    GetCompositionsMgr();
    GetSettings()->LoadSettings();
    midiLoopReader = std::make_unique<NVMidiLoopReader>();
    TWSetMIDIFileReader(midiLoopReader.get());
    TWLoopFiles::SetMIDIType0Converter([](const std::string& path)
                                       { return NVMidiFiles::convertToMIDIType0(juce::File(juce::String::fromUTF8(path.c_str()))); });

    if (mAudioManager == nullptr)
    {
        mAudioManager = new juce::AudioPluginFormatManager();
        mAudioManager->addDefaultFormats();
        NVSoundEngineFactory::registerBuiltinFormat(*mAudioManager);
    }
    tracks = std::make_unique<NVTracks>(*this);

    buildInstrumentList();
}

void NVManager::loadTypefaces()
{
    using namespace NVBinaryData;
    typefaces[0] = juce::Typeface::createSystemTypefaceFor(slkscr_ttf, (size_t) slkscr_ttfSize);
    typefaces[1] = juce::Typeface::createSystemTypefaceFor(proggytiny_ttf, (size_t) proggytiny_ttfSize);
    typefaces[2] = juce::Typeface::createSystemTypefaceFor(pf_tempesta_five_ttf, (size_t) pf_tempesta_five_ttfSize);
    typefaces[3] = juce::Typeface::createSystemTypefaceFor(eightbitoperator_jve_ttf, (size_t) eightbitoperator_jve_ttfSize);
    typefaces[4] = juce::Typeface::createSystemTypefaceFor(liquid_crystal_ttf, (size_t) liquid_crystal_ttfSize);
}

namespace
{
    juce::String toText(const RWCString& s)
    {
        return juce::String::fromUTF8(s.data(), (int) s.length());
    }
}

void NVManager::buildInstrumentList()
{
    instruments.clear();
    auto* table = GetPlaybackMgr();
    for (std::size_t i = 0; i < table->GetPatchCount(); ++i)
    {
        const auto* patch = table->GetPatch(i);
        if (patch == nullptr)
            continue;
        auto* instrument = instruments.add(new NVInstrument());
        instrument->name = toText(patch->mName);
        instrument->engineName = toText(patch->mEngineName);
        instrument->pluginFolder = toText(patch->mPluginFolder);
        instrument->pluginExtension = toText(patch->mPluginExtension);
        instrument->photo = toText(patch->mPhoto);
        instrument->drumKit = patch->mDrumKit;
        instrument->bank = patch->mBank;
        instrument->subBank = patch->mSubBank;
        instrument->slot = patch->mSlot;
        instrument->program = patch->mProgram;
    }
}

juce::StringArray NVManager::getStrokesMapping(int trackIndex) const
{
    auto* track = getTrack(trackIndex);
    if (track == nullptr || track->getInstrument() == nullptr)
    {
        juce::StringArray empty;
        for (int i = 0; i < NVStrokeMapping::numNotes; ++i)
            empty.add({});
        return empty;
    }
    return NVStrokeMapping::read(juce::File(getSoundEnginesPath() + track->getInstrument()->engineName + ".def"));
}

void NVManager::initialiseAudio()
{
    const auto midiInputs = juce::MidiInput::getAvailableDevices();
    enabledMidiInput = midiInputs.isEmpty() ? juce::String() : midiInputs.getLast().identifier;

    // Without a usable device the program runs on at sample rate 0.
    deviceManager.initialise(2, 2, settings.audioSettings.get(), true, {}, nullptr);
    // A default device gives the manager no state to save: choose it explicitly
    // (reopening it before any callback is registered), so that its state is
    // written at exit and the next start finds the same device.
    if (deviceManager.getCurrentAudioDevice() != nullptr && deviceManager.createStateXml() == nullptr)
    {
        const auto setup = deviceManager.getAudioDeviceSetup();
        deviceManager.closeAudioDevice();
        deviceManager.setAudioDeviceSetup(setup, true);
    }

    sourcePlayer.setSource(this);
    deviceManager.addAudioCallback(recorder.get()); // before the source player
    deviceManager.addAudioCallback(&sourcePlayer);

    deviceManager.addMidiInputDeviceCallback({}, &midiCollector);
    if (enabledMidiInput.isNotEmpty())
        deviceManager.setMidiInputDeviceEnabled(enabledMidiInput, true);

    settings.audioSettings.reset();
}

bool NVManager::unloadCore()
{
    undoManager.clearUndoHistory();
    return true;
}

void NVManager::reinitVariables()
{
    playback.setLoopEditorTick(0.0);
    playback.setPosition(0, 0, 0.0);
    playback.setMasterLevel(0);
    positionInfo = {};
    selection.clear();
    playback.setRecordingTrack(-1);
    songModified = false;
    playback.setRecordingTicks(0, 0);
    auto* composition = GetCompositionsMgr()->GetComposition(0);
    minimumNrOfBeats = composition != nullptr ? composition->GetMinimumNrOfBeats() : 1;
}

void NVManager::lockProcess()
{
    setPlaybackMode(kStopped);
    getDialogHost().setBusy(true);
    playback.setProcessLocked(true);
}

void NVManager::unlockProcess()
{
    getDialogHost().setBusy(false);
    playback.setProcessLocked(false);
}

void NVManager::setDialogHost(NVDialogHost* host)
{
    dialogHost = host;
}

NVDialogHost& NVManager::getDialogHost()
{
    if (dialogHost != nullptr)
        return *dialogHost;
    if (fallbackDialogs == nullptr)
        fallbackDialogs = std::make_unique<NVScriptedDialogs>();
    return *fallbackDialogs;
}

// Paths ------------------------------------------------------------------------------

juce::String NVManager::getUserPath() const
{
    return juce::String::fromUTF8(GetSettings()->GetApplicationFolder().c_str());
}

juce::String NVManager::getLibraryPath() const
{
    return juce::String::fromUTF8(GetSettings()->GetDefaultBinariesPath().c_str());
}

juce::String NVManager::getSoundEnginesPath() const
{
    return juce::File::getSpecialLocation(juce::File::currentExecutableFile)
               .getParentDirectory()
               .getChildFile("Sound Engines")
               .getFullPathName()
           + juce::File::getSeparatorString();
}

juce::String NVManager::getCurrentGroovesFolder() const
{
    return juce::String::fromUTF8(GetSettings()->GetSongsFolder().c_str());
}

juce::String NVManager::getCurrentGroovesTempFolder(bool recreate)
{
    const juce::String path = getCurrentGroovesFolder() + "/" + "temp";
    if (!recreate)
        return path;

    const juce::File folder(path);
    if (folder.exists() && !folder.deleteRecursively())
    {
        getDialogHost().showMessageBox(NVDialogHost::Icon::warning, "Warning",
                                       "Can't delete previous song temp folder.", { "OK" });
        return {};
    }
    if (!folder.createDirectory())
    {
        getDialogHost().showMessageBox(NVDialogHost::Icon::warning, "Warning",
                                       "Can't recreate temp folder.", { "OK" });
        return {};
    }
    folder.setReadOnly(false, false);
    return path;
}

juce::String NVManager::getFixedGrooveFilePath() const
{
    return getCurrentGroovesFolder() + "/" + "temp" + "/" + "Main.nvc";
}

// Songs ------------------------------------------------------------------------------

NVSong* NVManager::newSong() { return documents->newSong(); }
bool NVManager::newSoundtrackSong(const juce::String& path) { return documents->newSoundtrackSong(path); }
bool NVManager::optionallySaveSong() { return documents->optionallySaveSong(); }
bool NVManager::saveCurrentSong(bool saveAs, bool compressed) { return documents->saveCurrentSong(saveAs, compressed); }
NVSong* NVManager::loadSong(const juce::String& path) { return documents->loadSong(path); }
juce::String NVManager::getCurrentSongName() const { return documents->getCurrentSongName(); }

void NVManager::setCurrentSong(std::unique_ptr<NVSong> song)
{
    std::unique_ptr<NVSong> old;
    {
        const juce::ScopedLock sl(songLock);
        old = std::move(currentSong);
        currentSong = std::move(song);
    }
}

// Tracks -----------------------------------------------------------------------------

NVTrack* NVManager::getTrack(int i) const
{
    return currentSong != nullptr ? currentSong->getTrack(i) : nullptr;
}

int NVManager::appendTrack(const juce::String& instrumentName) { return editing->appendTrack(instrumentName); }

// Arrangement edits ------------------------------------------------------------------------

bool NVManager::canDragToTrack(int track, int x, const juce::String& path) const { return editing->canDragToTrack(track, x, path); }
bool NVManager::dragFileToTrack(int track, int x, const juce::String& path, const juce::String& name, int length,
                                bool refresh, bool findFreePlace)
{
    return editing->dragFileToTrack(track, x, path, name, length, refresh, findFreePlace);
}
void NVManager::moveLoop(int track, int loop, int x) { editing->moveLoop(track, loop, x); }
void NVManager::resizeLoop(int track, int loop, int width, bool keepContent) { editing->resizeLoop(track, loop, width, keepContent); }
void NVManager::deleteLoop(int track, int loop) { editing->deleteLoop(track, loop); }
void NVManager::deleteSelectedLoops() { editing->deleteSelectedLoops(); }
void NVManager::renameLoop(int track, int loop, const juce::String& name) { editing->renameLoop(track, loop, name); }

int NVManager::getSelectedTrack()
{
    if (currentSong == nullptr)
        return -1;
    return selection.getSelectedTrack(currentSong->getNumTracks());
}

// Loop content ------------------------------------------------------------------------------

juce::int64 NVManager::quantizeTime(juce::int64 ticks, int ticksPerBeat) const { return NVMidiFiles::quantizeTime(ticks, ticksPerBeat, quantizeGrid); }
double NVManager::getNumBeats(const juce::File& file) { return NVMidiFiles::getNumBeats(file); }
juce::int64 NVManager::getFileNumSamples(const juce::File& file) { return NVLoopContent::getFileNumSamples(file); }
int NVManager::getSignaturesEstimate(const juce::String& path) const { return loopContent->getSignaturesEstimate(path); }
bool NVManager::convertToMIDIType0(const juce::File& file) { return NVMidiFiles::convertToMIDIType0(file); }
bool NVManager::expandMidiFile(const juce::File& file, double factor) { return NVMidiFiles::expandMidiFile(file, factor); }
bool NVManager::quantizeLoop(int track, int loop) { return loopContent->quantizeLoop(track, loop); }
bool NVManager::unquantizeLoop(int track, int loop) { return loopContent->unquantizeLoop(track, loop); }
bool NVManager::applyQuantization(int track, int loop) { return loopContent->applyQuantization(track, loop); }
bool NVManager::isLoopQuantized(int track, int loop) const { return loopContent->isLoopQuantized(track, loop); }
bool NVManager::editLoop(int track, int loop) { return loopContent->editLoop(track, loop); }
void NVManager::setLoopEditorHost(NVLoopEditorHost* host) { loopContent->setEditorHost(host); }
bool NVManager::setLoopEvents(int track, int loop, const juce::MidiMessageSequence& events, int ticksPerQuarterNote)
{
    return loopContent->setLoopEvents(track, loop, events, ticksPerQuarterNote);
}
bool NVManager::setLoopBuffer(int track, int loop, const juce::AudioBuffer<float>& buffer)
{
    return loopContent->setLoopBuffer(track, loop, buffer);
}
void NVManager::setTrackCaption(int track, const juce::String& caption) { tracks->setTrackCaption(track, caption); }
bool NVManager::setTrackVolume(int track, float volume) { return tracks->setTrackVolume(track, volume); }
float NVManager::getTrackVolume(int track) const { return tracks->getTrackVolume(track); }
bool NVManager::setMuteTrack(int track, bool mute) { return tracks->setMuteTrack(track, mute); }
bool NVManager::getMuteTrack(int track) const { return tracks->getMuteTrack(track); }
bool NVManager::setVolume(float volume) { return tracks->setVolume(volume); }
float NVManager::getVolume() const { return tracks->getVolume(); }
bool NVManager::saveEffectsState() { return tracks->saveEffectsState(); }
bool NVManager::setTrackInstrument(int track, NVInstrument* instrument, bool restoreState) { return tracks->setTrackInstrument(track, instrument, restoreState); }
std::unique_ptr<juce::AudioPluginInstance> NVManager::createSoundEngine(const NVInstrument& instrument, juce::String& error) { return tracks->createSoundEngine(instrument, error); }
NVTrack* NVManager::loadTrack(NVSong& song, const juce::String& name, TWInstrumentTrack* stored, int index) { return tracks->loadTrack(song, name, stored, index); }
int NVManager::refreshTrackLoops(int track) { return tracks->refreshTrackLoops(track); }
bool NVManager::refreshTrackEvents(int track) { return tracks->refreshTrackEvents(track); }
bool NVManager::refreshMIDIEvents() { return tracks->refreshMIDIEvents(); }

// Instruments -------------------------------------------------------------------------

NVInstrument* NVManager::getInstrument(const juce::String& name) const
{
    for (auto* instrument : instruments)
        if (instrument->name.equalsIgnoreCase(name))
            return instrument;
    return nullptr;
}

bool NVManager::isInbuiltPlugin(const juce::PluginDescription& description)
{
    return NVEngineState::isInbuiltPlugin(description);
}

// Time and position -------------------------------------------------------------------

int NVManager::getTempo() const
{
    return currentSong != nullptr && currentSong->getTempo() > 0 ? currentSong->getTempo() : 120;
}

int NVManager::getBeatWidth() const { return GetSettings()->GetTVBeatWidth(); }
float NVManager::getSignatureWidth() const { return NVTimeUnits::signatureWidth(getBeatWidth()); }
juce::int64 NVManager::getTicksFromPixels(int x) const { return NVTimeUnits::ticksFromPixels(x, getBeatWidth()); }
juce::int64 NVManager::getPixelsFromTicks(juce::int64 ticks) const { return NVTimeUnits::pixelsFromTicks(ticks, getBeatWidth()); }
juce::int32 NVManager::getSamplesFromTicks(juce::int64 ticks) const { return NVTimeUnits::samplesFromTicks(ticks, getSampleRate(), getTempo()); }
juce::int64 NVManager::getTicksFromSamples(juce::uint64 samples) const { return NVTimeUnits::ticksFromSamples(samples, getSampleRate(), getTempo()); }
int NVManager::getPlayCursorX() const { return NVTimeUnits::playCursorX(getBeatWidth(), getCurrentPos()); }
int NVManager::getPlayCursorMax() const { return NVTimeUnits::playCursorMax(minimumNrOfBeats, getBeatWidth()); }

void NVManager::setCurrentPos(double beats)
{
    playHead.setNewPosition(beats);
    const auto tick = NVTimeUnits::ticksFromBeats(beats);
    playback.setPosition((juce::uint64) juce::jmax(0, getSamplesFromTicks(tick)), tick, beats);
}

void NVManager::setPlayCursorX(int x)
{
    setCurrentPos((double) x / getBeatWidth());
}

void NVManager::zoomHorizontally(bool zoomIn)
{
    const int width = getBeatWidth();
    GetSettings()->SetTVBeatWidth(zoomIn ? juce::jmin(200, width + 10) : juce::jmax(10, width - 10));
}

// Playback ------------------------------------------------------------------------------

void NVManager::setPlaybackMode(TLPlaybackMode mode)
{
    playback.setMode(mode, currentSong.get());
    if (mode == kPlaying)
        playHead.start((double) getTempo());
    else if (mode == kPreviewing || mode == kAuditioning)
    {
        playback.setLoopEditorTick(0.0);
        auditionPlayHead.start();
    }
}

void NVManager::startAuditioning(juce::int64 tick)
{
    setPlaybackMode(kStopped);
    setPlaybackMode(kPreviewing);
    playback.setLoopEditorTick((double) juce::jmax((juce::int64) 0, tick));
}

void NVManager::resetPlugins()
{
    if (currentSong != nullptr)
        currentSong->resetSoundEngines();
}

void NVManager::prepareToPlay(int samplesPerBlockExpected, double newSampleRate)
{
    playback.prepare(newSampleRate, samplesPerBlockExpected);
    midiCollector.reset(newSampleRate);
    auditionTrack.prepareToPlay(newSampleRate, samplesPerBlockExpected);
    if (currentSong != nullptr)
        currentSong->prepareToPlay(newSampleRate, samplesPerBlockExpected);
}

void NVManager::releaseResources() {}

void NVManager::getNextAudioBlock(const juce::AudioSourceChannelInfo& info)
{
    playback.renderBlock(info, currentSong.get());
    // The recorder writes once the play position has reached the take's start.
    if (playback.recorderShouldRun() && playback.getMode() == kPlaying && playback.getRecordingTrack() > 0)
        recorder->setActive(true);
}

// Recording and export ------------------------------------------------------------------

void NVManager::setRecordingAudioTrack(int track) { recording->setRecordingAudioTrack(track); }
bool NVManager::saveAudioRecording(int track, bool ask) { return recording->saveAudioRecording(track, ask); }
bool NVManager::stopRecording() { return recording->stopRecording(); }
juce::int64 NVManager::getRecordingStartPosition() const { return recording->getRecordingStartPosition(); }
int NVManager::getRecordingStartX() const { return recording->getRecordingStartX(); }
void NVManager::setLoopRangeStartX(int x) { recording->setLoopRangeStartX(x); }
void NVManager::setLoopRangeEndX(int x) { recording->setLoopRangeEndX(x); }
int NVManager::getLoopRangeStartX() const { return recording->getLoopRangeStartX(); }
int NVManager::getLoopRangeEndX() const { return recording->getLoopRangeEndX(); }
juce::String NVManager::mergeAudioFile(const juce::String& base, const juce::String& other, juce::int64 offset, bool appendTail) { return audioFiles->mergeAudioFile(base, other, offset, appendTail); }
juce::String NVManager::uncompressMP3(const juce::String& path) { return audioFiles->uncompressMP3(path); }
bool NVManager::bounceSongAsAudioFile(const juce::File& file, bool flag) { return exporter->bounceSongAsAudioFile(file, flag); }
bool NVManager::bounceSongAsAudioFile(const juce::File& file, bool flag, double rate, int block) { return exporter->bounceSongAsAudioFile(file, flag, rate, block); }
bool NVManager::exportSong(const juce::File& target, NVExport::Encoder mode) { return exporter->exportSong(target, mode); }

// Shut-down ------------------------------------------------------------------------------

NVManager::~NVManager()
{
    auditionTrack.setPlugin(nullptr, 0.0, 0);
    playback.setMode(kStopped, nullptr);
    // Let a running device finish the block it is rendering; without one there is nothing to wait for.
    if (deviceManager.getCurrentAudioDevice() != nullptr)
        juce::Thread::sleep(100);

    std::unique_ptr<juce::XmlElement> deviceState = deviceManager.createStateXml();
    deviceManager.removeAudioCallback(recorder.get());
    deviceManager.removeAudioCallback(&sourcePlayer);
    deviceManager.removeMidiInputDeviceCallback({}, &midiCollector);
    sourcePlayer.setSource(nullptr);
    deviceManager.closeAudioDevice();
    recording.reset();
    recorder.reset();

    // The song goes before the instruments its tracks point to.
    setCurrentSong(nullptr);
    instruments.clear();
    tracks.reset();
    delete mAudioManager;
    mAudioManager = nullptr;
    TWSetMIDIFileReader(nullptr);
    TWLoopFiles::SetMIDIType0Converter(nullptr);

    settings.write(knownPlugins, deviceState.get());
    settings.close();
    GetPlaybackMgr()->SavePatches();
}
