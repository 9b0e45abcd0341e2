#include "common/ModeloRegistros.h"

#include "common/TextoCampo.h"
#include "store/Statement.h"
#include "store/Table.h"

namespace {
constexpr int kPagina = 128;
}

ModeloRegistros::ModeloRegistros(Table *tabla, const QList<ColumnaRejilla> &columnas,
                                 QObject *parent)
    : QAbstractTableModel(parent), m_tabla(tabla), m_columnas(columnas) {
    for (const ColumnaRejilla &c : columnas)
        m_campos << c.campo;
    connect(tabla, &DataSet::afterClose, this, &ModeloRegistros::recargar);
    connect(tabla, &DataSet::afterRefresh, this, &ModeloRegistros::recargar);
    recargar();
}

void ModeloRegistros::recargar() {
    beginResetModel();
    m_paginas.clear();
    m_ids = m_tabla && m_tabla->isActive() ? m_tabla->rowIds() : QVector<qint64>();
    m_fila.clear();
    m_fila.reserve(m_ids.size());
    for (int i = 0; i < m_ids.size(); ++i)
        m_fila.insert(m_ids[i], i);
    endResetModel();
}

int ModeloRegistros::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(m_ids.size());
}

int ModeloRegistros::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(m_columnas.size());
}

const QVector<QVariant> *ModeloRegistros::valores(int fila) const {
    const int pagina = fila / kPagina;
    auto it = m_paginas.find(pagina);
    if (it == m_paginas.end()) {
        if (m_paginas.size() > 64)
            m_paginas.clear();
        const QVector<qint64> ids = m_ids.mid(pagina * kPagina, kPagina);
        it = m_paginas.insert(pagina, m_tabla->readRows(ids, m_campos));
    }
    auto fila_it = it->constFind(m_ids[fila]);
    return fila_it == it->constEnd() ? nullptr : &*fila_it;
}

QVariant ModeloRegistros::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || !m_tabla || !m_tabla->isActive())
        return QVariant();
    const ColumnaRejilla &c = m_columnas[index.column()];
    if (role == Qt::TextAlignmentRole)
        return int(c.alineacion);
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return QVariant();
    const QVector<QVariant> *v = valores(index.row());
    if (!v)
        return QVariant();
    const FieldDef *f = m_tabla->def().field(c.campo);
    const FieldType tipo = f ? f->type : FieldType::Text;
    return textoCampo(Statement::fromStorage(v->value(index.column()), tipo), tipo, c.formato);
}

QVariant ModeloRegistros::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= m_columnas.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return m_columnas[section].titulo;
    if (role == Qt::TextAlignmentRole)
        return int((m_columnas[section].tituloDerecha ? Qt::AlignRight : Qt::AlignLeft) |
                   Qt::AlignVCenter);
    return QVariant();
}
