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

    void writeString(const QString &section, const QString &key, const QString &value);
    void writeInteger(const QString &section, const QString &key, int value);
    void writeBool(const QString &section, const QString &key, bool value);
    // Written with a decimal comma: 166.386 is "166,386".
    void writeFloat(const QString &section, const QString &key, double value);
    void writeDate(const QString &section, const QString &key, const QDate &value); // dd/mm/yyyy

    bool sectionExists(const QString &section) const;
    bool keyExists(const QString &section, const QString &key) const;
    QStringList readSection(const QString &section) const; // the keys, as spelt in the file
    void eraseSection(const QString &section);
    void deleteKey(const QString &section, const QString &key);

    // The reading rules of reals, shared with whoever reads such texts.
    static bool parseFloat(const QString &text, double *value);
    static QString floatText(double value);

private:
    QStringList lines() const;
    void save(const QStringList &lines);
    // Index of the section's header line, or -1; and the end of the section (exclusive).
    static int findSection(const QStringList &lines, const QString &section, int *end);
    static int findKey(const QStringList &lines, int begin, int end, const QString &key);
    static QString keyOf(const QString &line);
    bool lookup(const QString &section, const QString &key, QString *value) const;

    QString m_path;
};
