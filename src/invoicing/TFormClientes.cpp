#include "invoicing/TFormClientes.h"

#include "app/Mensajes.h"
#include "common/ControlesDatos.h"
#include "common/Listado.h"
#include "common/Mascaras.h"
#include "invoicing/Clientes.h"
#include "store/StoreError.h"
#include "store/TDatos.h"
#include "store/Table.h"

#include <QAction>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kClaveDuplicada = QStringLiteral(
    "El CIF del cliente ya existe o no lo ha introducido correctamente, cámbielo y vuelva a "
    "intentarlo.");

} // namespace

DeclaracionVentana TFormClientes::declaracion() {
    DeclaracionVentana v;
    v.nombre = QStringLiteral("FormClientes");
    v.titulo = QStringLiteral("Clientes");
    v.tabla = QStringLiteral("cliente.DB");
    v.paginas = {{Pagina::Lista, tituloPestana("Lista")},
                 {Pagina::Edicion, tituloPestana("Edición")},
                 {Pagina::Buscar, tituloPestana("Buscar/Filtrar")}};
    v.comandos = {
        {Comando::Nuevo, QStringLiteral("ActNuevo"), QStringLiteral("Nuevo cliente"),
         QStringLiteral("Añade un nuevo cliente")},
        comandoEstandar(Comando::Lista, QStringLiteral("Lista")),
        comandoEstandar(Comando::Edicion, QStringLiteral("Añadir, modificar, eliminar")),
        comandoEstandar(Comando::Buscar, QStringLiteral("Buscar/Ordenar")),
        comandoEstandar(Comando::Imprimir, QStringLiteral("Imprime el listado")),
        {Comando::Eliminar, QStringLiteral("ActEliminar"), QStringLiteral("Eliminar"),
         QStringLiteral("Elimina el cliente actual")},
        comandoEstandar(Comando::Cerrar, QStringLiteral("Cierra esta ventana")),
    };
    v.extras = {{QStringLiteral("ActActualizarCambios"),
                 QStringLiteral("&Actualizar cambios"),
                 QStringLiteral("Actualiza el cambio de nombre de cliente en velmora"),
                 QKeySequence(),
                 {}}};
    v.barra = {QStringLiteral("ActLista"), QStringLiteral("ActEdicion"),
               QStringLiteral("ActBuscar"), QStringLiteral("ActPrevisualizar"),
               QStringLiteral("ActCerrar")};
    v.fichero = {QStringLiteral("ActNuevo"),         QStringLiteral("-"),
                 QStringLiteral("ActLista"),         QStringLiteral("ActEdicion"),
                 QStringLiteral("ActBuscar"),        QStringLiteral("-"),
                 QStringLiteral("ActPrevisualizar"), QStringLiteral("-"),
                 QStringLiteral("ActCerrar")};
    v.etiquetaBuscar = QStringLiteral("Nombre a &Buscar:");
    v.columnas = {
        {QStringLiteral("CIF"), QStringLiteral("C.I.F."), 90},
        {QStringLiteral("Apellidos"), QStringLiteral("Nombre"), 250},
        {QStringLiteral("Telefono1"), QStringLiteral("Teléfono"), 95},
        {QStringLiteral("Direccion"), QStringLiteral("Dirección"), 220},
        {QStringLiteral("Ciudad"), QStringLiteral("Ciudad"), 130},
        {QStringLiteral("Provincia"), QStringLiteral("Provincia"), 110},
        {QStringLiteral("Pais"), QStringLiteral("País"), 90},
    };
    v.ayudaRejilla = QStringLiteral("Haga doble click sobre el cliente que desee para editarlo");
    v.ayudasLista = {QStringLiteral("Primer cliente"), QStringLiteral("Cliente anterior"),
                     QStringLiteral("Cliente siguiente"), QStringLiteral("Último cliente")};
    v.ayudasEdicion = v.ayudasLista;
    v.ayudasEdicion << QStringLiteral("Editar cliente") << QStringLiteral("Cancelar edición");
    v.navegadorEdicion = {Navegador::Primero, Navegador::Anterior, Navegador::Siguiente,
                          Navegador::Ultimo,  Navegador::Editar,   Navegador::Cancelar};
    v.botonesLista = QList<DeclBoton>{{QStringLiteral("ActEdicion"), QStringLiteral("E&dición"),
                                       QStringLiteral("Añadir/Modificar/Eliminar clientes")}};
    v.botonesEdicion = QList<DeclBoton>{{QStringLiteral("ActNuevo"), {}, {}},
                                        {QStringLiteral("ActEliminar"), {}, {}}};
    v.tituloBuscarPor = QStringLiteral("Buscar clientes por");
    v.tituloOrdenarPor = QStringLiteral("Ordenar clientes por");
    v.busquedas = {
        {DeclBusqueda::Mascara, QStringLiteral("Nombre:"), QStringLiteral("Apellidos"), QString(),
         QStringLiteral("No se ha encontrado ningún cliente con ese nombre")},
        {DeclBusqueda::Mascara, QStringLiteral("CIF:"), QStringLiteral("CIF"),
         QStringLiteral("Busca un cliente por CIF"),
         QStringLiteral("No se ha encontrado ningún cliente con ese CIF.")},
    };
    v.ordenes = {
        {QStringLiteral("C.&I.F."), QStringLiteral("CIF"), QStringLiteral("&Buscar CIF:")},
        {QStringLiteral("&Nombre"), QStringLiteral("Apellidos"),
         QStringLiteral("Nombre a &Buscar:")},
    };
    v.ordenInicial = 1;
    v.textoClaveDuplicada = kClaveDuplicada;
    return v;
}

