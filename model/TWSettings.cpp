#include "model/TWSettings.h"

#include "model/LUAppFolders.h"

void TWSettings::LoadSettings()
{
    mApplicationFolder = LUAppFolders::GetDataFolder();
    mLibraryFolder = mApplicationFolder + "Library";
    mSongsFolder = mApplicationFolder + "Songs";
    mExportedFilesFolder = mApplicationFolder + "Exported Files";
}

TWSettings* GetSettings()
{
    static TWSettings g_Settings;
    return &g_Settings;
}
