#pragma once

#include "store/Schema.h"

#include <QString>
#include <QVariant>

struct sqlite3;
struct sqlite3_stmt;

// A prepared SQLite statement. Values are bound and read in the store's own representation:
// dates as ISO text, logical values as 0/1.
class Statement {
public:
    Statement() = default;
    Statement(sqlite3 *db, const QString &sql);
    ~Statement();
    Statement(Statement &&other) noexcept;
    Statement &operator=(Statement &&other) noexcept;
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;

    bool isValid() const { return m_stmt != nullptr; }
    void reset();
    void bind(int position, const QVariant &value); // 1-based
    void bind(const QString &name, const QVariant &value);
    void bindAll(const QVariantList &values, int first = 1);
    int parameterCount() const;
    QString parameterName(int position) const;
    // True when a row is ready; false when done. Throws StoreError on failure.
    bool step();
    void exec(); // steps to the end

    int columnCount() const;
    QString columnName(int i) const;
    QString columnTable(int i) const;  // the table a column comes from, when it is a plain column
    QString columnOrigin(int i) const; // that column's name in its table
    QVariant column(int i) const;      // as stored: qint64, double, QString or null
    QVariant columnAs(int i, FieldType type) const; // read straight into the field's type
    double columnDouble(int i) const;
    qint64 columnInt64(int i) const;
    bool columnIsNull(int i) const;

    static QVariant toStorage(const QVariant &value);
    static QVariant fromStorage(const QVariant &stored, FieldType type);

private:
    sqlite3 *m_db = nullptr;
    sqlite3_stmt *m_stmt = nullptr;
    QString m_sql;
};

// Turns a failed SQLite call into a StoreError: unique and primary-key violations become key
// violations, NOT NULL failures become required-field errors.
[[noreturn]] void throwSqliteError(sqlite3 *db, int rc, const QString &context);