TFormClientes::TFormClientes(QWidget *parent) : VentanaRegistro(declaracion(), parent) {
    connect(accion(QStringLiteral("ActActualizarCambios")), &QAction::triggered, this,
            &TFormClientes::actualizarCambios);
    accion(QStringLiteral("ActActualizarCambios"))->setEnabled(false);
    connect(tabla(), &DataSet::stateChanged, this, &TFormClientes::seguirEstado);
    connect(tabla(), &DataSet::afterInsert, this, [this] {
        // A new client has no former name to carry anywhere.
        m_nombreRecordado.clear();
        accion(QStringLiteral("ActActualizarCambios"))->setEnabled(false);
        if (m_nombre)
            m_nombre->setFocus();
    });
    connect(tabla(), &DataSet::afterPost, this, [this] {
        const QString nombre = tabla()->value(QStringLiteral("Apellidos")).toString();
        if (!m_nombreRecordado.isEmpty() && m_nombreRecordado != nombre) {
            msInfo(QStringLiteral(
                "Si ha modificado el nombre del cliente ejecute el botón \"Actualizar nombre\" "
                "para actualizar los velmora con el nuevo nombre de cliente."));
            accion(QStringLiteral("ActActualizarCambios"))->setEnabled(true);
        }
    });
    auto apagar = [this] { accion(QStringLiteral("ActActualizarCambios"))->setEnabled(false); };
    connect(tabla(), &DataSet::afterCancel, this, apagar);
    connect(tabla(), &DataSet::afterDelete, this, apagar);
}

