// Small helpers for reading and writing the fields of model files.
//
// The readers change a field only when the value was read: after a failed
// read the stream is not good and the field keeps what it held.
#pragma once

#include "persist/RWCollectable.h"
#include "persist/RWvistream.h"
#include "persist/RWvostream.h"

namespace TWStream
{
template <class T> void Read(RWvistream& s, T& field)
{
    T value{};
    s >> value;
    if (s.good())
        field = value;
}

/// A flag held as an int: non-zero reads as true.
inline void ReadFlag(RWvistream& s, bool& field)
{
    int value = 0;
    s >> value;
    if (s.good())
        field = value != 0;
}

inline void WriteFlag(RWvostream& s, bool flag) { s << (flag ? 1 : 0); }

/// Reads an object reference into the member `member` (whose class is not
/// compared with the stream's). Answers true when the member was read.
inline bool ReadMember(RWvistream& s, RWCollectable& member)
{
    return RWCollectable::recursiveRestoreFrom(s, &member) == &member && s.good();
}

/// Reads an object written as a file's own top-level item into a temporary
/// first, so that a failed read leaves the field unchanged. Only for
/// outermost reads: inside a graph a later back-reference could name the
/// temporary.
template <class T> void ReadTopLevelValue(RWvistream& s, T& field)
{
    T value(field);
    if (ReadMember(s, value))
        field = value;
}

/// Reads an object reference (nil allowed) and answers it.
inline RWCollectable* ReadRef(RWvistream& s) { return RWCollectable::recursiveRestoreFrom(s); }

/// Marks the stream as holding bad data: every further read fails.
inline void Fail(RWvistream& s) { s.setstate(std::ios_base::failbit); }
} // namespace TWStream
