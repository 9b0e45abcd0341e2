#include "common/Formato.h"

#include <QList>
#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

namespace Formato {

namespace {

// |value| rounded to `decimals` places, as the digits before and after the decimal point. The
// integer digits carry no leading zeros, so a value below one has none.
struct Rounded {
    std::string integer;
    std::string fraction;
    bool isZero() const {
        return integer.empty() && fraction.find_first_not_of('0') == std::string::npos;
    }
};

Rounded roundDecimal(double value, int decimals) {
    // The shortest text that reads back as the same double is the decimal value users see.
    char buf[64];
    const auto res =
        std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific);
    const std::string sci(buf, res.ptr);
    const auto e = sci.find('e');
    std::string digits;
    for (std::size_t i = 0; i < e; ++i)
        if (sci[i] != '.')
            digits += sci[i];
    long point = std::stol(sci.substr(e + 1)) + 1; // digits before the decimal point

    if (point < 0) {
        digits.insert(0, std::size_t(-point), '0');
        point = 0;
    }
    if (long(digits.size()) < point)
        digits.append(std::size_t(point - long(digits.size())), '0');

    const std::size_t cut = std::size_t(point + decimals);
    if (cut >= digits.size()) {
        digits.append(cut - digits.size(), '0');
    } else {
        const bool up = digits[cut] >= '5';
        digits.resize(cut);
        if (up) {
            long i = long(cut) - 1;
            for (; i >= 0 && digits[std::size_t(i)] == '9'; --i)
                digits[std::size_t(i)] = '0';
            if (i >= 0) {
                ++digits[std::size_t(i)];
            } else {
                digits.insert(0, 1, '1');
                ++point;
            }
        }
    }

    Rounded r;
    r.integer = digits.substr(0, std::size_t(point));
    r.fraction = digits.substr(std::size_t(point));
    const auto firstSignificant = r.integer.find_first_not_of('0');
    r.integer.erase(0, firstSignificant == std::string::npos ? r.integer.size() : firstSignificant);
    return r;
}

struct Token {
    enum Kind { Literal, IntDigit, DecDigit, Point } kind;
    QString text;
};

struct Section {
    QList<Token> tokens;
    bool grouping = false;
    int intPlaces = 0;
    int intRequired = 0; // the leftmost '0' of the integer part and every place right of it
    int decPlaces = 0;
    int decRequired = 0; // up to the rightmost '0' of the decimal part
    bool isEmpty() const { return tokens.isEmpty() && !grouping; }
};

Section parseSection(const QString &text) {
    Section s;
    bool afterPoint = false;
    int firstRequired = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            const qsizetype end = text.indexOf(c, i + 1);
            const qsizetype stop = end < 0 ? text.size() : end;
            s.tokens.append(Token{Token::Literal, text.mid(i + 1, stop - i - 1)});
            i = stop;
        } else if (c == QLatin1Char('0') || c == QLatin1Char('#')) {
            const bool required = c == QLatin1Char('0');
            if (afterPoint) {
                ++s.decPlaces;
                if (required)
                    s.decRequired = s.decPlaces;
                s.tokens.append(Token{Token::DecDigit, {}});
            } else {
                if (required && firstRequired < 0)
                    firstRequired = s.intPlaces;
                ++s.intPlaces;
                s.tokens.append(Token{Token::IntDigit, {}});
            }
        } else if (c == QLatin1Char(',')) {
            s.grouping = true;
        } else if (c == QLatin1Char('.') && !afterPoint) {
            afterPoint = true;
            s.tokens.append(Token{Token::Point, {}});
        } else {
            s.tokens.append(Token{Token::Literal, QString(c)});
        }
    }
    s.intRequired = firstRequired < 0 ? 0 : s.intPlaces - firstRequired;
    return s;
}

// Splits at the ';' outside quotes.
QStringList splitSections(const QString &format) {
    QStringList out;
    QString current;
    QChar quote;
    for (const QChar c : format) {
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
        } else if (c == QLatin1Char(';')) {
            out << current;
            current.clear();
            continue;
        }
        current += c;
    }
    out << current;
    return out;
}

