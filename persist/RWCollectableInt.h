// A persistent signed 32-bit int.
#pragma once

#include "persist/RWCollectable.h"

#include <cstdint>

class RWCollectableInt : public RWCollectable {
    RW_DECLARE_COLLECTABLE(RWCollectableInt)
public:
    RWCollectableInt() = default;
    explicit RWCollectableInt(int value) : value_(value) {}

    int value() const { return value_; }
    void value(int v) { value_ = v; }

    /// The sign of the difference of the values.
    int compareTo(const RWCollectable* other) const override;
    unsigned hash() const override;
    bool isEqual(const RWCollectable* other) const override;
    void restoreGuts(RWvistream& s) override;
    void saveGuts(RWvostream& s) const override;

private:
    std::int32_t value_ = 0;
};
