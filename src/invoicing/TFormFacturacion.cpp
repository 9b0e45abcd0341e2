#include "invoicing/TFormFacturacion.h"

#include "app/Configuracion.h"
#include "app/IniFile.h"
#include "app/Mensajes.h"
#include "app/Programa.h"
#include "common/ControlesDatos.h"
#include "common/Formato.h"
#include "common/Mascaras.h"
#include "common/PaginaGrafico.h"
#include "common/RejillaEdicion.h"
#include "invoicing/CalculoFactura.h"
#include "store/StoreError.h"
#include "store/TDatos.h"
#include "store/Table.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const QString kUnDecimal = QStringLiteral("###,###,###,##0.0;-###,###,###,##0.0;0");
// The section of the configuration file with the widths of the lines grid.
const QString kSeccionAnchos = QStringLiteral("Width");

const QList<ColumnaRejilla> kColumnasCliente = {
    {QStringLiteral("Apellidos"), QStringLiteral("Nombre"), 250},
    {QStringLiteral("CIF"), QStringLiteral("CIF"), 90},
    {QStringLiteral("Ciudad"), QStringLiteral("Ciudad"), 120},
    {QStringLiteral("Provincia"), QStringLiteral("Provincia"), 100}};

// The second panel of the main window's status bar.
QLabel *panelEstado() {
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *l = w->findChild<QLabel *>(QStringLiteral("BEEmpresa")))
            return l;
    return nullptr;
}

double cambioEmpresa() {
    const ValoresPrincipales *v = ValoresPrincipales::instancia();
    return v && v->ajustes.cambio != 0 ? v->ajustes.cambio : Clave::CambioPorDefecto;
}

} // namespace

