#include "common/VentanaRegistro.h"

#include "app/Configuracion.h"
#include "app/IniFile.h"
#include "app/Mensajes.h"
#include "app/Programa.h"
#include "common/ControlesDatos.h"
#include "common/FiltroAcumulado.h"
#include "common/Formato.h"
#include "common/Mascaras.h"
#include "common/ModeloRegistros.h"
#include "common/MotorListado.h"
#include "store/DataSource.h"
#include "store/Dates.h"
#include "store/Query.h"
#include "store/StoreError.h"
#include "store/TDatos.h"
#include "store/Table.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHash>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QKeySequence teclaDe(Comando c) {
    switch (c) {
    case Comando::Graficos:
        return QKeySequence(Qt::Key_F2);
    case Comando::Lista:
        return QKeySequence(Qt::Key_F4);
    case Comando::Edicion:
        return QKeySequence(Qt::Key_F5);
    case Comando::Filtrar:
        return QKeySequence(Qt::Key_F6);
    case Comando::Buscar:
        return QKeySequence(Qt::Key_F7);
    case Comando::Estado:
        return QKeySequence(Qt::Key_F8);
    case Comando::Calcular:
        return QKeySequence(Qt::Key_F9);
    case Comando::QuitarFiltros:
        return QKeySequence(Qt::Key_F10);
    case Comando::Imprimir:
        return QKeySequence(Qt::Key_F11);
    case Comando::Cerrar:
        return QKeySequence(Qt::Key_F12);
    case Comando::Nuevo:
        return QKeySequence(Qt::CTRL | Qt::Key_N);
    case Comando::Eliminar:
        return QKeySequence(Qt::CTRL | Qt::Key_E);
    }
    return QKeySequence();
}

ValoresPrincipales *valores() {
    return ValoresPrincipales::instancia();
}

// A date box of a filter or search panel.
CajaFecha *cajaFecha(QWidget *padre, const QDate &inicial) {
    auto *c = new CajaFecha(padre);
    c->setFecha(inicial);
    QObject::connect(c, &CajaFecha::fechaElegida, c, &CajaFecha::setFecha);
    return c;
}

} // namespace

VentanaRegistro::VentanaRegistro(const DeclaracionVentana &decl, QWidget *parent)
    : QWidget(parent), m_decl(decl) {
    setObjectName(decl.nombre);
    setWindowTitle(decl.titulo);
    TDatos *datos = TDatos::instancia();
    m_tabla = new Table(datos ? datos->db : nullptr, decl.tabla, this);
    m_tabla->setObjectName(QStringLiteral("T") + decl.titulo);
    m_fuente = new DataSource(m_tabla, this);
    if (decl.total && datos) {
        m_consulta = new Query(datos->db, this);
        m_consulta->setObjectName(QStringLiteral("Consulta"));
        m_consulta->setSql(decl.total->sql);
    }
    m_modelo = new ModeloRegistros(m_tabla, decl.columnas, this);

    crearAcciones();

    m_barra = new QToolBar(this);
    m_barra->setObjectName(QStringLiteral("BarraBotones"));
    for (const QString &n : decl.barra) {
        if (n == QLatin1String("-"))
            m_barra->addSeparator();
        else if (QAction *a = accion(n))
            m_barra->addAction(a);
    }
    m_lBuscar = new QLabel(decl.etiquetaBuscar, this);
    m_lBuscar->setObjectName(QStringLiteral("LBuscar"));
    m_txtBuscar = new QLineEdit(this);
    m_txtBuscar->setObjectName(QStringLiteral("TxtBuscar"));
    m_txtBuscar->setMaximumWidth(160);
    m_lBuscar->setBuddy(m_txtBuscar);
    m_barra->addSeparator();
    m_barra->addWidget(m_lBuscar);
    m_barra->addWidget(m_txtBuscar);
    connect(m_txtBuscar, &QLineEdit::textChanged, this, &VentanaRegistro::buscarIncremental);

    m_fichero = new QMenu(QStringLiteral("Fichero"), this);
    m_fichero->setObjectName(QStringLiteral("Fichero"));
    for (const QString &n : decl.fichero) {
        if (n == QLatin1String("-"))
            m_fichero->addSeparator();
        else if (QAction *a = accion(n))
            m_fichero->addAction(a);
    }
    m_contextual = new QMenu(this);
    m_contextual->setObjectName(QStringLiteral("MenuContextual"));
    if (QAction *a = accion(Comando::Nuevo)) {
        m_contextual->addAction(a);
        m_contextual->addSeparator();
    }
    m_contextual->addActions(m_fichero->actions());

    m_paginas = new QTabWidget(this);
    m_paginas->setObjectName(QStringLiteral("Paginas"));
    for (const auto &[pagina, titulo] : decl.paginas) {
        QWidget *w = nullptr;
        switch (pagina) {
        case Pagina::Lista:
            w = crearLista();
            break;
        case Pagina::Edicion:
            w = crearPaginaEdicion();
            break;
        case Pagina::Filtrar:
            w = crearFiltrar();
            break;
        case Pagina::Buscar:
            w = crearBuscar();
            break;
        case Pagina::Graficos:
            w = crearGrafico();
            break;
        }
        w->setProperty("pagina", int(pagina));
        m_paginas->addTab(w, titulo);
    }

    m_filtros = new QLabel(this);
    m_filtros->setObjectName(QStringLiteral("Filtros"));
    m_filtros->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_filtros->setText(decl.textoSinFiltro);
    m_panelTotal = new QWidget(this);
    m_panelTotal->setObjectName(QStringLiteral("PanelTotal"));
    auto *capaTotal = new QGridLayout(m_panelTotal);
    capaTotal->setContentsMargins(0, 0, 0, 0);
    capaTotal->setHorizontalSpacing(6);
    if (decl.total) {
        // Many figures do not fit one line of a usual screen: they take two.
        const qsizetype n = decl.total->cifras.size();
        const qsizetype porFila = n > 6 ? (n + 1) / 2 : n;
        for (qsizetype i = 0; i < n; ++i) {
            const CifraTotal &c = decl.total->cifras[i];
            auto *etiqueta = new QLabel(c.etiqueta, m_panelTotal);
            auto *cifra = new QLabel(m_panelTotal);
            cifra->setObjectName(c.nombre);
            cifra->setToolTip(c.ayuda);
            cifra->setMinimumWidth(
                fontMetrics().horizontalAdvance(QStringLiteral("000.000.000,00 ")));
            etiqueta->setToolTip(c.ayuda);
            const int fila = int(i / porFila), columna = int(i % porFila) * 2;
            capaTotal->addWidget(etiqueta, fila, columna);
            capaTotal->addWidget(cifra, fila, columna + 1);
            m_cifras << cifra;
        }
        capaTotal->setColumnStretch(int(porFila) * 2, 1);
    }
    m_panelTotal->setVisible(bool(decl.total));

    auto *capa = new QVBoxLayout(this);
    capa->setContentsMargins(2, 2, 2, 2);
    capa->addWidget(m_barra);
    capa->addWidget(m_paginas, 1);
    capa->addWidget(m_panelTotal);
    capa->addWidget(m_filtros);

    connect(m_tabla, &DataSet::afterScroll, this, &VentanaRegistro::seguirRegistro);
    connect(m_tabla, &DataSet::afterRefresh, this, &VentanaRegistro::seguirRegistro);
    connect(m_tabla, &DataSet::stateChanged, this, &VentanaRegistro::actualizarPosicion);
}

