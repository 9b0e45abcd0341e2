#include "companies/TFormCopiaSeguridad.h"

#include "app/Configuracion.h"
#include "app/Mensajes.h"
#include "app/Programa.h"
#include "app/Progreso.h"
#include "common/Formato.h"
#include "companies/CopiaSeguridad.h"
#include "store/Connection.h"
#include "store/StoreError.h"
#include "store/TDatos.h"
#include "store/Table.h"

#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFileSystemModel>
#include <QFormLayout>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QStorageInfo>
#include <QTabWidget>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

const QStringList kPatronesCopia = {"*.db",  "*.log", "*.val", "*.px",  "*.xg0",
                                    "*.xg1", "*.xg2", "*.xg3", "*.xg4", "*.yg0",
                                    "*.yg1", "*.yg2", "*.yg3", "*.yg4", "*.yg5"};
const QStringList kPatronesRestaurar = {"*.db", "*.log"};

AjustesEmpresa ajustes() {
    const ValoresPrincipales *v = ValoresPrincipales::instancia();
    return v ? v->ajustes : AjustesEmpresa();
}

// The system's kilobyte figures: whole kilobytes with thousands separators.
QString kilobytes(qint64 bytes) {
    return Formato::formatFloat(QStringLiteral("###,###,###,##0;-###,###,###,##0;0"),
                                double(bytes / 1024)) +
           QStringLiteral(" KBytes");
}

QLineEdit *caja(QWidget *padre, const QString &nombre) {
    auto *c = new QLineEdit(padre);
    c->setObjectName(nombre);
    c->setReadOnly(true);
    return c;
}

} // namespace

