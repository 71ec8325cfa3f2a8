#pragma once
#include <juce_audio_processors/juce_audio_processors.h>

#include <vector>

// A sound engine for tests: records the MIDI of every block it renders and
// writes a constant level into each of its output channels while a note sounds.
class NVFakeEngine : public juce::AudioPluginInstance
{
public:
    explicit NVFakeEngine(int outputs = 2, float level = 0.5f)
        : juce::AudioPluginInstance(BusesProperties().withOutput("Out", juce::AudioChannelSet::canonicalChannelSet(outputs))),
          value(level)
    {
    }

    struct Event { int offset; juce::MidiMessage message; };
    std::vector<std::vector<Event>> blocks; // one entry per processBlock
    int resets = 0;
    int sounding = 0;

    void processBlock(juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi) override
    {
        std::vector<Event> block;
        for (const auto m : midi)
        {
            block.push_back({ m.samplePosition, m.getMessage() });
            if (m.getMessage().isNoteOn())
                ++sounding;
            else if (m.getMessage().isNoteOff())
                sounding = juce::jmax(0, sounding - 1);
        }
        blocks.push_back(block);
        buffer.clear();
        if (sounding > 0)
            for (int c = 0; c < getTotalNumOutputChannels(); ++c)
                juce::FloatVectorOperations::fill(buffer.getWritePointer(c), value, buffer.getNumSamples());
    }

    void reset() override { ++resets; sounding = 0; }
    void fillInPluginDescription(juce::PluginDescription& d) const override { d.name = "Fake"; d.manufacturerName = "Tests"; }
    const juce::String getName() const override { return "Fake"; }
    void prepareToPlay(double, int) override {}
    void releaseResources() override {}
    double getTailLengthSeconds() const override { return 0.0; }
    bool acceptsMidi() const override { return true; }
    bool producesMidi() const override { return false; }
    juce::AudioProcessorEditor* createEditor() override { return nullptr; }
    bool hasEditor() const override { return false; }
    int getNumPrograms() override { return 1; }
    int getCurrentProgram() override { return 0; }
    void setCurrentProgram(int) override {}
    const juce::String getProgramName(int) override { return {}; }
    void changeProgramName(int, const juce::String&) override {}
    void getStateInformation(juce::MemoryBlock&) override {}
    void setStateInformation(const void*, int) override {}

private:
    float value;
};
