#pragma once

#include <QDate>
#include <QString>

// The date texts of the system: what users type in date boxes and filters, the short date shown
// in windows and listings, and the ISO text the store keeps.
namespace Dates {

// Reads "dd/mm/yy", "d/m/yy", "dd/mm/yyyy" or ISO "yyyy-mm-dd", blanks around ignored. Two-digit
// years fall in the window from 50 years before to 49 years after the year of `today`. An empty
// box, an impossible date or anything else gives an invalid date.
QDate parse(const QString &text, QDate today = QDate::currentDate());

// Storage form "yyyy-MM-dd"; an invalid date is stored as a null string and read back as one.
QString toIso(QDate date);
QDate fromIso(const QString &text);

// "dd/mm/yyyy", or "" for an invalid date.
QString shortText(QDate date);

// "dd/mm/yy" as a date box shows it, or the empty box "  /  /  " for an invalid date.
QString boxText(QDate date);

// True for a box nobody filled: only blanks, slashes and the mask's underscores.
bool isEmptyBox(const QString &text);

} // namespace Dates