QWidget *TFormClientes::crearEdicion() {
    auto *w = new QWidget;
    w->setObjectName(QStringLiteral("Edicion"));
    m_panel = new QGroupBox(w);
    m_panel->setObjectName(QStringLiteral("PanelDatos"));
    auto *g = new QGridLayout(m_panel);
    auto caja = [&](const QString &campo, const QString &mascara = QString()) {
        auto *c = new CajaDatos(m_panel);
        c->setObjectName(QStringLiteral("Txt") + campo);
        c->enlazar(fuente(), campo, mascara);
        return c;
    };
    auto fila = [&](int f, int col, const QString &etiqueta, QWidget *editor, int ancho = 1) {
        auto *l = new QLabel(etiqueta, m_panel);
        l->setBuddy(editor);
        g->addWidget(l, f, col);
        g->addWidget(editor, f, col + 1, 1, ancho);
    };
    m_cif = caja(QStringLiteral("CIF"));
    m_cif->setMaximumWidth(160);
    fila(0, 0, QStringLiteral("C.I.F."), m_cif);
    m_nombre = caja(QStringLiteral("Apellidos"));
    fila(1, 0, QStringLiteral("&Nombre"), m_nombre, 3);
    fila(2, 0, QStringLiteral("Dirección"), caja(QStringLiteral("Direccion")), 3);
    auto *cp = caja(QStringLiteral("CP"), Mascaras::CodigoPostal);
    cp->setMaximumWidth(80);
    fila(3, 0, QStringLiteral("C.P."), cp);
    fila(3, 2, QStringLiteral("Ciudad"), caja(QStringLiteral("Ciudad")));
    fila(4, 0, QStringLiteral("Provincia"), caja(QStringLiteral("Provincia")));
    fila(4, 2, QStringLiteral("País"), caja(QStringLiteral("Pais")));
    fila(5, 0, QStringLiteral("Teléfono 1"), caja(QStringLiteral("Telefono1")));
    fila(5, 2, QStringLiteral("Teléfono 2"), caja(QStringLiteral("Telefono2")));
    fila(6, 0, QStringLiteral("FAX"), caja(QStringLiteral("Fax")));
    fila(7, 0, QStringLiteral("Persona de contacto"), caja(QStringLiteral("PContacto")), 3);
    fila(8, 0, QStringLiteral("E-MAIL"), caja(QStringLiteral("EMail")), 3);

    auto *cuenta = new QWidget(m_panel);
    auto *capaCuenta = new QHBoxLayout(cuenta);
    capaCuenta->setContentsMargins(0, 0, 0, 0);
    const QList<QPair<QString, QString>> partes = {{QStringLiteral("CCCEntidad"), "Entidad"},
                                                   {QStringLiteral("CCCAgencia"), "Agencia"},
                                                   {QStringLiteral("CCCDC"), "DC"},
                                                   {QStringLiteral("CCCCuenta"), "Cuenta"}};
    for (const auto &[campo, etiqueta] : partes) {
        auto *c = caja(campo);
        c->setMaximumWidth(campo == QLatin1String("CCCCuenta") ? 120 : 60);
        capaCuenta->addWidget(new QLabel(etiqueta, cuenta));
        capaCuenta->addWidget(c);
    }
    capaCuenta->addStretch();
    fila(9, 0, QStringLiteral("C.C.C. ->"), cuenta, 3);

    auto *observacion = new MemoDatos(m_panel);
    observacion->setObjectName(QStringLiteral("TxtObservacion"));
    observacion->enlazar(fuente(), QStringLiteral("Observacion"));
    fila(10, 0, QStringLiteral("Observación"), observacion, 3);
    g->setRowStretch(10, 1);
    g->setColumnStretch(1, 1);
    g->setColumnStretch(3, 1);

    m_validar = new QPushButton(QStringLiteral("&Validar"), m_panel);
    m_validar->setObjectName(QStringLiteral("BValidar"));
    m_validar->setToolTip(QStringLiteral("Actualiza los datos"));
    connect(m_validar, &QPushButton::clicked, this, &TFormClientes::validar);
    g->addWidget(m_validar, 11, 3, Qt::AlignRight);

    m_progreso = new QProgressBar(w);
    m_progreso->setObjectName(QStringLiteral("Progreso"));
    m_progreso->hide();

    auto *capa = new QVBoxLayout(w);
    capa->setContentsMargins(0, 0, 0, 0);
    capa->addWidget(m_panel, 1);
    capa->addWidget(m_progreso);
    seguirEstado();
    return w;
}

QPushButton *TFormClientes::botonActualizar() const {
    return findChild<QPushButton *>(QStringLiteral("BActActualizarCambios"));
}

// The data panel takes input only while a client is inserted or edited; the CIF of a stored
// client cannot change.
void TFormClientes::seguirEstado() {
    const int estado = tabla()->state();
    const bool editando = tabla()->isEditing();
    if (estado == DataSet::Edit && m_estadoPrevio != DataSet::Edit) {
        m_nombreRecordado = tabla()->value(QStringLiteral("Apellidos")).toString();
        accion(QStringLiteral("ActActualizarCambios"))->setEnabled(false);
    }
    m_estadoPrevio = estado;
    if (!m_panel)
        return;
    m_panel->setEnabled(editando);
    m_validar->setEnabled(editando);
    m_cif->setEnabled(estado != DataSet::Edit);
}

void TFormClientes::validar() {
    grabar();
}