VentanaRegistro::~VentanaRegistro() = default;

DeclComando comandoEstandar(Comando c, const QString &ayuda) {
    static const QHash<int, QPair<const char *, const char *>> nombres = {
        {int(Comando::Lista), {"ActLista", "Lista"}},
        {int(Comando::Edicion), {"ActEdicion", "Edición"}},
        {int(Comando::Filtrar), {"ActFiltrar", "Filtrar"}},
        {int(Comando::Buscar), {"ActBuscar", "Buscar/Ordenar"}},
        {int(Comando::Graficos), {"ActGraficos", "Gráficos"}},
        {int(Comando::QuitarFiltros), {"ActQuitarFiltros", "Quitar filtros"}},
        {int(Comando::Imprimir), {"ActPrevisualizar", "Imprimir"}},
        {int(Comando::Cerrar), {"ActCerrar", "Cerrar ventana"}},
    };
    const auto n = nombres.value(int(c));
    return {c, QString::fromLatin1(n.first), QString::fromUtf8(n.second), ayuda};
}

QString tituloPestana(const char *titulo) {
    return QStringLiteral("   ") + QString::fromUtf8(titulo) + QStringLiteral("   ");
}

namespace {

// Editors claim some Ctrl keys for themselves (a line edit deletes with Ctrl+D and goes to the
// end with Ctrl+E on X11), which would hide the window's commands on those keys whenever an
// editor has the focus. The window's enabled commands come first.
class AtajosVentana : public QObject {
public:
    bool eventFilter(QObject *obj, QEvent *e) override {
        if (e->type() != QEvent::ShortcutOverride || !obj->isWidgetType())
            return false;
        const auto *k = static_cast<QKeyEvent *>(e);
        if (!(k->modifiers() & Qt::ControlModifier))
            return false;
        const QKeySequence tecla(k->keyCombination());
        for (auto *w = static_cast<QWidget *>(obj); w; w = w->parentWidget()) {
            if (const auto *v = qobject_cast<VentanaRegistro *>(w)) {
                for (const QAction *a : v->actions())
                    if (a->isEnabled() && a->shortcut() == tecla) {
                        e->ignore();
                        return true;
                    }
                return false;
            }
            // A dialog opened over the window keeps its keys.
            if (w->isWindow())
                return false;
        }
        return false;
    }
};

} // namespace

RejillaEdicion *
VentanaRegistro::crearRejillaLineas(Table *lineas, const QList<ColumnaEdicion> &columnas,
                                    const QStringList &ayudas, const QString &campoEnlace,
                                    const QString &campoDueno, const QString &avisoSinRegistro,
                                    const QString &seccionAnchos, QWidget *padre) {
    auto *r = new RejillaEdicion(QString(), lineas, columnas, ayudas, padre);
    r->setObjectName(QStringLiteral("Lineas"));
    r->usarAnchosDe(seccionAnchos);
    r->antesDeAnadir = [this, avisoSinRegistro] {
        if (!grabar())
            return false;
        if (m_tabla->isEmpty()) {
            msInfo(avisoSinRegistro);
            return false;
        }
        return true;
    };
    r->alAnadir = [this, lineas, campoEnlace, campoDueno] {
        if (lineas->value(campoEnlace).isNull())
            lineas->setValue(campoEnlace, m_tabla->value(campoDueno));
    };
    return r;
}

