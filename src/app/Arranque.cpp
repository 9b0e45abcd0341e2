#include "app/Arranque.h"

#include "app/Configuracion.h"
#include "app/IniFile.h"
#include "app/Mensajes.h"
#include "app/Programa.h"
#include "app/TFormI.h"
#include "app/TFormMenuPrincipal.h"
#include "app/TformConexion.h"
#include "common/MotorListado.h"
#include "store/StoreError.h"
#include "store/TDatos.h"
#include "store/TMDatos.h"

#include <QApplication>
#include <QDir>
#include <QLockFile>
#include <QScreen>

Arranque::Arranque() = default;

Arranque::~Arranque() {
    // The progress window is a child of the main window; everything goes before the lock.
    m_progreso.reset();
    m_ventana.reset();
    m_mdatos.reset();
    m_datos.reset();
}

bool Arranque::iniciar() {
    if (!Connection::engineAvailable()) {
        msAtencion(QStringLiteral("Esta aplicación necesita tener el BDE instalado, instálelo y "
                                  "vuelva a intentarlo."));
        return false;
    }
    const QString alias = QStringLiteral("VIvozed");
    if (!Connection::aliasExists(alias))
        Connection::addAlias(alias, Programa::carpetaTablas());

    const QString titulo = Programa::titulo();
    m_bloqueo = std::make_unique<QLockFile>(Programa::ficheroBloqueo());
    m_bloqueo->setStaleLockTime(0);
    if (!m_bloqueo->tryLock(0)) {
        m_bloqueo.reset();
        msAtencion(titulo + QStringLiteral(" ya está abierto."));
        return false;
    }

    const IniFile ini(Programa::ficheroIni());
    const QString contrasena = ini.readString(Clave::Aplicacion, Clave::Otros, QString());
    const QString usuario = ini.readString(Clave::Aplicacion, Clave::Usuario, QString());

    m_ventana = std::make_unique<TFormMenuPrincipal>();
    QApplication::setApplicationDisplayName(titulo);
    if (!contrasena.isEmpty()) {
        TformConexion conexion(contrasena, usuario, QStringLiteral("v. ") + Programa::version());
        if (conexion.exec() != QDialog::Accepted)
            return false;
    }

    m_ventana->ficheroAyuda.clear();
    m_progreso = std::make_unique<TFormI>(m_ventana.get());
    MotorListado::fijarAvisoProgreso({[](const QString &texto) {
                                          if (TFormI *f = TFormI::instancia())
                                              f->mostrar(texto);
                                      },
                                      [] {
                                          if (TFormI *f = TFormI::instancia())
                                              f->cerrar();
                                      }});
    m_mdatos = std::make_unique<TMDatos>(nullptr);
    m_datos = std::make_unique<TDatos>();
    m_mdatos->TCGastos->setConnection(m_datos->db);

    const QString ruta = ini.readString(Clave::Empresa, Clave::Ruta, QString());
    m_datos->db->close();
    m_datos->db->setAliasName(QString());
    if (ruta.isEmpty())
        m_ventana->SinEmpresa();
    else
        abrirEmpresaConfigurada(ruta);

    m_ventana->tituloAplicacion = titulo;
    m_ventana->version = Programa::version();
    return true;
}

bool Arranque::abrirEmpresaConfigurada(const QString &ruta) {
    Connection *db = m_datos->db;
    db->setPath(QDir(Programa::carpeta()).absoluteFilePath(ruta));
    db->setDriver(QStringLiteral("STANDARD"));
    try {
        db->open();
    } catch (const StoreError &e) {
        // A missing or broken company folder must not lock the user out: the program starts
        // with no company, from where another one can be opened.
        msError(QStringLiteral("No se ha podido abrir la empresa de la carpeta %1\r\r%2")
                    .arg(QDir::toNativeSeparators(ruta), e.message()));
        m_ventana->SinEmpresa();
        return false;
    }
    return m_ventana->AbrirEmpresa();
}

int Arranque::ejecutar(QApplication &app) {
    if (!iniciar())
        return 1;
    // Without a window manager "maximised" means nothing; the screen's size is asked for too.
    if (QScreen *pantalla = QApplication::primaryScreen())
        m_ventana->setGeometry(pantalla->availableGeometry());
    m_ventana->showMaximized();
    return app.exec();
}
