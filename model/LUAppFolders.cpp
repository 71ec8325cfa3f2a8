#include "model/LUAppFolders.h"

#include <cstdlib>

namespace
{
    const char* const kFolderName = "Nadavo Recorder/";

    std::string env(const char* name)
    {
        const char* value = std::getenv(name);
        return value != nullptr ? std::string(value) : std::string();
    }

    std::string withSlash(std::string path)
    {
        if (!path.empty() && path.back() != '/')
            path += '/';
        return path;
    }

    // XDG: a relative value is invalid and must be ignored.
    std::string xdgHome(const char* variable, const char* fallbackUnderHome)
    {
        const std::string nadavoHome = env("NADAVO_HOME");
        if (!nadavoHome.empty())
            return withSlash(nadavoHome);
        const std::string value = env(variable);
        if (!value.empty() && value.front() == '/')
            return withSlash(value);
        std::string home = env("HOME");
        if (home.empty())
            home = "/tmp";
        return withSlash(home) + fallbackUnderHome;
    }
}

std::string LUAppFolders::GetDataFolder()
{
    return xdgHome("XDG_DATA_HOME", ".local/share/") + kFolderName;
}

std::string LUAppFolders::GetConfigFolder()
{
    return xdgHome("XDG_CONFIG_HOME", ".config/") + kFolderName;
}
