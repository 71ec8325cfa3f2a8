#pragma once
#include <string>

// Where the program keeps its per-user files.
//
// The data folder holds "Library", "Songs", "temp", "Exported Files",
// "Preferences.dat" and "Instruments.dat"; the configuration folder holds the
// user settings file. Both follow the XDG base-directory rules; when the
// environment variable NADAVO_HOME is set, both live under it instead.
namespace LUAppFolders
{
    // "<data home>/Nadavo Recorder/", with the trailing separator.
    std::string GetDataFolder();
    // "<config home>/Nadavo Recorder/", with the trailing separator.
    std::string GetConfigFolder();
}
