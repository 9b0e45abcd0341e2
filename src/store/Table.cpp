#include "store/Table.h"

#include "store/Connection.h"
#include "store/Statement.h"
#include "store/StoreError.h"

#include <algorithm>

namespace {
constexpr int kPage = 128;
// A search reads only the record it lands on; moving on from there reads whole pages.
constexpr int kSeek = 1;

QString opText(bool forward, bool inclusive) {
    if (forward)
        return inclusive ? QStringLiteral(">=") : QStringLiteral(">");
    return inclusive ? QStringLiteral("<=") : QStringLiteral("<");
}
} // namespace

Table::Table(Connection *connection, const QString &tableName, QObject *parent)
    : DataSet(connection, parent) {
    if (!tableName.isEmpty())
        setTableName(tableName);
    if (connection)
        connect(connection, &Connection::aboutToClose, this, &Table::close);
}

Table::~Table() = default;

void Table::requireOpen() const {
    if (!isActive())
        throw StoreError(StoreError::State,
                         QStringLiteral("La tabla %1 no está abierta.").arg(m_tableName));
}

void Table::requireClosed() const {
    if (isActive())
        throw StoreError(StoreError::State,
                         QStringLiteral("La tabla %1 está abierta.").arg(m_tableName));
}

void Table::setTableName(const QString &name) {
    requireClosed();
    m_tableName = name;
    m_def = Schema::find(name);
    m_order.clear();
    m_indexName.clear();
    if (m_def) {
        buildFields();
        m_order = m_def->primaryOrder;
    }
}

const TableDef &Table::def() const {
    if (!m_def)
        throw StoreError(StoreError::NotFound,
                         QStringLiteral("No existe la tabla %1.").arg(m_tableName));
    return *m_def;
}

void Table::buildFields() {
    QList<FieldInfo> fields;
    QStringList cols{QStringLiteral("rowid")};
    for (const FieldDef &f : m_def->fields) {
        fields << FieldInfo{f.name, f.type, f.size, FieldInfo::Data, true};
        cols << Schema::quoteIdent(f.name);
    }
    setDataFields(fields);
    m_select = cols.join(QStringLiteral(", "));
}

QString Table::selectList() const {
    return m_select;
}

void Table::setIndexName(const QString &name) {
    if (name.isEmpty()) {
        m_indexName.clear();
        m_order = def().primaryOrder;
    } else {
        const IndexDef *idx = def().index(name);
        if (!idx)
            throw StoreError(
                StoreError::NoIndex,
                QStringLiteral("La tabla %1 no tiene el índice %2.").arg(m_tableName, name));
        m_indexName = idx->name;
        m_order = idx->fields;
    }
    m_orderIdx.clear();
    if (isActive()) {
        first();
        Q_EMIT afterRefresh();
    }
}

void Table::setIndexFieldNames(const QString &fields) {
    QStringList wanted;
    for (const QString &f : fields.split(';', Qt::SkipEmptyParts)) {
        const FieldDef *fd = def().field(f.trimmed());
        if (!fd)
            throw StoreError(
                StoreError::NotFound,
                QStringLiteral("La tabla %1 no tiene el campo %2.").arg(m_tableName, f));
        wanted << fd->name;
    }
    if (wanted.isEmpty()) {
        setIndexName(QString());
        return;
    }
    auto served = [&](const QStringList &idx) {
        if (idx.size() < wanted.size())
            return false;
        for (int i = 0; i < wanted.size(); ++i)
            if (idx[i].compare(wanted[i], Qt::CaseInsensitive) != 0)
                return false;
        return true;
    };
    bool ok = served(def().primaryOrder);
    for (const IndexDef &idx : def().indexes)
        ok = ok || served(idx.fields);
    const FieldDef *autoInc = def().autoIncField();
    ok = ok || (wanted.size() == 1 && autoInc && autoInc->name == wanted[0]);
    if (!ok)
        throw StoreError(StoreError::NoIndex,
                         QStringLiteral("La tabla %1 no tiene un índice para ordenar por %2.")
                             .arg(m_tableName, wanted.join(';')));
    m_indexName.clear();
    m_order = wanted;
    m_orderIdx.clear();
    if (isActive()) {
        first();
        Q_EMIT afterRefresh();
    }
}

