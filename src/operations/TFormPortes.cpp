#include "operations/TFormPortes.h"

#include "app/Mensajes.h"
#include "common/ControlesDatos.h"
#include "common/Formato.h"
#include "common/Listado.h"
#include "common/Mascaras.h"
#include "operations/PorteViaje.h"
#include "store/StoreError.h"
#include "store/TDatos.h"
#include "store/Table.h"

#include <QAction>
#include <QDate>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QToolButton>

namespace {
TDatos &datos() {
    return *TDatos::instancia();
}

const QList<ColumnaRejilla> kColumnasCamion = {
    {QStringLiteral("Matricula"), QStringLiteral("Matrícula"), 80},
    {QStringLiteral("Tipo"), QStringLiteral("Tipo"), 70},
    {QStringLiteral("Descripcion"), QStringLiteral("Descripción"), 150}};
const QList<ColumnaRejilla> kColumnasCliente = {
    {QStringLiteral("Apellidos"), QStringLiteral("Nombre"), 220},
    {QStringLiteral("CIF"), QStringLiteral("CIF"), 90}};
const QList<ColumnaRejilla> kColumnasLugar = {
    {QStringLiteral("Lugar"), QStringLiteral("Lugar"), 220}};
} // namespace

DeclaracionVentana TFormPortes::declaracion() {
    TDatos *d = TDatos::instancia();
    DeclaracionVentana v;
    v.nombre = QStringLiteral("FormPortes");
    v.titulo = QStringLiteral("Portes");
    v.tabla = QStringLiteral("portes.DB");
    v.paginas = {{Pagina::Lista, QStringLiteral("Lista")},
                 {Pagina::Edicion, QStringLiteral("Edición")},
                 {Pagina::Filtrar, QStringLiteral("Filtrar")},
                 {Pagina::Buscar, QStringLiteral("Buscar/Ordenar")},
                 {Pagina::Graficos, QStringLiteral("Gráficos")}};
    v.comandos = {
        comandoEstandar(Comando::Lista,
                        QStringLiteral("Listado de portes según el filtro aplicado")),
        comandoEstandar(Comando::Edicion, QStringLiteral("Añadir, modificar, eliminar portes")),
        comandoEstandar(Comando::Filtrar, QStringLiteral("Filtrar portes")),
        comandoEstandar(Comando::Buscar, QStringLiteral("Buscar/Ordenar portes")),
        comandoEstandar(Comando::Graficos, QStringLiteral("Gráficos de decisión")),
        comandoEstandar(Comando::QuitarFiltros, QStringLiteral("Quita todos los filtros")),
        comandoEstandar(Comando::Imprimir, QStringLiteral("Imprime el listado de portes")),
        comandoEstandar(Comando::Cerrar, QStringLiteral("Cierra esta ventana")),
        {Comando::Nuevo, QStringLiteral("ActNuevoPorte"), QStringLiteral("Nuevo porte"),
         QStringLiteral("Añade un nuevo porte")},
        {Comando::Eliminar, QStringLiteral("ActEliminarPorte"), QStringLiteral("Eliminar porte"),
         QStringLiteral("Elimina el porte actual")},
    };
    v.barra = {QStringLiteral("ActLista"),
               QStringLiteral("ActEdicion"),
               QStringLiteral("ActFiltrar"),
               QStringLiteral("ActBuscar"),
               QStringLiteral("ActGraficos"),
               QStringLiteral("-"),
               QStringLiteral("ActQuitarFiltros"),
               QStringLiteral("ActPrevisualizar"),
               QStringLiteral("-"),
               QStringLiteral("ActCerrar")};
    v.fichero = v.barra;
    v.columnas = {
        {QStringLiteral("ID"), QStringLiteral("ID"), 45},
        {QStringLiteral("Numero"), QStringLiteral("Número"), 75},
        {QStringLiteral("Fecha"), QStringLiteral("Fecha"), 75},
        {QStringLiteral("Matricula"), QStringLiteral("Matrícula"), 75},
        {QStringLiteral("Transportista"), QStringLiteral("Cliente"), 180},
        {QStringLiteral("Carga"), QStringLiteral("Carga"), 120},
        {QStringLiteral("Descarga"), QStringLiteral("Descarga"), 120},
        {QStringLiteral("Precio"), QStringLiteral("Precio"), 90, Qt::AlignRight | Qt::AlignVCenter,
         false, Formato::kMoneda, true},
        {QStringLiteral("Facturado"), QStringLiteral("Fa"), 28},
        {QStringLiteral("Pagado"), QStringLiteral("Pa"), 28},
        {QStringLiteral("Reportado"), QStringLiteral("Re"), 28},
        {QStringLiteral("Observaciones"), QStringLiteral("Observaciones"), 100, Qt::AlignLeft,
         true},
    };
    v.seccionRejilla = QStringLiteral("Tabla Portes");
    v.ayudaRejilla = QStringLiteral("Haga doble click sobre el porte que desee editar");
    v.ayudasLista = {QStringLiteral("Primer porte"), QStringLiteral("Porte anterior"),
                     QStringLiteral("Porte siguiente"), QStringLiteral("Último porte")};
    v.ayudasEdicion = v.ayudasLista;
    v.ayudasEdicion << QStringLiteral("Validar porte") << QStringLiteral("Cancelar edición");

    const DeclLista camiones{d ? d->TCamiones : nullptr, kColumnasCamion,
                             QStringLiteral("Matricula"), 10};
    const DeclLista clientes{d ? d->TClientes : nullptr, kColumnasCliente,
                             QStringLiteral("Apellidos"), 15};
    const DeclLista lugares{d ? d->TLugar : nullptr, kColumnasLugar, QStringLiteral("Lugar"), 20};
    v.filtros = {
        {DeclFiltro::SiNo, QStringLiteral("Pagado:"), QStringLiteral("Pagado"),
         QStringLiteral("Muestra todos los portes pagados sí/no")},
        {DeclFiltro::SiNo, QStringLiteral("Facturado:"), QStringLiteral("Facturado"),
         QStringLiteral("Muestra todos los portes facturados sí/no")},
        {DeclFiltro::SiNo, QStringLiteral("Reportado:"), QStringLiteral("Reportado"),
         QStringLiteral("Muestra todos los portes reportados sí/no")},
        {DeclFiltro::Lista, QStringLiteral("Matrícula:"), QStringLiteral("Matricula"),
         QStringLiteral("Muestra todos los portes con la matrícula seleccionada"), camiones},
        {DeclFiltro::Lista, QStringLiteral("Cliente:"), QStringLiteral("Transportista"),
         QStringLiteral("Muestra todos los portes del cliente seleccionado"), clientes},
        {DeclFiltro::Lista, QStringLiteral("Carga:"), QStringLiteral("Carga"),
         QStringLiteral("Muestra todos los portes con el lugar de carga seleccionado"), lugares},
        {DeclFiltro::Lista, QStringLiteral("Descarga:"), QStringLiteral("Descarga"),
         QStringLiteral("Muestra todos los portes con el lugar de descarga seleccionado"), lugares},
        {DeclFiltro::Fecha, QStringLiteral("Fecha:"), QStringLiteral("Fecha"),
         QStringLiteral("Muestra todos los portes con la fecha introducida")},
        {DeclFiltro::Periodo,
         QStringLiteral("Desde fecha:"),
         QStringLiteral("Fecha"),
         QStringLiteral("Muestra todos los portes del período seleccionado"),
         {},
         false,
         QStringLiteral("Hasta fecha:")},
    };
    v.tituloMostrarTotal = QStringLiteral("Mostrar total directamente");
    v.ayudaAcumular = QStringLiteral("Active esta casilla para enlazar un filtro con otro");
    v.ayudaMostrarTotal =
        QStringLiteral("Verifique esta casilla para mostrar el importe total al filtrar");
    v.busquedas = {
        {DeclBusqueda::Mascara, QStringLiteral("Número:"), QStringLiteral("Numero"),
         QStringLiteral("Busca un número de porte"),
         QStringLiteral("No se ha encontrado ningún porte con ese número."),
         Mascaras::NumeroBusqueda},
        {DeclBusqueda::Fecha, QStringLiteral("Fecha:"), QStringLiteral("Fecha"),
         QStringLiteral("Busca una fecha en un porte"),
         QStringLiteral("No se ha encontrado ningún porte con esa fecha.")},
        {DeclBusqueda::Lista, QStringLiteral("Matrícula:"), QStringLiteral("Matricula"),
         QStringLiteral("Busca una matrícula en un porte"),
         QStringLiteral("No se ha encontrado ningún porte con esa matrícula."), QString(),
         camiones},
    };
    v.ordenes = {
        {QStringLiteral("Número de porte"), QStringLiteral("Numero"),
         QStringLiteral("Nº a buscar:")},
        {QStringLiteral("Fecha"), QStringLiteral("Fecha"), QStringLiteral("Fecha a buscar:")},
        {QStringLiteral("Cliente"), QStringLiteral("Transportista"),
         QStringLiteral("Cliente a buscar:")},
        {QStringLiteral("Camión"), QStringLiteral("Matricula"),
         QStringLiteral("Matrícula a buscar:")},
        {QStringLiteral("ID"), QStringLiteral("ID"), QStringLiteral("ID a buscar:")},
    };
    v.grafico = DeclGrafico{QStringLiteral("Fecha"),
                            {SerieGrafico{QStringLiteral("Importe"), QStringLiteral("Precio"), {}}},
                            QStringLiteral("IMPORTE DE PORTES"),
                            QStringLiteral("Día")};
    v.total = DeclTotal::importe(QStringLiteral("select *\nfrom portes"), QStringLiteral("Precio"));
    v.textoClaveDuplicada =
        QStringLiteral("El número de porte ya existe, cámbielo y vuelva a intentarlo.");
    v.preguntaEliminar = QStringLiteral("¿Está seguro que desea ELIMINAR el porte actual?.");
    v.extras = {
        {QStringLiteral("ActAnadirReporte"),
         QStringLiteral("Anadir reporte"),
         QStringLiteral("Añade un reporte con la fecha y matrícula del porte actual"),
         QKeySequence(Qt::CTRL | Qt::Key_D),
         {}},
        {QStringLiteral("ActPasarViaje"),
         QStringLiteral("Pasar a viaje"),
         QStringLiteral("Añade un viaje con los datos del porte actual"),
         QKeySequence(Qt::CTRL | Qt::Key_J),
         {}},
    };
    return v;
}

