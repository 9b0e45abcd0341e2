#include "expenses/TFormGastos.h"

#include "app/Configuracion.h"
#include "app/IniFile.h"
#include "app/Mensajes.h"
#include "app/Programa.h"
#include "common/ControlesDatos.h"
#include "common/Formato.h"
#include "common/MotorListado.h"
#include "common/RejillaEdicion.h"
#include "common/TextoCampo.h"
#include "expenses/CalculoGasto.h"
#include "store/Dates.h"
#include "store/Query.h"
#include "store/StoreError.h"
#include "store/TDatos.h"
#include "store/Table.h"

#include <QAction>
#include <QCloseEvent>
#include <QDate>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const QString kSeccionAnchos = QStringLiteral("Width");

const QList<ColumnaRejilla> kColumnasCamion = {
    {QStringLiteral("Matricula"), QStringLiteral("Matrícula"), 80},
    {QStringLiteral("Tipo"), QStringLiteral("Tipo"), 70},
    {QStringLiteral("Descripcion"), QStringLiteral("Descripción"), 180}};

} // namespace

const QStringList &TFormGastos::tipos() {
    static const QStringList t = {
        QStringLiteral("Gastos varios"),    QStringLiteral("Impuestos"),
        QStringLiteral("Seguridad Social"), QStringLiteral("Taller (Mantenimiento)"),
        QStringLiteral("Taller (Roturas)"), QStringLiteral("Telefono")};
    return t;
}

DeclaracionVentana TFormGastos::declaracion() {
    TDatos *d = TDatos::instancia();
    DeclaracionVentana v;
    v.nombre = QStringLiteral("FormGastos");
    v.titulo = QStringLiteral("Gastos de camiones");
    v.tabla = QStringLiteral("Gastos.DB");
    v.paginas = {{Pagina::Lista, tituloPestana("Lista")},
                 {Pagina::Edicion, tituloPestana("Edición")},
                 {Pagina::Filtrar, tituloPestana("Filtrar")},
                 {Pagina::Buscar, tituloPestana("Buscar")}};
    v.comandos = {
        {Comando::Nuevo, QStringLiteral("ActNuevo"), QStringLiteral("Nuevo"),
         QStringLiteral("Añade un nuevo gasto")},
        {Comando::Eliminar, QStringLiteral("ActEliminar"), QStringLiteral("Eliminar"),
         QStringLiteral("Elimina el gasto actual")},
        comandoEstandar(Comando::Lista, QStringLiteral("Lista según el filtro aplicado")),
        comandoEstandar(Comando::Edicion, QStringLiteral("Añadir, modificar, eliminar")),
        comandoEstandar(Comando::Filtrar, QStringLiteral("Filtrar")),
        comandoEstandar(Comando::Buscar, QStringLiteral("Buscar/Ordenar")),
        {Comando::Calcular, QStringLiteral("ActCalcular"), QStringLiteral("Calcular resultado"),
         QStringLiteral("Calcula el beneficio del gasto actual")},
        comandoEstandar(Comando::QuitarFiltros, QStringLiteral("Quita todos los filtros")),
        comandoEstandar(Comando::Imprimir, QStringLiteral("Imprime el gasto actual")),
        comandoEstandar(Comando::Cerrar, QStringLiteral("Cierra esta ventana")),
    };
    v.extras = {{QStringLiteral("ActActualizar"),
                 QStringLiteral("Actualizar"),
                 QStringLiteral("Elimina los gastos anteriores a 2001"),
                 QKeySequence(),
                 {},
                 false}};
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
                 QStringLiteral("-"),
                 QStringLiteral("ActCerrar")};
    v.columnas = {
        {QStringLiteral("Numero"), QStringLiteral("Número"), 60},
        {QStringLiteral("Fecha"), QStringLiteral("Fecha"), 85},
        {QStringLiteral("Matricula"), QStringLiteral("Matrícula"), 85},
        {QStringLiteral("Tipo"), QStringLiteral("Tipo"), 170},
        {QStringLiteral("ImporteTotal"), QStringLiteral("Importe total"), 100,
         Qt::AlignRight | Qt::AlignVCenter, false, Formato::kMoneda, true},
    };
    v.botonesLista = QList<DeclBoton>{{QStringLiteral("ActActualizar"), {}, {}}};
    const DeclLista camiones{d ? d->TCamiones : nullptr, kColumnasCamion,
                             QStringLiteral("Matricula"), 25};
    DeclFiltro tipo{DeclFiltro::Valores, QStringLiteral("Tipo:"), QStringLiteral("Tipo"),
                    QStringLiteral("Muestra todos los gastos del tipo seleccionado")};
    tipo.valores = tipos();
    v.filtros = {
        {DeclFiltro::Periodo,
         QStringLiteral("Desde fecha:"),
         QStringLiteral("Fecha"),
         QStringLiteral("Muestra todos los gastos del período seleccionado"),
         {},
         false,
         QStringLiteral("Hasta fecha:")},
        {DeclFiltro::Fecha, QStringLiteral("Fecha:"), QStringLiteral("Fecha"),
         QStringLiteral("Muestra todos los gastos con la fecha introducida")},
        {DeclFiltro::Lista, QStringLiteral("Matrícula:"), QStringLiteral("Matricula"),
         QStringLiteral("Muestra todos los gastos del camión seleccionado"), camiones},
        tipo,
        {DeclFiltro::Logico, QStringLiteral("Pagado:"), QStringLiteral("Pagado"),
         QStringLiteral("Muestra todos los gastos pagados sí/no")},
    };
    v.tituloAcumular = QStringLiteral("Acumular filtros");
    v.tituloBuscarPor = QStringLiteral("Buscar gasto por:");
    v.tituloOrdenarPor = QStringLiteral("Ordenar gastos por");
    v.busquedas = {
        {DeclBusqueda::Fecha, QStringLiteral("Fecha:"), QStringLiteral("Fecha"), QString(),
         QStringLiteral("No se ha encontrado ningún gasto con esa fecha.")},
        {DeclBusqueda::Lista, QStringLiteral("Matrícula:"), QStringLiteral("Matricula"), QString(),
         QStringLiteral("No se ha encontrado ningún gasto con esa matrícula."), QString(),
         camiones},
    };
    v.ordenes = {{QStringLiteral("Número de gasto"), QStringLiteral("Numero"),
                  QStringLiteral("Nº a &buscar:")}};
    v.busquedaExacta = true;
    v.total =
        DeclTotal::importe(QStringLiteral("select *\nfrom gastos"), QStringLiteral("ImporteTotal"));
    v.textoClaveDuplicada =
        QStringLiteral("El número de gasto ya existe, cámbielo y vuelva a intentarlo.");
    v.preguntaEliminar = QStringLiteral("¿Está seguro que desea eliminar el gasto actual?");
    v.descartarNuevoAlEliminar = true;
    return v;
}

