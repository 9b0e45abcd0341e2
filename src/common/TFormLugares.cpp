#include "common/TFormLugares.h"

#include "app/Configuracion.h"
#include "app/Mensajes.h"
#include "app/Programa.h"
#include "common/RejillaAgrupada.h"
#include "common/TFormLugarG.h"
#include "store/Query.h"
#include "store/StoreError.h"
#include "store/TDatos.h"
#include "store/Table.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

TFormLugares::TFormLugares(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("FormLugares"));
    setWindowTitle(QStringLiteral("Lugares"));
    m_lugares = new Table(TDatos::instancia()->db, QStringLiteral("Lugar.db"), this);
    m_lugares->setObjectName(QStringLiteral("TLugares"));

    m_actNuevo = crearAccion(QStringLiteral("actNuevo"), QStringLiteral("Nuevo"),
                             QStringLiteral("Nuevo lugar"));
    m_actModificar = crearAccion(QStringLiteral("actModificar"), QStringLiteral("Modificar"),
                                 QStringLiteral("Modifica el registro actual"));
    m_actEliminar = crearAccion(QStringLiteral("actEliminar"), QStringLiteral("Eliminar lugar"),
                                QStringLiteral("Elimina el lugar seleccionado"));
    m_actCerrar = crearAccion(QStringLiteral("ActCerrar"), QStringLiteral("Cerrar"),
                              QStringLiteral("Cierra esta ventana"), QKeySequence(Qt::Key_F12));
    m_actNuevoLugar =
        crearAccion(QStringLiteral("actNuevoLugar"), QStringLiteral("Nuevo lugar"),
                    QStringLiteral("Añade un nuevo lugar"), QKeySequence(QStringLiteral("Ctrl+N")));
    m_actNuevo->setIcon(style()->standardIcon(QStyle::SP_FileDialogNewFolder));
    m_actModificar->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
    m_actEliminar->setIcon(style()->standardIcon(QStyle::SP_TrashIcon));
    m_actCerrar->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    connect(m_actNuevo, &QAction::triggered, this, &TFormLugares::nuevo);
    connect(m_actNuevoLugar, &QAction::triggered, this, &TFormLugares::nuevo);
    connect(m_actModificar, &QAction::triggered, this, &TFormLugares::modificar);
    connect(m_actEliminar, &QAction::triggered, this, &TFormLugares::eliminar);
    connect(m_actCerrar, &QAction::triggered, this, &TFormLugares::cerrar);

    m_fichero = new QMenu(QStringLiteral(" Fichero "), this);
    m_fichero->setObjectName(QStringLiteral("Fichero"));
    m_fichero->addAction(m_actNuevoLugar);
    m_fichero->addSeparator();
    m_fichero->addAction(m_actCerrar);

    m_menuRejilla = new QMenu(this);
    m_menuRejilla->setObjectName(QStringLiteral("MenuRejilla"));
    m_menuRejilla->addAction(m_actNuevoLugar);
    m_menuRejilla->addAction(m_actEliminar);
    m_menuRejilla->addSeparator();
    m_menuRejilla->addAction(m_actCerrar);

    m_rejilla = new RejillaAgrupada(this);
    m_rejilla->setObjectName(QStringLiteral("RejillaLugares"));
    auto columna = [](const char *campo, const QString &titulo, int ancho, bool oculta = false) {
        ColumnaRejilla c;
        c.campo = QString::fromLatin1(campo);
        c.titulo = titulo;
        c.ancho = ancho;
        c.oculta = oculta;
        return c;
    };
    ColumnaRejilla id = columna("Id", QStringLiteral("ID"), 60);
    id.alineacion = Qt::AlignRight | Qt::AlignVCenter;
    // The list declares the place's other codes too; they are never shown.
    m_rejilla->setColumnas({id, columna("Lugar", QStringLiteral("Nombre"), 260),
                            columna("Pais", QStringLiteral("País"), 200),
                            columna("Codigo", QStringLiteral("Código"), 80, true),
                            columna("CodigoPais", QStringLiteral("Código país"), 80, true),
                            columna("Observacion", QStringLiteral("Observación"), 200, true)});
    m_rejilla->setMenuContextual(m_menuRejilla);
    m_rejilla->setManejadorErrores([this](const StoreError &e) { errorAlGuardar(e); });
    m_rejilla->setDataSet(m_lugares);
    m_rejilla->restaurarDiseno(ficheroDiseno());

    crearBarra();
    auto *capa = new QVBoxLayout(this);
    capa->setContentsMargins(0, 0, 0, 0);
    capa->setSpacing(0);
    capa->addWidget(m_barra);
    capa->addWidget(m_rejilla);
    resize(600, 400);
}

