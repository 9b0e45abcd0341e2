#include "app/TFormMenuPrincipal.h"

#include "app/IniFile.h"
#include "app/Mensajes.h"
#include "app/MenuPrincipal.h"
#include "app/Programa.h"
#include "app/TFormAcercaDe.h"
#include "app/TFormConfiguracion.h"
#include "app/Utilidades.h"
#include "common/TFormCalendario.h"
#include "common/TFormLugares.h"
#include "companies/TFormCopiaSeguridad.h"
#include "expenses/TFormGastos.h"
#include "fleet/TFormCamioneros.h"
#include "invoicing/TFormClientes.h"
#include "invoicing/TFormFacturacion.h"
#include "invoicing/TFormLIPRC.h"
#include "operations/TFormPortes.h"
#include "operations/TFormViajes.h"
#include "store/Dates.h"
#include "store/StoreError.h"
#include "store/TDatos.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QStyle>
#include <QToolBar>
#include <QUrl>
#include <stdexcept>

namespace {
TFormMenuPrincipal *g_instancia = nullptr;

// Restores the normal cursor however the work ends.
struct CursorEspera {
    CursorEspera() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~CursorEspera() { QApplication::restoreOverrideCursor(); }
};
} // namespace

TFormMenuPrincipal *TFormMenuPrincipal::instancia() {
    return g_instancia;
}

TFormMenuPrincipal::TFormMenuPrincipal(QWidget *parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("FormMenuPrincipal"));
    setWindowTitle(Programa::titulo());
    m_area = new QMdiArea(this);
    m_area->setObjectName(QStringLiteral("AreaTrabajo"));
    setCentralWidget(m_area);
    connect(m_area, &QMdiArea::subWindowActivated, this, &TFormMenuPrincipal::fusionarFichero);

    auto *barra = new QStatusBar(this);
    barra->setObjectName(QStringLiteral("BE"));
    setStatusBar(barra);
    m_panelAyuda = new QLabel(barra);
    m_panelAyuda->setObjectName(QStringLiteral("BEAyuda"));
    m_panelAyuda->setFixedWidth(500);
    m_panelEmpresa = new QLabel(barra);
    m_panelEmpresa->setObjectName(QStringLiteral("BEEmpresa"));
    barra->addWidget(m_panelAyuda);
    barra->addWidget(m_panelEmpresa, 1);

    crearMenus();

    registrarModal(QStringLiteral("ActMostrarConfiguracion"), [this] {
        TFormConfiguracion dialogo(this);
        dialogo.exec();
    });
    registrarModal(QStringLiteral("ActSalir"), [this] { Salir(); });
    registrarModal(QStringLiteral("ActAcercaDe"), [this] {
        TFormAcercaDe acerca(false, this);
        acerca.exec();
    });
    registrarModal(QStringLiteral("actInformacion"), [this] {
        TFormAcercaDe informacion(true, this);
        informacion.exec();
    });
    registrarModal(QStringLiteral("ActMostrarCalculadora"), [this] { calculadora(); });
    registrarModal(QStringLiteral("ActAyudaContenido"), [this] { ayuda(); });
    registrarModal(QStringLiteral("actVentanaCerrarTodas"),
                   [this] { m_area->closeAllSubWindows(); });
    registrarModal(QStringLiteral("actVentanaMinimizarTodas"), [this] {
        QMdiSubWindow *activa = m_area->activeSubWindow();
        for (QMdiSubWindow *sub : m_area->subWindowList())
            sub->showMinimized();
        if (activa)
            activa->showMinimized();
    });
    registrarModal(QStringLiteral("actVentanaMosaico"), [this] { m_area->tileSubWindows(); });
    registrarModal(QStringLiteral("actVentanaCascada"), [this] { m_area->cascadeSubWindows(); });
    registrarModal(QStringLiteral("actVentanaOrdenarIconos"), [this] { ordenarIconos(); });
    registrarModal(QStringLiteral("AcrMostrarCalendario"), [this] {
        TFormCalendario calendario(this);
        calendario.exec();
    });
    registrarVentana(QStringLiteral("ActViajes"), QStringLiteral("FormViajes"),
                     [] { return new TFormViajes; });
    registrarVentana(QStringLiteral("ActMostrarPortes"), QStringLiteral("FormPortes"),
                     [] { return new TFormPortes; });
    registrarModal(
        QStringLiteral("ActMostrarCopiaSeguridad"),
        [this] {
            TFormCopiaSeguridad copia(this);
            copia.exec();
        },
        QStringLiteral("Antes de abrir COPIA DE SEGURIDAD debe cerrar todas las ventanas."));
    registrarVentana(QStringLiteral("ActGastosCamiones"), QStringLiteral("FormGastos"),
                     [] { return new TFormGastos; });
    registrarVentana(QStringLiteral("ActMostrarCamioneros"), QStringLiteral("FormCamioneros"),
                     [] { return new TFormCamioneros; });
    registrarVentana(QStringLiteral("ActTotalClientes"), QStringLiteral("FormLIPRC"),
                     [] { return new TFormLIPRC; });
    registrarVentana(QStringLiteral("ActFacturas"), QStringLiteral("FormFacturacion"),
                     [] { return new TFormFacturacion; });
    registrarVentana(QStringLiteral("ActClientes"), QStringLiteral("FormClientes"),
                     [] { return new TFormClientes; });
    registrarVentana(QStringLiteral("ActLugares"), QStringLiteral("FormLugares"),
                     [] { return new TFormLugares; });
    if (!programaCarpeta(CarpetaEscritorio::RedLocal).isEmpty())
        registrarModal(QStringLiteral("actMisSitiosRed"),
                       [] { Carpeta(CarpetaEscritorio::RedLocal); });
    if (!programaCarpeta(CarpetaEscritorio::Impresoras).isEmpty())
        registrarModal(QStringLiteral("actImpresoras"),
                       [] { Carpeta(CarpetaEscritorio::Impresoras); });
    g_instancia = this;
}