DeclaracionVentana TFormFacturacion::declaracion() {
    TDatos *d = TDatos::instancia();
    DeclaracionVentana v;
    v.nombre = QStringLiteral("FormFacturacion");
    v.titulo = QStringLiteral("Facturas");
    v.tabla = QStringLiteral("facturas.DB");
    v.paginas = {{Pagina::Lista, tituloPestana("Lista")},
                 {Pagina::Edicion, tituloPestana("Edición")},
                 {Pagina::Filtrar, tituloPestana("Filtrar")},
                 {Pagina::Buscar, tituloPestana("Buscar")},
                 {Pagina::Graficos, tituloPestana("Gráficos")}};
    v.comandos = {
        {Comando::Nuevo, QStringLiteral("ActNuevoPorte"), QStringLiteral("Nueva factura"),
         QStringLiteral("Añade una nueva factura")},
        {Comando::Eliminar, QStringLiteral("ActEliminarPorte"), QStringLiteral("Eliminar factura"),
         QStringLiteral("Elimina la factura actual")},
        comandoEstandar(Comando::Lista, QStringLiteral("Lista según el filtro aplicado")),
        comandoEstandar(Comando::Edicion, QStringLiteral("Añadir, modificar, eliminar")),
        comandoEstandar(Comando::Filtrar, QStringLiteral("Filtrar")),
        comandoEstandar(Comando::Buscar, QStringLiteral("Buscar/Ordenar")),
        comandoEstandar(Comando::Graficos, QStringLiteral("Gráficos de decisión")),
        comandoEstandar(Comando::QuitarFiltros, QStringLiteral("Quita todos los filtros")),
        {Comando::Calcular, QStringLiteral("ActCalcular"), QStringLiteral("Calcular factura"),
         QStringLiteral("Calcula la factura actual")},
        {Comando::Estado, QStringLiteral("ActCobrada"), QStringLiteral("Cobrada Sí"),
         QStringLiteral("Actualiza la factura actual (sus velmora) como cobrados")},
        {Comando::Imprimir, QStringLiteral("ActPrevisualizar"), QStringLiteral("Imprimir actual"),
         QStringLiteral("Imprime la factura actual")},
        comandoEstandar(Comando::Cerrar, QStringLiteral("Cierra esta ventana")),
    };
    // The printed invoice, envelope and listing come with the invoice printing.
    v.extras = {
        {QStringLiteral("ActImprimirEuros"),
         QStringLiteral("Imprimir en euros"),
         QStringLiteral("Imprime los importes sólo en euros"),
         QKeySequence(),
         {},
         false},
        {QStringLiteral("ActImprimirASobre"),
         QStringLiteral("Imprimir dirección en sobre"),
         QStringLiteral("Imprime la dirección del cliente de la factura actual a sobre"),
         QKeySequence(Qt::CTRL | Qt::Key_S),
         {},
         false},
        {QStringLiteral("ActImprimirListado"),
         QStringLiteral("Imprimir listado"),
         QStringLiteral("Imprime el listado según el filtro actual"),
         QKeySequence(),
         {},
         false},
    };
    v.barra = {QStringLiteral("ActLista"),           QStringLiteral("ActEdicion"),
               QStringLiteral("ActFiltrar"),         QStringLiteral("ActBuscar"),
               QStringLiteral("ActGraficos"),        QStringLiteral("ActQuitarFiltros"),
               QStringLiteral("ActImprimirListado"), QStringLiteral("ActPrevisualizar"),
               QStringLiteral("ActImprimirEuros"),   QStringLiteral("ActCalcular"),
               QStringLiteral("ActCobrada"),         QStringLiteral("ActImprimirASobre"),
               QStringLiteral("ActCerrar")};
    v.fichero = {QStringLiteral("ActLista"),
                 QStringLiteral("ActEdicion"),
                 QStringLiteral("ActFiltrar"),
                 QStringLiteral("ActBuscar"),
                 QStringLiteral("ActGraficos"),
                 QStringLiteral("-"),
                 QStringLiteral("ActQuitarFiltros"),
                 QStringLiteral("ActPrevisualizar"),
                 QStringLiteral("ActImprimirEuros"),
                 QStringLiteral("ActImprimirASobre"),
                 QStringLiteral("-"),
                 QStringLiteral("ActCalcular"),
                 QStringLiteral("ActCobrada"),
                 QStringLiteral("-"),
                 QStringLiteral("ActCerrar")};
    v.columnas = {
        {QStringLiteral("NumFactura"), QStringLiteral("Nº Factura"), 80},
        {QStringLiteral("Fecha"), QStringLiteral("Fecha"), 85},
        {QStringLiteral("LCliente"), QStringLiteral("Cliente"), 280},
        {QStringLiteral("APagar"), QStringLiteral("Importe total"), 100,
         Qt::AlignRight | Qt::AlignVCenter, false, Formato::kMoneda, true},
        {QStringLiteral("Pagado"), QStringLiteral("Cobrado"), 60},
    };
    v.ayudasLista = {QStringLiteral("Primera factura"), QStringLiteral("Factura anterior"),
                     QStringLiteral("Factura siguiente"), QStringLiteral("Última factura")};
    v.ayudasEdicion = v.ayudasLista;
    v.ayudasEdicion << QStringLiteral("Validar factura para actualizar datos")
                    << QStringLiteral("Cancelar introducción de datos");
    const DeclLista clientes{d ? d->TClientes : nullptr,
                             {kColumnasCliente[0], kColumnasCliente[1]},
                             QStringLiteral("CIF"),
                             20};
    DeclFiltro cobrada{DeclFiltro::Logico, QStringLiteral("Cobrada"), QStringLiteral("Pagado"),
                       QStringLiteral("Muestra todas las facturas pagadas sí/no")};
    cobrada.sinCorchetes = true;
    DeclFiltro periodo{DeclFiltro::Periodo,
                       QStringLiteral("Desde fecha:"),
                       QStringLiteral("Fecha"),
                       QStringLiteral("Muestra todos las facturas del período seleccionado"),
                       {},
                       false,
                       QStringLiteral("Hasta fecha:")};
    DeclFiltro cliente{DeclFiltro::Lista,
                       QStringLiteral("Cliente:"),
                       QStringLiteral("CIF"),
                       QStringLiteral("Muestra todas las facturas del cliente seleccionado"),
                       clientes,
                       true};
    cliente.sinCorchetes = true;
    DeclFiltro fecha{DeclFiltro::Fecha, QStringLiteral("Fecha:"), QStringLiteral("Fecha"),
                     QStringLiteral("Muestra todas las facturas con la fecha introducida")};
    fecha.sinCorchetes = true;
    v.filtros = {cobrada, periodo, cliente, fecha};
    v.ayudaAcumular = QStringLiteral("Active esta casilla para enlazar un filtro con otro");
    v.ayudaMostrarTotal =
        QStringLiteral("Verifique esta casilla para mostrar el importe total al filtrar");
    v.tituloBuscarPor = QStringLiteral("Buscar factura por:");
    v.tituloOrdenarPor = QStringLiteral("Ordenar facturas por");
    v.busquedas = {
        {DeclBusqueda::Mascara, QStringLiteral("Número:"), QStringLiteral("NumFactura"),
         QStringLiteral("Busca una factura por su número"),
         QStringLiteral("No se ha encontrado ninguna factura con ese número."), Mascaras::Factura},
        {DeclBusqueda::Fecha, QStringLiteral("Fecha:"), QStringLiteral("Fecha"),
         QStringLiteral("Busca una factura por su fecha"),
         QStringLiteral("No se ha encontrado ninguna factura con esa fecha.")},
    };
    v.ordenes = {
        {QStringLiteral("Fecha"), QStringLiteral("Fecha"), QStringLiteral("Fecha a buscar:")},
        {QStringLiteral("Número de factura"), QStringLiteral("NumFactura"),
         QStringLiteral("Nº a buscar:")},
        {QStringLiteral("CIF de cliente"), QStringLiteral("CIF"), QStringLiteral("CIF a buscar:")},
    };
    v.ordenInicial = 1;
    v.grafico = DeclGrafico{QStringLiteral("Fecha"),
                            {SerieGrafico{QStringLiteral("Importe"), QStringLiteral("APagar"), {}}},
                            QStringLiteral("FACTURACIÓN"),
                            QStringLiteral("Día")};
    DeclTotal total =
        DeclTotal::importe(QStringLiteral("select *\nfrom facturas"), QStringLiteral("APagar"));
    total.limpiarSinMostrar = false;
    total.formatoSinFiltro = QStringLiteral("###,###,###,##0.00;(###,###,###,##0.00);0");
    total.sufijoSinFiltro = QStringLiteral(" Ptas.");
    v.total = total;
    v.textoSinFiltro = QStringLiteral("Todas (sin filtro)");
    v.descartarNuevoAlEliminar = true;
    v.textoClaveDuplicada =
        QStringLiteral("El número de factura ya existe, cámbielo y vuelva a intentarlo.");
    return v;
}

