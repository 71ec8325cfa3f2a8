#include "sound/NVBuiltinKits.h"

#include "sound/NVBuiltinKitRecipes.h"
#include "sound/NVBuiltinVoice.h"

#include <map>

namespace
{
using namespace nvkit;

// Heads and other sounding parts of the kits, as bit masks.
constexpr int treble = 1, bass = 2, hatHead = 4;

struct KitBuilder
{
    NVKit kit;
    explicit KitBuilder (const char* name) { kit.engineName = name; kit.strokeForNote.fill (-1); }
    KitBuilder& add (int note, const char* name, const Stroke& s)
    {
        kit.strokeForNote[(size_t) note] = (int) kit.strokes.size();
        kit.strokes.push_back ({ note, name, s.p });
        return *this;
    }
};

//==============================================================================
NVKit tabla()
{
    const float d = 293.7f, b = 98.0f; // dayan on D4, bayan on G2
    KitBuilder k ("Tabla");
    k.add (36, "DHA", both (tablaNa (d), tablaGe (b)))
     .add (37, "DHIN", both (tablaTin (d), tablaGe (b)))
     .add (38, "NA", tablaNa (d))
     .add (39, "TA", tablaTa (d))
     .add (40, "TIN", tablaTin (d))
     .add (41, "TUN", tablaTun (d))
     .add (42, "GE", tablaGe (b))
     .add (43, "GHE", tablaGhe (b))
     .add (44, "KE", closedBass (b * 1.1f).heads (bass, bass))
     .add (45, "KAT", closedBass (b * 1.25f).noise (0.5f, 0.05f, 900, 1.2f).heads (bass, bass))
     .add (46, "TIT", closedTreble (d * 1.05f).heads (treble, treble))
     .add (47, "TE", closedTreble (d).pan (0.25f).heads (treble, treble))
     .add (48, "RE", closedTreble (d * 0.92f).pan (0.3f).heads (treble, treble))
     .add (49, "DHE", both (closedTreble (d), tablaGe (b)))
     .add (50, "DHI", both (tablaTi (d), tablaGe (b)))
     .add (51, "TI", tablaTi (d))
     .add (52, "GA", tablaGe (b * 1.06f).glide (2.0f, 0.06f).decayScale (0.6f))
     .add (53, "KA", closedBass (b * 1.2f).level (0.35f).heads (bass, bass));
    return k.kit;
}

NVKit dholak()
{
    const float t = 415.3f, b = 110.0f;
    KitBuilder k ("Dholak");
    k.add (36, "DHA", both (dholakTreble (t, 0.5f), dholakBass (b, 4)))
     .add (37, "DHIN", both (dholakTreble (t, 0.9f), dholakBass (b, 4)))
     .add (38, "NA", dholakTreble (t, 0.5f))
     .add (39, "TA", dholakTreble (t * 1.06f, 0.35f).click (0.5f))
     .add (40, "TIN", dholakTreble (t, 0.9f))
     .add (41, "TI", closedTreble (t).heads (treble, treble))
     .add (42, "GE", dholakBass (b, 4))
     .add (43, "GHE", dholakBass (b * 0.94f, 9).decayScale (1.4f))
     .add (44, "KE", closedBass (b * 1.15f).heads (bass, bass))
     .add (45, "KAT", closedBass (b * 1.3f).noise (0.6f, 0.04f, 1200, 1.0f).heads (bass, bass))
     .add (46, "TE", closedTreble (t * 1.08f).pan (0.3f).heads (treble, treble))
     .add (47, "DHE", both (closedTreble (t), dholakBass (b, 4)))
     .add (48, "GHEN", dholakBass (b, -5).glide (-5, 0.15f).decayScale (1.3f))
     .add (49, "TIT", closedTreble (t * 1.12f).level (0.35f).heads (treble, treble));
    return k.kit;
}

NVKit dhol()
{
    const float t = 392.0f, b = 73.4f;
    KitBuilder k ("Dhol");
    k.add (36, "DHA", both (dholTihli (t), dholDagga (b)))
     .add (37, "DHUM", dholDagga (b).decayScale (1.4f))
     .add (38, "GE", dholDagga (b * 1.1f))
     .add (39, "TA", dholTihli (t))
     .add (40, "TI", dholTihli (t * 1.1f).decayScale (0.6f).level (0.4f))
     .add (41, "TE", closedTreble (t).noise (0.6f, 0.03f, 3500, 1.0f).heads (treble, treble))
     .add (42, "KAT", rimClick (1800).pan (0.3f))
     .add (43, "KE", closedBass (b * 1.3f).heads (bass, bass))
     .add (44, "DHIN", both (dholTihli (t).decayScale (1.5f), dholDagga (b)))
     .add (45, "TIT", dholTihli (t * 1.2f).decayScale (0.4f).level (0.35f));
    return k.kit;
}

NVKit duff()
{
    const float b = 82.4f;
    KitBuilder k ("Duff");
    k.add (36, "DUM", frameDrum (b, 0.7f))
     .add (37, "DUM OPEN", frameDrum (b * 0.95f, 1.1f).glide (3, 0.08f))
     .add (38, "TAK", frameEdge (b * 4.8f))
     .add (39, "TEK", frameEdge (b * 5.5f).level (0.35f).pan (0.3f))
     .add (40, "KA", slap (b * 3.0f))
     .add (41, "SLAP", slap (b * 2.4f).noise (0.9f, 0.06f, 2200, 0.8f))
     .add (42, "JHAN", jingles (6000, 0.35f, 45))
     .add (43, "DUM JHAN", both (frameDrum (b, 0.7f), jingles (6500, 0.3f, 40)));
    return k.kit;
}

NVKit ghatam()
{
    const float p = 196.0f;
    KitBuilder k ("Ghatam");
    k.add (36, "THAM", claypotBoom (p * 0.4f))
     .add (37, "TOM", claypotBoom (p * 0.45f).decayScale (0.6f).noise (0.3f, 0.03f, 400, 1.0f))
     .add (38, "TA", claypot (p, 0.35f))
     .add (39, "DHI", claypot (p * 1.12f, 0.6f))
     .add (40, "NAM", claypot (p * 1.25f, 0.8f).pan (0.25f))
     .add (41, "TI", claypot (p * 1.5f, 0.15f).level (0.35f))
     .add (42, "KI", claypot (p * 1.7f, 0.08f).click (0.6f).level (0.35f).pan (-0.2f))
     .add (43, "KA", slap (p * 2.2f).level (0.35f))
     .add (44, "GUMKI", claypotBoom (p * 0.38f).glide (-6, 0.2f).decayScale (1.2f));
    return k.kit;
}

NVKit chimta()
{
    KitBuilder k ("Chimta");
    k.add (36, "CHHAN", both (metal (1850, 0.5f), jingles (7500, 0.45f, 55)))
     .add (37, "CHAK", both (metal (1650, 0.12f), jingles (6000, 0.12f, 80)).click (0.8f))
     .add (38, "TING", metal (2400, 0.9f).level (0.35f))
     .add (39, "ROLL", jingles (7000, 0.9f, 30))
     .add (40, "CHHAN OPEN", both (metal (1850, 1.0f), jingles (7500, 0.7f, 40)));
    return k.kit;
}

NVKit manjeera()
{
    KitBuilder k ("Manjeera");
    k.add (36, "CHING", metal (2650, 2.2f).noise (0.25f, 0.4f, 8000, 0.7f))
     .add (37, "CHA", metal (2650, 0.1f).noise (0.6f, 0.05f, 6500, 0.8f).click (0.5f))
     .add (38, "TING", metal (3150, 1.4f).level (0.35f))
     .add (39, "CHAK", metal (2400, 0.06f).noise (0.8f, 0.03f, 5000, 0.8f).click (0.7f))
     .add (40, "CHING CHA", metal (2500, 1.0f).noise (0.4f, 0.2f, 7500, 0.7f).pan (0.3f));
    return k.kit;
}

NVKit gunghroo()
{
    KitBuilder k ("Gunghroo");
    k.add (36, "TA", both (frameDrum (70, 0.2f), jingles (7000, 0.3f, 60)))
     .add (37, "THEI", both (frameDrum (62, 0.25f), jingles (7500, 0.45f, 70)))
     .add (38, "TAT", both (frameDrum (80, 0.12f), jingles (8000, 0.2f, 90)))
     .add (39, "CHHAN", jingles (7800, 0.5f, 70))
     .add (40, "JHAN", jingles (7200, 0.9f, 35).pan (0.25f))
     .add (41, "CHHUN", jingles (8500, 0.25f, 100).level (0.35f));
    return k.kit;
}

NVKit tambourines()
{
    KitBuilder k ("Tambourines");
    k.add (36, "HIT", both (frameDrum (180, 0.15f), jingles (6500, 0.35f, 70)))
     .add (37, "SHAKE", jingles (7000, 0.45f, 45))
     .add (38, "SLAP", both (slap (420), jingles (6800, 0.3f, 80)))
     .add (39, "JINGLE", jingles (8000, 0.2f, 90).level (0.35f))
     .add (40, "ROLL", jingles (7000, 1.1f, 30))
     .add (41, "HIT LEFT", both (frameDrum (175, 0.15f), jingles (6500, 0.35f, 70)).pan (-0.5f))
     .add (42, "HIT RIGHT", both (frameDrum (185, 0.15f), jingles (6600, 0.35f, 70)).pan (0.5f));
    return k.kit;
}

NVKit dulcimer()
{
    // Struck strings of two octaves and a half of the scale, named by swara
    // ("." marks the lower octave, "'" the upper one).
    static const char* swaras[12] = { "SA", "re", "RE", "ga", "GA", "MA", "ma", "PA", "dha", "DHA", "ni", "NI" };
    KitBuilder k ("Dulcimer");
    for (int note = 48; note <= 84; ++note)
    {
        const int octave = (note - 60) < 0 ? -1 : ((note - 60) / 12);
        juce::String name (swaras[(note - 48) % 12]);
        if (octave < 0)
            name << ".";
        else if (octave == 1)
            name << "'";
        else if (octave == 2)
            name << "''";
        k.add (note, name.toRawUTF8(), struckString (nvdsp::noteHz ((float) note))
                                           .pan (((float) note - 66.0f) / 40.0f));
    }
    return k.kit;
}

NVKit drumKit()
{
    KitBuilder k ("DrumKit");
    k.add (35, "ACOUSTIC BASS DRUM", kick (50, 0.5f))
     .add (36, "BASS DRUM 1", kick (58, 0.4f))
     .add (37, "SIDE STICK", rimClick (1600))
     .add (38, "ACOUSTIC SNARE", snare (185, 0.25f))
     .add (39, "HAND CLAP", clap())
     .add (40, "ELECTRIC SNARE", snare (220, 0.18f).click (0.6f))
     .add (41, "LOW FLOOR TOM", tom (82).pan (-0.45f))
     .add (42, "CLOSED HI-HAT", hiHat (0.06f).heads (hatHead, hatHead))
     .add (43, "HIGH FLOOR TOM", tom (98).pan (-0.35f))
     .add (44, "PEDAL HI-HAT", hiHat (0.04f).level (0.3f).heads (hatHead, hatHead))
     .add (45, "LOW TOM", tom (110).pan (-0.2f))
     .add (46, "OPEN HI-HAT", hiHat (0.55f).heads (hatHead, 0))
     .add (47, "LOW-MID TOM", tom (131).pan (-0.05f))
     .add (48, "HI-MID TOM", tom (147).pan (0.1f))
     .add (49, "CRASH CYMBAL 1", cymbal (420, 2.2f).pan (-0.4f))
     .add (50, "HIGH TOM", tom (175).pan (0.25f))
     .add (51, "RIDE CYMBAL 1", cymbal (520, 2.8f).noise (0.2f, 0.5f, 9000, 0.7f).pan (0.4f).level (0.35f))
     .add (52, "CHINESE CYMBAL", cymbal (380, 1.6f).noise (0.8f, 0.9f, 4500, 1.2f).pan (0.5f))
     .add (53, "RIDE BELL", metal (780, 2.0f).pan (0.4f))
     .add (54, "TAMBOURINE", jingles (7000, 0.3f, 70).pan (0.3f))
     .add (55, "SPLASH CYMBAL", cymbal (560, 0.9f).pan (-0.3f))
     .add (56, "COWBELL", cowbell())
     .add (57, "CRASH CYMBAL 2", cymbal (460, 2.4f).pan (0.45f))
     .add (58, "VIBRASLAP", jingles (3200, 0.9f, 28))
     .add (59, "RIDE CYMBAL 2", cymbal (500, 2.6f).noise (0.2f, 0.5f, 8500, 0.7f).pan (0.35f).level (0.35f))
     .add (60, "HI BONGO", handDrum (440, 0.18f).pan (0.3f))
     .add (61, "LOW BONGO", handDrum (330, 0.22f).pan (0.25f))
     .add (62, "MUTE HI CONGA", handDrum (300, 0.07f).click (0.4f).pan (-0.25f))
     .add (63, "OPEN HI CONGA", handDrum (290, 0.45f).pan (-0.25f))
     .add (64, "LOW CONGA", handDrum (210, 0.5f).pan (-0.3f))
     .add (65, "HIGH TIMBALE", timbale (520).pan (0.2f))
     .add (66, "LOW TIMBALE", timbale (380).pan (0.15f))
     .add (67, "HIGH AGOGO", agogo (920))
     .add (68, "LOW AGOGO", agogo (690))
     .add (69, "CABASA", shaker (0.09f, 9000))
     .add (70, "MARACAS", shaker (0.06f, 7000))
     .add (71, "SHORT WHISTLE", whistle (2300, 0.12f))
     .add (72, "LONG WHISTLE", whistle (2100, 0.5f))
     .add (73, "SHORT GUIRO", guiro (0.12f))
     .add (74, "LONG GUIRO", guiro (0.4f))
     .add (75, "CLAVES", wood (2500, 0.09f))
     .add (76, "HI WOOD BLOCK", wood (1450, 0.07f).pan (0.2f))
     .add (77, "LOW WOOD BLOCK", wood (1050, 0.08f).pan (0.1f))
     .add (78, "MUTE CUICA", cuica (520, 0.1f))
     .add (79, "OPEN CUICA", cuica (420, 0.3f))
     .add (80, "MUTE TRIANGLE", triangle (0.12f).heads (8, 8))
     .add (81, "OPEN TRIANGLE", triangle (1.8f).heads (8, 0));
    return k.kit;
}

/** Sets each stroke's gain so it peaks at its level at full velocity. */
void level (NVKit& kit)
{
    for (auto& s : kit.strokes)
    {
        const float peak = NVBuiltinVoice::measurePeak (s.patch, nvdsp::noteHz ((float) s.note), 0.25f);
        s.patch.gain = peak > 1.0e-6f ? s.patch.level / peak : 0.0f;
    }
}

const std::map<juce::String, NVKit>& kits()
{
    static const std::map<juce::String, NVKit> all = []
    {
        std::map<juce::String, NVKit> m;
        for (auto kit : { tabla(), dholak(), dhol(), duff(), ghatam(), chimta(), manjeera(),
                          gunghroo(), tambourines(), dulcimer(), drumKit() })
        {
            level (kit);
            m.emplace (kit.engineName, std::move (kit));
        }
        return m;
    }();
    return all;
}
} // namespace

const NVKit* NVBuiltinKits::find (const juce::String& engineName)
{
    for (const auto& [name, kit] : kits())
        if (name.equalsIgnoreCase (engineName))
            return &kit;
    return nullptr;
}

juce::StringArray NVBuiltinKits::getNames()
{
    juce::StringArray names;
    for (const auto& entry : kits())
        names.add (entry.first);
    return names;
}

juce::String NVBuiltinKits::makeStrokeNameText (const NVKit& kit)
{
    juce::String text;
    for (int note = 1; note < 128; ++note)
        if (const auto* s = kit.strokeFor (note))
            text << note << ";" << s->name << "\n";
    return text;
}
