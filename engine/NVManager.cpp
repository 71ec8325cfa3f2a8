#include "engine/NVManager.h"

#include "engine/NVAudioTrack.h"
#include "engine/NVDocuments.h"
#include "engine/NVEngineState.h"
#include "engine/NVMidiLoopReader.h"
#include "engine/NVMidiTrack.h"
#include "engine/NVScriptedDialogs.h"
#include "engine/NVTimeUnits.h"
#include "model/TWComponentsMgr.h"
#include "model/TWComposition.h"
#include "model/TWCompositionsMgr.h"
#include "model/TWInstrumentTrack.h"
#include "model/TWRhythmicSequence.h"
#include "model/TWPlaybackMgr.h"
#include "model/TWRegisterModelClasses.h"
#include "model/TWSettings.h"
#include "model/TWStrokesManager.h"
#include "model/TWSwarManager.h"
#include "sound/NVSoundEngineFactory.h"
#include "sound/NVStrokeMapping.h"

#include "NVBinaryData.h"

namespace
{
    TWInstrumentTrack* compositionTrack(int index)
    {
        auto* composition = GetCompositionsMgr()->GetComposition(0);
        return composition != nullptr ? composition->GetTrack(index) : nullptr;
    }
}

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
    : documents(std::make_unique<NVDocuments>(*this))
{
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

    if (mAudioManager == nullptr)
    {
        mAudioManager = new juce::AudioPluginFormatManager();
        mAudioManager->addDefaultFormats();
        NVSoundEngineFactory::registerBuiltinFormat(*mAudioManager);
    }
    engineDescription = std::make_unique<juce::PluginDescription>();
    engineDescription->pluginFormatName = "VST";
    engineDescription->category = "Synth";
    engineDescription->manufacturerName = "Kelvora";
    engineDescription->version = "V2.1.1";
    engineDescription->isInstrument = true;
    engineDescription->numInputChannels = 1;
    engineDescription->numOutputChannels = 2;
    effectDescription = std::make_unique<juce::PluginDescription>();

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
    selectedTrack = -1;
    selectedLoops.clear();
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
bool NVManager::optionallySaveSong() { return documents->optionallySaveSong(); }
bool NVManager::saveCurrentSong(bool saveAs, bool compressed) { return documents->saveCurrentSong(saveAs, compressed); }

juce::String NVManager::getCurrentSongName() const
{
    return currentSong != nullptr ? currentSong->getName() : juce::String();
}

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

int NVManager::appendTrack(const juce::String& instrumentName)
{
    if (currentSong == nullptr)
        return -1;
    auto* instrument = getInstrument(instrumentName);
    const int index = currentSong->getNumTracks();
    NVTrack* track = instrumentName.equalsIgnoreCase("Audio") ? static_cast<NVTrack*>(new NVAudioTrack(index))
                                                              : static_cast<NVTrack*>(new NVMidiTrack(index));
    currentSong->appendTrack(track);
    if (instrument != nullptr)
        setTrackInstrument(index, instrument, false);
    if (getSampleRate() > 0.0)
        track->prepareToPlay(getSampleRate(), getBlockSize());
    return index;
}

void NVManager::setTrackCaption(int track, const juce::String& caption)
{
    if (auto* stored = compositionTrack(track))
        stored->SetName(RWCString(caption.toRawUTF8()));
    if (auto* t = getTrack(track))
        t->setCaption(caption);
}

bool NVManager::setTrackVolume(int track, float volume)
{
    songModified = true;
    auto* stored = compositionTrack(track);
    auto* t = getTrack(track);
    if (stored == nullptr || t == nullptr)
        return false;
    stored->SetFloat(TWInstrumentTrack::Volume, volume);
    t->setVolume(volume);
    return true;
}

float NVManager::getTrackVolume(int track) const
{
    auto* t = getTrack(track);
    return t != nullptr ? t->getVolume() : 0.0f;
}

bool NVManager::setMuteTrack(int track, bool mute)
{
    songModified = true;
    auto* stored = compositionTrack(track);
    auto* t = getTrack(track);
    if (stored == nullptr || t == nullptr)
        return false;
    stored->SetMute(mute);
    t->setMute(mute);
    if (mute)
        t->setSolo(false); // the composition keeps no solo
    return true;
}

bool NVManager::getMuteTrack(int track) const
{
    auto* t = getTrack(track);
    return t != nullptr && t->isMuted();
}

bool NVManager::setVolume(float volume)
{
    auto* composition = GetCompositionsMgr()->GetComposition(0);
    if (composition == nullptr || currentSong == nullptr)
        return false;
    composition->SetVolume(volume);
    currentSong->setVolume(volume);
    return true;
}

float NVManager::getVolume() const
{
    return currentSong != nullptr ? currentSong->getVolume() : 0.0f;
}

bool NVManager::saveEffectsState()
{
    auto* composition = GetCompositionsMgr()->GetComposition(0);
    if (composition == nullptr)
        return false;
    for (int i = 0; i < (int) composition->GetTrackCount(); ++i)
    {
        auto* midi = dynamic_cast<NVMidiTrack*>(getTrack(i));
        auto* stored = composition->GetTrack(i);
        if (midi == nullptr || stored == nullptr)
            continue;
        juce::String text;
        {
            const juce::ScopedLock sl(midi->getLock());
            if (midi->getPlugin() == nullptr)
                continue; // a track whose engine could not be made keeps what it had
        }
        text = NVEngineState::describe(*midi->getPlugin(), midi->getPluginState());
        stored->SetSavedEngineState(RWCString(text.toRawUTF8()));
    }
    return true;
}

bool NVManager::setTrackInstrument(int trackIndex, NVInstrument* instrument, bool restoreState)
{
    auto* track = getTrack(trackIndex);
    if (track == nullptr || instrument == nullptr)
        return false;
    auto* stored = compositionTrack(trackIndex);
    if (stored != nullptr && !track->isAudioTrack())
        stored->SetMIDIPatch(RWCString(instrument->name.toRawUTF8()));
    track->setInstrument(instrument);
    if (track->isAudioTrack())
        return true;

    juce::String error;
    auto engine = createSoundEngine(*instrument, error);
    if (engine == nullptr)
    {
        getDialogHost().showMessageBox(NVDialogHost::Icon::warning, "Synth not found",
                                       "Nadavo requires a synth to be installed on your system.", { "OK" });
        return false;
    }
    if (instrument->program >= 0)
        engine->setCurrentProgram(instrument->program);
    if (restoreState && stored != nullptr)
    {
        const auto& saved = stored->GetSavedEngineState();
        if (saved.length() > 0)
            NVEngineState::restore(*engine, juce::String::fromUTF8(saved.data(), (int) saved.length()));
    }
    track->setPlugin(engine.release(), getSampleRate(), getBlockSize());
    if (getSampleRate() > 0.0)
        track->prepareToPlay(getSampleRate(), getBlockSize());
    return true;
}

std::unique_ptr<juce::AudioPluginInstance> NVManager::createSoundEngine(const NVInstrument& instrument,
                                                                        juce::String& error)
{
    auto description = *engineDescription;
    description.name = instrument.engineName;
    const auto folder = instrument.pluginFolder.isEmpty() ? getSoundEnginesPath() : instrument.pluginFolder;
    description.fileOrIdentifier = folder + instrument.engineName + instrument.pluginExtension;
    return NVSoundEngineFactory::createEngine(*mAudioManager, description, getSampleRate(), getBlockSize(), error);
}

NVTrack* NVManager::loadTrack(NVSong& song, const juce::String& instrumentName, TWInstrumentTrack* stored, int index)
{
    auto* instrument = getInstrument(instrumentName);
    NVTrack* track = instrumentName.equalsIgnoreCase("Audio")
                         ? static_cast<NVTrack*>(new NVAudioTrack(song.getNumTracks()))
                         : static_cast<NVTrack*>(new NVMidiTrack(song.getNumTracks()));
    if (stored != nullptr)
    {
        const auto& name = stored->GetName();
        if (juce::String::fromUTF8(name.data(), (int) name.length()).trim() == "GM" && instrument != nullptr)
            stored->SetName(RWCString(instrument->name.toRawUTF8()));
        const auto& caption = stored->GetName();
        track->setCaption(juce::String::fromUTF8(caption.data(), (int) caption.length()));
        track->setMute(stored->GetMute());
        track->setPan(stored->GetFloat(TWInstrumentTrack::Pan));
        track->setVolume(stored->GetFloat(TWInstrumentTrack::Volume));
        track->setPitchShift(stored->GetPitchShift());
    }
    const int position = song.insertTrack(track, index);
    if (instrument != nullptr && &song == currentSong.get())
        setTrackInstrument(position, instrument, true);
    if (getSampleRate() > 0.0)
        track->prepareToPlay(getSampleRate(), getBlockSize());
    return track;
}

int NVManager::refreshTrackLoops(int trackIndex)
{
    auto* track = getTrack(trackIndex);
    auto* composition = GetCompositionsMgr()->GetComposition(0);
    if (track == nullptr || composition == nullptr)
        return 0;
    track->clearAllLoops();
    for (const auto& item : composition->GetItemsInTrack(trackIndex))
    {
        juce::String name;
        if (item.item != nullptr)
        {
            const auto text = item.item->GetName();
            name = juce::String::fromUTF8(text.data(), (int) text.length());
        }
        track->addLoop(item.item, name, item.start, item.end);
    }
    return track->getNumLoops();
}

bool NVManager::refreshTrackEvents(int trackIndex)
{
    auto* track = getTrack(trackIndex);
    auto* stored = compositionTrack(trackIndex);
    if (track == nullptr || stored == nullptr)
        return false;
    track->clearEvents();
    track->setClipSampleRate(getSampleRate() > 0.0 ? (int) getSampleRate() : 44100);
    stored->SetRuntimeTrack(track);
    unsigned long tick = 0;
    return stored->RefreshMIDITrack(tick, 0);
}

bool NVManager::refreshMIDIEvents()
{
    auto* composition = GetCompositionsMgr()->GetComposition(0);
    if (composition == nullptr || currentSong == nullptr)
        return false;
    for (int i = 1; i < currentSong->getNumTracks(); ++i)
        refreshTrackEvents(i);
    minimumNrOfBeats = composition->GetMinimumNrOfBeats();
    return true;
}

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
}

// Shut-down ------------------------------------------------------------------------------

NVManager::~NVManager()
{
    auditionTrack.setPlugin(nullptr, 0.0, 0);
    playback.setMode(kStopped, nullptr);
    juce::Thread::sleep(100);

    std::unique_ptr<juce::XmlElement> deviceState = deviceManager.createStateXml();
    deviceManager.removeAudioCallback(&sourcePlayer);
    deviceManager.removeMidiInputDeviceCallback({}, &midiCollector);
    sourcePlayer.setSource(nullptr);
    deviceManager.closeAudioDevice();

    // The song goes before the instruments its tracks point to.
    setCurrentSong(nullptr);
    instruments.clear();
    engineDescription.reset();
    effectDescription.reset();
    delete mAudioManager;
    mAudioManager = nullptr;
    TWSetMIDIFileReader(nullptr);

    settings.write(knownPlugins, deviceState.get());
    settings.close();
    GetPlaybackMgr()->SavePatches();
}
