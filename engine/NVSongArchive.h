#pragma once
#include <juce_audio_formats/juce_audio_formats.h>

#include <functional>
#include <memory>

// The file work behind song documents: writing a song archive (a zip of
// files, all at top level) without ever losing the previous one, unpacking
// an archive into the song temp folder without writing anywhere else, and
// converting audio loop files to Ogg Vorbis and back.
class NVSongArchive
{
public:
    // Entries are deflated at this level.
    static constexpr int compressionLevel = 5;
    // The Ogg Vorbis writer's quality option ("112 kbps").
    static constexpr int oggQualityIndex = 3;

    struct Entry
    {
        juce::File file;
        juce::String name; // the name inside the archive
    };

    // Opens the stream an archive is written through; tests give one that fails.
    using StreamOpener = std::function<std::unique_ptr<juce::OutputStream>(const juce::File&)>;
    void setStreamOpener(StreamOpener opener) { openStream = std::move(opener); }

    // Writes the entries to a hidden temporary file beside `target`, reads its
    // directory back, and only then moves it over `target` in one rename.
    // On any failure `target` is left as it was and the temporary file removed.
    bool write(const juce::Array<Entry>& entries, const juce::File& target, juce::String& error) const;

    struct UnpackResult
    {
        bool opened = false;   // the file is a zip archive with at least one entry
        int extracted = 0;     // files written into the folder
        juce::StringArray refused; // entry names that were not written (not plain file names)
        juce::String error;    // set when an entry could not be read or written
    };
    // Writes every entry whose name is a plain file name into `folder`,
    // overwriting files. Entries in sub-folders, with "..", absolute paths,
    // drive letters or backslashes, symbolic links and folder entries are
    // not written. Nothing is written outside `folder`.
    static UnpackResult unpack(const juce::File& archive, const juce::File& folder);

    // True when `name` may be written into the temp folder as it is.
    static bool isPlainFileName(const juce::String& name);

    // Reads a WAV (".wav") or AIFF (other names) file whole and writes it as
    // Ogg Vorbis to `ogg` (any old file there deleted first), labelled with
    // `sampleRate`, with the file's channel count and 16 bits, in blocks of
    // 1024 samples. False when the file can't be read or the Ogg file written.
    static bool compressToOgg(const juce::File& source, const juce::File& ogg, double sampleRate);

    // Decodes `ogg` whole and writes it beside it under its name less ".ogg":
    // WAV when that name ends with ".wav" (any case), AIFF otherwise, labelled
    // with `sampleRate`, 16 bits. The Ogg file is deleted once the audio file
    // is written; on failure it is kept. Returns the decoded file, or a default
    // File on failure.
    static juce::File decodeOgg(const juce::File& ogg, double sampleRate);

private:
    // Writes one archive entry to `file`; the reason when it could not.
    static juce::String extract(juce::ZipFile& zip, int index, const juce::File& file);

    StreamOpener openStream;
};