TFormPortes::TFormPortes(QWidget *parent) : VentanaRegistro(declaracion(), parent) {
    connect(accion(QStringLiteral("ActAnadirReporte")), &QAction::triggered, this,
            &TFormPortes::anadirReporte);
    connect(accion(QStringLiteral("ActPasarViaje")), &QAction::triggered, this,
            &TFormPortes::pasarAViaje);
    connect(tabla(), &DataSet::afterInsert, this, [this] {
        tabla()->setValue(QStringLiteral("Fecha"), QDate::currentDate());
        if (m_numero)
            m_numero->setFocus();
    });
    connect(tabla(), &DataSet::stateChanged, this, &TFormPortes::actualizarBotonViaje);
    connect(tabla(), &DataSet::afterPost, this, [this] {
        if (!m_anadiendoReporte)
            sincronizarViaje();
    });
    connect(tabla(), &DataSet::afterDelete, this, &TFormPortes::sincronizarViaje);
}

void TFormPortes::abrirTablas() {
    TDatos &d = datos();
    d.TCamiones->open();
    d.TClientes->setIndexFieldNames(QStringLiteral("Apellidos"));
    d.TClientes->open();
    d.TLugar->open();
}

QWidget *TFormPortes::crearEdicion() {
    TDatos &d = datos();
    auto *w = new QWidget;
    w->setObjectName(QStringLiteral("Edicion"));
    auto *g = new QGridLayout(w);
    auto fila = [&](int f, const QString &etiqueta, QWidget *editor, QWidget *extra = nullptr) {
        auto *l = new QLabel(etiqueta, w);
        l->setBuddy(editor);
        g->addWidget(l, f, 0);
        if (editor->inherits("QPlainTextEdit"))
            g->addWidget(editor, f, 1, 1, 3);
        else
            g->addWidget(editor, f, 1);
        if (extra)
            g->addWidget(extra, f, 2);
        if (!editor->inherits("QPlainTextEdit"))
            editor->setMaximumWidth(editor->inherits("QComboBox") ? 420 : 140);
    };

    m_fecha = new CajaFechaDatos(w);
    m_fecha->setObjectName(QStringLiteral("TxtFecha"));
    m_fecha->enlazar(fuente(), QStringLiteral("Fecha"));
    auto *calendario = new QToolButton(w);
    calendario->setObjectName(QStringLiteral("BCalendario"));
    calendario->setText(QStringLiteral("..."));
    calendario->setToolTip(QStringLiteral("Muestra un calendario"));
    connect(calendario, &QToolButton::clicked, m_fecha, &CajaFecha::abrirCalendario);
    fila(0, QStringLiteral("&Fecha"), m_fecha, calendario);

    m_numero = new CajaDatos(w);
    m_numero->setObjectName(QStringLiteral("TxtNumero"));
    m_numero->enlazar(fuente(), QStringLiteral("Numero"), Mascaras::Numero);
    fila(1, QStringLiteral("&Número"), m_numero);

    auto *cliente = new ListaBusquedaDatos(w);
    cliente->setObjectName(QStringLiteral("TxtTransportista"));
    cliente->setLista(d.TClientes, kColumnasCliente, QStringLiteral("Apellidos"), 20);
    cliente->enlazar(fuente(), QStringLiteral("Transportista"));
    fila(2, QStringLiteral("&Cliente"), cliente);

    auto *matricula = new ListaBusquedaDatos(w);
    matricula->setObjectName(QStringLiteral("TxtMatricula"));
    matricula->setLista(d.TCamiones, kColumnasCamion, QStringLiteral("Matricula"), 20);
    matricula->enlazar(fuente(), QStringLiteral("Matricula"));
    fila(3, QStringLiteral("&Matrícula"), matricula);

    auto *carga = new ListaBusquedaDatos(w);
    carga->setObjectName(QStringLiteral("TxtCarga"));
    carga->setLista(d.TLugar, kColumnasLugar, QStringLiteral("Lugar"), 20);
    carga->enlazar(fuente(), QStringLiteral("Carga"));
    fila(4, QStringLiteral("C&arga"), carga);

    auto *descarga = new ListaBusquedaDatos(w);
    descarga->setObjectName(QStringLiteral("TxtDescarga"));
    descarga->setLista(d.TLugar, kColumnasLugar, QStringLiteral("Lugar"), 20);
    descarga->enlazar(fuente(), QStringLiteral("Descarga"));
    fila(5, QStringLiteral("D&escarga"), descarga);

    auto *precio = new CajaImporteDatos(w);
    precio->setObjectName(QStringLiteral("TxtPrecio"));
    precio->enlazar(fuente(), QStringLiteral("Precio"), Formato::kMoneda);
    fila(6, QStringLiteral("&Precio"), precio);

    const QList<QPair<QString, QString>> flags = {
        {QStringLiteral("Facturado"), QStringLiteral("Fact&urado")},
        {QStringLiteral("Pagado"), QStringLiteral("Paga&do")},
        {QStringLiteral("Reportado"), QStringLiteral("&Reportado")}};
    int f = 7;
    for (const auto &[campo, etiqueta] : flags) {
        auto *lista = new ListaSiNoDatos(w);
        lista->setObjectName(QStringLiteral("Txt") + campo);
        lista->enlazar(fuente(), campo);
        fila(f++, etiqueta, lista);
    }

    auto *observaciones = new MemoDatos(w);
    observaciones->setObjectName(QStringLiteral("TxtObservaciones"));
    observaciones->enlazar(fuente(), QStringLiteral("Observaciones"));
    // Leaving the notes stores the haul.
    connect(observaciones, &MemoDatos::salida, this, [this] { grabar(); });
    fila(f, QStringLiteral("Obser&vación"), observaciones);
    g->setColumnStretch(3, 1);
    g->setRowStretch(f, 1);
    return w;
}

