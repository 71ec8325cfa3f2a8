#include "model/TWMelodicStroke.h"

#include "model/TWClassIDs.h"
#include "model/TWStreamHelpers.h"

RW_DEFINE_COLLECTABLE(TWMultiStroke, TWClassIDs::MultiStroke)
RW_DEFINE_COLLECTABLE(TWMelodicStroke, TWClassIDs::MelodicStroke)
RW_DEFINE_COLLECTABLE(TWJoinedStroke, TWClassIDs::JoinedStroke)

void TWMultiStroke::saveGuts(RWvostream& s) const
{
    mStrokes.recursiveSaveOn(s);
}

void TWMultiStroke::restoreGuts(RWvistream& s)
{
    TWStream::ReadMember(s, mStrokes);
}

TWRhythmicItem* TWMelodicStroke::Clone() const
{
    auto* copy = new TWMelodicStroke(*this);
    copy->mClients.clear();
    return copy;
}

void TWMelodicStroke::saveGuts(RWvostream& s) const
{
    TWRhythmicItem::saveGuts(s);
    mMultiStroke.recursiveSaveOn(s);
    for (const auto& text : mTexts)
        text.recursiveSaveOn(s);
}

void TWMelodicStroke::restoreGuts(RWvistream& s)
{
    TWRhythmicItem::restoreGuts(s);
    TWStream::ReadMember(s, mMultiStroke);
    for (auto& text : mTexts)
        TWStream::ReadMember(s, text);
}

void TWJoinedStroke::saveGuts(RWvostream& s) const
{
    TWRhythmicItem::saveGuts(s);
    for (const auto& text : mTexts)
        text.recursiveSaveOn(s);
    mMultiStroke.recursiveSaveOn(s);
}

void TWJoinedStroke::restoreGuts(RWvistream& s)
{
    TWRhythmicItem::restoreGuts(s);
    for (auto& text : mTexts)
        TWStream::ReadMember(s, text);
    TWStream::ReadMember(s, mMultiStroke);
}
