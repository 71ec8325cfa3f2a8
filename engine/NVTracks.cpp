#include "engine/NVTracks.h"

#include "engine/NVAudioTrack.h"
#include "engine/NVEngineState.h"
#include "engine/NVManager.h"
#include "engine/NVMidiTrack.h"
#include "model/TWComposition.h"
#include "model/TWCompositionsMgr.h"
#include "model/TWInstrumentTrack.h"
#include "model/TWRhythmicSequence.h"
#include "sound/NVSoundEngineFactory.h"

namespace
{
    TWInstrumentTrack* compositionTrack(int index)
    {
        auto* composition = GetCompositionsMgr()->GetComposition(0);
        return composition != nullptr ? composition->GetTrack(index) : nullptr;
    }

    juce::String toText(const RWCString& s)
    {
        return juce::String::fromUTF8(s.data(), (int) s.length());
    }
}

NVTracks::NVTracks(NVManager& engine) : owner(engine)
{
    // The description every sound engine is loaded from; name and file are set per instrument.
    engineDescription.pluginFormatName = "VST";
    engineDescription.category = "Synth";
    engineDescription.manufacturerName = "Kelvora";
    engineDescription.version = "V2.1.1";
    engineDescription.isInstrument = true;
    engineDescription.numInputChannels = 1;
    engineDescription.numOutputChannels = 2;
}

int NVTracks::appendTrack(const juce::String& instrumentName)
{
    auto* song = owner.getCurrentSong();
    auto* composition = GetCompositionsMgr()->GetComposition(0);
    if (song == nullptr || composition == nullptr)
        return -1;
    owner.setPlaybackMode(kStopped);
    const bool audio = instrumentName.equalsIgnoreCase("Audio");
    if (composition->AddInstrumentTrack(audio ? "Audio" : "GM", 0, RWCString(instrumentName.toRawUTF8()), 0, 4, 100, 0) < 0)
        return -1;
    const int index = (int) composition->GetTrackCount() - 1;
    loadTrack(*song, instrumentName, composition->GetTrack(index), index);
    refreshTrackLoops(index);
    owner.setSongModified(true);
    return index;
}

bool NVTracks::removeTrack(int index)
{
    auto* song = owner.getCurrentSong();
    auto* composition = GetCompositionsMgr()->GetComposition(0);
    if (song == nullptr || composition == nullptr || !composition->RemoveTrack(index))
        return false;
    owner.setPlaybackMode(kStopped);
    owner.getSelection().trackWasRemoved(index);
    const juce::ScopedLock sl(owner.getSongLock());
    song->removeTrack(index);
    return true;
}

void NVTracks::setTrackCaption(int track, const juce::String& caption)
{
    if (auto* stored = compositionTrack(track))
        stored->SetName(RWCString(caption.toRawUTF8()));
    if (auto* t = owner.getTrack(track))
        t->setCaption(caption);
}

bool NVTracks::setTrackVolume(int track, float volume)
{
    owner.setSongModified(true);
    auto* stored = compositionTrack(track);
    auto* t = owner.getTrack(track);
    if (stored == nullptr || t == nullptr)
        return false;
    stored->SetFloat(TWInstrumentTrack::Volume, volume);
    t->setVolume(volume);
    return true;
}

float NVTracks::getTrackVolume(int track) const
{
    auto* t = owner.getTrack(track);
    return t != nullptr ? t->getVolume() : 0.0f;
}

bool NVTracks::setMuteTrack(int track, bool mute)
{
    owner.setSongModified(true);
    auto* stored = compositionTrack(track);
    auto* t = owner.getTrack(track);
    if (stored == nullptr || t == nullptr)
        return false;
    stored->SetMute(mute);
    t->setMute(mute);
    if (mute)
        t->setSolo(false); // the composition keeps no solo
    return true;
}

bool NVTracks::getMuteTrack(int track) const
{
    auto* t = owner.getTrack(track);
    return t != nullptr && t->isMuted();
}

bool NVTracks::setVolume(float volume)
{
    auto* composition = GetCompositionsMgr()->GetComposition(0);
    if (composition == nullptr || owner.getCurrentSong() == nullptr)
        return false;
    composition->SetVolume(volume);
    owner.getCurrentSong()->setVolume(volume);
    return true;
}

float NVTracks::getVolume() const
{
    return owner.getCurrentSong() != nullptr ? owner.getCurrentSong()->getVolume() : 0.0f;
}