// ------------------------------------------------------------------ commands and pages
void VentanaRegistro::crearAcciones() {
    static AtajosVentana *atajos = [] {
        auto *f = new AtajosVentana;
        f->setParent(qApp);
        qApp->installEventFilter(f);
        return f;
    }();
    Q_UNUSED(atajos)
    for (const DeclComando &c : m_decl.comandos) {
        auto *a = new QAction(c.titulo, this);
        a->setObjectName(c.nombre);
        a->setToolTip(c.ayuda);
        a->setStatusTip(c.ayuda);
        a->setShortcut(teclaDe(c.comando));
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        a->setProperty("comando", int(c.comando));
        const Comando cmd = c.comando;
        connect(a, &QAction::triggered, this, [this, cmd] { ejecutar(cmd); });
        addAction(a);
        m_acciones << a;
    }
    for (const DeclExtra &e : m_decl.extras) {
        auto *a = new QAction(e.titulo, this);
        a->setObjectName(e.nombre);
        a->setToolTip(e.ayuda);
        a->setStatusTip(e.ayuda);
        a->setShortcut(e.tecla);
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        if (e.accion)
            connect(a, &QAction::triggered, this, e.accion);
        addAction(a);
        m_acciones << a;
    }
}

QAction *VentanaRegistro::accion(const QString &nombre) const {
    for (QAction *a : m_acciones)
        if (a->objectName() == nombre)
            return a;
    return nullptr;
}

QAction *VentanaRegistro::accion(Comando c) const {
    for (QAction *a : m_acciones)
        if (a->property("comando").isValid() && a->property("comando").toInt() == int(c))
            return a;
    return nullptr;
}

void VentanaRegistro::ejecutar(Comando c) {
    switch (c) {
    case Comando::Graficos:
        mostrarPagina(Pagina::Graficos);
        break;
    case Comando::Lista:
        mostrarPagina(Pagina::Lista);
        break;
    case Comando::Edicion:
        mostrarPagina(Pagina::Edicion);
        break;
    case Comando::Filtrar:
        mostrarPagina(Pagina::Filtrar);
        break;
    case Comando::Buscar:
        mostrarPagina(Pagina::Buscar);
        break;
    case Comando::Estado:
        estado();
        break;
    case Comando::Calcular:
        calcular();
        break;
    case Comando::QuitarFiltros:
        quitarFiltros();
        break;
    case Comando::Imprimir:
        imprimir();
        break;
    case Comando::Cerrar:
        if (auto *sub = parentWidget(); sub && sub->inherits("QMdiSubWindow"))
            sub->close();
        else
            close();
        break;
    case Comando::Nuevo:
        nuevo();
        break;
    case Comando::Eliminar:
        eliminar();
        break;
    }
}

void VentanaRegistro::mostrarPagina(Pagina p) {
    asegurarEdicion();
    for (int i = 0; i < m_paginas->count(); ++i)
        if (m_paginas->widget(i)->property("pagina").toInt() == int(p))
            m_paginas->setCurrentIndex(i);
}

Pagina VentanaRegistro::paginaActual() const {
    return Pagina(m_paginas->currentWidget()->property("pagina").toInt());
}

static QPushButton *botonDe(QAction *a, QWidget *padre) {
    auto *b = new QPushButton(a->text(), padre);
    b->setObjectName(QStringLiteral("B") + a->objectName());
    b->setToolTip(a->toolTip());
    b->setEnabled(a->isEnabled());
    QObject::connect(b, &QPushButton::clicked, a, &QAction::trigger);
    QObject::connect(a, &QAction::changed, b, [a, b] { b->setEnabled(a->isEnabled()); });
    return b;
}

void VentanaRegistro::botonesPagina(const std::optional<QList<DeclBoton>> &botones,
                                    QHBoxLayout *capa, QWidget *pagina) {
    if (!botones) {
        for (Comando c : {Comando::Nuevo, Comando::Eliminar})
            if (QAction *a = accion(c))
                capa->addWidget(botonDe(a, pagina));
        return;
    }
    for (const DeclBoton &d : *botones) {
        QAction *a = accion(d.accion);
        if (!a)
            continue;
        QPushButton *b = botonDe(a, pagina);
        if (!d.titulo.isEmpty())
            b->setText(d.titulo);
        if (!d.ayuda.isEmpty())
            b->setToolTip(d.ayuda);
        capa->addWidget(b);
    }
}

QWidget *VentanaRegistro::crearLista() {
    auto *pagina = new QWidget;
    pagina->setObjectName(QStringLiteral("PaginaLista"));
    auto *arriba = new QHBoxLayout;
    auto *nav = new Navegador(m_fuente, false, m_decl.ayudasLista, pagina);
    nav->setManejadorErrores([this](const StoreError &e) { informarFalloGrabar(e); });
    m_navegadores << nav;
    arriba->addWidget(nav);
    botonesPagina(m_decl.botonesLista, arriba, pagina);
    arriba->addStretch();
    m_r = new QLabel(pagina);
    m_r->setObjectName(QStringLiteral("R"));
    arriba->addWidget(m_r);

    m_rejilla = new QTableView(pagina);
    m_rejilla->setObjectName(QStringLiteral("Rejilla"));
    m_rejilla->setModel(m_modelo);
    m_rejilla->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_rejilla->setSelectionMode(QAbstractItemView::SingleSelection);
    m_rejilla->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_rejilla->verticalHeader()->setDefaultSectionSize(m_rejilla->fontMetrics().height() + 6);
    m_rejilla->verticalHeader()->hide();
    m_rejilla->setToolTip(m_decl.ayudaRejilla);
    m_rejilla->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_rejilla, &QWidget::customContextMenuRequested, this, [this](const QPoint &p) {
        m_contextual->popup(m_rejilla->viewport()->mapToGlobal(p));
    });
    for (int i = 0; i < m_decl.columnas.size(); ++i) {
        m_rejilla->setColumnWidth(i, m_decl.columnas[i].ancho);
        m_rejilla->setColumnHidden(i, m_decl.columnas[i].oculta);
    }
    connect(m_rejilla, &QTableView::doubleClicked, this,
            [this] { mostrarPagina(Pagina::Edicion); });
    connect(m_rejilla->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &actual) {
                if (m_siguiendo || !actual.isValid())
                    return;
                try {
                    m_tabla->gotoRowId(m_modelo->rowIdDe(actual.row()));
                } catch (const StoreError &e) {
                    informarFalloGrabar(e);
                }
            });
    connect(m_modelo, &QAbstractItemModel::modelReset, this, &VentanaRegistro::seguirRegistro);
    m_rejilla->installEventFilter(this);

    auto *capa = new QVBoxLayout(pagina);
    capa->addLayout(arriba);
    capa->addWidget(m_rejilla, 1);
    return pagina;
}

