#include "store/Statement.h"

#include "store/Dates.h"
#include "store/StoreError.h"

#include <QDate>
#include <QDateTime>
#include <sqlite3.h>

void throwSqliteError(sqlite3 *db, int rc, const QString &context) {
    const int ext = db ? sqlite3_extended_errcode(db) : rc;
    const QString text = db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::number(rc);
    if (ext == SQLITE_CONSTRAINT_UNIQUE || ext == SQLITE_CONSTRAINT_PRIMARYKEY)
        throw StoreError(StoreError::KeyViolation,
                         QStringLiteral("Violación de clave: ya existe un registro con ese valor "
                                        "(%1).")
                             .arg(text));
    if (ext == SQLITE_CONSTRAINT_NOTNULL)
        throw StoreError(StoreError::RequiredField,
                         QStringLiteral("Falta un valor obligatorio (%1).").arg(text));
    QString message = QStringLiteral("Error de la base de datos: %1").arg(text);
    if (!context.isEmpty())
        message += QStringLiteral(" [%1]").arg(context);
    throw StoreError(StoreError::Database, message);
}

Statement::Statement(sqlite3 *db, const QString &sql) : m_db(db), m_sql(sql) {
    const QByteArray utf8 = sql.toUtf8();
    const int rc = sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &m_stmt, nullptr);
    if (rc != SQLITE_OK) {
        m_stmt = nullptr;
        throwSqliteError(db, rc, sql);
    }
}

Statement::~Statement() {
    if (m_stmt)
        sqlite3_finalize(m_stmt);
}

Statement::Statement(Statement &&other) noexcept
    : m_db(other.m_db), m_stmt(other.m_stmt), m_sql(std::move(other.m_sql)) {
    other.m_stmt = nullptr;
}

Statement &Statement::operator=(Statement &&other) noexcept {
    if (this != &other) {
        if (m_stmt)
            sqlite3_finalize(m_stmt);
        m_db = other.m_db;
        m_stmt = other.m_stmt;
        m_sql = std::move(other.m_sql);
        other.m_stmt = nullptr;
    }
    return *this;
}