void Table::setMasterSource(DataSet *master, const QString &masterFields) {
    if (m_master)
        disconnect(m_master, nullptr, this, nullptr);
    m_master = master;
    m_masterFields = masterFields.split(';', Qt::SkipEmptyParts);
    if (master) {
        connect(master, &DataSet::afterScroll, this, &Table::onMasterChanged);
        connect(master, &DataSet::afterOpen, this, &Table::onMasterChanged);
        connect(master, &DataSet::afterClose, this, &Table::onMasterChanged);
        connect(master, &DataSet::afterInsert, this, &Table::onMasterChanged);
    }
    if (isActive())
        first();
}

void Table::onMasterChanged() {
    if (!isActive())
        return;
    checkBrowseMode();
    m_count = -1;
    first();
    Q_EMIT afterRefresh();
}

void Table::open() {
    if (isActive())
        return;
    if (!m_conn || !m_conn->ensureOpen())
        throw StoreError(StoreError::State,
                         QStringLiteral("No hay ninguna base de datos abierta para la tabla %1.")
                             .arg(m_tableName));
    const TableDef &d = def();
    if (!m_conn->tableDef(m_tableName) || !m_conn->tableExists(d.sqlName))
        throw StoreError(StoreError::NotFound,
                         QStringLiteral("No se encuentra la tabla %1.").arg(m_tableName));
    setState(Browse);
    try {
        applyFilter();
    } catch (...) {
        setState(Inactive);
        throw;
    }
    Q_EMIT afterOpen();
}

void Table::close() {
    if (!isActive())
        return;
    m_flujo.reset();
    m_page.clear();
    m_idx = -1;
    m_eof = m_bof = true;
    m_count = -1;
    m_modified = false;
    setState(Inactive);
    Q_EMIT afterClose();
}

void Table::applyFilter() {
    SqlCondition cond;
    if (m_filtered && !m_filter.isEmpty()) {
        const TableDef &d = def();
        cond = Filter::toSql(m_filter, [&d](const QString &name) -> std::optional<FilterField> {
            const FieldDef *f = d.field(name);
            if (!f)
                return std::nullopt;
            return FilterField{Schema::quoteIdent(f->name), f->type};
        });
    }
    // The count stays good while the condition is the same (opening applies the filter too).
    if (cond.sql != m_filterSql.sql || cond.binds != m_filterSql.binds)
        m_count = -1;
    m_filterSql = cond;
    first();
    Q_EMIT afterRefresh();
}

SqlCondition Table::linkCondition() const {
    SqlCondition c;
    if (!m_master)
        return c;
    const bool masterHasRecord =
        m_master->isActive() && (m_master->state() == Insert || !m_master->isEmpty());
    if (!masterHasRecord || m_order.size() < m_masterFields.size()) {
        c.sql = QStringLiteral("0");
        return c;
    }
    QStringList parts;
    for (int i = 0; i < m_masterFields.size(); ++i) {
        const QVariant v = Statement::toStorage(m_master->value(m_masterFields[i]));
        if (v.isNull()) {
            c.sql = QStringLiteral("0");
            c.binds.clear();
            return c;
        }
        parts << Schema::quoteIdent(m_order[i]) + QStringLiteral(" = ?");
        c.binds << v;
    }
    c.sql = parts.join(QStringLiteral(" AND "));
    return c;
}

SqlCondition Table::whereCondition() const {
    SqlCondition c = m_filterSql;
    c.append(linkCondition());
    return c;
}

QString Table::orderBy(Dir dir) const {
    const QString suffix = dir == Dir::Forward ? QString() : QStringLiteral(" DESC");
    QStringList parts;
    for (const QString &f : m_order)
        parts << Schema::quoteIdent(f) + suffix;
    parts << QStringLiteral("rowid") + suffix;
    return parts.join(QStringLiteral(", "));
}