QWidget *VentanaRegistro::crearPaginaEdicion() {
    auto *pagina = new QWidget;
    pagina->setObjectName(QStringLiteral("PaginaEdicion"));
    auto *arriba = new QHBoxLayout;
    auto *nav =
        m_decl.navegadorEdicion.isEmpty()
            ? new Navegador(m_fuente, true, m_decl.ayudasEdicion, pagina)
            : new Navegador(m_fuente, m_decl.navegadorEdicion, m_decl.ayudasEdicion, pagina);
    nav->setValidar([this] { grabar(); });
    nav->setManejadorErrores([this](const StoreError &e) { informarFalloGrabar(e); });
    m_navegadores << nav;
    arriba->addWidget(nav);
    botonesPagina(m_decl.botonesEdicion, arriba, pagina);
    for (const DeclExtra &e : m_decl.extras)
        if (e.boton)
            arriba->addWidget(botonDe(accion(e.nombre), pagina));
    arriba->addStretch();
    m_r2 = new QLabel(pagina);
    m_r2->setObjectName(QStringLiteral("R2"));
    arriba->addWidget(m_r2);
    auto *capa = new QVBoxLayout(pagina);
    capa->addLayout(arriba);
    m_contenedorEdicion = pagina;
    return pagina;
}

// The editors come from the window itself, so they are built once it is fully constructed.
void VentanaRegistro::asegurarEdicion() {
    if (m_paginaEdicion || !m_contenedorEdicion)
        return;
    m_paginaEdicion = crearEdicion();
    m_paginaEdicion->setParent(m_contenedorEdicion);
    static_cast<QVBoxLayout *>(m_contenedorEdicion->layout())->addWidget(m_paginaEdicion, 1);
    for (QWidget *w : m_paginaEdicion->findChildren<QWidget *>())
        w->installEventFilter(this);
}