TFormCopiaSeguridad::TFormCopiaSeguridad(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormCopiaSeguridad"));
    setWindowTitle(QStringLiteral("Copia de seguridad..."));
    setAttribute(Qt::WA_DeleteOnClose, false);
    auto *pestanas = new QTabWidget(this);

    // Making a backup.
    auto *copia = new QWidget;
    auto *capaCopia = new QVBoxLayout(copia);
    auto *empresa = new QFormLayout;
    m_empresa = caja(copia, QStringLiteral("TxtEmpresa"));
    empresa->addRow(QStringLiteral("Empresa a copiar:"), m_empresa);
    capaCopia->addLayout(empresa);
    capaCopia->addWidget(crearLista(
        m_copia,
        QStringLiteral("Seleccione la unidad y la carpeta donde desee realizar la copia de "
                       "seguridad"),
        kPatronesCopia, QStringLiteral("Estos ficheros serán reemplazados por los actuales ")));
    auto *espacio = new QFormLayout;
    m_total = caja(copia, QStringLiteral("TxtTotal"));
    m_libre = caja(copia, QStringLiteral("TxtLibre"));
    m_ocupado = caja(copia, QStringLiteral("TxtOcupado"));
    espacio->addRow(QStringLiteral("Espacio Total:"), m_total);
    espacio->addRow(QStringLiteral("Espacio Libre:"), m_libre);
    espacio->addRow(QStringLiteral("Espacio Ocupado:"), m_ocupado);
    capaCopia->addLayout(espacio);
    auto *hacer = new QPushButton(QStringLiteral("&Hacer copia de seguridad"), copia);
    hacer->setObjectName(QStringLiteral("BHacerCopia"));
    connect(hacer, &QPushButton::clicked, this, &TFormCopiaSeguridad::hacerCopia);
    capaCopia->addWidget(hacer, 0, Qt::AlignRight);
    m_copia.carpetas->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_copia.carpetas, &QWidget::customContextMenuRequested, this, [this](const QPoint &p) {
        QMenu menu(this);
        menu.addAction(QStringLiteral("Nueva carpeta"), this, &TFormCopiaSeguridad::nuevaCarpeta);
        menu.addAction(QStringLiteral("Eliminar carpeta"), this,
                       &TFormCopiaSeguridad::eliminarCarpeta);
        menu.addSeparator();
        menu.addAction(QStringLiteral("Hacer copia de seguridad"), this,
                       &TFormCopiaSeguridad::hacerCopia);
        menu.exec(m_copia.carpetas->viewport()->mapToGlobal(p));
    });
    pestanas->addTab(copia, QStringLiteral("   Hacer Copia de Seguridad   "));

    // Restoring one.
    auto *restaurarPagina = new QWidget;
    auto *capaRestaurar = new QVBoxLayout(restaurarPagina);
    capaRestaurar->addWidget(crearLista(
        m_restaurar,
        QStringLiteral("Seleccione la unidad y la carpeta donde se encuentre la copia de "
                       "seguridad"),
        kPatronesRestaurar, QString()));
    auto *detalles = new QFormLayout;
    for (const auto &[nombre, etiqueta] :
         {std::pair{"TxtEmpresaRestaurar", "Empresa a restaurar:"},
          std::pair{"TxtFechaCopia", "Fecha copia:"}, std::pair{"TxtHoraCopia", "Hora copia:"},
          std::pair{"TxtUsuario", "Usuario:"}, std::pair{"TxtRuta", "Ruta a restaurar:"}})
        detalles->addRow(QString::fromUtf8(etiqueta),
                         caja(restaurarPagina, QString::fromLatin1(nombre)));
    capaRestaurar->addLayout(detalles);
    auto *restaurarBoton =
        new QPushButton(QStringLiteral("&Restaurar copia de seguridad"), restaurarPagina);
    restaurarBoton->setObjectName(QStringLiteral("BRestaurar"));
    connect(restaurarBoton, &QPushButton::clicked, this, &TFormCopiaSeguridad::restaurar);
    capaRestaurar->addWidget(restaurarBoton, 0, Qt::AlignRight);
    pestanas->addTab(restaurarPagina, QStringLiteral("   Restaurar Copia de Seguridad"));
    connect(m_restaurar.carpetas->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &TFormCopiaSeguridad::mostrarDetalles);

    auto *cerrar = new QPushButton(QStringLiteral("&Cerrar"), this);
    cerrar->setObjectName(QStringLiteral("BCerrar"));
    connect(cerrar, &QPushButton::clicked, this, &QDialog::reject);
    auto *capa = new QVBoxLayout(this);
    capa->addWidget(pestanas, 1);
    capa->addWidget(cerrar, 0, Qt::AlignRight);
    resize(760, 640);

    const AjustesEmpresa a = ajustes();
    m_empresa->setText(QString::number(a.codigo) + QStringLiteral(" - ") + a.nombre);
    // Both lists start in the user's documents, where a backup usually goes.
    const QString inicio = QDir::homePath();
    seleccionarCarpetaCopia(inicio);
    seleccionarCarpetaRestaurar(inicio);
    const QStorageInfo unidad(inicio);
    m_copia.unidad->setCurrentText(unidad.rootPath());
    mostrarEspacio(inicio);
}

