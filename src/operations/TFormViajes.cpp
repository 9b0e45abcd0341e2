#include "operations/TFormViajes.h"

#include "app/Configuracion.h"
#include "app/Mensajes.h"
#include "app/Progreso.h"
#include "common/ControlesDatos.h"
#include "common/Formato.h"
#include "common/Mascaras.h"
#include "common/MotorListado.h"
#include "common/RejillaEdicion.h"
#include "common/TextoCampo.h"
#include "operations/EliminarViaje.h"
#include "operations/ResultadoViaje.h"
#include "store/DataSource.h"
#include "store/Dates.h"
#include "store/FilterParser.h"
#include "store/Query.h"
#include "store/StoreError.h"
#include "store/TDatos.h"
#include "store/Table.h"

#include <QAction>
#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {
TDatos &datos() {
    return *TDatos::instancia();
}

const QString kDosDecimales = QStringLiteral("###,###,###,##0.00;-###,###,###,##0.00;0");
const QString kUnDecimal = QStringLiteral("###,###,###,##0.0;-###,###,###,##0.0;0");

const QList<ColumnaRejilla> kColumnasVehiculo = {
    {QStringLiteral("Matricula"), QStringLiteral("Matrícula"), 80},
    {QStringLiteral("Tipo"), QStringLiteral("Tipo"), 70},
    {QStringLiteral("Descripcion"), QStringLiteral("Descripción"), 150}};
const QList<ColumnaRejilla> kColumnasLugar = {
    {QStringLiteral("Lugar"), QStringLiteral("Lugar"), 220}};

struct SerieViaje {
    const char *radio;
    const char *serie;
    const char *campo;
    const char *titulo;
    const char *eje; // "%M" stands for the currency
};
const SerieViaje kSeries[] = {
    {"&Beneficio", "BeneficioTotal", "Beneficios", "BENEFICIO DE VIAJES", "Beneficio (%M)"},
    {"&Precio medio por Km", "PrecioMedioKm", "PrecioKm", "PRECIO MEDIO/KM DE VIAJES",
     "Precio Medio Km (%M)"},
    {"&Consumo", "Consumo", "Consumo", "CONSUMO MEDIO DE VIAJES", "Consumo (L/100 Km)"},
    {"&Kilómetros", "Kilómetros", "KmtTotales", "KILÓMETROS DE VIAJES", "Kilómetros"},
};
} // namespace

