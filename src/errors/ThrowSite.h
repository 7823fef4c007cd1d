#pragma once
// Where an exception was raised: every throw of the process passes through the C++ runtime's
// __cxa_throw, which this unit wraps to note the code address of the throw and the thrown type.

#include <QString>
#include <typeinfo>

struct ThrowSite {
    const std::type_info *type = nullptr; // the thrown type (nullptr when unknown)
    quintptr address = 0;                 // code address of the throw
    QString module;                       // full file name of the executable module holding it
    quintptr offset = 0;                  // address relative to the module's load address
};

// The site of the thrown object at object (the most-derived address); when that object is not
// among the recent throws of this thread, the newest throw. Empty when nothing was thrown.
ThrowSite LookupThrowSite(const void *object);

// Demangled name of a type ("DbError", "std::runtime_error").
QString TypeName(const std::type_info *type);
