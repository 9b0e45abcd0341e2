#include "common/TFormSeleccion.h"

#include "app/Configuracion.h"
#include "app/Mensajes.h"
#include "common/ModeloDatos.h"
#include "store/StoreError.h"
#include "store/TDatos.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
struct Orden {
    const char *titulo;
    const char *campo;
    const char *etiqueta;
};
// The orders of the truck list, in the order of the radio buttons.
const Orden kOrdenesCamiones[3] = {
    {"&Matricula", "Matricula", "&Buscar por matrícula"},
    {"Tipo", "Tipo", "&Buscar por tipo"},
    {"Descripcion", "Descripcion", "&Buscar por descripción"},
};

class CursorEspera {
public:
    CursorEspera() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~CursorEspera() { QApplication::restoreOverrideCursor(); }
};
} // namespace

TFormSeleccion::TFormSeleccion(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormSeleccion"));
    setWindowTitle(QStringLiteral("Selección de clave..."));

    m_barra = new QToolBar(this);
    m_barra->setObjectName(QStringLiteral("BarraBotones"));
    m_etiquetaBuscar = new QLabel(QStringLiteral("&Buscar"), this);
    m_etiquetaBuscar->setObjectName(QStringLiteral("LabelBuscar"));
    m_buscar = new QLineEdit(this);
    m_buscar->setObjectName(QStringLiteral("TxtBuscar"));
    m_etiquetaBuscar->setBuddy(m_buscar);
    m_ordenes = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        m_orden[i] = new QRadioButton(this);
        m_orden[i]->setObjectName(QStringLiteral("Orden%1").arg(i + 1));
        m_orden[i]->setVisible(false);
        m_ordenes->addButton(m_orden[i], i);
    }
    m_orden[0]->setChecked(true);
    m_lista = new QTableView(this);
    m_lista->setObjectName(QStringLiteral("Lista"));
    const QString ayudaLista = QStringLiteral(
        "Pulse las teclas de cursor (arriba o abajo) manteniendo pulsada la tecla de mayúsculas");
    m_lista->setToolTip(ayudaLista);
    m_lista->setStatusTip(ayudaLista);
    m_lista->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_lista->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_lista->setSelectionMode(QAbstractItemView::SingleSelection);
    m_lista->verticalHeader()->hide();
    m_lista->horizontalHeader()->setStretchLastSection(true);

    m_query = new Query(nullptr, this);
    m_query->setObjectName(QStringLiteral("Consulta"));
    m_modelo = new ModeloDatos(m_query,
                               {{QStringLiteral("Matricula"), QStringLiteral("Matricula"), 10},
                                {QStringLiteral("Tipo"), QStringLiteral("Tipo"), 8},
                                {QStringLiteral("Descripcion"), QStringLiteral("Descripcion"), 25}},
                               this);
    m_lista->setModel(m_modelo);

    auto *capa = new QVBoxLayout(this);
    capa->setContentsMargins(0, 0, 0, 0);
    capa->addWidget(m_barra);
    auto *cuerpo = new QVBoxLayout;
    cuerpo->setContentsMargins(6, 6, 6, 6);
    auto *linea = new QHBoxLayout;
    linea->addWidget(m_etiquetaBuscar);
    linea->addWidget(m_buscar, 1);
    cuerpo->addLayout(linea);
    auto *radios = new QHBoxLayout;
    for (QRadioButton *r : m_orden)
        radios->addWidget(r);
    radios->addStretch();
    cuerpo->addLayout(radios);
    cuerpo->addWidget(m_lista, 1);
    capa->addLayout(cuerpo);

    const QList<QAction *> orden{
        crearAccion("ActSeleccionar", QStringLiteral("Seleccionar"),
                    QStringLiteral("Selecciona el elemento actual"),
                    QKeySequence(Qt::CTRL | Qt::Key_P)),
        crearAccion("ActNuevo", QStringLiteral("Nuevo"), QStringLiteral("Nuevo"),
                    QKeySequence(Qt::CTRL | Qt::Key_A)),
        crearAccion("ActRefrescar", QStringLiteral("Refrescar"), QStringLiteral("Refrescar datos"),
                    QKeySequence(Qt::CTRL | Qt::Key_R)),
        nullptr,
        crearAccion("ActCerrar", QStringLiteral("Salir"), QStringLiteral("Salir"),
                    QKeySequence(Qt::CTRL | Qt::Key_S)),
    };
    // The dialog holds the actions too, so that their keys work while the tool bar is hidden,
    // and shows them, separators included, as its context menu.
    for (QAction *a : orden) {
        if (!a) {
            m_barra->addSeparator();
            auto *separador = new QAction(this);
            separador->setSeparator(true);
            addAction(separador);
            continue;
        }
        m_barra->addAction(a);
        addAction(a);
    }
    setContextMenuPolicy(Qt::ActionsContextMenu);

    connect(accion(QStringLiteral("ActSeleccionar")), &QAction::triggered, this,
            &TFormSeleccion::seleccionar);
    connect(accion(QStringLiteral("ActNuevo")), &QAction::triggered, this, &TFormSeleccion::cargar);
    connect(accion(QStringLiteral("ActRefrescar")), &QAction::triggered, this,
            &TFormSeleccion::cargar);
    connect(accion(QStringLiteral("ActCerrar")), &QAction::triggered, this,
            &TFormSeleccion::reject);
    connect(m_ordenes, &QButtonGroup::idClicked, this, &TFormSeleccion::cargar);
    connect(m_buscar, &QLineEdit::textChanged, this, &TFormSeleccion::buscar);
    connect(m_lista, &QAbstractItemView::doubleClicked, this, &TFormSeleccion::seleccionar);
    m_buscar->installEventFilter(this);
    m_lista->installEventFilter(this);
}

