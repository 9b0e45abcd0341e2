#include "store/Connection.h"

#include "store/StoreError.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <sqlite3.h>

namespace {

QMap<QString, QString> &aliasTable() {
    static QMap<QString, QString> aliases;
    return aliases;
}

// SQLite's own UPPER and LOWER only know ASCII; names such as "Camión" must match "CAMIÓN".
void caseFunction(sqlite3_context *ctx, int argc, sqlite3_value **argv, bool upper) {
    if (argc != 1 || sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(argv[0]));
    const QString s = QString::fromUtf8(text, sqlite3_value_bytes(argv[0]));
    const QByteArray out = (upper ? s.toUpper() : s.toLower()).toUtf8();
    sqlite3_result_text(ctx, out.constData(), int(out.size()), SQLITE_TRANSIENT);
}

void upperFunction(sqlite3_context *ctx, int argc, sqlite3_value **argv) {
    caseFunction(ctx, argc, argv, true);
}
void lowerFunction(sqlite3_context *ctx, int argc, sqlite3_value **argv) {
    caseFunction(ctx, argc, argv, false);
}

int connectionSerial = 0;

} // namespace

Connection::Connection(const QString &name, QObject *parent)
    : QObject(parent), m_name(name), m_tables(companySchema()) {
    setObjectName(name);
}

Connection::~Connection() {
    close();
}

QList<const TableDef *> Connection::companySchema() {
    QList<const TableDef *> out;
    for (const TableDef &t : Schema::companyTables())
        out << &t;
    return out;
}

QString Connection::databaseFile() const {
    if (!m_file.isEmpty())
        return m_file;
    const QString folder = m_alias.isEmpty() ? m_path : aliasPath(m_alias);
    return QDir(folder).filePath(QString::fromLatin1(kCompanyFile));
}

void Connection::registerFunctions(sqlite3 *db) {
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_function(db, "UPPER", 1, flags, nullptr, upperFunction, nullptr, nullptr);
    sqlite3_create_function(db, "LOWER", 1, flags, nullptr, lowerFunction, nullptr, nullptr);
}

void Connection::open() {
    if (isOpen())
        return;
    const QString file = databaseFile();
    if (m_file.isEmpty()) {
        const QString folder = QFileInfo(file).absolutePath();
        if (m_path.isEmpty() && m_alias.isEmpty())
            throw StoreError(StoreError::NotFound,
                             QStringLiteral("No se ha indicado la carpeta de la empresa."));
        if (!QFileInfo(folder).isDir())
            throw StoreError(
                StoreError::NotFound,
                QStringLiteral("No existe la carpeta %1.").arg(QDir::toNativeSeparators(folder)));
    }
    if (!QFileInfo(file).isFile())
        throw StoreError(StoreError::NotFound,
                         QStringLiteral("No se encuentra el fichero de datos %1.")
                             .arg(QDir::toNativeSeparators(file)));

    const QString qtName = QStringLiteral("%1#%2").arg(m_name).arg(++connectionSerial);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), qtName);
        db.setDatabaseName(file);
        if (!db.open()) {
            const QString text = db.lastError().text();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(qtName);
            throw StoreError(StoreError::Database,
                             QStringLiteral("No se puede abrir %1: %2").arg(file, text));
        }
        const QVariant h = db.driver()->handle();
        if (h.isValid() && qstrcmp(h.typeName(), "sqlite3*") == 0)
            m_db = *static_cast<sqlite3 *const *>(h.constData());
    }
    if (!m_db) {
        QSqlDatabase::removeDatabase(qtName);
        throw StoreError(StoreError::Database,
                         QStringLiteral("El controlador SQLite no está disponible."));
    }
    setProperty("qtConnection", qtName);
    registerFunctions(m_db);
    sqlite3_busy_timeout(m_db, 5000);
    try {
        exec(QStringLiteral("PRAGMA journal_mode=DELETE"));
        exec(QStringLiteral("PRAGMA synchronous=FULL"));
        // A file that is not a database fails here rather than at the first table.
        exec(QStringLiteral("SELECT count(*) FROM sqlite_master"));
    } catch (...) {
        close();
        throw;
    }
    Q_EMIT opened();
}

bool Connection::ensureOpen() {
    if (isOpen())
        return true;
    if (m_path.isEmpty() && m_file.isEmpty())
        return false;
    open();
    return true;
}

void Connection::close() {
    if (!m_db)
        return;
    Q_EMIT aboutToClose();
    m_cache.clear();
    m_tablasLeidas = false;
    m_db = nullptr;
    m_txDepth = 0;
    const QString qtName = property("qtConnection").toString();
    {
        QSqlDatabase db = QSqlDatabase::database(qtName, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(qtName);
    touchAll();
}

const TableDef *Connection::tableDef(const QString &name) const {
    const TableDef *def = Schema::find(name);
    if (def && m_tables.contains(def))
        return def;
    return nullptr;
}

bool Connection::tableExists(const QString &sqlName) const {
    if (!m_db)
        return false;
    if (!m_tablasLeidas) {
        m_tablas.clear();
        Statement st(m_db,
                     QStringLiteral("SELECT lower(name) FROM sqlite_master WHERE type='table'"));
        while (st.step())
            m_tablas.insert(st.column(0).toString());
        m_tablasLeidas = true;
    }
    return m_tablas.contains(sqlName.toLower());
}

void Connection::exec(const QString &sql) {
    if (!m_db)
        throw StoreError(StoreError::State, QStringLiteral("La base de datos no está abierta."));
    m_tablasLeidas = false;
    Statement st(m_db, sql);
    st.exec();
}

Statement &Connection::cached(const QString &sql) {
    auto it = m_cache.find(sql);
    if (it == m_cache.end())
        it = m_cache.insert(sql, std::make_shared<Statement>(m_db, sql));
    Statement &st = *it.value();
    st.reset();
    return st;
}

void Connection::touch(const QString &sqlName) {
    m_versions[sqlName.toLower()] = ++m_versionSeed;
}

void Connection::touchAll() {
    for (const TableDef *t : m_tables)
        touch(t->sqlName);
}

void Connection::createDatabase(const QString &file, const QList<const TableDef *> &tables) {
    QDir().mkpath(QFileInfo(file).absolutePath());
    sqlite3 *db = nullptr;
    int rc = sqlite3_open_v2(file.toUtf8().constData(), &db,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) {
        const QString text = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::number(rc);
        sqlite3_close(db);
        throw StoreError(StoreError::Database,
                         QStringLiteral("No se puede crear %1: %2").arg(file, text));
    }
    try {
        Statement(db, QStringLiteral("BEGIN")).exec();
        for (const TableDef *t : tables) {
            Statement(db, t->createSql()).exec();
            for (const QString &sql : t->createIndexSql())
                Statement(db, sql).exec();
        }
        Statement(db, QStringLiteral("COMMIT")).exec();
    } catch (...) {
        sqlite3_close(db);
        throw;
    }
    sqlite3_close(db);
}

bool Connection::aliasExists(const QString &name) {
    return aliasTable().contains(name);
}

void Connection::addAlias(const QString &name, const QString &folder) {
    aliasTable().insert(name, folder);
}

QStringList Connection::aliasNames() {
    QStringList nombres = aliasTable().keys();
    nombres.sort(Qt::CaseInsensitive);
    return nombres;
}

QString Connection::aliasPath(const QString &name) {
    return aliasTable().value(name);
}

bool Connection::engineAvailable(QString *version) {
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE")))
        return false;
    if (version)
        *version = QString::fromLatin1(sqlite3_libversion());
    return true;
}
