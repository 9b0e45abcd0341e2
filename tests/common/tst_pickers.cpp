#include "MensajesGuionizados.h"
#include "ProgramaTemporal.h"
#include "app/TFormMenuPrincipal.h"
#include "app/Utilidades.h"
#include "common/ModeloDatos.h"
#include "common/TFormCalendario.h"
#include "common/TFormSeleccion.h"
#include "store/TDatos.h"

#include <QAction>
#include <QCalendarWidget>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

namespace {
QStringList botones(QToolBar *barra) {
    QStringList out;
    for (QAction *a : barra->actions())
        out << (a->isSeparator() ? QStringLiteral("|") : a->text());
    return out;
}

QString textoFecha(QDate d) {
    QString mes;
    Mes(d.month(), mes);
    return QStringLiteral("%1 de %2 de %3").arg(d.day()).arg(mes).arg(d.year());
}

void activar(QWidget *w) {
    w->show();
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
}
} // namespace

class TstPickers : public QObject {
    Q_OBJECT

    ProgramaTemporal programa;
    TFormMenuPrincipal *principal = nullptr;
    TDatos *datos = nullptr;

    QString &elegido() { return principal->valorSeleccionado; }

    // The plate of the picker's current row.
    static QString matriculaActual(const TFormSeleccion &f) {
        return f.modelo()->texto(f.filaActual(), 0);
    }

    static QWidget *vistaCalendario(TFormCalendario &f) {
        return f.findChild<QWidget *>(QStringLiteral("qt_calendar_calendarview"));
    }

private Q_SLOTS:
    void initTestCase() {
        principal = new TFormMenuPrincipal;
        datos = new TDatos;
        datos->db->setPath(programa.crearEmpresa(1, QStringLiteral("PRUEBAS")));
        datos->db->open();
        // Descriptions in mixed case, so that the stored (case-sensitive) order differs from
        // alphabetical order; a plate that begins like a description does; one truck without a
        // plate.
        const QList<QVariantList> camiones{
            {"1111AAA", "TRACTORA", "VOLVO FH"},   {"2222BBB", "RIGIDO", "MERCEDES ACTROS"},
            {"3333CCC", "tractor", "Man TGX"},     {"4444DDD", "FURGON", "mercedes sprinter"},
            {"5555EEE", "GRUA", "IVECO MERCEDES"}, {QVariant(), "CISTERNA", "SIN MATRICULA"},
            {"MER0001", "BASCULA", "ZZZ"},
        };
        for (const QVariantList &c : camiones)
            ProgramaTemporal::insertar(
                *datos->db, QStringLiteral("camiones.DB"),
                {{"Matricula", c[0]}, {"Tipo", c[1]}, {"Descripcion", c[2]}});
    }

    void cleanupTestCase() {
        delete datos;
        delete principal;
    }

    void init() {
        principal->ajustes.mostrarBBEnVentanas = 1;
        principal->ajustes.flat = 1;
        elegido() = QStringLiteral("de antes");
    }

    // ---- calendar

    void calendarioPasos_data() {
        QTest::addColumn<QDate>("desde");
        QTest::addColumn<QString>("accion");
        QTest::addColumn<QDate>("hasta");
        QTest::newRow("31 ene, mes siguiente")
            << QDate(2005, 1, 31) << "ActMesSiguiente" << QDate(2005, 2, 15);
        QTest::newRow("28 feb, mes siguiente")
            << QDate(2005, 2, 28) << "ActMesSiguiente" << QDate(2005, 3, 28);
        QTest::newRow("10 dic, mes siguiente")
            << QDate(2005, 12, 10) << "ActMesSiguiente" << QDate(2005, 12, 10);
        QTest::newRow("30 dic, mes siguiente")
            << QDate(2005, 12, 30) << "ActMesSiguiente" << QDate(2005, 12, 15);
        QTest::newRow("10 ene, mes anterior")
            << QDate(2005, 1, 10) << "ActMesAnterior" << QDate(2005, 1, 10);
        QTest::newRow("31 mar, mes anterior")
            << QDate(2005, 3, 31) << "ActMesAnterior" << QDate(2005, 2, 15);
        QTest::newRow("29 feb 2004, año siguiente")
            << QDate(2004, 2, 29) << "ActAnoSiguiente" << QDate(2005, 2, 15);
        QTest::newRow("31 dic, año anterior")
            << QDate(2005, 12, 31) << "ActAnoAnterior" << QDate(2004, 12, 15);
    }

