#include "common/ModeloDatos.h"

#include "store/DataSet.h"
#include "store/Dates.h"

#include <QDate>

ModeloDatos::ModeloDatos(DataSet *datos, const QList<Columna> &columnas, QObject *parent)
    : QAbstractTableModel(parent), m_datos(datos), m_columnas(columnas) {}

void ModeloDatos::recargar() {
    // Rows are read before the reset, so that a failing read leaves the model as it was.
    QList<QVector<QVariant>> filas;
    if (m_datos && m_datos->isActive()) {
        struct Pausa {
            DataSet *d;
            ~Pausa() { d->enableControls(); }
        } pausa{m_datos};
        m_datos->disableControls();
        for (m_datos->first(); !m_datos->eof(); m_datos->next()) {
            QVector<QVariant> fila;
            fila.reserve(m_columnas.size());
            for (const Columna &c : std::as_const(m_columnas))
                fila << m_datos->value(c.campo);
            filas << fila;
        }
        m_datos->first();
    }
    beginResetModel();
    m_filas = std::move(filas);
    endResetModel();
}

int ModeloDatos::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(m_filas.size());
}

int ModeloDatos::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(m_columnas.size());
}

QVariant ModeloDatos::valor(int fila, int columna) const {
    if (fila < 0 || fila >= m_filas.size() || columna < 0 || columna >= m_columnas.size())
        return QVariant();
    return m_filas[fila][columna];
}

QString ModeloDatos::texto(int fila, int columna) const {
    const QVariant v = valor(fila, columna);
    if (v.typeId() == QMetaType::QDate)
        return Dates::shortText(v.toDate());
    return v.toString();
}

int ModeloDatos::buscarPrefijo(int columna, const QString &prefijo) const {
    for (int fila = 0; fila < m_filas.size(); ++fila) {
        if (texto(fila, columna).startsWith(prefijo, Qt::CaseInsensitive))
            return fila;
    }
    return -1;
}

QVariant ModeloDatos::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return QVariant();
    return texto(index.row(), index.column());
}

QVariant ModeloDatos::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < m_columnas.size())
        return m_columnas[section].titulo;
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags ModeloDatos::flags(const QModelIndex &index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}
