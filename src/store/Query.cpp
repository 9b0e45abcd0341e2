#include "store/Query.h"

#include "store/Connection.h"
#include "store/FilterParser.h"
#include "store/StoreError.h"

#include <sqlite3.h>

Query::Query(Connection *connection, QObject *parent) : DataSet(connection, parent) {
    if (connection)
        connect(connection, &Connection::aboutToClose, this, &Query::close);
}

Query::~Query() = default;

void Query::setConnection(Connection *connection) {
    close();
    m_preparada.clear();
    if (m_conn)
        disconnect(m_conn, nullptr, this, nullptr);
    m_conn = connection;
    if (connection)
        connect(connection, &Connection::aboutToClose, this, &Query::close);
}

void Query::setSql(const QString &sql) {
    close();
    m_sql = sql;
    m_preparada.clear();
}

void Query::addLine(const QString &line) {
    close();
    m_preparada.clear();
    m_sql = m_sql.isEmpty() ? line : m_sql + '\n' + line;
}

void Query::setParam(const QString &name, const QVariant &value) {
    QString key = name.toLower();
    if (key.startsWith(':'))
        key.remove(0, 1);
    m_params.insert(key, value);
}

// Double-quoted words name a table where a table is expected and a file of the folder is meant
// ("portes.DB"); anywhere else they are text values, bound rather than pasted into the SQL.
Query::Translated Query::translate(const QString &sql) {
    Translated out;
    QString &res = out.sql;
    int lit = 0;
    bool afterTableKeyword = false;
    for (int i = 0; i < sql.size();) {
        const QChar c = sql[i];
        if (c == '\'') {
            const int start = i++;
            while (i < sql.size()) {
                if (sql[i] == '\'' && i + 1 < sql.size() && sql[i + 1] == '\'') {
                    i += 2;
                    continue;
                }
                if (sql[i++] == '\'')
                    break;
            }
            res += sql.mid(start, i - start);
            afterTableKeyword = false;
            continue;
        }
        if (c == '"') {
            int j = i + 1;
            QString text;
            while (j < sql.size()) {
                if (sql[j] == '"' && j + 1 < sql.size() && sql[j + 1] == '"') {
                    text += '"';
                    j += 2;
                    continue;
                }
                if (sql[j] == '"')
                    break;
                text += sql[j++];
            }
            i = j + 1;
            const TableDef *def = afterTableKeyword ? Schema::find(text) : nullptr;
            if (def) {
                res += Schema::quoteIdent(def->sqlName);
                out.tables << def->sqlName;
            } else {
                const QString name = QStringLiteral("lit%1").arg(++lit);
                out.literals.insert(name, text);
                res += QStringLiteral(":") + name;
            }
            afterTableKeyword = false;
            continue;
        }
        if (c.isLetter() || c == '_') {
            int j = i;
            while (j < sql.size() && (sql[j].isLetterOrNumber() || sql[j] == '_' || sql[j] == '.'))
                ++j;
            const QString word = sql.mid(i, j - i);
            const QString upper = word.toUpper();
            res += word;
            i = j;
            if (upper == QLatin1String("FROM") || upper == QLatin1String("JOIN") ||
                upper == QLatin1String("INTO") || upper == QLatin1String("UPDATE")) {
                afterTableKeyword = true;
                continue;
            }
            static const QStringList clauses = {QStringLiteral("WHERE"),  QStringLiteral("GROUP"),
                                                QStringLiteral("ORDER"),  QStringLiteral("SET"),
                                                QStringLiteral("ON"),     QStringLiteral("VALUES"),
                                                QStringLiteral("HAVING"), QStringLiteral("SELECT"),
                                                QStringLiteral("UNION"),  QStringLiteral("LIMIT")};
            if (clauses.contains(upper))
                afterTableKeyword = false;
            if (afterTableKeyword) {
                if (const TableDef *def = Schema::find(word))
                    out.tables << def->sqlName;
            }
            // A table list goes on after an alias and a comma.
            continue;
        }
        if (c == ',' && !out.tables.isEmpty()) {
            // keeps afterTableKeyword as it is: "from cliente c, portes p"
        } else if (!c.isSpace()) {
            afterTableKeyword = false;
        }
        res += c;
        ++i;
    }
    return out;
}

