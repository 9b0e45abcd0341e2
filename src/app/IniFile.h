#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

// A file of [sections] and key=value lines. Sections and keys match ignoring letter case and
// keep the spelling they were first written with. Nothing is cached: every read opens the file,
// every write rewrites it at once (safely, through a temporary file), and every read names the
// default returned when the file, section or key is missing or the text cannot be read.
class IniFile {
public:
    explicit IniFile(const QString &path) : m_path(path) {}

    QString path() const { return m_path; }

    QString readString(const QString &section, const QString &key, const QString &def) const;
    int readInteger(const QString &section, const QString &key, int def) const;
    bool readBool(const QString &section, const QString &key, bool def) const;
    double readFloat(const QString &section, const QString &key, double def) const;
    QDate readDate(const QString &section, const QString &key, const QDate &def) const;

    // Writes return false when the file could not be written (it is then left as it was).
    // A line break in a text value is written as a blank, so the value stays on its line.
    bool writeString(const QString &section, const QString &key, const QString &value);
    bool writeInteger(const QString &section, const QString &key, int value);
    bool writeBool(const QString &section, const QString &key, bool value); // "1" / "0"
    // Decimal comma, no grouping, no exponent: 166.386 is "166,386", 2.0 is "2".
    bool writeFloat(const QString &section, const QString &key, double value);
    bool writeDate(const QString &section, const QString &key, const QDate &value); // dd/mm/yyyy

    bool sectionExists(const QString &section) const;
    bool keyExists(const QString &section, const QString &key) const;
    QStringList readSection(const QString &section) const; // the keys, as spelt in the file
    bool eraseSection(const QString &section);
    bool deleteKey(const QString &section, const QString &key);

    // The reading rules of reals, shared with whoever reads such texts.
    static bool parseFloat(const QString &text, double *value);
    static QString floatText(double value);

private:
    QStringList lines() const;
    bool save(const QStringList &lines);
    // Index of the section's header line, or -1; and the end of the section (exclusive).
    static int findSection(const QStringList &lines, const QString &section, int *end);
    static int findKey(const QStringList &lines, int begin, int end, const QString &key);
    static QString keyOf(const QString &line);
    bool lookup(const QString &section, const QString &key, QString *value) const;

    QString m_path;
};
