#pragma once

#include "store/DataSet.h"
#include "store/FilterParser.h"
#include "store/Statement.h"

#include <QMap>
#include <memory>

// A read-only query in the SQL the windows write: table names as in the folder, named
// parameters (":FDesde"), and text literals in double quotes. Rows are read as the cursor
// moves, so opening a large query costs only its first rows.
class Query : public DataSet {
    Q_OBJECT
public:
    explicit Query(Connection *connection, QObject *parent = nullptr);
    ~Query() override;

    void setSql(const QString &sql);
    void setSqlLines(const QStringList &lines) { setSql(lines.join('\n')); }
    void addLine(const QString &line);
    QString sql() const { return m_sql; }
    void setConnection(Connection *connection);

    void setParam(const QString &name, const QVariant &value);
    QVariant param(const QString &name) const { return m_params.value(name.toLower()); }

    void open() override;
    void close() override;
    void first() override;
    void last() override;
    void next() override;
    void prior() override;
    void refresh() override;
    bool isEmpty() const override;
    int recordCount() override;
    int recNo() override { return isEmpty() ? 0 : m_idx + 1; }
    bool locate(const QString &field, const QVariant &value) override;
    QVariantList aggregate(const QStringList &sqlExpressions) override;

    // Runs a statement that returns no rows (update, delete, insert); the number of records
    // it changed.
    int execSql();

    // The SQL as SQLite reads it, and the values of its literals; public for tests.
    struct Translated {
        QString sql;
        QMap<QString, QVariant> literals;
        QStringList tables;
    };
    static Translated translate(const QString &sql);

protected:
    QVariant storedValue(int i) const override;
    void applyFilter() override;
    QString sqlColumn(const QString &field) const override;

private:
    QString effectiveSql(const QString &select = QString()) const;
    SqlCondition filterCondition() const;
    void bindParams(Statement &st, const SqlCondition &filter) const;
    void describe(Statement &st);
    bool fetchRow();
    void fetchAll();
    void start();
    void preparar();

    QString m_sql;
    QMap<QString, QVariant> m_params;
    Translated m_tr;
    std::unique_ptr<Statement> m_stmt;
    QList<QVector<QVariant>> m_rows;
    bool m_done = true;
    int m_idx = -1;
    QString m_preparada; // the SQL text translated and described last
};