TFormMenuPrincipal::~TFormMenuPrincipal() {
    if (g_instancia == this)
        g_instancia = nullptr;
}

void TFormMenuPrincipal::crearMenus() {
    QMenuBar *barraMenu = menuBar();
    barraMenu->setObjectName(QStringLiteral("Menu"));
    for (const SubmenuPrincipal &sub : menuPrincipal()) {
        QMenu *menu = barraMenu->addMenu(sub.titulo);
        menu->setObjectName(QStringLiteral("Menu") + sub.titulo);
        for (const EntradaMenu &e : sub.entradas) {
            const QString nombre = QString::fromLatin1(e.accion);
            QAction *a = m_acciones.value(nombre);
            if (!a) {
                a = new QAction(QString::fromUtf8(e.titulo), this);
                a->setObjectName(nombre);
                a->setStatusTip(QString::fromUtf8(e.ayuda));
                a->setToolTip(QString::fromUtf8(e.ayuda));
                if (*e.atajo)
                    a->setShortcut(QKeySequence(QString::fromLatin1(e.atajo)));
                a->setEnabled(false);
                m_acciones.insert(nombre, a);
            }
            if (e.separadorAntes)
                menu->addSeparator();
            menu->addAction(a);
        }
    }
    m_barra = addToolBar(QStringLiteral("Principal"));
    m_barra->setObjectName(QStringLiteral("Principal"));
    m_barra->setMovable(false);
    m_barra->setToolButtonStyle(Qt::ToolButtonIconOnly);
    // Icons of the style in use, so the bar needs no image files; the caption is the tip.
    static const QHash<QString, QStyle::StandardPixmap> iconos = {
        {QStringLiteral("ActMostrarEmpresas"), QStyle::SP_DirHomeIcon},
        {QStringLiteral("ActMostrarPortes"), QStyle::SP_FileIcon},
        {QStringLiteral("ActMostrarReportes"), QStyle::SP_FileDialogDetailedView},
        {QStringLiteral("ActViajes"), QStyle::SP_ArrowForward},
        {QStringLiteral("ActNuevoViaje"), QStyle::SP_FileDialogNewFolder},
        {QStringLiteral("ActLugares"), QStyle::SP_DriveNetIcon},
        {QStringLiteral("ActFacturas"), QStyle::SP_FileDialogContentsView},
        {QStringLiteral("ActClientes"), QStyle::SP_DirOpenIcon},
        {QStringLiteral("ActMostrarCamioneros"), QStyle::SP_DialogYesButton},
        {QStringLiteral("ActMostrarCamiones"), QStyle::SP_DriveHDIcon},
        {QStringLiteral("ActGastosCamiones"), QStyle::SP_DialogSaveButton},
        {QStringLiteral("ActMostrarGastosMensuales"), QStyle::SP_FileDialogListView},
        {QStringLiteral("ActGastosAnuales"), QStyle::SP_FileDialogInfoView},
        {QStringLiteral("ActMostrarCopiaSeguridad"), QStyle::SP_DriveFDIcon},
        {QStringLiteral("ActMostrarCalculadora"), QStyle::SP_ComputerIcon},
        {QStringLiteral("ActSalir"), QStyle::SP_DialogCloseButton},
    };
    for (const char *nombre : ::barraPrincipal()) {
        if (!nombre) {
            m_barra->addSeparator();
            continue;
        }
        QAction *a = m_acciones.value(QString::fromLatin1(nombre));
        a->setIcon(style()->standardIcon(iconos.value(a->objectName(), QStyle::SP_FileIcon)));
        a->setToolTip(a->text());
        m_barra->addAction(a);
    }
}

