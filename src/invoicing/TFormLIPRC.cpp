#include "invoicing/TFormLIPRC.h"

#include "app/Configuracion.h"
#include "app/Mensajes.h"
#include "app/Programa.h"
#include "app/Progreso.h"
#include "common/ControlesDatos.h"
#include "common/Formato.h"
#include "common/Listado.h"
#include "common/MotorListado.h"
#include "invoicing/TotalesCliente.h"
#include "store/Connection.h"
#include "store/StoreError.h"
#include "store/StoreFiles.h"
#include "store/TDatos.h"
#include "store/Table.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QToolBar>
#include <QVBoxLayout>

TFormLIPRC::TFormLIPRC(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("FormLIPRC"));
    setWindowTitle(QStringLiteral("Importe de Velmora por cliente"));
    auto *imprimirAccion = new QAction(QStringLiteral("Imprimir listado"), this);
    imprimirAccion->setObjectName(QStringLiteral("ActImprimir"));
    imprimirAccion->setShortcut(QKeySequence(Qt::Key_F11));
    imprimirAccion->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    imprimirAccion->setToolTip(QStringLiteral("Imprime el listado de facturas actual"));
    connect(imprimirAccion, &QAction::triggered, this, &TFormLIPRC::imprimir);
    auto *cerrarAccion = new QAction(QStringLiteral("Cerrar ventana"), this);
    cerrarAccion->setObjectName(QStringLiteral("ActCerrarVentana"));
    cerrarAccion->setShortcut(QKeySequence(Qt::Key_F12));
    cerrarAccion->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    cerrarAccion->setToolTip(QStringLiteral("Cierra esta ventana"));
    // The window lives in a sub-window of the main window: closing that closes both.
    connect(cerrarAccion, &QAction::triggered, this,
            [this] { window() == this ? close() : parentWidget()->close(); });
    addActions({imprimirAccion, cerrarAccion});

    auto *fichero = new QMenu(QStringLiteral(" Fichero "), this);
    fichero->setObjectName(QStringLiteral("Fichero"));
    fichero->addAction(imprimirAccion);
    fichero->addSeparator();
    fichero->addAction(cerrarAccion);
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this,
            [this, fichero](const QPoint &p) { fichero->popup(mapToGlobal(p)); });

    auto *barra = new QToolBar(this);
    barra->addAction(imprimirAccion);
    barra->addAction(cerrarAccion);

    m_desde = new CajaFecha(this);
    m_desde->setObjectName(QStringLiteral("TxtDesde"));
    m_hasta = new CajaFecha(this);
    m_hasta->setObjectName(QStringLiteral("TxtHasta"));
    auto *filtrarBoton = new QPushButton(QStringLiteral("&Filtrar"), this);
    filtrarBoton->setObjectName(QStringLiteral("BFiltrar"));
    filtrarBoton->setToolTip(QStringLiteral("Activa el filtro"));
    connect(filtrarBoton, &QPushButton::clicked, this, &TFormLIPRC::filtrar);
    auto *arriba = new QHBoxLayout;
    auto *lDesde = new QLabel(QStringLiteral("&Desde:"), this);
    lDesde->setBuddy(m_desde);
    auto *lHasta = new QLabel(QStringLiteral("&Hasta:"), this);
    lHasta->setBuddy(m_hasta);
    arriba->addWidget(lDesde);
    arriba->addWidget(m_desde);
    arriba->addWidget(lHasta);
    arriba->addWidget(m_hasta);
    arriba->addWidget(filtrarBoton);
    arriba->addWidget(barra);
    arriba->addStretch();

    m_rejilla = new QTableWidget(0, 4, this);
    m_rejilla->setObjectName(QStringLiteral("Rejilla"));
    m_rejilla->setHorizontalHeaderLabels({QStringLiteral("Cliente"), QStringLiteral("I.Portes"),
                                          QStringLiteral("I.Reportes"),
                                          QStringLiteral("Importe Total")});
    m_rejilla->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_rejilla->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_rejilla->verticalHeader()->hide();
    m_rejilla->verticalHeader()->setDefaultSectionSize(m_rejilla->fontMetrics().height() + 6);
    m_rejilla->setColumnWidth(0, 320);
    m_rejilla->hide();

    auto *capa = new QVBoxLayout(this);
    capa->addLayout(arriba);
    capa->addWidget(m_rejilla, 1);
    m_desde->setFocus();
}

TFormLIPRC::~TFormLIPRC() = default;

