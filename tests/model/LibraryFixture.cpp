#include "LibraryFixture.h"

#include "model/TWBar.h"
#include "model/TWFactory.h"
#include "model/TWFolder.h"
#include "model/TWInstrumentPart.h"
#include "model/TWLibraryContent.h"
#include "model/TWMelodicStroke.h"
#include "model/TWRhythmicCycle.h"
#include "model/TWSound.h"
#include "model/TWSpecificSequence.h"
#include "model/TWStroke.h"
#include "model/TWSwarManager.h"
#include "persist/RWCollectableInt.h"

#include <initializer_list>

LibraryFixture::LibraryFixture(RWCollectable* trackOwner)
{
    TWInstrumentPart* part = mInstrument.AddInstrumentPart("Main", 0, 127, 0, false);
    mInstrument.SetTrackOwner(trackOwner);
    TWFactory& f = *mInstrument.AddFactory();
    TWRootFolder* root = f.AddRootFolder();
    TWFolder* cycles = f.CreateSubFolder("Loops\\Cycles\\");
    TWFolder* practice = f.CreateSubFolder("Practice\\");
    f.CreateSubFolder("Practice\\Cycles\\");
    TWSwarManager* notes = GetSwarManager();
    auto str = [&](const char* text) { return f.Adopt(new RWCollectableString(text)); };
    auto num = [&](int value) { return f.Adopt(new RWCollectableInt(value)); };

    TWRhythmicCycle* teental = f.CreateRhythmicCycle("Teental", "Tin taal", cycles, LMFraction(1), 16, 16, 4);
    teental->SetUnderlyingName("RZ100001.mid");
    teental->SetComposer("Ustad");
    teental->SetCycle("Teental");
    teental->AddStyle("Delhi");
    teental->AddStyle("Ajrada");
    teental->SetTempoRange(60, 180);
    teental->SetClipArea(LMFraction(1, 2));
    teental->GetBarMarks().insert(f.Adopt(new TWTali(LMFraction(0))));
    teental->GetBarMarks().insert(f.Adopt(new TWTali(LMFraction(1, 4))));
    teental->GetBarMarks().insert(f.Adopt(new TWKhali(LMFraction(1, 2))));
    teental->GetThirdSet().insert(str("third"));

    TWRhythmicCycle* main = f.CreateRhythmicCycle("Main", "", root, LMFraction(1), 8, 8, 8);
    for (int i = 2; i <= 4; ++i) {
        main->RemoveItem(i);
        main->AddItem(main->NewCell(teental, static_cast<unsigned short>(i - 2), LMFraction(1, 8)), i);
    }
    main->RemoveItem(6);
    main->AddItem(main->NewCell(teental, 0, LMFraction(1, 8)), 6);
    main->SplitItem(main->GetSequencedItem(6), 3);
    main->MergeItems(main->GetSequencedItem(2), 4);

    f.CreateRhythmicPattern("Theka", "", practice, 4, LMFraction(4), LMFraction(4));

    // Older content.
    auto* sound = f.Adopt(new TWSound);
    sound->mMembers[0] = str("Dha");
    sound->mMembers[3] = num(3);
    sound->mList.insert(str("sample"));
    auto* left = f.Adopt(new TWLeftStroke);
    auto* right = f.Adopt(new TWRightStroke);
    auto* tuned = f.Adopt(new TWTunedStroke);
    for (TWAudibleStroke* stroke : std::initializer_list<TWAudibleStroke*>{ left, right, tuned }) {
        stroke->mSound = sound;
        stroke->mValues[0] = num(1);
        stroke->mValues[1] = num(2);
    }
    tuned->mNote = notes->GetNote(60);
    auto* joined = f.Adopt(new TWJoinedStroke("DhaGe", "dhage", practice));
    joined->mTexts[0] = "Dha";
    joined->mTexts[1] = "Ge";
    joined->mMultiStroke.GetStrokes().insert(tuned);
    joined->mMultiStroke.GetStrokes().insert(f.Adopt(new TWUnaudibleStroke));
    f.AddItem(joined);
    auto* multi = f.Adopt(new TWMultiStroke);
    multi->GetStrokes().insert(left);

    auto* specific = f.Adopt(new TWSpecificSequence);
    specific->mName = str("meend");
    specific->mLeft = left;
    specific->mRight = right;
    specific->mFirst = 1;
    specific->mSecond = 2;
    specific->mMultiStroke = multi;
    specific->mFlag = true;
    for (int i = 0; i < 4; ++i)
        specific->mValues[i] = 3 + i;
    specific->mText = "glide";
    main->GetSequencedItem(0)->SetSpecificRef(specific);

    auto* instrumentSound = f.Adopt(new TWInstrumentSound);
    instrumentSound->mName = "Bayan";
    instrumentSound->mNotes[0] = notes->GetNote(40);
    instrumentSound->mNotes[1] = notes->GetNote(41);
    instrumentSound->mPart = part;
    instrumentSound->mValue = 7;
    part->GetSounds().insert(instrumentSound);
    auto* any = f.Adopt(new TWAnyStroke);
    any->mInstrumentSound = instrumentSound;
    any->mValueOne = 5;
    any->mName = str("Ge");
    any->mNote = notes->GetNote(50);
    any->mValueTwo = -3;

    auto* delta = f.Adopt(new TWDeltaPitch);
    delta->mReference = any;
    delta->mValue = 12;
    auto* point = f.Adopt(new TWSequencedPoint);
    point->mValues[0] = 1;
    point->mValues[1] = -2;
    point->mValues[2] = 3;
    auto* sign1 = f.Adopt(new TWStrokeSign);
    sign1->mKind = 1;
    sign1->mValue = 100;
    auto* sign2 = f.Adopt(new TWStrokeSign);
    sign2->mKind = 2;
    sign2->mValue = 200;
    auto* raag = f.Adopt(new TWRaagProperties);
    raag->mJati = 5;
    raag->mName = "Yaman";
    raag->mVadi = notes->GetNote(64);
    raag->mThaat = 2;
    raag->mTime = 3;
    raag->mSamvadi = notes->GetNote(71);
    raag->mAscending.insert(notes->GetNote(60));
    raag->mDescending.insert(notes->GetNote(72));
    raag->mFlags[0] = raag->mFlags[8] = true;
    auto* font = f.Adopt(new TWFont);
    font->mMembers[0] = str("Shusha");
    font->mMembers[11] = num(14);
    font->mFlags[1] = true;
    auto* pen = f.Adopt(new TWPen);
    pen->mMembers[0] = num(2);
    pen->mFlag = true;
    auto* pixel = f.Adopt(new TWPixel);
    pixel->mFlag = true;
    auto* loop = f.Adopt(new TWLoopSequence);
    loop->mValues[0] = 1;
    loop->mValues[3] = 4;
    loop->mMembers[1] = str("loop");

    for (RWCollectable* p : std::initializer_list<RWCollectable*>{ any, delta, point, sign1, sign2, raag, font, pen,
                                                                   pixel, loop, sound })
        f.GetContainer().GetExtraList().insert(p);
}
