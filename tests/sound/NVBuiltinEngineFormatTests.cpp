#include <gtest/gtest.h>

#include "sound/NVBuiltinEngineFormat.h"

namespace
{
// The engine names of the program's instrument table, and which of them are kits.
const juce::StringArray kits { "Chimta", "Dhol", "Dholak", "DrumKit", "Duff", "Dulcimer",
                               "Ghatam", "Gunghroo", "Manjeera", "Tabla", "Tambourines" };
const juce::StringArray melodic { "Accordion", "Bansuri", "Bass", "Bells", "BrassSection", "Brightness", "Cello",
                                  "ChoirAahs", "CleanGuitar", "Duggis", "ElectricBass", "ElectricGuitar", "Guitar",
                                  "Harmonium", "Piano", "Santoor", "Sarod", "Sax", "Sitar", "SlapBass", "SlowStrings",
                                  "StringsEnsemble", "LeadSynth", "SynthPad", "Tanpura", "Trumpet", "Tumbi",
                                  "Vibraphone", "Violin", "Whistle" };

void expectEngineDescription (const juce::PluginDescription& d, const juce::String& name, const juce::String& file)
{
    EXPECT_EQ (d.name, name);
    EXPECT_EQ (d.fileOrIdentifier, file);
    EXPECT_EQ (d.pluginFormatName, "Kelvora");
    EXPECT_EQ (d.manufacturerName, "Kelvora");
    EXPECT_EQ (d.version, "V2.1.1");
    EXPECT_EQ (d.category, "Synth");
    EXPECT_TRUE (d.isInstrument);
    EXPECT_EQ (d.numInputChannels, 1);
    EXPECT_EQ (d.numOutputChannels, 2);
}

TEST (BuiltinEngineFormat, KnowsEveryEngineOfTheInstrumentTable)
{
    for (const auto& name : kits)
    {
        EXPECT_TRUE (NVBuiltinEngineFormat::isBuiltinEngineName (name)) << name;
        EXPECT_TRUE (NVBuiltinEngineFormat::isPercussionEngine (name)) << name;
    }
    for (const auto& name : melodic)
    {
        EXPECT_TRUE (NVBuiltinEngineFormat::isBuiltinEngineName (name)) << name;
        EXPECT_FALSE (NVBuiltinEngineFormat::isPercussionEngine (name)) << name;
    }
    EXPECT_EQ (NVBuiltinEngineFormat::getEngineNames().size(), kits.size() + melodic.size());
    for (const auto* notEngine : { "Audio", "", "Tabl", "Tabla2", "Mirelo" })
        EXPECT_FALSE (NVBuiltinEngineFormat::isBuiltinEngineName (notEngine)) << notEngine;
}

TEST (BuiltinEngineFormat, DescribesTheEngineAFileStandsFor)
{
    NVBuiltinEngineFormat format;
    EXPECT_EQ (format.getName(), "Kelvora");

    const juce::String path = "/opt/Nadavo/Sound Engines/Sitar.vst3";
    juce::OwnedArray<juce::PluginDescription> found;
    format.findAllTypesForFile (found, path);
    ASSERT_EQ (found.size(), 1);
    expectEngineDescription (*found[0], "Sitar", path);
    EXPECT_TRUE (format.fileMightContainThisPluginType (path));
    EXPECT_EQ (format.getNameOfPluginFromIdentifier ("C:\\Engines\\Tabla.dll"), "Tabla");

    juce::OwnedArray<juce::PluginDescription> none;
    format.findAllTypesForFile (none, "/opt/Nadavo/Sound Engines/Theremin.vst3");
    format.findAllTypesForFile (none, "");
    EXPECT_TRUE (none.isEmpty());
    EXPECT_FALSE (format.fileMightContainThisPluginType ("/tmp/Audio.so"));
}

TEST (BuiltinEngineFormat, EnginesDescribeThemselvesAsTheyWereCreated)
{
    const juce::String path = "/opt/Nadavo/Sound Engines/Tabla.vst3";
    auto engine = NVBuiltinEngineFormat::createEngine ("Tabla", path);
    ASSERT_NE (engine, nullptr);
    expectEngineDescription (engine->getPluginDescription(), "Tabla", path);
    EXPECT_TRUE (engine->acceptsMidi());
    EXPECT_EQ (engine->getTotalNumOutputChannels(), 2);
    EXPECT_LE (engine->getTotalNumInputChannels(), 1);
    EXPECT_EQ (engine->getName(), "Tabla");

    EXPECT_EQ (NVBuiltinEngineFormat::createEngine ("Audio", path), nullptr);
}

TEST (BuiltinEngineFormat, CreatesThroughTheFormatManager)
{
    juce::AudioPluginFormatManager manager;
    manager.addFormat (new NVBuiltinEngineFormat());
    juce::PluginDescription d;
    NVBuiltinEngineFormat::describeEngine ("Harmonium", "/x/Harmonium.vst3", d);
    juce::String error;
    auto engine = manager.createPluginInstance (d, 48000.0, 256, error);
    ASSERT_NE (engine, nullptr) << error;
    EXPECT_EQ (engine->getSampleRate(), 48000.0);

    d.name = "Theremin";
    d.fileOrIdentifier = "/x/Theremin.vst3";
    EXPECT_EQ (manager.createPluginInstance (d, 48000.0, 256, error), nullptr);
    EXPECT_TRUE (error.isNotEmpty());
}
} // namespace
