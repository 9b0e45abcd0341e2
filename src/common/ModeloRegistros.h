#pragma once

#include "common/ColumnaRejilla.h"
#include "store/Table.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QPointer>
#include <QVector>

class Table;

// The rows of a record grid: the table's records in its order and filter. It knows every
// record's identity but reads the values only of the rows on screen, a page at a time, so a
// grid over a large table opens at once.
class ModeloRegistros : public QAbstractTableModel {
    Q_OBJECT
public:
    ModeloRegistros(Table *tabla, const QList<ColumnaRejilla> &columnas, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    const QList<ColumnaRejilla> &columnas() const { return m_columnas; }
    int filaDe(qint64 rowid) const { return m_fila.value(rowid, -1); }
    qint64 rowIdDe(int fila) const { return fila >= 0 && fila < m_ids.size() ? m_ids[fila] : 0; }

public Q_SLOTS:
    void recargar();

private:
    const QVector<QVariant> *valores(int fila) const;

    QPointer<Table> m_tabla;
    QList<ColumnaRejilla> m_columnas;
    QStringList m_campos;
    QVector<qint64> m_ids;
    QHash<qint64, int> m_fila;
    mutable QHash<int, QHash<qint64, QVector<QVariant>>> m_paginas;
};
