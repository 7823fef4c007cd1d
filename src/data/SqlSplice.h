#pragma once
// Values spliced into statement texts. Every window and logic class composes its statements with
// these two, so an empty id never leaves "= " dangling and a quote in a text never ends the literal.

#include <QString>

// An id as spliced unquoted: empty (or blanks) gives null.
QString SqlId(const QString &id);
// The content of a text literal: single quotes doubled (the caller writes the enclosing quotes).
QString SqlQuoted(const QString &text);