void TFormPortes::actualizarBotonViaje() {
    // The button waits for the haul to be stored; the key stays available.
    if (auto *b = findChild<QPushButton *>(QStringLiteral("BActPasarViaje")))
        b->setEnabled(!tabla()->isEditing());
}

void TFormPortes::sincronizarViaje() {
    actualizarBotonViaje();
    if (tabla()->isEmpty())
        return;
    const DatosPorte porte = DatosPorte::de(*tabla());
    TDatos &d = datos();
    try {
        for (const SincronizacionViaje::Cambio &c : SincronizacionViaje::cambios(d, porte)) {
            if (!msSi(c.pregunta))
                continue;
            SincronizacionViaje::aplicar(d, porte.numero, c);
            msInfo(QStringLiteral("El viaje se ha actualizado correctamente."));
        }
    } catch (const StoreError &e) {
        msError(e.message());
    }
}

void TFormPortes::pasarAViaje() {
    // A haul still being typed is stored first, so the trip never points at a haul that does
    // not exist.
    if (!grabar())
        return;
    if (tabla()->isEmpty()) {
        msPlano(QStringLiteral("Actualice los valores antes de continuar."));
        return;
    }
    try {
        switch (PasarAViaje::ejecutar(datos(), DatosPorte::de(*tabla()))) {
        case PasarAViaje::SinNumero:
            msPlano(QStringLiteral("Actualice los valores antes de continuar."));
            break;
        case PasarAViaje::Enlazado:
            msInfo(QStringLiteral(
                "Ya existe un viaje con este número. Se ha añadido el ID del porte."));
            break;
        case PasarAViaje::Creado:
            msInfo(QStringLiteral("El porte ha sido pasado a viaje correctamente."));
            break;
        }
    } catch (const StoreError &) {
        msError(QStringLiteral(
            "El viaje NO se ha añadido. Compruebe los datos y vuelva a intentarlo."));
    }
}

