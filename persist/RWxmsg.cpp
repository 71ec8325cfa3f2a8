#include "persist/RWxmsg.h"

#include <cstdio>

namespace RWMessages {

std::string badReference()
{
    return "[REF] Bad persistence reference";
}

std::string noCreate(unsigned short id)
{
    char buf[96];
    std::snprintf(buf, sizeof buf, "[NOCREATE] RWFactory: no create function for class with ID %hu (0x%hx)", id, id);
    return buf;
}

std::string syntaxError(const char* expected, int found)
{
    char shown[8];
    if (found < 0)
        std::snprintf(shown, sizeof shown, "EOF");
    else if (found > 0x20 && found < 0x7F)
        std::snprintf(shown, sizeof shown, "%c", found);
    else
        std::snprintf(shown, sizeof shown, "\\x%02x", found & 0xFF);
    return std::string("[STREAM] Syntax error in input stream: expected '") + expected + "', got '" + shown + "'";
}

std::string nestingTooDeep(int limit)
{
    return "[NESTING] Objects nested deeper than " + std::to_string(limit) + " levels";
}

} // namespace RWMessages