    void calendarioPasos() {
        QFETCH(QDate, desde);
        QFETCH(QString, accion);
        QFETCH(QDate, hasta);
        TFormCalendario f;
        f.setSeleccion(desde);
        f.show();
        f.accion(accion)->trigger();
        QCOMPARE(f.seleccion(), hasta);
        QCOMPARE(f.findChild<QLabel *>("LabelSeleccion")->text(),
                 QStringLiteral("Selección: ") + textoFecha(hasta));
    }

    void calendarioTeclas_data() {
        QTest::addColumn<QKeySequence>("tecla");
        QTest::addColumn<QDate>("hasta");
        QTest::newRow("Ctrl+A") << QKeySequence("Ctrl+A") << QDate(2005, 5, 10);
        QTest::newRow("Ctrl+S") << QKeySequence("Ctrl+S") << QDate(2005, 7, 10);
        QTest::newRow("Ctrl+N") << QKeySequence("Ctrl+N") << QDate(2004, 6, 10);
        QTest::newRow("Ctrl+I") << QKeySequence("Ctrl+I") << QDate(2006, 6, 10);
        QTest::newRow("H") << QKeySequence("H") << QDate::currentDate();
    }

    void calendarioTeclas() {
        QFETCH(QKeySequence, tecla);
        QFETCH(QDate, hasta);
        // Keys act with the tool bar hidden too.
        principal->ajustes.mostrarBBEnVentanas = 0;
        TFormCalendario f;
        f.setSeleccion(QDate(2005, 6, 10));
        activar(&f);
        QTest::keySequence(vistaCalendario(f), tecla);
        QCOMPARE(f.seleccion(), hasta);
        QVERIFY(f.isVisible());
    }

    void calendarioMuestraHoy() {
        TFormCalendario f;
        f.setSeleccion(QDate(2005, 3, 1));
        f.show();
        QCOMPARE(f.findChild<QLabel *>("LabelHoy")->text(),
                 QStringLiteral("Hoy es: ") + textoFecha(QDate::currentDate()));
        QCOMPARE(f.findChild<QLabel *>("LabelSeleccion")->text(),
                 QStringLiteral("Selección: 1 de Marzo de 2005"));
        QCOMPARE(f.findChild<QCalendarWidget *>("Calendario")->firstDayOfWeek(), Qt::Monday);
    }

    void calendarioSumarDias_data() {
        QTest::addColumn<bool>("cancela");
        QTest::addColumn<QString>("respuesta");
        QTest::addColumn<bool>("error");
        QTest::addColumn<QDate>("hasta");
        QTest::newRow("-1") << false << "-1" << false << QDate(2005, 2, 28);
        QTest::newRow("400") << false << " 400 " << false << QDate(2006, 4, 5);
        QTest::newRow("letras") << false << "abc" << true << QDate(2005, 3, 1);
        QTest::newRow("decimal") << false << "2,5" << true << QDate(2005, 3, 1);
        QTest::newRow("vacío") << false << "" << true << QDate(2005, 3, 1);
        QTest::newRow("cancelar") << true << "" << false << QDate(2005, 3, 1);
    }

    void calendarioSumarDias() {
        QFETCH(bool, cancela);
        QFETCH(QString, respuesta);
        QFETCH(bool, error);
        QFETCH(QDate, hasta);
        MensajesGuionizados mensajes;
        TFormCalendario f;
        f.setSeleccion(QDate(2005, 3, 1));
        f.show();
        mensajes.esperarTexto(cancela ? std::nullopt : std::optional<QString>(respuesta));
        if (error)
            mensajes.esperar(TipoMensaje::Error);
        f.accion("ActSumarDias")->trigger();
        QCOMPARE(mensajes.pendientes(), 0);
        QCOMPARE(mensajes.vistos().first().titulo,
                 QStringLiteral("Sumar/Restar días a la fecha seleccionada..."));
        QCOMPARE(mensajes.vistos().first().texto,
                 QStringLiteral("Días a sumar/restar (para restar -> número negativo)."));
        if (error) {
            QCOMPARE(mensajes.vistos().last().titulo, QStringLiteral("Número no válido..."));
            QCOMPARE(mensajes.vistos().last().texto,
                     QStringLiteral("No ha introducido un número válido."));
        }
        QCOMPARE(f.seleccion(), hasta);
        QVERIFY(f.isVisible());
    }

