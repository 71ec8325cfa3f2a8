#include "model/TWSettings.h"

#include "model/LUAppFolders.h"
#include "model/TWFileWriting.h"
#include "model/TWPlaybackMgr.h"
#include "model/TWStreamHelpers.h"
#include "persist/RWpfstream.h"


const char* const TWSettings::kDefaultComponentsList =
    "Tabla.qnb;Dholak.qnb;Manjeera.qnb;Dhol.qnb;Bells.qnb;Gunghroo.qnb;Duff.qnb;Duggis.qnb;"
    "Tambourines.qnb;Chimta.qnb;Tumbi.qnb;Mridangam.qnb;Ghatam.qnb;Tanpura.qnb;Bass.qnb;"
    "Guitar.qnb;Drums.qnb;General.qnb;";

TWPreferenceFields::TWPreferenceFields() : componentsList(TWSettings::kDefaultComponentsList) {}

namespace
{
using TWStream::Read;
using TWStream::ReadFlag;
using TWStream::ReadTopLevelValue;
using TWStream::WriteFlag;

void ReadFields(RWvistream& s, TWPreferenceFields& f)
{
    RWCollectableString tag;
    ReadTopLevelValue(s, tag);
    // A newer file is not read at all; a missing or empty file reads as an
    // empty tag and every read below fails.
    if (tag.compareTo(TWSettings::kVersionTag) > 0)
        return;
    const bool since306 = tag.compareTo("QN306") >= 0;
    const bool since308 = tag.compareTo("QN308") >= 0;

    for (auto& tempo : f.referenceTempos)
        ReadTopLevelValue(s, tempo);
    ReadFlag(s, f.firstFlag);
    Read(s, f.playbackQuality);
    ReadFlag(s, f.secondFlag);
    ReadTopLevelValue(s, f.exportedFilesFolder);
    RWCollectableString components; // read and not used: the default list stands
    ReadTopLevelValue(s, components);
    ReadTopLevelValue(s, f.libraryFolder);
    Read(s, f.intOne);
    Read(s, f.intTwo);
    ReadTopLevelValue(s, f.viewFraction);
    ReadTopLevelValue(s, f.notationFont);
    Read(s, f.notationFontSize);
    if (!since306)
        return;
    Read(s, f.intThree);
    Read(s, f.trackVolume);
    ReadTopLevelValue(s, f.textFour);
    ReadFlag(s, f.thirdFlag);
    ReadFlag(s, f.alternateChannels);
    if (!since308)
        return;
    ReadFlag(s, f.fourthFlag);
    ReadTopLevelValue(s, f.secondFont);
    Read(s, f.secondFontSize);
    ReadFlag(s, f.fifthFlag);
    ReadTopLevelValue(s, f.instrumentText);
    ReadTopLevelValue(s, f.textSix);
    ReadTopLevelValue(s, f.textSeven);
    Read(s, f.intFour);
    Read(s, f.unsignedFive);
    ReadFlag(s, f.midiHeader);
    for (auto& part : f.partFiles)
        ReadTopLevelValue(s, part);
    ReadTopLevelValue(s, f.compositionFile);
}

void WriteFields(RWvostream& s, const TWPreferenceFields& f)
{
    RWCollectableString(TWSettings::kVersionTag).recursiveSaveOn(s);
    for (const auto& tempo : f.referenceTempos)
        tempo.recursiveSaveOn(s);
    WriteFlag(s, f.firstFlag);
    s << f.playbackQuality;
    WriteFlag(s, f.secondFlag);
    f.exportedFilesFolder.recursiveSaveOn(s);
    f.componentsList.recursiveSaveOn(s);
    f.libraryFolder.recursiveSaveOn(s);
    s << f.intOne << f.intTwo;
    f.viewFraction.recursiveSaveOn(s);
    f.notationFont.recursiveSaveOn(s);
    s << f.notationFontSize;
    s << f.intThree << f.trackVolume;
    f.textFour.recursiveSaveOn(s);
    WriteFlag(s, f.thirdFlag);
    WriteFlag(s, f.alternateChannels);
    WriteFlag(s, f.fourthFlag);
    f.secondFont.recursiveSaveOn(s);
    s << f.secondFontSize;
    WriteFlag(s, f.fifthFlag);
    f.instrumentText.recursiveSaveOn(s);
    f.textSix.recursiveSaveOn(s);
    f.textSeven.recursiveSaveOn(s);
    s << f.intFour << f.unsignedFive;
    WriteFlag(s, f.midiHeader);
    for (const auto& part : f.partFiles)
        part.recursiveSaveOn(s);
    f.compositionFile.recursiveSaveOn(s);
}
} // namespace

std::string TWSettings::GetPreferencesPath()
{
    return LUAppFolders::GetDataFolder() + kFileName;
}

void TWSettings::LoadSettings()
{
    LoadSettingsFrom(GetPreferencesPath());
}

void TWSettings::LoadSettingsFrom(const std::string& path)
{
    {
        RWpifstream s(path);
        if (s.isOpen()) {
            try {
                ReadFields(s, mFields);
            } catch (const std::exception&) {
                // A damaged file, or a path that is no readable file: what
                // was read before the error stands.
            }
        }
    }
    // The list of the file is never used.
    mFields.componentsList = kDefaultComponentsList;
    SetFolders();
}

void TWSettings::SetFolders()
{
    mApplicationFolder = LUAppFolders::GetDataFolder();
    mLibraryFolder = mApplicationFolder + "Library";
    mSongsFolder = mApplicationFolder + "Songs";
    mExportedFilesFolder = mApplicationFolder + "Exported Files";
    mFields.libraryFolder = mLibraryFolder.c_str();
    mFields.exportedFilesFolder = mExportedFilesFolder.c_str();
}

bool TWSettings::SaveSettings() const
{
    return SaveSettingsTo(GetPreferencesPath());
}

bool TWSettings::SaveSettingsTo(const std::string& path) const
{
    return TWReplaceFile(path, [this](RWvostream& s) { WriteFields(s, mFields); });
}

const LMFraction& TWSettings::GetReferenceTempo(int i) const
{
    static const LMFraction none;
    return i >= 0 && i < TWPreferenceFields::kTempoCount ? mFields.referenceTempos[i] : none;
}

void TWSettings::SetPlaybackQuality(int quality)
{
    GetPlaybackMgr()->StopCurrentComposition();
    mFields.playbackQuality = quality;
}

TWSettings* GetSettings()
{
    static TWSettings g_Settings;
    return &g_Settings;
}
