#pragma once

#include "persist/LMFraction.h"
#include "persist/RWCollectableString.h"

#include <string>

// The values "Preferences.dat" holds, in file order, with their defaults.
// Flags are written as ints (1 or 0).
struct TWPreferenceFields
{
    static constexpr int kTempoCount = 7;
    LMFraction referenceTempos[kTempoCount] = { 10, 15, 40, 100, 150, 200, 350 };
    bool firstFlag = false;
    int playbackQuality = 0;
    bool secondFlag = true;
    RWCollectableString exportedFilesFolder;
    RWCollectableString componentsList;
    RWCollectableString libraryFolder;
    int intOne = -12;
    int intTwo = 0;
    LMFraction viewFraction = 1;
    RWCollectableString notationFont = "Shusha";
    int notationFontSize = 14;
    // since "QN306"
    int intThree = 100;
    int trackVolume = 100;
    RWCollectableString textFour;
    bool thirdFlag = true;
    bool alternateChannels = true;
    // since "QN308"
    bool fourthFlag = true;
    RWCollectableString secondFont = "e-Tamil";
    int secondFontSize = 14;
    bool fifthFlag = false;
    RWCollectableString instrumentText = "Manjeera";
    RWCollectableString textSix = "open";
    RWCollectableString textSeven = "closed";
    int intFour = 1;
    unsigned long unsignedFive = 0;
    bool midiHeader = true;
    RWCollectableString partFiles[3] = { "Part1.qnp", "Part2.qnp", "Part3.qnp" };
    RWCollectableString compositionFile = "Default.qnc";

    TWPreferenceFields();
};

// Settings of the music model: the folders of the library, binaries, songs
// and exports, the arrangement's view scale and the values of
// "Preferences.dat". A process-wide singleton reached through GetSettings().
class TWSettings
{
public:
    static constexpr const char* kVersionTag = "QN313";
    static constexpr const char* kFileName = "Preferences.dat";
    static const char* const kDefaultComponentsList;

    TWSettings() = default;

    // Reads "Preferences.dat" from the user data folder when it is there
    // (a missing, newer or damaged file leaves the values it could not read
    // at their defaults), then sets the folders under the user data folder.
    void LoadSettings();
    // As LoadSettings, from the given file.
    void LoadSettingsFrom(const std::string& path);
    // Writes the values to "Preferences.dat" in the user data folder with
    // the tag "QN313"; false when the file could not be written.
    bool SaveSettings() const;
    bool SaveSettingsTo(const std::string& path) const;
    // "<user data folder>/Preferences.dat".
    static std::string GetPreferencesPath();

    const TWPreferenceFields& GetFields() const { return mFields; }
    TWPreferenceFields& GetFields() { return mFields; }

    int GetTVBeatWidth() const { return mBeatWidth; }
    void SetTVBeatWidth(int width) { mBeatWidth = width; }
    int GetViewSize(int i) const { return i >= 0 && i < 4 ? mViewSizes[i] : 0; }
    int GetStrokeHiding() const { return mStrokeHiding; }
    void SetStrokeHiding(int hiding) { mStrokeHiding = hiding; }

    static int GetPulsePerQuarter() { return 480; }
    static char GetSeparator() { return static_cast<char>(0xA7); }

    const std::string& GetApplicationFolder() const { return mApplicationFolder; }
    const std::string& GetLibraryFolder() const { return mLibraryFolder; }
    const std::string& GetSongsFolder() const { return mSongsFolder; }
    const std::string& GetExportedFilesFolder() const { return mExportedFilesFolder; }
    std::string GetDefaultBinariesPath() const { return mLibraryFolder + "/" + "Binaries"; }
    std::string GetDefaultCompositionsTempPath() const { return mSongsFolder + "/" + "temp"; }

    const LMFraction& GetReferenceTempo(int i) const;
    int GetPlaybackQuality() const { return mFields.playbackQuality; }
    // Stops playback first.
    void SetPlaybackQuality(int quality);
    const RWCollectableString& GetComponentsList() const { return mFields.componentsList; }
    const LMFraction& GetViewFraction() const { return mFields.viewFraction; }
    int GetTrackVolume() const { return mFields.trackVolume; }
    const RWCollectableString& GetNotationFont() const { return mFields.notationFont; }
    int GetNotationFontSize() const { return mFields.notationFontSize; }

    bool GetAlternateChannels() const { return mFields.alternateChannels; }
    void SetAlternateChannels(bool on) { mFields.alternateChannels = on; }
    bool GetMIDIHeader() const { return mFields.midiHeader; }
    void SetMIDIHeader(bool on) { mFields.midiHeader = on; }
    int GetMIDIHeaderLength() const { return mFields.midiHeader ? 960 : 0; }

private:
    void SetFolders();

    TWPreferenceFields mFields;
    int mBeatWidth = 60;
    int mViewSizes[4] = { 240, 290, 290, 600 };
    int mStrokeHiding = 0;
    std::string mApplicationFolder;
    std::string mLibraryFolder;
    std::string mSongsFolder;
    std::string mExportedFilesFolder;
};

TWSettings* GetSettings();
