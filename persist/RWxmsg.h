// Errors raised by the persistence layer.
#pragma once

#include <stdexcept>
#include <string>

/// Base of the persistence errors; what() is the message.
class RWxmsg : public std::runtime_error {
public:
    explicit RWxmsg(const std::string& message) : std::runtime_error(message) {}
};

/// Bad object reference or unregistered class identifier.
class RWInternalErr : public RWxmsg {
public:
    explicit RWInternalErr(const std::string& message) : RWxmsg(message) {}
};

/// Stream syntax error, or input that exceeds the reader's limits.
class RWExternalErr : public RWxmsg {
public:
    explicit RWExternalErr(const std::string& message) : RWxmsg(message) {}
};

namespace RWMessages {
/// "[REF] Bad persistence reference"
std::string badReference();
/// "[NOCREATE] RWFactory: no create function for class with ID %hu (0x%hx)"
std::string noCreate(unsigned short id);
/// Syntax error naming the expected text and the byte found.
std::string syntaxError(const char* expected, int found);
/// Objects nested deeper than the reader's limit.
std::string nestingTooDeep(int limit);
} // namespace RWMessages