TFormFacturacion::TFormFacturacion(QWidget *parent) : VentanaRegistro(declaracion(), parent) {
    Connection *db = TDatos::instancia()->db;
    tabla()->addLookupField(LookupDef{QStringLiteral("LCliente"), QStringLiteral("CIF"),
                                      QStringLiteral("cliente.DB"), QStringLiteral("CIF"),
                                      QStringLiteral("Apellidos"), FieldType::Text, 255});
    // The amounts in euros of the printed invoice.
    for (const auto &[nombre, campo] : {std::pair{"BrutoE", "Tbruto"}, std::pair{"BaseE", "Base"},
                                        std::pair{"ImporteIVAE", "TotalIva"}}) {
        const QString origen = QString::fromLatin1(campo);
        tabla()->addCalcField(QString::fromLatin1(nombre), FieldType::Number, 0,
                              [origen](const DataSet &d) {
                                  return QVariant(d.value(origen).toDouble() / cambioEmpresa());
                              });
    }
    m_lineas = new Table(db, QStringLiteral("detalle.DB"), this);
    m_lineas->setIndexName(QStringLiteral("NumeroFactura"));
    m_lineas->setMasterSource(tabla(), QStringLiteral("NumFactura"));
    m_lineas->addCalcField(
        QStringLiteral("ImporteEuros"), FieldType::Number, 0,
        [](const DataSet &d) { return QVariant(d.value(QStringLiteral("Importe")).toDouble()); });
    m_clientes = new Table(db, QStringLiteral("cliente.DB"), this);
    m_clientes->setIndexName(QStringLiteral("CIFCliente"));

    // Printing the invoice, its envelope and the listing is not part of this window yet.
    for (const char *a :
         {"ActPrevisualizar", "ActImprimirEuros", "ActImprimirASobre", "ActImprimirListado"})
        accion(QString::fromLatin1(a))->setEnabled(false);

    connect(tabla(), &DataSet::afterInsert, this, [this] {
        tabla()->setValue(QStringLiteral("Fecha"), QDate::currentDate());
        tabla()->setValue(QStringLiteral("C"), QStringLiteral("T"));
        tabla()->setValue(QStringLiteral("Cambio"), 0.0);
        tabla()->setValue(QStringLiteral("Retencion"), 0.0);
        if (m_numero)
            m_numero->setFocus();
    });
    connect(tabla(), &DataSet::afterScroll, this, &TFormFacturacion::seguirCliente);
    connect(tabla(), &DataSet::afterInsert, this, &TFormFacturacion::seguirCliente);
    connect(tabla(), &DataSet::afterCancel, this, &TFormFacturacion::seguirCliente);
    connect(tabla(), &DataSet::afterRefresh, this, &TFormFacturacion::seguirCliente);
    connect(tabla(), &DataSet::fieldChanged, this, [this](const QString &campo) {
        if (campo.compare(QLatin1String("CIF"), Qt::CaseInsensitive) == 0 ||
            campo.compare(QLatin1String("Moneda"), Qt::CaseInsensitive) == 0)
            seguirCliente();
    });
    if (grafico())
        grafico()->setConstructorTitulo([this] {
            const QString filtro = tabla()->filtered() ? tabla()->filter() : QString();
            return filtro.isEmpty() ? QStringLiteral("FACTURACIÓN")
                                    : QStringLiteral("FACTURACIÓN - FILTRO: ") + filtro;
        });
}

