#include "store/DataSet.h"

#include "store/Connection.h"
#include "store/Dates.h"
#include "store/Statement.h"
#include "store/StoreError.h"

#include <QDate>

DataSet::DataSet(Connection *connection, QObject *parent) : QObject(parent), m_conn(connection) {}

int DataSet::moveBy(int distance) {
    int moved = 0;
    while (distance > 0 && !eof()) {
        next();
        if (!eof())
            ++moved;
        --distance;
    }
    while (distance < 0 && !bof()) {
        prior();
        if (!bof())
            --moved;
        ++distance;
    }
    return moved;
}

int DataSet::fieldIndex(const QString &name) const {
    // Callers ask with the same strings over and over (literals, field lists): remember where
    // each one led, by the address of its characters. The entry keeps a reference to the
    // string, so while it is remembered no other text can take that address.
    const quintptr clave = quintptr(name.constData());
    RecuerdoCampo &r = m_recuerdos[(clave >> 4) % kRecuerdos];
    if (r.nombre.constData() == name.constData() && r.nombre.size() == name.size() &&
        r.generacion == m_generacion)
        return r.indice;
    const int i = buscarCampo(name);
    r = RecuerdoCampo{name, i, m_generacion};
    return i;
}

int DataSet::buscarCampo(const QString &name) const {
    auto it = m_porNombre.constFind(name);
    if (it != m_porNombre.constEnd())
        return *it;
    return m_porNombre.value(name.toLower(), -1);
}

void DataSet::indexar() {
    ++m_generacion;
    m_porNombre.clear();
    for (int i = int(m_fields.size()) - 1; i >= 0; --i) {
        m_porNombre.insert(m_fields[i].name.toLower(), i);
        m_porNombre.insert(m_fields[i].name, i);
    }
}

void DataSet::notFound(const QString &field) const {
    throw StoreError(StoreError::NotFound,
                     QStringLiteral("%1: no se encuentra el campo %2.").arg(objectName(), field),
                     field);
}

void DataSet::failReadOnly() const {
    throw StoreError(StoreError::State,
                     QStringLiteral("%1: los datos no se pueden modificar.").arg(objectName()));
}

const FieldInfo &DataSet::fieldInfo(const QString &name) const {
    const int i = fieldIndex(name);
    if (i < 0)
        notFound(name);
    return m_fields[i];
}

QStringList DataSet::fieldNames() const {
    QStringList out;
    for (const FieldInfo &f : m_fields)
        out << f.name;
    return out;
}

void DataSet::setDataFields(const QList<FieldInfo> &fields) {
    QList<FieldInfo> extra = m_fields.mid(m_dataFieldCount);
    m_fields = fields;
    m_dataFieldCount = int(fields.size());
    m_fields += extra;
    indexar();
}

QVariant DataSet::value(const QString &field) const {
    const int i = fieldIndex(field);
    if (i < 0)
        notFound(field);
    const FieldInfo &f = m_fields[i];
    if (f.kind == FieldInfo::Data) {
        const QVariant stored = storedValue(i);
        return f.typed && !valoresConTipo() ? Statement::fromStorage(stored, f.type) : stored;
    }
    if (f.kind == FieldInfo::Calculated)
        return m_calcs.value(f.name.toLower())(*this);
    for (const LookupDef &l : m_lookups)
        if (l.name.compare(field, Qt::CaseInsensitive) == 0)
            return lookupValue(l);
    return QVariant();
}

QVariant DataSet::lookupValue(const LookupDef &l) const {
    const QVariant key = Statement::toStorage(value(l.keyField));
    if (key.isNull() || !m_conn || !m_conn->isOpen())
        return QVariant();
    const TableDef *def = m_conn->tableDef(l.lookupTable);
    if (!def)
        return QVariant();
    const QString cacheKey = l.name.toLower() + QChar(0) + key.toString();
    const quint64 version = m_conn->version(def->sqlName);
    auto it = m_lookupCache.constFind(cacheKey);
    if (it != m_lookupCache.constEnd() && it->first == version)
        return it->second;
    Statement &st =
        m_conn->cached(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ? LIMIT 1")
                           .arg(Schema::quoteIdent(l.result), Schema::quoteIdent(def->sqlName),
                                Schema::quoteIdent(l.lookupKey)));
    st.bind(1, key);
    QVariant result;
    if (st.step()) {
        const FieldDef *rf = def->field(l.result);
        result = Statement::fromStorage(st.column(0), rf ? rf->type : l.type);
    }
    st.reset();
    if (m_lookupCache.size() > 4096)
        m_lookupCache.clear();
    m_lookupCache.insert(cacheKey, {version, result});
    return result;
}