QWidget *TFormCopiaSeguridad::crearLista(Lista &l, const QString &texto,
                                         const QStringList &patrones,
                                         const QString &textoFicheros) {
    auto *w = new QWidget;
    auto *g = new QGridLayout(w);
    g->setContentsMargins(0, 0, 0, 0);
    l.patrones = patrones;
    l.unidad = new QComboBox(w);
    l.unidad->setObjectName(QStringLiteral("CBUnidad"));
    for (const QStorageInfo &s : QStorageInfo::mountedVolumes())
        if (s.isValid() && s.isReady())
            l.unidad->addItem(s.rootPath());
    l.modelo = new QFileSystemModel(w);
    l.modelo->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    l.modelo->setRootPath(QDir::rootPath());
    l.carpetas = new QTreeView(w);
    l.carpetas->setObjectName(QStringLiteral("Carpetas"));
    l.carpetas->setModel(l.modelo);
    for (int c = 1; c < l.modelo->columnCount(); ++c)
        l.carpetas->hideColumn(c);
    l.carpetas->header()->hide();
    l.ficheros = new QListWidget(w);
    l.ficheros->setObjectName(QStringLiteral("Ficheros"));
    l.numero = caja(w, QStringLiteral("TxtNumeroFicheros"));
    Lista *lista = &l;
    connect(l.unidad, &QComboBox::textActivated, this,
            [this, lista](const QString &raiz) { elegirUnidad(*lista, raiz); });
    connect(l.carpetas->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this, lista] { leerFicheros(*lista); });
    g->addWidget(new QLabel(texto, w), 0, 0, 1, 2);
    g->addWidget(l.unidad, 1, 0);
    g->addWidget(l.carpetas, 2, 0);
    if (!textoFicheros.isEmpty())
        g->addWidget(new QLabel(textoFicheros, w), 1, 1);
    g->addWidget(l.ficheros, 2, 1);
    auto *numero = new QHBoxLayout;
    numero->addWidget(new QLabel(QStringLiteral("Nº de ficheros: "), w));
    numero->addWidget(l.numero);
    g->addLayout(numero, 3, 1);
    return w;
}

void TFormCopiaSeguridad::elegirUnidad(Lista &l, const QString &raiz) {
    l.carpetas->setCurrentIndex(l.modelo->index(raiz));
    if (&l == &m_copia)
        mostrarEspacio(raiz);
}

void TFormCopiaSeguridad::mostrarEspacio(const QString &carpeta) {
    const QStorageInfo s(carpeta);
    if (!s.isValid() || s.bytesTotal() <= 0)
        return;
    const qint64 total = s.bytesTotal() / 1024 * 1024;
    const qint64 libre = s.bytesAvailable() / 1024 * 1024;
    m_total->setText(kilobytes(total));
    m_libre->setText(kilobytes(libre));
    m_ocupado->setText(kilobytes(total - libre));
}

void TFormCopiaSeguridad::leerFicheros(Lista &l) {
    l.ficheros->clear();
    const QString carpeta = carpetaSeleccionada(l);
    if (!carpeta.isEmpty())
        l.ficheros->addItems(QDir(carpeta).entryList(l.patrones, QDir::Files, QDir::Name));
    l.numero->setText(QString::number(l.ficheros->count()));
}

QString TFormCopiaSeguridad::carpetaSeleccionada(const Lista &l) const {
    const QModelIndex i = l.carpetas->currentIndex();
    return i.isValid() ? l.modelo->filePath(i) : QString();
}

void TFormCopiaSeguridad::seleccionarCarpetaCopia(const QString &carpeta) {
    m_copia.carpetas->setCurrentIndex(m_copia.modelo->index(carpeta));
    leerFicheros(m_copia);
}

void TFormCopiaSeguridad::seleccionarCarpetaRestaurar(const QString &carpeta) {
    m_restaurar.carpetas->setCurrentIndex(m_restaurar.modelo->index(carpeta));
    leerFicheros(m_restaurar);
    mostrarDetalles();
}

int TFormCopiaSeguridad::ficherosCopia() const {
    return m_copia.ficheros->count();
}

QString TFormCopiaSeguridad::textoDetalle(const QString &nombre) const {
    const auto *c = findChild<QLineEdit *>(nombre);
    return c ? c->text() : QString();
}

