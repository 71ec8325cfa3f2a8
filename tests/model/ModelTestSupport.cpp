#include "ModelTestSupport.h"

#include "model/LUAppFolders.h"
#include "model/TWRegisterModelClasses.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

void UserFolderTest::SetUp()
{
    TWRegisterModelClasses();
    if (const char* home = std::getenv("NADAVO_HOME")) {
        mHadHome = true;
        mPreviousHome = home;
    }
    std::random_device random;
    const auto base = std::filesystem::temp_directory_path() / ("nadavo-model-" + std::to_string(random()));
    std::filesystem::create_directories(base / "Nadavo Recorder");
    mHome = base.string();
    setenv("NADAVO_HOME", mHome.c_str(), 1);
}

void UserFolderTest::TearDown()
{
    std::error_code ec;
    std::filesystem::remove_all(mHome, ec);
    if (mHadHome)
        setenv("NADAVO_HOME", mPreviousHome.c_str(), 1);
    else
        unsetenv("NADAVO_HOME");
}

std::string UserFolderTest::DataPath(const std::string& name) const
{
    return LUAppFolders::GetDataFolder() + name;
}

std::string WriteText(const std::function<void(RWvostream&)>& write)
{
    std::ostringstream out;
    {
        RWpostream s(out);
        write(s);
    }
    return out.str();
}

void WriteFile(const std::string& path, const std::string& text)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}
