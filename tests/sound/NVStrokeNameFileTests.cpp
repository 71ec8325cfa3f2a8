#include <gtest/gtest.h>

#include "SoundTestHelpers.h"
#include "sound/NVBuiltinEngineFormat.h"
#include "sound/NVBuiltinKits.h"

#include <map>

namespace
{
const juce::File sourceFolder (NV_SOUND_ENGINES_SOURCE_DIR);

/** Reads a stroke-name file the way the loop editor does. */
std::map<int, juce::String> readStrokeNames (const juce::File& file)
{
    std::map<int, juce::String> names;
    juce::StringArray lines;
    lines.addLines (file.loadFileAsString());
    for (const auto& raw : lines)
    {
        const auto line = raw.trim();
        const auto pieces = juce::StringArray::fromTokens (line, ";", "");
        const int note = pieces[0].getIntValue();
        if (note > 0)
            names[note] = pieces[1].trim();
    }
    return names;
}

TEST (StrokeNameFiles, AgreeWithTheKitsTheEnginesPlay)
{
    for (const auto& name : NVBuiltinKits::getNames())
    {
        SCOPED_TRACE (name);
        const auto file = sourceFolder.getChildFile (name + ".def");
        ASSERT_TRUE (file.existsAsFile());
        const auto* kit = NVBuiltinKits::find (name);
        ASSERT_NE (kit, nullptr);

        juce::StringArray lines;
        lines.addLines (file.loadFileAsString().trimEnd());
        for (const auto& line : lines)
        {
            EXPECT_TRUE (line.matchesWildcard ("*;*", false) && line.upToFirstOccurrenceOf (";", false, false)
                                                                      .containsOnly ("0123456789"))
                << line;
        }

        const auto names = readStrokeNames (file);
        EXPECT_EQ ((size_t) lines.size(), names.size()) << "one line per note";
        EXPECT_EQ (names.size(), kit->strokes.size());
        for (int note = 0; note < 128; ++note)
        {
            const auto* stroke = kit->strokeFor (note);
            const auto it = names.find (note);
            ASSERT_EQ (stroke != nullptr, it != names.end()) << "note " << note;
            if (stroke != nullptr)
            {
                EXPECT_EQ (stroke->name, it->second) << "note " << note;
            }
        }
        EXPECT_EQ (names.count (0), 0u);
    }
}

TEST (StrokeNameFiles, EveryFileBelongsToAPercussionEngine)
{
    for (const auto& file : sourceFolder.findChildFiles (juce::File::findFiles, false, "*.def"))
        EXPECT_TRUE (NVBuiltinEngineFormat::isPercussionEngine (file.getFileNameWithoutExtension()))
            << file.getFileName();
}

TEST (StrokeNameFiles, TablaUsesTheTraditionalBols)
{
    const auto names = readStrokeNames (sourceFolder.getChildFile ("Tabla.def"));
    juce::StringArray bols;
    for (const auto& entry : names)
        bols.add (entry.second);
    for (const auto* bol : { "DHA", "DHIN", "NA", "TA", "TIN", "TUN", "GE", "GHE", "KE", "KAT", "TIT", "TE", "RE" })
        EXPECT_TRUE (bols.contains (bol)) << bol;
}

TEST (StrokeNameFiles, EveryNamedStrokeSounds)
{
    for (const auto& name : NVBuiltinKits::getNames())
    {
        auto engine = nvtest::makeEngine (name);
        for (const auto& stroke : NVBuiltinKits::find (name)->strokes)
        {
            engine->reset();
            const auto out = nvtest::render (*engine, nvtest::noteOn (stroke.note, 110), 8);
            EXPECT_GT (out.peak(), 0.02f) << name << " " << stroke.name;
            EXPECT_LT (out.peak(), 1.5f) << name << " " << stroke.name;
            EXPECT_LT (out.peakBetween (0, 4), 0.2f * out.peak()) << name << " " << stroke.name;
        }
    }
}
} // namespace
