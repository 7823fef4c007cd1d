#pragma once
// Date, date-time and time texts as the server accepts them, and the canonical forms the embedded
// database stores: date "YYYY-MM-DD", date-time "YYYY-MM-DD HH:MM:SS", time "HH:MM:SS".
// Shared by the translator (literals, at translation time) and the registered functions (run time).

#include "FieldType.h"

#include <QString>
#include <QStringView>
#include <optional>

namespace sql::temporal {

struct Parts {
    int year = 1900, month = 1, day = 1;
    int hour = 0, minute = 0, second = 0;
    bool hasDate = false, hasTime = false;
};

// Accepts: yyyymmdd; yyyy-mm-dd, yyyy.mm.dd, yyyy/mm/dd (a trailing dot allowed); mm/dd/yyyy,
// mm.dd.yyyy, mm-dd-yyyy; each optionally followed by a blank or 'T' and a time; a time alone:
// hh:mm, hh:mm:ss, hh:mm:ss.fffffff; surrounding blanks; the empty text (1900-01-01 00:00:00).
std::optional<Parts> parse(QStringView text);

// The canonical text of the parts for kind Date, DateTime or Time.
QString canonical(const Parts &p, FieldType kind);
// parse + canonical; nullopt when the text is not a date/time.
std::optional<QString> toCanonical(QStringView text, FieldType kind);

// Days since 1970-01-01 of a civil date (proleptic Gregorian).
qint64 daysFromCivil(int y, int m, int d);

// DATEDIFF(unit, a, b) counting boundaries as SQL Server does (weeks begin on Sunday).
// unit: year, quarter, month, week, day, hour, minute, second (and their SQL Server abbreviations).
// nullopt for an unknown unit.
std::optional<qint64> dateDiff(QStringView unit, const Parts &a, const Parts &b);
bool isDateDiffUnit(QStringView unit);
// The unit's full name (year, quarter, month, week, day, hour, minute, second); empty when unknown.
QString normalDateDiffUnit(QStringView unit);

// Oracle to_char / to_date with the masks YYYY, MM, DD, HH24, HH, MI, SS and literal characters.
QString oracleFormat(const Parts &p, QStringView mask);
std::optional<Parts> oracleParse(QStringView text, QStringView mask);

// The server's wording of conversion failures.
QString dateConversionMessage();
QString intConversionMessage(QStringView value);
QString bitConversionMessage(QStringView value);
QString floatConversionMessage();

} // namespace sql::temporal

namespace sql::numeric {

// The server's text to number conversions: surrounding blanks, an optional sign; '' is 0.
std::optional<qint64> textToInt(QStringView text);
std::optional<double> textToFloat(QStringView text);
// '1'/'0', 'true'/'false' (any case), or an integer (not 0 is 1).
std::optional<int> textToBit(QStringView text);

} // namespace sql::numeric
