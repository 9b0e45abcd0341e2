#include "store/Schema.h"

bool FieldDef::isNumeric() const {
    switch (type) {
    case FieldType::Number:
    case FieldType::Money:
    case FieldType::Short:
    case FieldType::Long:
    case FieldType::AutoInc:
        return true;
    default:
        return false;
    }
}

int TableDef::fieldIndex(const QString &name) const {
    for (int i = 0; i < fields.size(); ++i)
        if (fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

const FieldDef *TableDef::field(const QString &name) const {
    const int i = fieldIndex(name);
    return i < 0 ? nullptr : &fields[i];
}

const IndexDef *TableDef::index(const QString &name) const {
    for (const IndexDef &idx : indexes)
        if (idx.name.compare(name, Qt::CaseInsensitive) == 0)
            return &idx;
    return nullptr;
}

const FieldDef *TableDef::autoIncField() const {
    for (const FieldDef &f : fields)
        if (f.type == FieldType::AutoInc)
            return &f;
    return nullptr;
}

static QString sqlType(const FieldDef &f) {
    switch (f.type) {
    case FieldType::Text:
    case FieldType::Memo:
    case FieldType::Date:
        return QStringLiteral("TEXT");
    case FieldType::Number:
    case FieldType::Money:
        return QStringLiteral("REAL");
    case FieldType::Short:
    case FieldType::Long:
    case FieldType::Logical:
        return QStringLiteral("INTEGER");
    case FieldType::AutoInc:
        return QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
    }
    return QStringLiteral("TEXT");
}

QString TableDef::createSql() const {
    QStringList cols;
    for (const FieldDef &f : fields) {
        QString col = Schema::quoteIdent(f.name) + ' ' + sqlType(f);
        if (f.required && f.type != FieldType::AutoInc)
            col += QStringLiteral(" NOT NULL");
        cols << col;
    }
    return QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (%2)")
        .arg(Schema::quoteIdent(sqlName), cols.join(QStringLiteral(", ")));
}

QString TableDef::sqlIndexName(const IndexDef &idx) const {
    // Index names are global in one database, and two tables use "MatriculaV".
    return sqlName + '_' + idx.name;
}

QStringList TableDef::createIndexSql() const {
    QStringList out;
    for (const IndexDef &idx : indexes) {
        QStringList cols;
        for (const QString &f : idx.fields)
            cols << Schema::quoteIdent(f);
        out << QStringLiteral("CREATE %1INDEX IF NOT EXISTS %2 ON %3 (%4)")
                   .arg(idx.unique ? QStringLiteral("UNIQUE ") : QString(),
                        Schema::quoteIdent(sqlIndexName(idx)), Schema::quoteIdent(sqlName),
                        cols.join(QStringLiteral(", ")));
    }
    return out;
}

namespace Schema {

static QString baseName(const QString &name) {
    const int dot = name.lastIndexOf('.');
    return dot < 0 ? name : name.left(dot);
}

const TableDef *find(const QString &name) {
    const QString wanted = baseName(name.trimmed());
    auto match = [&](const TableDef &t) {
        return t.fileName.compare(name.trimmed(), Qt::CaseInsensitive) == 0 ||
               t.sqlName.compare(wanted, Qt::CaseInsensitive) == 0;
    };
    for (const TableDef &t : companyTables())
        if (match(t))
            return &t;
    if (match(registry()))
        return &registry();
    if (match(workTableTT()))
        return &workTableTT();
    return nullptr;
}

QString quoteIdent(const QString &name) {
    QString n = name;
    n.replace('"', QStringLiteral("\"\""));
    return '"' + n + '"';
}

} // namespace Schema
