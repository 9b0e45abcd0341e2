#include "app/TFormConfiguracion.h"

#include "app/Configuracion.h"
#include "app/IniFile.h"
#include "app/Mensajes.h"
#include "app/Programa.h"
#include "app/TFormMenuPrincipal.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {
QLineEdit *cajaOculta(QWidget *padre, const QString &nombre) {
    auto *caja = new QLineEdit(padre);
    caja->setObjectName(nombre);
    caja->setEchoMode(QLineEdit::Password);
    caja->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    return caja;
}
} // namespace

QCheckBox *TFormConfiguracion::opcion(const QString &titulo, const QString &clave, int *valor) {
    auto *caja = new QCheckBox(titulo, this);
    caja->setObjectName(QStringLiteral("CB") + QString(clave).remove(' '));
    // Options kept in the main window show the value in force there; the others, the file's.
    const int actual =
        valor ? *valor : IniFile(Programa::ficheroIni()).readInteger(Clave::Aplicacion, clave, 1);
    caja->setChecked(actual == 1);
    m_opciones << Opcion{clave, valor, caja};
    return caja;
}

TFormConfiguracion::TFormConfiguracion(TFormMenuPrincipal *principal)
    : QDialog(principal), m_principal(principal) {
    setObjectName(QStringLiteral("FormConfiguracion"));
    setWindowTitle(QStringLiteral("Configuración de la aplicación..."));
    AjustesEmpresa &a = principal->ajustes;
    auto *pestanas = new QTabWidget(this);
    pestanas->setObjectName(QStringLiteral("Pestanas"));

    auto *porDefecto = new QWidget;
    auto *grupoMostrar = new QGroupBox(QStringLiteral("Mostrar/Ocultar  "), porDefecto);
    auto *capaMostrar = new QVBoxLayout(grupoMostrar);
    capaMostrar->addWidget(
        opcion(QStringLiteral("Mostrar progresos en procesos"), Clave::Progreso, &a.progreso));
    capaMostrar->addWidget(
        opcion(QStringLiteral("Mostrar barras de botones tipo 'flat'"), Clave::Flat, &a.flat));
    capaMostrar->addWidget(opcion(QStringLiteral("Mostrar barra de botones en el menú principal"),
                                  Clave::MostrarBarrasDeBotones, &a.mostrarBarrasDeBotones));
    capaMostrar->addWidget(opcion(QStringLiteral("Mostrar barra de estado del menú principal"),
                                  Clave::MostrarBarraDeEstado, &a.mostrarBarraDeEstado));
    capaMostrar->addWidget(
        opcion(QStringLiteral("Mostrar barra de total"), Clave::MostrarTotal, &a.mostrarTotal));
    capaMostrar->addWidget(opcion(QStringLiteral("Mostrar barra de filtro aplicado"),
                                  Clave::MostrarFiltro, &a.mostrarFiltro));
    capaMostrar->addWidget(opcion(QStringLiteral("Mostrar barras de botones en las demás ventanas"),
                                  Clave::MostrarBBEnVentanas, &a.mostrarBBEnVentanas));
    (new QVBoxLayout(porDefecto))->addWidget(grupoMostrar);
    pestanas->addTab(porDefecto, QStringLiteral("   Opciones por defecto   "));

    auto *carga = new QWidget;
    auto *grupoVentanas = new QGroupBox(QStringLiteral("Ventanas  "), carga);
    auto *capaVentanas = new QVBoxLayout(grupoVentanas);
    capaVentanas->addWidget(opcion(QStringLiteral("Cargar ventanas al iniciar aplicación"),
                                   Clave::CargarFormularios, nullptr));
    capaVentanas->addWidget(opcion(QStringLiteral("Cargar ventanas maximizadas"),
                                   Clave::EstadoCargaVentanas, &a.estadoCargaVentanas));
    capaVentanas->addWidget(opcion(QStringLiteral("Mostrar ventana de inicio al cargar aplicación"),
                                   Clave::InicioAplicacion, nullptr));
    (new QVBoxLayout(carga))->addWidget(grupoVentanas);
    pestanas->addTab(carga, QStringLiteral("  Opciones de carga   "));

    auto *seguridad = new QWidget;
    auto *grupoContrasena = new QGroupBox(QStringLiteral("Contraseña    "), seguridad);
    const QString guardada =
        IniFile(Programa::ficheroIni()).readString(Clave::Aplicacion, Clave::Otros, QString());
    m_actual = new QLineEdit(QString(guardada.size(), '*'), grupoContrasena);
    m_actual->setObjectName(QStringLiteral("TxtContrasenaActual"));
    m_actual->setEnabled(false);
    auto *grupoCambiar = new QGroupBox(QStringLiteral("Cambiar contraseña  "), grupoContrasena);
    m_reintroducirActual = cajaOculta(grupoCambiar, QStringLiteral("TxtReintroducirActual"));
    m_nueva = cajaOculta(grupoCambiar, QStringLiteral("TxtNuevaContrasena"));
    m_reintroducirNueva = cajaOculta(grupoCambiar, QStringLiteral("TxtReintroducirNueva"));
    auto *cambiar = new QPushButton(QStringLiteral("Cambiar contraseña"), grupoCambiar);
    cambiar->setObjectName(QStringLiteral("BCambiarContrasena"));
    cambiar->setToolTip(
        QStringLiteral("Cambia la contraseña de inicio actual por la nueva introducida"));
    cambiar->setAutoDefault(false);
    connect(cambiar, &QPushButton::clicked, this, &TFormConfiguracion::cambiarContrasena);
    auto *capaCambiar = new QFormLayout(grupoCambiar);
    capaCambiar->addRow(QStringLiteral("Reintroducir contraseña actual:"), m_reintroducirActual);
    capaCambiar->addRow(QStringLiteral("Nueva contraseña:"), m_nueva);
    capaCambiar->addRow(QStringLiteral("Reintroducir nueva contraseña:"), m_reintroducirNueva);
    capaCambiar->addRow(cambiar);
    auto *capaContrasena = new QFormLayout(grupoContrasena);
    capaContrasena->addRow(QStringLiteral("Contraseña actual:"), m_actual);
    capaContrasena->addRow(grupoCambiar);
    (new QVBoxLayout(seguridad))->addWidget(grupoContrasena);
    pestanas->addTab(seguridad, QStringLiteral("   Seguridad   "));

    auto *usuario = new QWidget;
    auto *grupoUsuario = new QGroupBox(QStringLiteral("Usuario"), usuario);
    auto *cajaUsuario = new QLineEdit(
        IniFile(Programa::ficheroIni()).readString(Clave::Aplicacion, Clave::Usuario, QString()),
        grupoUsuario);
    cajaUsuario->setObjectName(QStringLiteral("TxtUsuario"));
    (new QVBoxLayout(grupoUsuario))->addWidget(cajaUsuario);
    (new QVBoxLayout(usuario))->addWidget(grupoUsuario);
    pestanas->addTab(usuario, QStringLiteral("   Usuario   "));
    pestanas->addTab(new QWidget, QStringLiteral("   Opciones de datos   "));

    auto *cerrar = new QPushButton(QStringLiteral("&Cerrar"), this);
    cerrar->setObjectName(QStringLiteral("BCerrar"));
    cerrar->setToolTip(QStringLiteral("Cierra esta ventana y NO guarda la configuración"));
    auto *guardarBoton = new QPushButton(QStringLiteral("&Cerrar y guardar configuración"), this);
    guardarBoton->setObjectName(QStringLiteral("BGuardar"));
    guardarBoton->setToolTip(
        QStringLiteral("Guarda las modificaciones en la configuración y cierra esta ventana"));
    connect(cerrar, &QPushButton::clicked, this, &QDialog::reject);
    connect(guardarBoton, &QPushButton::clicked, this, [this] {
        guardar();
        accept();
    });
    auto *botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(cerrar);
    botones->addWidget(guardarBoton);
    auto *capa = new QVBoxLayout(this);
    capa->addWidget(pestanas);
    capa->addLayout(botones);
}

