#include "app/TFormAcercaDe.h"

#include "app/Configuracion.h"
#include "app/Informacion.h"
#include "app/IniFile.h"
#include "app/Mensajes.h"
#include "app/Programa.h"
#include "store/Connection.h"
#include "store/Schema.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QStyle>
#include <QTabWidget>
#include <QTextDocument>
#include <QToolBar>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

namespace {

QPushButton *boton(const QString &texto, const QString &ayuda, QWidget *padre,
                   const QString &nombre) {
    auto *b = new QPushButton(texto, padre);
    b->setToolTip(ayuda);
    b->setObjectName(nombre);
    return b;
}

const ValoresPrincipales *valores() {
    return ValoresPrincipales::instancia();
}

} // namespace

TFormAcercaDe::TFormAcercaDe(bool informacion, QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormAcercaDe"));
    setWindowTitle(informacion ? QStringLiteral("Información general...")
                               : QStringLiteral("Acerca de..."));
    auto *capa = new QVBoxLayout(this);
    capa->addWidget(crearPanel());
    if (informacion) {
        auto *pestanas = new QTabWidget(this);
        pestanas->setObjectName(QStringLiteral("Pestanas"));
        pestanas->addTab(crearDatosGenerales(), QStringLiteral("   Datos generales   "));
        pestanas->addTab(crearBasesDeDatos(), QStringLiteral("   Bases de datos   "));
        pestanas->addTab(crearLetraDni(), QStringLiteral("   Calcular Letra DNI"));
        pestanas->addTab(crearVisualizador(), QStringLiteral("   Visualizador   "));
        pestanas->addTab(crearReindexar(), QStringLiteral("   Reindexar tablas   "));
        capa->addWidget(pestanas, 1);
        resize(720, 620);
    }
    auto *cerrar = boton(QStringLiteral("&Cerrar"), QStringLiteral("Cierra esta ventana"), this,
                         QStringLiteral("BCerrar"));
    cerrar->setFlat(true);
    connect(cerrar, &QPushButton::clicked, this, &QDialog::accept);
    capa->addWidget(cerrar, 0, Qt::AlignRight);
}

QWidget *TFormAcercaDe::crearPanel() {
    auto *w = new QWidget(this);
    auto *g = new QGridLayout(w);
    auto *icono = new QLabel(w);
    icono->setPixmap(style()->standardIcon(QStyle::SP_DriveHDIcon).pixmap(48, 48));
    g->addWidget(icono, 0, 0, 4, 1, Qt::AlignTop);
    const QString titulo = valores() ? valores()->tituloAplicacion : QString();
    const QString version = valores() ? valores()->version : QString();
    auto *nombre = new QLabel(QStringLiteral("<b>%1</b>").arg(titulo.toHtmlEscaped()), w);
    nombre->setObjectName(QStringLiteral("LTitulo"));
    g->addWidget(nombre, 0, 1);
    g->addWidget(new QLabel(QStringLiteral("Versión: ") + version, w), 1, 1);
    auto *descripcion = new QLabel(
        QStringLiteral("Aplicación desarrollada para llevar el control de portes, reportes, "
                       "viajes, camiones, camioneros, clientes, facturación, ... de una empresa de "
                       "Transportes"),
        w);
    descripcion->setWordWrap(true);
    g->addWidget(descripcion, 2, 1);
    g->addWidget(new QLabel(QStringLiteral("Desarrollado por el equipo de Dudovuv oz "
                                           "aruduradore.\nProgramas de gestión para el "
                                           "transporte por carretera."),
                            w),
                 3, 1);
    g->setColumnStretch(1, 1);
    return w;
}

// ------------------------------------------------------------------ general data
QWidget *TFormAcercaDe::crearDatosGenerales() {
    auto *w = new QWidget;
    auto *capa = new QVBoxLayout(w);
    m_arbol = new QTreeWidget(w);
    m_arbol->setObjectName(QStringLiteral("Arbol"));
    m_arbol->setHeaderHidden(true);
    capa->addWidget(m_arbol, 1);
    auto *botones = new QHBoxLayout;
    auto *guardar =
        boton(QStringLiteral("&Guardar"), QStringLiteral("Guarda la información general actual"), w,
              QStringLiteral("BGuardar"));
    auto *recuperar =
        boton(QStringLiteral("&Recuperar"), QStringLiteral("Recupera información guardada"), w,
              QStringLiteral("BRecuperar"));
    connect(guardar, &QPushButton::clicked, this, &TFormAcercaDe::guardarArbol);
    connect(recuperar, &QPushButton::clicked, this, &TFormAcercaDe::recuperarArbol);
    botones->addStretch();
    botones->addWidget(guardar);
    botones->addWidget(recuperar);
    capa->addLayout(botones);
    llenarArbol();
    return w;
}

