#pragma once

#include "store/Schema.h"
#include "store/Statement.h"

#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>
#include <memory>

struct sqlite3;

// A named store connection. A company connection points at a company folder and opens the
// database "datos.db" inside it; other connections (the registry, "TT.DB") open one file.
// Tables and queries are opened on a connection and close when it closes.
class Connection : public QObject {
    Q_OBJECT
public:
    static constexpr const char *kCompanyFile = "datos.db";

    explicit Connection(const QString &name, QObject *parent = nullptr);
    ~Connection() override;

    QString name() const { return m_name; }

    // The folder of the company ("PATH" parameter of the connection).
    void setPath(const QString &folder) { m_path = folder; }
    QString path() const { return m_path; }
    // A database file opened instead of a company folder.
    void setDatabaseFile(const QString &file) { m_file = file; }
    QString databaseFile() const;
    void setDriver(const QString &driver) { m_driver = driver; }
    QString driver() const { return m_driver; }
    void setAliasName(const QString &alias) { m_alias = alias; }
    QString aliasName() const { return m_alias; }

    // Opens the database. Throws StoreError when the folder or the file is missing or cannot be
    // opened; nothing is created on a failed open.
    void open();
    void close();
    bool isOpen() const { return m_db != nullptr; }
    // Open, opening it again when it was closed with its folder or file still set (after a
    // backup or a restore the next table to open connects again). Throws as open() does.
    bool ensureOpen();
    sqlite3 *handle() const { return m_db; }

    // The schemas this connection serves; a company connection serves every company table.
    const QList<const TableDef *> &tables() const { return m_tables; }
    void setTables(const QList<const TableDef *> &tables) { m_tables = tables; }
    const TableDef *tableDef(const QString &name) const;
    bool tableExists(const QString &sqlName) const;

    void exec(const QString &sql);
    // A statement prepared once per connection; reset before each use, never held across calls.
    Statement &cached(const QString &sql);

    // Every stored change bumps its table's version, so that other cursors on the same table
    // re-read at their next move.
    // By the table's SQL name as its schema spells it.
    quint64 version(const QString &sqlName) const { return m_versions.value(sqlName); }
    void touch(const QString &sqlName);
    void touchAll();

    int transactionDepth() const { return m_txDepth; }

    // Creates a database file with the given tables and indexes (the template, the work tables).
    static void createDatabase(const QString &file, const QList<const TableDef *> &tables);
    static QList<const TableDef *> companySchema();

    // Persistent names for a folder. The company alias exists for the "Tablas" folder.
    static bool aliasExists(const QString &name);
    static void addAlias(const QString &name, const QString &folder);
    static QString aliasPath(const QString &name);
    static QStringList aliasNames();
    // Tells whether the SQLite driver is usable at all.
    static bool engineAvailable(QString *version = nullptr);

Q_SIGNALS:
    void aboutToClose();
    void opened();

private:
    friend class Transaction;
    static void registerFunctions(sqlite3 *db);

    QString m_name;
    QString m_path;
    QString m_file;
    QString m_driver = QStringLiteral("STANDARD");
    QString m_alias;
    sqlite3 *m_db = nullptr;
    QList<const TableDef *> m_tables;
    QHash<QString, quint64> m_versions;
    QHash<QString, std::shared_ptr<Statement>> m_cache;
    quint64 m_versionSeed = 0;
    int m_txDepth = 0;
    mutable QSet<QString> m_tablas;
    mutable bool m_tablasLeidas = false;
};
