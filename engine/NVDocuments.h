#pragma once
#include "engine/NVSongArchive.h"

#include <juce_core/juce_core.h>

class NVManager;
class NVSong;

// Song documents: creating a new song, asking before a modified one is
// discarded, saving the song temp folder as a song archive (".nvz") and
// opening one.
class NVDocuments
{
public:
    explicit NVDocuments(NVManager& engine) : owner(engine) {}

    static constexpr const char* archiveExtension = ".nvz";

    // The new song, or the current one when the user cancels.
    NVSong* newSong();
    // False when the user cancels, and when the user chose to save and the
    // save failed or was cancelled: the song is then still modified and must
    // not be discarded.
    bool optionallySaveSong();
    // Save (false, false), Save as... (true, false), compressed export (true, true).
    // True once the archive is written in full; false when the user cancelled
    // the file dialog or the archive could not be written, the song then
    // staying modified and any previous archive untouched.
    bool saveCurrentSong(bool saveAs, bool compressed);
    // The New command's work once a soundtrack file is chosen: an MP3 is first
    // decoded to WAV ("Conversion error" when it can't be); a modified song is
    // offered for saving; then a new song gets two audio tracks, "SOUNDTRACK"
    // and "YOUR VOICE", and the file is dropped on track 0 under its own name.
    // False when the user declined, the file couldn't be decoded, or the
    // soundtrack doesn't suit the audio track (see canDragToTrack): the song
    // is then empty.
    bool newSoundtrackSong(const juce::String& path);
    // Opens an archive into the (freshly emptied) temp folder and returns the
    // new song. An archive that can't be opened gives a warning and a new
    // empty song.
    NVSong* loadSong(const juce::String& path);
    // The file name of the document without extension; empty for a new song.
    juce::String getCurrentSongName() const { return songName; }

    // The archive writer, exposed so tests can make writes fail.
    NVSongArchive& getArchive() { return archive; }

    // The sample rate audio files are written with: the device's, or 44100
    // when no device is open.
    double getFileSampleRate() const;

private:
    // The full paths of the files the song's loops play (and their quantized twins).
    juce::StringArray referencedFiles() const;
    // Whether a temp-folder file goes into the archive.
    static bool isArchived(const juce::File& file, const juce::StringArray& referenced);
    // Gives up a load: warns, makes a new song and returns it.
    NVSong* songNotFound();

    NVManager& owner;
    NVSongArchive archive;
    juce::String songName;
};
