#include <gtest/gtest.h>

#include "sound/NVBuiltinEngineFormat.h"
#include "sound/NVSoundEngineFactory.h"

namespace
{
/** A format manager as the program sets it up, and the description the program fills in. */
class SoundEngineFactory : public ::testing::Test
{
protected:
    void SetUp() override
    {
        manager.addDefaultFormats();
        NVSoundEngineFactory::registerBuiltinFormat (manager);
    }

    static juce::PluginDescription describe (const juce::String& name, const juce::String& file)
    {
        juce::PluginDescription d;
        d.pluginFormatName = "VST";
        d.category = "Synth";
        d.manufacturerName = "Kelvora";
        d.version = "V2.1.1";
        d.isInstrument = true;
        d.numInputChannels = 1;
        d.numOutputChannels = 2;
        d.name = name;
        d.fileOrIdentifier = file;
        return d;
    }

    juce::AudioPluginFormatManager manager;
    juce::TemporaryFile folder { "SoundEngines" };
};

TEST_F (SoundEngineFactory, RegistersTheBuiltinFormatOnce)
{
    const int before = manager.getNumFormats();
    NVSoundEngineFactory::registerBuiltinFormat (manager);
    EXPECT_EQ (manager.getNumFormats(), before);
    int builtin = 0;
    for (auto* f : manager.getFormats())
        builtin += f->getName() == "Kelvora" ? 1 : 0;
    EXPECT_EQ (builtin, 1);
}

TEST_F (SoundEngineFactory, FallsBackToTheBuiltinEngineWhenTheFileIsAbsent)
{
    const auto path = folder.getFile().getChildFile ("Tabla.vst3").getFullPathName();
    juce::String error;
    auto engine = NVSoundEngineFactory::createEngine (manager, describe ("Tabla", path), 48000.0, 256, error);
    ASSERT_NE (engine, nullptr) << error;
    EXPECT_TRUE (error.isEmpty());
    const auto d = engine->getPluginDescription();
    EXPECT_EQ (d.name, "Tabla");
    EXPECT_EQ (d.manufacturerName, "Kelvora");
    EXPECT_EQ (d.fileOrIdentifier, path);
    EXPECT_EQ (engine->getSampleRate(), 48000.0);
}

TEST_F (SoundEngineFactory, FallsBackWhenTheFileCannotBeLoaded)
{
    ASSERT_TRUE (folder.getFile().createDirectory());
    for (const auto* fileName : { "Sitar.so", "Sitar.vst3", "Sitar.lv2", "Sitar.dll" })
    {
        const auto file = folder.getFile().getChildFile (fileName);
        if (juce::String (fileName).endsWith (".lv2"))
            ASSERT_TRUE (file.createDirectory());
        else
            ASSERT_TRUE (file.replaceWithText ("not a plug-in"));
        juce::String error;
        auto engine = NVSoundEngineFactory::createEngine (manager, describe ("Sitar", file.getFullPathName()),
                                                          44100.0, 512, error);
        ASSERT_NE (engine, nullptr) << fileName << ": " << error;
        EXPECT_EQ (engine->getPluginDescription().pluginFormatName, "Kelvora") << fileName;
    }
}

TEST_F (SoundEngineFactory, WorksWithoutAnAudioDevice)
{
    juce::String error;
    auto engine = NVSoundEngineFactory::createEngine (manager, describe ("Sitar", "/none/Sitar.vst3"), 0.0, 0, error);
    ASSERT_NE (engine, nullptr) << error;
    EXPECT_EQ (engine->getSampleRate(), 44100.0);

    // Rendering before any preparation still works.
    juce::AudioBuffer<float> buffer (2, 512);
    juce::MidiBuffer midi;
    midi.addEvent (juce::MidiMessage::noteOn (1, 60, (juce::uint8) 100), 0);
    engine->processBlock (buffer, midi);
    EXPECT_GT (buffer.getMagnitude (0, 512), 0.0f);
}

TEST_F (SoundEngineFactory, UnknownEnginesGiveNothingAndSayWhy)
{
    for (const auto* name : { "Theremin", "Audio", "" })
    {
        juce::String error;
        auto engine = NVSoundEngineFactory::createEngine (manager, describe (name, "/none/Theremin.vst3"), 44100.0,
                                                          512, error);
        EXPECT_EQ (engine, nullptr) << name;
        EXPECT_TRUE (error.isNotEmpty()) << name;
    }
}

TEST_F (SoundEngineFactory, NeedsTheBuiltinFormatRegistered)
{
    juce::AudioPluginFormatManager bare;
    bare.addDefaultFormats();
    juce::String error;
    EXPECT_EQ (NVSoundEngineFactory::createEngine (bare, describe ("Tabla", "/none/Tabla.vst3"), 44100.0, 512, error),
               nullptr);
    EXPECT_TRUE (error.isNotEmpty());
}

TEST (SoundEngineFactoryFormats, ChoosesTheFormatByTheFile)
{
    juce::TemporaryFile bundle (".lv2");
    ASSERT_TRUE (bundle.getFile().createDirectory());
    EXPECT_EQ (NVSoundEngineFactory::formatNameForFile (bundle.getFile()), "LV2");
    EXPECT_EQ (NVSoundEngineFactory::formatNameForFile (juce::File ("/a/Tabla.vst3")), "VST3");
    EXPECT_EQ (NVSoundEngineFactory::formatNameForFile (juce::File ("/a/Tabla.so")), "LADSPA");
    EXPECT_EQ (NVSoundEngineFactory::formatNameForFile (juce::File ("/a/Tabla.def")), "");
}
} // namespace