TFormLugares::~TFormLugares() = default;

QString TFormLugares::ficheroDiseno() {
    return QDir(Programa::carpeta()).filePath(QStringLiteral("velmora.ini"));
}

QAction *TFormLugares::crearAccion(const QString &nombre, const QString &texto,
                                   const QString &ayuda, const QKeySequence &tecla) {
    auto *a = new QAction(texto, this);
    a->setObjectName(nombre);
    a->setToolTip(ayuda);
    a->setStatusTip(ayuda);
    a->setShortcut(tecla);
    a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(a);
    return a;
}

void TFormLugares::crearBarra() {
    m_barra = new QToolBar(this);
    m_barra->setObjectName(QStringLiteral("BB"));
    m_barra->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_barra->addAction(m_actCerrar);
    m_barra->addSeparator();
    struct Paso {
        const char *nombre;
        const char *ayuda;
        QStyle::StandardPixmap icono;
        int (*destino)(int actual, int filas);
    };
    static const Paso pasos[] = {
        {"NavPrimero", "Primer registro", QStyle::SP_MediaSkipBackward, [](int, int) { return 0; }},
        {"NavAnterior", "Registro anterior", QStyle::SP_MediaSeekBackward,
         [](int actual, int) { return qMax(actual - 1, 0); }},
        {"NavSiguiente", "Registro siguiente", QStyle::SP_MediaSeekForward,
         [](int actual, int filas) { return qMin(actual + 1, filas - 1); }},
        {"NavUltimo", "Último registro", QStyle::SP_MediaSkipForward,
         [](int, int filas) { return filas - 1; }},
    };
    // The navigator walks the list as it is shown, sorted and filtered.
    for (const Paso &p : pasos) {
        QAction *a = crearAccion(QString::fromLatin1(p.nombre), QString::fromUtf8(p.ayuda),
                                 QString::fromUtf8(p.ayuda));
        a->setIcon(style()->standardIcon(p.icono));
        const auto destino = p.destino;
        connect(a, &QAction::triggered, this, [this, destino] {
            if (m_rejilla->filas() > 0)
                m_rejilla->setFilaActual(destino(m_rejilla->filaActual(), m_rejilla->filas()));
        });
        m_barra->addAction(a);
        if (auto *boton = qobject_cast<QToolButton *>(m_barra->widgetForAction(a)))
            boton->setToolButtonStyle(Qt::ToolButtonIconOnly);
    }
    m_barra->addSeparator();
    m_barra->addAction(m_actEliminar);
    m_barra->addAction(m_actNuevo);
    m_barra->addAction(m_actModificar);
    m_barra->hide();
}

void TFormLugares::aplicarAjustesBarra() {
    const AjustesEmpresa &ajustes = ValoresPrincipales::instancia()->ajustes;
    m_barra->setVisible(ajustes.mostrarBBEnVentanas == 1);
    for (QToolButton *boton : m_barra->findChildren<QToolButton *>())
        boton->setAutoRaise(ajustes.flat == 1);
}

void TFormLugares::showEvent(QShowEvent *e) {
    QWidget::showEvent(e);
    try {
        if (!m_lugares->isActive())
            m_lugares->open();
    } catch (const StoreError &) {
        // The window opens with what could be opened.
    }
    aplicarAjustesBarra();
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("FormI") && w->isVisible())
            w->hide();
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}

void TFormLugares::closeEvent(QCloseEvent *e) {
    m_rejilla->guardarDiseno(ficheroDiseno());
    m_lugares->close();
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
    QWidget::closeEvent(e);
}