    void calendarioSeleccionaOCierra_data() {
        QTest::addColumn<int>("tecla");
        QTest::addColumn<QString>("elegida");
        QTest::newRow("C") << int(Qt::Key_C) << "05/03/05";
        QTest::newRow("Intro") << int(Qt::Key_Return) << "05/03/05";
        QTest::newRow("S") << int(Qt::Key_S) << "";
        QTest::newRow("Escape") << int(Qt::Key_Escape) << "";
    }

    void calendarioSeleccionaOCierra() {
        QFETCH(int, tecla);
        QFETCH(QString, elegida);
        TFormCalendario f;
        f.setSeleccion(QDate(2005, 3, 5));
        activar(&f);
        QCOMPARE(elegido(), QString()); // emptied on showing
        QTest::keyClick(vistaCalendario(f), Qt::Key(tecla));
        QVERIFY(!f.isVisible());
        QCOMPARE(f.result(), int(elegida.isEmpty() ? QDialog::Rejected : QDialog::Accepted));
        QCOMPARE(elegido(), elegida);
    }

    // ---- both pickers

    void barraSegunAjustes_data() {
        QTest::addColumn<bool>("calendario");
        QTest::addColumn<int>("mostrar");
        QTest::addColumn<int>("flat");
        QTest::newRow("calendario, plana") << true << 1 << 1;
        QTest::newRow("calendario, en relieve") << true << 1 << 0;
        QTest::newRow("calendario, oculta") << true << 0 << 1;
        QTest::newRow("selección, plana") << false << 1 << 1;
        QTest::newRow("selección, en relieve") << false << 1 << 0;
        QTest::newRow("selección, oculta") << false << 0 << 0;
    }

    void barraSegunAjustes() {
        QFETCH(bool, calendario);
        QFETCH(int, mostrar);
        QFETCH(int, flat);
        principal->ajustes.mostrarBBEnVentanas = mostrar;
        principal->ajustes.flat = flat;
        std::unique_ptr<QDialog> f;
        if (calendario) {
            f = std::make_unique<TFormCalendario>();
        } else {
            auto *s = new TFormSeleccion;
            s->setTipo(TFormSeleccion::kCamiones);
            f.reset(s);
        }
        f->show();
        auto *barra = f->findChild<QToolBar *>("BarraBotones");
        QCOMPARE(barra->isVisible(), mostrar == 1);
        const QStringList esperados =
            calendario ? QStringList{"Mes anterior",
                                     "Mes siguiente",
                                     "|",
                                     "Año anterior",
                                     "Año siguiente",
                                     "|",
                                     "Seleccionar",
                                     "Ir a hoy",
                                     "Sumar/Restar días",
                                     "|",
                                     "Cerrar calendario"}
                       : QStringList{"Seleccionar", "Nuevo", "Refrescar", "|", "Salir"};
        QCOMPARE(botones(barra), esperados);
        // The context menu offers the same commands in the same order.
        QCOMPARE(f->contextMenuPolicy(), Qt::ActionsContextMenu);
        QStringList menu;
        for (QAction *a : f->actions())
            menu << (a->isSeparator() ? QStringLiteral("|") : a->text());
        QCOMPARE(menu, esperados);
        auto *boton = qobject_cast<QToolButton *>(barra->widgetForAction(barra->actions().first()));
        QVERIFY(boton);
        QCOMPARE(boton->autoRaise(), flat == 1);
    }

    // ---- truck picker