QAction *TFormMenuPrincipal::accion(const QString &nombre) const {
    return m_acciones.value(nombre);
}

void TFormMenuPrincipal::registrarModal(const QString &nombre, std::function<void()> mostrar,
                                        const QString &avisoSiHayVentanas) {
    QAction *a = accion(nombre);
    Q_ASSERT_X(a, "registrarModal", qPrintable(nombre));
    disconnect(a, &QAction::triggered, this, nullptr);
    connect(a, &QAction::triggered, this, [this, mostrar, avisoSiHayVentanas] {
        if (!avisoSiHayVentanas.isEmpty() && !m_area->subWindowList().isEmpty()) {
            msInfo(avisoSiHayVentanas);
            return;
        }
        mostrar();
    });
    a->setEnabled(true);
}

void TFormMenuPrincipal::registrarVentana(const QString &nombre, const QString &nombreVentana,
                                          Fabrica crear) {
    registrarModal(nombre, [this, nombreVentana, crear] { abrirVentana(nombreVentana, crear); });
}

void TFormMenuPrincipal::registrarListado(const QString &nombre, const QString &nombreVentana,
                                          int modo, Fabrica crear) {
    registrarModal(
        nombre, [this, nombreVentana, modo, crear] { abrirListado(nombreVentana, modo, crear); });
}

QList<QMdiSubWindow *> TFormMenuPrincipal::ventanasHijas() const {
    return m_area->subWindowList();
}

QWidget *TFormMenuPrincipal::ventanaHija(const QString &nombreVentana) const {
    for (QMdiSubWindow *sub : m_area->subWindowList())
        if (sub->widget() &&
            sub->widget()->objectName().compare(nombreVentana, Qt::CaseInsensitive) == 0)
            return sub->widget();
    return nullptr;
}

void TFormMenuPrincipal::mostrarHija(QMdiSubWindow *sub) {
    if (ajustes.estadoCargaVentanas == 1)
        sub->showMaximized();
    else
        sub->showNormal();
    m_area->setActiveSubWindow(sub);
}

QWidget *TFormMenuPrincipal::abrirVentana(const QString &nombreVentana, const Fabrica &crear) {
    CursorEspera espera;
    setUpdatesEnabled(false);
    QWidget *ventana = ventanaHija(nombreVentana);
    if (ventana) {
        auto *sub = qobject_cast<QMdiSubWindow *>(ventana->parentWidget());
        if (sub->isMinimized())
            mostrarHija(sub);
        else
            m_area->setActiveSubWindow(sub);
        sub->raise();
    } else {
        ventana = crear();
        ventana->setAttribute(Qt::WA_DeleteOnClose);
        QMdiSubWindow *sub = m_area->addSubWindow(ventana);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        mostrarHija(sub);
    }
    setUpdatesEnabled(true);
    return ventana;
}

QWidget *TFormMenuPrincipal::abrirListado(const QString &nombreVentana, int modo,
                                          const Fabrica &crear) {
    modoListado = modo;
    if (QWidget *abierta = ventanaHija(nombreVentana)) {
        msInfo(QStringLiteral("Antes de realizar este proceso debe cerrar la ventana: ") +
               abierta->windowTitle() + QStringLiteral("."));
        return nullptr;
    }
    return abrirVentana(nombreVentana, crear);
}

void TFormMenuPrincipal::fusionarFichero(QMdiSubWindow *activa) {
    if (m_ficheroFusionado)
        menuBar()->removeAction(m_ficheroFusionado->menuAction());
    m_ficheroFusionado = nullptr;
    if (!activa || !activa->widget())
        return;
    QMenu *fichero = activa->widget()->findChild<QMenu *>(QStringLiteral("Fichero"));
    if (!fichero)
        return;
    const QList<QAction *> menus = menuBar()->actions();
    menuBar()->insertMenu(menus.isEmpty() ? nullptr : menus.first(), fichero);
    m_ficheroFusionado = fichero;
}