// Invoices find their client by CIF: a client without one is refused as a repeated one is.
void TFormClientes::comprobarRegistro() {
    if (tabla()->value(QStringLiteral("CIF")).toString().trimmed().isEmpty())
        throw StoreError(StoreError::KeyViolation, QStringLiteral("Falta el valor del campo CIF."),
                         QStringLiteral("CIF"));
}

bool TFormClientes::puedeEliminar() {
    if (tabla()->isEditing())
        return false;
    const QString nombre = tabla()->value(QStringLiteral("Apellidos")).toString();
    const QString cif = tabla()->value(QStringLiteral("CIF")).toString();
    const char *uso = nullptr;
    switch (Clientes::uso(*tabla()->connection(), nombre, cif)) {
    case Clientes::Uso::Portes:
        uso = " tiene portes. No se puede eliminar.";
        break;
    case Clientes::Uso::Reportes:
        uso = " tiene reportes. No se puede eliminar.";
        break;
    case Clientes::Uso::Facturas:
        uso = " tiene facturas. No se puede eliminar.";
        break;
    case Clientes::Uso::Ninguno:
        return true;
    }
    msInfo(QStringLiteral("El cliente ") + nombre + QString::fromUtf8(uso));
    return false;
}

QString TFormClientes::preguntaEliminar() const {
    return QStringLiteral("¿Está seguro que desea eliminar el cliente [") +
           tabla()->value(QStringLiteral("Apellidos")).toString() +
           QStringLiteral("] permanentemente? Recuerde que no podrá recuperarlo.");
}

void TFormClientes::actualizarCambios() {
    const QString nuevo = tabla()->value(QStringLiteral("Apellidos")).toString();
    const QString anterior = m_nombreRecordado;
    // Without a former name (a new client) every haul without client would take the name.
    if (nuevo == anterior || anterior.isEmpty()) {
        msInfo(QStringLiteral("No ha modificado el nombre del cliente."));
        return;
    }
    const QString pregunta = QStringLiteral("ATENCIÓN: se va a modificar el nombre del cliente [") +
                             anterior + QStringLiteral("] por el nuevo nombre [") + nuevo +
                             QStringLiteral("] en velmora.  ¡¡¡CONTINÚE SÓLO SI ESTÁ SEGURO!!!");
    if (!ServicioMensajes::actual().mostrar(TipoMensaje::Informacion, QStringLiteral("Información"),
                                            pregunta, Botones::AceptarCancelar))
        return;
    m_panel->hide();
    m_progreso->setRange(0, 0);
    m_progreso->show();
    Clientes::Renombrados r;
    try {
        r = Clientes::renombrar(*tabla()->connection(), anterior, nuevo);
    } catch (const StoreError &e) {
        m_progreso->hide();
        m_panel->show();
        msError(e.message());
        return;
    }
    m_progreso->hide();
    m_panel->show();
    msInfo(QStringLiteral("El proceso ha finalizado correctamente. Se han realizado [") +
           QString::number(r.portes) + QStringLiteral("] modificaciones en portes y [") +
           QString::number(r.reportes) + QStringLiteral("] modificaciones en reportes."));
}

Listado TFormClientes::listado() const {
    Listado l;
    l.titulo = QStringLiteral("LISTADO DE CLIENTES");
    using V = Listado::Valor;
    l.anadirColumna(QStringLiteral("C.I.F."), V::deCampo(QStringLiteral("CIF")), 0.9);
    l.anadirColumna(QStringLiteral("Nombre"), V::deCampo(QStringLiteral("Apellidos")), 2.0);
    l.anadirColumna(QStringLiteral("Dirección"), V::deCampo(QStringLiteral("Direccion")), 2.0);
    l.anadirColumna(QStringLiteral("Provincia"), V::deCampo(QStringLiteral("Provincia")), 1.0);
    l.anadirColumna(QStringLiteral("Ciudad"), V::deCampo(QStringLiteral("Ciudad")), 1.0);
    l.anadirColumna(QStringLiteral("País"), V::deCampo(QStringLiteral("Pais")), 0.8);
    l.anadirColumna(QStringLiteral("Teléfono"), V::deCampo(QStringLiteral("Telefono1")), 0.9);
    return completarListado(l);
}

void TFormClientes::imprimir() {
    previsualizarListado(listado());
}