    void seleccionCargaPorOrden_data() {
        QTest::addColumn<QString>("orden");
        QTest::addColumn<QString>("etiqueta");
        QTest::addColumn<QStringList>("matriculas");
        QTest::newRow("matrícula")
            << "Orden1"
            << "&Buscar por matrícula"
            << QStringList{"", "1111AAA", "2222BBB", "3333CCC", "4444DDD", "5555EEE", "MER0001"};
        QTest::newRow("tipo") << "Orden2"
                              << "&Buscar por tipo"
                              << QStringList{"MER0001", "",        "4444DDD", "5555EEE",
                                             "2222BBB", "1111AAA", "3333CCC"};
        QTest::newRow("descripción")
            << "Orden3"
            << "&Buscar por descripción"
            << QStringList{"5555EEE", "2222BBB", "3333CCC", "", "1111AAA", "MER0001", "4444DDD"};
    }

    void seleccionCargaPorOrden() {
        QFETCH(QString, orden);
        QFETCH(QString, etiqueta);
        QFETCH(QStringList, matriculas);
        TFormSeleccion f;
        QCOMPARE(f.windowTitle(), QStringLiteral("Selección de clave..."));
        f.setTipo(TFormSeleccion::kCamiones);
        f.show();
        QCOMPARE(elegido(), QString());
        QCOMPARE(f.windowTitle(), QStringLiteral("Selección de Camión..."));
        QStringList radios;
        for (const char *n : {"Orden1", "Orden2", "Orden3"})
            radios << f.findChild<QRadioButton *>(n)->text();
        QCOMPARE(radios, (QStringList{"&Matricula", "Tipo", "Descripcion"}));
        QVERIFY(f.findChild<QRadioButton *>("Orden1")->isChecked());

        f.findChild<QRadioButton *>(orden)->click();
        QCOMPARE(f.findChild<QLabel *>("LabelBuscar")->text(), etiqueta);
        QStringList leidas;
        for (int i = 0; i < f.modelo()->rowCount(); ++i)
            leidas << f.modelo()->texto(i, 0);
        QCOMPARE(leidas, matriculas);
        QCOMPARE(f.filaActual(), 0);
        QCOMPARE(f.focusWidget(), f.findChild<QLineEdit *>("TxtBuscar"));
    }

    void seleccionBusca_data() {
        QTest::addColumn<QString>("orden");
        QTest::addColumn<QString>("tecleado");
        QTest::addColumn<QString>("matricula");
        QTest::newRow("descripción mer") << "Orden3"
                                         << "mer"
                                         << "2222BBB";
        QTest::newRow("descripción MERCEDES S") << "Orden3"
                                                << "MERCEDES S"
                                                << "4444DDD";
        QTest::newRow("matrícula mer") << "Orden1"
                                       << "mer"
                                       << "MER0001";
        QTest::newRow("tipo TRAC") << "Orden2"
                                   << "TRAC"
                                   << "1111AAA";
        // "m" and "ma" move the list; "maz" finds nothing and leaves it on "Man TGX".
        QTest::newRow("sin resultado") << "Orden3"
                                       << "maz"
                                       << "3333CCC";
    }

    void seleccionBusca() {
        QFETCH(QString, orden);
        QFETCH(QString, tecleado);
        QFETCH(QString, matricula);
        TFormSeleccion f;
        f.setTipo(TFormSeleccion::kCamiones);
        f.show();
        f.findChild<QRadioButton *>(orden)->click();
        QTest::keyClicks(f.findChild<QLineEdit *>("TxtBuscar"), tecleado);
        QCOMPARE(matriculaActual(f), matricula);
    }

    void seleccionElige_data() {
        QTest::addColumn<QString>("busca");
        QTest::addColumn<QString>("como");
        QTest::addColumn<QString>("elegida");
        QTest::newRow("c en la lista") << "vol"
                                       << "c"
                                       << "1111AAA";
        QTest::newRow("C en la lista") << "vol"
                                       << "C"
                                       << "1111AAA";
        QTest::newRow("Intro en la lista") << "man"
                                           << "intro"
                                           << "3333CCC";
        QTest::newRow("Seleccionar") << "iveco"
                                     << "accion"
                                     << "5555EEE";
        QTest::newRow("doble clic") << "mercedes s"
                                    << "doble"
                                    << "4444DDD";
        QTest::newRow("sin matrícula") << "sin"
                                       << "accion"
                                       << "";
        QTest::newRow("Salir") << "vol"
                               << "ActCerrar"
                               << "";
        QTest::newRow("Escape") << "vol"
                                << "escape"
                                << "";
    }

