#pragma once
#include "engine/NVLyrics.h"
#include "engine/NVTrack.h"

#include <array>

// The song as it plays: its tracks (a track's index always equals its
// position), lyrics, mix settings and information texts.
class NVSong
{
public:
    static constexpr int numInfoFields = 10;
    static const std::array<const char*, numInfoFields> infoFieldNames;

    NVSong(float volume = 0.9f, const juce::String& name = "New Song", float pitch = 0.0f,
           int tempo = 0, int barSize = 3);
    ~NVSong();

    // Tracks ---------------------------------------------------------------
    int getNumTracks() const { return tracks.size(); }
    NVTrack* getTrack(int i) const { return tracks[i]; }
    juce::Array<NVTrack*> getTracks() const;
    int appendTrack(NVTrack* track);
    int insertTrack(NVTrack* track, int i);
    void removeTrack(int i);
    NVLoop* GetLoop(int track, int loop) const;
    bool setLoopName(int track, int loop, const juce::String& name);
    // Which appearance of its library item the loop is on its track, from 1; 0 when there is no such loop.
    int getLoopInstance(int track, int loop) const;
    // The loop playing `item` on the track, preferring one that starts at
    // `preferredStart` (quarter beats); -1 when none does.
    int findLoop(int track, const TWRhythmicSequence* item, int preferredStart = -1) const;
    // First and last loop positions on the track overlapping [from, to) in quarter beats; -1 when none.
    void getLoopsInBounds(int track, int from, int to, int& first, int& last) const;
    void prepareToPlay(double sampleRate, int blockSize);
    // Renders every audio track and every track with a sound engine into the
    // output for the ticks [from, to); samplePosition is where the block starts.
    void processSlice(juce::int64 from, juce::int64 to, juce::uint64 samplePosition,
                      juce::AudioBuffer<float>& out);
    // Cuts every sounding note (under each track's lock).
    void resetSoundEngines();

    // Settings ---------------------------------------------------------------
    const juce::String& getName() const { return name; }
    void setName(const juce::String& n) { name = n; }
    float getVolume() const { return volume; }
    void setVolume(float v) { volume = v; }
    float getPitch() const { return pitch; }
    void setPitch(float p) { pitch = p; }
    int getTempo() const { return tempo; }
    void setTempo(int t) { tempo = t; }
    const juce::String& getStyle() const { return style; }
    void setStyle(const juce::String& s) { style = s; }

    juce::String getInfo(int field) const { return juce::isPositiveAndBelow(field, numInfoFields) ? info[(size_t) field] : juce::String(); }
    void setInfo(int field, const juce::String& text) { if (juce::isPositiveAndBelow(field, numInfoFields)) info[(size_t) field] = text; }
    // The song-info file: a "SongInfo" element with one child per text, in
    // field order, UTF-8, lines wrapped at 60. Any file there is replaced.
    bool saveInfo(const juce::String& path) const;
    // Each text from the child of its name (empty when missing). A missing
    // or unreadable file leaves every text as it is and answers false.
    bool restoreInfo(const juce::String& path);

    int barSize = 3;
    int length = 0;
    juce::OwnedArray<NVLyrics> lyrics;
    float lyricsTempo = 120.0f;

private:
    void renumberTracks();

    juce::String name;
    float volume = 0.9f;
    float pitch = 0.0f;
    int tempo = 0;
    juce::String style;
    juce::OwnedArray<NVTrack> tracks;
    juce::MidiBuffer midi; // handed to every track's slice; unused by the tracks themselves
    std::array<juce::String, numInfoFields> info;

    JUCE_DECLARE_NON_COPYABLE(NVSong)
};
