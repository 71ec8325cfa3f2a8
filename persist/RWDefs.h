// Basic types shared by the persistence layer.
#pragma once

#include <cstddef>

/// 16-bit class identifier written after ":" for every persistent object.
using RWClassID = unsigned short;

/// "No position" answered by index searches and held by null sub-strings.
constexpr std::size_t RW_NPOS = static_cast<std::size_t>(-1);

/// Class identifiers of the persistence layer's own classes.
namespace RWClassIDs {
constexpr RWClassID collectable = 0x8007;              // 32775
constexpr RWClassID collectableAssociation = 0x8008;   // 32776
constexpr RWClassID collectableInt = 0x800A;           // 32778
constexpr RWClassID collectableString = 0x800B;        // 32779
constexpr RWClassID bag = 0x801B;                      // 32795
constexpr RWClassID hashDictionary = 0x8022;           // 32802
constexpr RWClassID identitySet = 0x8025;              // 32805
constexpr RWClassID ordered = 0x8028;                  // 32808
constexpr RWClassID set = 0x802B;                      // 32811
constexpr RWClassID slistCollectables = 0x8033;        // 32819
constexpr RWClassID hashTable = 0x805E;                // 32862
constexpr RWClassID collectableIDAssociation = 0x805F; // 32863
constexpr RWClassID fraction = 40;                     // LMFraction
} // namespace RWClassIDs