void TFormFacturacion::abrirTablas() {
    TDatos &d = *TDatos::instancia();
    m_clientes->open();
    m_lineas->open();
    d.TClientes->open();
    d.TPortes->open();
    d.TReportes->open();
    d.TViajes->open();
    if (grafico()) {
        const QString moneda = ValoresPrincipales::instancia()->ajustes.moneda;
        grafico()->setTituloEjeValores(QStringLiteral("Importe (") + moneda + QStringLiteral(")"));
    }
    seguirCliente();
}

QWidget *TFormFacturacion::crearEdicion() {
    auto *w = new QWidget;
    w->setObjectName(QStringLiteral("Edicion"));

    auto *cabecera = new QGridLayout;
    auto etiqueta = [&](const QString &texto, QWidget *buddy) {
        auto *l = new QLabel(texto, w);
        l->setBuddy(buddy);
        return l;
    };
    m_numero = new CajaDatos(w);
    m_numero->setObjectName(QStringLiteral("TxtNumFactura"));
    m_numero->enlazar(fuente(), QStringLiteral("NumFactura"), Mascaras::Factura);
    m_numero->setMaximumWidth(110);
    auto *tipo = new ListaValoresDatos({QStringLiteral("T"), QStringLiteral("ABONO"),
                                        QStringLiteral("FACTURA"), QStringLiteral("OTRO")},
                                       w);
    tipo->setObjectName(QStringLiteral("TxtC"));
    tipo->enlazar(fuente(), QStringLiteral("C"));
    auto *fecha = new CajaFechaDatos(w);
    fecha->setObjectName(QStringLiteral("TxtFecha"));
    fecha->enlazar(fuente(), QStringLiteral("Fecha"));
    fecha->setMaximumWidth(90);
    auto *contabilizada = new CasillaDatos(QStringLiteral("C&ontabilizada"), w);
    contabilizada->setObjectName(QStringLiteral("CBFacturado"));
    contabilizada->enlazar(fuente(), QStringLiteral("Facturado"));
    auto *cobradaCasilla = new CasillaDatos(QStringLiteral("C&obrada"), w);
    cobradaCasilla->setObjectName(QStringLiteral("CBPagado"));
    cobradaCasilla->enlazar(fuente(), QStringLiteral("Pagado"));
    cobradaCasilla->setEnabled(false);
    m_cliente = new ListaBusquedaDatos(w);
    m_cliente->setObjectName(QStringLiteral("TxtCliente"));
    m_cliente->setLista(m_clientes, kColumnasCliente, QStringLiteral("CIF"), 20);
    m_cliente->enlazar(fuente(), QStringLiteral("CIF"));
    m_pais = new QLabel(w);
    m_pais->setObjectName(QStringLiteral("LPais"));

    cabecera->addWidget(etiqueta(QStringLiteral("&Nº Factura"), m_numero), 0, 0);
    cabecera->addWidget(m_numero, 0, 1);
    cabecera->addWidget(etiqueta(QStringLiteral("Tipo"), tipo), 0, 2);
    cabecera->addWidget(tipo, 0, 3);
    cabecera->addWidget(etiqueta(QStringLiteral("&Fecha"), fecha), 0, 4);
    cabecera->addWidget(fecha, 0, 5);
    cabecera->addWidget(contabilizada, 0, 6);
    cabecera->addWidget(cobradaCasilla, 0, 7);
    cabecera->addWidget(etiqueta(QStringLiteral("Cli&ente"), m_cliente), 1, 0);
    cabecera->addWidget(m_cliente, 1, 1, 1, 5);
    cabecera->addWidget(new QLabel(QStringLiteral("País:"), w), 1, 6);
    cabecera->addWidget(m_pais, 1, 7);
    cabecera->setColumnStretch(8, 1);

    const QList<ColumnaEdicion> columnas = {
        {QStringLiteral("IDPorte"), QStringLiteral("Porte"), 60},
        {QStringLiteral("IDReporte"), QStringLiteral("Reporte"), 60},
        {QStringLiteral("NumPorte"), QStringLiteral("Número"), 80},
        {QStringLiteral("Fecha"), QStringLiteral("Fecha"), 85},
        {QStringLiteral("Concepto"), QStringLiteral("Concepto"), 420},
        {QStringLiteral("Importe"),
         QStringLiteral("Importe"),
         100,
         true,
         {},
         false,
         Formato::kMoneda},
    };
    m_rejillaLineas = crearRejillaLineas(
        m_lineas, columnas,
        {QStringLiteral("Primer concepto"), QStringLiteral("Concepto anterior"),
         QStringLiteral("Concepto siguiente"), QStringLiteral("Último concepto"),
         QStringLiteral("Nuevo concepto"), QStringLiteral("Eliminar concepto"),
         QStringLiteral("Validar concepto"), QStringLiteral("Cancelar edición")},
        QStringLiteral("NumFactura"), QStringLiteral("NumFactura"),
        QStringLiteral("Antes de añadir conceptos debe añadir la factura."), kSeccionAnchos, w);
    auto *calcularBoton = new QPushButton(QStringLiteral("Calcular factura"), w);
    calcularBoton->setObjectName(QStringLiteral("BCalcular"));
    calcularBoton->setToolTip(QStringLiteral("Calcula la factura actual"));
    connect(calcularBoton, &QPushButton::clicked, this, &TFormFacturacion::calcularFactura);

    // The totals: editable boxes on the invoice.
    auto *totales = new QGridLayout;
    auto importe = [&](const QString &campo, const QString &formato, const QString &ayuda) {
        auto *c = new CajaImporteDatos(w);
        c->setObjectName(QStringLiteral("Txt") + campo);
        c->enlazar(fuente(), campo, formato);
        c->setToolTip(ayuda);
        c->setMaximumWidth(130);
        return c;
    };
    auto *iva = importe(QStringLiteral("Iva"), QString(), QStringLiteral("Porcentaje de IVA"));
    auto *cambio =
        importe(QStringLiteral("Cambio"), QString(), QStringLiteral("Cambio respecto al EURO"));
    auto *moneda = new CajaDatos(w);
    moneda->setObjectName(QStringLiteral("TxtMoneda"));
    moneda->enlazar(fuente(), QStringLiteral("Moneda"));
    moneda->setToolTip(QStringLiteral("Nombre de la moneda si no es la peseta"));
    moneda->setMaximumWidth(130);
    auto *bruto = importe(QStringLiteral("Tbruto"), Formato::kMoneda, QString());
    auto *base = importe(QStringLiteral("Base"), Formato::kMoneda, QString());
    auto *totalIva = importe(QStringLiteral("TotalIva"), Formato::kMoneda, QString());
    auto *otro = importe(QStringLiteral("OtroImporte"), Formato::kMoneda,
                         QStringLiteral("Importe total de la factura en la moneda introducida"));
    auto *euros = importe(QStringLiteral("Euros"), kUnDecimal,
                          QStringLiteral("Importe total de la factura en euros"));
    m_etiquetaOtro = new QLabel(w);
    m_etiquetaOtro->setObjectName(QStringLiteral("LOtroImporte"));
    connect(moneda, &QLineEdit::textEdited, this, [this](const QString &t) {
        m_etiquetaOtro->setText(QStringLiteral("A pagar (") + t + QStringLiteral("):"));
    });
    totales->addWidget(etiqueta(QStringLiteral("% &IVA"), iva), 0, 0);
    totales->addWidget(iva, 0, 1);
    totales->addWidget(etiqueta(QStringLiteral("&Cambio"), cambio), 1, 0);
    totales->addWidget(cambio, 1, 1);
    totales->addWidget(etiqueta(QStringLiteral("&Moneda"), moneda), 2, 0);
    totales->addWidget(moneda, 2, 1);
    totales->addWidget(etiqueta(QStringLiteral("Bruto"), bruto), 0, 2);
    totales->addWidget(bruto, 0, 3);
    totales->addWidget(etiqueta(QStringLiteral("Base"), base), 1, 2);
    totales->addWidget(base, 1, 3);
    totales->addWidget(etiqueta(QStringLiteral("Importe I.V.A."), totalIva), 2, 2);
    totales->addWidget(totalIva, 2, 3);
    totales->addWidget(m_etiquetaOtro, 0, 4);
    totales->addWidget(otro, 0, 5);
    totales->addWidget(etiqueta(QStringLiteral("Importe total:"), euros), 1, 4);
    totales->addWidget(euros, 1, 5);
    totales->setColumnStretch(6, 1);

    auto *barraLineas = new QHBoxLayout;
    barraLineas->addWidget(calcularBoton);
    barraLineas->addStretch();

    auto *capa = new QVBoxLayout(w);
    capa->setContentsMargins(0, 0, 0, 0);
    capa->addLayout(cabecera);
    capa->addLayout(barraLineas);
    capa->addWidget(m_rejillaLineas, 1);
    capa->addLayout(totales);
    seguirCliente();
    return w;
}

