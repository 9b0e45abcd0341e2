#include "store/Dates.h"

#include <QStringList>

namespace Dates {

namespace {

// A field of a date text: digits only, with the blanks and underscores a half-typed mask leaves.
int number(QString part, int minDigits, int maxDigits, int *digits = nullptr) {
    part.remove(QLatin1Char('_'));
    part = part.trimmed();
    if (part.size() < minDigits || part.size() > maxDigits)
        return -1;
    for (const QChar c : part)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return -1;
    if (digits)
        *digits = int(part.size());
    return part.toInt();
}

int windowYear(int twoDigits, int todayYear) {
    const int first = todayYear - 50;
    const int offset = ((twoDigits - first % 100) % 100 + 100) % 100;
    return first + offset;
}

QDate parseIso(const QString &text) {
    const QStringList parts = text.split(QLatin1Char('-'));
    if (parts.size() != 3 || parts[0].size() != 4)
        return {};
    const int y = number(parts[0], 4, 4);
    const int m = number(parts[1], 1, 2);
    const int d = number(parts[2], 1, 2);
    if (y < 0 || m < 0 || d < 0)
        return {};
    return QDate(y, m, d);
}

QString twoDigits(int n) {
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

} // namespace

QDate parse(const QString &text, QDate today) {
    const QString t = text.trimmed();
    if (isEmptyBox(t))
        return {};
    if (t.contains(QLatin1Char('-')))
        return parseIso(t);
    const QStringList parts = t.split(QLatin1Char('/'));
    if (parts.size() != 3)
        return {};
    int yearDigits = 0;
    const int d = number(parts[0], 1, 2);
    const int m = number(parts[1], 1, 2);
    int y = number(parts[2], 2, 4, &yearDigits);
    if (d < 0 || m < 0 || y < 0 || yearDigits == 3)
        return {};
    if (yearDigits == 2)
        y = windowYear(y, (today.isValid() ? today : QDate::currentDate()).year());
    return QDate(y, m, d);
}

QString toIso(QDate date) {
    if (!date.isValid())
        return {};
    return QStringLiteral("%1-%2-%3")
        .arg(date.year(), 4, 10, QLatin1Char('0'))
        .arg(twoDigits(date.month()), twoDigits(date.day()));
}

QDate fromIso(const QString &text) {
    // The stored form is read for every date of every record: parse it by hand.
    if (text.size() == 10 && text[4] == QLatin1Char('-') && text[7] == QLatin1Char('-')) {
        int v[8];
        int k = 0;
        for (int i : {0, 1, 2, 3, 5, 6, 8, 9}) {
            const char16_t c = text[i].unicode();
            if (c < u'0' || c > u'9')
                return parseIso(text);
            v[k++] = c - u'0';
        }
        return QDate(v[0] * 1000 + v[1] * 100 + v[2] * 10 + v[3], v[4] * 10 + v[5],
                     v[6] * 10 + v[7]);
    }
    const QString t = text.trimmed();
    if (t.isEmpty())
        return {};
    // A value written with its time of day still names its date.
    if (t.size() > 10 && (t[10] == QLatin1Char('T') || t[10] == QLatin1Char(' ')))
        return parseIso(t.left(10));
    return parseIso(t);
}

QString shortText(QDate date) {
    if (!date.isValid())
        return QString();
    return QStringLiteral("%1/%2/%3")
        .arg(twoDigits(date.day()), twoDigits(date.month()))
        .arg(date.year(), 4, 10, QLatin1Char('0'));
}

QString boxText(QDate date) {
    if (!date.isValid())
        return QStringLiteral("  /  /  ");
    return QStringLiteral("%1/%2/%3")
        .arg(twoDigits(date.day()), twoDigits(date.month()), twoDigits(date.year() % 100));
}

bool isEmptyBox(const QString &text) {
    for (const QChar c : text)
        if (c != QLatin1Char(' ') && c != QLatin1Char('/') && c != QLatin1Char('_'))
            return false;
    return true;
}

} // namespace Dates