QWidget *VentanaRegistro::crearFiltrar() {
    auto *pagina = new QWidget;
    pagina->setObjectName(QStringLiteral("PaginaFiltrar"));
    auto *rejillaPaneles = new QGridLayout;
    int fila = 0, columna = 0;
    for (const DeclFiltro &f : m_decl.filtros) {
        auto *panel = new QGroupBox(pagina);
        panel->setObjectName(QStringLiteral("Panel") + f.campo +
                             QString::number(fila * 2 + columna));
        auto *capa = new QHBoxLayout(panel);
        capa->addWidget(new QLabel(f.etiqueta, panel));
        auto *boton = new QToolButton(panel);
        boton->setText(QStringLiteral("Filtrar"));
        boton->setToolTip(f.ayuda);
        boton->setObjectName(
            QStringLiteral("BFiltro") + f.campo +
            (f.tipo == DeclFiltro::Periodo ? QStringLiteral("Periodo") : QString()));
        switch (f.tipo) {
        case DeclFiltro::SiNo:
        case DeclFiltro::Logico: {
            auto *si = new QRadioButton(QStringLiteral("Sí"), panel);
            auto *no = new QRadioButton(QStringLiteral("No"), panel);
            no->setChecked(true);
            capa->addWidget(si);
            capa->addWidget(no);
            const bool logico = f.tipo == DeclFiltro::Logico;
            connect(boton, &QToolButton::clicked, this, [this, f, si, logico] {
                const QString valor =
                    logico ? (si->isChecked() ? QStringLiteral("True") : QStringLiteral("False"))
                           : (si->isChecked() ? QStringLiteral("Sí") : QStringLiteral("No"));
                filtrarPorValor(f.campo, valor, f.sinCorchetes);
            });
            break;
        }
        case DeclFiltro::Lista: {
            auto *lista = new ListaBusqueda(panel);
            lista->setObjectName(QStringLiteral("Lista") + f.campo);
            m_presets << [lista, f] {
                lista->setListaAlMostrar(f.lista.tabla, f.lista.columnas, f.lista.campoClave,
                                         f.lista.filas);
            };
            capa->addWidget(lista, 1);
            connect(boton, &QToolButton::clicked, this, [this, f, lista] {
                const QString valor =
                    f.porClave ? lista->valorClave().toString() : lista->textoMostrado();
                filtrarPorValor(f.campo, valor, f.sinCorchetes);
            });
            break;
        }
        case DeclFiltro::Valores: {
            auto *lista = new QComboBox(panel);
            lista->setObjectName(QStringLiteral("Lista") + f.campo);
            lista->addItems(f.valores);
            lista->setCurrentIndex(-1);
            capa->addWidget(lista, 1);
            connect(boton, &QToolButton::clicked, this, [this, f, lista] {
                filtrarPorValor(f.campo, lista->currentText(), f.sinCorchetes);
            });
            break;
        }
        case DeclFiltro::Fecha: {
            auto *caja = cajaFecha(panel, QDate());
            caja->setObjectName(QStringLiteral("Fecha") + f.campo);
            m_presets << [caja] { caja->setFecha(QDate::currentDate().addDays(-30)); };
            auto *giro = new QSpinBox(panel);
            giro->setRange(-1000000, 1000000);
            giro->setFixedWidth(18);
            giro->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
            connect(giro, &QSpinBox::valueChanged, caja, [caja, giro, previo = 0](int v) mutable {
                const QDate d = caja->fecha().isValid() ? caja->fecha() : QDate::currentDate();
                caja->setFecha(d.addDays(v - previo));
                previo = v;
                Q_UNUSED(giro)
            });
            capa->addWidget(caja);
            capa->addWidget(giro);
            connect(boton, &QToolButton::clicked, this,
                    [this, f, caja] { filtrarPorValor(f.campo, caja->texto(), f.sinCorchetes); });
            break;
        }
        case DeclFiltro::Periodo: {
            auto *desde = cajaFecha(panel, QDate());
            desde->setObjectName(QStringLiteral("Desde") + f.campo);
            auto *hasta = cajaFecha(panel, QDate());
            hasta->setObjectName(QStringLiteral("Hasta") + f.campo);
            m_presets << [desde, hasta, f] {
                if (ValoresPrincipales *v = valores(); v && !f.periodoVacio) {
                    desde->setFecha(v->ajustes.inicio);
                    hasta->setFecha(v->ajustes.fin);
                }
            };
            capa->addWidget(desde);
            capa->addWidget(new QLabel(f.etiquetaHasta, panel));
            capa->addWidget(hasta);
            connect(boton, &QToolButton::clicked, this, [this, f, desde, hasta] {
                filtrarPorPeriodo(f.campo, desde->texto(), hasta->texto());
            });
            break;
        }
        }
        capa->addWidget(boton);
        rejillaPaneles->addWidget(panel, fila, columna);
        if (++columna == 2) {
            columna = 0;
            ++fila;
        }
    }
    m_acumular = new QCheckBox(m_decl.tituloAcumular, pagina);
    m_acumular->setObjectName(QStringLiteral("AcumularFiltro"));
    m_acumular->setToolTip(m_decl.ayudaAcumular);
    m_mostrarTotal = new QCheckBox(m_decl.tituloMostrarTotal, pagina);
    m_mostrarTotal->setObjectName(QStringLiteral("MostrarTotal"));
    m_mostrarTotal->setToolTip(m_decl.ayudaMostrarTotal);
    m_mostrarTotal->setChecked(true);
    auto *bTotal = new QPushButton(QStringLiteral("&Mostrar total"), pagina);
    bTotal->setObjectName(QStringLiteral("BTotal"));
    bTotal->hide();
    auto *capa = new QVBoxLayout(pagina);
    capa->addLayout(rejillaPaneles);
    auto *abajo = new QHBoxLayout;
    abajo->addWidget(m_acumular);
    abajo->addWidget(m_mostrarTotal);
    abajo->addStretch();
    if (QAction *a = accion(Comando::QuitarFiltros)) {
        auto *quitar = new QPushButton(m_decl.total && !m_decl.total->tituloBotonQuitar.isEmpty()
                                           ? m_decl.total->tituloBotonQuitar
                                           : a->text(),
                                       pagina);
        quitar->setObjectName(QStringLiteral("BQuitarFiltros"));
        quitar->setToolTip(a->toolTip());
        connect(quitar, &QPushButton::clicked, this, &VentanaRegistro::quitarFiltrosPagina);
        abajo->addWidget(quitar);
    }
    capa->addLayout(abajo);
    capa->addStretch();
    return pagina;
}

QWidget *VentanaRegistro::crearGrafico() {
    m_grafico = new PaginaGrafico;
    m_grafico->setObjectName(QStringLiteral("PaginaGraficos"));
    m_grafico->setDatos(m_tabla);
    if (m_decl.grafico) {
        m_grafico->setCampoFecha(m_decl.grafico->campoFecha);
        m_grafico->setSeries(m_decl.grafico->series);
        m_grafico->setLineasTitulo({m_decl.grafico->titulo});
        if (!m_decl.grafico->tituloEjeX.isEmpty())
            m_grafico->setTituloEjeX(m_decl.grafico->tituloEjeX);
    }
    m_grafico->setFuenteFiltro([this] { return m_filtros->text(); });
    return m_grafico;
}

void VentanaRegistro::previsualizarListado(const Listado &listado) {
    if (!grabar())
        return;
    const bool progreso = valores() && valores()->ajustes.progreso == 1;
    MotorListado motor(completarListado(listado), m_tabla);
    motor.previsualizar(this, progreso);
}

Listado VentanaRegistro::completarListado(Listado listado) const {
    if (m_tabla->filtered() && !m_tabla->filter().isEmpty())
        listado.fijarFiltro(m_filtros->text());
    else
        listado.fijarFiltro(QString());
    listado.fijarNumero(m_panelTotal->isVisibleTo(this) ? textoNumero() : QString());
    listado.pie.empresa = Listado::rotuloEmpresa();
    return listado;
}