static void ponerLineas(QTreeWidget *arbol, const QList<Informacion::Linea> &lineas) {
    arbol->clear();
    QList<QTreeWidgetItem *> padres;
    for (const Informacion::Linea &l : lineas) {
        while (padres.size() > l.nivel)
            padres.removeLast();
        auto *item =
            padres.isEmpty() ? new QTreeWidgetItem(arbol) : new QTreeWidgetItem(padres.last());
        item->setText(0, l.texto);
        padres << item;
    }
    arbol->expandAll();
}

static QList<Informacion::Linea> leerLineas(const QTreeWidget *arbol) {
    QList<Informacion::Linea> out;
    std::function<void(QTreeWidgetItem *, int)> recorrer = [&](QTreeWidgetItem *i, int nivel) {
        out << Informacion::Linea{nivel, i->text(0)};
        for (int c = 0; c < i->childCount(); ++c)
            recorrer(i->child(c), nivel + 1);
    };
    for (int i = 0; i < arbol->topLevelItemCount(); ++i)
        recorrer(arbol->topLevelItem(i), 0);
    return out;
}

void TFormAcercaDe::llenarArbol() {
    ponerLineas(m_arbol, Informacion::arbolDelSistema());
}

void TFormAcercaDe::guardarArbol() {
    const QString fichero = QFileDialog::getSaveFileName(
        this, QStringLiteral("Guardar información general..."),
        QStringLiteral("Informacion general.nlv"),
        QStringLiteral("Información Nelvira (*.nlv);;Texto sin formato (*.txt);;Todos los "
                       "ficheros (*)"));
    if (fichero.isEmpty())
        return;
    QFile f(fichero);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Text)) {
        msError(QStringLiteral("No se ha podido guardar el fichero ") + fichero +
                QStringLiteral("."));
        return;
    }
    f.write(Informacion::comoTexto(leerLineas(m_arbol)).toUtf8());
}

void TFormAcercaDe::recuperarArbol() {
    const QString fichero = QFileDialog::getOpenFileName(
        this, QStringLiteral("Abrir archivo de información general..."),
        QStringLiteral("Informacion general.nlv"),
        QStringLiteral("Información Nelvira (*.nlv);;Texto sin formato (*.txt);;Todos los "
                       "archivos (*)"));
    if (fichero.isEmpty())
        return;
    QFile f(fichero);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) {
        msError(QStringLiteral("No se ha podido abrir el fichero ") + fichero +
                QStringLiteral("."));
        return;
    }
    ponerLineas(m_arbol, Informacion::desdeTexto(QString::fromUtf8(f.readAll())));
}

// ------------------------------------------------------------------ data browser
QWidget *TFormAcercaDe::crearBasesDeDatos() {
    auto *w = new QWidget;
    auto *g = new QGridLayout(w);
    m_alias = new QListWidget(w);
    m_alias->setObjectName(QStringLiteral("ListaAlias"));
    m_alias->addItems(Connection::aliasNames());
    m_tablas = new QListWidget(w);
    m_tablas->setObjectName(QStringLiteral("ListaTablas"));
    m_campos = new QPlainTextEdit(w);
    m_campos->setObjectName(QStringLiteral("Campos"));
    m_campos->setReadOnly(true);
    g->addWidget(new QLabel(QStringLiteral("Alias"), w), 0, 0);
    g->addWidget(new QLabel(QStringLiteral("Tablas del alias seleccionado"), w), 0, 1);
    g->addWidget(m_alias, 1, 0);
    g->addWidget(m_tablas, 1, 1);
    g->addWidget(new QLabel(QStringLiteral("Campos de las tablas seleccionadas:"), w), 2, 0, 1, 2);
    g->addWidget(m_campos, 3, 0, 1, 2);
    auto *campos = boton(QStringLiteral("&Campos"),
                         QStringLiteral("Muestra los campos de la tabla seleccionada"), w,
                         QStringLiteral("BCampos"));
    auto *imprimir = boton(QStringLiteral("&Imprimir"),
                           QStringLiteral("Imprime los campos mostrados actualmente"), w,
                           QStringLiteral("BImprimir"));
    auto *botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(campos);
    botones->addWidget(imprimir);
    g->addLayout(botones, 4, 0, 1, 2);
    connect(m_alias, &QListWidget::itemClicked, this,
            [this](QListWidgetItem *i) { elegirAlias(i->text()); });
    connect(m_tablas, &QListWidget::itemClicked, this,
            [this](QListWidgetItem *i) { mostrarCampos(i->text()); });
    connect(campos, &QPushButton::clicked, this, [this] {
        if (QListWidgetItem *i = m_tablas->currentItem())
            mostrarCampos(i->text());
    });
    connect(imprimir, &QPushButton::clicked, this, [this] {
        QPrinter impresora;
        if (!impresora.isValid()) {
            msError(QStringLiteral("No hay ninguna impresora disponible."));
            return;
        }
        QTextDocument documento(m_campos->toPlainText());
        documento.print(&impresora);
    });
    return w;
}