QString Query::effectiveSql(const QString &select) const {
    const SqlCondition f = filterCondition();
    if (select.isEmpty() && f.isEmpty())
        return m_tr.sql;
    QString sql = QStringLiteral("SELECT %1 FROM (%2) AS q")
                      .arg(select.isEmpty() ? QStringLiteral("*") : select, m_tr.sql);
    if (!f.isEmpty())
        sql += QStringLiteral(" WHERE ") + f.sql;
    return sql;
}

SqlCondition Query::filterCondition() const {
    if (!m_filtered || m_filter.isEmpty())
        return SqlCondition();
    return Filter::toSql(m_filter, [this](const QString &name) -> std::optional<FilterField> {
        const int i = fieldIndex(name);
        if (i < 0 || fields()[i].kind != FieldInfo::Data)
            return std::nullopt;
        return FilterField{Schema::quoteIdent(fields()[i].name), fields()[i].type};
    });
}

QString Query::sqlColumn(const QString &field) const {
    return Schema::quoteIdent(field);
}

void Query::bindParams(Statement &st, const SqlCondition &filter) const {
    int positional = 0;
    for (int p = 1; p <= st.parameterCount(); ++p) {
        const QString name = st.parameterName(p);
        if (name.isEmpty()) {
            st.bind(p, filter.binds.value(positional++));
            continue;
        }
        const QString key = name.mid(1).toLower();
        if (m_tr.literals.contains(name.mid(1)))
            st.bind(p, m_tr.literals.value(name.mid(1)));
        else if (m_params.contains(key))
            st.bind(p, m_params.value(key));
        else
            throw StoreError(
                StoreError::NotFound,
                QStringLiteral("Falta el valor del parámetro %1 de la consulta.").arg(name));
    }
}

void Query::describe(Statement &st) {
    QList<FieldInfo> fields;
    for (int i = 0; i < st.columnCount(); ++i) {
        FieldInfo f;
        f.name = st.columnName(i);
        f.typed = false;
        const TableDef *t = Schema::find(st.columnTable(i));
        const FieldDef *fd = t ? t->field(st.columnOrigin(i)) : nullptr;
        if (fd) {
            f.type = fd->type;
            f.size = fd->size;
            f.typed = true;
        } else {
            f.type = FieldType::Number;
        }
        fields << f;
    }
    setDataFields(fields);
}

void Query::open() {
    if (isActive())
        return;
    if (!m_conn || !m_conn->ensureOpen())
        throw StoreError(StoreError::State,
                         QStringLiteral("No hay ninguna base de datos abierta."));
    preparar();
    start();
    setState(Browse);
    first();
    Q_EMIT afterOpen();
}

void Query::start() {
    const SqlCondition f = filterCondition();
    auto st = std::make_unique<Statement>(m_conn->handle(), effectiveSql());
    bindParams(*st, f);
    m_stmt = std::move(st);
    m_rows.clear();
    m_done = false;
    m_idx = -1;
}

bool Query::fetchRow() {
    if (m_done)
        return false;
    if (!m_stmt->step()) {
        m_done = true;
        m_stmt.reset();
        return false;
    }
    QVector<QVariant> row(m_stmt->columnCount());
    for (int i = 0; i < row.size(); ++i)
        row[i] = m_stmt->column(i);
    m_rows << row;
    return true;
}

void Query::fetchAll() {
    while (fetchRow()) {
    }
}

void Query::close() {
    if (!isActive())
        return;
    m_stmt.reset();
    m_rows.clear();
    m_done = true;
    m_idx = -1;
    m_eof = m_bof = true;
    setState(Inactive);
    Q_EMIT afterClose();
}