QString render(const Section &s, const Rounded &r) {
    std::string integer = r.integer;
    if (int(integer.size()) < s.intRequired)
        integer.insert(0, std::size_t(s.intRequired - int(integer.size())), '0');
    std::string fraction = r.fraction;
    if (int(fraction.size()) < s.decPlaces)
        fraction.append(std::size_t(s.decPlaces - int(fraction.size())), '0');
    while (int(fraction.size()) > s.decRequired && fraction.back() == '0')
        fraction.pop_back();

    QString out;
    // Digits are handed out right to left over the integer places; the leftmost place takes any
    // digits the format has no room for.
    std::size_t next = 0; // index into `integer` of the next digit to write
    int placesLeft = s.intPlaces;
    auto emitDigits = [&](std::size_t count) {
        for (std::size_t k = 0; k < count && next < integer.size(); ++k, ++next) {
            out += QLatin1Char(integer[next]);
            const std::size_t toTheRight = integer.size() - next - 1;
            if (s.grouping && toTheRight > 0 && toTheRight % 3 == 0)
                out += QLatin1Char('.');
        }
    };
    int decIndex = 0;
    for (const Token &t : s.tokens) {
        switch (t.kind) {
        case Token::Literal:
            out += t.text;
            break;
        case Token::IntDigit: {
            const std::size_t remaining = integer.size() - next;
            const std::size_t mine =
                placesLeft == s.intPlaces
                    ? (remaining > std::size_t(placesLeft - 1) ? remaining - (placesLeft - 1) : 0)
                    : (remaining >= std::size_t(placesLeft) ? 1 : 0);
            emitDigits(mine);
            --placesLeft;
            break;
        }
        case Token::Point:
            if (s.intPlaces == 0)
                emitDigits(integer.size());
            if (!fraction.empty())
                out += QLatin1Char(',');
            break;
        case Token::DecDigit:
            if (decIndex < int(fraction.size()))
                out += QLatin1Char(fraction[std::size_t(decIndex)]);
            ++decIndex;
            break;
        }
    }
    return out;
}

} // namespace

QString formatFloat(const QString &format, double value) {
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");

    const QStringList texts = splitSections(format);
    QList<Section> sections;
    for (qsizetype i = 0; i < texts.size() && i < 3; ++i)
        sections << parseSection(texts[i]);

    const bool hasNegative = sections.size() > 1 && !sections[1].isEmpty();
    const bool hasZero = sections.size() > 2 && !sections[2].isEmpty();
    const bool negative = value < 0;
    const Section &chosen = negative && hasNegative ? sections[1] : sections[0];

    const Rounded r = roundDecimal(value, chosen.decPlaces);
    if (r.isZero())
        return render(hasZero ? sections[2] : sections[0], roundDecimal(0.0, 0));
    const QString text = render(chosen, r);
    return negative && !hasNegative ? QLatin1Char('-') + text : text;
}

QString money(double value, const QString &currency) {
    return formatFloat(kMoneda, value) + QLatin1Char(' ') + currency;
}

double round2(double value) {
    if (!std::isfinite(value))
        return value;
    const Rounded r = roundDecimal(value, 2);
    if (r.isZero())
        return 0.0;
    const std::string text =
        (value < 0 ? "-" : "") + (r.integer.empty() ? "0" : r.integer) + '.' + r.fraction;
    double out = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), out);
    return out;
}

namespace {

// Thousands groups "1.234.567": the first of one to three digits without a leading zero, the
// rest of exactly three.
bool isGrouped(const QString &digits) {
    const QStringList groups = digits.split(QLatin1Char('.'));
    if (groups.first().isEmpty() || groups.first().size() > 3 ||
        groups.first().startsWith(QLatin1Char('0')))
        return false;
    for (qsizetype i = 1; i < groups.size(); ++i)
        if (groups[i].size() != 3)
            return false;
    return true;
}

} // namespace

std::optional<double> parseNumber(const QString &text) {
    QString t = text.trimmed();
    bool negative = false;
    if (t.startsWith(QLatin1Char('-')) || t.startsWith(QLatin1Char('+'))) {
        negative = t[0] == QLatin1Char('-');
        t.remove(0, 1);
    }
    for (const QChar c : t) {
        const bool digit = c >= QLatin1Char('0') && c <= QLatin1Char('9');
        if (!digit && c != QLatin1Char('.') && c != QLatin1Char(','))
            return std::nullopt;
    }
    if (t.count(QLatin1Char(',')) > 1)
        return std::nullopt;

    QString integer = t;
    QString fraction;
    const qsizetype comma = t.indexOf(QLatin1Char(','));
    if (comma >= 0) {
        integer = t.left(comma);
        fraction = t.mid(comma + 1);
        if (fraction.contains(QLatin1Char('.')))
            return std::nullopt;
    } else if (t.count(QLatin1Char('.')) == 1) {
        const qsizetype point = t.indexOf(QLatin1Char('.'));
        if (t.size() - point - 1 != 3 || !isGrouped(t)) {
            integer = t.left(point);
            fraction = t.mid(point + 1);
        }
    }
    if (integer.contains(QLatin1Char('.'))) {
        if (!isGrouped(integer))
            return std::nullopt;
        integer.remove(QLatin1Char('.'));
    }
    if (integer.isEmpty() && fraction.isEmpty())
        return std::nullopt;

    const std::string plain = (negative ? "-" : "") +
                              (integer.isEmpty() ? std::string("0") : integer.toStdString()) + '.' +
                              fraction.toStdString() + '0';
    double out = 0.0;
    const auto res = std::from_chars(plain.data(), plain.data() + plain.size(), out);
    if (res.ec != std::errc() || res.ptr != plain.data() + plain.size())
        return std::nullopt;
    return out;
}

} // namespace Formato