void TFormAcercaDe::elegirAlias(const QString &alias) {
    m_tablas->clear();
    if (!Connection::aliasExists(alias))
        return;
    for (const TableDef *t : Connection::companySchema())
        m_tablas->addItem(t->fileName);
}

void TFormAcercaDe::mostrarCampos(const QString &tabla) {
    const TableDef *t = Schema::find(tabla);
    if (!t)
        return;
    for (const QString &l : Informacion::describirCampos(*t))
        m_campos->appendPlainText(l);
}

QString TFormAcercaDe::textoCampos() const {
    return m_campos ? m_campos->toPlainText() : QString();
}

// ------------------------------------------------------------------ identity-number letter
QWidget *TFormAcercaDe::crearLetraDni() {
    auto *w = new QWidget;
    auto *g = new QGridLayout(w);
    m_dni = new QLineEdit(w);
    m_dni->setObjectName(QStringLiteral("TxtDni"));
    m_letra = new QLabel(w);
    m_letra->setObjectName(QStringLiteral("LLetra"));
    auto *calcular = boton(QStringLiteral("Calcular"),
                           QStringLiteral("Calcula la letra correspondiente al DNI introducido"), w,
                           QStringLiteral("BCalcularLetra"));
    auto *etiqueta = new QLabel(QStringLiteral("&Introduzca el DNI:"), w);
    etiqueta->setBuddy(m_dni);
    g->addWidget(etiqueta, 0, 0);
    g->addWidget(m_dni, 0, 1);
    g->addWidget(calcular, 0, 2);
    g->addWidget(new QLabel(QStringLiteral("La letra es:"), w), 1, 0);
    g->addWidget(m_letra, 1, 1);
    g->setRowStretch(2, 1);
    g->setColumnStretch(3, 1);
    connect(m_dni, &QLineEdit::textEdited, this, [this, calcular] {
        m_letra->clear();
        calcular->setDefault(true);
    });
    connect(m_dni, &QLineEdit::editingFinished, this, &TFormAcercaDe::calcularLetra);
    connect(calcular, &QPushButton::clicked, this, &TFormAcercaDe::calcularLetra);
    return w;
}

void TFormAcercaDe::calcularLetra() {
    bool ok = true;
    const QString letra = Informacion::letraDni(m_dni->text(), &ok);
    m_letra->setText(letra);
    if (!ok)
        msError(QStringLiteral("'%1' no es un valor entero válido.").arg(m_dni->text()));
}

QString TFormAcercaDe::letra() const {
    return m_letra ? m_letra->text() : QString();
}

// ------------------------------------------------------------------ picture viewer
QWidget *TFormAcercaDe::crearVisualizador() {
    auto *w = new QWidget;
    auto *capa = new QVBoxLayout(w);
    auto *barra = new QToolBar(w);
    const AjustesEmpresa a = valores() ? valores()->ajustes : AjustesEmpresa();
    barra->setVisible(a.mostrarBBEnVentanas == 1);
    barra->addAction(QStringLiteral("Abrir imagen..."), this, &TFormAcercaDe::abrirImagen)
        ->setToolTip(QStringLiteral("Abrir imagen..."));
    barra->addAction(QStringLiteral("Copiar al portapapeles"), this, [this] {
        if (!m_imagen->pixmap().isNull())
            QApplication::clipboard()->setPixmap(m_imagen->pixmap());
    });
    auto *centrar = barra->addAction(QStringLiteral("Centrar"), this, [this] {
        m_centrar = !m_centrar;
        ajustarImagen();
    });
    centrar->setCheckable(true);
    centrar->setChecked(m_centrar);
    auto *ajustar =
        barra->addAction(QStringLiteral("Ajustar al tamaño de la ventana"), this, [this] {
            m_ajustar = !m_ajustar;
            ajustarImagen();
        });
    ajustar->setCheckable(true);
    barra->addAction(QStringLiteral("Cerrar ventana"), this, &TFormAcercaDe::cerrarVisualizador);
    m_imagen = new QLabel;
    m_imagen->setObjectName(QStringLiteral("Imagen"));
    m_area = new QScrollArea(w);
    m_area->setWidget(m_imagen);
    capa->addWidget(barra);
    capa->addWidget(m_area, 1);
    ajustarImagen();
    return w;
}