// The records that come after (or before) the anchor in the order (fields..., rowid), where an
// empty value sorts before every other. With no empty value in the anchor a row-value
// comparison lets SQLite seek the index directly.
SqlCondition Table::keyCondition(const Row &anchor, Cmp cmp) const {
    const bool forward = cmp == Cmp::Gt || cmp == Cmp::Ge;
    const bool inclusive = cmp == Cmp::Ge || cmp == Cmp::Le;
    QVariantList keys;
    bool anyNull = false;
    for (const QString &f : m_order) {
        const QVariant v = anchor.v.value(def().fieldIndex(f));
        anyNull = anyNull || v.isNull();
        keys << v;
    }
    SqlCondition c;
    if (!anyNull && forward) {
        QStringList cols, marks;
        for (const QString &f : m_order) {
            cols << Schema::quoteIdent(f);
            marks << QStringLiteral("?");
        }
        cols << QStringLiteral("rowid");
        marks << QStringLiteral("?");
        c.sql = QStringLiteral("(%1) %2 (%3)")
                    .arg(cols.join(QStringLiteral(", ")), opText(true, inclusive),
                         marks.join(QStringLiteral(", ")));
        c.binds = keys;
        c.binds << anchor.rowid;
        return c;
    }
    // General form, built from the last field back to the first.
    c.sql = QStringLiteral("rowid %1 ?").arg(opText(forward, inclusive));
    c.binds = {anchor.rowid};
    for (int i = int(m_order.size()) - 1; i >= 0; --i) {
        const QString col = Schema::quoteIdent(m_order[i]);
        const QVariant &k = keys[i];
        SqlCondition beyond, equal;
        if (forward) {
            beyond.sql =
                k.isNull() ? col + QStringLiteral(" IS NOT NULL") : col + QStringLiteral(" > ?");
        } else {
            beyond.sql = k.isNull() ? QStringLiteral("0")
                                    : QStringLiteral("(%1 < ? OR %1 IS NULL)").arg(col);
        }
        if (!k.isNull())
            beyond.binds << k;
        equal.sql = k.isNull() ? col + QStringLiteral(" IS NULL") : col + QStringLiteral(" = ?");
        if (!k.isNull())
            equal.binds << k;
        SqlCondition next;
        next.sql = QStringLiteral("(%1 OR (%2 AND %3))").arg(beyond.sql, equal.sql, c.sql);
        next.binds = beyond.binds + equal.binds + c.binds;
        c = next;
    }
    return c;
}

QList<Table::Row> Table::fetch(const SqlCondition &extra, Dir dir, int limit, bool) const {
    SqlCondition where = whereCondition();
    where.append(extra);
    QString sql =
        QStringLiteral("SELECT %1 FROM %2").arg(m_select, Schema::quoteIdent(def().sqlName));
    if (!where.isEmpty())
        sql += QStringLiteral(" WHERE ") + where.sql;
    sql += QStringLiteral(" ORDER BY ") + orderBy(dir) + QStringLiteral(" LIMIT ?");
    Statement &st = m_conn->cached(sql);
    st.bindAll(where.binds);
    st.bind(int(where.binds.size()) + 1, qint64(limit));
    QList<Row> rows;
    try {
        while (st.step())
            rows << leerFila(st);
    } catch (...) {
        st.reset();
        throw;
    }
    st.reset();
    if (dir == Dir::Backward)
        std::reverse(rows.begin(), rows.end());
    return rows;
}

Table::Row Table::leerFila(const Statement &st) const {
    const QList<FieldDef> &campos = def().fields;
    Row r;
    r.rowid = st.columnInt64(0);
    r.v.reserve(campos.size());
    for (int i = 0; i < campos.size(); ++i)
        r.v.append(st.columnAs(i + 1, campos[i].type));
    return r;
}

// Reading forward keeps its statement open and steps one record at a time as the cursor moves,
// as a plain query would; anything that moves the cursor elsewhere drops it.
bool Table::abrirFlujo(const SqlCondition &extra) {
    m_flujo.reset();
    SqlCondition where = whereCondition();
    where.append(extra);
    QString sql =
        QStringLiteral("SELECT %1 FROM %2").arg(m_select, Schema::quoteIdent(def().sqlName));
    if (!where.isEmpty())
        sql += QStringLiteral(" WHERE ") + where.sql;
    sql += QStringLiteral(" ORDER BY ") + orderBy(Dir::Forward);
    auto st = std::make_unique<Statement>(m_conn->handle(), sql);
    st->bindAll(where.binds);
    m_page.clear();
    m_page.reserve(2 * kPage);
    m_idx = -1;
    if (!st->step())
        return false;
    m_page << leerFila(*st);
    m_idx = 0;
    m_flujo = std::move(st);
    return true;
}

