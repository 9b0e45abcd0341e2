#pragma once

#include "store/Schema.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QVariant>
#include <QVector>
#include <functional>

class Connection;
class DataSet;

struct FieldInfo {
    enum Kind { Data, Lookup, Calculated };
    QString name;
    FieldType type = FieldType::Text;
    int size = 0;
    Kind kind = Data;
    bool typed = true; // false for query columns of unknown origin: values come as stored
};

// A field computed on reading from another table: the `result` of the first record of
// `lookupTable` whose `lookupKey` equals this record's `keyField`.
struct LookupDef {
    QString name;
    QString keyField;
    QString lookupTable; // table name, as for Table
    QString lookupKey;
    QString result;
    FieldType type = FieldType::Text;
    int size = 0;
};

using CalcFunction = std::function<QVariant(const DataSet &)>;

// What tables and queries share: a current record over an ordered, filtered set of records,
// fields read by name, and the notifications that data-aware windows follow.
class DataSet : public QObject {
    Q_OBJECT
public:
    enum State { Inactive, Browse, Edit, Insert };

    explicit DataSet(Connection *connection, QObject *parent = nullptr);

    Connection *connection() const { return m_conn; }
    State state() const { return m_state; }
    bool isActive() const { return m_state != Inactive; }
    bool isEditing() const { return m_state == Edit || m_state == Insert; }

    virtual void open() = 0;
    virtual void close() = 0;
    virtual void first() = 0;
    virtual void last() = 0;
    virtual void next() = 0;
    virtual void prior() = 0;
    virtual void refresh() = 0;
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }
    virtual bool isEmpty() const = 0;
    virtual int recordCount() = 0;
    virtual int recNo() = 0; // 1-based; 0 when there is no record
    int moveBy(int distance);

    // Fields: the stored ones first, then lookup and calculated fields.
    const QList<FieldInfo> &fields() const { return m_fields; }
    int fieldIndex(const QString &name) const; // ignores letter case, -1 when missing
    bool hasField(const QString &name) const { return fieldIndex(name) >= 0; }
    const FieldInfo &fieldInfo(const QString &name) const; // throws when missing
    QStringList fieldNames() const;

    QVariant value(const QString &field) const;
    virtual void setValue(const QString &field, const QVariant &value);
    // Records are modified only through tables; queries are read-only.
    virtual void edit();
    virtual void insert();
    virtual void append();
    virtual void post();
    virtual void cancel();
    virtual void remove();
    // Posts a modified record and abandons an untouched new one, before moving away from it.
    virtual void checkBrowseMode();

    void addLookupField(const LookupDef &lookup);
    // The lookup field of that name (any letter case), or null.
    const LookupDef *lookupDef(const QString &name) const;
    void addCalcField(const QString &name, FieldType type, int size, CalcFunction fn);

    // The record filter (see Filter::toSql). Applying a filter that cannot be read throws and
    // leaves the previous filter in force.
    void setFilter(const QString &expression);
    QString filter() const { return m_filter; }
    void setFiltered(bool on);
    bool filtered() const { return m_filtered; }

    // The first record, in the current order and within the filter, whose field equals value.
    virtual bool locate(const QString &field, const QVariant &value) = 0;
    // Aggregates over the records in the filter: {"COUNT(*)", "SUM(\"Precio\")"}.
    virtual QVariantList aggregate(const QStringList &sqlExpressions) = 0;
    double sum(const QString &field);

    // While disabled, windows do not repaint for every move (listings walking the records).
    void disableControls() { ++m_controlsDisabled; }
    void enableControls();
    bool controlsDisabled() const { return m_controlsDisabled > 0; }

Q_SIGNALS:
    void afterOpen();
    // The set of records or their order may have changed: grids read their rows again.
    void afterRefresh();
    void afterClose();
    void afterScroll();
    void stateChanged();
    void fieldChanged(const QString &field);
    void beforePost();
    void afterPost();
    void afterInsert();
    void afterDelete();
    void afterCancel();
    void controlsEnabled();

protected:
    // The stored value of data field i of the current record (or of the edit buffer).
    virtual QVariant storedValue(int i) const = 0;
    // True when storedValue() already gives values of the field's type.
    virtual bool valoresConTipo() const { return false; }
    virtual void setStoredValue(int i, const QVariant &stored);
    virtual void applyFilter() = 0; // called when filter text or state changes while open
    virtual QString sqlColumn(const QString &field) const; // how a filter names the field
    void setState(State s);
    void setDataFields(const QList<FieldInfo> &fields);
    void notFound(const QString &field) const;
    void failReadOnly() const;
    QVariant lookupValue(const LookupDef &lookup) const;
    void clearLookupCache() const { m_lookupCache.clear(); }
    // Reads a value given in any form (typed text, number, date) as the field stores it.
    static QVariant toStored(const FieldInfo &field, const QVariant &value);

    Connection *m_conn;
    bool m_eof = true;
    bool m_bof = true;
    QString m_filter;
    bool m_filtered = false;

private:
    State m_state = Inactive;
    void indexar();
    QList<FieldInfo> m_fields;
    QHash<QString, int> m_porNombre; // exact spelling, then lower case
    int buscarCampo(const QString &name) const;
    struct RecuerdoCampo {
        QString nombre;
        int indice = -1;
        int generacion = -1;
    };
    static constexpr int kRecuerdos = 64;
    mutable RecuerdoCampo m_recuerdos[kRecuerdos];
    int m_generacion = 0;
    int m_dataFieldCount = 0;
    QList<LookupDef> m_lookups;
    QHash<QString, CalcFunction> m_calcs;
    int m_controlsDisabled = 0;
    mutable QHash<QString, QPair<quint64, QVariant>> m_lookupCache;
};