TFormGastos::TFormGastos(QWidget *parent) : VentanaRegistro(declaracion(), parent) {
    Connection *db = TDatos::instancia()->db;
    m_lineas = new Table(db, QStringLiteral("detagast.DB"), this);
    m_lineas->setIndexName(QStringLiteral("DetalleGastoNumeroGasto"));
    m_lineas->setMasterSource(tabla(), QStringLiteral("Numero"));
    m_camiones = new Table(db, QStringLiteral("camiones.DB"), this);
    m_camiones->setIndexName(QStringLiteral("MatriculaV"));
    connect(accion(QStringLiteral("ActActualizar")), &QAction::triggered, this,
            &TFormGastos::actualizar);
    connect(tabla(), &DataSet::afterInsert, this, [this] {
        tabla()->setValue(QStringLiteral("Fecha"), QDate::currentDate());
        if (m_fecha)
            m_fecha->setFocus();
    });
}

void TFormGastos::abrirTablas() {
    m_camiones->open();
    m_lineas->open();
    TDatos::instancia()->TCamiones->open();
}

QWidget *TFormGastos::crearEdicion() {
    auto *w = new QWidget;
    w->setObjectName(QStringLiteral("Edicion"));
    auto *cabecera = new QGridLayout;
    auto etiqueta = [&](const QString &texto, QWidget *buddy) {
        auto *l = new QLabel(texto, w);
        l->setBuddy(buddy);
        return l;
    };
    auto *numero = new CajaDatos(w);
    numero->setObjectName(QStringLiteral("TxtNumero"));
    numero->enlazar(fuente(), QStringLiteral("Numero"));
    numero->setReadOnly(true);
    numero->setFocusPolicy(Qt::NoFocus);
    numero->setMaximumWidth(90);
    m_fecha = new CajaFechaDatos(w);
    m_fecha->setObjectName(QStringLiteral("TxtFecha"));
    m_fecha->enlazar(fuente(), QStringLiteral("Fecha"));
    m_fecha->setMaximumWidth(90);
    auto *camion = new ListaBusquedaDatos(w);
    camion->setObjectName(QStringLiteral("TxtMatricula"));
    camion->setLista(m_camiones, kColumnasCamion, QStringLiteral("Matricula"), 25);
    camion->enlazar(fuente(), QStringLiteral("Matricula"));
    auto *tipo = new ListaValoresDatos(tipos(), w, false);
    tipo->setObjectName(QStringLiteral("TxtTipo"));
    tipo->enlazar(fuente(), QStringLiteral("Tipo"));
    auto *pagado = new CasillaDatos(QStringLiteral("&Pagado"), w);
    pagado->setObjectName(QStringLiteral("CBPagado"));
    pagado->enlazar(fuente(), QStringLiteral("Pagado"));
    cabecera->addWidget(new QLabel(QStringLiteral("Nº de gasto"), w), 0, 0);
    cabecera->addWidget(numero, 0, 1);
    cabecera->addWidget(etiqueta(QStringLiteral("&Fecha"), m_fecha), 0, 2);
    cabecera->addWidget(m_fecha, 0, 3);
    cabecera->addWidget(pagado, 0, 4);
    cabecera->addWidget(etiqueta(QStringLiteral("Camión"), camion), 1, 0);
    cabecera->addWidget(camion, 1, 1, 1, 3);
    cabecera->addWidget(etiqueta(QStringLiteral("Tipo de gasto"), tipo), 2, 0);
    cabecera->addWidget(tipo, 2, 1, 1, 3);
    cabecera->setColumnStretch(5, 1);

    const QList<ColumnaEdicion> columnas = {
        {QStringLiteral("Fecha"), QStringLiteral("Fecha"), 85},
        {QStringLiteral("Concepto"), QStringLiteral("Concepto"), 380},
        {QStringLiteral("Cantidad"), QStringLiteral("Cantidad"), 80, true},
        {QStringLiteral("Precio"), QStringLiteral("Precio"), 90, true, {}, false, Formato::kMoneda},
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
        QStringLiteral("NumeroGasto"), QStringLiteral("Numero"),
        QStringLiteral("Antes de añadir conceptos debe añadir el gasto."), kSeccionAnchos, w);
    auto *calcularBoton = new QPushButton(QStringLiteral("Calcula&r gasto"), w);
    calcularBoton->setObjectName(QStringLiteral("BCalcular"));
    calcularBoton->setToolTip(QStringLiteral("Realiza los cálculos según los conceptos"));
    connect(calcularBoton, &QPushButton::clicked, this, &TFormGastos::calcularGasto);

    auto *totales = new QHBoxLayout;
    for (const auto &[campo, texto] :
         {std::pair{"Base", "Base"}, std::pair{"PorcentajeIVA", "% IVA"},
          std::pair{"ImporteIVA", "Importe I.V.A."},
          std::pair{"ImporteTotal", "Importe total gasto"}}) {
        auto *c = new CajaImporteDatos(w);
        c->setObjectName(QStringLiteral("Txt") + QString::fromLatin1(campo));
        c->enlazar(fuente(), QString::fromLatin1(campo),
                   QLatin1String(campo) == QLatin1String("PorcentajeIVA") ? QString()
                                                                          : Formato::kMoneda);
        c->setMaximumWidth(130);
        totales->addWidget(etiqueta(QString::fromUtf8(texto), c));
        totales->addWidget(c);
    }
    totales->addStretch();

    auto *barraLineas = new QHBoxLayout;
    barraLineas->addWidget(calcularBoton);
    barraLineas->addStretch();
    auto *capa = new QVBoxLayout(w);
    capa->setContentsMargins(0, 0, 0, 0);
    capa->addLayout(cabecera);
    capa->addLayout(barraLineas);
    capa->addWidget(m_rejillaLineas, 1);
    capa->addLayout(totales);
    return w;
}