void Query::applyFilter() {
    start();
    first();
    Q_EMIT afterRefresh();
}

void Query::first() {
    if (m_rows.isEmpty())
        fetchRow();
    m_idx = m_rows.isEmpty() ? -1 : 0;
    m_bof = true;
    m_eof = m_rows.isEmpty();
    clearLookupCache();
    Q_EMIT afterScroll();
}

void Query::last() {
    fetchAll();
    m_idx = int(m_rows.size()) - 1;
    m_eof = true;
    m_bof = m_rows.isEmpty();
    Q_EMIT afterScroll();
}

void Query::next() {
    if (m_idx + 1 >= m_rows.size() && !fetchRow()) {
        m_eof = true;
        return;
    }
    if (m_idx < 0) {
        m_eof = true;
        return;
    }
    ++m_idx;
    m_bof = m_eof = false;
    Q_EMIT afterScroll();
}

void Query::prior() {
    if (m_idx <= 0) {
        m_bof = true;
        return;
    }
    --m_idx;
    m_bof = m_eof = false;
    Q_EMIT afterScroll();
}

void Query::refresh() {
    if (!isActive())
        return;
    start();
    first();
    Q_EMIT afterRefresh();
}

bool Query::isEmpty() const {
    return m_idx < 0;
}

int Query::recordCount() {
    if (!isActive())
        return 0;
    if (m_done)
        return int(m_rows.size());
    const SqlCondition f = filterCondition();
    Statement st(m_conn->handle(), effectiveSql(QStringLiteral("COUNT(*)")));
    bindParams(st, f);
    return st.step() ? int(st.columnInt64(0)) : 0;
}

bool Query::locate(const QString &field, const QVariant &value) {
    const int fi = fieldIndex(field);
    if (fi < 0)
        notFound(field);
    const FieldInfo &f = fields()[fi];
    const QVariant wanted = f.typed ? toStored(f, value) : value;
    for (int i = 0;; ++i) {
        if (i >= m_rows.size() && !fetchRow())
            return false;
        const QVariant &v = m_rows[i][fi];
        const bool same = (wanted.isNull() && v.isNull()) ||
                          (!wanted.isNull() && !v.isNull() && v.toString() == wanted.toString());
        if (same) {
            m_idx = i;
            m_bof = m_eof = false;
            Q_EMIT afterScroll();
            return true;
        }
    }
}

void Query::preparar() {
    if (m_preparada == m_sql)
        return;
    if (!m_conn || !m_conn->ensureOpen())
        throw StoreError(StoreError::State,
                         QStringLiteral("No hay ninguna base de datos abierta."));
    m_tr = translate(m_sql);
    Statement plain(m_conn->handle(), m_tr.sql);
    describe(plain);
    m_preparada = m_sql;
}

QVariantList Query::aggregate(const QStringList &sqlExpressions) {
    // Totals need no open query: only its text and the types of its columns.
    preparar();
    const SqlCondition f = filterCondition();
    Statement st(m_conn->handle(), effectiveSql(sqlExpressions.join(QStringLiteral(", "))));
    bindParams(st, f);
    QVariantList out;
    if (st.step())
        for (int i = 0; i < st.columnCount(); ++i)
            out << st.column(i);
    return out;
}

int Query::execSql() {
    if (!m_conn || !m_conn->ensureOpen())
        throw StoreError(StoreError::State,
                         QStringLiteral("No hay ninguna base de datos abierta."));
    close();
    m_tr = translate(m_sql);
    Statement st(m_conn->handle(), m_tr.sql);
    bindParams(st, SqlCondition());
    st.exec();
    if (m_tr.tables.isEmpty())
        m_conn->touchAll();
    for (const QString &t : m_tr.tables)
        m_conn->touch(t);
    return sqlite3_changes(m_conn->handle());
}

QVariant Query::storedValue(int i) const {
    if (m_idx < 0 || m_idx >= m_rows.size())
        return QVariant();
    return m_rows[m_idx].value(i);
}