DeclaracionVentana TFormViajes::declaracion() {
    TDatos *d = TDatos::instancia();
    DeclaracionVentana v;
    v.nombre = QStringLiteral("FormViajes");
    v.titulo = QStringLiteral("Viajes");
    v.tabla = QStringLiteral("viaje.DB");
    v.paginas = {{Pagina::Lista, QStringLiteral("Lista")},
                 {Pagina::Edicion, QStringLiteral("Edición")},
                 {Pagina::Filtrar, QStringLiteral("Filtrar")},
                 {Pagina::Buscar, QStringLiteral("Buscar")},
                 {Pagina::Graficos, QStringLiteral("Gráficos")}};
    v.comandos = {
        comandoEstandar(Comando::Lista, QStringLiteral("Lista según el filtro aplicado")),
        comandoEstandar(Comando::Edicion, QStringLiteral("Añadir, modificar, eliminar")),
        comandoEstandar(Comando::Filtrar, QStringLiteral("Filtrar")),
        comandoEstandar(Comando::Buscar, QStringLiteral("Buscar/Ordenar")),
        {Comando::Graficos, QStringLiteral("ActGrafico"), QStringLiteral("Gráfico"),
         QStringLiteral("Gráfico de decisión")},
        {Comando::Calcular, QStringLiteral("ActCalcular"), QStringLiteral("Calcular resultado"),
         QStringLiteral("Calcula el beneficio del viaje actual")},
        comandoEstandar(Comando::QuitarFiltros, QStringLiteral("Quita todos los filtros")),
        comandoEstandar(Comando::Imprimir, QStringLiteral("Imprime el viaje actual")),
        comandoEstandar(Comando::Cerrar, QStringLiteral("Cierra esta ventana")),
        {Comando::Nuevo, QStringLiteral("ActNuevoPorte"), QStringLiteral("Nuevo"),
         QStringLiteral("Añade un nuevo viaje")},
        {Comando::Eliminar, QStringLiteral("ActEliminarPorte"), QStringLiteral("Eliminar"),
         QStringLiteral("Elimina el viaje actual")},
    };
    v.extras = {{QStringLiteral("actRecalcular"),
                 QStringLiteral("Recalcular todos"),
                 QStringLiteral("Recalcula todos los viajes"),
                 QKeySequence(),
                 {}}};
    v.barra = {QStringLiteral("ActLista"),
               QStringLiteral("ActEdicion"),
               QStringLiteral("ActFiltrar"),
               QStringLiteral("ActBuscar"),
               QStringLiteral("-"),
               QStringLiteral("ActQuitarFiltros"),
               QStringLiteral("ActPrevisualizar"),
               QStringLiteral("-"),
               QStringLiteral("ActCerrar")};
    v.fichero = {QStringLiteral("ActLista"),
                 QStringLiteral("ActEdicion"),
                 QStringLiteral("ActFiltrar"),
                 QStringLiteral("ActBuscar"),
                 QStringLiteral("-"),
                 QStringLiteral("ActQuitarFiltros"),
                 QStringLiteral("ActPrevisualizar"),
                 QStringLiteral("-"),
                 QStringLiteral("ActCalcular"),
                 QStringLiteral("actRecalcular"),
                 QStringLiteral("-"),
                 QStringLiteral("ActCerrar")};
    const Qt::Alignment derecha = Qt::AlignRight | Qt::AlignVCenter;
    v.columnas = {
        {QStringLiteral("NumViaje"), QStringLiteral("Nº Viaje"), 75},
        {QStringLiteral("Origen"), QStringLiteral("Origen"), 130},
        {QStringLiteral("Destino"), QStringLiteral("Destino"), 130},
        {QStringLiteral("MatricTractor"), QStringLiteral("M. Tractor"), 75},
        {QStringLiteral("MatricRemolque"), QStringLiteral("M. Remolq."), 75},
        {QStringLiteral("KmtTotales"), QStringLiteral("Km Totales"), 75, derecha, false,
         Formato::kEntero, true},
        {QStringLiteral("FechaSalida"), QStringLiteral("F. Salida"), 80},
        {QStringLiteral("FechaLlegada"), QStringLiteral("F. Llegada"), 80},
        {QStringLiteral("PrecioKm"), QStringLiteral("Precio Km"), 75, derecha, false,
         Formato::kMoneda, true},
        {QStringLiteral("Beneficios"), QStringLiteral("Imp. Beneficio"), 95, derecha, false,
         Formato::kMoneda, true},
        {QStringLiteral("PorcentajeBeneficio"), QStringLiteral("% Benef."), 65, derecha, false,
         kDosDecimales, true},
    };
    v.ayudaRejilla = QStringLiteral("Haga doble click sobre el viaje que desee editar");
    v.ayudasLista = {QStringLiteral("Primer Viaje"), QStringLiteral("Viaje anterior"),
                     QStringLiteral("Viaje siguiente"), QStringLiteral("Último Viaje")};
    v.ayudasEdicion = v.ayudasLista;
    v.ayudasEdicion << QStringLiteral("Validar Viaje")
                    << QStringLiteral("Cancelar edición de datos");

    const DeclLista vehiculos{d ? d->TCamiones : nullptr, kColumnasVehiculo,
                              QStringLiteral("Matricula"), 10};
    const DeclLista lugares{d ? d->TLugar : nullptr, kColumnasLugar, QStringLiteral("Lugar"), 20};
    const DeclLista conductores{d ? d->TCamioneros : nullptr,
                                {{QStringLiteral("Apellidos"), QStringLiteral("Apellidos"), 200}},
                                QStringLiteral("CIF"),
                                15};
    v.filtros = {
        {DeclFiltro::Logico, QStringLiteral("Pagado:"), QStringLiteral("Pagado"), QString()},
        {DeclFiltro::Lista, QStringLiteral("Matrícula tractor:"), QStringLiteral("MatricTractor"),
         QString(), vehiculos},
        {DeclFiltro::Lista, QStringLiteral("Matrícula remolque:"), QStringLiteral("MatricRemolque"),
         QString(), vehiculos},
        {DeclFiltro::Lista, QStringLiteral("Origen:"), QStringLiteral("Origen"), QString(),
         lugares},
        {DeclFiltro::Lista, QStringLiteral("Destino:"), QStringLiteral("Destino"), QString(),
         lugares},
        {DeclFiltro::Lista, QStringLiteral("Camionero:"), QStringLiteral("CondCIF"), QString(),
         conductores, true},
        {DeclFiltro::Periodo,
         QStringLiteral("Desde fecha de salida:"),
         QStringLiteral("FechaSalida"),
         QString(),
         {},
         false,
         QStringLiteral("Hasta fecha salida:"),
         true},
    };
    v.tituloAcumular = QStringLiteral("&Acumular filtros sucesivamente");
    v.busquedas = {
        {DeclBusqueda::Mascara, QStringLiteral("Número:"), QStringLiteral("NumViaje"), QString(),
         QStringLiteral("No se ha encontrado ningún viaje con ese número."),
         Mascaras::NumeroBusqueda},
        {DeclBusqueda::Fecha, QStringLiteral("Fecha salida:"), QStringLiteral("FechaSalida"),
         QStringLiteral("Busca un viaje con la fecha de salida introducida"),
         QStringLiteral("No se ha encontrado ningún viaje con esa fecha de salida.")},
        {DeclBusqueda::Lista, QStringLiteral("Matrícula tractor:"), QStringLiteral("MatricTractor"),
         QStringLiteral("Busca una matrícula de tractor en un viaje"),
         QStringLiteral("No se ha encontrado ningún viaje con esa matrícula de tractor."),
         QString(), vehiculos},
        {DeclBusqueda::Lista, QStringLiteral("Matrícula remolque:"),
         QStringLiteral("MatricRemolque"),
         QStringLiteral("Busca una matrícula de remolque en un viaje"),
         QStringLiteral("No se ha encontrado ningún viaje con esa matrícula de remolque."),
         QString(), vehiculos},
        {DeclBusqueda::Fecha, QStringLiteral("Fecha llegada:"), QStringLiteral("FechaLlegada"),
         QStringLiteral("Busca un viaje con la fecha de llegada introducida"),
         QStringLiteral("No se ha encontrado ningún viaje con esa fecha de llegada.")},
    };
    v.ordenes = {
        {QStringLiteral("&Número de viaje"), QStringLiteral("NumViaje"),
         QStringLiteral("Nº a buscar:")},
        {QStringLiteral("Fecha de &salida"), QStringLiteral("FechaSalida"),
         QStringLiteral("Fecha salida a buscar:")},
        {QStringLiteral("Fecha de &llegada"), QStringLiteral("FechaLlegada"),
         QStringLiteral("Fecha llegada a buscar:")},
        {QStringLiteral("NIF del c&onductor"), QStringLiteral("CondCIF"),
         QStringLiteral("NIF conductor a buscar:")},
        {QStringLiteral("&Destino del viaje"), QStringLiteral("Destino"),
         QStringLiteral("Destino a buscar:")},
        {QStringLiteral("&Matrícula de tractor"), QStringLiteral("MatricTractor"),
         QStringLiteral("Matrícula tractor a buscar:")},
        {QStringLiteral("Matríc&ula de remolque"), QStringLiteral("MatricRemolque"),
         QStringLiteral("Matrícula remolque a buscar:")},
        {QStringLiteral("Origen del vi&aje"), QStringLiteral("Origen"),
         QStringLiteral("Origen a buscar:")},
    };
    DeclTotal t;
    t.sql = QStringLiteral("select *\nfrom viaje");
    const QString m = QStringLiteral("%M");
    t.cifras = {
        {QStringLiteral("Número"), QStringLiteral("TxtNumero"), CifraTotal::Cuenta},
        {QStringLiteral("Imp. Beneficio"), QStringLiteral("TxtBeneficio"), CifraTotal::Suma,
         QStringLiteral("Beneficios"), Formato::kMoneda, m},
        {QStringLiteral("% Benef."), QStringLiteral("TxtPorcentaje"), CifraTotal::Media,
         QStringLiteral("PorcentajeBeneficio"), kUnDecimal, QStringLiteral(" %"),
         QStringLiteral("Porcentaje medio de beneficio de todos los viajes seleccionados")},
        {QStringLiteral("Imp. Autopista"), QStringLiteral("TxtAutopista"), CifraTotal::Suma,
         QStringLiteral("TotalAutopista"), Formato::kMoneda, m},
        {QStringLiteral("Imp. Combustible"), QStringLiteral("TxtCombustible"), CifraTotal::Suma,
         QStringLiteral("TotalCombustible"), Formato::kMoneda, m},
        {QStringLiteral("Imp. Camionero"), QStringLiteral("TxtCamionero"), CifraTotal::Suma,
         QStringLiteral("TotalCosteCamionero"), Formato::kMoneda, m},
        {QStringLiteral("Precio/Km"), QStringLiteral("TxtPrecioKm"), CifraTotal::Suma,
         QStringLiteral("PrecioKm"), Formato::kMoneda, m},
        {QStringLiteral("Consumo"), QStringLiteral("TxtConsumo"), CifraTotal::Media,
         QStringLiteral("Consumo"), kUnDecimal, QStringLiteral("L/100 Km")},
        {QStringLiteral("Imp. Otros gastos"), QStringLiteral("TxtOtrosGastos"), CifraTotal::Suma,
         QStringLiteral("TotalOtrosGastos"), Formato::kMoneda, m},
        {QStringLiteral("Km"), QStringLiteral("TxtKm"), CifraTotal::Suma,
         QStringLiteral("KmtTotales"), Formato::kEntero},
        {QStringLiteral("Días"), QStringLiteral("TxtDias"), CifraTotal::Suma,
         QStringLiteral("NumDias"), Formato::kEntero},
    };
    t.limpiarSinMostrar = false;
    t.quitarSiempreRecalcula = true;
    t.botonPaginaSoloSiMarcado = true;
    t.tituloBotonQuitar = QStringLiteral("&Quitar todos los filtros");
    v.total = t;
    v.grafico = DeclGrafico{QStringLiteral("FechaSalida"), {}, QString(), QStringLiteral("Viaje")};
    v.textoClaveDuplicada =
        QStringLiteral("El número de viaje ya existe, cámbielo y vuelva a intentarlo.");
    v.preguntaEliminar =
        QStringLiteral("¿Está seguro que desea eliminar el viaje actual?\r\r  · Pulse \"Sí\" para "
                       "eliminar el viaje (recuerde que no podrá recuperarlo).\r · Pulse \"No\" "
                       "para cancelar el proceso.");
    v.descartarNuevoAlEliminar = true;
    return v;
}