    void seleccionElige() {
        QFETCH(QString, busca);
        QFETCH(QString, como);
        QFETCH(QString, elegida);
        TFormSeleccion f;
        f.setTipo(TFormSeleccion::kCamiones);
        f.show();
        f.findChild<QRadioButton *>("Orden3")->click();
        QTest::keyClicks(f.findChild<QLineEdit *>("TxtBuscar"), busca);
        auto *lista = f.findChild<QTableView *>("Lista");
        if (como == "c" || como == "C") {
            QTest::keyClick(lista, como.at(0).toLatin1());
        } else if (como == "intro") {
            QTest::keyClick(lista, Qt::Key_Return);
        } else if (como == "escape") {
            QTest::keyClick(lista, Qt::Key_Escape);
        } else if (como == "doble") {
            const QRect celda = lista->visualRect(lista->currentIndex());
            QTest::mouseClick(lista->viewport(), Qt::LeftButton, {}, celda.center());
            QTest::mouseDClick(lista->viewport(), Qt::LeftButton, {}, celda.center());
        } else if (como == "accion") {
            f.accion("ActSeleccionar")->trigger();
        } else {
            f.accion(como)->trigger();
        }
        QVERIFY(!f.isVisible());
        QCOMPARE(elegido(), elegida);
    }

    void seleccionBuscadorPasaALista() {
        TFormSeleccion f;
        f.setTipo(TFormSeleccion::kCamiones);
        activar(&f);
        auto *buscar = f.findChild<QLineEdit *>("TxtBuscar");
        auto *lista = f.findChild<QTableView *>("Lista");
        for (Qt::Key tecla : {Qt::Key_Return, Qt::Key_Down}) {
            buscar->setFocus();
            QTest::keyClick(buscar, tecla);
            QCOMPARE(QApplication::focusWidget(), lista);
            QCOMPARE(f.filaActual(), 0);
            QVERIFY(f.isVisible());
        }
        QCOMPARE(elegido(), QString());
    }

    void seleccionRefresca() {
        TFormSeleccion f;
        f.setTipo(TFormSeleccion::kCamiones);
        f.show();
        const int antes = f.modelo()->rowCount();
        const qint64 id = ProgramaTemporal::insertar(*datos->db, QStringLiteral("camiones.DB"),
                                                     {{"Matricula", "0000NEW"}});
        f.accion("ActRefrescar")->trigger();
        QCOMPARE(f.modelo()->rowCount(), antes + 1);
        QCOMPARE(matriculaActual(f), QStringLiteral("")); // the plate-less truck sorts first
        QTest::keyClicks(f.findChild<QLineEdit *>("TxtBuscar"), "0000");
        QCOMPARE(matriculaActual(f), QStringLiteral("0000NEW"));
        datos->db->exec(QStringLiteral("DELETE FROM camiones WHERE rowid = %1").arg(id));
        datos->db->touch(QStringLiteral("camiones"));
        f.accion("ActNuevo")->trigger();
        QCOMPARE(f.modelo()->rowCount(), antes);
    }

    void seleccionSinEmpresaEsError() {
        MensajesGuionizados mensajes;
        // No company: the connection is closed and points at no folder.
        const QString carpeta = datos->db->path();
        datos->db->close();
        datos->db->setPath(QString());
        TFormSeleccion f;
        f.setTipo(TFormSeleccion::kCamiones);
        mensajes.esperar(TipoMensaje::Error);
        f.show();
        datos->db->setPath(carpeta);
        datos->db->open();
        QCOMPARE(mensajes.pendientes(), 0);
        QCOMPARE(f.modelo()->rowCount(), 0);
        f.accion("ActSeleccionar")->trigger();
        QCOMPARE(elegido(), QString());
    }
};

QTEST_MAIN(TstPickers)
#include "tst_pickers.moc"
