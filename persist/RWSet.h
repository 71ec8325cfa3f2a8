// Hash set: insert adds an object only when no equal one is present.
#pragma once

#include "persist/RWHashTable.h"

class RWSet : public RWHashTable {
    RW_DECLARE_COLLECTABLE(RWSet)
public:
    RWSet() = default;

    /// Adds `p` unless an equal object is present; then answers that object
    /// and adds nothing.
    RWCollectable* insert(RWCollectable* p) override;
};
