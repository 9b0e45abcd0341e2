#include "store/FilterParser.h"

#include "store/Dates.h"
#include "store/StoreError.h"

#include <QDate>

void SqlCondition::append(const SqlCondition &other) {
    if (other.isEmpty())
        return;
    if (isEmpty()) {
        *this = other;
        return;
    }
    sql = QStringLiteral("(%1) AND (%2)").arg(sql, other.sql);
    binds += other.binds;
}

namespace {

[[noreturn]] void fail(const QString &expression, const QString &why) {
    throw StoreError(StoreError::Filter,
                     QStringLiteral("El filtro «%1» no es válido: %2").arg(expression, why));
}

class Parser {
public:
    Parser(const QString &text, const FieldResolver &resolve) : m_text(text), m_resolve(resolve) {}

    SqlCondition parse() {
        SqlCondition out;
        skipBlanks();
        if (atEnd())
            return out;
        for (;;) {
            out.append(condition());
            skipBlanks();
            if (atEnd())
                break;
            if (!keyword(QStringLiteral("AND")))
                fail(m_text, QStringLiteral("se esperaba AND en la posición %1").arg(m_pos + 1));
        }
        return out;
    }

private:
    bool atEnd() const { return m_pos >= m_text.size(); }
    QChar peek() const { return atEnd() ? QChar() : m_text[m_pos]; }
    void skipBlanks() {
        while (!atEnd() && peek().isSpace())
            ++m_pos;
    }

    bool keyword(const QString &word) {
        if (m_text.mid(m_pos, word.size()).compare(word, Qt::CaseInsensitive) != 0)
            return false;
        const int after = m_pos + int(word.size());
        if (after < m_text.size() && !m_text[after].isSpace())
            return false;
        m_pos = after;
        return true;
    }

    QString fieldName() {
        skipBlanks();
        if (peek() == '[') {
            const int close = m_text.indexOf(']', m_pos);
            if (close < 0)
                fail(m_text, QStringLiteral("falta el corchete de cierre"));
            const QString name = m_text.mid(m_pos + 1, close - m_pos - 1).trimmed();
            m_pos = close + 1;
            return name;
        }
        const int start = m_pos;
        while (!atEnd() && (peek().isLetterOrNumber() || peek() == '_' || peek() == '.'))
            ++m_pos;
        if (m_pos == start)
            fail(m_text,
                 QStringLiteral("se esperaba un nombre de campo en la posición %1").arg(start + 1));
        return m_text.mid(start, m_pos - start);
    }

    QString op() {
        skipBlanks();
        static const QStringList ops = {QStringLiteral(">="), QStringLiteral("<="),
                                        QStringLiteral("<>"), QStringLiteral("="),
                                        QStringLiteral(">"),  QStringLiteral("<")};
        for (const QString &o : ops) {
            if (m_text.mid(m_pos, o.size()) == o) {
                m_pos += int(o.size());
                return o;
            }
        }
        fail(m_text, QStringLiteral("se esperaba un operador en la posición %1").arg(m_pos + 1));
    }

    QString quotedValue() {
        skipBlanks();
        if (peek() != '\'')
            fail(m_text, QStringLiteral("el valor debe ir entre comillas simples"));
        ++m_pos;
        QString value;
        for (;;) {
            if (atEnd())
                fail(m_text, QStringLiteral("falta la comilla de cierre"));
            const QChar c = m_text[m_pos++];
            if (c == '\'') {
                if (peek() == '\'') {
                    value += '\'';
                    ++m_pos;
                    continue;
                }
                break;
            }
            value += c;
        }
        return value;
    }

    SqlCondition condition() {
        const QString name = fieldName();
        const QString oper = op();
        const QString raw = quotedValue();
        const std::optional<FilterField> field = m_resolve(name);
        if (!field)
            fail(m_text, QStringLiteral("no existe el campo %1").arg(name));
        const QVariant value = typed(*field, name, raw);
        SqlCondition c;
        if (value.isNull()) {
            // An empty text compared for equality means an empty field.
            if (oper == QLatin1String("="))
                c.sql = QStringLiteral("(%1 IS NULL OR %1 = '')").arg(field->sqlExpr);
            else if (oper == QLatin1String("<>"))
                c.sql = QStringLiteral("(%1 IS NOT NULL AND %1 <> '')").arg(field->sqlExpr);
            else
                c.sql = QStringLiteral("0");
            return c;
        }
        c.sql = QStringLiteral("%1 %2 ?").arg(field->sqlExpr, oper);
        c.binds << value;
        return c;
    }

    QVariant typed(const FilterField &field, const QString &name, const QString &raw) const {
        switch (field.type) {
        case FieldType::Text:
        case FieldType::Memo:
            return raw.isEmpty() ? QVariant() : QVariant(raw);
        case FieldType::Date: {
            const QDate d = Dates::parse(raw);
            if (!d.isValid())
                throw StoreError(
                    StoreError::Filter,
                    QStringLiteral("'%1' no es una fecha válida para el campo %2.").arg(raw, name),
                    name);
            return Dates::toIso(d);
        }
        case FieldType::Logical: {
            const QString v = raw.trimmed().toLower();
            if (v == QLatin1String("true") || v == QStringLiteral("sí") ||
                v == QLatin1String("si") || v == QLatin1String("1"))
                return qint64(1);
            if (v == QLatin1String("false") || v == QLatin1String("no") || v == QLatin1String("0"))
                return qint64(0);
            throw StoreError(StoreError::Filter,
                             QStringLiteral("'%1' no es un valor lógico válido para el campo %2.")
                                 .arg(raw, name),
                             name);
        }
        default: {
            bool ok = false;
            QString t = raw.trimmed();
            if (t.contains(',')) {
                t.remove('.');
                t.replace(',', '.');
            }
            const double d = t.toDouble(&ok);
            if (!ok)
                throw StoreError(
                    StoreError::Filter,
                    QStringLiteral("'%1' no es un número válido para el campo %2.").arg(raw, name),
                    name);
            return d;
        }
        }
    }

    const QString &m_text;
    const FieldResolver &m_resolve;
    int m_pos = 0;
};

} // namespace

namespace Filter {

SqlCondition toSql(const QString &expression, const FieldResolver &resolve) {
    return Parser(expression, resolve).parse();
}

QString quote(const QString &value) {
    QString v = value;
    v.replace('\'', QStringLiteral("''"));
    return '\'' + v + '\'';
}

} // namespace Filter