void TFormConfiguracion::guardar() {
    IniFile ini(Programa::ficheroIni());
    // The main-window options in the order they are stored, then the file-only ones.
    static const QStringList orden = {
        Clave::MostrarBarraDeEstado,   Clave::MostrarTotal, Clave::MostrarBBEnVentanas,
        Clave::MostrarFiltro,          Clave::Progreso,     Clave::EstadoCargaVentanas,
        Clave::MostrarBarrasDeBotones, Clave::Flat,         Clave::CargarFormularios,
        Clave::InicioAplicacion};
    for (const QString &clave : orden) {
        for (const Opcion &o : m_opciones) {
            if (o.clave != clave)
                continue;
            const int valor = o.caja->isChecked() ? 1 : 0;
            if (o.valor)
                *o.valor = valor;
            ini.writeInteger(Clave::Aplicacion, clave, valor);
        }
    }
}

void TFormConfiguracion::cambiarContrasena() {
    IniFile ini(Programa::ficheroIni());
    const QString guardada = ini.readString(Clave::Aplicacion, Clave::Otros, QString());
    if (m_reintroducirActual->text() != guardada) {
        msError(QStringLiteral("No ha introducido correctamente la cotraseña actual."));
        return;
    }
    if (m_nueva->text() != m_reintroducirNueva->text()) {
        msError(QStringLiteral(
            "La nueva contraseña no coincide con la nueva contraseña reintroducida."));
        return;
    }
    if (m_nueva->text().isEmpty() &&
        !msOK(QStringLiteral("La contraseña de inicio se desactivará. Pulse \"Aceptar\" para "
                             "continuar, \"Cancelar\" para no realizar cambios.")))
        return;
    ini.writeString(Clave::Aplicacion, Clave::Otros, m_nueva->text());
    m_principal->ajustes.otros = m_nueva->text();
    msInfo(QStringLiteral("La contraseña se ha modificado correctamente."));
}
