#include "fleet/TFormCamioneros.h"

#include "app/Configuracion.h"
#include "app/Mensajes.h"
#include "common/ControlesDatos.h"
#include "common/Formato.h"
#include "common/Listado.h"
#include "common/Mascaras.h"
#include "common/MotorListado.h"
#include "fleet/Camioneros.h"
#include "store/StoreError.h"
#include "store/TDatos.h"
#include "store/Table.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace {

const QString kMascaraNif = QStringLiteral("00000000->A;1;_");
const QString kMascaraTelefono = QStringLiteral("0000000009;1;_");

} // namespace

DeclaracionVentana TFormCamioneros::declaracion() {
    DeclaracionVentana v;
    v.nombre = QStringLiteral("FormCamioneros");
    v.titulo = QStringLiteral("Camioneros");
    v.tabla = QStringLiteral("Camioner.DB");
    v.paginas = {{Pagina::Lista, tituloPestana("Lista")},
                 {Pagina::Edicion, tituloPestana("Edición")},
                 {Pagina::Buscar, tituloPestana("Buscar/Ordenar")}};
    v.comandos = {
        {Comando::Nuevo, QStringLiteral("ActNuevo"), QStringLiteral("Nuevo camionero"),
         QStringLiteral("Añade un nuevo camionero")},
        {Comando::Eliminar, QStringLiteral("ActEliminar"), QStringLiteral("Eliminar camionero"),
         QStringLiteral("Elimina el camonero actual")},
        comandoEstandar(Comando::Lista, QStringLiteral("Lista de camioneros")),
        comandoEstandar(Comando::Edicion, QStringLiteral("Añadir, modificar, eliminar camioneros")),
        comandoEstandar(Comando::Buscar, QStringLiteral("Buscar/Ordenar camioneros")),
        comandoEstandar(Comando::Imprimir, QStringLiteral("Imprime el listado de camioneros")),
        comandoEstandar(Comando::Cerrar, QStringLiteral("Cierra esta ventana")),
    };
    v.barra = {QStringLiteral("ActLista"), QStringLiteral("ActEdicion"),
               QStringLiteral("ActBuscar"), QStringLiteral("ActPrevisualizar"),
               QStringLiteral("ActCerrar")};
    v.fichero = {QStringLiteral("ActLista"),         QStringLiteral("ActEdicion"),
                 QStringLiteral("ActBuscar"),        QStringLiteral("-"),
                 QStringLiteral("ActPrevisualizar"), QStringLiteral("-"),
                 QStringLiteral("ActCerrar")};
    v.etiquetaBuscar = QStringLiteral("NIF a &buscar:");
    v.formatoPosicion = QStringLiteral("%1 de %2");
    v.formatoPosicionMovido = QStringLiteral("Camionero %1 de %2");
    v.columnas = {
        {QStringLiteral("CIF"), QStringLiteral("NIF"), 85},
        {QStringLiteral("Apellidos"), QStringLiteral("Apellidos"), 160},
        {QStringLiteral("Nombre"), QStringLiteral("Nombre"), 110},
        {QStringLiteral("Direccion"), QStringLiteral("Dirección"), 160},
        {QStringLiteral("CP"), QStringLiteral("CP"), 50},
        {QStringLiteral("Ciudad"), QStringLiteral("Ciudad"), 110},
        {QStringLiteral("Provincia"), QStringLiteral("Provincia"), 100},
        {QStringLiteral("SueldoBase"), QStringLiteral("Sueldo"), 85,
         Qt::AlignRight | Qt::AlignVCenter, false, Formato::kMoneda, true},
        {QStringLiteral("PtsKm"), QStringLiteral("Importe/Km"), 80,
         Qt::AlignRight | Qt::AlignVCenter, false, Formato::kMoneda, true},
        {QStringLiteral("Telefono"), QStringLiteral("Teléfono"), 85},
    };
    v.seccionRejilla = QStringLiteral("Tabla Camioneros");
    v.ayudaRejilla = QStringLiteral("Haga doble click sobre el camionero que desee editar");
    v.ayudasLista = {QStringLiteral("Primer camionero"), QStringLiteral("Camionero anterior"),
                     QStringLiteral("Camionero siguiente"), QStringLiteral("Último camionero")};
    v.ayudasEdicion = v.ayudasLista;
    v.ayudasEdicion << QStringLiteral("Cancelar edición");
    v.navegadorEdicion = {Navegador::Primero, Navegador::Anterior, Navegador::Siguiente,
                          Navegador::Ultimo, Navegador::Cancelar};
    v.botonesEdicion = QList<DeclBoton>{{QStringLiteral("ActEliminar"), {}, {}},
                                        {QStringLiteral("ActNuevo"), {}, {}}};
    v.tituloOrdenarPor = QStringLiteral("Ordenar camioneros por");
    v.ordenes = {
        {QStringLiteral("NI&F"), QStringLiteral("CIF"), QStringLiteral("NIF a &buscar:")},
        {QStringLiteral("&Apellidos"), QStringLiteral("Apellidos"),
         QStringLiteral("Apellidos a &buscar:")},
    };
    v.textoClaveDuplicada =
        QStringLiteral("El CIF del camionero ya existe, cámbielo y vuelva a intentarlo.");
    v.descartarNuevoAlEliminar = true;
    return v;
}

