#include "common/RejillaEdicion.h"

#include "app/IniFile.h"
#include "app/Programa.h"

#include "app/Mensajes.h"
#include "common/ControlesDatos.h"
#include "common/TextoCampo.h"
#include "store/DataSource.h"
#include "store/Statement.h"
#include "store/StoreError.h"
#include "store/Table.h"

#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

namespace {

// Editors of the lines grid: drop-downs for columns that offer values, and amounts where "."
// becomes the decimal comma.
class Delegado : public QStyledItemDelegate {
public:
    Delegado(const QList<ColumnaEdicion> &columnas, QObject *parent)
        : QStyledItemDelegate(parent), m_columnas(columnas) {}

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override {
        const ColumnaEdicion &c = m_columnas[index.column()];
        if (c.opciones) {
            auto *combo = new QComboBox(parent);
            combo->setEditable(!c.soloLista);
            combo->addItems(c.opciones());
            return combo;
        }
        QWidget *w = QStyledItemDelegate::createEditor(parent, option, index);
        if (c.decimal)
            w->installEventFilter(const_cast<Delegado *>(this));
        return w;
    }

    void setEditorData(QWidget *editor, const QModelIndex &index) const override {
        if (auto *combo = qobject_cast<QComboBox *>(editor)) {
            combo->setCurrentText(index.data(Qt::EditRole).toString());
            return;
        }
        QStyledItemDelegate::setEditorData(editor, index);
    }

    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override {
        if (auto *combo = qobject_cast<QComboBox *>(editor)) {
            model->setData(index, combo->currentText(), Qt::EditRole);
            return;
        }
        QStyledItemDelegate::setModelData(editor, model, index);
    }

protected:
    bool eventFilter(QObject *obj, QEvent *e) override {
        if (e->type() == QEvent::KeyPress) {
            auto *k = static_cast<QKeyEvent *>(e);
            if (k->text() == QLatin1String(".")) {
                if (auto *caja = qobject_cast<QLineEdit *>(obj)) {
                    caja->insert(QStringLiteral(","));
                    return true;
                }
            }
        }
        return QStyledItemDelegate::eventFilter(obj, e);
    }

private:
    QList<ColumnaEdicion> m_columnas;
};

} // namespace

// ---------------------------------------------------------------------------------------------
ModeloEdicion::ModeloEdicion(Table *tabla, const QList<ColumnaEdicion> &columnas, QObject *parent)
    : QAbstractTableModel(parent), m_tabla(tabla), m_columnas(columnas) {
    connect(tabla, &DataSet::afterOpen, this, &ModeloEdicion::recargar);
    connect(tabla, &DataSet::afterClose, this, &ModeloEdicion::recargar);
    connect(tabla, &DataSet::afterRefresh, this, &ModeloEdicion::recargar);
    connect(tabla, &DataSet::stateChanged, this, [this] {
        if (m_insertando != (m_tabla->state() == DataSet::Insert))
            recargar();
    });
    recargar();
}

void ModeloEdicion::recargar() {
    beginResetModel();
    m_ids.clear();
    m_valores.clear();
    m_insertando = m_tabla && m_tabla->state() == DataSet::Insert;
    if (m_tabla && m_tabla->isActive()) {
        m_ids = m_tabla->rowIds();
        QStringList campos;
        for (const ColumnaEdicion &c : m_columnas)
            campos << c.campo;
        m_valores = m_tabla->readRows(m_ids, campos);
    }
    endResetModel();
}

bool ModeloEdicion::esNueva(int fila) const {
    return m_insertando && fila == m_ids.size();
}

int ModeloEdicion::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(m_ids.size()) + (m_insertando ? 1 : 0);
}

int ModeloEdicion::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(m_columnas.size());
}

QVariant ModeloEdicion::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || !m_tabla || !m_tabla->isActive())
        return QVariant();
    const ColumnaEdicion &c = m_columnas[index.column()];
    const FieldDef *f = m_tabla->def().field(c.campo);
    const FieldType tipo = f ? f->type : FieldType::Text;
    if (role == Qt::TextAlignmentRole)
        return int((f && f->isNumeric() ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return QVariant();
    QVariant valor;
    if (esNueva(index.row()))
        valor = m_tabla->value(c.campo);
    else
        valor =
            Statement::fromStorage(m_valores.value(m_ids[index.row()]).value(index.column()), tipo);
    return textoCampo(valor, tipo, role == Qt::DisplayRole ? c.formato : QString());
}

Qt::ItemFlags ModeloEdicion::flags(const QModelIndex &index) const {
    return QAbstractTableModel::flags(index) | Qt::ItemIsEditable;
}

QVariant ModeloEdicion::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section < m_columnas.size())
        return m_columnas[section].titulo;
    return QAbstractTableModel::headerData(section, orientation, role);
}

bool ModeloEdicion::setData(const QModelIndex &index, const QVariant &value, int role) {
    if (role != Qt::EditRole || !m_tabla || !m_tabla->isActive())
        return false;
    const QString campo = m_columnas[index.column()].campo;
    const QVariant valor = value.toString().trimmed().isEmpty() ? QVariant() : value;
    try {
        if (esNueva(index.row())) {
            m_tabla->setValue(campo, valor);
            Q_EMIT dataChanged(index, index);
            return true;
        }
        // An existing line is stored as soon as one of its cells changes.
        if (m_tabla->state() == DataSet::Insert)
            m_tabla->post();
        m_tabla->gotoRowId(m_ids.value(index.row()));
        m_tabla->edit();
        m_tabla->setValue(campo, valor);
        m_tabla->post();
        return true;
    } catch (const StoreError &e) {
        if (m_tabla->state() == DataSet::Edit)
            m_tabla->cancel();
        msError(e.message());
        return false;
    }
}

