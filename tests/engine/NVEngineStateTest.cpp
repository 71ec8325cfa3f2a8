#include "engine/NVEngineState.h"
#include "sound/NVBuiltinEngineFormat.h"
#include "tests/engine/NVFakeEngine.h"

#include <gtest/gtest.h>

namespace
{
    // A foreign engine whose description names a file and whose state is a text.
    struct ForeignEngine : NVFakeEngine
    {
        void fillInPluginDescription(juce::PluginDescription& d) const override
        {
            d.name = "Other";
            d.manufacturerName = "Someone";
            d.fileOrIdentifier = "/usr/lib/vst3/Other.vst3";
        }
        void getStateInformation(juce::MemoryBlock& block) override { block.replaceAll(state.toRawUTF8(), state.getNumBytesAsUTF8()); }
        void setStateInformation(const void* data, int size) override { state = juce::String::fromUTF8((const char*) data, size); }
        juce::String state { "default" };
    };

    juce::String base64Of(const juce::String& text)
    {
        juce::MemoryBlock block(text.toRawUTF8(), text.getNumBytesAsUTF8());
        return block.toBase64Encoding();
    }
}

TEST(NVEngineState, OurEnginesAreSavedUnderM)
{
    auto tabla = NVBuiltinEngineFormat::createEngine("Tabla", "/anywhere/Tabla.vst3");
    ASSERT_NE(tabla, nullptr);
    tabla->setCurrentProgram(2);
    juce::MemoryBlock block;
    tabla->getStateInformation(block);
    const auto saved = NVEngineState::describe(*tabla, block.toBase64Encoding());
    EXPECT_TRUE(saved.startsWith("M?"));

    // Any of our engines takes an "M" state back, whatever file it was loaded from.
    auto other = NVBuiltinEngineFormat::createEngine("Tabla", "/elsewhere/Sound Engines/Tabla");
    EXPECT_TRUE(NVEngineState::restore(*other, saved));
    EXPECT_EQ(other->getCurrentProgram(), 2);
    EXPECT_TRUE(NVEngineState::restore(*other, "m" + saved.substring(1))); // the prefix ignores case
}

TEST(NVEngineState, ForeignEnginesAreSavedUnderTheirPath)
{
    ForeignEngine engine;
    const auto saved = NVEngineState::describe(engine, base64Of("chorus on"));
    EXPECT_EQ(saved, "/usr/lib/vst3/Other.vst3?" + base64Of("chorus on"));

    struct Case { juce::String text; bool applied; };
    const Case cases[] = {
        { saved, true },
        { "/USR/LIB/VST3/OTHER.VST3?" + base64Of("chorus on"), true }, // paths compare ignoring case
        { "/usr/lib/vst3/Another.vst3?" + base64Of("chorus on"), false },
        { "M?" + base64Of("chorus on"), false },                        // not one of our engines
        { "?" + base64Of("chorus on"), false },
        { "", false },
        { "no mark at all", false },
    };
    for (const auto& c : cases)
    {
        engine.state = "default";
        EXPECT_EQ(NVEngineState::restore(engine, c.text), c.applied) << c.text;
        EXPECT_EQ(engine.state, c.applied ? "chorus on" : "default") << c.text;
    }

    auto tabla = NVBuiltinEngineFormat::createEngine("Tabla", "/usr/lib/vst3/Other.vst3");
    EXPECT_FALSE(NVEngineState::restore(*tabla, "/somewhere/Tabla.vst3?" + base64Of("x")));
}