QWidget *VentanaRegistro::crearBuscar() {
    auto *pagina = new QWidget;
    pagina->setObjectName(QStringLiteral("PaginaBuscar"));
    auto *grupoBuscar = new QGroupBox(m_decl.tituloBuscarPor, pagina);
    auto *capaBuscar = new QGridLayout(grupoBuscar);
    int fila = 0;
    for (const DeclBusqueda &b : m_decl.busquedas) {
        capaBuscar->addWidget(new QLabel(b.etiqueta, grupoBuscar), fila, 0);
        QWidget *editor = nullptr;
        std::function<QString()> valor;
        if (b.tipo == DeclBusqueda::Fecha) {
            auto *caja = cajaFecha(grupoBuscar, QDate());
            editor = caja;
            valor = [caja] { return caja->texto(); };
        } else if (b.tipo == DeclBusqueda::Lista) {
            auto *lista = new ListaBusqueda(grupoBuscar);
            m_presets << [lista, b] {
                lista->setListaAlMostrar(b.lista.tabla, b.lista.columnas, b.lista.campoClave,
                                         b.lista.filas);
            };
            editor = lista;
            valor = [lista] { return lista->textoMostrado(); };
        } else {
            auto *caja = new QLineEdit(grupoBuscar);
            if (!b.mascara.isEmpty())
                caja->setInputMask(Mascaras::aQt(b.mascara));
            editor = caja;
            valor = [caja] { return caja->displayText().replace('_', ' '); };
        }
        editor->setObjectName(QStringLiteral("Buscar") + b.campo);
        editor->setToolTip(b.ayuda);
        capaBuscar->addWidget(editor, fila, 1);
        auto *boton = new QPushButton(QStringLiteral("Buscar"), grupoBuscar);
        boton->setObjectName(QStringLiteral("BBuscar") + b.campo);
        boton->setToolTip(b.ayuda);
        connect(boton, &QPushButton::clicked, this, [this, b, valor, editor] {
            if (!buscarPorCampo(b, valor()))
                editor->setFocus();
        });
        capaBuscar->addWidget(boton, fila, 2);
        ++fila;
    }
    grupoBuscar->setVisible(!m_decl.busquedas.isEmpty());
    auto *grupoOrden = new QGroupBox(m_decl.tituloOrdenarPor, pagina);
    auto *capaOrden = new QVBoxLayout(grupoOrden);
    auto *grupo = new QButtonGroup(grupoOrden);
    for (int i = 0; i < m_decl.ordenes.size(); ++i) {
        auto *radio = new QRadioButton(m_decl.ordenes[i].titulo, grupoOrden);
        radio->setObjectName(QStringLiteral("Orden") + QString::number(i));
        radio->setChecked(i == m_decl.ordenInicial);
        grupo->addButton(radio, i);
        capaOrden->addWidget(radio);
    }
    connect(grupo, &QButtonGroup::idClicked, this, &VentanaRegistro::ordenar);
    auto *capa = new QHBoxLayout(pagina);
    capa->addWidget(grupoBuscar, 1);
    capa->addWidget(grupoOrden);
    capa->setAlignment(Qt::AlignTop);
    return pagina;
}

// ------------------------------------------------------------------ lifecycle
void VentanaRegistro::preparar() {
    if (m_preparada)
        return;
    m_preparada = true;
    asegurarEdicion();
    // Whatever cannot be opened stays closed; the window opens with what could be opened.
    try {
        if (!m_decl.ordenes.isEmpty())
            m_tabla->setIndexFieldNames(m_decl.ordenes.value(m_decl.ordenInicial).campos);
        m_tabla->open();
    } catch (const StoreError &) {
    }
    try {
        abrirTablas();
        for (const DeclFiltro &f : m_decl.filtros)
            if (f.lista.tabla)
                f.lista.tabla->open();
        for (const DeclBusqueda &b : m_decl.busquedas)
            if (b.lista.tabla)
                b.lista.tabla->open();
    } catch (const StoreError &) {
    }
    for (const auto &p : m_presets)
        p();
    leerAnchos();
    aplicarAjustes();
    seguirRegistro();
    connect(m_tabla, &DataSet::afterScroll, this, [this] {
        m_movido = true;
        actualizarPosicion();
    });
    QApplication::restoreOverrideCursor();
}

void VentanaRegistro::aplicarAjustes() {
    const AjustesEmpresa a = valores() ? valores()->ajustes : AjustesEmpresa();
    m_filtros->setVisible(a.mostrarFiltro == 1);
    m_panelTotal->setVisible(m_decl.total && a.mostrarTotal == 1);
    m_barra->setVisible(a.mostrarBBEnVentanas == 1);
    const bool plano = a.flat == 1;
    for (QToolButton *b : m_barra->findChildren<QToolButton *>())
        b->setAutoRaise(plano);
    for (Navegador *n : m_navegadores)
        n->setPlano(plano);
}

void VentanaRegistro::showEvent(QShowEvent *e) {
    preparar();
    QWidget::showEvent(e);
}

void VentanaRegistro::closeEvent(QCloseEvent *e) {
    if (m_decl.grabarAlCerrar && !grabarDetalles()) {
        e->ignore();
        return;
    }
    if (m_decl.grabarAlCerrar && m_tabla->isEditing() && !grabar()) {
        e->ignore();
        return;
    }
    if (m_tabla->isEditing())
        m_tabla->cancel();
    guardarAnchos();
    m_tabla->close();
    QApplication::restoreOverrideCursor();
    e->accept();
}

void VentanaRegistro::leerAnchos() {
    if (m_decl.seccionRejilla.isEmpty() || !m_rejilla)
        return;
    const IniFile ini(Programa::ficheroIni());
    for (int i = 0; i < m_decl.columnas.size(); ++i)
        m_rejilla->setColumnWidth(i,
                                  ini.readInteger(m_decl.seccionRejilla, m_decl.columnas[i].campo,
                                                  m_decl.columnas[i].ancho));
}

void VentanaRegistro::guardarAnchos() {
    if (m_decl.seccionRejilla.isEmpty() || !m_rejilla)
        return;
    IniFile ini(Programa::ficheroIni());
    for (int i = 0; i < m_decl.columnas.size(); ++i)
        ini.writeInteger(m_decl.seccionRejilla, m_decl.columnas[i].campo,
                         m_rejilla->columnWidth(i));
}

