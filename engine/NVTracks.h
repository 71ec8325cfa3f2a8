#pragma once
#include <juce_audio_processors/juce_audio_processors.h>

class NVInstrument;
class NVManager;
class NVSong;
class NVTrack;
class TWInstrumentTrack;

// The engine's work on song tracks: building them from the composition,
// giving them instruments and sound engines, refilling their loops and
// events, and keeping their mixer settings in the composition and the song.
class NVTracks
{
public:
    explicit NVTracks(NVManager& engine);

    // Adds a composition track at the end ("Audio", or "GM" with the
    // instrument as patch), builds its run-time track and loops, marks the
    // song modified; the new index, or -1.
    int appendTrack(const juce::String& instrumentName);
    // Removes the track from the composition, the selection and the song.
    bool removeTrack(int index);
    NVTrack* loadTrack(NVSong& song, const juce::String& instrumentName, TWInstrumentTrack* compositionTrack, int index);
    bool setTrackInstrument(int trackIndex, NVInstrument* instrument, bool restoreState);
    std::unique_ptr<juce::AudioPluginInstance> createSoundEngine(const NVInstrument& instrument, juce::String& error);
    int refreshTrackLoops(int track);
    bool refreshTrackEvents(int track);
    bool refreshMIDIEvents();

    void setTrackCaption(int track, const juce::String& caption);
    bool setTrackVolume(int track, float volume);
    float getTrackVolume(int track) const;
    bool setMuteTrack(int track, bool mute);
    bool getMuteTrack(int track) const;
    bool setVolume(float volume);
    float getVolume() const;
    bool saveEffectsState();

private:
    NVManager& owner;
    juce::PluginDescription engineDescription;
};
