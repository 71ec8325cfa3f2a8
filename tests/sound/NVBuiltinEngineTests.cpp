#include <gtest/gtest.h>

#include "SoundTestHelpers.h"
#include "sound/NVBuiltinEngineFormat.h"

#include <cmath>

using namespace nvtest;

namespace
{
struct EngineCase
{
    const char* engine;
    int note;
};

std::ostream& operator<< (std::ostream& os, const EngineCase& c) { return os << c.engine; }

class EngineContract : public ::testing::TestWithParam<EngineCase>
{
protected:
    void SetUp() override
    {
        engine = makeEngine (GetParam().engine);
        ASSERT_NE (engine, nullptr);
    }
    Rendered play (int velocity, std::vector<std::pair<int, int>> ccs = {}, int blocks = 8)
    {
        return render (*engine, noteOn (GetParam().note, velocity, std::move (ccs)), blocks);
    }
    std::unique_ptr<juce::AudioPluginInstance> engine;
};

TEST_P (EngineContract, NoteOnSoundsAndStartsWithoutClick)
{
    const auto out = play (100);
    ASSERT_TRUE (out.allFinite());
    const float peak = out.peak();
    EXPECT_GT (peak, 0.02f);
    EXPECT_LT (peak, 1.5f);
    EXPECT_LT (out.peakBetween (0, 4), 0.1f * peak) << "the note must fade in";
}

TEST_P (EngineContract, PanControllerPlacesTheSound)
{
    const auto left = play (100, { { 10, 0 } });
    engine->reset();
    const auto right = play (100, { { 10, 127 } });
    engine->reset();
    const auto centre = play (100, { { 10, 64 } });

    EXPECT_GT (left.rms (true), 10.0f * left.rms (false));
    EXPECT_GT (right.rms (false), 10.0f * right.rms (true));
    const float balance = centre.rms (true) / centre.rms (false);
    EXPECT_GT (balance, 0.4f);
    EXPECT_LT (balance, 2.5f);
}

TEST_P (EngineContract, VolumeControllerAndVelocityScaleLoudness)
{
    const float full = play (100, { { 7, 100 } }).rms (true);
    engine->reset();
    const float half = play (100, { { 7, 50 } }).rms (true);
    engine->reset();
    const float muted = play (100, { { 7, 0 } }).peak();
    engine->reset();
    const float soft = play (25, { { 7, 100 } }).rms (true);

    EXPECT_NEAR (half / full, 0.25f, 0.05f);
    EXPECT_EQ (muted, 0.0f);
    EXPECT_LT (soft, 0.5f * full);
    EXPECT_GT (soft, 0.0f);
}

TEST_P (EngineContract, ResetSilencesTheNextBlock)
{
    play (127, {}, 2);
    engine->reset();
    EXPECT_EQ (render (*engine, 1).peak(), 0.0f);
}

TEST_P (EngineContract, AllSoundOffSilencesWithinABlock)
{
    play (127, {}, 2);
    juce::MidiBuffer off;
    off.addEvent (juce::MidiMessage::allSoundOff (1), 0);
    const auto out = render (*engine, off, 2);
    EXPECT_LT (out.peakBetween (block, 2 * block), 1.0e-4f);
}

TEST_P (EngineContract, StateRoundTripIsExact)
{
    ASSERT_GE (engine->getNumPrograms(), 2);
    engine->setCurrentProgram (1);
    juce::MidiBuffer ccs;
    ccs.addEvent (juce::MidiMessage::controllerEvent (1, 101, 0), 0);
    ccs.addEvent (juce::MidiMessage::controllerEvent (1, 100, 0), 0);
    ccs.addEvent (juce::MidiMessage::controllerEvent (1, 6, 8), 0);
    render (*engine, ccs, 1);

    juce::MemoryBlock state;
    engine->getStateInformation (state);
    auto copy = makeEngine (GetParam().engine);
    copy->setStateInformation (state.getData(), (int) state.getSize());
    juce::MemoryBlock again;
    copy->getStateInformation (again);

    EXPECT_EQ (state, again);
    EXPECT_EQ (copy->getCurrentProgram(), 1);
    // And through the base-64 text the program keeps it in.
    juce::MemoryBlock decoded;
    ASSERT_TRUE (decoded.fromBase64Encoding (state.toBase64Encoding()));
    EXPECT_EQ (decoded, state);
}

TEST_P (EngineContract, ForeignOrDamagedStateIsIgnored)
{
    engine->setCurrentProgram (2);
    juce::MemoryBlock good;
    engine->getStateInformation (good);

    auto other = makeEngine (juce::String (GetParam().engine) == "Tabla" ? "Sitar" : "Tabla");
    other->setCurrentProgram (1);
    juce::MemoryBlock foreign;
    other->getStateInformation (foreign);

    juce::Random random (7);
    juce::MemoryBlock garbage (64);
    random.fillBitsRandomly (garbage.getData(), garbage.getSize());

    const std::vector<juce::MemoryBlock> bad { foreign, garbage, juce::MemoryBlock (good.getData(), good.getSize() - 3),
                                               juce::MemoryBlock() };
    for (const auto& b : bad)
    {
        engine->setStateInformation (b.getData(), (int) b.getSize());
        juce::MemoryBlock now;
        engine->getStateInformation (now);
        EXPECT_EQ (now, good);
    }
    engine->setStateInformation (nullptr, 100);
    EXPECT_EQ (engine->getCurrentProgram(), 2);
    EXPECT_GT (play (100).peak(), 0.02f);
}

TEST_P (EngineContract, ProgramsAreNamedAndChangeTheSound)
{
    const int count = engine->getNumPrograms();
    ASSERT_GE (count, 2);
    for (int i = 0; i < count; ++i)
        EXPECT_TRUE (engine->getProgramName (i).isNotEmpty());

    const auto first = play (100);
    engine->reset();
    engine->setCurrentProgram (1);
    EXPECT_EQ (engine->getCurrentProgram(), 1);
    const auto second = play (100);
    double difference = 0;
    for (size_t i = 0; i < first.left.size(); ++i)
        difference += std::abs (first.left[i] - second.left[i]);
    EXPECT_GT (difference / (double) first.left.size(), 1.0e-4);

    engine->setCurrentProgram (count);
    engine->setCurrentProgram (-1);
    EXPECT_EQ (engine->getCurrentProgram(), 1) << "out-of-range programs are ignored";
}

TEST_P (EngineContract, ManyNotesStealVoicesWithoutBlowingUp)
{
    juce::MidiBuffer notes;
    for (int i = 0; i < 48; ++i)
        notes.addEvent (juce::MidiMessage::noteOn (1, GetParam().note + (i % 3), (juce::uint8) 100), i * 600);
    const auto out = render (*engine, notes, 60);
    EXPECT_TRUE (out.allFinite());
    EXPECT_GT (out.peak(), 0.02f);
    EXPECT_LT (out.peak(), 4.0f);
}

INSTANTIATE_TEST_SUITE_P (Engines, EngineContract,
                          ::testing::Values (EngineCase { "Tabla", 38 }, EngineCase { "DrumKit", 38 },
                                             EngineCase { "Manjeera", 36 }, EngineCase { "Sitar", 60 },
                                             EngineCase { "Harmonium", 60 }, EngineCase { "Piano", 60 },
                                             EngineCase { "Bells", 72 }, EngineCase { "Violin", 67 }),
                          [] (const auto& info) { return std::string (info.param.engine); });

//==============================================================================
/** Pitch checks on engines whose tone has a clear fundamental. */
class EnginePitch : public ::testing::TestWithParam<EngineCase>
{
};

juce::MidiBuffer bendRangeOf8AndWheel (int wheel)
{
    juce::MidiBuffer midi;
    for (const auto& [cc, value] : std::vector<std::pair<int, int>> { { 101, 0 }, { 100, 0 }, { 6, 8 }, { 101, 127 }, { 100, 127 } })
        midi.addEvent (juce::MidiMessage::controllerEvent (1, cc, value), 0);
    midi.addEvent (juce::MidiMessage::pitchWheel (1, wheel), 0);
    return midi;
}

TEST_P (EnginePitch, SoundsAtItsPitchAndFollowsTheWheelOverTheRange)
{
    const auto [name, note] = GetParam();
    auto engine = makeEngine (name);
    const auto percussion = NVBuiltinEngineFormat::isPercussionEngine (name);

    auto measure = [&] (int wheel)
    {
        engine->reset();
        auto midi = bendRangeOf8AndWheel (wheel);
        midi.addEvent (juce::MidiMessage::noteOn (1, note, (juce::uint8) 100), 1);
        const auto out = render (*engine, midi, 12);
        return pitchHz (out.left, 4096, 4096 + 2048);
    };
    const double straight = measure (8192);
    const double up = measure (16383);
    const double down = measure (0);

    if (! percussion)
    {
        EXPECT_NEAR (straight, juce::MidiMessage::getMidiNoteInHertz (note), straight * 0.03);
    }
    EXPECT_NEAR (up / straight, std::exp2 (8.0 * 8191.0 / 8192.0 / 12.0), 0.04);
    EXPECT_NEAR (down / straight, std::exp2 (-8.0 / 12.0), 0.03);
}

INSTANTIATE_TEST_SUITE_P (Engines, EnginePitch,
                          ::testing::Values (EngineCase { "Harmonium", 57 }, EngineCase { "Sitar", 57 },
                                             EngineCase { "Guitar", 52 }, EngineCase { "Bansuri", 69 },
                                             EngineCase { "Piano", 57 }, EngineCase { "Tabla", 41 }),
                          [] (const auto& info) { return std::string (info.param.engine); });

//==============================================================================
TEST (MelodicEngine, NoteOffAndZeroVelocityReleaseTheNote)
{
    for (const bool zeroVelocity : { false, true })
    {
        auto engine = makeEngine ("Harmonium");
        render (*engine, noteOn (60, 100), 4);
        juce::MidiBuffer off;
        off.addEvent (zeroVelocity ? juce::MidiMessage::noteOn (1, 60, (juce::uint8) 0)
                                   : juce::MidiMessage::noteOff (1, 60), 0);
        const auto out = render (*engine, off, 40);
        EXPECT_LT (out.peakBetween (0, 4), 0.5f) << "the release starts from where the note was";
        EXPECT_GT (out.peakBetween (0, 64), 0.01f) << "and fades rather than cuts";
        EXPECT_LT (out.peakBetween (30 * block, 40 * block), 1.0e-4f);
    }
}

TEST (MelodicEngine, AllNotesOffReleasesEveryNote)
{
    auto engine = makeEngine ("StringsEnsemble");
    juce::MidiBuffer chord;
    for (int n : { 60, 64, 67 })
        chord.addEvent (juce::MidiMessage::noteOn (1, n, (juce::uint8) 100), 0);
    render (*engine, chord, 20);
    juce::MidiBuffer off;
    off.addEvent (juce::MidiMessage::allNotesOff (1), 0);
    const auto out = render (*engine, off, 200);
    EXPECT_LT (out.peakBetween (190 * block, 200 * block), 1.0e-4f);
}

TEST (PercussionEngine, UnmappedNotesAreSilentAndStrokesIgnoreNoteOff)
{
    auto engine = makeEngine ("Tabla");
    EXPECT_EQ (render (*engine, noteOn (100, 127), 4).peak(), 0.0f);

    juce::MidiBuffer strokeAndOff = noteOn (41, 100);
    strokeAndOff.addEvent (juce::MidiMessage::noteOff (1, 41), 10);
    const auto out = render (*engine, strokeAndOff, 20);
    EXPECT_GT (out.peakBetween (15 * block, 20 * block), 1.0e-3f) << "TUN rings on after the key is up";
}

TEST (Engines, EveryEngineSoundsOutOfTheBox)
{
    for (const auto& name : NVBuiltinEngineFormat::getEngineNames())
    {
        SCOPED_TRACE (name);
        auto engine = makeEngine (name);
        ASSERT_NE (engine, nullptr);
        const int note = NVBuiltinEngineFormat::isPercussionEngine (name) ? 38 : 60;
        const auto out = render (*engine, noteOn (name == "Dulcimer" ? 60 : note, 100), 40);
        EXPECT_TRUE (out.allFinite());
        EXPECT_GT (out.peak(), 0.02f);
        EXPECT_LT (out.peak(), 1.5f);
    }
}

TEST (Engines, RenderIntoLargerBlocksThanPrepared)
{
    auto engine = makeEngine ("Sitar");
    juce::AudioBuffer<float> buffer (2, 3000);
    auto midi = noteOn (60, 100);
    midi.addEvent (juce::MidiMessage::noteOn (1, 67, (juce::uint8) 100), 2900);
    engine->processBlock (buffer, midi);
    EXPECT_GT (buffer.getMagnitude (0, 2900), 0.02f);
    EXPECT_LT (buffer.getMagnitude (0, 0, 2), 0.1f);
}
} // namespace