void TFormAcercaDe::ajustarImagen() {
    m_area->setWidgetResizable(m_ajustar);
    m_imagen->setScaledContents(m_ajustar);
    m_area->setAlignment(m_centrar ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignTop);
    if (!m_ajustar)
        m_imagen->adjustSize();
}

void TFormAcercaDe::abrirImagen() {
    const QString inicial = IniFile(Programa::ficheroIni())
                                .readString(Clave::Visualizador, Clave::Ruta, QDir::homePath());
    const QString fichero = QFileDialog::getOpenFileName(
        this, QStringLiteral("Abrir nueva imagen..."), inicial,
        QStringLiteral("Todos (*.jpg *.bmp *.ico *.png);;Bitmaps (*.bmp);;Iconos (*.ico);;"
                       "Imágenes JPEG (*.jpg);;Imágenes PNG (*.png)"));
    if (fichero.isEmpty())
        return;
    const QPixmap imagen(fichero);
    if (imagen.isNull()) {
        msPlano(QStringLiteral("No se ha podido abrir la imagen."));
        return;
    }
    m_imagen->setPixmap(imagen);
    m_carpetaImagen = QFileInfo(fichero).absolutePath();
    ajustarImagen();
}

void TFormAcercaDe::cerrarVisualizador() {
    IniFile(Programa::ficheroIni()).writeString(Clave::Visualizador, Clave::Ruta, m_carpetaImagen);
    accept();
}

// ------------------------------------------------------------------ reindexing (never offered)
QWidget *TFormAcercaDe::crearReindexar() {
    auto *w = new QWidget;
    auto *capa = new QVBoxLayout(w);
    auto *reindexar = boton(QStringLiteral("&Reindexar índices"),
                            QStringLiteral("Actualiza los índices de las bases de datos de la "
                                           "aplicación"),
                            w, QStringLiteral("BReindexar"));
    reindexar->setEnabled(false);
    auto *texto = new QPlainTextEdit(w);
    texto->setObjectName(QStringLiteral("Resultado"));
    auto *recuperar =
        boton(QStringLiteral("&Recuperar"), QStringLiteral("Recupera un resultado guardado"), w,
              QStringLiteral("BRecuperarIndices"));
    auto *guardar = boton(QStringLiteral("&Guardar"),
                          QStringLiteral("Guarda el resultado del "
                                         "proceso"),
                          w, QStringLiteral("BGuardarIndices"));
    connect(guardar, &QPushButton::clicked, this, [this, texto] {
        const QString f = QFileDialog::getSaveFileName(
            this, QStringLiteral("Fichero a guardar errores de indexación..."),
            QStringLiteral("ErroresIndexar.nlv"),
            QStringLiteral("Errores indexación (*.nlv);;Texto sin formato (*.txt);;Todos los "
                           "ficheros (*)"));
        QFile fichero(f);
        if (!f.isEmpty() && fichero.open(QIODevice::WriteOnly | QIODevice::Text))
            fichero.write(texto->toPlainText().toUtf8());
    });
    connect(recuperar, &QPushButton::clicked, this, [this, texto] {
        const QString f = QFileDialog::getOpenFileName(
            this, QStringLiteral("Fichero a abrir de errores de indexación..."),
            QStringLiteral("ErroresIndexar.nlv"),
            QStringLiteral("Errores indexación (*.nlv);;Texto sin formato (*.txt);;Todos los "
                           "ficheros (*)"));
        QFile fichero(f);
        if (!f.isEmpty() && fichero.open(QIODevice::ReadOnly | QIODevice::Text))
            texto->setPlainText(QString::fromUtf8(fichero.readAll()));
    });
    capa->addWidget(reindexar, 0, Qt::AlignLeft);
    capa->addWidget(texto, 1);
    auto *botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(recuperar);
    botones->addWidget(guardar);
    capa->addLayout(botones);
    return w;
}