QString TFormLIPRC::ficheroTT() const {
    return StoreFiles::workTableFile(Programa::carpeta());
}

bool TFormLIPRC::filtrar() {
    const QDate desde = m_desde->fecha();
    const QDate hasta = m_hasta->fecha();
    if (!desde.isValid() || !hasta.isValid()) {
        msInfo(QStringLiteral("Debe introducir el intervalo de fechas."));
        m_desde->setFocus();
        return false;
    }
    TDatos *d = TDatos::instancia();
    if (!d)
        return false;
    Progreso::mostrar(QStringLiteral("Realizando cálculo, espere por favor..."));
    QList<TotalesCliente::Fila> filas;
    try {
        filas = TotalesCliente::calcular(*d->db, desde, hasta);
        TotalesCliente::guardar(ficheroTT(), filas);
    } catch (const StoreError &e) {
        Progreso::cerrar();
        msError(e.message());
        return false;
    }
    m_rejilla->setRowCount(int(filas.size()));
    auto celda = [](const QString &texto, bool derecha) {
        auto *i = new QTableWidgetItem(texto);
        if (derecha)
            i->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return i;
    };
    for (int f = 0; f < filas.size(); ++f) {
        const TotalesCliente::Fila &r = filas[f];
        m_rejilla->setItem(f, 0, celda(r.cliente, false));
        m_rejilla->setItem(
            f, 1,
            celda(r.conPortes ? Formato::formatFloat(Formato::kMoneda, r.portes) : QString(),
                  true));
        m_rejilla->setItem(
            f, 2,
            celda(r.conReportes ? Formato::formatFloat(Formato::kMoneda, r.reportes) : QString(),
                  true));
        m_rejilla->setItem(f, 3, celda(Formato::formatFloat(Formato::kMoneda, r.total()), true));
    }
    m_rejilla->show();
    Progreso::cerrar();
    return true;
}

Listado TFormLIPRC::listado() const {
    Listado l;
    l.titulo = QStringLiteral("LISTADO DE IMPORTE TOTAL DE VELMORA POR CLIENTE");
    using V = Listado::Valor;
    Listado::Bloque desde, hasta;
    desde.texto = V::texto(QStringLiteral("Desde fecha: ") + m_desde->texto());
    desde.rect = QRectF(10, 2, 80, 5);
    hasta.texto = V::texto(QStringLiteral("Hasta fecha: ") + m_hasta->texto());
    hasta.rect = QRectF(100, 2, 80, 5);
    l.bloquesTitulo << desde << hasta;
    l.anadirColumna(QStringLiteral("Cliente"), V::deCampo(QStringLiteral("Cliente")), 3);
    for (const auto &[titulo, campo] :
         {std::pair{"Importe Portes", "I.Portes"}, std::pair{"Importe Reportes", "I.Reportes"},
          std::pair{"Importe Total", "ImporteTotal"}})
        l.anadirColumna(QString::fromUtf8(titulo),
                        V::deCampo(QString::fromLatin1(campo), Formato::kMoneda), 1.2,
                        Qt::AlignRight);
    Listado::LineaResumen sumas;
    for (const auto &[titulo, campo] :
         {std::pair{"Importe Portes", "I.Portes"}, std::pair{"Importe Reportes", "I.Reportes"},
          std::pair{"Importe Total", "ImporteTotal"}})
        sumas.valores << Listado::ValorResumen{
            QString(), Listado::Total::suma(QString::fromLatin1(campo), Formato::kEntero),
            l.columna(QString::fromUtf8(titulo))};
    l.resumen << sumas;
    l.pie.empresa = Listado::rotuloEmpresa(false);
    return l;
}

void TFormLIPRC::imprimir() {
    Connection tt(QStringLiteral("TT_LISTADO"));
    tt.setDatabaseFile(ficheroTT());
    tt.setTables({&Schema::workTableTT()});
    try {
        StoreFiles::ensureWorkTable(Programa::carpeta());
        tt.open();
        Table tabla(&tt, QStringLiteral("TT.DB"));
        tabla.addCalcField(QStringLiteral("ImporteTotal"), FieldType::Money, 0,
                           [](const DataSet &d) {
                               return QVariant(d.value(QStringLiteral("I.Portes")).toDouble() +
                                               d.value(QStringLiteral("I.Reportes")).toDouble());
                           });
        tabla.open();
        MotorListado motor(listado(), &tabla);
        motor.previsualizarSegunAjustes(this);
    } catch (const StoreError &e) {
        msError(e.message());
    }
}