bool TFormGastos::grabarDetalles() {
    return !m_rejillaLineas || m_rejillaLineas->grabar();
}

void TFormGastos::nuevo() {
    if (!grabarDetalles())
        return;
    VentanaRegistro::nuevo();
}

void TFormGastos::calcularGasto() {
    mostrarPagina(Pagina::Edicion);
    if (!grabarDetalles() || !grabar() || !tabla()->isActive() || tabla()->isEmpty())
        return;
    try {
        ::calcularGasto(*tabla()->connection(),
                        tabla()->value(QStringLiteral("Numero")).toLongLong());
    } catch (const StoreError &e) {
        msError(e.message());
        return;
    }
    tabla()->refresh();
    m_lineas->refresh();
}

void TFormGastos::eliminarRegistro() {
    if (m_lineas->isEditing())
        m_lineas->cancel();
    if (tabla()->isEditing())
        tabla()->cancel();
    eliminarGasto(*tabla()->connection(), *tabla());
}

void TFormGastos::actualizar() {
    if (!grabarDetalles() || !grabar() || !tabla()->isActive() || tabla()->isEmpty())
        return;
    // Deleting is for good: the user is asked first.
    if (!msSi(QStringLiteral("Se van a eliminar, con sus conceptos, los gastos anteriores al "
                             "01/01/2001 que muestra la lista.\r\r¿Desea continuar?")))
        return;
    QList<qint64> numeros;
    const QVector<qint64> filas = tabla()->rowIds();
    const auto valores = tabla()->readRows(filas, {QStringLiteral("Numero")});
    for (qint64 f : filas)
        numeros << valores.value(f).value(0).toLongLong();
    try {
        purgarGastos(*tabla()->connection(), numeros);
    } catch (const StoreError &e) {
        msError(e.message());
        return;
    }
    tabla()->refresh();
    if (mostrarTotal())
        calcularTotal();
}