TFormViajes::TFormViajes(QWidget *parent) : VentanaRegistro(declaracion(), parent) {
    Connection *db = TDatos::instancia()->db;
    m_conductores = new Table(db, QStringLiteral("Camioner.DB"), this);
    m_tractores = new Table(db, QStringLiteral("camiones.DB"), this);
    m_remolques = new Table(db, QStringLiteral("camiones.DB"), this);
    m_lineasAutopista = new Table(db, QStringLiteral("gasautop.DB"), this);
    m_lineasCombustible = new Table(db, QStringLiteral("gascombu.DB"), this);
    m_lineasOtros = new Table(db, QStringLiteral("gasviaje.DB"), this);
    m_lineasAutopista->setIndexName(QStringLiteral("GasAutopNumViaje"));
    m_lineasCombustible->setIndexName(QStringLiteral("GasCombuNumViaje"));
    m_lineasOtros->setIndexName(QStringLiteral("NumViaje"));
    for (Table *l : {m_lineasAutopista, m_lineasCombustible, m_lineasOtros})
        l->setMasterSource(tabla(), QStringLiteral("NumViaje"));
    connect(accion(QStringLiteral("actRecalcular")), &QAction::triggered, this,
            &TFormViajes::recalcularTodos);
    connect(m_lineasOtros, &DataSet::afterPost, this, &TFormViajes::recordarConcepto);
    prepararGrafico();
}