bool Table::avanzarFlujo() {
    if (!m_flujo)
        return false;
    bool hay = false;
    try {
        hay = m_flujo->step();
    } catch (const StoreError &) {
        m_flujo.reset();
        throw;
    }
    if (!hay) {
        m_flujo.reset();
        return false;
    }
    // The page keeps the recent records for moving back without a query.
    if (m_page.size() >= 2 * kPage) {
        m_page.erase(m_page.begin(), m_page.begin() + kPage);
        m_idx -= kPage;
    }
    m_page << leerFila(*m_flujo);
    return true;
}

QList<Table::Row> Table::fetchAfter(const Row &anchor, int limit) const {
    return fetch(keyCondition(anchor, Cmp::Gt), Dir::Forward, limit);
}

QList<Table::Row> Table::fetchBefore(const Row &anchor, int limit) const {
    // With one order field the records with an empty key all come first: read the non-empty
    // ones through the index, then the empty ones.
    const bool simple =
        m_order.size() == 1 && !anchor.v.value(def().fieldIndex(m_order[0])).isNull();
    if (!simple)
        return fetch(keyCondition(anchor, Cmp::Lt), Dir::Backward, limit);
    const QString col = Schema::quoteIdent(m_order[0]);
    SqlCondition rv;
    rv.sql = QStringLiteral("(%1, rowid) < (?, ?)").arg(col);
    rv.binds = {anchor.v.value(def().fieldIndex(m_order[0])), anchor.rowid};
    QList<Row> rows = fetch(rv, Dir::Backward, limit);
    if (rows.size() < limit) {
        SqlCondition nulls;
        nulls.sql = col + QStringLiteral(" IS NULL");
        rows = fetch(nulls, Dir::Backward, limit - int(rows.size())) + rows;
    }
    return rows;
}

int Table::countWhere(const SqlCondition &extra) const {
    SqlCondition where = whereCondition();
    where.append(extra);
    QString sql = QStringLiteral("SELECT COUNT(*) FROM %1").arg(Schema::quoteIdent(def().sqlName));
    if (!where.isEmpty())
        sql += QStringLiteral(" WHERE ") + where.sql;
    Statement &st = m_conn->cached(sql);
    st.bindAll(where.binds);
    const int n = st.step() ? int(st.columnInt64(0)) : 0;
    st.reset();
    return n;
}

const Table::Row *Table::current() const {
    if (m_idx < 0 || m_idx >= m_page.size())
        return nullptr;
    return &m_page[m_idx];
}

void Table::moved() {
    m_seen = m_conn->version(def().sqlName);
    clearLookupCache();
    Q_EMIT afterScroll();
}

void Table::syncIfStale() {
    if (m_conn->version(def().sqlName) != m_seen)
        resync();
}

void Table::resync() {
    const Row *cur = current();
    if (!cur) {
        first();
        return;
    }
    const Row anchor = *cur;
    m_count = -1;
    m_recNo = -1;
    SqlCondition same;
    same.sql = QStringLiteral("rowid = ?");
    same.binds = {anchor.rowid};
    const QList<Row> found = fetch(same, Dir::Forward, 1);
    seekTo(found.isEmpty() ? anchor : found.first());
}

void Table::seekTo(const Row &anchor) {
    if (!abrirFlujo(keyCondition(anchor, Cmp::Ge))) {
        last();
        return;
    }
    m_bof = m_eof = false;
    m_recNo = -1;
    moved();
}

void Table::first() {
    requireOpen();
    checkBrowseMode();
    abrirFlujo(SqlCondition());
    m_bof = true;
    m_eof = m_page.isEmpty();
    m_recNo = m_page.isEmpty() ? 0 : 1;
    moved();
}

void Table::last() {
    requireOpen();
    checkBrowseMode();
    m_flujo.reset();
    m_page = fetch(SqlCondition(), Dir::Backward, kPage);
    m_idx = int(m_page.size()) - 1;
    m_eof = true;
    m_bof = m_page.isEmpty();
    m_recNo = m_page.isEmpty() ? 0 : -1;
    moved();
}

