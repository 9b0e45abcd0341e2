#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Field types of the company tables. Dates are stored as ISO text, money and numbers as REAL,
// logical as 0/1, auto-increment as INTEGER PRIMARY KEY AUTOINCREMENT.
enum class FieldType { Text, Memo, Date, Number, Money, Short, Long, Logical, AutoInc };

struct FieldDef {
    QString name;
    FieldType type = FieldType::Text;
    int size = 0; // characters, for Text; inline part for Memo
    bool required = false;

    bool isNumeric() const;
    bool isText() const { return type == FieldType::Text || type == FieldType::Memo; }
};

struct IndexDef {
    QString name; // the name windows use ("GasCombuNumViaje", "MatriculaV", ...)
    QStringList fields;
    bool unique = false;
};

struct TableDef {
    QString fileName; // the name windows use: "portes.DB", "Lugar.db", ...
    QString sqlName;  // the table in the database: "portes", "Lugar", ...
    QList<FieldDef> fields;
    QList<IndexDef> indexes;
    QStringList primaryOrder; // default order; empty means the order records were added

    int fieldIndex(const QString &name) const; // ignores letter case; -1 when missing
    const FieldDef *field(const QString &name) const;
    const IndexDef *index(const QString &name) const;
    const FieldDef *autoIncField() const;

    QString createSql() const;
    QStringList createIndexSql() const;
    QString sqlIndexName(const IndexDef &idx) const;
};

namespace Schema {

// Every table of a company folder, in declaration order.
const QList<TableDef> &companyTables();
// The company registry "empresas.db" of the program folder.
const TableDef &registry();
// The work table "TT.DB" of the "TEMP" folder.
const TableDef &workTableTT();

// Finds a table by its file name ("portes.DB"), by its SQL name ("portes") or by the file name
// without extension, ignoring letter case. nullptr when unknown.
const TableDef *find(const QString &name);

QString quoteIdent(const QString &name);

} // namespace Schema
