#include "model/TWRegisterModelClasses.h"

#include "model/TWBar.h"
#include "model/TWClassIDs.h"
#include "model/TWComposition.h"
#include "model/TWContainer.h"
#include "model/TWEffect.h"
#include "model/TWFolder.h"
#include "model/TWInstrument.h"
#include "model/TWInstrumentAlias.h"
#include "model/TWInstrumentPart.h"
#include "model/TWInstrumentTrack.h"
#include "model/TWLoopRange.h"
#include "model/TWLibraryContent.h"
#include "model/TWMIDIPatch.h"
#include "model/TWMelodicStroke.h"
#include "model/TWRhythmicCycle.h"
#include "model/TWSequencedItem.h"
#include "model/TWSound.h"
#include "model/TWSpecificSequence.h"
#include "model/TWStroke.h"
#include "model/TWSwar.h"
#include "persist/RWFactory.h"

#include <mutex>

namespace
{
// Registered so that older files load; no file of this program holds one.
class TWComponentsFile : public RWCollectable
{
    RW_DECLARE_COLLECTABLE(TWComponentsFile)
};
RW_DEFINE_COLLECTABLE(TWComponentsFile, TWClassIDs::ComponentsFile)

void RegisterAll()
{
    using namespace TWClassIDs;
    rwAddToFactory(&TWJoinedStroke::create, JoinedStroke);
    rwAddToFactory(&TWKhali::create, Khali);
    rwAddToFactory(&TWLeftStroke::create, LeftStroke);
    rwAddToFactory(&TWRhythmicCycle::create, RhythmicCycle);
    rwAddToFactory(&TWRhythmicPattern::create, RhythmicPattern);
    rwAddToFactory(&TWRightStroke::create, RightStroke);
    rwAddToFactory(&TWRootFolder::create, RootFolder);
    rwAddToFactory(&TWSequencedItem::create, SequencedItem);
    rwAddToFactory(&TWSound::create, Sound);
    rwAddToFactory(&TWSubFolder::create, SubFolder);
    rwAddToFactory(&TWTali::create, Tali);
    rwAddToFactory(&TWContainer::create, Container);
    rwAddToFactory(&TWFont::create, Font);
    rwAddToFactory(&TWPen::create, Pen);
    rwAddToFactory(&TWUnaudibleStroke::create, UnaudibleStroke);
    rwAddToFactory(&TWLoopSequence::create, LoopSequence);
    rwAddToFactory(&TWSpecificSequence::create, SpecificSequence);
    rwAddToFactory(&TWMelodicStroke::create, MelodicStroke);
    rwAddToFactory(&TWMultiStroke::create, MultiStroke);
    rwAddToFactory(&TWSwar::create, Swar);
    rwAddToFactory(&TWTunedStroke::create, TunedStroke);
    rwAddToFactory(&TWRaagProperties::create, RaagProperties);
    rwAddToFactory(&TWPixel::create, Pixel);
    rwAddToFactory(&TWStrokeSign::create, StrokeSign);
    rwAddToFactory(&TWMIDIPatch::create, MIDIPatch);
    rwAddToFactory(&TWInstrument::create, Instrument);
    // Three classes answer 302; the audio instrument is the one read back.
    rwAddToFactory(&TWAudioInstrument::create, AudioInstrument);
    rwAddToFactory(&TWGMInstrument::create, AudioInstrument);
    rwAddToFactory(&TWSSInstrument::create, AudioInstrument);
    rwAddToFactory(&TWRhythmicInstrument::create, RhythmicInstrument);
    rwAddToFactory(&TWMelodicInstrument::create, MelodicInstrument);
    rwAddToFactory(&TWStringsInstrument::create, StringsInstrument);
    rwAddToFactory(&TWWindInstrument::create, WindInstrument);
    rwAddToFactory(&TWInstrumentPart::create, InstrumentPart);
    rwAddToFactory(&TWInstrumentSound::create, InstrumentSound);
    rwAddToFactory(&TWAnyStroke::create, AnyStroke);
    rwAddToFactory(&TWDroneInstrument::create, DroneInstrument);
    rwAddToFactory(&TWInstrumentAlias::create, InstrumentAlias);
    rwAddToFactory(&TWComponentsFile::create, ComponentsFile);
    rwAddToFactory(&TWDeltaPitch::create, DeltaPitch);
    rwAddToFactory(&TWSequencedPoint::create, SequencedPoint);
    rwAddToFactory(&TWComposition::create, Composition);
    rwAddToFactory(&TWTrack::create, Track);
    rwAddToFactory(&TWInstrumentTrack::create, InstrumentTrack);
    rwAddToFactory(&TWLoopRange::create, LoopRange);
    rwAddToFactory(&TWEffect::create, Effect);
}
} // namespace

void TWRegisterModelClasses()
{
    static std::once_flag once;
    std::call_once(once, RegisterAll);
}