void TFormCopiaSeguridad::mostrarDetalles() {
    for (const char *n :
         {"TxtEmpresaRestaurar", "TxtFechaCopia", "TxtHoraCopia", "TxtUsuario", "TxtRuta"})
        findChild<QLineEdit *>(QString::fromLatin1(n))->clear();
    const QString carpeta = carpetaSeleccionada(m_restaurar);
    if (carpeta.isEmpty())
        return;
    const CopiaSeguridad::Datos d = CopiaSeguridad::leerLog(carpeta);
    if (d.nombre.isEmpty() && d.id == 0)
        return;
    findChild<QLineEdit *>(QStringLiteral("TxtEmpresaRestaurar"))
        ->setText(QString::number(d.id) + QStringLiteral(" - ") + d.nombre);
    findChild<QLineEdit *>(QStringLiteral("TxtRuta"))->setText(carpeta);
    findChild<QLineEdit *>(QStringLiteral("TxtFechaCopia"))
        ->setText(d.fecha.toString(QStringLiteral("dd/MM/yyyy")));
    findChild<QLineEdit *>(QStringLiteral("TxtHoraCopia"))
        ->setText(d.hora.toString(QStringLiteral("HH:mm:ss")));
    findChild<QLineEdit *>(QStringLiteral("TxtUsuario"))->setText(d.usuario);
}

// Nothing of the company may be open while its files are copied; the next table to open
// connects again.
void TFormCopiaSeguridad::cerrarAlmacen() {
    TDatos *d = TDatos::instancia();
    if (!d)
        return;
    for (Table *t : d->tablasCompartidas())
        t->close();
    d->db->close();
}

void TFormCopiaSeguridad::hacerCopia() {
    const AjustesEmpresa a = ajustes();
    m_copia.ficheros->clear();
    const QString carpeta = carpetaSeleccionada(m_copia);
    if (a.ruta.isEmpty() || !QDir(a.ruta).exists()) {
        msError(QStringLiteral("No hay ninguna empresa abierta de la que hacer copia de "
                               "seguridad."));
        return;
    }
    if (carpeta.isEmpty() ||
        !CopiaSeguridad::destinoPermitido(carpeta, a.ruta, Programa::carpeta())) {
        msOK(QStringLiteral("No se puede realizar la copia de seguridad en la ruta "
                            "especificada: \r\r") +
             carpeta +
             QStringLiteral("\r\r\r\rSeleccione otra carpeta donde hacer la copia de "
                            "seguridad."));
        return;
    }
    if (!ServicioMensajes::actual().mostrar(
            TipoMensaje::Informacion, QStringLiteral("Información"),
            QStringLiteral("Se va a realizar una copia de seguridad de la empresa: \r\r") +
                a.nombre + QStringLiteral(" [Ruta: ") + a.ruta +
                QStringLiteral("]\r\rEn la ruta:\r\r") + carpeta +
                QStringLiteral("\r\r\rATENCIÓN: recuerde que será eliminado el contenido de la "
                               "carpeta ") +
                carpeta + QStringLiteral("."),
            Botones::AceptarCancelar))
        return;
    const bool progreso = a.progreso == 1;
    if (progreso)
        Progreso::mostrar(QStringLiteral("Realizando copia de seguridad, espere por favor..."));
    CopiaSeguridad::escribirLog({a.codigo, a.nombre, a.ruta, a.usuario}, Programa::carpeta(),
                                QDateTime::currentDateTime());
    cerrarAlmacen();
    const bool ok = CopiaSeguridad::copiarFicheros(a.ruta, carpeta, [progreso](const QString &f) {
        if (progreso)
            Progreso::texto(QStringLiteral("Copiando fichero ") + f);
    });
    leerFicheros(m_copia);
    Progreso::cerrar();
    if (!ok) {
        msError(QStringLiteral(
            "No se ha podido realizar la copia correctamente. Inténtelo en otro momento."));
        return;
    }
    msInfo(a.bloquear == 1
               ? QStringLiteral("La copia de seguridad se ha realizado con éxito, la aplicación "
                                "ha sido BLOQUEADA.")
               : QStringLiteral("La copia de seguridad se ha realizado con éxito."));
}