void Table::next() {
    requireOpen();
    checkBrowseMode();
    syncIfStale();
    const Row *cur = current();
    if (!cur) {
        m_eof = true;
        return;
    }
    if (m_idx + 1 < m_page.size() || avanzarFlujo()) {
        ++m_idx;
    } else {
        const Row anchor = *cur;
        if (!abrirFlujo(keyCondition(anchor, Cmp::Gt))) {
            // Nothing after it: the cursor stays on the last record.
            m_page = {anchor};
            m_idx = 0;
            m_eof = true;
            return;
        }
    }
    m_bof = false;
    m_eof = false;
    if (m_recNo > 0)
        ++m_recNo;
    moved();
}

void Table::prior() {
    requireOpen();
    checkBrowseMode();
    syncIfStale();
    const Row *cur = current();
    if (!cur) {
        m_bof = true;
        return;
    }
    if (m_idx > 0) {
        --m_idx;
    } else {
        QList<Row> rows = fetchBefore(*cur, kPage);
        if (rows.isEmpty()) {
            m_bof = true;
            return;
        }
        m_flujo.reset();
        m_page = rows;
        m_idx = int(rows.size()) - 1;
    }
    m_bof = false;
    m_eof = false;
    if (m_recNo > 0)
        --m_recNo;
    moved();
}

void Table::refresh() {
    requireOpen();
    checkBrowseMode();
    resync();
    Q_EMIT afterRefresh();
}

bool Table::isEmpty() const {
    return state() != Insert && current() == nullptr;
}

int Table::recordCount() {
    requireOpen();
    const quint64 v = m_conn->version(def().sqlName);
    if (m_count < 0 || m_countVersion != v) {
        m_count = countWhere(SqlCondition());
        m_countVersion = v;
    }
    return m_count;
}

int Table::recNo() {
    requireOpen();
    const Row *cur = current();
    if (!cur)
        return 0;
    if (m_recNo < 0) {
        // With one order field the empty keys all come first: count them apart, so that the
        // rest is one range of the index.
        const QVariant clave =
            m_order.size() == 1 ? cur->v.value(def().fieldIndex(m_order[0])) : QVariant();
        if (m_order.size() == 1 && !clave.isNull()) {
            const QString col = Schema::quoteIdent(m_order[0]);
            SqlCondition antes, vacios;
            antes.sql = QStringLiteral("(%1, rowid) < (?, ?)").arg(col);
            antes.binds = {clave, cur->rowid};
            vacios.sql = col + QStringLiteral(" IS NULL");
            m_recNo = countWhere(antes) + countWhere(vacios) + 1;
        } else {
            m_recNo = countWhere(keyCondition(*cur, Cmp::Lt)) + 1;
        }
    }
    return m_recNo;
}

int Table::totalRecords() {
    requireOpen();
    Statement &st = m_conn->cached(
        QStringLiteral("SELECT COUNT(*) FROM %1").arg(Schema::quoteIdent(def().sqlName)));
    const int n = st.step() ? int(st.columnInt64(0)) : 0;
    st.reset();
    return n;
}

QVariant Table::storedValue(int i) const {
    if (isEditing())
        return m_buf.v.value(i);
    const Row *cur = current();
    return cur ? cur->v.value(i) : QVariant();
}

void Table::setStoredValue(int i, const QVariant &stored) {
    if (i < 0 || i >= m_buf.v.size())
        return;
    const QVariant valor = Statement::fromStorage(stored, def().fields[i].type);
    if (m_buf.v[i] == valor && m_buf.v[i].isNull() == valor.isNull())
        return;
    m_buf.v[i] = valor;
    m_modified = true;
}

void Table::edit() {
    requireOpen();
    if (isEditing())
        return;
    syncIfStale();
    if (!current()) {
        // Editing an empty set starts a new record, as typing into an empty form does.
        insert();
        return;
    }
    m_buf = *current();
    m_modified = false;
    setState(Edit);
}

