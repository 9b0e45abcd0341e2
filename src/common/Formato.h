#pragma once

#include <QString>
#include <optional>

// The number format strings of the system, always with "." grouping and "," decimals whatever the
// machine's locale, and the reading of amounts as users type them.
namespace Formato {

// Money: two decimals, grouped, zero shown as "0".
inline const QString kMoneda = QStringLiteral("###,###,###,##0.00;-###,###,###,##0.00;0");
// Counts, kilometres, days.
inline const QString kEntero = QStringLiteral("###,###,###,##0;-###,###,###,##0;0");

// Up to three sections "positive;negative;zero". In a section '0' is a required digit, '#' an
// optional one, a ',' turns on grouping by thousands, '.' is the decimal point, quoted text and
// any other character are copied as they are. The negative section formats the absolute value;
// without one, negatives get a leading "-". The zero section serves values that round to zero.
// Rounding is half away from zero on the shortest decimal text of the value.
QString formatFloat(const QString &format, double value);

// The amount in the money format followed by one blank and the currency text.
QString money(double value, const QString &currency);

// Rounds to the cent, half away from zero on the shortest decimal text of the value.
double round2(double value);

// Reads "1.234,56", "1234,56", "1234.56", "1.234", "-12,5"; nullopt for empty or malformed text.
// A single '.' followed by exactly three digits and no ',' groups thousands.
std::optional<double> parseNumber(const QString &text);

} // namespace Formato
