#include "MensajesGuionizados.h"
#include "ProgramaTemporal.h"
#include "app/IniFile.h"
#include "app/Programa.h"
#include "app/TFormMenuPrincipal.h"
#include "app/Utilidades.h"

#include <QAction>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>

namespace {
// Stands in for a window of a later subsystem.
QWidget *ventanaFalsa(const QString &nombre, const QString &titulo, bool conFichero = false) {
    auto *w = new QWidget;
    w->setObjectName(nombre);
    w->setWindowTitle(titulo);
    if (conFichero) {
        auto *m = new QMenu(QStringLiteral("Fichero"), w);
        m->setObjectName(QStringLiteral("Fichero"));
        m->addAction(QStringLiteral("Lista"));
    }
    return w;
}

QStringList titulos(QMenu *menu) {
    QStringList out;
    for (QAction *a : menu->actions())
        out << (a->isSeparator() ? QStringLiteral("|") : a->text());
    return out;
}
} // namespace

class UrlCapturada : public QObject {
    Q_OBJECT
public:
    QUrl url;
public Q_SLOTS:
    void abrir(const QUrl &u) { url = u; }
};

class TstMenuPrincipal : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void menuBarAsDeclared_data() {
        QTest::addColumn<QString>("submenu");
        QTest::addColumn<QStringList>("entradas");
        QTest::newRow("Global") << "Global" << QStringList{"Empresas", "Información", "|", "Salir"};
        QTest::newRow("Portes") << "Portes" << QStringList{"Mantenimiento portes", "|",
                                                           "No reportados",        "No facturados",
                                                           "No cobrados",          "|",
                                                           "Mismo origen",         "Mismo destino"};
        QTest::newRow("Viajes")
            << "Viajes"
            << QStringList{"Mantenimiento viajes", "Nuevo viaje", "|",
                           "No cobrados",          "|",           "Mismo origen",
                           "Mismo destino",        "|",           "Viajes por camionero",
                           "Viajes por camión",    "|",           "Lugares (origen, destino)"};
        QTest::newRow("Camioneros") << "Camioneros"
                                    << QStringList{"Mantenimiento camioneros", "|",
                                                   "Km por camionero", "Viajes por camionero"};
        QTest::newRow("Camiones") << "Camiones"
                                  << QStringList{
                                         "Mantenimiento camiones", "Mantenimiento de Gastos ",
                                         "Vencimiento de seguros", "|",
                                         "Viajes por camión",      "Total gastos por camión"};
        QTest::newRow("Totales") << "Totales"
                                 << QStringList{"Gatos e ingresos mensuales camiones",
                                                "Gatos e ingresos anuales de camiones",
                                                "|",
                                                "Viajes por camión",
                                                "Km por camionero",
                                                "|",
                                                "Totales por clientes",
                                                "|",
                                                "Viajes por país (carga/descarga)"};
        QTest::newRow("Herram.") << "Herram." << QStringList{"Copia de seguridad",
                                                             "Configuración",
                                                             "|",
                                                             "Carga externa de Gastos",
                                                             "|",
                                                             "Calendario",
                                                             "Calculadora",
                                                             "|",
                                                             "Configurar red local",
                                                             "Configurar impresoras"};
        QTest::newRow("Ventana") << "Ventana"
                                 << QStringList{"Cerrar todas", "Minimizar todas", "|", "Mosaico",
                                                "Cascada",      "Ordenar iconos"};
        QTest::newRow("?") << "?" << QStringList{"Contenido", "|", "Acerca de..."};
    }

    void menuBarAsDeclared() {
        QFETCH(QString, submenu);
        QFETCH(QStringList, entradas);
        ProgramaTemporal programa;
        TFormMenuPrincipal v;
        QMenu *menu = nullptr;
        QStringList barra;
        for (QAction *a : v.menuBar()->actions()) {
            barra << a->text();
            if (a->text() == submenu)
                menu = a->menu();
        }
        QCOMPARE(barra,
                 (QStringList{"Global", "Portes", "Reportes", "Viajes", "Facturas", "Clientes",
                              "Camioneros", "Camiones", "Totales", "Herram.", "Ventana", "?"}));
        QVERIFY(menu);
        QCOMPARE(titulos(menu), entradas);
    }

    void commandsNamesKeysAndHints() {
        ProgramaTemporal programa;
        TFormMenuPrincipal v;
        QCOMPARE(v.accion("ActMostrarEmpresas")->shortcut(), QKeySequence("Ctrl+E"));
        QCOMPARE(v.accion("ActAyudaContenido")->shortcut(), QKeySequence(Qt::Key_F1));
        QCOMPARE(v.accion("actPortesNoFacturados")->statusTip(),
                 QStringLiteral("Listado de portes no facurados"));
        QCOMPARE(v.accion("ActTotalClientes")->statusTip(),
                 QStringLiteral("Totala velmora por cliente"));
        // A command in two submenus is one action.
        int apariciones = 0;
        for (QAction *m : v.menuBar()->actions())
            if (m->menu())
                apariciones += int(m->menu()->actions().count(v.accion("actViajesCamion")));
        QCOMPARE(apariciones, 3);
        // Commands whose windows do not exist yet are there, disabled.
        QVERIFY(!v.accion("ActMostrarCamiones")->isEnabled());
        QVERIFY(v.accion("ActFacturas")->isEnabled());
        QVERIFY(v.accion("ActMostrarConfiguracion")->isEnabled());
        QVERIFY(v.accion("ActSalir")->isEnabled());

        QStringList botones;
        for (QAction *a : v.barraPrincipal()->actions())
            botones << (a->isSeparator() ? QStringLiteral("|") : a->objectName());
        QCOMPARE(botones, (QStringList{"ActMostrarEmpresas",
                                       "|",
                                       "ActMostrarPortes",
                                       "ActMostrarReportes",
                                       "ActViajes",
                                       "|",
                                       "ActNuevoViaje",
                                       "ActLugares",
                                       "|",
                                       "ActFacturas",
                                       "ActClientes",
                                       "|",
                                       "ActMostrarCamioneros",
                                       "ActMostrarCamiones",
                                       "ActGastosCamiones",
                                       "|",
                                       "ActMostrarGastosMensuales",
                                       "ActGastosAnuales",
                                       "|",
                                       "ActMostrarCopiaSeguridad",
                                       "ActMostrarCalculadora",
                                       "|",
                                       "ActSalir"}));
    }

    void recordWindowOpensOnce() {
        ProgramaTemporal programa;
        TFormMenuPrincipal v;
        v.ajustes.estadoCargaVentanas = 1;
        int creadas = 0;
        v.registrarVentana("ActMostrarPortes", "FormPortes", [&] {
            ++creadas;
            return ventanaFalsa("FormPortes", "Portes");
        });
        v.accion("ActMostrarPortes")->trigger();
        v.accion("ActMostrarPortes")->trigger();
        QCOMPARE(creadas, 1);
        QCOMPARE(v.ventanasHijas().size(), 1);
        QMdiSubWindow *sub = v.ventanasHijas().first();
        QVERIFY(sub->isMaximized());
        sub->showMinimized();
        v.accion("ActMostrarPortes")->trigger();
        QVERIFY(sub->isMaximized());
        QVERIFY(v.ventanaHija("formportes"));
    }

    void listingRefusedWhileOpen() {
        ProgramaTemporal programa;
        MensajesGuionizados mensajes;
        TFormMenuPrincipal v;
        auto crear = [] { return ventanaFalsa("FormLPortes", "Portes no facturados"); };
        v.registrarListado("actPortesNoFacturados", "FormLPortes", 20, crear);
        v.registrarListado("actPortesNoCobrados", "FormLPortes", 21, crear);
        v.accion("actPortesNoFacturados")->trigger();
        QCOMPARE(v.modoListado, 20);
        mensajes.esperar(TipoMensaje::Informacion);
        v.accion("actPortesNoCobrados")->trigger();
        QCOMPARE(
            mensajes.ultimoTexto(),
            QStringLiteral(
                "Antes de realizar este proceso debe cerrar la ventana: Portes no facturados."));
        QCOMPARE(v.modoListado, 21);
        QCOMPARE(v.ventanasHijas().size(), 1);
    }

    void companiesRefusedWithAMinimisedChild() {
        ProgramaTemporal programa;
        MensajesGuionizados mensajes;
        TFormMenuPrincipal v;
        bool abierta = false;
        v.registrarModal(
            "ActMostrarEmpresas", [&] { abierta = true; },
            QStringLiteral("Antes de abrir EMPRESAS debe cerrar todas las ventanas."));
        v.abrirVentana("FormClientes", [] { return ventanaFalsa("FormClientes", "Clientes"); });
        v.ventanasHijas().first()->showMinimized();
        mensajes.esperar(TipoMensaje::Informacion);
        v.accion("ActMostrarEmpresas")->trigger();
        QVERIFY(!abierta);
        QCOMPARE(mensajes.ultimoTexto(),
                 QStringLiteral("Antes de abrir EMPRESAS debe cerrar todas las ventanas."));
        v.accion("actVentanaCerrarTodas")->trigger();
        QTRY_VERIFY(v.ventanasHijas().isEmpty());
        v.accion("ActMostrarEmpresas")->trigger();
        QVERIFY(abierta);
    }

    void activeChildMergesItsFileMenu() {
        ProgramaTemporal programa;
        TFormMenuPrincipal v;
        v.show();
        v.abrirVentana("FormPortes", [] { return ventanaFalsa("FormPortes", "Portes", true); });
        QCOMPARE(v.menuBar()->actions().first()->text(), QStringLiteral("Fichero"));
        v.abrirVentana("FormClientes", [] { return ventanaFalsa("FormClientes", "Clientes"); });
        QCOMPARE(v.menuBar()->actions().first()->text(), QStringLiteral("Global"));
    }

    void exitAsks() {
        ProgramaTemporal programa;
        MensajesGuionizados mensajes;
        TFormMenuPrincipal v;
        v.show();
        mensajes.esperar(TipoMensaje::Confirmacion, false);
        v.accion("ActSalir")->trigger();
        QVERIFY(v.isVisible());
        QCOMPARE(mensajes.ultimoTexto(),
                 QStringLiteral("¿Está seguro que desea cerrar la aplicación?"));
        mensajes.esperar(TipoMensaje::Confirmacion, true);
        v.accion("ActSalir")->trigger();
        QVERIFY(!v.isVisible());
    }

    void calculatorThatCannotStart() {
        ProgramaTemporal programa;
        MensajesGuionizados mensajes;
        IniFile(programa.ini()).writeString("Aplicacion", "Calculadora", "/no/existe/calculadora");
        TFormMenuPrincipal v;
        mensajes.esperar(TipoMensaje::Error);
        v.accion("ActMostrarCalculadora")->trigger();
        QCOMPARE(mensajes.ultimoTexto(),
                 QStringLiteral("No se ha podido iniciar la calculadora de Windows."));
        QVERIFY(v.accion("ActMostrarCalculadora")->isEnabled());
    }

    void calculatorDisabledWhileRunning() {
        ProgramaTemporal programa;
        IniFile(programa.ini()).writeString("Aplicacion", "Calculadora", "sleep 0.3");
        TFormMenuPrincipal v;
        bool desactivada = false;
        QTimer::singleShot(100,
                           [&] { desactivada = !v.accion("ActMostrarCalculadora")->isEnabled(); });
        v.accion("ActMostrarCalculadora")->trigger();
        QVERIFY(desactivada);
        QVERIFY(v.accion("ActMostrarCalculadora")->isEnabled());
    }

    void helpOpensTheShippedFile() {
        ProgramaTemporal programa;
        UrlCapturada captura;
        QDesktopServices::setUrlHandler(QStringLiteral("file"), &captura, "abrir");
        TFormMenuPrincipal v;
        v.accion("ActAyudaContenido")->trigger();
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        QCOMPARE(captura.url.toLocalFile(), Programa::ficheroAyuda());
        QFile f(Programa::ficheroAyuda());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.readAll().contains("Mantenimiento portes"));
    }

    void monthNames_data() {
        QTest::addColumn<int>("mes");
        QTest::addColumn<QString>("esperado");
        QTest::newRow("1") << 1 << "Enero";
        QTest::newRow("9") << 9 << "Septiembre";
        QTest::newRow("12") << 12 << "Diciembre";
        QTest::newRow("0 leaves the text") << 0 << "sin cambiar";
        QTest::newRow("13 leaves the text") << 13 << "sin cambiar";
    }

    void monthNames() {
        QFETCH(int, mes);
        QFETCH(QString, esperado);
        QString nombre = QStringLiteral("sin cambiar");
        Mes(mes, nombre);
        QCOMPARE(nombre, esperado);
    }
};

QTEST_MAIN(TstMenuPrincipal)
#include "tst_menuprincipal.moc"
