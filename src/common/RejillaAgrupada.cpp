#include "common/RejillaAgrupada.h"

#include "app/IniFile.h"
#include "app/Mensajes.h"
#include "common/TextoCampo.h"
#include "store/DataSet.h"
#include "store/StoreError.h"
#include "store/Table.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QCollator>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QSortFilterProxyModel>
#include <QStyle>
#include <QTreeView>
#include <QVBoxLayout>

namespace {
constexpr int kRolValor = Qt::UserRole;
constexpr int kRolId = Qt::UserRole + 1;

const QString kClaveColumnas = QStringLiteral("Columnas");
const QString kClaveOrdenacion = QStringLiteral("Ordenacion");
QString claveAncho(const QString &campo) {
    return QStringLiteral("Ancho.") + campo;
}
QString claveOculta(const QString &campo) {
    return QStringLiteral("Oculta.") + campo;
}

bool esNumero(const QVariant &v) {
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Every loaded row: the record's identity, its values and the texts shown.

class RejillaAgrupada::Modelo : public QAbstractTableModel {
public:
    struct Fila {
        qint64 id = 0;
        QVector<QVariant> valores;
        QVector<QString> textos;
    };

    using QAbstractTableModel::QAbstractTableModel;

    QList<ColumnaRejilla> columnas;
    QVector<Fila> filas;
    QHash<qint64, int> porId;

    int rowCount(const QModelIndex &padre = QModelIndex()) const override {
        return padre.isValid() ? 0 : int(filas.size());
    }
    int columnCount(const QModelIndex &padre = QModelIndex()) const override {
        return padre.isValid() ? 0 : int(columnas.size());
    }
    QVariant data(const QModelIndex &i, int rol) const override {
        if (!i.isValid())
            return QVariant();
        const Fila &f = filas[i.row()];
        switch (rol) {
        case Qt::DisplayRole:
            return f.textos[i.column()];
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(columnas[i.column()].alineacion);
        case kRolValor:
            return f.valores[i.column()];
        case kRolId:
            return f.id;
        default:
            return QVariant();
        }
    }
    QVariant headerData(int seccion, Qt::Orientation o, int rol) const override {
        if (o == Qt::Horizontal && seccion < columnas.size()) {
            if (rol == Qt::DisplayRole)
                return columnas[seccion].titulo;
            if (rol == Qt::TextAlignmentRole && columnas[seccion].tituloDerecha)
                return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        }
        return QAbstractTableModel::headerData(seccion, o, rol);
    }
    Qt::ItemFlags flags(const QModelIndex &i) const override {
        return i.isValid() ? Qt::ItemIsSelectable | Qt::ItemIsEnabled : Qt::NoItemFlags;
    }

    void setColumnas(const QList<ColumnaRejilla> &nuevas) {
        beginResetModel();
        columnas = nuevas;
        filas.clear();
        porId.clear();
        endResetModel();
    }
    void cargar(QVector<Fila> nuevas) {
        beginResetModel();
        filas = std::move(nuevas);
        porId.clear();
        for (int i = 0; i < filas.size(); ++i)
            porId.insert(filas[i].id, i);
        endResetModel();
    }
};

// ---------------------------------------------------------------------------------------------
// The filter row's texts and the sort keys over the loaded rows.

class RejillaAgrupada::Proxy : public QSortFilterProxyModel {
public:
    explicit Proxy(QObject *padre)
        : QSortFilterProxyModel(padre), m_collator(QLocale(QLocale::Spanish, QLocale::Spain)) {
        m_collator.setCaseSensitivity(Qt::CaseInsensitive);
    }

    QList<QPair<int, Qt::SortOrder>> claves;
    QVector<QString> filtros;

    void refiltrar() { invalidateFilter(); }
    void reordenar() {
        if (claves.isEmpty()) {
            sort(-1);
        } else {
            sort(0);
            invalidate();
        }
        if (columnCount() > 0)
            Q_EMIT headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
    }

    QVariant headerData(int seccion, Qt::Orientation o, int rol) const override {
        if (o == Qt::Horizontal && rol == Qt::DecorationRole) {
            for (const auto &k : claves)
                if (k.first == seccion)
                    return QApplication::style()->standardIcon(
                        k.second == Qt::AscendingOrder ? QStyle::SP_ArrowUp : QStyle::SP_ArrowDown);
            return QVariant();
        }
        return QSortFilterProxyModel::headerData(seccion, o, rol);
    }

protected:
    bool filterAcceptsRow(int fila, const QModelIndex &) const override {
        const Modelo::Fila &f = modelo()->filas[fila];
        for (int c = 0; c < filtros.size() && c < f.textos.size(); ++c)
            if (!filtros[c].isEmpty() && !f.textos[c].contains(filtros[c], Qt::CaseInsensitive))
                return false;
        return true;
    }

    bool lessThan(const QModelIndex &a, const QModelIndex &b) const override {
        const Modelo::Fila &fa = modelo()->filas[a.row()];
        const Modelo::Fila &fb = modelo()->filas[b.row()];
        for (const auto &k : claves) {
            const int d = comparar(fa.valores[k.first], fb.valores[k.first]);
            if (d != 0)
                return k.second == Qt::AscendingOrder ? d < 0 : d > 0;
        }
        return a.row() < b.row();
    }

private:
    const Modelo *modelo() const { return static_cast<const Modelo *>(sourceModel()); }

    // Empty values first; numbers and dates by value, texts in Spanish order ignoring case.
    int comparar(const QVariant &a, const QVariant &b) const {
        if (a.isNull() || b.isNull())
            return int(!a.isNull()) - int(!b.isNull());
        if (esNumero(a) && esNumero(b)) {
            const double x = a.toDouble(), y = b.toDouble();
            return x < y ? -1 : (x > y ? 1 : 0);
        }
        if (a.typeId() == QMetaType::QDate && b.typeId() == QMetaType::QDate) {
            const QDate x = a.toDate(), y = b.toDate();
            return x < y ? -1 : (x > y ? 1 : 0);
        }
        return m_collator.compare(a.toString(), b.toString());
    }

    QCollator m_collator;
};

// ---------------------------------------------------------------------------------------------
// The tree view with the filter row between its header and its rows.

class RejillaAgrupada::Vista : public QTreeView {
public:
    explicit Vista(RejillaAgrupada *rejilla) : QTreeView(rejilla), m_rejilla(rejilla) {}

    bool filtroVisible = true;

    void keyboardSearch(const QString &texto) override { m_rejilla->teclear(texto); }

    void updateGeometries() override {
        QTreeView::updateGeometries();
        if (m_colocando || !m_rejilla->m_filaFiltro)
            return;
        QScopedValueRollback<bool> guarda(m_colocando, true);
        QWidget *fila = m_rejilla->m_filaFiltro;
        fila->setVisible(filtroVisible);
        if (!filtroVisible)
            return;
        const int cabecera = header()->isHidden() ? 0 : header()->height();
        const int alto = alturaFiltro();
        setViewportMargins(0, cabecera + alto, 0, 0);
        const QRect vg = viewport()->geometry();
        fila->setGeometry(vg.left(), vg.top() - alto, vg.width(), alto);
        m_rejilla->colocarFiltros();
    }

protected:
    void scrollContentsBy(int dx, int dy) override {
        QTreeView::scrollContentsBy(dx, dy);
        if (dx != 0)
            m_rejilla->colocarFiltros();
    }

private:
    int alturaFiltro() const {
        if (m_alto == 0)
            m_alto = QLineEdit().sizeHint().height();
        return m_alto;
    }

    RejillaAgrupada *m_rejilla;
    bool m_colocando = false;
    mutable int m_alto = 0;
};

// ---------------------------------------------------------------------------------------------

RejillaAgrupada::RejillaAgrupada(QWidget *parent) : QWidget(parent) {
    m_modelo = new Modelo(this);
    m_proxy = new Proxy(this);
    m_proxy->setSourceModel(m_modelo);

    m_vista = new Vista(this);
    m_vista->setObjectName(QStringLiteral("Vista"));
    m_vista->setModel(m_proxy);
    m_vista->setRootIsDecorated(false);
    m_vista->setItemsExpandable(false);
    m_vista->setUniformRowHeights(true);
    m_vista->setAllColumnsShowFocus(true);
    m_vista->setSelectionMode(QAbstractItemView::SingleSelection);
    m_vista->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_vista->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_vista->setSortingEnabled(false);
    m_vista->setContextMenuPolicy(Qt::CustomContextMenu);

    QHeaderView *cabecera = m_vista->header();
    cabecera->setSectionsMovable(true);
    cabecera->setSectionsClickable(true);
    cabecera->setSortIndicatorShown(false);
    cabecera->setStretchLastSection(false);
    cabecera->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    m_filaFiltro = new QWidget(m_vista);
    m_filaFiltro->setObjectName(QStringLiteral("FilaFiltro"));

    m_capa = new QVBoxLayout(this);
    m_capa->setContentsMargins(0, 0, 0, 0);
    m_capa->setSpacing(0);
    m_capa->addWidget(m_vista);

    connect(cabecera, &QHeaderView::sectionClicked, this, [this](int c) {
        if (c >= 0 && c < m_modelo->columnas.size())
            pulsarTitulo(m_modelo->columnas[c].campo, QApplication::keyboardModifiers());
    });
    connect(cabecera, &QHeaderView::sectionResized, this, [this] { colocarFiltros(); });
    connect(cabecera, &QHeaderView::sectionMoved, this, [this] { colocarFiltros(); });
    connect(m_vista->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &actual) { alCambiarFila(actual); });
    connect(m_vista, &QWidget::customContextMenuRequested, this, [this](const QPoint &p) {
        if (m_menu)
            m_menu->popup(m_vista->viewport()->mapToGlobal(p));
    });

    m_errores = [](const StoreError &e) { msError(e.message()); };
}

RejillaAgrupada::~RejillaAgrupada() {
    for (const auto &c : std::as_const(m_conexiones))
        disconnect(c);
}

QTreeView *RejillaAgrupada::vista() const {
    return m_vista;
}

const QList<ColumnaRejilla> &RejillaAgrupada::columnas() const {
    return m_modelo->columnas;
}

int RejillaAgrupada::columna(const QString &campo) const {
    for (int i = 0; i < m_modelo->columnas.size(); ++i)
        if (m_modelo->columnas[i].campo.compare(campo, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

void RejillaAgrupada::setColumnas(const QList<ColumnaRejilla> &columnas) {
    m_proxy->claves.clear();
    m_proxy->filtros = QVector<QString>(columnas.size());
    m_modelo->setColumnas(columnas);
    qDeleteAll(m_cajas);
    m_cajas.clear();
    m_anchoOculto.clear();

    QHeaderView *cabecera = m_vista->header();
    for (int c = 0; c < columnas.size(); ++c) {
        cabecera->moveSection(cabecera->visualIndex(c), c);
        cabecera->resizeSection(c, columnas[c].ancho);
        m_vista->setColumnHidden(c, columnas[c].oculta);
        if (columnas[c].oculta)
            m_anchoOculto.insert(c, columnas[c].ancho);

        auto *caja = new QLineEdit(m_filaFiltro);
        caja->setObjectName(QStringLiteral("Filtro") + columnas[c].campo);
        caja->setClearButtonEnabled(true);
        connect(caja, &QLineEdit::textChanged, this, [this, c](const QString &texto) {
            m_proxy->filtros[c] = texto;
            m_proxy->refiltrar();
            // The data set follows the grid onto a row that is still shown.
            if (filaDeId(idActualDataSet()) < 0 && filas() > 0)
                setFilaActual(0);
            else
                seguirDataSet();
        });
        m_cajas << caja;
    }
    m_proxy->reordenar();
    m_vista->updateGeometries();
    recargar();
}

// ---------------------------------------------------------------------------------------------
// The data set

void RejillaAgrupada::setDataSet(DataSet *dataSet) {
    for (const auto &c : std::as_const(m_conexiones))
        disconnect(c);
    m_conexiones.clear();
    m_dataSet = dataSet;
    if (dataSet)
        conectarDataSet();
    recargar();
}

DataSet *RejillaAgrupada::dataSet() const {
    return m_dataSet;
}

void RejillaAgrupada::conectarDataSet() {
    DataSet *ds = m_dataSet;
    auto recarga = [this] { recargar(); };
    m_conexiones << connect(ds, &DataSet::afterOpen, this, recarga)
                 << connect(ds, &DataSet::afterPost, this, recarga)
                 << connect(ds, &DataSet::afterDelete, this, recarga)
                 << connect(ds, &DataSet::afterClose, this, [this] { m_modelo->cargar({}); })
                 << connect(ds, &DataSet::afterScroll, this, [this] { seguirDataSet(); })
                 << connect(ds, &DataSet::controlsEnabled, this, [this] { seguirDataSet(); })
                 << connect(ds, &DataSet::stateChanged, this, [this] {
                        if (m_pendiente && m_dataSet && !m_dataSet->isEditing())
                            recargar();
                    });
}

qint64 RejillaAgrupada::idActualDataSet() const {
    if (!m_dataSet || !m_dataSet->isActive())
        return 0;
    if (auto *tabla = qobject_cast<Table *>(m_dataSet.data()))
        return tabla->rowId();
    return m_dataSet->recNo();
}

void RejillaAgrupada::recargar() {
    DataSet *ds = m_dataSet;
    if (!ds || !ds->isActive()) {
        m_pendiente = false;
        m_modelo->cargar({});
        return;
    }
    // Walking the records would post the edit under way.
    if (ds->isEditing()) {
        m_pendiente = true;
        return;
    }
    m_pendiente = false;
    auto *tabla = qobject_cast<Table *>(ds);
    const qint64 actual = idActualDataSet();
    const QList<ColumnaRejilla> &columnas = m_modelo->columnas;
    QVector<bool> presente(columnas.size());
    QVector<FieldType> tipos(columnas.size(), FieldType::Text);
    for (int c = 0; c < columnas.size(); ++c) {
        presente[c] = ds->hasField(columnas[c].campo);
        if (presente[c])
            tipos[c] = ds->fieldInfo(columnas[c].campo).type;
    }

    QVector<Modelo::Fila> filas;
    {
        QScopedValueRollback<bool> cargando(m_cargando, true);
        ds->disableControls();
        try {
            qint64 posicion = 0;
            for (ds->first(); !ds->eof(); ds->next()) {
                Modelo::Fila f;
                f.id = tabla ? tabla->rowId() : ++posicion;
                f.valores.reserve(columnas.size());
                f.textos.reserve(columnas.size());
                for (int c = 0; c < columnas.size(); ++c) {
                    const QVariant v = presente[c] ? ds->value(columnas[c].campo) : QVariant();
                    f.valores << v;
                    f.textos << textoCampo(v, tipos[c], columnas[c].formato);
                }
                filas << f;
            }
            if (tabla && actual != 0) {
                tabla->gotoRowId(actual);
            } else if (!tabla) {
                ds->first();
                ds->moveBy(int(actual) - 1);
            }
        } catch (const StoreError &e) {
            ds->enableControls();
            if (m_errores)
                m_errores(e);
            return;
        }
        ds->enableControls();
    }
    m_modelo->cargar(std::move(filas));
    seguirDataSet();
}

int RejillaAgrupada::primeraVisible() const {
    const QHeaderView *cabecera = m_vista->header();
    for (int v = 0; v < cabecera->count(); ++v)
        if (!cabecera->isSectionHidden(cabecera->logicalIndex(v)))
            return cabecera->logicalIndex(v);
    return -1;
}

int RejillaAgrupada::filaDeId(qint64 id) const {
    const auto it = m_modelo->porId.constFind(id);
    if (it == m_modelo->porId.constEnd())
        return -1;
    return m_proxy->mapFromSource(m_modelo->index(*it, 0)).row();
}

void RejillaAgrupada::seguirDataSet() {
    if (m_cargando || !m_dataSet || m_dataSet->controlsDisabled())
        return;
    QScopedValueRollback<bool> siguiendo(m_siguiendo, true);
    QItemSelectionModel *seleccion = m_vista->selectionModel();
    const int fila = filaDeId(idActualDataSet());
    if (fila < 0) {
        seleccion->clear();
        return;
    }
    int columna = m_vista->currentIndex().column();
    if (columna < 0 || m_vista->isColumnHidden(columna))
        columna = primeraVisible();
    const QModelIndex i = m_proxy->index(fila, qMax(columna, 0));
    seleccion->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_vista->scrollTo(i);
}

void RejillaAgrupada::alCambiarFila(const QModelIndex &actual) {
    if (m_siguiendo || m_cargando || !actual.isValid())
        return;
    moverDataSet(actual.data(kRolId).toLongLong());
}

void RejillaAgrupada::moverDataSet(qint64 id) {
    DataSet *ds = m_dataSet;
    if (!ds || !ds->isActive() || id == idActualDataSet())
        return;
    try {
        if (auto *tabla = qobject_cast<Table *>(ds)) {
            tabla->gotoRowId(id);
        } else {
            ds->first();
            ds->moveBy(int(id) - 1);
        }
    } catch (const StoreError &e) {
        if (m_errores)
            m_errores(e);
    }
    seguirDataSet();
}

// ---------------------------------------------------------------------------------------------
// Rows

int RejillaAgrupada::filas() const {
    return m_proxy->rowCount();
}

int RejillaAgrupada::filasCargadas() const {
    return int(m_modelo->filas.size());
}

QVariant RejillaAgrupada::valor(int fila, const QString &campo) const {
    const int c = columna(campo);
    if (c < 0 || fila < 0 || fila >= filas())
        return QVariant();
    return m_proxy->index(fila, c).data(kRolValor);
}

QString RejillaAgrupada::texto(int fila, const QString &campo) const {
    const int c = columna(campo);
    if (c < 0 || fila < 0 || fila >= filas())
        return QString();
    return m_proxy->index(fila, c).data().toString();
}

int RejillaAgrupada::filaActual() const {
    const QModelIndex i = m_vista->currentIndex();
    return i.isValid() ? i.row() : -1;
}

void RejillaAgrupada::setFilaActual(int fila) {
    if (fila < 0 || fila >= filas())
        return;
    const int c = qMax(m_vista->currentIndex().column(), 0);
    const QModelIndex i = m_proxy->index(fila, c);
    m_vista->selectionModel()->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect |
                                                      QItemSelectionModel::Rows);
    m_vista->scrollTo(i);
    moverDataSet(i.data(kRolId).toLongLong());
}

QString RejillaAgrupada::columnaActual() const {
    const int c = m_vista->currentIndex().column();
    return c >= 0 && c < m_modelo->columnas.size() ? m_modelo->columnas[c].campo : QString();
}

void RejillaAgrupada::setColumnaActual(const QString &campo) {
    const int c = columna(campo);
    const int fila = filaActual();
    if (c < 0 || fila < 0)
        return;
    QScopedValueRollback<bool> siguiendo(m_siguiendo, true);
    m_vista->selectionModel()->setCurrentIndex(m_proxy->index(fila, c),
                                               QItemSelectionModel::NoUpdate);
}

// ---------------------------------------------------------------------------------------------
// Sorting

QList<ClaveOrden> RejillaAgrupada::ordenacion() const {
    QList<ClaveOrden> out;
    for (const auto &k : m_proxy->claves)
        out << ClaveOrden{m_modelo->columnas[k.first].campo, k.second};
    return out;
}

void RejillaAgrupada::setOrdenacion(const QList<ClaveOrden> &claves) {
    m_proxy->claves.clear();
    for (const ClaveOrden &k : claves) {
        const int c = columna(k.campo);
        bool repetida = false;
        for (const auto &ya : std::as_const(m_proxy->claves))
            repetida = repetida || ya.first == c;
        if (c >= 0 && !repetida)
            m_proxy->claves << qMakePair(c, k.orden);
    }
    m_proxy->reordenar();
    seguirDataSet();
}

void RejillaAgrupada::pulsarTitulo(const QString &campo, Qt::KeyboardModifiers modificadores) {
    QList<ClaveOrden> claves = ordenacion();
    int i = -1;
    for (int k = 0; k < claves.size(); ++k)
        if (claves[k].campo.compare(campo, Qt::CaseInsensitive) == 0)
            i = k;
    auto inversa = [](Qt::SortOrder o) {
        return o == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder;
    };
    if (modificadores & (Qt::ControlModifier | Qt::ShiftModifier)) {
        if (i >= 0)
            claves[i].orden = inversa(claves[i].orden);
        else
            claves << ClaveOrden{campo, Qt::AscendingOrder};
    } else {
        const Qt::SortOrder orden = i >= 0 ? inversa(claves[i].orden) : Qt::AscendingOrder;
        claves = {ClaveOrden{campo, orden}};
    }
    setOrdenacion(claves);
}

// ---------------------------------------------------------------------------------------------
// Filter row

void RejillaAgrupada::setFilaFiltroVisible(bool visible) {
    if (!visible)
        quitarFiltros();
    m_vista->filtroVisible = visible;
    m_vista->updateGeometries();
}

bool RejillaAgrupada::filaFiltroVisible() const {
    return m_vista->filtroVisible;
}

QLineEdit *RejillaAgrupada::cajaFiltro(const QString &campo) const {
    const int c = columna(campo);
    return c >= 0 ? m_cajas[c] : nullptr;
}

void RejillaAgrupada::setFiltro(const QString &campo, const QString &texto) {
    if (QLineEdit *caja = cajaFiltro(campo))
        caja->setText(texto);
}

QString RejillaAgrupada::filtro(const QString &campo) const {
    const int c = columna(campo);
    return c >= 0 ? m_proxy->filtros[c] : QString();
}

void RejillaAgrupada::quitarFiltros() {
    for (QLineEdit *caja : std::as_const(m_cajas))
        caja->clear();
}

void RejillaAgrupada::colocarFiltros() {
    const QHeaderView *cabecera = m_vista->header();
    const int alto = m_filaFiltro->height();
    for (int c = 0; c < m_cajas.size(); ++c) {
        QLineEdit *caja = m_cajas[c];
        if (m_vista->isColumnHidden(c)) {
            caja->hide();
            continue;
        }
        caja->setGeometry(cabecera->sectionViewportPosition(c), 0, cabecera->sectionSize(c), alto);
        caja->show();
    }
}

// ---------------------------------------------------------------------------------------------
// Incremental search

void RejillaAgrupada::teclear(const QString &texto) {
    if (!m_relojBusqueda.isValid() ||
        m_relojBusqueda.elapsed() > QApplication::keyboardInputInterval())
        m_buscado.clear();
    m_relojBusqueda.start();
    if (buscar(m_buscado + texto))
        m_buscado += texto;
}

bool RejillaAgrupada::buscar(const QString &texto) {
    if (texto.isEmpty())
        return false;
    int c = m_vista->currentIndex().column();
    if (c < 0 || m_vista->isColumnHidden(c))
        c = primeraVisible();
    if (c < 0)
        return false;
    for (int fila = 0; fila < filas(); ++fila) {
        if (m_proxy->index(fila, c).data().toString().startsWith(texto, Qt::CaseInsensitive)) {
            const QModelIndex i = m_proxy->index(fila, c);
            m_vista->selectionModel()->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect |
                                                              QItemSelectionModel::Rows);
            m_vista->scrollTo(i);
            moverDataSet(i.data(kRolId).toLongLong());
            return true;
        }
    }
    return false;
}

// ---------------------------------------------------------------------------------------------
// Columns

QStringList RejillaAgrupada::ordenColumnas() const {
    QStringList out;
    const QHeaderView *cabecera = m_vista->header();
    for (int v = 0; v < cabecera->count(); ++v)
        out << m_modelo->columnas[cabecera->logicalIndex(v)].campo;
    return out;
}

void RejillaAgrupada::moverColumna(const QString &campo, int posicion) {
    const int c = columna(campo);
    QHeaderView *cabecera = m_vista->header();
    if (c < 0 || posicion < 0 || posicion >= cabecera->count())
        return;
    cabecera->moveSection(cabecera->visualIndex(c), posicion);
}

void RejillaAgrupada::setColumnaOculta(const QString &campo, bool oculta) {
    const int c = columna(campo);
    if (c < 0 || m_vista->isColumnHidden(c) == oculta)
        return;
    if (oculta) {
        m_anchoOculto.insert(c, m_vista->header()->sectionSize(c));
        m_cajas[c]->clear();
        m_vista->setColumnHidden(c, true);
    } else {
        m_vista->setColumnHidden(c, false);
        m_vista->header()->resizeSection(c, m_anchoOculto.take(c));
    }
    colocarFiltros();
}

bool RejillaAgrupada::columnaOculta(const QString &campo) const {
    const int c = columna(campo);
    return c >= 0 && m_vista->isColumnHidden(c);
}

int RejillaAgrupada::anchoColumna(const QString &campo) const {
    const int c = columna(campo);
    if (c < 0)
        return 0;
    if (m_vista->isColumnHidden(c))
        return m_anchoOculto.value(c, m_modelo->columnas[c].ancho);
    return m_vista->header()->sectionSize(c);
}

void RejillaAgrupada::setAnchoColumna(const QString &campo, int ancho) {
    const int c = columna(campo);
    if (c < 0 || ancho <= 0)
        return;
    if (m_vista->isColumnHidden(c))
        m_anchoOculto.insert(c, ancho);
    else
        m_vista->header()->resizeSection(c, ancho);
}

// ---------------------------------------------------------------------------------------------
// Layout storage

void RejillaAgrupada::guardarDiseno(const QString &ficheroIni) const {
    IniFile ini(ficheroIni);
    const QString seccion = seccionDiseno();
    ini.eraseSection(seccion);
    ini.writeString(seccion, kClaveColumnas, ordenColumnas().join(QLatin1Char(',')));
    for (const ColumnaRejilla &c : m_modelo->columnas) {
        ini.writeInteger(seccion, claveAncho(c.campo), anchoColumna(c.campo));
        ini.writeBool(seccion, claveOculta(c.campo), columnaOculta(c.campo));
    }
    QStringList claves;
    for (const ClaveOrden &k : ordenacion())
        claves << k.campo +
                      (k.orden == Qt::AscendingOrder ? QStringLiteral(":A") : QStringLiteral(":D"));
    ini.writeString(seccion, kClaveOrdenacion, claves.join(QLatin1Char(',')));
}

void RejillaAgrupada::restaurarDiseno(const QString &ficheroIni) {
    const IniFile ini(ficheroIni);
    const QString seccion = seccionDiseno();
    if (!ini.sectionExists(seccion))
        return;
    int posicion = 0;
    const QStringList orden = ini.readString(seccion, kClaveColumnas, QString())
                                  .split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (const QString &campo : orden)
        if (columna(campo.trimmed()) >= 0)
            moverColumna(campo.trimmed(), posicion++);
    for (const ColumnaRejilla &c : std::as_const(m_modelo->columnas)) {
        setColumnaOculta(c.campo,
                         ini.readBool(seccion, claveOculta(c.campo), columnaOculta(c.campo)));
        setAnchoColumna(c.campo,
                        ini.readInteger(seccion, claveAncho(c.campo), anchoColumna(c.campo)));
    }
    if (ini.keyExists(seccion, kClaveOrdenacion)) {
        QList<ClaveOrden> claves;
        const QStringList textos = ini.readString(seccion, kClaveOrdenacion, QString())
                                       .split(QLatin1Char(','), Qt::SkipEmptyParts);
        for (const QString &t : textos) {
            const QString campo = t.section(QLatin1Char(':'), 0, 0).trimmed();
            const bool descendente = t.section(QLatin1Char(':'), 1)
                                         .trimmed()
                                         .compare(QStringLiteral("D"), Qt::CaseInsensitive) == 0;
            claves << ClaveOrden{campo, descendente ? Qt::DescendingOrder : Qt::AscendingOrder};
        }
        setOrdenacion(claves);
    }
    colocarFiltros();
}

// ---------------------------------------------------------------------------------------------

void RejillaAgrupada::setMenuContextual(QMenu *menu) {
    m_menu = menu;
}

void RejillaAgrupada::setManejadorErrores(std::function<void(const StoreError &)> manejador) {
    m_errores = std::move(manejador);
}