Listado TFormGastos::listado() const {
    const Table *t = tabla();
    Listado l;
    l.titulo = QStringLiteral("GASTO DE CAMIONES");
    l.orientacion = QPageLayout::Portrait;
    using V = Listado::Valor;
    auto texto = [t](const char *campo, const QString &formato = QString()) {
        const QString c = QString::fromLatin1(campo);
        return textoCampo(t->value(c), t->fieldInfo(c).type, formato);
    };
    QString descripcion, tipoCamion;
    {
        Query q(TDatos::instancia()->db);
        q.setSql(QStringLiteral("select Descripcion, Tipo from camiones where Matricula = :m"));
        q.setParam(QStringLiteral("m"), t->value(QStringLiteral("Matricula")));
        q.open();
        if (!q.isEmpty()) {
            descripcion = q.value(QStringLiteral("Descripcion")).toString();
            tipoCamion = q.value(QStringLiteral("Tipo")).toString();
        }
    }
    const QList<QPair<QString, QString>> datos = {
        {QStringLiteral("Camión:   Matrícula:"), texto("Matricula")},
        {QStringLiteral("Gasto:   Nº Gasto:"), texto("Numero")},
        {QStringLiteral("Descripción:"), descripcion},
        {QStringLiteral("Fecha:"), texto("Fecha")},
        {QStringLiteral("Tipo:"), tipoCamion},
        {QStringLiteral("Tipo de gasto:"), texto("Tipo")},
    };
    l.anadirDatos(datos);
    l.anadirColumna(QStringLiteral("Fecha"), V::deCampo(QStringLiteral("Fecha")), 0.9);
    l.anadirColumna(QStringLiteral("Concepto"), V::deCampo(QStringLiteral("Concepto")), 3);
    l.anadirColumna(QStringLiteral("Cantidad"),
                    V::deCampo(QStringLiteral("Cantidad"), Formato::kMoneda), 0.8, Qt::AlignRight);
    l.anadirColumna(QStringLiteral("Precio"),
                    V::deCampo(QStringLiteral("Precio"), Formato::kMoneda), 0.9, Qt::AlignRight);
    l.anadirColumna(QStringLiteral("Importe"),
                    V::deCampo(QStringLiteral("Importe"), Formato::kMoneda), 1, Qt::AlignRight);
    l.resumen << Listado::LineaResumen::fija(QStringLiteral("Base imponible"),
                                             texto("Base", Formato::kMoneda))
              << Listado::LineaResumen::fija(QStringLiteral("% IVA"), texto("PorcentajeIVA"))
              << Listado::LineaResumen::fija(QStringLiteral("Importe IVA"),
                                             texto("ImporteIVA", Formato::kMoneda))
              << Listado::LineaResumen::fija(QStringLiteral("Importe total"),
                                             texto("ImporteTotal", Formato::kMoneda))
              << Listado::LineaResumen::fija(QStringLiteral("Importe en Euros"),
                                             texto("Euros", Formato::kMoneda) +
                                                 QStringLiteral(" €"));
    l.pie.empresa = Listado::rotuloEmpresa(false);
    return l;
}

void TFormGastos::imprimir() {
    if (!grabarDetalles() || !grabar() || tabla()->isEmpty())
        return;
    Query lineas(TDatos::instancia()->db);
    lineas.setSql(QStringLiteral("select * from detagast where NumeroGasto = :n order by "
                                 "NumRegistro"));
    lineas.setParam(QStringLiteral("n"), tabla()->value(QStringLiteral("Numero")));
    try {
        lineas.open();
        MotorListado motor(listado(), &lineas);
        motor.previsualizarSegunAjustes(this);
    } catch (const StoreError &e) {
        msError(e.message());
    }
}

void TFormGastos::closeEvent(QCloseEvent *e) {
    VentanaRegistro::closeEvent(e);
    if (!e->isAccepted())
        return;
    if (m_rejillaLineas)
        m_rejillaLineas->guardarAnchos();
    m_lineas->close();
    m_camiones->close();
}
