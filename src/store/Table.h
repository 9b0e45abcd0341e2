#pragma once

#include "store/DataSet.h"
#include "store/FilterParser.h"
#include "store/Statement.h"

#include <QPointer>
#include <memory>

// A cursor over one table: its own order, filter and current record. Records are read a page
// at a time by their key in the current order (never the whole table), so opening and moving
// cost the same on ten records and on a million.
class Table : public DataSet {
    Q_OBJECT
public:
    Table(Connection *connection, const QString &tableName = QString(), QObject *parent = nullptr);
    ~Table() override;

    // The table by the name windows use ("portes.DB"); only while closed.
    void setTableName(const QString &name);
    QString tableName() const { return m_tableName; }
    const TableDef &def() const;

    // Order by a named index, or by fields ("Numero" or "Mes;Ano"). An order that no index
    // serves fails with StoreError::NoIndex.
    void setIndexName(const QString &name);
    void setIndexFieldNames(const QString &fields);
    QString indexName() const { return m_indexName; }
    QStringList orderFields() const { return m_order; }

    // Master-detail: only the records whose first fields of the current order equal the
    // master's `masterFields` ("NumViaje"); a record added here receives the master's values.
    void setMasterSource(DataSet *master, const QString &masterFields);
    DataSet *master() const { return m_master; }

    void open() override;
    void close() override;
    void first() override;
    void last() override;
    void next() override;
    void prior() override;
    void refresh() override;
    bool isEmpty() const override;
    int recordCount() override;
    int recNo() override;
    // Every record of the table, ignoring filter and master.
    int totalRecords();

    void edit() override;
    void insert() override;
    void append() override;
    void post() override;
    void cancel() override;
    void remove() override;
    void checkBrowseMode() override;
    bool isModified() const { return m_modified; }
    // The values given so far are defaults of a new record, not changes: an untouched new
    // record is still abandoned rather than stored.
    void markUnmodified() { m_modified = false; }

    // The first record whose order key is at least the given values (fewer values than order
    // fields compare a prefix); the last record when every key is smaller. Values may be typed
    // text; one that cannot be read for its field throws StoreError::InvalidValue and leaves
    // the cursor where it was.
    bool findNearest(const QVariantList &values);
    bool findKey(const QVariantList &values);
    bool locate(const QString &field, const QVariant &value) override;
    bool gotoRowId(qint64 rowid);
    qint64 rowId() const;

    QVariantList aggregate(const QStringList &sqlExpressions) override;

    // The identities of every record in the current order, filter and master: what a grid
    // needs to know its rows without reading them.
    QVector<qint64> rowIds() const;
    // The stored values of the given fields for the given records, by identity.
    QHash<qint64, QVector<QVariant>> readRows(const QVector<qint64> &ids,
                                              const QStringList &fields) const;

    // Writes buffers to disk. Every post is already durable; kept for callers that ask for it.
    void flushBuffers() {}

protected:
    QVariant storedValue(int i) const override;
    bool valoresConTipo() const override { return true; }
    void setStoredValue(int i, const QVariant &stored) override;
    void applyFilter() override;

private:
    struct Row {
        qint64 rowid = 0;
        QVector<QVariant> v;
    };
    enum class Dir { Forward, Backward };
    enum class Cmp { Gt, Ge, Lt, Le };

    void requireOpen() const;
    void requireClosed() const;
    void buildFields();
    SqlCondition whereCondition() const;
    SqlCondition linkCondition() const;
    SqlCondition keyCondition(const Row &anchor, Cmp cmp) const;
    QList<Row> fetch(const SqlCondition &extra, Dir dir, int limit, bool fullOrder = true) const;
    QList<Row> fetchAfter(const Row &anchor, int limit) const;
    Row leerFila(const Statement &st) const;
    bool abrirFlujo(const SqlCondition &extra);
    bool avanzarFlujo();
    QList<Row> fetchBefore(const Row &anchor, int limit) const;
    int countWhere(const SqlCondition &extra) const;
    QString orderBy(Dir dir) const;
    void seekTo(const Row &anchor);
    void syncIfStale();
    void resync();
    void moved();
    const Row *current() const;
    void onMasterChanged();
    void checkEmptyUniqueKeys() const;
    QString selectList() const;

    QString m_tableName;
    const TableDef *m_def = nullptr;
    QString m_indexName;
    QStringList m_order;
    QList<int> m_orderIdx;
    QPointer<DataSet> m_master;
    QStringList m_masterFields;
    SqlCondition m_filterSql;

    QList<Row> m_page;
    int m_idx = -1;
    int m_recNo = -1; // -1: not yet known
    mutable int m_count = -1;
    mutable quint64 m_countVersion = 0;
    quint64 m_seen = 0;
    Row m_buf;
    bool m_modified = false;
    QString m_select;
    std::unique_ptr<Statement> m_flujo;
};
