// Class identifiers of the persistent music model, as written after ":".
// Each model class registers its creator under its identifier at start-up:
//     rwAddToFactory(&TWComposition::create, TWClassIDs::Composition);
// For 302 register TWAudioInstrument first: the first registration wins.
#pragma once

#include "persist/RWDefs.h"

namespace TWClassIDs {
constexpr RWClassID Fraction = 40; // LMFraction, registered by the persistence layer
constexpr RWClassID JoinedStroke = 102;
constexpr RWClassID Khali = 103;
constexpr RWClassID LeftStroke = 104;
constexpr RWClassID RhythmicCycle = 105;
constexpr RWClassID RhythmicPattern = 107;
constexpr RWClassID RightStroke = 109;
constexpr RWClassID RootFolder = 110;
constexpr RWClassID SequencedItem = 111;
constexpr RWClassID Sound = 114;
constexpr RWClassID SubFolder = 116;
constexpr RWClassID Tali = 117;
constexpr RWClassID Container = 150;
constexpr RWClassID Font = 152;
constexpr RWClassID Pen = 153;
constexpr RWClassID UnaudibleStroke = 155;
constexpr RWClassID LoopSequence = 156;
constexpr RWClassID SpecificSequence = 157;
constexpr RWClassID MelodicStroke = 158;
constexpr RWClassID MultiStroke = 159;
constexpr RWClassID Swar = 160;
constexpr RWClassID TunedStroke = 161;
constexpr RWClassID RaagProperties = 164;
constexpr RWClassID Pixel = 165;
constexpr RWClassID StrokeSign = 166;
constexpr RWClassID MIDIPatch = 200;
constexpr RWClassID Instrument = 301;
constexpr RWClassID AudioInstrument = 302; // also TWGMInstrument, TWSSInstrument
constexpr RWClassID RhythmicInstrument = 303;
constexpr RWClassID MelodicInstrument = 304;
constexpr RWClassID StringsInstrument = 305;
constexpr RWClassID WindInstrument = 306;
constexpr RWClassID InstrumentPart = 310;
constexpr RWClassID InstrumentSound = 311;
constexpr RWClassID AnyStroke = 312;
constexpr RWClassID Composition = 313;
constexpr RWClassID Track = 314;
constexpr RWClassID InstrumentTrack = 315;
constexpr RWClassID DroneInstrument = 316;
constexpr RWClassID InstrumentAlias = 317;
constexpr RWClassID ComponentsFile = 318;
constexpr RWClassID DeltaPitch = 319;
constexpr RWClassID SequencedPoint = 320;
constexpr RWClassID LoopRange = 321;
constexpr RWClassID Effect = 322;
} // namespace TWClassIDs