void TFormViajes::abrirTablas() {
    TDatos &d = datos();
    m_conductores->setIndexFieldNames(QStringLiteral("Apellidos"));
    m_conductores->open();
    m_tractores->open();
    m_remolques->setFilter(QStringLiteral("[Tipo] = 'Remolque'"));
    m_remolques->setFiltered(true);
    m_remolques->open();
    for (Table *l : {m_lineasAutopista, m_lineasCombustible, m_lineasOtros})
        l->open();
    d.TCamiones->open();
    d.TCamioneros->open();
    d.TLugar->open();
    d.TConGasto->open();
}

RejillaEdicion *TFormViajes::rejilla(const QString &titulo, Table *lineas,
                                     const QList<ColumnaEdicion> &columnas) {
    auto *r =
        new RejillaEdicion(titulo, lineas, columnas,
                           {QStringLiteral("Primer Gasto"), QStringLiteral("Gasto anterior"),
                            QStringLiteral("Gasto siguiente"), QStringLiteral("Último Gasto"),
                            QStringLiteral("Nuevo Gasto"), QStringLiteral("Eliminar Gasto"),
                            QStringLiteral("Validar Gasto"), QStringLiteral("Cancelar edición")});
    // A line needs its trip stored first.
    r->antesDeAnadir = [this] {
        if (!grabar())
            return false;
        if (tabla()->isEmpty()) {
            msInfo(QStringLiteral("Antes de añadir gastos debe añadir el viaje."));
            return false;
        }
        return true;
    };
    r->alAnadir = [this, lineas] {
        mostrarPagina(Pagina::Edicion);
        const QDate llegada = tabla()->value(QStringLiteral("FechaLlegada")).toDate();
        if (llegada.isValid()) {
            lineas->setValue(QStringLiteral("Mes"), llegada.month());
            lineas->setValue(QStringLiteral("Ano"), llegada.year());
        }
        lineas->setValue(QStringLiteral("Matricula"),
                         tabla()->value(QStringLiteral("MatricTractor")));
    };
    return r;
}

QStringList TFormViajes::conceptos() {
    // The remembered concepts, in their table's order; empty ones are cleared on the way.
    Table &c = *datos().TConGasto;
    QStringList out;
    try {
        c.open();
        c.setFiltered(false);
        for (c.first(); !c.eof();) {
            const QString concepto = c.value(QStringLiteral("Concepto")).toString();
            if (concepto.trimmed().isEmpty()) {
                c.remove();
                continue;
            }
            out << concepto;
            c.next();
        }
    } catch (const StoreError &e) {
        msError(e.message());
    }
    return out;
}

void TFormViajes::recordarConcepto() {
    const QString concepto = m_lineasOtros->value(QStringLiteral("Concepto")).toString();
    if (concepto.trimmed().isEmpty())
        return;
    Table &c = *datos().TConGasto;
    try {
        c.open();
        c.setFiltered(false);
        if (c.locate(QStringLiteral("Concepto"), concepto))
            return;
        c.append();
        c.setValue(QStringLiteral("Concepto"), concepto);
        const QVariant importe = m_lineasOtros->value(QStringLiteral("Importe"));
        if (!importe.isNull())
            c.setValue(QStringLiteral("Importe"), importe);
        c.post();
    } catch (const StoreError &) {
        // A concept that cannot be remembered does not stop the line.
        c.cancel();
    }
}