// ------------------------------------------------------------------ current record
void VentanaRegistro::seguirRegistro() {
    if (m_rejilla && m_tabla->isActive()) {
        const int fila = m_modelo->filaDe(m_tabla->rowId());
        m_siguiendo = true;
        if (fila >= 0) {
            m_rejilla->selectRow(fila);
            m_rejilla->scrollTo(m_modelo->index(fila, 0));
        } else {
            m_rejilla->clearSelection();
        }
        m_siguiendo = false;
    }
    actualizarPosicion();
}

QString VentanaRegistro::posicion() const {
    if (!m_tabla->isActive())
        return QString();
    const QString &formato = m_movido && !m_decl.formatoPosicionMovido.isEmpty()
                                 ? m_decl.formatoPosicionMovido
                                 : m_decl.formatoPosicion;
    return formato.arg(m_tabla->recNo()).arg(m_tabla->recordCount());
}

void VentanaRegistro::actualizarPosicion() {
    const QString p = posicion();
    if (m_r)
        m_r->setText(p);
    if (m_r2)
        m_r2->setText(p);
}

bool VentanaRegistro::eventFilter(QObject *obj, QEvent *e) {
    if (e->type() != QEvent::KeyPress)
        return QWidget::eventFilter(obj, e);
    auto *k = static_cast<QKeyEvent *>(e);
    const bool intro = k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter;
    if (!intro)
        return QWidget::eventFilter(obj, e);
    if (obj == m_rejilla) {
        mostrarPagina(Pagina::Edicion);
        return true;
    }
    // Enter moves on to the next control in the edit page, except on buttons, grids and memos.
    auto *w = qobject_cast<QWidget *>(obj);
    if (w && !w->inherits("QAbstractButton") && !w->inherits("QAbstractItemView") &&
        !w->inherits("QPlainTextEdit") &&
        !(w->inherits("QComboBox") && static_cast<QComboBox *>(w)->view()->isVisible())) {
        focusNextPrevChild(true);
        return true;
    }
    return QWidget::eventFilter(obj, e);
}

// ------------------------------------------------------------------ editing
// The store's errors from the database get the window's message first; the store's own
// report always follows. Errors found before reaching the database (a required field left
// empty, a value that cannot be read) get only the store's report.
void VentanaRegistro::informarFalloGrabar(const StoreError &e) {
    if (e.code() == StoreError::kKeyViolation)
        msError(m_decl.textoClaveDuplicada);
    else if (e.kind() == StoreError::Database)
        msError(QStringLiteral(
            "Hay algún dato incorrecto. Compruebe los datos y vuelva a intentarlo."));
    msError(e.message());
}

bool VentanaRegistro::grabar() {
    if (!m_tabla->isEditing())
        return true;
    try {
        comprobarRegistro();
        m_tabla->post();
        return true;
    } catch (const StoreError &e) {
        informarFalloGrabar(e);
        return false;
    }
}

void VentanaRegistro::nuevo() {
    mostrarPagina(Pagina::Edicion);
    if (!grabar())
        return;
    try {
        m_tabla->append();
    } catch (const StoreError &e) {
        informarFalloGrabar(e);
    }
}

void VentanaRegistro::eliminar() {
    mostrarPagina(Pagina::Edicion);
    if (!m_tabla->isActive() || (m_tabla->isEmpty() && !m_tabla->isEditing()))
        return;
    if (m_decl.descartarNuevoAlEliminar && m_tabla->state() == DataSet::Insert) {
        m_tabla->cancel();
        return;
    }
    try {
        if (!puedeEliminar())
            return;
        const QString pregunta = preguntaEliminar();
        if (!pregunta.isEmpty() && !msSi(pregunta))
            return;
        eliminarRegistro();
    } catch (const StoreError &e) {
        msError(e.message());
    }
}

void VentanaRegistro::eliminarRegistro() {
    m_tabla->remove();
}

// ------------------------------------------------------------------ filters and totals
bool VentanaRegistro::acumular() const {
    return m_acumular && m_acumular->isChecked();
}
void VentanaRegistro::setAcumular(bool on) {
    if (m_acumular)
        m_acumular->setChecked(on);
}
bool VentanaRegistro::mostrarTotal() const {
    return m_mostrarTotal && m_mostrarTotal->isChecked();
}
void VentanaRegistro::setMostrarTotal(bool on) {
    if (m_mostrarTotal)
        m_mostrarTotal->setChecked(on);
}

QString VentanaRegistro::textoFiltro() const {
    return m_filtros->text();
}
QString VentanaRegistro::textoCifra(const QString &nombre) const {
    for (QLabel *l : m_cifras)
        if (l->objectName() == nombre)
            return l->text();
    return QString();
}
QString VentanaRegistro::textoNumero() const {
    return textoCifra(QStringLiteral("TxtNumero"));
}
QString VentanaRegistro::textoImporte() const {
    return textoCifra(QStringLiteral("TxtImporte"));
}

DeclTotal DeclTotal::importe(const QString &sql, const QString &campo) {
    DeclTotal t;
    t.sql = sql;
    t.cifras = {{QStringLiteral("Nº:"), QStringLiteral("TxtNumero"), CifraTotal::Cuenta},
                {QStringLiteral("Importe total:"), QStringLiteral("TxtImporte"), CifraTotal::Suma,
                 campo, Formato::kMoneda, QStringLiteral(" %M")}};
    return t;
}

void VentanaRegistro::filtrarPorValor(const QString &campo, const QString &valor,
                                      bool sinCorchetes) {
    const QString actual = m_tabla->filtered() ? m_tabla->filter() : QString();
    aplicarFiltro(FiltroAcumulado::porValor(actual, acumular(), campo, valor, QStringLiteral("="),
                                            sinCorchetes));
}

