#include "cli/NVCommandLine.h"
#include "tests/support/NVTestEnvironment.h"

#include <juce_audio_formats/juce_audio_formats.h>

#include <gtest/gtest.h>

#include <sstream>

namespace
{
    struct Result { int code; std::string out; std::string err; };

    Result run(const juce::StringArray& args)
    {
        std::ostringstream out, err;
        const int code = NVCommandLine(out, err).run(args);
        return { code, out.str(), err.str() };
    }
}

TEST(NVCommandLine, UsageErrorsExitTwo)
{
    struct Case { juce::StringArray args; const char* message; };
    const Case cases[] = {
        { {}, "no command" },
        { { "frobnicate" }, "unknown command 'frobnicate'" },
        { { "render-note", "Tabla" }, "needs INSTRUMENT NOTE" },
        { { "render-note", "Tabla", "200", "x.wav" }, "NOTE must be" },
        { { "render-note", "Tabla", "60", "x.wav", "0" }, "VELOCITY" },
    };
    for (const auto& c : cases)
    {
        const auto r = run(c.args);
        EXPECT_EQ(r.code, 2) << c.args.joinIntoString(" ");
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("usage: nadavo"), std::string::npos) << r.err;
    }
}

TEST(NVCommandLine, PathsFollowTheHome)
{
    const auto home = NVTest::freshHome();
    const auto r = run({ "paths" });
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(r.out.find((home.getFullPathName() + "/Nadavo Recorder/Songs").toStdString()), std::string::npos) << r.out;
    // The tool writes its settings on the way out, as the program does.
    EXPECT_TRUE(home.getChildFile("Nadavo Recorder/Nadavo Recorder.settings").existsAsFile());
}

TEST(NVCommandLine, RenderNoteWritesAudibleAudio)
{
    const auto home = NVTest::freshHome();
    const auto out = home.getChildFile("tabla.wav");
    const auto r = run({ "render-note", "tabla", "38", out.getFullPathName(), "110", "1" });
    ASSERT_EQ(r.code, 0) << r.err;

    juce::AudioFormatManager formats;
    formats.registerBasicFormats();
    std::unique_ptr<juce::AudioFormatReader> reader(formats.createReaderFor(out));
    ASSERT_NE(reader, nullptr);
    EXPECT_EQ(reader->lengthInSamples, 44100);
    juce::Range<float> levels[2];
    reader->readMaxLevels(0, reader->lengthInSamples, levels, 2);
    EXPECT_GT(levels[0].getEnd(), 0.01f);
    EXPECT_GT(levels[1].getEnd(), 0.01f);

    const auto missing = run({ "render-note", "Kazoo", "60", out.getFullPathName() });
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.err.find("no instrument named 'Kazoo'"), std::string::npos);
}
