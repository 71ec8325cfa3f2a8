#include <gtest/gtest.h>

#include "sound/NVStrokeMapping.h"

namespace
{
/** A stroke-name file in a fresh temporary folder. */
class StrokeMappingFile : public ::testing::Test
{
protected:
    void SetUp() override
    {
        folder = juce::File::createTempFile ("strokes");
        ASSERT_TRUE (folder.createDirectory());
    }
    void TearDown() override { folder.deleteRecursively(); }

    juce::StringArray readText (const juce::String& text)
    {
        const auto file = folder.getChildFile ("Tabla.def");
        file.replaceWithText (text);
        return NVStrokeMapping::read (file);
    }

    juce::File folder;
};

TEST_F (StrokeMappingFile, NamesOnlyTheNotesTheFileGives)
{
    const auto names = readText ("36;DHA\n 38 ; NA \nx;foo\n");
    ASSERT_EQ (names.size(), 128);
    EXPECT_EQ (names[36], "DHA");
    EXPECT_EQ (names[38], "NA");
    for (int note = 0; note < 128; ++note)
    {
        if (note != 36 && note != 38)
        {
            EXPECT_TRUE (names[note].isEmpty()) << note;
        }
    }
}

TEST_F (StrokeMappingFile, IgnoresNotesOutsideOneTo127AndKeepsTheLastName)
{
    struct Case { const char* text; int note; const char* expected; };
    const Case cases[] = {
        { "0;ZERO\n", 0, "" },
        { "-3;NEG\n", 0, "" },
        { "128;HIGH\n127;TOP\n", 127, "TOP" },
        { "999999999999;HUGE\n", 0, "" },
        { "40;GE\n40;KE\n", 40, "KE" },
        { "41\n", 41, "" },
        { "42;TI;RA\n", 42, "TI" },
        { "\r\n43;NA\r\n", 43, "NA" },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.text);
        const auto names = readText (c.text);
        ASSERT_EQ (names.size(), 128);
        EXPECT_EQ (names[c.note], c.expected);
        int named = 0;
        for (const auto& n : names)
            named += n.isNotEmpty() ? 1 : 0;
        EXPECT_EQ (named, juce::String (c.expected).isEmpty() ? 0 : 1);
    }
}

TEST_F (StrokeMappingFile, EmptyFileNamesNothing)
{
    const auto names = readText ("");
    ASSERT_EQ (names.size(), 128);
    for (const auto& n : names)
        EXPECT_TRUE (n.isEmpty());
}

TEST_F (StrokeMappingFile, MissingFileGivesPitchNames)
{
    const auto names = NVStrokeMapping::read (folder.getChildFile ("None.def"));
    ASSERT_EQ (names.size(), 128);
    EXPECT_EQ (names[0], "C0");
    EXPECT_EQ (names[60], "C5");
    EXPECT_EQ (names[61], "C#5");
    EXPECT_EQ (names[127], "G10");
}
} // namespace