void VentanaRegistro::filtrarPorPeriodo(const QString &campo, const QString &desde,
                                        const QString &hasta) {
    const QString actual = m_tabla->filtered() ? m_tabla->filter() : QString();
    aplicarFiltro(FiltroAcumulado::porPeriodo(actual, acumular(), campo, desde, hasta));
}

void VentanaRegistro::aplicarFiltro(const QString &expresion) {
    if (!grabar())
        return;
    try {
        m_tabla->setFilter(expresion);
        m_tabla->setFiltered(true);
    } catch (const StoreError &e) {
        // A filter that cannot be read (an empty or impossible date) changes nothing.
        msError(e.message());
        return;
    }
    m_filtros->setText(expresion);
    if (mostrarTotal())
        calcularTotal();
    else if (m_decl.total && m_decl.total->limpiarSinMostrar)
        limpiarTotal();
}

void VentanaRegistro::quitarFiltros() {
    if (!grabar())
        return;
    m_tabla->setFiltered(false);
    m_tabla->setFilter(QString());
    m_filtros->setText(m_decl.textoSinFiltro);
    if (m_decl.total && !m_decl.total->sufijoSinFiltro.isEmpty()) {
        // The total of every record first, in its own form; "Mostrar total" then replaces it.
        calcularTotal(m_decl.total->formatoSinFiltro, m_decl.total->sufijoSinFiltro);
        if (mostrarTotal())
            calcularTotal();
        return;
    }
    if (mostrarTotal() || (m_decl.total && m_decl.total->quitarSiempreRecalcula))
        calcularTotal();
    else
        limpiarTotal();
}

void VentanaRegistro::quitarFiltrosPagina() {
    if (!m_decl.total || !m_decl.total->botonPaginaSoloSiMarcado) {
        quitarFiltros();
        return;
    }
    if (!grabar())
        return;
    m_tabla->setFiltered(false);
    m_tabla->setFilter(QString());
    if (mostrarTotal())
        calcularTotal();
    m_filtros->setText(m_decl.textoSinFiltro);
}

void VentanaRegistro::limpiarTotal() {
    for (QLabel *l : m_cifras)
        l->clear();
}

void VentanaRegistro::calcularTotal() {
    calcularTotal(QString(), QString());
}

void VentanaRegistro::calcularTotal(const QString &formatoSuma, const QString &sufijoSuma) {
    if (!m_consulta || !m_decl.total)
        return;
    QStringList expresiones{QStringLiteral("COUNT(*)")};
    for (const CifraTotal &c : m_decl.total->cifras)
        if (c.tipo != CifraTotal::Cuenta)
            expresiones << QStringLiteral("TOTAL(\"%1\")").arg(c.campo);
    QVariantList r;
    try {
        m_consulta->setFilter(m_tabla->filtered() ? m_tabla->filter() : QString());
        m_consulta->setFiltered(true);
        r = m_consulta->aggregate(expresiones);
    } catch (const StoreError &e) {
        msError(e.message());
        return;
    }
    const QString moneda = valores() ? valores()->ajustes.moneda : QString();
    const qint64 cuenta = r.value(0).toLongLong();
    int i = 1;
    for (int k = 0; k < m_decl.total->cifras.size(); ++k) {
        const CifraTotal &c = m_decl.total->cifras[k];
        double valor = double(cuenta);
        if (c.tipo != CifraTotal::Cuenta) {
            valor = r.value(i++).toDouble();
            // An average over no record is 0, not a division by zero.
            if (c.tipo == CifraTotal::Media)
                valor = cuenta > 0 ? valor / double(cuenta) : 0.0;
        }
        const bool otraForma = c.tipo == CifraTotal::Suma && !formatoSuma.isEmpty();
        const QString formato = otraForma ? formatoSuma : c.formato;
        const QString texto = formato.isEmpty() ? QString::number(qint64(valor))
                                                : Formato::formatFloat(formato, valor);
        QString sufijo = otraForma ? sufijoSuma : c.sufijo;
        sufijo.replace(QStringLiteral("%M"), moneda);
        m_cifras[k]->setText(texto + sufijo);
    }
}

// ------------------------------------------------------------------ searches and orders
void VentanaRegistro::buscarIncremental(const QString &texto) {
    if (!m_tabla->isActive() || texto.isEmpty())
        return;
    try {
        if (m_decl.busquedaExacta && !m_decl.ordenes.isEmpty())
            m_tabla->locate(m_decl.ordenes.value(m_decl.ordenInicial).campos, texto);
        else
            m_tabla->findNearest({texto});
    } catch (const StoreError &) {
        // A text that cannot be read for the order's field moves nothing.
    }
}

bool VentanaRegistro::buscarPorCampo(const DeclBusqueda &b, const QString &valor) {
    bool encontrado = false;
    try {
        encontrado = m_tabla->isActive() && m_tabla->locate(b.campo, valor);
    } catch (const StoreError &) {
        encontrado = false;
    }
    if (encontrado) {
        mostrarPagina(Pagina::Lista);
        return true;
    }
    msInfo(b.noEncontrado);
    return false;
}

void VentanaRegistro::ordenar(int indice) {
    const DeclOrden &o = m_decl.ordenes.value(indice);
    try {
        if (!grabar())
            return;
        m_tabla->setIndexFieldNames(o.campos);
    } catch (const StoreError &e) {
        msError(e.message());
        return;
    }
    m_lBuscar->setText(o.etiquetaBusqueda);
    m_lBuscar->setVisible(true);
    m_txtBuscar->setVisible(true);
}
