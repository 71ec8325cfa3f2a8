// Reads arbitrary bytes as "Preferences.dat": the folders are set and
// nothing crashes, leaks or misbehaves.
#include "FuzzInputFile.h"

#include "model/TWRegisterModelClasses.h"
#include "model/TWSettings.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool registered = (TWRegisterModelClasses(), true);
    (void)registered;
    const std::string path = FuzzInputFile(data, size, "Preferences.dat");
    TWSettings settings;
    settings.LoadSettingsFrom(path);
    if (settings.GetLibraryFolder().empty() || settings.GetComponentsList() != TWSettings::kDefaultComponentsList)
        std::abort();
    (void)settings.GetMIDIHeaderLength();
    std::remove(path.c_str());
    return 0;
}