// The clients table follows the invoice's client, and the labels show its country and the
// other currency's name.
void TFormFacturacion::seguirCliente() {
    if (!m_pais)
        return;
    QString pais;
    try {
        const QVariant cif =
            tabla()->isActive() ? tabla()->value(QStringLiteral("CIF")) : QVariant();
        if (m_clientes->isActive() && !cif.isNull() &&
            m_clientes->locate(QStringLiteral("CIF"), cif))
            pais = m_clientes->value(QStringLiteral("Pais")).toString();
    } catch (const StoreError &) {
    }
    m_pais->setText(pais);
    const QString moneda =
        tabla()->isActive() ? tabla()->value(QStringLiteral("Moneda")).toString() : QString();
    m_etiquetaOtro->setText(QStringLiteral("A pagar (") + moneda + QStringLiteral("):"));
}

QString TFormFacturacion::textoPais() const {
    return m_pais ? m_pais->text() : QString();
}

QString TFormFacturacion::etiquetaOtroImporte() const {
    return m_etiquetaOtro ? m_etiquetaOtro->text() : QString();
}

bool TFormFacturacion::grabarDetalles() {
    return !m_rejillaLineas || m_rejillaLineas->grabar();
}

void TFormFacturacion::calcularFactura() {
    if (!grabarDetalles() || !grabar() || !tabla()->isActive() || tabla()->isEmpty())
        return;
    const QString numero = tabla()->value(QStringLiteral("NumFactura")).toString();
    const QString cliente = m_cliente ? m_cliente->textoMostrado()
                                      : tabla()->value(QStringLiteral("LCliente")).toString();
    ResultadoFactura r;
    try {
        r = CalculoFactura(*tabla()->connection()).calcular(numero, cliente);
    } catch (const StoreError &e) {
        msError(e.message());
        return;
    }
    tabla()->refresh();
    m_lineas->refresh();
    for (const QString &aviso : r.avisos)
        msAtencion(aviso);
    if (r.reportesSinMatricula)
        msInfo(QStringLiteral("Existen reportes sin matrícula."));
}

