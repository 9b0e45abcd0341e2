#include "app/IniFile.h"

#include "store/Dates.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <charconv>
#include <cmath>

QStringList IniFile::lines() const {
    QFile f(m_path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = f.readAll();
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    // A file written by an older program is Latin-1, not UTF-8.
    if (utf8.hasError())
        text = QString::fromLatin1(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QStringList out = text.split('\n');
    if (!out.isEmpty() && out.last().isEmpty())
        out.removeLast();
    return out;
}

bool IniFile::save(const QStringList &content) {
    if (!QDir().mkpath(QFileInfo(m_path).absolutePath()))
        return false;
    QSaveFile f(m_path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    QByteArray out;
    for (const QString &line : content)
        out += line.toUtf8() + '\n';
    f.write(out);
    return f.commit();
}

static bool isSectionHeader(const QString &line, QString *name = nullptr) {
    const QString t = line.trimmed();
    if (!t.startsWith('[') || !t.endsWith(']'))
        return false;
    if (name)
        *name = t.mid(1, t.size() - 2).trimmed();
    return true;
}

int IniFile::findSection(const QStringList &content, const QString &section, int *end) {
    int header = -1;
    for (int i = 0; i < content.size(); ++i) {
        QString name;
        if (!isSectionHeader(content[i], &name))
            continue;
        if (header >= 0) {
            *end = i;
            return header;
        }
        if (name.compare(section.trimmed(), Qt::CaseInsensitive) == 0)
            header = i;
    }
    *end = int(content.size());
    return header;
}

QString IniFile::keyOf(const QString &line) {
    const int eq = line.indexOf('=');
    if (eq < 0 || line.trimmed().startsWith(';'))
        return QString();
    return line.left(eq).trimmed();
}

int IniFile::findKey(const QStringList &content, int begin, int end, const QString &key) {
    for (int i = begin; i < end; ++i) {
        const QString k = keyOf(content[i]);
        if (!k.isEmpty() && k.compare(key.trimmed(), Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

bool IniFile::lookup(const QString &section, const QString &key, QString *value) const {
    const QStringList content = lines();
    int end = 0;
    const int header = findSection(content, section, &end);
    if (header < 0)
        return false;
    const int i = findKey(content, header + 1, end, key);
    if (i < 0)
        return false;
    *value = content[i].mid(content[i].indexOf('=') + 1).trimmed();
    return true;
}

QString IniFile::readString(const QString &section, const QString &key, const QString &def) const {
    QString v;
    return lookup(section, key, &v) ? v : def;
}

int IniFile::readInteger(const QString &section, const QString &key, int def) const {
    QString v;
    if (!lookup(section, key, &v))
        return def;
    bool ok = false;
    const int n = v.toInt(&ok);
    return ok ? n : def;
}

bool IniFile::readBool(const QString &section, const QString &key, bool def) const {
    QString v;
    if (!lookup(section, key, &v))
        return def;
    if (v == QLatin1String("1") || v.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    if (v == QLatin1String("0") || v.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return false;
    return def;
}

bool IniFile::parseFloat(const QString &text, double *value) {
    QString t = text.trimmed();
    if (t.isEmpty())
        return false;
    if (t.contains(',')) {
        // Spanish notation: "." groups thousands, "," marks the decimals.
        if (t.lastIndexOf('.') > t.indexOf(','))
            return false;
        t.remove('.');
        t.replace(',', '.');
    }
    bool ok = false;
    const double d = t.toDouble(&ok);
    if (!ok || !std::isfinite(d)) // "nan" and "inf" are not amounts
        return false;
    *value = d;
    return true;
}

QString IniFile::floatText(double value) {
    // Fixed notation, never an exponent: the shortest such text that reads back exactly.
    char buf[400];
    const auto r =
        std::to_chars(buf, buf + sizeof buf, value == 0 ? 0.0 : value, std::chars_format::fixed);
    QString s = QString::fromLatin1(buf, int(r.ptr - buf));
    s.replace('.', ',');
    return s;
}

double IniFile::readFloat(const QString &section, const QString &key, double def) const {
    QString v;
    double d = 0;
    return lookup(section, key, &v) && parseFloat(v, &d) ? d : def;
}

QDate IniFile::readDate(const QString &section, const QString &key, const QDate &def) const {
    QString v;
    if (!lookup(section, key, &v))
        return def;
    const QDate d = Dates::parse(v);
    return d.isValid() ? d : def;
}

bool IniFile::writeString(const QString &section, const QString &key, const QString &text) {
    // A line break would end the line and start another: the value stays on one line.
    QString value = text;
    value.replace(QStringLiteral("\r\n"), QStringLiteral(" "))
        .replace('\r', ' ')
        .replace('\n', ' ');
    QStringList content = lines();
    int end = 0;
    int header = findSection(content, section, &end);
    if (header < 0) {
        if (!content.isEmpty() && !content.last().trimmed().isEmpty())
            content << QString();
        content << QStringLiteral("[%1]").arg(section);
        header = int(content.size()) - 1;
        end = int(content.size());
    }
    const int i = findKey(content, header + 1, end, key);
    if (i >= 0) {
        content[i] = keyOf(content[i]) + '=' + value;
    } else {
        // After the section's last non-blank line.
        int at = end;
        while (at > header + 1 && content[at - 1].trimmed().isEmpty())
            --at;
        content.insert(at, key + '=' + value);
    }
    return save(content);
}

bool IniFile::writeInteger(const QString &section, const QString &key, int value) {
    return writeString(section, key, QString::number(value));
}

bool IniFile::writeBool(const QString &section, const QString &key, bool value) {
    return writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool IniFile::writeFloat(const QString &section, const QString &key, double value) {
    return writeString(section, key, floatText(value));
}

bool IniFile::writeDate(const QString &section, const QString &key, const QDate &value) {
    return writeString(section, key, Dates::shortText(value));
}

bool IniFile::sectionExists(const QString &section) const {
    int end = 0;
    return findSection(lines(), section, &end) >= 0;
}

bool IniFile::keyExists(const QString &section, const QString &key) const {
    QString v;
    return lookup(section, key, &v);
}

QStringList IniFile::readSection(const QString &section) const {
    const QStringList content = lines();
    int end = 0;
    const int header = findSection(content, section, &end);
    QStringList keys;
    if (header < 0)
        return keys;
    for (int i = header + 1; i < end; ++i) {
        const QString k = keyOf(content[i]);
        if (!k.isEmpty())
            keys << k;
    }
    return keys;
}

bool IniFile::eraseSection(const QString &section) {
    QStringList content = lines();
    int end = 0;
    const int header = findSection(content, section, &end);
    if (header < 0)
        return true;
    content.erase(content.begin() + header, content.begin() + end);
    return save(content);
}

bool IniFile::deleteKey(const QString &section, const QString &key) {
    QStringList content = lines();
    int end = 0;
    const int header = findSection(content, section, &end);
    if (header < 0)
        return true;
    const int i = findKey(content, header + 1, end, key);
    if (i < 0)
        return true;
    content.removeAt(i);
    return save(content);
}
