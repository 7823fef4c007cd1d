#pragma once
// Code 128, code set A: the symbol values of a text (start A, the data, the modulo-103 check, stop)
// and their bar and space widths in modules. Set A holds the upper-case letters, digits,
// punctuation and the control characters; lower-case letters are encoded as their capitals
// (set A has none), so a reader returns the code in capitals.

#include <QString>
#include <QVector>

namespace code128 {

inline constexpr int StartA = 103;
inline constexpr int Stop = 106;

// The widths of the bars and spaces of a symbol value (0 … 106), bar first: six digits, seven
// for the stop symbol.
const char *Pattern(int value);
// The set A value of a character, or -1 when set A cannot encode it.
int ValueA(QChar c);
// Start A, the values of the text, the check value, stop. Empty when the text is empty or holds a
// character that set A cannot encode.
QVector<int> EncodeA(const QString &text);
// The check value of the symbols between the start symbol (included) and the check.
int CheckValue(const QVector<int> &startAndData);
// The module widths of the whole symbol, bar first, ending with the stop's final bar.
QVector<int> ModuleWidths(const QString &text);
// The number of modules of the symbol (without quiet zones); 0 for an empty symbol.
int ModuleCount(const QString &text);

} // namespace code128
