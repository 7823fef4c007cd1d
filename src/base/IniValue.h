#pragma once
// Scrambled configuration values: each byte of the Windows-1250 text is spread over two
// characters of a fixed 64-character alphabet (low four bits, then high four bits).

#include <QString>

extern const char IniValueAlphabet[65];

// Decodes one scrambled value. Characters outside the alphabet (and the missing partner of an
// odd last character) count as position 65; the result is then simply wrong, never an error.
QString DecodeIniValue(const QString &text);

// The inverse, for the administrator's tool: DecodeIniValue(EncodeIniValue(x)) == x for any
// text that Windows-1250 can hold.
QString EncodeIniValue(const QString &text);