TFormCamioneros::TFormCamioneros(QWidget *parent) : VentanaRegistro(declaracion(), parent) {
    connect(tabla(), &DataSet::stateChanged, this, [this] {
        if (m_validar)
            m_validar->setEnabled(tabla()->isEditing());
    });
}

QWidget *TFormCamioneros::crearEdicion() {
    auto *w = new QWidget;
    w->setObjectName(QStringLiteral("Edicion"));
    auto *g = new QGridLayout(w);
    int fila = 0;
    auto caja = [&](const QString &campo, const QString &etiqueta,
                    const QString &mascara = QString(), int ancho = 260) {
        auto *c = new CajaDatos(w);
        c->setObjectName(QStringLiteral("Txt") + campo);
        c->enlazar(fuente(), campo, mascara);
        c->setFixedWidth(ancho);
        auto *l = new QLabel(etiqueta, w);
        l->setBuddy(c);
        g->addWidget(l, fila, 0);
        g->addWidget(c, fila++, 1);
        return c;
    };
    caja(QStringLiteral("CIF"), QStringLiteral("N.I.F."), kMascaraNif, 110);
    m_apellidos = caja(QStringLiteral("Apellidos"), QStringLiteral("Apellidos"));
    caja(QStringLiteral("Nombre"), QStringLiteral("Nombre"));
    caja(QStringLiteral("Direccion"), QStringLiteral("Dirección"));
    caja(QStringLiteral("CP"), QStringLiteral("C.P."), Mascaras::CodigoPostal, 70);
    caja(QStringLiteral("Ciudad"), QStringLiteral("Ciudad"));
    caja(QStringLiteral("Provincia"), QStringLiteral("Provincia"));
    caja(QStringLiteral("Telefono"), QStringLiteral("Teléfono"), kMascaraTelefono, 110);
    for (const auto &[campo, etiqueta] :
         {std::pair{"SueldoBase", "Sueldo Base"}, std::pair{"PtsKm", "Importe/Km"}}) {
        auto *c = new CajaImporteDatos(w);
        c->setObjectName(QStringLiteral("Txt") + QString::fromLatin1(campo));
        c->enlazar(fuente(), QString::fromLatin1(campo), Formato::kMoneda);
        c->setFixedWidth(120);
        auto *l = new QLabel(QString::fromUtf8(etiqueta), w);
        l->setBuddy(c);
        g->addWidget(l, fila, 0);
        g->addWidget(c, fila++, 1);
    }
    m_validar = new QPushButton(QStringLiteral("&Validar"), w);
    m_validar->setObjectName(QStringLiteral("BValidar"));
    m_validar->setToolTip(QStringLiteral("Actualiza los datos"));
    m_validar->setEnabled(tabla()->isEditing());
    connect(m_validar, &QPushButton::clicked, this, &TFormCamioneros::validar);
    g->addWidget(m_validar, fila++, 1, Qt::AlignLeft);
    g->setRowStretch(fila, 1);
    g->setColumnStretch(2, 1);
    return w;
}