void Table::insert() {
    requireOpen();
    checkBrowseMode();
    m_buf = Row();
    m_buf.v.resize(def().fields.size());
    if (m_master) {
        for (int i = 0; i < m_masterFields.size() && i < m_order.size(); ++i) {
            const int campo = def().fieldIndex(m_order[i]);
            m_buf.v[campo] = Statement::fromStorage(
                Statement::toStorage(m_master->value(m_masterFields[i])), def().fields[campo].type);
        }
    }
    setState(Insert);
    Q_EMIT afterInsert();
    m_modified = false;
}

void Table::append() {
    insert();
}

void Table::checkBrowseMode() {
    if (state() == Insert && !m_modified) {
        cancel();
        return;
    }
    if (isEditing())
        post();
}

void Table::post() {
    requireOpen();
    if (!isEditing())
        return;
    Q_EMIT beforePost();
    const TableDef &d = def();
    for (int i = 0; i < d.fields.size(); ++i) {
        const FieldDef &f = d.fields[i];
        if (!f.required || f.type == FieldType::AutoInc)
            continue;
        const QVariant &v = m_buf.v[i];
        if (v.isNull() || (f.isText() && v.toString().isEmpty()))
            throw StoreError(StoreError::RequiredField,
                             QStringLiteral("Falta el valor del campo %1.").arg(f.name), f.name);
    }
    const QString table = Schema::quoteIdent(d.sqlName);
    checkEmptyUniqueKeys();
    if (state() == Insert) {
        QStringList cols, marks;
        QVariantList binds;
        for (int i = 0; i < d.fields.size(); ++i) {
            if (d.fields[i].type == FieldType::AutoInc && m_buf.v[i].isNull())
                continue;
            cols << Schema::quoteIdent(d.fields[i].name);
            marks << QStringLiteral("?");
            binds << m_buf.v[i];
        }
        Statement &st = m_conn->cached(
            QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                .arg(table, cols.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))));
        st.bindAll(binds);
        st.exec();
        st.reset();
        Statement &last = m_conn->cached(QStringLiteral("SELECT last_insert_rowid()"));
        last.step();
        m_buf.rowid = last.columnInt64(0);
        last.reset();
        if (const FieldDef *ai = d.autoIncField())
            m_buf.v[d.fieldIndex(ai->name)] = int(m_buf.rowid);
    } else {
        QStringList sets;
        QVariantList binds;
        for (int i = 0; i < d.fields.size(); ++i) {
            if (d.fields[i].type == FieldType::AutoInc)
                continue;
            sets << Schema::quoteIdent(d.fields[i].name) + QStringLiteral(" = ?");
            binds << m_buf.v[i];
        }
        binds << m_buf.rowid;
        Statement &st = m_conn->cached(QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
                                           .arg(table, sets.join(QStringLiteral(", "))));
        st.bindAll(binds);
        st.exec();
        st.reset();
    }
    m_conn->touch(d.sqlName);
    const Row stored = m_buf;
    m_modified = false;
    setState(Browse);
    m_count = -1;
    SqlCondition same;
    same.sql = QStringLiteral("rowid = ?");
    same.binds = {stored.rowid};
    const QList<Row> found = fetch(same, Dir::Forward, 1);
    seekTo(found.isEmpty() ? stored : found.first());
    Q_EMIT afterRefresh();
    Q_EMIT afterPost();
}

// SQLite lets any number of records leave a unique field empty; in this system an empty key
// is a value like any other, so a second record with it is a key violation.
void Table::checkEmptyUniqueKeys() const {
    const TableDef &d = def();
    for (const IndexDef &idx : d.indexes) {
        if (!idx.unique)
            continue;
        QStringList parts;
        QVariantList binds;
        bool anyEmpty = false;
        for (const QString &f : idx.fields) {
            const QVariant v = m_buf.v.value(d.fieldIndex(f));
            anyEmpty = anyEmpty || v.isNull();
            parts << Schema::quoteIdent(f) + QStringLiteral(" IS ?");
            binds << v;
        }
        if (!anyEmpty)
            continue;
        Statement &st = m_conn->cached(
            QStringLiteral("SELECT 1 FROM %1 WHERE %2 AND rowid <> ? LIMIT 1")
                .arg(Schema::quoteIdent(d.sqlName), parts.join(QStringLiteral(" AND "))));
        st.bindAll(binds);
        st.bind(int(binds.size()) + 1, state() == Insert ? qint64(0) : m_buf.rowid);
        const bool taken = st.step();
        st.reset();
        if (taken)
            throw StoreError(
                StoreError::KeyViolation,
                QStringLiteral("Violación de clave: ya existe un registro con %1 vacío.")
                    .arg(idx.fields.join(QStringLiteral(", "))),
                idx.fields.value(0));
    }
}

