#include "model/TWBar.h"

#include "model/TWClassIDs.h"
#include "model/TWStreamHelpers.h"

RW_DEFINE_COLLECTABLE(TWKhali, TWClassIDs::Khali)
RW_DEFINE_COLLECTABLE(TWTali, TWClassIDs::Tali)

bool TWBar::isEqual(const RWCollectable* other) const
{
    const auto* bar = dynamic_cast<const TWBar*>(other);
    return bar && bar->isA() == isA() && bar->mPosition == mPosition;
}

int TWBar::compareTo(const RWCollectable* other) const
{
    const auto* bar = dynamic_cast<const TWBar*>(other);
    return bar ? mPosition.compareTo(&bar->mPosition) : RWCollectable::compareTo(other);
}

void TWBar::saveGuts(RWvostream& s) const
{
    mPosition.recursiveSaveOn(s);
}

void TWBar::restoreGuts(RWvistream& s)
{
    TWStream::ReadMember(s, mPosition);
}
