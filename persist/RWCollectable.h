// Base of every persistent class, and the object encoding:
//   ":" class-id "{" guts "}"   first reference to an object
//   "@" number                  later reference ("@0" is nil)
#pragma once

#include "persist/RWDefs.h"

class RWvistream;
class RWvostream;

class RWCollectable {
public:
    RWCollectable() = default;
    RWCollectable(const RWCollectable&) = default;
    RWCollectable& operator=(const RWCollectable&) = default;

    /// A new default-constructed object of the same class.
    virtual RWCollectable* newSpecies() const;
    /// A copy of this object.
    virtual RWCollectable* copy() const;
    /// The class identifier written in files.
    virtual RWClassID isA() const;
    virtual ~RWCollectable();
    virtual unsigned binaryStoreSize() const;
    /// Ordering; the base compares addresses.
    virtual int compareTo(const RWCollectable* other) const;
    /// Hash for hashed collections; the base hashes the address.
    virtual unsigned hash() const;
    /// Equality for lookups; the base tests identity.
    virtual bool isEqual(const RWCollectable* other) const;
    /// Reads this object's own fields.
    virtual void restoreGuts(RWvistream& s);
    /// Writes this object's own fields.
    virtual void saveGuts(RWvostream& s) const;

    /// Writes this object as an object reference (full the first time,
    /// "@n" afterwards within one outermost save).
    void recursiveSaveOn(RWvostream& s) const;

    /// Writes this object as a new object even if an object at the same
    /// address was written before, and forgets its address afterwards. Use it
    /// for temporaries built inside saveGuts.
    void saveAsNewObject(RWvostream& s) const;

    /// Reads one object reference. With `into` nil a new object is created by
    /// the factory; otherwise the fields are read into `into`. Answers the
    /// object, or nil for the nil reference, at the end of the input and after
    /// a format error (the stream's fail bit is then set).
    /// Throws RWInternalErr for a bad reference or an unregistered class, and
    /// RWExternalErr for a stream syntax error or objects nested too deeply.
    static RWCollectable* recursiveRestoreFrom(RWvistream& s, RWCollectable* into = nullptr);

    /// Deepest object nesting accepted by recursiveRestoreFrom.
    static constexpr int maxNestingDepth = 256;
};

RWvostream& operator<<(RWvostream& s, const RWCollectable* p);
RWvostream& operator<<(RWvostream& s, const RWCollectable& obj);
RWvistream& operator>>(RWvistream& s, RWCollectable*& p);
RWvistream& operator>>(RWvistream& s, RWCollectable& obj);

/// Declares newSpecies, copy, isA and a static create() for the factory.
#define RW_DECLARE_COLLECTABLE(ClassName)                 \
public:                                                   \
    RWCollectable* newSpecies() const override;           \
    RWCollectable* copy() const override;                 \
    RWClassID isA() const override;                       \
    static RWCollectable* create();

/// Defines what RW_DECLARE_COLLECTABLE declares.
#define RW_DEFINE_COLLECTABLE(ClassName, classID)                                  \
    RWCollectable* ClassName::newSpecies() const { return new ClassName; }        \
    RWCollectable* ClassName::copy() const { return new ClassName(*this); }       \
    RWClassID ClassName::isA() const { return classID; }                           \
    RWCollectable* ClassName::create() { return new ClassName; }
