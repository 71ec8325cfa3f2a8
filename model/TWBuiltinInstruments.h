#pragma once

// The built-in instrument table, in list order: every entry has bank 108,
// sub-bank 0, no program, the "Sound Engines" folder and no extension.
struct TWBuiltinInstrument
{
    const char* name;
    short slot;
    bool drumKit;
    const char* engineName;
    const char* photo;
};

constexpr TWBuiltinInstrument kBuiltinInstruments[] = {
    { "Audio", 0, false, "Audio", "Audio" },
    { "Accordion", 1, false, "Accordion", "Accordion" },
    { "Bansuri", 2, false, "Bansuri", "Bansuri" },
    { "Bass", 3, false, "Bass", "Bass" },
    { "Bells", 4, false, "Bells", "Bells" },
    { "Brass Section", 5, false, "BrassSection", "Brass Section" },
    { "Brightness", 6, false, "Brightness", "Piano" },
    { "Cello", 7, false, "Cello", "Cello" },
    { "Chimta", 8, true, "Chimta", "Chimta" },
    { "Choir Aahs", 9, false, "ChoirAahs", "Choir Aahs" },
    { "Clean Guitar", 10, false, "CleanGuitar", "Electric Guitar" },
    { "Dhol", 11, true, "Dhol", "Dhol" },
    { "Dholak", 12, true, "Dholak", "Dholak" },
    { "Drums", 13, true, "DrumKit", "Drums" },
    { "Duff", 14, true, "Duff", "Duff" },
    { "Dulcimer", 39, true, "Dulcimer", "Santoor" },
    { "Duggis", 15, false, "Duggis", "Duggis" },
    { "Electric Bass", 16, false, "ElectricBass", "Electric Bass" },
    { "Electric Guitar", 17, false, "ElectricGuitar", "Electric Guitar" },
    { "Ghatam", 18, true, "Ghatam", "Ghatam" },
    { "Guitar", 19, false, "Guitar", "Guitar" },
    { "Gunghroo", 20, true, "Gunghroo", "Gunghroo" },
    { "Harmonium", 21, false, "Harmonium", "Harmonium" },
    { "Manjeera", 22, true, "Manjeera", "Manjeera" },
    { "Piano", 23, false, "Piano", "Piano" },
    { "Santoor", 24, false, "Santoor", "Santoor" },
    { "Sarod", 25, false, "Sarod", "Sarod" },
    { "Saxophone", 26, false, "Sax", "Saxophone" },
    { "Sitar", 27, false, "Sitar", "Sitar" },
    { "Slap Bass", 28, false, "SlapBass", "Electric Bass" },
    { "Slow Strings", 37, false, "SlowStrings", "Strings Ensemble" },
    { "Strings Ensemble", 29, false, "StringsEnsemble", "Strings Ensemble" },
    { "Synth Lead", 41, false, "LeadSynth", "Piano" },
    { "Synth Pad", 40, false, "SynthPad", "Piano" },
    { "Tabla", 30, true, "Tabla", "Tabla" },
    { "Tambourines", 31, true, "Tambourines", "Tambourines" },
    { "Tanpura", 32, false, "Tanpura", "Tanpura" },
    { "Trumpet", 33, false, "Trumpet", "Trumpet" },
    { "Tumbi", 34, false, "Tumbi", "Tumbi" },
    { "Vibraphone", 35, false, "Vibraphone", "Vibraphone" },
    { "Violin", 36, false, "Violin", "Violin" },
    { "Whistle", 38, false, "Whistle", "Choir Aahs" },
};

constexpr short kBuiltinInstrumentBank = 108;