// The minimised windows in a row along the bottom of the work area, as icons are arranged.
void TFormMenuPrincipal::ordenarIconos() {
    int x = 0;
    const int fondo = m_area->viewport()->height();
    for (QMdiSubWindow *sub : m_area->subWindowList()) {
        if (!sub->isMinimized())
            continue;
        const QSize tam = sub->size();
        if (x > 0 && x + tam.width() > m_area->viewport()->width())
            x = 0;
        sub->move(x, fondo - tam.height());
        x += tam.width();
    }
}

void TFormMenuPrincipal::Salir() {
    if (msSi(QStringLiteral("¿Está seguro que desea cerrar la aplicación?")))
        close();
}

void TFormMenuPrincipal::calculadora() {
    QAction *a = accion(QStringLiteral("ActMostrarCalculadora"));
    const QString programa = IniFile(Programa::ficheroIni())
                                 .readString(Clave::Aplicacion, QStringLiteral("Calculadora"),
                                             calculadoraDelEscritorio());
    a->setEnabled(false);
    try {
        QProcess *proceso =
            Ejecutar(programa, QString(),
                     QStringLiteral("No se ha podido iniciar la calculadora de Windows."));
        Esperar(proceso);
    } catch (const std::runtime_error &e) {
        msError(QString::fromStdString(e.what()));
    }
    a->setEnabled(true);
}

void TFormMenuPrincipal::ayuda() {
    // The help ships inside the program and is written to the program folder when missing.
    const QString fichero = Programa::ficheroAyuda();
    if (!QFile::exists(fichero)) {
        QDir().mkpath(Programa::carpetaAyuda());
        QFile::copy(QStringLiteral(":/ayuda/ayuda.html"), fichero);
        QFile::setPermissions(fichero, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                           QFileDevice::ReadGroup | QFileDevice::ReadOther);
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(fichero));
}

QString TFormMenuPrincipal::textoEstado() const {
    return m_panelEmpresa->text();
}
QString TFormMenuPrincipal::textoAyuda() const {
    return m_panelAyuda->text();
}

bool TFormMenuPrincipal::event(QEvent *e) {
    // Command hints go to the first panel and leave the company text in view.
    if (e->type() == QEvent::StatusTip) {
        m_panelAyuda->setText(static_cast<QStatusTipEvent *>(e)->tip());
        return true;
    }
    return QMainWindow::event(e);
}

void TFormMenuPrincipal::SinEmpresa() {
    ajustes = AjustesEmpresa();
    setWindowTitle(QStringLiteral("No hay ninguna empresa abierta..."));
    m_panelEmpresa->clear();
}

bool TFormMenuPrincipal::AbrirEmpresa() {
    bool completa = true;
    {
        CursorEspera espera;
        ajustes = AjustesEmpresa::leer(IniFile(Programa::ficheroIni()));
        setWindowTitle(QStringLiteral("Empresa: %1 - %2").arg(ajustes.codigo).arg(ajustes.nombre));
        try {
            TDatos *datos = TDatos::instancia();
            datos->abrirTablasCompartidas();
            if (ajustes.nombre.isEmpty()) {
                m_panelEmpresa->setText(QStringLiteral("Abra una empresa antes de continuar."));
            } else {
                if (!ajustes.inicio.isValid())
                    throw StoreError(StoreError::InvalidValue,
                                     QStringLiteral("La fecha de inicio del periodo de la empresa "
                                                    "no es una fecha válida."));
                m_panelEmpresa->setText(
                    QStringLiteral("Inicio: %1**%2 Portes**%3 Reportes**%4 Viajes")
                        .arg(Dates::shortText(ajustes.inicio))
                        .arg(datos->TPortes->totalRecords())
                        .arg(datos->TReportes->totalRecords())
                        .arg(datos->TViajes->totalRecords()));
            }
        } catch (const StoreError &e) {
            completa = false;
            QApplication::restoreOverrideCursor();
            msError(QStringLiteral("Se ha producido el siguiente error al intentar abrir la "
                                   "empresa\r\r%1 - %2\r\r%3\r De la clase: %4")
                        .arg(ajustes.codigo)
                        .arg(ajustes.nombre, e.message(), e.className()));
            QApplication::setOverrideCursor(Qt::WaitCursor);
        }
    }
    ficheroAyuda = Programa::ficheroAyuda();
    return completa;
}