void TFormPortes::anadirReporte() {
    if (!grabar())
        return;
    if (tabla()->isEmpty())
        return;
    // Marking the haul as reported changes nothing its trip follows.
    m_anadiendoReporte = true;
    auto fin = qScopeGuard([this] { m_anadiendoReporte = false; });
    try {
        AnadirReporte::ejecutar(datos(), *tabla());
        msInfo(QStringLiteral("El reporte se ha añadido correctamente."));
    } catch (const StoreError &) {
        msError(QStringLiteral("El reporte NO se ha añadido."));
    }
}

Listado TFormPortes::listado() const {
    Listado l;
    l.titulo = QStringLiteral("LISTADO DE PORTES");
    l.orientacion = QPageLayout::Landscape;
    using V = Listado::Valor;
    l.anadirColumna(QStringLiteral("ID"), V::deCampo(QStringLiteral("ID")), 0.5);
    l.anadirColumna(QStringLiteral("Número"), V::deCampo(QStringLiteral("Numero")), 0.9);
    l.anadirColumna(QStringLiteral("Fecha"), V::deCampo(QStringLiteral("Fecha")), 0.9);
    l.anadirColumna(QStringLiteral("Matrícula"), V::deCampo(QStringLiteral("Matricula")), 0.9);
    l.anadirColumna(QStringLiteral("Cliente"), V::deCampo(QStringLiteral("Transportista")), 2.2);
    l.anadirColumna(QStringLiteral("Carga"), V::deCampo(QStringLiteral("Carga")), 1.6);
    l.anadirColumna(QStringLiteral("Descarga"), V::deCampo(QStringLiteral("Descarga")), 1.6);
    l.anadirColumna(QStringLiteral("Precio"),
                    V::deCampo(QStringLiteral("Precio"), Formato::kMoneda), 1.0, Qt::AlignRight);
    l.anadirColumna(QStringLiteral("Fa"), V::deCampo(QStringLiteral("Facturado")), 0.3);
    l.anadirColumna(QStringLiteral("Pa"), V::deCampo(QStringLiteral("Pagado")), 0.3);
    l.anadirColumna(QStringLiteral("Re"), V::deCampo(QStringLiteral("Reportado")), 0.3);
    l.resumen << Listado::LineaResumen::conTotal(QStringLiteral("Total:"),
                                                 Listado::Total::suma(QStringLiteral("Precio")),
                                                 l.columna(QStringLiteral("Precio")));
    return completarListado(l);
}

void TFormPortes::imprimir() {
    previsualizarListado(listado());
}