void Statement::reset() {
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

QVariant Statement::toStorage(const QVariant &value) {
    if (!value.isValid() || value.isNull())
        return QVariant();
    switch (value.typeId()) {
    case QMetaType::QDate:
        return Dates::toIso(value.toDate());
    case QMetaType::QDateTime:
        return Dates::toIso(value.toDateTime().date());
    case QMetaType::Bool:
        return qint64(value.toBool() ? 1 : 0);
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
        return value.toLongLong();
    case QMetaType::Double:
    case QMetaType::Float:
        return value.toDouble();
    default:
        return value.toString();
    }
}

QVariant Statement::fromStorage(const QVariant &stored, FieldType type) {
    if (stored.isNull())
        return QVariant();
    switch (type) {
    case FieldType::Date:
        return Dates::fromIso(stored.toString());
    case FieldType::Logical:
        return stored.toLongLong() != 0;
    case FieldType::Short:
    case FieldType::Long:
    case FieldType::AutoInc:
        return int(stored.toLongLong());
    case FieldType::Number:
    case FieldType::Money:
        return stored.toDouble();
    case FieldType::Text:
    case FieldType::Memo:
        return stored.toString();
    }
    return stored;
}

void Statement::bind(int position, const QVariant &value) {
    const QVariant v = toStorage(value);
    int rc = SQLITE_OK;
    if (v.isNull()) {
        rc = sqlite3_bind_null(m_stmt, position);
    } else if (v.typeId() == QMetaType::LongLong) {
        rc = sqlite3_bind_int64(m_stmt, position, v.toLongLong());
    } else if (v.typeId() == QMetaType::Double) {
        rc = sqlite3_bind_double(m_stmt, position, v.toDouble());
    } else {
        const QByteArray utf8 = v.toString().toUtf8();
        rc = sqlite3_bind_text(m_stmt, position, utf8.constData(), int(utf8.size()),
                               SQLITE_TRANSIENT);
    }
    if (rc != SQLITE_OK)
        throwSqliteError(m_db, rc, m_sql);
}

void Statement::bind(const QString &name, const QVariant &value) {
    const QByteArray key = (name.startsWith(':') ? name : ':' + name).toUtf8();
    const int position = sqlite3_bind_parameter_index(m_stmt, key.constData());
    if (position == 0)
        throw StoreError(StoreError::NotFound,
                         QStringLiteral("La consulta no tiene el parámetro %1.").arg(name));
    bind(position, value);
}

void Statement::bindAll(const QVariantList &values, int first) {
    for (int i = 0; i < values.size(); ++i)
        bind(first + i, values[i]);
}

int Statement::parameterCount() const {
    return sqlite3_bind_parameter_count(m_stmt);
}

QString Statement::parameterName(int position) const {
    const char *n = sqlite3_bind_parameter_name(m_stmt, position);
    return n ? QString::fromUtf8(n) : QString();
}

bool Statement::step() {
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    sqlite3_reset(m_stmt);
    throwSqliteError(m_db, rc, m_sql);
}

void Statement::exec() {
    while (step()) {
    }
}

int Statement::columnCount() const {
    return sqlite3_column_count(m_stmt);
}

QString Statement::columnName(int i) const {
    return QString::fromUtf8(sqlite3_column_name(m_stmt, i));
}

QString Statement::columnTable(int i) const {
    const char *t = sqlite3_column_table_name(m_stmt, i);
    return t ? QString::fromUtf8(t) : QString();
}

QString Statement::columnOrigin(int i) const {
    const char *t = sqlite3_column_origin_name(m_stmt, i);
    return t ? QString::fromUtf8(t) : QString();
}

QVariant Statement::column(int i) const {
    switch (sqlite3_column_type(m_stmt, i)) {
    case SQLITE_INTEGER:
        return qint64(sqlite3_column_int64(m_stmt, i));
    case SQLITE_FLOAT:
        return sqlite3_column_double(m_stmt, i);
    case SQLITE_NULL:
        return QVariant();
    default: {
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, i));
        return QString::fromUtf8(text, sqlite3_column_bytes(m_stmt, i));
    }
    }
}

double Statement::columnDouble(int i) const {
    return sqlite3_column_double(m_stmt, i);
}
qint64 Statement::columnInt64(int i) const {
    return sqlite3_column_int64(m_stmt, i);
}
bool Statement::columnIsNull(int i) const {
    return sqlite3_column_type(m_stmt, i) == SQLITE_NULL;
}

QVariant Statement::columnAs(int i, FieldType type) const {
    const int t = sqlite3_column_type(m_stmt, i);
    if (t == SQLITE_NULL)
        return QVariant();
    switch (type) {
    case FieldType::Text:
    case FieldType::Memo:
        if (t == SQLITE_TEXT)
            return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, i)),
                                     sqlite3_column_bytes(m_stmt, i));
        break;
    case FieldType::Date:
        if (t == SQLITE_TEXT && sqlite3_column_bytes(m_stmt, i) == 10) {
            const auto *c = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, i));
            auto d = [c](int k) { return c[k] - '0'; };
            bool digitos = c[4] == '-' && c[7] == '-';
            for (int k : {0, 1, 2, 3, 5, 6, 8, 9})
                digitos = digitos && c[k] >= '0' && c[k] <= '9';
            if (digitos)
                return QDate(d(0) * 1000 + d(1) * 100 + d(2) * 10 + d(3), d(5) * 10 + d(6),
                             d(8) * 10 + d(9));
        }
        break;
    case FieldType::Number:
    case FieldType::Money:
        if (t == SQLITE_FLOAT || t == SQLITE_INTEGER)
            return sqlite3_column_double(m_stmt, i);
        break;
    case FieldType::Short:
    case FieldType::Long:
    case FieldType::AutoInc:
        if (t == SQLITE_INTEGER)
            return int(sqlite3_column_int64(m_stmt, i));
        break;
    case FieldType::Logical:
        if (t == SQLITE_INTEGER)
            return sqlite3_column_int64(m_stmt, i) != 0;
        break;
    }
    return fromStorage(column(i), type);
}