// ---------------------------------------------------------------------------------------------
RejillaEdicion::RejillaEdicion(const QString &titulo, Table *tabla,
                               const QList<ColumnaEdicion> &columnas,
                               const QStringList &ayudasNavegador, QWidget *parent)
    : QWidget(parent), m_tabla(tabla) {
    m_modelo = new ModeloEdicion(tabla, columnas, this);
    auto *fuente = new DataSource(tabla, this);
    m_navegador = new Navegador(fuente,
                                {Navegador::Primero, Navegador::Anterior, Navegador::Siguiente,
                                 Navegador::Ultimo, Navegador::Insertar, Navegador::Borrar,
                                 Navegador::Validar, Navegador::Cancelar},
                                ayudasNavegador, this);
    m_navegador->setAccion(Navegador::Insertar, [this] { anadir(); });
    m_navegador->setAccion(Navegador::Borrar, [this] { eliminar(); });
    m_navegador->setAccion(Navegador::Validar, [this] { grabar(); });
    m_vista = new QTableView(this);
    m_vista->setModel(m_modelo);
    m_vista->setItemDelegate(new Delegado(columnas, m_vista));
    m_vista->verticalHeader()->hide();
    m_vista->verticalHeader()->setDefaultSectionSize(m_vista->fontMetrics().height() + 6);
    m_vista->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_vista->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                             QAbstractItemView::AnyKeyPressed);
    for (int i = 0; i < columnas.size(); ++i)
        m_vista->setColumnWidth(i, columnas[i].ancho);
    m_vista->installEventFilter(this);
    // Moving to another line stores the one being added; the table follows the selected line.
    connect(m_vista->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &actual, const QModelIndex &previa) {
                if (previa.isValid() && m_modelo->esNueva(previa.row()) &&
                    actual.row() != previa.row()) {
                    grabar();
                    return;
                }
                if (actual.isValid() && !m_modelo->esNueva(actual.row()) && !m_tabla->isEditing())
                    m_tabla->gotoRowId(m_modelo->rowIdDe(actual.row()));
            });
    auto *etiqueta = new QLabel(titulo, this);
    etiqueta->setBuddy(m_vista);
    auto *arriba = new QHBoxLayout;
    arriba->addWidget(etiqueta);
    arriba->addStretch();
    arriba->addWidget(m_navegador);
    auto *capa = new QVBoxLayout(this);
    capa->setContentsMargins(0, 0, 0, 0);
    capa->addLayout(arriba);
    capa->addWidget(m_vista, 1);
}

void RejillaEdicion::usarAnchosDe(const QString &seccion) {
    m_seccionAnchos = seccion;
    const IniFile ini(Programa::ficheroIni());
    const QList<ColumnaEdicion> &columnas = m_modelo->columnas();
    for (int i = 0; i < columnas.size(); ++i)
        m_vista->setColumnWidth(
            i, ini.readInteger(seccion, columnas[i].campo, m_vista->columnWidth(i)));
}

void RejillaEdicion::guardarAnchos() const {
    if (m_seccionAnchos.isEmpty())
        return;
    IniFile ini(Programa::ficheroIni());
    const QList<ColumnaEdicion> &columnas = m_modelo->columnas();
    for (int i = 0; i < columnas.size(); ++i)
        ini.writeInteger(m_seccionAnchos, columnas[i].campo, m_vista->columnWidth(i));
}

void RejillaEdicion::anadir() {
    if (!grabar())
        return;
    if (antesDeAnadir && !antesDeAnadir())
        return;
    try {
        m_tabla->append();
        if (alAnadir)
            alAnadir();
        m_tabla->markUnmodified();
    } catch (const StoreError &e) {
        msError(e.message());
        return;
    }
    const int fila = m_modelo->rowCount() - 1;
    m_vista->setFocus();
    m_vista->setCurrentIndex(m_modelo->index(fila, 0));
}

bool RejillaEdicion::grabar() {
    if (!m_tabla->isEditing())
        return true;
    // A line added and left untouched is dropped, not stored empty.
    if (m_tabla->state() == DataSet::Insert && !m_tabla->isModified()) {
        m_tabla->cancel();
        return true;
    }
    try {
        m_tabla->post();
        return true;
    } catch (const StoreError &e) {
        msError(e.message());
        return false;
    }
}

void RejillaEdicion::eliminar() {
    if (m_tabla->state() == DataSet::Insert) {
        m_tabla->cancel();
        return;
    }
    const QModelIndex actual = m_vista->currentIndex();
    if (!actual.isValid())
        return;
    try {
        m_tabla->gotoRowId(m_modelo->rowIdDe(actual.row()));
        m_tabla->remove();
    } catch (const StoreError &e) {
        msError(e.message());
    }
}

bool RejillaEdicion::eventFilter(QObject *obj, QEvent *e) {
    if (obj == m_vista && e->type() == QEvent::FocusIn && alEntrar)
        alEntrar();
    // Moving down past the last line adds one.
    if (obj == m_vista && e->type() == QEvent::KeyPress) {
        const auto *k = static_cast<QKeyEvent *>(e);
        const int fila = m_vista->currentIndex().row();
        const int ultima = m_modelo->rowCount() - 1;
        if (k->key() == Qt::Key_Down && k->modifiers() == Qt::NoModifier && fila == ultima &&
            (ultima < 0 || !m_modelo->esNueva(ultima))) {
            anadir();
            return true;
        }
    }
    return QWidget::eventFilter(obj, e);
}
