#pragma once

#include <QAbstractTableModel>
#include <QList>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <QVector>

class DataSet;

// A read-only table of the records of a data set, read into memory in one pass. Meant for the
// short lists of the pickers; large tables belong in the record grids.
class ModeloDatos : public QAbstractTableModel {
    Q_OBJECT
public:
    struct Columna {
        QString campo;
        QString titulo;
        int ancho = 0; // in characters; 0 leaves the view's default width
    };

    ModeloDatos(DataSet *datos, const QList<Columna> &columnas, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    const QList<Columna> &columnas() const { return m_columnas; }
    // The value read for row `fila` and column `columna`; invalid outside the table.
    QVariant valor(int fila, int columna) const;
    QString texto(int fila, int columna) const;
    // The first row whose text in `columna` begins with `prefijo`, ignoring letter case; -1
    // when none does.
    int buscarPrefijo(int columna, const QString &prefijo) const;

public Q_SLOTS:
    // Reads every record of the data set again; an inactive data set gives no rows. The data
    // set is left on its first record.
    void recargar();

private:
    QPointer<DataSet> m_datos;
    QList<Columna> m_columnas;
    QList<QVector<QVariant>> m_filas;
};
