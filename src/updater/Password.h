#pragma once
// The scrambled database password of the update manifest ("jelszo").

#include <QString>

namespace frissites {

// The updater's own 64-character alphabet (positions 1 to 64).
inline constexpr char PasswordAlphabet[] = "XIF2YW3e9NVQGsk85i0ZBgdxafKAU6JrqRuH_PwbpCnSlcyjMoDhO7-tvT4Lm1zE";

// Pairs of alphabet characters give bytes (the first the low, the second the high four bits), the k-th
// byte exclusive-or (k mod 250); the Windows-1250 text up to its first blank is the password.
// A text without blank gives an empty password.
QString DecodePassword(const QString &scrambled);

// The inverse for the administrator: password + one blank, scrambled.
QString EncodePassword(const QString &password);

} // namespace frissites