QWidget *TFormViajes::crearEdicion() {
    auto *w = new QWidget;
    w->setObjectName(QStringLiteral("Edicion"));
    auto *datosViaje = new QGridLayout;
    int fila = 0;
    auto anadir = [&](const QString &etiqueta, QWidget *editor, int columna = 0) {
        auto *l = new QLabel(etiqueta, w);
        l->setBuddy(editor);
        datosViaje->addWidget(l, fila, columna);
        datosViaje->addWidget(editor, fila, columna + 1);
    };
    auto caja = [&](const QString &nombre, const QString &campo,
                    const QString &mascara = QString()) {
        auto *c = new CajaDatos(w);
        c->setObjectName(nombre);
        c->enlazar(fuente(), campo, mascara);
        return c;
    };
    m_numero = caja(QStringLiteral("TxtNumViaje"), QStringLiteral("NumViaje"), Mascaras::Numero);
    connect(m_numero, &QLineEdit::editingFinished, this, &TFormViajes::enlazarPorNumero);
    anadir(QStringLiteral("Nº Viaje"), m_numero);
    anadir(QStringLiteral("Nº Porte"),
           caja(QStringLiteral("TxtNumPorte"), QStringLiteral("NumPorte"), Mascaras::Numero), 2);
    ++fila;
    // The places' full names: a shorter box would cut a name taken from its haul.
    auto *origen = caja(QStringLiteral("TxtOrigen"), QStringLiteral("Origen"));
    auto *destino = caja(QStringLiteral("TxtDestino"), QStringLiteral("Destino"));
    anadir(QStringLiteral("Origen"), origen);
    anadir(QStringLiteral("Destino"), destino, 2);
    ++fila;
    m_salida = new CajaFechaDatos(w);
    m_salida->setObjectName(QStringLiteral("TxtFechaSalida"));
    m_salida->enlazar(fuente(), QStringLiteral("FechaSalida"));
    m_llegada = new CajaFechaDatos(w);
    m_llegada->setObjectName(QStringLiteral("TxtFechaLlegada"));
    m_llegada->enlazar(fuente(), QStringLiteral("FechaLlegada"));
    anadir(QStringLiteral("Fecha Salida"), m_salida);
    anadir(QStringLiteral("Fecha Llegada"), m_llegada, 2);
    ++fila;
    auto *dias = new CajaImporteDatos(w);
    dias->setObjectName(QStringLiteral("TxtNumDias"));
    dias->enlazar(fuente(), QStringLiteral("NumDias"), QString());
    anadir(QStringLiteral("Nº Días"), dias);
    auto *totalKm = new CajaImporteDatos(w);
    totalKm->setObjectName(QStringLiteral("TxtKmtTotales"));
    totalKm->enlazar(fuente(), QStringLiteral("KmtTotales"), Formato::kEntero);
    anadir(QStringLiteral("Total Km"), totalKm, 2);
    ++fila;
    auto *kmSalida = new CajaImporteDatos(w);
    kmSalida->setObjectName(QStringLiteral("TxtKmsalida"));
    kmSalida->enlazar(fuente(), QStringLiteral("Kmsalida"), Formato::kEntero);
    auto *kmLlegada = new CajaImporteDatos(w);
    kmLlegada->setObjectName(QStringLiteral("TxtKmllegada"));
    kmLlegada->enlazar(fuente(), QStringLiteral("Kmllegada"), Formato::kEntero);
    anadir(QStringLiteral("Km salida"), kmSalida);
    anadir(QStringLiteral("Km llegada"), kmLlegada, 2);
    ++fila;

    auto *camionero = new ListaBusquedaDatos(w);
    camionero->setObjectName(QStringLiteral("TxtCamionero"));
    camionero->setLista(m_conductores,
                        {{QStringLiteral("Apellidos"), QStringLiteral("Apellidos"), 160},
                         {QStringLiteral("Nombre"), QStringLiteral("Nombre"), 110},
                         {QStringLiteral("CIF"), QStringLiteral("NIF"), 90}},
                        QStringLiteral("CIF"));
    camionero->enlazar(fuente(), QStringLiteral("CondCIF"));
    anadir(QStringLiteral("Camionero"), camionero);
    ++fila;
    auto *tractor = new ListaBusquedaDatos(w);
    tractor->setObjectName(QStringLiteral("TxtMatricTractor"));
    tractor->setLista(m_tractores,
                      {{QStringLiteral("Matricula"), QStringLiteral("Matrícula"), 90},
                       {QStringLiteral("Descripcion"), QStringLiteral("Descripción"), 160}},
                      QStringLiteral("Matricula"));
    tractor->enlazar(fuente(), QStringLiteral("MatricTractor"));
    anadir(QStringLiteral("Matr. tractor"), tractor);
    auto *remolque = new ListaBusquedaDatos(w);
    remolque->setObjectName(QStringLiteral("TxtMatricRemolque"));
    remolque->setLista(m_remolques,
                       {{QStringLiteral("Matricula"), QStringLiteral("Matrícula"), 90},
                        {QStringLiteral("Descripcion"), QStringLiteral("Descripción"), 160}},
                       QStringLiteral("Matricula"));
    remolque->enlazar(fuente(), QStringLiteral("MatricRemolque"));
    remolque->setContextMenuPolicy(Qt::ActionsContextMenu);
    auto *todos = new QAction(QStringLiteral("Mostrar todos"), remolque);
    auto *solo = new QAction(QStringLiteral("Sólo remolques"), remolque);
    connect(todos, &QAction::triggered, this, [this] { mostrarTodosLosRemolques(true); });
    connect(solo, &QAction::triggered, this, [this] { mostrarTodosLosRemolques(false); });
    remolque->addActions({todos, solo});
    anadir(QStringLiteral("Matr. Remolque"), remolque, 2);

    // The stored result, read only.
    auto *resultado = new QGroupBox(w);
    auto *r = new QGridLayout(resultado);
    struct Cifra {
        const char *etiqueta;
        const char *campo;
        QString formato;
        const char *tras;
    };
    const QList<Cifra> cifras = {
        {"T. Ingresos:", "TotalIngresos", Formato::kMoneda, ""},
        {"T. Gastos:", "TotalGastos", Formato::kMoneda, ""},
        {"Beneficio:", "Beneficios", Formato::kMoneda, ""},
        {"% Beneficio:", "PorcentajeBeneficio", kDosDecimales, ""},
        {"T. Autopistas:", "TotalAutopista", Formato::kMoneda, ""},
        {"T. combustible:", "TotalCombustible", Formato::kMoneda, ""},
        {"T.otros gastos:", "TotalOtrosGastos", Formato::kMoneda, ""},
        {"T. camionero:", "TotalCosteCamionero", Formato::kMoneda, ""},
        {"Litros combustible:", "TotalLitros", kDosDecimales, ""},
        {"Precio medio/L.:", "PtaLitro", Formato::kMoneda, ""},
        {"Consumo:", "Consumo", kDosDecimales, "L./100 Km."},
        {"Precio medio/Km:", "PrecioKm", Formato::kMoneda, ""},
    };
    for (int i = 0; i < cifras.size(); ++i) {
        auto *c = new CajaImporteDatos(resultado);
        c->setObjectName(QStringLiteral("Txt") + QString::fromLatin1(cifras[i].campo));
        c->enlazar(fuente(), QString::fromLatin1(cifras[i].campo), cifras[i].formato);
        c->setReadOnly(true);
        c->setFocusPolicy(Qt::NoFocus);
        if (QString::fromLatin1(cifras[i].campo) == QLatin1String("TotalCosteCamionero"))
            c->setToolTip(
                QStringLiteral("Importe total de Km por precio km camionero + proporción de sueldo "
                               "(según días del viaje)"));
        const int f = i % 6, col = (i / 6) * 3;
        r->addWidget(new QLabel(QString::fromUtf8(cifras[i].etiqueta), resultado), f, col);
        r->addWidget(c, f, col + 1);
        if (*cifras[i].tras)
            r->addWidget(new QLabel(QString::fromLatin1(cifras[i].tras), resultado), f, col + 2);
    }
    auto *calcularBoton = new QPushButton(QStringLiteral("Calcular resultado"), resultado);
    calcularBoton->setObjectName(QStringLiteral("BCalcular"));
    connect(calcularBoton, &QPushButton::clicked, this, &TFormViajes::calcularResultado);
    r->addWidget(calcularBoton, 6, 0, 1, 6);

    const QStringList autopistas = {
        QStringLiteral("A. Espana"), QStringLiteral("A. Francia"),
        QStringLiteral("A. Italia"), QStringLiteral("A. Portugal"),
        QStringLiteral("Tasas"),     QStringLiteral("Otras autopistas")};
    m_autopistas = rejilla(QStringLiteral("&Gastos de autopista:"), m_lineasAutopista,
                           {{QStringLiteral("Autopista"), QStringLiteral("Autopista"), 110, false,
                             [autopistas] { return autopistas; }},
                            {QStringLiteral("Tramo"), QStringLiteral("Tramo"), 120},
                            {QStringLiteral("Importe"),
                             QStringLiteral("Importe"),
                             80,
                             true,
                             {},
                             false,
                             Formato::kMoneda}});
    m_autopistas->setObjectName(QStringLiteral("RejillaAutopistas"));
    m_combustible = rejilla(QStringLiteral("Gastos comb&ustible:"), m_lineasCombustible,
                            {{QStringLiteral("Lugar"), QStringLiteral("Lugar"), 110},
                             {QStringLiteral("Litros"), QStringLiteral("Litros"), 70, true},
                             {QStringLiteral("Precio"), QStringLiteral("Precio"), 60, true},
                             {QStringLiteral("Importe"),
                              QStringLiteral("Importe"),
                              80,
                              true,
                              {},
                              false,
                              Formato::kMoneda}});
    m_combustible->setObjectName(QStringLiteral("RejillaCombustible"));
    m_otros = rejilla(QStringLiteral("&Otros gastos del viaje:"), m_lineasOtros,
                      {{QStringLiteral("Concepto"), QStringLiteral("Concepto"), 170, false,
                        [this] { return conceptos(); }},
                       {QStringLiteral("Importe"),
                        QStringLiteral("Importe"),
                        80,
                        true,
                        {},
                        false,
                        Formato::kMoneda}});
    m_otros->setObjectName(QStringLiteral("RejillaOtros"));

    auto *arriba = new QHBoxLayout;
    arriba->addLayout(datosViaje, 3);
    arriba->addWidget(resultado, 2);
    auto *lineas = new QHBoxLayout;
    lineas->addWidget(m_autopistas);
    lineas->addWidget(m_combustible);
    lineas->addWidget(m_otros);
    auto *capa = new QVBoxLayout(w);
    capa->addLayout(arriba);
    capa->addLayout(lineas, 1);
    return w;
}