void TFormLugares::cerrar() {
    // Inside the work area the frame closes, and closes this window with it.
    if (auto *marco = qobject_cast<QMdiSubWindow *>(parentWidget()))
        marco->close();
    else
        close();
}

void TFormLugares::nuevo() {
    ValoresPrincipales::instancia()->modoEdicion = QStringLiteral("nuevo");
    mostrarEditor();
}

void TFormLugares::modificar() {
    if (!m_lugares->isActive() || m_rejilla->filaActual() < 0) {
        msInfo(QStringLiteral("No hay datos."));
        return;
    }
    const QVariant id = m_lugares->value(QStringLiteral("Id"));
    if (id.isNull()) {
        msError(QStringLiteral(
            "Atención, el Lugar actual no tiene código, elimínelo antes de continuar."));
        return;
    }
    ValoresPrincipales::instancia()->modoEdicion = QStringLiteral("modificar");
    Table *compartido = TDatos::instancia()->TLugar;
    try {
        if (!compartido->isActive())
            compartido->open();
        if (!compartido->locate(QStringLiteral("Id"), id)) {
            // Someone else deleted it meanwhile.
            m_rejilla->recargar();
            return;
        }
        compartido->edit();
    } catch (const StoreError &e) {
        msError(e.message());
        return;
    }
    mostrarEditor();
}

void TFormLugares::mostrarEditor() {
    QPointer<TFormLugarG> editor = new TFormLugarG(this);
    const bool aceptado = editor->exec() == QDialog::Accepted;
    if (!m_lugares->isActive())
        return;
    try {
        m_rejilla->recargar();
        // The list shows the place just stored.
        Table *compartido = TDatos::instancia()->TLugar;
        if (aceptado && compartido->isActive() && !compartido->isEmpty())
            m_lugares->locate(QStringLiteral("Id"), compartido->value(QStringLiteral("Id")));
    } catch (const StoreError &e) {
        msError(e.message());
    }
}

QString TFormLugares::usoDelLugar(const QVariant &nombre) const {
    struct Uso {
        const char *tabla;
        const char *campo1;
        const char *campo2;
        const char *mensaje;
    };
    static const Uso usos[] = {
        {"portes", "Carga", "Descarga", "No se puede eliminar el lugar ya que existe en portes."},
        {"reportes", "Carga", "Descarga",
         "No se puede eliminar el lugar ya que existe en reportes."},
        {"viaje", "Origen", "Destino", "No se puede eliminar el lugar ya que existe en viajes."},
    };
    // Counted on the company connection: the shared cursors stay where other windows left them,
    // and their filters do not hide a use.
    for (const Uso &u : usos) {
        Query q(m_lugares->connection());
        q.setSql(QStringLiteral("select count(*) as N from %1 where %2 = :Lugar or %3 = :Lugar")
                     .arg(QString::fromLatin1(u.tabla), QString::fromLatin1(u.campo1),
                          QString::fromLatin1(u.campo2)));
        q.setParam(QStringLiteral("Lugar"), nombre);
        q.open();
        const bool usado = q.value(QStringLiteral("N")).toLongLong() > 0;
        q.close();
        if (usado)
            return QString::fromUtf8(u.mensaje);
    }
    return QString();
}

void TFormLugares::eliminar() {
    if (!m_lugares->isActive() || m_rejilla->filaActual() < 0)
        return;
    try {
        const QString uso = usoDelLugar(m_lugares->value(QStringLiteral("Lugar")));
        if (!uso.isEmpty()) {
            msInfo(uso);
            return;
        }
        m_lugares->remove();
    } catch (const StoreError &e) {
        msError(e.message());
    }
}

void TFormLugares::errorAlGuardar(const StoreError &e) {
    msError(e.code() == StoreError::kKeyViolation
                ? QStringLiteral("El lugar introudcido ya existe. Elimínelo antes de continuar.")
                : QStringLiteral(
                      "Hay algún dato incorrecto. Compruebe los datos y vuelva a intentarlo."));
    m_lugares->cancel();
}