bool NVTracks::saveEffectsState()
{
    auto* composition = GetCompositionsMgr()->GetComposition(0);
    if (composition == nullptr)
        return false;
    for (int i = 0; i < (int) composition->GetTrackCount(); ++i)
    {
        auto* midi = dynamic_cast<NVMidiTrack*>(owner.getTrack(i));
        auto* stored = composition->GetTrack(i);
        // Engines are swapped only on this thread; a track whose engine could
        // not be made keeps the state it had.
        if (midi == nullptr || stored == nullptr || midi->getPlugin() == nullptr)
            continue;
        const auto text = NVEngineState::describe(*midi->getPlugin(), midi->getPluginState());
        stored->SetSavedEngineState(RWCString(text.toRawUTF8()));
    }
    return true;
}

bool NVTracks::setTrackInstrument(int trackIndex, NVInstrument* instrument, bool restoreState)
{
    auto* track = owner.getTrack(trackIndex);
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
        owner.getDialogHost().showMessageBox(NVDialogHost::Icon::warning, "Synth not found",
                                       "Nadavo requires a synth to be installed on your system.", { "OK" });
        return false;
    }
    if (instrument->program >= 0)
        engine->setCurrentProgram(instrument->program);
    if (restoreState && stored != nullptr)
    {
        const auto& saved = stored->GetSavedEngineState();
        if (saved.length() > 0)
            NVEngineState::restore(*engine, toText(saved));
    }
    track->setPlugin(engine.release(), owner.getSampleRate(), owner.getBlockSize());
    if (owner.getSampleRate() > 0.0)
        track->prepareToPlay(owner.getSampleRate(), owner.getBlockSize());
    return true;
}

std::unique_ptr<juce::AudioPluginInstance> NVTracks::createSoundEngine(const NVInstrument& instrument,
                                                                        juce::String& error)
{
    auto description = engineDescription;
    description.name = instrument.engineName;
    const auto folder = instrument.pluginFolder.isEmpty() ? owner.getSoundEnginesPath() : instrument.pluginFolder;
    description.fileOrIdentifier = folder + instrument.engineName + instrument.pluginExtension;
    return NVSoundEngineFactory::createEngine(*NVManager::mAudioManager, description, owner.getSampleRate(), owner.getBlockSize(), error);
}

NVTrack* NVTracks::loadTrack(NVSong& song, const juce::String& instrumentName, TWInstrumentTrack* stored, int index)
{
    auto* instrument = owner.getInstrument(instrumentName);
    NVTrack* track = instrumentName.equalsIgnoreCase("Audio")
                         ? static_cast<NVTrack*>(new NVAudioTrack(song.getNumTracks()))
                         : static_cast<NVTrack*>(new NVMidiTrack(song.getNumTracks()));
    if (stored != nullptr)
    {
        const auto& name = stored->GetName();
        if (toText(name).trim() == "GM" && instrument != nullptr)
            stored->SetName(RWCString(instrument->name.toRawUTF8()));
        const auto& caption = stored->GetName();
        track->setCaption(toText(caption));
        track->setMute(stored->GetMute());
        track->setPan(stored->GetFloat(TWInstrumentTrack::Pan));
        track->setVolume(stored->GetFloat(TWInstrumentTrack::Volume));
        track->setPitchShift(stored->GetPitchShift());
    }
    const int position = song.insertTrack(track, index);
    if (instrument != nullptr && &song == owner.getCurrentSong())
        setTrackInstrument(position, instrument, true);
    if (owner.getSampleRate() > 0.0)
        track->prepareToPlay(owner.getSampleRate(), owner.getBlockSize());
    return track;
}

int NVTracks::refreshTrackLoops(int trackIndex)
{
    auto* track = owner.getTrack(trackIndex);
    auto* composition = GetCompositionsMgr()->GetComposition(0);
    if (track == nullptr || composition == nullptr)
        return 0;
    track->clearAllLoops();
    for (const auto& item : composition->GetItemsInTrack(trackIndex))
    {
        juce::String name;
        if (item.item != nullptr)
        {
            name = toText(item.item->GetName());
        }
        track->addLoop(item.item, name, item.start, item.end);
    }
    return track->getNumLoops();
}

bool NVTracks::refreshTrackEvents(int trackIndex)
{
    auto* track = owner.getTrack(trackIndex);
    auto* stored = compositionTrack(trackIndex);
    if (track == nullptr || stored == nullptr)
        return false;
    track->clearEvents();
    track->setClipSampleRate(owner.getSampleRate() > 0.0 ? (int) owner.getSampleRate() : 44100);
    stored->SetRuntimeTrack(track);
    unsigned long tick = 0;
    return stored->RefreshMIDITrack(tick, 0);
}

bool NVTracks::refreshMIDIEvents()
{
    auto* composition = GetCompositionsMgr()->GetComposition(0);
    if (composition == nullptr || owner.getCurrentSong() == nullptr)
        return false;
    for (int i = 1; i < owner.getCurrentSong()->getNumTracks(); ++i)
        refreshTrackEvents(i);
    owner.setMinimumNrOfBeats(composition->GetMinimumNrOfBeats());
    return true;
}