void TFormViajes::mostrarTodosLosRemolques(bool todos) {
    try {
        m_remolques->setFilter(todos ? QString() : QStringLiteral("[Tipo] = 'Remolque'"));
        m_remolques->setFiltered(!todos);
    } catch (const StoreError &e) {
        msError(e.message());
    }
}

void TFormViajes::nuevo() {
    VentanaRegistro::nuevo();
    if (m_numero && tabla()->state() == DataSet::Insert)
        m_numero->setFocus();
}

void TFormViajes::enlazarPorNumero() {
    Table *t = tabla();
    if (!t->isEditing() || !m_numero)
        return;
    if (!m_numero->enlace()->escribir())
        return;
    const QString numero = t->value(QStringLiteral("NumViaje")).toString();
    if (numero.isEmpty())
        return;
    Connection *db = TDatos::instancia()->db;
    auto buscar = [db, &numero](const QString &sql) {
        Query q(db);
        q.setSql(sql);
        q.setParam(QStringLiteral("n"), numero);
        q.open();
        return q.isEmpty() ? QVariant() : q.value(q.fieldNames().first());
    };
    try {
        if (t->value(QStringLiteral("NumeroPorte")).isNull()) {
            const QVariant id = buscar(QStringLiteral("select ID from portes where Numero = :n"));
            if (id.isNull())
                msError(QStringLiteral(
                    "Atención: Este número de viaje no coincide con ningún número de "
                    "porte. Introduzca primero el porte."));
            else
                t->setValue(QStringLiteral("NumeroPorte"), id);
        }
        if (t->value(QStringLiteral("NumeroReporte")).isNull()) {
            const QVariant id =
                buscar(QStringLiteral("select NumREgistro from reportes where Numero = :n"));
            if (!id.isNull())
                t->setValue(QStringLiteral("NumeroReporte"), id);
        }
    } catch (const StoreError &e) {
        msError(e.message());
    }
}