void TFormFacturacion::cobrada() {
    QLabel *panel = panelEstado();
    if (panel)
        panel->clear();
    if (!grabarDetalles() || !grabar() || !tabla()->isActive() || tabla()->isEmpty())
        return;
    const QString numero = tabla()->value(QStringLiteral("NumFactura")).toString();
    if (tabla()->value(QStringLiteral("Pagado")).toBool() &&
        !msSi(QStringLiteral("Atención la factura nº: ") + numero +
              QStringLiteral(" ya ha sido cobrada.\r\r¿Desea volver a actualizar la factura, sus "
                             "velmora como cobrados?")))
        return;
    if (!msSi(QStringLiteral("Está seguro que desea actualizar la factura nº: ") + numero +
              QStringLiteral(" y sus velmora como cobrados?")))
        return;
    Cobro c;
    try {
        c = cobrarFactura(*tabla()->connection(), numero);
    } catch (const StoreError &e) {
        msError(e.message());
        return;
    }
    tabla()->refresh();
    m_lineas->refresh();
    if (panel)
        panel->setText(
            QStringLiteral("%1 Portes y %2 Reportes actualizados").arg(c.portes).arg(c.reportes));
}

QString TFormFacturacion::preguntaEliminar() const {
    return QStringLiteral("¿Está seguro que desea eliminar la factura nº: [") +
           tabla()->value(QStringLiteral("NumFactura")).toString() + QStringLiteral("] ?");
}

void TFormFacturacion::eliminarRegistro() {
    if (m_lineas->isEditing())
        m_lineas->cancel();
    if (tabla()->isEditing())
        tabla()->cancel();
    eliminarFactura(*tabla()->connection(), *tabla());
}

void TFormFacturacion::closeEvent(QCloseEvent *e) {
    VentanaRegistro::closeEvent(e);
    if (!e->isAccepted())
        return;
    if (m_rejillaLineas)
        m_rejillaLineas->guardarAnchos();
    m_lineas->close();
    m_clientes->close();
}