void TFormCamioneros::nuevo() {
    VentanaRegistro::nuevo();
    if (tabla()->state() == DataSet::Insert && m_apellidos)
        m_apellidos->setFocus();
}

void TFormCamioneros::validar() {
    if (!tabla()->isEditing())
        return;
    for (const char *campo : {"PtsKm", "SueldoBase"})
        if (tabla()->value(QString::fromLatin1(campo)).isNull())
            tabla()->setValue(QString::fromLatin1(campo), 0.0);
    grabar();
}

bool TFormCamioneros::puedeEliminar() {
    const QString nif = tabla()->value(QStringLiteral("CIF")).toString();
    const auto matricula = Camioneros::camionAsignado(*tabla()->connection(), nif);
    if (!matricula)
        return true;
    msInfo(QStringLiteral("El camionero ") +
           tabla()->value(QStringLiteral("Apellidos")).toString() +
           QStringLiteral(" tiene asignado el camión matrícula [") + *matricula +
           QStringLiteral("]. No se puede eliminar."));
    return false;
}

QString TFormCamioneros::preguntaEliminar() const {
    return QStringLiteral("¿Está seguro que desea eliminar el camionero [") +
           tabla()->value(QStringLiteral("Apellidos")).toString() +
           QStringLiteral("] permanentemente? Recuerde que no podrá recuperarlo.");
}

void TFormCamioneros::eliminarRegistro() {
    VentanaRegistro::eliminarRegistro();
    if (TDatos *d = TDatos::instancia(); d && d->TCamioneros->isActive())
        d->TCamioneros->refresh();
}

Listado TFormCamioneros::listado() const {
    Listado l;
    l.titulo = QStringLiteral("LISTADO DE CAMIONEROS");
    using V = Listado::Valor;
    l.anadirColumna(QStringLiteral("N.I.F."), V::deCampo(QStringLiteral("CIF")), 0.9);
    l.anadirColumna(QStringLiteral("Apellidos"), V::deCampo(QStringLiteral("Apellidos")), 1.8);
    l.anadirColumna(QStringLiteral("Nombre"), V::deCampo(QStringLiteral("Nombre")), 1.2);
    l.anadirColumna(QStringLiteral("Ciudad"), V::deCampo(QStringLiteral("Ciudad")), 1.2);
    l.anadirColumna(QStringLiteral("Sueldo base"),
                    V::deCampo(QStringLiteral("SueldoBase"), Formato::kMoneda), 1.0,
                    Qt::AlignRight);
    l.anadirColumna(QStringLiteral("Imp./Km."),
                    V::deCampo(QStringLiteral("PtsKm"), Formato::kMoneda), 0.8, Qt::AlignRight);
    l.anadirColumna(QStringLiteral("Teléfono"), V::deCampo(QStringLiteral("Telefono")), 0.9);
    Listado::LineaResumen medias;
    medias.etiqueta = QStringLiteral("Medias:");
    medias.valores << Listado::ValorResumen{QString(),
                                            Listado::Total::media(QStringLiteral("SueldoBase")),
                                            l.columna(QStringLiteral("Sueldo base"))}
                   << Listado::ValorResumen{QString(),
                                            Listado::Total::media(QStringLiteral("PtsKm")),
                                            l.columna(QStringLiteral("Imp./Km."))};
    l.resumen << medias;
    l.pie.empresa = Listado::rotuloEmpresa();
    return l;
}

void TFormCamioneros::imprimir() {
    TDatos *d = TDatos::instancia();
    if (!d || !grabar())
        return;
    try {
        d->TCamioneros->open();
    } catch (const StoreError &e) {
        msError(e.message());
        return;
    }
    MotorListado motor(listado(), d->TCamioneros);
    motor.previsualizarSegunAjustes(this);
}
