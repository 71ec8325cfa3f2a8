#pragma once

#include <gtest/gtest.h>

#include "persist/RWCollectable.h"
#include "persist/RWpostream.h"

#include <functional>
#include <sstream>
#include <string>

// A fresh user folder: NADAVO_HOME points at a new temporary folder for the
// test, and the model classes are registered.
class UserFolderTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // "<home>/Nadavo Recorder/" + name.
    std::string DataPath(const std::string& name) const;
    std::string mHome;

private:
    std::string mPreviousHome;
    bool mHadHome = false;
};

// Text written with the portable stream by `write`.
std::string WriteText(const std::function<void(RWvostream&)>& write);
void WriteFile(const std::string& path, const std::string& text);
std::string ReadFile(const std::string& path);