bool TFormViajes::grabarDetalles() {
    for (RejillaEdicion *r : {m_autopistas, m_combustible, m_otros})
        if (r && !r->grabar())
            return false;
    return true;
}

void TFormViajes::calcularResultado() {
    mostrarPagina(Pagina::Edicion);
    // The result is computed from what is stored.
    if (!grabarDetalles() || !grabar() || tabla()->isEmpty())
        return;
    try {
        const CalculoViaje c = ResultadoViaje(datos()).calcularFila(tabla()->rowId());
        if (!c.correcto()) {
            msInfo(c.mensaje);
            (c.foco == QLatin1String("FechaLlegada") ? m_llegada : m_salida)->setFocus();
            return;
        }
    } catch (const StoreError &e) {
        msError(e.message());
    }
    tabla()->refresh();
}

void TFormViajes::recalcularTodos() {
    if (!grabarDetalles())
        return;
    quitarFiltros();
    if (tabla()->isEditing())
        return;
    tabla()->first();
    RecalcularViajes recalcular(datos());
    recalcular.progreso = [](int posicion, int total) {
        if (posicion == 1)
            Progreso::mostrar(QStringLiteral("Recalculando viajes..."), total);
        Progreso::posicion(posicion);
    };
    recalcular.alFallar = [](const QString &, const QString &mensaje) { msInfo(mensaje); };
    try {
        recalcular.ejecutar();
        Progreso::cerrar();
        msInfo(QStringLiteral("El proceso ha finalizado correctamente."));
    } catch (const StoreError &e) {
        Progreso::cerrar();
        msError(e.message());
    }
    tabla()->refresh();
}

void TFormViajes::eliminarRegistro() {
    EliminarViaje::ejecutar(*TDatos::instancia()->db, *tabla());
}

void TFormViajes::prepararGrafico() {
    PaginaGrafico *g = grafico();
    if (!g)
        return;
    m_series = new QButtonGroup(this);
    auto *caja = new QWidget(g);
    auto *capa = new QHBoxLayout(caja);
    capa->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < 4; ++i) {
        auto *radio = new QRadioButton(QString::fromUtf8(kSeries[i].radio), caja);
        radio->setObjectName(QStringLiteral("RadioSerie%1").arg(i));
        m_series->addButton(radio, i);
        capa->addWidget(radio);
    }
    g->agregarControl(caja);
    connect(m_series, &QButtonGroup::idClicked, this, &TFormViajes::elegirGrafico);
    const QList<QPair<const char *, const char *>> botones = {
        {"BActualizar", "&Act. gráfico"},
        {"BImprimirVertical", "&Vertical"},
        {"BImprimirHorizontal", "&Horizontal"}};
    for (const auto &[nombre, texto] : botones)
        if (auto *b = g->findChild<QPushButton *>(QString::fromLatin1(nombre)))
            b->setText(QString::fromUtf8(texto));
}

void TFormViajes::elegirGrafico(int serie) {
    PaginaGrafico *g = grafico();
    if (!g || serie < 0 || serie > 3)
        return;
    const SerieViaje &s = kSeries[serie];
    QString eje = QString::fromUtf8(s.eje);
    eje.replace(QStringLiteral("%M"), ValoresPrincipales::instancia()
                                          ? ValoresPrincipales::instancia()->ajustes.moneda
                                          : QString());
    g->setSeries({SerieGrafico{QString::fromUtf8(s.serie), QString::fromLatin1(s.campo), {}}});
    g->setLineasTitulo({QString::fromUtf8(s.titulo)});
    g->setTituloEjeValores(eje);
    g->actualizar();
}