void TFormCopiaSeguridad::restaurar() {
    cerrarAlmacen();
    const QString origen = carpetaSeleccionada(m_restaurar);
    const CopiaSeguridad::Datos d = CopiaSeguridad::leerLog(origen);
    if (origen.isEmpty() || !d.encontrada()) {
        msInfo(QStringLiteral("No se ha encontrado ninguna copia de seguridad en la ruta "
                              "especificada. Seleccione otra ruta."));
        return;
    }
    // A log that names no folder gives the backup nowhere to go back to.
    if (d.ruta.isEmpty()) {
        msInfo(QStringLiteral("La copia de seguridad no indica la carpeta de la empresa. "
                              "Seleccione otra ruta."));
        return;
    }
    try {
        CopiaSeguridad::registrarEmpresa(Programa::carpeta(), origen);
    } catch (const StoreError &e) {
        msError(e.message());
        return;
    }
    if (!ServicioMensajes::actual().mostrar(
            TipoMensaje::Informacion, QStringLiteral("Información"),
            QStringLiteral("Se va a restaurar una copia de seguridad de la empresa: \r\r") +
                d.nombre + QStringLiteral("\r\rEn la ruta:\r\r") + d.ruta +
                QStringLiteral("\r\rFecha realización: ") +
                d.fecha.toString(QStringLiteral("dd/MM/yyyy")) +
                QStringLiteral("\r  Hora realización: ") +
                d.hora.toString(QStringLiteral("HH:mm:ss")) +
                QStringLiteral("\r\r\rATENCIÓN: recuerde que serán eliminados los datos actuales "
                               "de esta empresa y reemplazados por la copia de seguridad."),
            Botones::AceptarCancelar))
        return;
    if (QDir(d.ruta).exists()) {
        if (!msOK(QStringLiteral("ATENCIÓN: se van a eliminar los datos de la carpeta:\r\r") +
                  d.ruta + QStringLiteral("\r\r\r Continúe sólo si está seguro.")))
            return;
    } else if (!QDir().mkpath(d.ruta)) {
        msError(QStringLiteral(
            "No se ha podido restaurar la copia correctamente. Inténtelo en otro momento."));
        return;
    }
    const bool progreso = ajustes().progreso == 1;
    if (progreso)
        Progreso::mostrar(QStringLiteral("Restaurando copia de seguridad, espere por favor..."));
    const bool ok = CopiaSeguridad::copiarFicheros(origen, d.ruta, [progreso](const QString &f) {
        if (progreso)
            Progreso::texto(QStringLiteral("Copiando fichero ") + f);
    });
    Progreso::cerrar();
    seleccionarCarpetaRestaurar(d.ruta);
    if (!ok)
        msError(QStringLiteral(
            "No se ha podido restaurar la copia correctamente. Inténtelo en otro momento."));
}

void TFormCopiaSeguridad::nuevaCarpeta() {
    const QDate hoy = QDate::currentDate();
    const std::optional<QString> nombre = pedirTexto(
        QStringLiteral("Nueva carpeta..."), QStringLiteral("Introduzca el nombre de la carpeta."),
        QStringLiteral("vaRAZARU_%1_%2_%3").arg(hoy.day()).arg(hoy.month()).arg(hoy.year()));
    if (!nombre || nombre->trimmed().isEmpty())
        return;
    const QString base = carpetaSeleccionada(m_copia);
    const QString ruta = QDir::isAbsolutePath(*nombre) ? *nombre : QDir(base).filePath(*nombre);
    if (!QDir().mkpath(ruta)) {
        msError(QStringLiteral("No se ha podido añadir la nueva carpeta."));
        return;
    }
    seleccionarCarpetaCopia(ruta);
}

void TFormCopiaSeguridad::eliminarCarpeta() {
    const QString carpeta = carpetaSeleccionada(m_copia);
    if (carpeta.isEmpty() || QDir(carpeta).isRoot())
        return;
    const QString arriba = QFileInfo(carpeta).absolutePath();
    seleccionarCarpetaCopia(arriba);
    if (!QDir().rmdir(carpeta))
        msError(QStringLiteral("No se ha podido eliminar la carpeta. Recuerde que debe estar "
                               "vacía para poder eliminarla."));
    leerFicheros(m_copia);
}
