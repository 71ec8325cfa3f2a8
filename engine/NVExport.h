#pragma once
#include <juce_core/juce_core.h>

#include <functional>

class NVManager;

// Exporting the song: the offline bounce into an AIFF file, faster than real
// time, and the hand-off of such a bounce to the LAME encoder for MP3 files.
//
// The bounce runs on an export thread (or the caller's): it stops playback and
// sets the engine's process lock for its duration, so the audio callback
// outputs silence instead of rendering the song at the same time.
class NVExport
{
public:
    // Whether the MP3 export waits for the encoder: the program's export window
    // starts it and goes on; the command-line tool waits and reports its result.
    enum class Encoder { start, waitForResult };

    explicit NVExport(NVManager& engine);
    ~NVExport();

    // Renders the whole song into `file` as a 2-channel 16-bit AIFF at the
    // device's sample rate and block size. The flag selects nothing.
    // False (and nothing rendered) when no device runs (sample rate 0), when
    // there is no song, or when the file cannot be written.
    bool bounceSongAsAudioFile(const juce::File& file, bool flag);
    // The same at a chosen sample rate and block size, for running without a device.
    // Audio loops are placed in samples when the tracks' events are rebuilt (at the
    // device rate, 44100 Hz without one) and are not moved for the bounce.
    bool bounceSongAsAudioFile(const juce::File& file, bool flag, double sampleRate, int blockSize);

    // The export window's work for a target file: a name ending in ".mp3" (any
    // case) goes through the encoder (exportMP3), any other is bounced straight into it.
    bool exportSong(const juce::File& target, Encoder mode);
    bool exportSong(const juce::File& target, Encoder mode, double sampleRate, int blockSize);

    // Bounces into the scratch file "audiotomp3.aif" of the song temp folder,
    // deletes the target and starts the encoder on the two. Refuses, writing
    // nothing, when the encoder file does not exist. With Encoder::start it
    // returns once the encoder runs; with Encoder::waitForResult it returns
    // false when the encoder fails or leaves no target (getLastError says why).
    bool exportMP3(const juce::File& target, Encoder mode);
    bool exportMP3(const juce::File& target, Encoder mode, double sampleRate, int blockSize);

    // The encoder's argument text: -b 320 "<aif>" "<target>".
    static juce::String encoderArguments(const juce::String& aifPath, const juce::String& targetPath);
    // The encoder program: the "LAMEPath" setting, or `lame` from the PATH when
    // the default path is missing.
    juce::String getEncoderPath() const;
    // The scratch bounce of an MP3 export: temp folder + separator + "audiotomp3.aif".
    juce::File getMP3ScratchFile() const;

    // Told how far a bounce has come (0 to 1), on the bounce's thread, about a
    // hundred times per bounce; none by default.
    void setProgressListener(std::function<void(double)> listener) { progressListener = std::move(listener); }

    // Why the last bounce or export failed; empty after a success.
    const juce::String& getLastError() const { return lastError; }

private:
    bool render(const juce::File& file, double sampleRate, int blockSize);
    bool runEncoder(const juce::String& encoder, const juce::File& aif, const juce::File& target, Encoder mode);
    void reapEncoders();

    NVManager& owner;
    juce::String lastError;
    std::function<void(double)> progressListener;
    // Encoders started without waiting, kept until they end so that none is left a zombie.
    juce::OwnedArray<juce::ChildProcess> runningEncoders;
    juce::CriticalSection encoderLock;

    JUCE_DECLARE_NON_COPYABLE(NVExport)
};