QVariant DataSet::toStored(const FieldInfo &field, const QVariant &value) {
    if (!value.isValid() || value.isNull())
        return QVariant();
    const bool isText = value.typeId() == QMetaType::QString;
    const QString text = isText ? value.toString() : QString();
    switch (field.type) {
    case FieldType::Text:
    case FieldType::Memo: {
        const QString s = value.toString();
        return s.isEmpty() ? QVariant() : QVariant(s);
    }
    case FieldType::Date: {
        QDate d;
        if (isText) {
            if (Dates::isEmptyBox(text))
                return QVariant();
            d = Dates::parse(text);
        } else {
            d = value.toDate();
        }
        if (!d.isValid())
            throw StoreError(StoreError::InvalidValue,
                             QStringLiteral("'%1' no es una fecha válida para el campo %2.")
                                 .arg(value.toString(), field.name),
                             field.name);
        return Dates::toIso(d);
    }
    case FieldType::Logical: {
        if (!isText)
            return qint64(value.toBool() ? 1 : 0);
        const QString v = text.trimmed().toLower();
        if (v == QLatin1String("true") || v == QStringLiteral("sí") || v == QLatin1String("si") ||
            v == QLatin1String("1"))
            return qint64(1);
        if (v == QLatin1String("false") || v == QLatin1String("no") || v == QLatin1String("0"))
            return qint64(0);
        if (v.isEmpty())
            return QVariant();
        break;
    }
    default: {
        double d = 0;
        bool ok = true;
        if (isText) {
            QString t = text.trimmed();
            if (t.isEmpty())
                return QVariant();
            if (t.contains(',')) {
                t.remove('.');
                t.replace(',', '.');
            }
            d = t.toDouble(&ok);
        } else {
            d = value.toDouble(&ok);
        }
        if (!ok)
            break;
        if (field.type == FieldType::Number || field.type == FieldType::Money)
            return d;
        return qint64(qRound64(d));
    }
    }
    throw StoreError(StoreError::InvalidValue,
                     QStringLiteral("'%1' no es un valor válido para el campo %2.")
                         .arg(value.toString(), field.name),
                     field.name);
}

void DataSet::setValue(const QString &field, const QVariant &value) {
    const int i = fieldIndex(field);
    if (i < 0)
        notFound(field);
    const FieldInfo &f = m_fields[i];
    if (!isEditing())
        throw StoreError(StoreError::State,
                         QStringLiteral("%1: el registro no está en edición.").arg(objectName()));
    if (f.kind == FieldInfo::Calculated)
        failReadOnly();
    if (f.kind == FieldInfo::Lookup) {
        // Choosing a lookup value stores the key of the record that has it.
        for (const LookupDef &l : m_lookups) {
            if (l.name.compare(field, Qt::CaseInsensitive) != 0)
                continue;
            const TableDef *def = m_conn->tableDef(l.lookupTable);
            QVariant key;
            if (def && !value.isNull()) {
                Statement &st = m_conn->cached(
                    QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ? LIMIT 1")
                        .arg(Schema::quoteIdent(l.lookupKey), Schema::quoteIdent(def->sqlName),
                             Schema::quoteIdent(l.result)));
                st.bind(1, toStored(f, value));
                if (st.step())
                    key = st.column(0);
                st.reset();
            }
            setStoredValue(fieldIndex(l.keyField), key);
            Q_EMIT fieldChanged(l.keyField);
            Q_EMIT fieldChanged(f.name);
            return;
        }
    }
    const QVariant stored = toStored(f, value);
    if (f.type == FieldType::Text && f.size > 0 && stored.toString().size() > f.size)
        throw StoreError(
            StoreError::FieldSize,
            QStringLiteral("El campo %1 admite como máximo %2 caracteres.").arg(f.name).arg(f.size),
            f.name);
    setStoredValue(i, stored);
    Q_EMIT fieldChanged(f.name);
}

void DataSet::setStoredValue(int, const QVariant &) {
    failReadOnly();
}
void DataSet::edit() {
    failReadOnly();
}
void DataSet::insert() {
    failReadOnly();
}
void DataSet::append() {
    failReadOnly();
}
void DataSet::post() {}
void DataSet::cancel() {}
void DataSet::remove() {
    failReadOnly();
}

void DataSet::checkBrowseMode() {
    if (isEditing())
        post();
}

void DataSet::addLookupField(const LookupDef &lookup) {
    m_lookups << lookup;
    m_fields << FieldInfo{lookup.name, lookup.type, lookup.size, FieldInfo::Lookup, true};
    indexar();
}

void DataSet::addCalcField(const QString &name, FieldType type, int size, CalcFunction fn) {
    m_calcs.insert(name.toLower(), std::move(fn));
    m_fields << FieldInfo{name, type, size, FieldInfo::Calculated, true};
    indexar();
}

void DataSet::setFilter(const QString &expression) {
    if (expression == m_filter)
        return;
    const QString old = m_filter;
    m_filter = expression;
    if (isActive() && m_filtered) {
        try {
            applyFilter();
        } catch (...) {
            m_filter = old;
            throw;
        }
    }
}

void DataSet::setFiltered(bool on) {
    if (on == m_filtered)
        return;
    m_filtered = on;
    if (isActive()) {
        try {
            applyFilter();
        } catch (...) {
            m_filtered = !on;
            throw;
        }
    }
}

QString DataSet::sqlColumn(const QString &field) const {
    return Schema::quoteIdent(field);
}

double DataSet::sum(const QString &field) {
    const QVariantList r =
        aggregate({QStringLiteral("TOTAL(%1)").arg(sqlColumn(fieldInfo(field).name))});
    return r.value(0).toDouble();
}

void DataSet::enableControls() {
    if (m_controlsDisabled > 0 && --m_controlsDisabled == 0)
        Q_EMIT controlsEnabled();
}

void DataSet::setState(State s) {
    if (s == m_state)
        return;
    m_state = s;
    Q_EMIT stateChanged();
}

const LookupDef *DataSet::lookupDef(const QString &name) const {
    for (const LookupDef &l : m_lookups)
        if (l.name.compare(name, Qt::CaseInsensitive) == 0)
            return &l;
    return nullptr;
}