void Table::cancel() {
    if (!isEditing())
        return;
    m_modified = false;
    setState(Browse);
    Q_EMIT afterCancel();
    moved();
}

void Table::remove() {
    requireOpen();
    if (state() == Insert) {
        cancel();
        return;
    }
    if (state() == Edit)
        cancel();
    syncIfStale();
    const Row *cur = current();
    if (!cur)
        throw StoreError(
            StoreError::State,
            QStringLiteral("No hay ningún registro que eliminar en %1.").arg(m_tableName));
    const Row anchor = *cur;
    const int recNoBefore = m_recNo;
    Statement &st = m_conn->cached(
        QStringLiteral("DELETE FROM %1 WHERE rowid = ?").arg(Schema::quoteIdent(def().sqlName)));
    st.bind(1, anchor.rowid);
    st.exec();
    st.reset();
    m_conn->touch(def().sqlName);
    m_count = -1;
    if (!abrirFlujo(keyCondition(anchor, Cmp::Gt))) {
        last();
    } else {
        m_bof = m_eof = false;
        m_recNo = recNoBefore;
        moved();
    }
    Q_EMIT afterRefresh();
    Q_EMIT afterDelete();
}

bool Table::findNearest(const QVariantList &values) {
    requireOpen();
    const int n = std::min<int>(int(values.size()), int(m_order.size()));
    QStringList cols, marks;
    QVariantList keys;
    for (int i = 0; i < n; ++i) {
        const QVariant v = toStored(fieldInfo(m_order[i]), values[i]);
        if (v.isNull())
            break;
        cols << Schema::quoteIdent(m_order[i]);
        marks << QStringLiteral("?");
        keys << v;
    }
    checkBrowseMode();
    if (keys.isEmpty()) {
        first();
        return current() != nullptr;
    }
    SqlCondition c;
    c.sql = keys.size() == 1
                ? cols[0] + QStringLiteral(" >= ?")
                : QStringLiteral("(%1) >= (%2)")
                      .arg(cols.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
    c.binds = keys;
    QList<Row> rows = fetch(c, Dir::Forward, kSeek);
    if (rows.isEmpty()) {
        last();
        return false;
    }
    m_flujo.reset();
    m_page = rows;
    m_idx = 0;
    m_bof = m_eof = false;
    m_recNo = -1;
    moved();
    return true;
}

bool Table::findKey(const QVariantList &values) {
    requireOpen();
    SqlCondition c;
    QStringList parts;
    for (int i = 0; i < values.size() && i < m_order.size(); ++i) {
        const QVariant v = toStored(fieldInfo(m_order[i]), values[i]);
        parts << Schema::quoteIdent(m_order[i]) +
                     (v.isNull() ? QStringLiteral(" IS NULL") : QStringLiteral(" = ?"));
        if (!v.isNull())
            c.binds << v;
    }
    c.sql = parts.join(QStringLiteral(" AND "));
    checkBrowseMode();
    const QList<Row> rows = fetch(c, Dir::Forward, 1);
    if (rows.isEmpty())
        return false;
    seekTo(rows.first());
    return true;
}

bool Table::locate(const QString &field, const QVariant &value) {
    requireOpen();
    const FieldInfo &f = fieldInfo(field);
    if (f.kind != FieldInfo::Data)
        throw StoreError(StoreError::State,
                         QStringLiteral("No se puede buscar por el campo %1.").arg(f.name));
    const QVariant v = toStored(f, value);
    SqlCondition c;
    c.sql = Schema::quoteIdent(f.name) +
            (v.isNull() ? QStringLiteral(" IS NULL") : QStringLiteral(" = ?"));
    if (!v.isNull())
        c.binds << v;
    checkBrowseMode();
    const QList<Row> rows = fetch(c, Dir::Forward, 1);
    if (rows.isEmpty())
        return false;
    seekTo(rows.first());
    return true;
}

bool Table::gotoRowId(qint64 rowid) {
    requireOpen();
    checkBrowseMode();
    SqlCondition c;
    c.sql = QStringLiteral("rowid = ?");
    c.binds = {rowid};
    const QList<Row> rows = fetch(c, Dir::Forward, 1);
    if (rows.isEmpty())
        return false;
    seekTo(rows.first());
    return true;
}

qint64 Table::rowId() const {
    if (state() == Edit)
        return m_buf.rowid;
    const Row *cur = current();
    return cur ? cur->rowid : 0;
}

QVariantList Table::aggregate(const QStringList &sqlExpressions) {
    requireOpen();
    const SqlCondition where = whereCondition();
    QString sql =
        QStringLiteral("SELECT %1 FROM %2")
            .arg(sqlExpressions.join(QStringLiteral(", ")), Schema::quoteIdent(def().sqlName));
    if (!where.isEmpty())
        sql += QStringLiteral(" WHERE ") + where.sql;
    Statement &st = m_conn->cached(sql);
    st.bindAll(where.binds);
    QVariantList out;
    if (st.step())
        for (int i = 0; i < st.columnCount(); ++i)
            out << st.column(i);
    st.reset();
    return out;
}

QVector<qint64> Table::rowIds() const {
    requireOpen();
    const SqlCondition where = whereCondition();
    QString sql = QStringLiteral("SELECT rowid FROM %1").arg(Schema::quoteIdent(def().sqlName));
    if (!where.isEmpty())
        sql += QStringLiteral(" WHERE ") + where.sql;
    sql += QStringLiteral(" ORDER BY ") + orderBy(Dir::Forward);
    Statement &st = m_conn->cached(sql);
    st.bindAll(where.binds);
    QVector<qint64> ids;
    while (st.step())
        ids << st.columnInt64(0);
    st.reset();
    return ids;
}

QHash<qint64, QVector<QVariant>> Table::readRows(const QVector<qint64> &ids,
                                                 const QStringList &fields) const {
    requireOpen();
    QHash<qint64, QVector<QVariant>> out;
    if (ids.isEmpty())
        return out;
    const QString tabla = Schema::quoteIdent(def().sqlName);
    QStringList cols{tabla + QStringLiteral(".rowid")};
    for (const QString &f : fields) {
        const FieldDef *fd = def().field(f);
        if (fd) {
            cols << tabla + QLatin1Char('.') + Schema::quoteIdent(fd->name);
            continue;
        }
        // A lookup field reads its value in the same statement.
        const LookupDef *l = lookupDef(f);
        const TableDef *otra = l ? Schema::find(l->lookupTable) : nullptr;
        const FieldDef *clave = l ? def().field(l->keyField) : nullptr;
        if (!otra || !clave || !otra->field(l->lookupKey) || !otra->field(l->result)) {
            cols << QStringLiteral("NULL");
            continue;
        }
        cols << QStringLiteral("(SELECT b.%1 FROM %2 AS b WHERE b.%3 = %4.%5 ORDER BY b.rowid "
                               "LIMIT 1)")
                    .arg(Schema::quoteIdent(otra->field(l->result)->name),
                         Schema::quoteIdent(otra->sqlName),
                         Schema::quoteIdent(otra->field(l->lookupKey)->name), tabla,
                         Schema::quoteIdent(clave->name));
    }
    QStringList marks;
    for (int i = 0; i < ids.size(); ++i)
        marks << QStringLiteral("?");
    Statement st(m_conn->handle(), QStringLiteral("SELECT %1 FROM %2 WHERE %2.rowid IN (%3)")
                                       .arg(cols.join(QStringLiteral(", ")), tabla,
                                            marks.join(QStringLiteral(", "))));
    for (int i = 0; i < ids.size(); ++i)
        st.bind(i + 1, ids[i]);
    while (st.step()) {
        QVector<QVariant> row(fields.size());
        for (int i = 0; i < fields.size(); ++i)
            row[i] = st.column(i + 1);
        out.insert(st.columnInt64(0), row);
    }
    return out;
}
