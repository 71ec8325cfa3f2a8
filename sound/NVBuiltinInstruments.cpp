#include "sound/NVBuiltinInstruments.h"

#include "sound/NVBuiltinVoice.h"

#include <cmath>
#include <map>

namespace
{
const std::vector<NVProgramShape> plucked { { "Standard", 0, 1, 1, 1 }, { "Bright", 0, 1, 1.3f, 1 },
                                            { "Mellow", 0, 0.8f, 0.7f, 1 }, { "Long Ring", 0, 1.7f, 1, 1 } };
const std::vector<NVProgramShape> struck { { "Standard", 0, 1, 1, 1 }, { "Bright", 0, 1, 1.3f, 1 },
                                           { "Soft", 0, 0.9f, 0.7f, 1 }, { "Short", 0, 0.5f, 1, 1 } };
const std::vector<NVProgramShape> sustained { { "Standard", 0, 1, 1, 1 }, { "Bright", 0, 1, 1.3f, 1 },
                                              { "Mellow", 0, 1, 0.7f, 0.7f }, { "Expressive", 0, 1, 1.05f, 1.8f },
                                              { "Still", 0, 1, 1, 0 } };

NVVoicePatch pluck (float bright, float ring, float pickPos, float release)
{
    NVVoicePatch p;
    p.model = NVSynthModel::pluck;
    p.brightness = bright;
    p.ringTime = ring;
    p.pickPos = pickPos;
    p.attack = 0.0015f;
    p.release = release;
    p.level = 0.3f;
    return p;
}

NVVoicePatch analog (float saw, float square, float sine, float attack, float release, float cutoff)
{
    NVVoicePatch p;
    p.model = NVSynthModel::analog;
    p.saw = saw;
    p.square = square;
    p.sine = sine;
    p.attack = attack;
    p.decay = 0.3f;
    p.sustain = 0.85f;
    p.release = release;
    p.cutoff = cutoff;
    p.level = 0.22f;
    return p;
}

NVVoicePatch vibrato (NVVoicePatch p, float rate, float depth, float delay)
{
    p.vibRate = rate;
    p.vibDepth = depth;
    p.vibDelay = delay;
    return p;
}

/** Struck strings and bars: modes at (slightly stretched) multiples of the note. */
NVVoicePatch struckModes (float stretch, float tilt, float ring, float detune, float release)
{
    NVVoicePatch p;
    p.model = NVSynthModel::modal;
    p.pitched = true;
    p.attack = 0.001f;
    p.release = release;
    for (int layer = 0; layer < 2; ++layer)
    {
        auto& set = p.modes[layer];
        set.hz = layer == 0 ? 1.0f : detune;
        set.count = NVModeSet::maxModes;
        for (int n = 1; n <= NVModeSet::maxModes; ++n)
        {
            set.ratio[n - 1] = (float) n * std::sqrt (1.0f + stretch * (float) (n * n));
            set.gain[n - 1] = (layer == 0 ? 1.0f : 0.6f) / std::pow ((float) n, tilt);
            set.decay[n - 1] = ring / (1.0f + 0.35f * (float) (n - 1));
        }
    }
    p.level = 0.3f;
    return p;
}

NVInstrumentSound make (const char* name, NVVoicePatch p, const std::vector<NVProgramShape>& programs,
                        float sympathetic = 0)
{
    NVInstrumentSound s;
    s.engineName = name;
    s.patch = p;
    s.programs = programs;
    s.sympathetic = sympathetic;
    return s;
}

std::vector<NVInstrumentSound> pluckedInstruments()
{
    auto sitar = pluck (0.8f, 5, 0.08f, 1.2f);
    sitar.jawari = 0.6f;
    auto tanpura = pluck (0.5f, 7, 0.2f, 2.5f);
    tanpura.jawari = 0.9f;
    tanpura.attack = 0.006f;
    auto sarod = pluck (0.7f, 3.5f, 0.1f, 0.8f);
    sarod.jawari = 0.12f;
    auto electric = pluck (0.65f, 5, 0.12f, 0.15f);
    electric.drive = 0.6f;
    auto bass = pluck (0.25f, 3, 0.25f, 0.12f);
    bass.level = 0.4f;
    auto electricBass = pluck (0.35f, 4, 0.15f, 0.1f);
    electricBass.drive = 0.2f;
    electricBass.level = 0.4f;
    auto slap = pluck (0.9f, 2.5f, 0.05f, 0.1f);
    slap.drive = 0.3f;
    slap.clickGain = 0.3f;
    slap.level = 0.4f;
    return { make ("Guitar", pluck (0.45f, 3, 0.18f, 0.25f), plucked),
             make ("CleanGuitar", pluck (0.6f, 3.5f, 0.1f, 0.2f), plucked),
             make ("ElectricGuitar", electric, plucked),
             make ("Sitar", sitar, plucked, 0.6f),
             make ("Tanpura", tanpura, plucked, 0.5f),
             make ("Sarod", sarod, plucked, 0.45f),
             make ("Tumbi", pluck (0.85f, 1.2f, 0.06f, 0.2f), plucked),
             make ("Bass", bass, plucked),
             make ("ElectricBass", electricBass, plucked),
             make ("SlapBass", slap, plucked) };
}

std::vector<NVInstrumentSound> struckInstruments()
{
    auto piano = struckModes (0.0003f, 1.1f, 4.0f, 1.0015f, 0.25f);
    piano.clickGain = 0.12f;
    piano.noiseGain = 0.1f;
    piano.noiseDecay = 0.01f;
    piano.noiseHz = 2000;
    auto bright = struckModes (0.0004f, 0.6f, 3.5f, 1.002f, 0.25f);
    bright.clickGain = 0.25f;
    bright.noiseGain = 0.15f;
    bright.noiseDecay = 0.01f;
    bright.noiseHz = 4000;
    auto santoor = struckModes (0.0002f, 0.7f, 3.0f, 1.003f, 1.5f);
    santoor.clickGain = 0.2f;

    NVVoicePatch vibes;
    vibes.model = NVSynthModel::modal;
    vibes.modes[0].hz = 1;
    vibes.modes[0].count = 3;
    const float vr[] = { 1, 3.98f, 9.0f }, vg[] = { 1, 0.25f, 0.06f }, vd[] = { 3.5f, 1.2f, 0.4f };
    for (int i = 0; i < 3; ++i)
    {
        vibes.modes[0].ratio[i] = vr[i];
        vibes.modes[0].gain[i] = vg[i];
        vibes.modes[0].decay[i] = vd[i];
    }
    vibes.tremRate = 5.5f;
    vibes.tremDepth = 0.35f;
    vibes.release = 0.4f;
    vibes.clickGain = 0.05f;
    vibes.level = 0.3f;

    NVVoicePatch duggis;
    duggis.model = NVSynthModel::modal;
    duggis.modes[0].hz = 1;
    duggis.modes[0].count = 4;
    const float dr[] = { 1, 1.593f, 2.135f, 2.295f }, dg[] = { 1, 0.45f, 0.25f, 0.15f }, dd[] = { 0.6f, 0.3f, 0.2f, 0.15f };
    for (int i = 0; i < 4; ++i)
    {
        duggis.modes[0].ratio[i] = dr[i];
        duggis.modes[0].gain[i] = dg[i];
        duggis.modes[0].decay[i] = dd[i];
    }
    duggis.modes[0].glideSemis = 3;
    duggis.modes[0].glideTime = 0.05f;
    duggis.clickGain = 0.3f;
    duggis.noiseGain = 0.2f;
    duggis.noiseDecay = 0.02f;
    duggis.noiseHz = 1500;
    duggis.ignoresNoteOff = true;
    duggis.level = 0.4f;

    NVVoicePatch bells;
    bells.model = NVSynthModel::fm;
    bells.fmRatio = 3.5f;
    bells.fmIndex = 4;
    bells.fmIndexEnd = 0.5f;
    bells.fmIndexDecay = 1.5f;
    bells.attack = 0.001f;
    bells.decay = 4;
    bells.sustain = 0;
    bells.release = 2.5f;
    bells.level = 0.28f;

    return { make ("Piano", piano, struck),
             make ("Brightness", bright, struck),
             make ("Santoor", santoor, struck, 0.35f),
             make ("Vibraphone", vibes, struck),
             make ("Duggis", duggis, struck),
             make ("Bells", bells, struck) };
}

std::vector<NVInstrumentSound> sustainedInstruments()
{
    auto harmonium = analog (0.6f, 0.5f, 0, 0.04f, 0.12f, 6);
    harmonium.pulseWidth = 0.35f;
    harmonium.unison = 3;
    harmonium.detuneCents = 6;
    harmonium.breath = 0.04f;
    auto accordion = analog (0.5f, 0.5f, 0, 0.03f, 0.1f, 7);
    accordion.pulseWidth = 0.3f;
    accordion.unison = 3;
    accordion.detuneCents = 14;
    auto bansuri = vibrato (analog (0, 0, 1, 0.06f, 0.15f, 4), 5, 0.25f, 0.25f);
    bansuri.triangle = 0.3f;
    bansuri.breath = 0.35f;
    bansuri.sustain = 0.9f;
    auto whistle = vibrato (analog (0, 0, 1, 0.03f, 0.08f, 4), 6, 0.3f, 0.1f);
    whistle.breath = 0.15f;
    auto violin = vibrato (analog (1, 0, 0, 0.08f, 0.25f, 5), 5.5f, 0.3f, 0.2f);
    violin.cutoffEnv = 1;
    violin.filterDecay = 0.4f;
    violin.breath = 0.08f;
    violin.sustain = 0.9f;
    auto cello = vibrato (analog (1, 0, 0, 0.1f, 0.3f, 4), 5, 0.25f, 0.25f);
    cello.breath = 0.06f;
    cello.sustain = 0.9f;
    auto ensemble = vibrato (analog (1, 0, 0, 0.25f, 0.6f, 5), 5, 0.12f, 0.3f);
    ensemble.unison = 3;
    ensemble.detuneCents = 12;
    ensemble.sustain = 0.95f;
    auto slow = ensemble;
    slow.attack = 0.9f;
    slow.release = 1.2f;
    auto choir = vibrato (analog (0.8f, 0, 0, 0.35f, 0.5f, 8), 5, 0.15f, 0.3f);
    choir.triangle = 0.3f;
    choir.unison = 3;
    choir.detuneCents = 10;
    choir.formant[0] = 700;
    choir.formant[1] = 1220;
    choir.formant[2] = 2600;
    choir.sustain = 0.95f;
    auto brass = vibrato (analog (1, 0, 0, 0.04f, 0.2f, 2), 5.5f, 0.1f, 0.4f);
    brass.unison = 3;
    brass.detuneCents = 8;
    brass.cutoffEnv = 5;
    brass.filterDecay = 0.35f;
    auto trumpet = vibrato (analog (1, 0, 0, 0.03f, 0.12f, 2.5f), 5.5f, 0.15f, 0.3f);
    trumpet.cutoffEnv = 6;
    trumpet.filterDecay = 0.25f;
    trumpet.breath = 0.05f;
    auto sax = vibrato (analog (0.5f, 1, 0, 0.04f, 0.12f, 3), 5, 0.2f, 0.3f);
    sax.pulseWidth = 0.45f;
    sax.cutoffEnv = 3;
    sax.filterDecay = 0.3f;
    sax.resonance = 1.5f;
    sax.breath = 0.15f;
    auto lead = vibrato (analog (1, 0.6f, 0, 0.005f, 0.15f, 6), 5.5f, 0.12f, 0.3f);
    lead.unison = 3;
    lead.detuneCents = 10;
    lead.cutoffEnv = 4;
    lead.filterDecay = 0.3f;
    lead.resonance = 2;
    auto pad = analog (1, 0, 0, 0.6f, 1.2f, 3);
    pad.unison = 3;
    pad.detuneCents = 15;
    pad.cutoffEnv = 2;
    pad.filterDecay = 1.5f;
    pad.tremRate = 0.3f;
    pad.tremDepth = 0.15f;
    pad.sustain = 0.95f;

    return { make ("Harmonium", harmonium, sustained), make ("Accordion", accordion, sustained),
             make ("Bansuri", bansuri, sustained), make ("Whistle", whistle, sustained),
             make ("Violin", violin, sustained), make ("Cello", cello, sustained),
             make ("StringsEnsemble", ensemble, sustained), make ("SlowStrings", slow, sustained),
             make ("ChoirAahs", choir, sustained), make ("BrassSection", brass, sustained),
             make ("Trumpet", trumpet, sustained), make ("Sax", sax, sustained),
             make ("LeadSynth", lead, sustained), make ("SynthPad", pad, sustained) };
}

const std::map<juce::String, NVInstrumentSound>& instruments()
{
    static const std::map<juce::String, NVInstrumentSound> all = []
    {
        std::map<juce::String, NVInstrumentSound> m;
        for (auto* family : { pluckedInstruments, struckInstruments, sustainedInstruments })
            for (auto& s : family())
            {
                // Level every instrument to its peak at middle C, full velocity.
                const float peak = NVBuiltinVoice::measurePeak (s.patch, 261.63f, s.patch.attack + 0.6f);
                s.patch.gain = peak > 1.0e-6f ? s.patch.level / peak : 0.0f;
                m.emplace (s.engineName, s);
            }
        return m;
    }();
    return all;
}
} // namespace

const NVInstrumentSound* NVBuiltinInstruments::find (const juce::String& engineName)
{
    for (const auto& [name, sound] : instruments())
        if (name.equalsIgnoreCase (engineName))
            return &sound;
    return nullptr;
}

juce::StringArray NVBuiltinInstruments::getNames()
{
    juce::StringArray names;
    for (const auto& entry : instruments())
        names.add (entry.first);
    return names;
}