QString TFormViajes::consultaListado() const {
    return QStringLiteral(
        "select 1 as Grupo, Autopista as Texto, Tramo as Tramo, NULL as Litros, Importe from "
        "gasautop "
        "where NumViaje = :n\n"
        "union all select 2, Concepto, NULL, NULL, Importe from gasviaje where NumViaje = :n\n"
        "union all select 3, Lugar, NULL, Litros, Importe from gascombu where NumViaje = :n\n"
        "order by 1");
}

Listado TFormViajes::listado() {
    Table *t = tabla();
    Listado l;
    l.titulo = QStringLiteral("LISTADO DE VIAJE");
    l.orientacion = QPageLayout::Portrait;
    using V = Listado::Valor;
    const QString kKm = QStringLiteral("###,###,###,##0.00;-###,###,###,##0");
    auto texto = [t](const char *campo, const QString &formato = QString()) {
        const QString c = QString::fromLatin1(campo);
        return textoCampo(t->value(c), t->fieldInfo(c).type, formato);
    };
    QString nombre, apellidos;
    {
        Query q(TDatos::instancia()->db);
        q.setSql(QStringLiteral("select Nombre, Apellidos from Camioner where CIF = :c"));
        q.setParam(QStringLiteral("c"), t->value(QStringLiteral("CondCIF")));
        q.open();
        if (!q.isEmpty()) {
            nombre = q.value(QStringLiteral("Nombre")).toString();
            apellidos = q.value(QStringLiteral("Apellidos")).toString();
        }
    }
    const QList<QPair<QString, QString>> datosViaje = {
        {QStringLiteral("Nº Viaje:"), texto("NumViaje")},
        {QStringLiteral("Origen:"), texto("Origen")},
        {QStringLiteral("Destino:"), texto("Destino")},
        {QStringLiteral("Camionero   Nombre:"), nombre},
        {QStringLiteral("Apellidos:"), apellidos},
        {QStringLiteral("F. Salida:"), texto("FechaSalida")},
        {QStringLiteral("F. Llegada:"), texto("FechaLlegada")},
        {QStringLiteral("Km. Salida:"), texto("Kmsalida", kKm)},
        {QStringLiteral("Km. llegada:"), texto("Kmllegada", kKm)},
        {QStringLiteral("Km. Totales:"), texto("KmtTotales", kKm)},
        {QStringLiteral("Tola Días:"), texto("NumDias")},
        {QStringLiteral("Camión   Tractor:"), texto("MatricTractor")},
        {QStringLiteral("Remolque:"), texto("MatricRemolque")},
        {QStringLiteral("Ingresos:"), texto("TotalIngresos", Formato::kMoneda)},
        {QStringLiteral("Gastos:"), texto("TotalGastos", Formato::kMoneda)},
        {QStringLiteral("Beneficio:"), texto("Beneficios", Formato::kMoneda)},
        {QStringLiteral("Consumo:"), texto("Consumo", kDosDecimales) + QStringLiteral(" /100 Km.")},
        {QStringLiteral("Precio Km:"), texto("PrecioKm", Formato::kMoneda)},
    };
    l.anadirDatos(datosViaje);
    l.anadirColumna(QStringLiteral("Autopista / Gasto / Lugar"),
                    V::deCampo(QStringLiteral("Texto")), 3);
    l.anadirColumna(QStringLiteral("Tramo"), V::deCampo(QStringLiteral("Tramo")), 2);
    l.anadirColumna(QStringLiteral("Litros"), V::deCampo(QStringLiteral("Litros"), kDosDecimales),
                    1, Qt::AlignRight);
    l.anadirColumna(QStringLiteral("Importe"),
                    V::deCampo(QStringLiteral("Importe"), Formato::kMoneda), 1.2, Qt::AlignRight);
    Listado::Grupo grupo;
    grupo.clave = V::deCampo(QStringLiteral("Grupo"));
    Listado::Bloque cabecera;
    cabecera.texto = V::de([](const DataSet &d) -> QString {
        switch (d.value(QStringLiteral("Grupo")).toInt()) {
        case 1:
            return QStringLiteral("GASTOS DE AUTOPISTA:");
        case 2:
            return QStringLiteral("OTROS GASTOS DEL VIAJE:");
        default:
            return QStringLiteral("GASTOS DE COMBUSTIBLE:");
        }
    });
    cabecera.rect = QRectF(0, 0, 120, 6);
    cabecera.negrita = true;
    grupo.cabecera << cabecera;
    grupo.pie << Listado::LineaResumen::conTotal(
        QStringLiteral("Total:"), Listado::Total::suma(QStringLiteral("Importe")), 3);
    l.grupos << grupo;
    const ValoresPrincipales *v = ValoresPrincipales::instancia();
    l.pie.empresa =
        v ? QStringLiteral("%1 - %2").arg(v->ajustes.codigo).arg(v->ajustes.nombre) : QString();
    return l;
}

void TFormViajes::imprimir() {
    if (!grabarDetalles() || !grabar() || tabla()->isEmpty())
        return;
    Query lineas(TDatos::instancia()->db);
    lineas.setSql(consultaListado());
    lineas.setParam(QStringLiteral("n"), tabla()->value(QStringLiteral("NumViaje")));
    try {
        lineas.open();
        MotorListado motor(listado(), &lineas);
        motor.previsualizarSegunAjustes(this);
    } catch (const StoreError &e) {
        msError(e.message());
    }
}