TFormSeleccion::~TFormSeleccion() = default;

QAction *TFormSeleccion::crearAccion(const char *nombre, const QString &texto, const QString &ayuda,
                                     const QKeySequence &tecla) {
    auto *a = new QAction(texto, this);
    a->setObjectName(QString::fromLatin1(nombre));
    a->setToolTip(ayuda);
    a->setStatusTip(ayuda);
    a->setShortcut(tecla);
    return a;
}

QAction *TFormSeleccion::accion(const QString &nombre) const {
    return findChild<QAction *>(nombre, Qt::FindDirectChildrenOnly);
}

void TFormSeleccion::showEvent(QShowEvent *e) {
    aplicarAjustes();
    ValoresPrincipales::instancia()->valorSeleccionado.clear();
    cargar();
    QDialog::showEvent(e);
}

void TFormSeleccion::aplicarAjustes() {
    const AjustesEmpresa &ajustes = ValoresPrincipales::instancia()->ajustes;
    m_barra->setVisible(ajustes.mostrarBBEnVentanas == 1);
    for (QAction *a : m_barra->actions()) {
        if (auto *boton = qobject_cast<QToolButton *>(m_barra->widgetForAction(a)))
            boton->setAutoRaise(ajustes.flat == 1);
    }
}

void TFormSeleccion::cargar() {
    if (m_tipo == kCamiones) {
        setWindowTitle(QStringLiteral("Selección de Camión..."));
        for (int i = 0; i < 3; ++i) {
            m_orden[i]->setText(QString::fromUtf8(kOrdenesCamiones[i].titulo));
            m_orden[i]->setVisible(true);
        }
        const Orden &orden = kOrdenesCamiones[qMax(0, m_ordenes->checkedId())];
        m_etiquetaBuscar->setText(QString::fromUtf8(orden.etiqueta));

        CursorEspera espera;
        m_query->close();
        m_query->setConnection(TDatos::instancia() ? TDatos::instancia()->db : nullptr);
        m_query->setSqlLines({QStringLiteral("SELECT Matricula, Tipo, Descripcion"),
                              QStringLiteral("FROM Camiones"),
                              QStringLiteral("Order by ") + QString::fromLatin1(orden.campo)});
        try {
            m_query->open();
        } catch (const StoreError &e) {
            msError(e.message());
        }
        m_modelo->recargar();
        ajustarAnchos();
        if (m_modelo->rowCount() > 0)
            m_lista->setCurrentIndex(m_modelo->index(0, 0));
    }
    m_buscar->setFocus();
}

void TFormSeleccion::ajustarAnchos() {
    const int caracter = m_lista->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    const QList<ModeloDatos::Columna> &columnas = m_modelo->columnas();
    for (int i = 0; i < columnas.size(); ++i) {
        if (columnas[i].ancho > 0)
            m_lista->setColumnWidth(i, columnas[i].ancho * caracter + 8);
    }
}

int TFormSeleccion::filaActual() const {
    const QModelIndex actual = m_lista->currentIndex();
    return actual.isValid() ? actual.row() : -1;
}

void TFormSeleccion::buscar(const QString &texto) {
    const int fila = m_modelo->buscarPrefijo(qMax(0, m_ordenes->checkedId()), texto);
    if (fila < 0)
        return;
    const QModelIndex destino = m_modelo->index(fila, qMax(0, m_lista->currentIndex().column()));
    m_lista->setCurrentIndex(destino);
    m_lista->scrollTo(destino);
}

void TFormSeleccion::seleccionar() {
    const QString matricula = m_modelo->texto(filaActual(), 0);
    if (!matricula.isEmpty())
        ValoresPrincipales::instancia()->valorSeleccionado = matricula;
    accept();
}

void TFormSeleccion::done(int resultado) {
    m_query->close();
    QDialog::done(resultado);
}

bool TFormSeleccion::eventFilter(QObject *objeto, QEvent *evento) {
    if (evento->type() != QEvent::KeyPress)
        return QDialog::eventFilter(objeto, evento);
    const auto *tecla = static_cast<QKeyEvent *>(evento);
    const bool intro = tecla->key() == Qt::Key_Return || tecla->key() == Qt::Key_Enter;
    if (objeto == m_buscar && (intro || tecla->key() == Qt::Key_Down)) {
        m_lista->setFocus();
        return true;
    }
    const bool letraC = tecla->key() == Qt::Key_C &&
                        !(tecla->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier));
    if (objeto == m_lista && (intro || letraC)) {
        seleccionar();
        return true;
    }
    return QDialog::eventFilter(objeto, evento);
}
