#pragma once
#include <string>

// Settings of the music model: its folders and the arrangement's view scale.
// A process-wide singleton reached through GetSettings().
class TWSettings
{
public:
    TWSettings() = default;

    // Sets the folders under the user's data folder. Always succeeds.
    void LoadSettings();

    int GetTVBeatWidth() const { return mBeatWidth; }
    void SetTVBeatWidth(int width) { mBeatWidth = width; }

    static int GetPulsePerQuarter() { return 480; }

    const std::string& GetApplicationFolder() const { return mApplicationFolder; }
    const std::string& GetLibraryFolder() const { return mLibraryFolder; }
    const std::string& GetSongsFolder() const { return mSongsFolder; }
    const std::string& GetExportedFilesFolder() const { return mExportedFilesFolder; }
    std::string GetDefaultBinariesPath() const { return mLibraryFolder + "/" + "Binaries"; }
    std::string GetDefaultCompositionsTempPath() const { return mSongsFolder + "/" + "temp"; }

    bool GetAlternateChannels() const { return mAlternateChannels; }
    void SetAlternateChannels(bool on) { mAlternateChannels = on; }
    bool GetMIDIHeader() const { return mMIDIHeader; }
    void SetMIDIHeader(bool on) { mMIDIHeader = on; }
    int GetMIDIHeaderLength() const { return mMIDIHeader ? 960 : 0; }

private:
    int mBeatWidth = 60;
    bool mAlternateChannels = true;
    bool mMIDIHeader = true;
    std::string mApplicationFolder;
    std::string mLibraryFolder;
    std::string mSongsFolder;
    std::string mExportedFilesFolder;
};

TWSettings* GetSettings();
