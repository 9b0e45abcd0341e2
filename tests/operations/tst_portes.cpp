#include "MensajesGuionizados.h"
#include "ProgramaTemporal.h"
#include "app/IniFile.h"
#include "app/TFormMenuPrincipal.h"
#include "common/ControlesDatos.h"
#include "common/MotorListado.h"
#include "operations/PorteViaje.h"
#include "operations/TFormPortes.h"
#include "store/Query.h"
#include "store/TDatos.h"
#include "store/Table.h"

#include <QAction>
#include <QDate>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

// The hauls window and what it does to trips and reports.
class TstPortes : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramaTemporal> programa;
    std::unique_ptr<TFormMenuPrincipal> principal;
    std::unique_ptr<TDatos> datos;

    void porte(const char *num, const char *mat, const char *carga, const char *descarga) {
        ProgramaTemporal::insertar(*datos->db, "portes.DB",
                                   {{"Numero", num},
                                    {"Fecha", QDate(2005, 2, 1)},
                                    {"Matricula", mat},
                                    {"Carga", carga},
                                    {"Descarga", descarga},
                                    {"Precio", 100.0},
                                    {"Facturado", "No"},
                                    {"Pagado", "No"},
                                    {"Reportado", "No"}});
    }
    QVariantMap viaje(const QString &num) {
        Query q(datos->db);
        q.setSql(QStringLiteral("select * from viaje where NumViaje = :n"));
        q.setParam("n", num);
        q.open();
        QVariantMap m;
        if (!q.isEmpty())
            for (const QString &f : q.fieldNames())
                m.insert(f, q.value(f));
        return m;
    }
    int cuenta(const QString &sql) {
        Query q(datos->db);
        q.setSql(sql);
        q.open();
        return q.value(q.fieldNames().first()).toInt();
    }

private Q_SLOTS:
    void init() {
        programa = std::make_unique<ProgramaTemporal>();
        principal = std::make_unique<TFormMenuPrincipal>();
        datos = std::make_unique<TDatos>();
        datos->db->setPath(programa->crearEmpresa(1, QStringLiteral("TRANSPORTES PRUEBA")));
        datos->db->open();
        principal->ajustes = AjustesEmpresa::leer(IniFile(programa->ini()));
        ProgramaTemporal::insertar(*datos->db, "Camioner.DB",
                                   {{"CIF", "11111111H"}, {"Apellidos", "PÉREZ"}});
        ProgramaTemporal::insertar(*datos->db, "camiones.DB",
                                   {{"Matricula", "1111AAA"}, {"CIF", "11111111H"}});
        ProgramaTemporal::insertar(*datos->db, "camiones.DB", {{"Matricula", "2222BBB"}});
        porte("000001/05", "1111AAA", "ZARAGOZA", "MADRID");
        porte("000002/05", "2222BBB", "LEÓN", "");
        porte("000003/05", "3333CCC", "HUESCA", "TERUEL");
    }
    void cleanup() {
        datos.reset();
        principal.reset();
        programa.reset();
    }

    void passToTripCreatesItWithTheDriver() {
        MensajesGuionizados mensajes;
        TFormPortes v;
        v.preparar();
        mensajes.esperar(TipoMensaje::Informacion);
        v.pasarAViaje();
        QCOMPARE(mensajes.ultimoTexto(),
                 QStringLiteral("El porte ha sido pasado a viaje correctamente."));
        const QVariantMap t = viaje("000001/05");
        QCOMPARE(t.value("NumeroPorte").toInt(), v.tabla()->value("ID").toInt());
        QCOMPARE(t.value("NumPorte").toString(), QStringLiteral("000001/05"));
        QCOMPARE(t.value("Origen").toString(), QStringLiteral("ZARAGOZA"));
        QCOMPARE(t.value("Destino").toString(), QStringLiteral("MADRID"));
        QCOMPARE(t.value("MatricTractor").toString(), QStringLiteral("1111AAA"));
        QCOMPARE(t.value("FechaSalida").toDate(), QDate(2005, 2, 1));
        QCOMPARE(t.value("CondCIF").toString(), QStringLiteral("11111111H"));
        // Trucks without driver, or missing from the trucks table, leave the driver empty.
        for (const char *num : {"000002/05", "000003/05"}) {
            v.tabla()->next();
            mensajes.esperar(TipoMensaje::Informacion);
            v.pasarAViaje();
            QVERIFY(viaje(num).value("CondCIF").isNull());
        }
    }

    void passToAnExistingTripOnlyLinksIt() {
        ProgramaTemporal::insertar(
            *datos->db, "viaje.DB",
            {{"NumViaje", "000001/05"}, {"Origen", "OTRO"}, {"CondCIF", "X"}});
        MensajesGuionizados mensajes;
        TFormPortes v;
        v.preparar();
        mensajes.esperar(TipoMensaje::Informacion);
        v.pasarAViaje();
        QCOMPARE(
            mensajes.ultimoTexto(),
            QStringLiteral("Ya existe un viaje con este número. Se ha añadido el ID del porte."));
        const QVariantMap t = viaje("000001/05");
        QCOMPARE(t.value("NumeroPorte").toInt(), v.tabla()->value("ID").toInt());
        QCOMPARE(t.value("Origen").toString(), QStringLiteral("OTRO"));
        QCOMPARE(t.value("CondCIF").toString(), QStringLiteral("X"));
        QVERIFY(t.value("Destino").isNull());
        QCOMPARE(cuenta("select count(*) from viaje"), 1);
    }

    void passToTripWithoutNumberOrWhileTyping() {
        MensajesGuionizados mensajes;
        TFormPortes v;
        v.show();
        // A haul still being typed is stored before its trip is made.
        v.accion("ActNuevoPorte")->trigger();
        Table *t = v.tabla();
        t->setValue("Numero", "000009/05");
        t->setValue("Matricula", "1111AAA");
        t->setValue("Descarga", "SORIA");
        for (const char *f : {"Facturado", "Pagado", "Reportado"})
            t->setValue(QString::fromLatin1(f), "No");
        mensajes.esperar(TipoMensaje::Informacion);
        v.accion("ActPasarViaje")->trigger();
        QCOMPARE(t->state(), DataSet::Browse);
        QCOMPARE(viaje("000009/05").value("NumeroPorte").toInt(), t->value("ID").toInt());
        QVERIFY(t->value("ID").toInt() > 0);
        // A haul that cannot be stored makes no trip.
        v.accion("ActNuevoPorte")->trigger();
        t->setValue("Numero", "000010/05");
        mensajes.esperar(TipoMensaje::Error);
        v.accion("ActPasarViaje")->trigger();
        QVERIFY(viaje("000010/05").isEmpty());
        t->cancel();
        // An empty table has no haul to pass.
        t->setFilter("[Numero] = '999999/99'");
        t->setFiltered(true);
        mensajes.esperar(TipoMensaje::Plano);
        v.pasarAViaje();
        QCOMPARE(mensajes.ultimoTexto(),
                 QStringLiteral("Actualice los valores antes de continuar."));
    }

    void addReportTwice() {
        MensajesGuionizados mensajes;
        TFormPortes v;
        v.preparar();
        mensajes.esperar(TipoMensaje::Informacion);
        v.anadirReporte();
        QCOMPARE(mensajes.ultimoTexto(), QStringLiteral("El reporte se ha añadido correctamente."));
        QCOMPARE(v.tabla()->value("Reportado").toString(), QStringLiteral("Sí"));
        QCOMPARE(cuenta("select count(*) from reportes where Numero = '000001/05' and Matricula = "
                        "'1111AAA' "
                        "and Facturado = 'No' and Pagado = 'No'"),
                 1);
        mensajes.esperar(TipoMensaje::Error);
        v.anadirReporte();
        QCOMPARE(mensajes.ultimoTexto(), QStringLiteral("El reporte NO se ha añadido."));
        QCOMPARE(cuenta("select count(*) from reportes"), 1);
        QCOMPARE(v.tabla()->value("Reportado").toString(), QStringLiteral("Sí"));
        QCOMPARE(v.tabla()->state(), DataSet::Browse);
    }

    void reportAndHaulChangeTogether() {
        // When the haul cannot be marked as reported (the database refuses the change), no
        // report is left behind.
        datos->db->exec("CREATE TRIGGER rechazo BEFORE UPDATE ON portes BEGIN SELECT RAISE(ABORT, "
                        "'disco lleno'); END");
        MensajesGuionizados mensajes;
        TFormPortes v;
        v.preparar();
        mensajes.esperar(TipoMensaje::Error);
        v.anadirReporte();
        QCOMPARE(mensajes.ultimoTexto(), QStringLiteral("El reporte NO se ha añadido."));
        QCOMPARE(cuenta("select count(*) from reportes"), 0);
        QCOMPARE(v.tabla()->value("Reportado").toString(), QStringLiteral("No"));
        QCOMPARE(v.tabla()->state(), DataSet::Browse);
    }

    void synchronisationQuestions() {
        ProgramaTemporal::insertar(*datos->db, "viaje.DB",
                                   {{"NumViaje", "000001/05"},
                                    {"Origen", "ZARAGOZA"},
                                    {"Destino", "MADRID"},
                                    {"MatricTractor", "1111AAA"}});
        MensajesGuionizados mensajes;
        TFormPortes v;
        v.preparar();
        // Only the destination differs: one question, answered No.
        v.tabla()->edit();
        v.tabla()->setValue("Descarga", "VALENCIA");
        mensajes.esperar(TipoMensaje::Confirmacion, false);
        QVERIFY(v.grabar());
        QCOMPARE(mensajes.vistos().size(), 1);
        QCOMPARE(mensajes.ultimoTexto(),
                 QStringLiteral(
                     "Existe un viaje con: \r\r    ·  Número: 000001/05\r    ·  Origen: ZARAGOZA\r"
                     "    · Destino: MADRID\r\r ¿Desea cambiar el destino por VALENCIA?"));
        QCOMPARE(viaje("000001/05").value("Destino").toString(), QStringLiteral("MADRID"));
        // All three differ: the later questions show the trip as it was read.
        mensajes.limpiar();
        v.tabla()->edit();
        v.tabla()->setValue("Carga", "TERUEL");
        v.tabla()->setValue("Matricula", "2222BBB");
        mensajes.esperar(TipoMensaje::Confirmacion, true)
            .esperar(TipoMensaje::Informacion)
            .esperar(TipoMensaje::Confirmacion, true)
            .esperar(TipoMensaje::Informacion)
            .esperar(TipoMensaje::Confirmacion, false);
        QVERIFY(v.grabar());
        QVERIFY(mensajes.vistos()[2].texto.contains(QStringLiteral("    · Destino: MADRID\r")));
        QVERIFY(mensajes.vistos()[2].texto.endsWith(
            QStringLiteral(" ¿Desea cambiar el origen por TERUEL?")));
        QCOMPARE(mensajes.vistos()[4].texto,
                 QStringLiteral(
                     "Existe un viaje con: \r\r    ·  Número: 000001/05\r    ·  Matrícula cabeza: "
                     "1111AAA\r\r ¿Desea cambiar la matrícula del viaje por 2222BBB?"));
        const QVariantMap t = viaje("000001/05");
        QCOMPARE(t.value("Destino").toString(), QStringLiteral("VALENCIA"));
        QCOMPARE(t.value("Origen").toString(), QStringLiteral("TERUEL"));
        QCOMPARE(t.value("MatricTractor").toString(), QStringLiteral("1111AAA"));
    }

    void noQuestionsWithoutUnloadingPlaceAndAfterDelete() {
        ProgramaTemporal::insertar(*datos->db, "viaje.DB",
                                   {{"NumViaje", "000002/05"}, {"Origen", "OTRO"}});
        ProgramaTemporal::insertar(*datos->db, "viaje.DB",
                                   {{"NumViaje", "000003/05"},
                                    {"Destino", "TERUEL"},
                                    {"Origen", "HUESCA"},
                                    {"MatricTractor", "X"}});
        MensajesGuionizados mensajes;
        TFormPortes v;
        v.preparar();
        QVERIFY(v.tabla()->locate("Numero", "000002/05"));
        v.tabla()->edit();
        v.tabla()->setValue("Precio", 5.0);
        QVERIFY(v.grabar()); // no unloading place: nothing asked
        // Deleting asks about the haul that becomes current (000003/05, plate differs).
        mensajes.esperar(TipoMensaje::Confirmacion, true).esperar(TipoMensaje::Confirmacion, false);
        v.eliminar();
        QCOMPARE(v.tabla()->value("Numero").toString(), QStringLiteral("000003/05"));
        QVERIFY(
            mensajes.ultimoTexto().endsWith(QStringLiteral("matrícula del viaje por 3333CCC?")));
    }

    void listingPdf() {
        TFormPortes v;
        v.preparar();
        v.setMostrarTotal(true);
        v.filtrarPorValor("Pagado", "No");
        QTemporaryDir dir;
        const QString pdf = dir.filePath("portes.pdf");
        MotorListado motor(v.listado(), v.tabla());
        QVERIFY(motor.guardarPdf(pdf));
        QProcess p;
        p.start("pdftotext", {"-layout", pdf, "-"});
        QVERIFY(p.waitForFinished());
        const QString texto = QString::fromUtf8(p.readAllStandardOutput());
        QVERIFY2(texto.contains("LISTADO DE PORTES"), qPrintable(texto));
        QVERIFY(texto.contains("[Pagado] = 'No'"));
        QVERIFY2(texto.contains(QRegularExpression(QStringLiteral("Nº: +3"))), qPrintable(texto));
        QVERIFY(texto.contains("Total:"));
        QVERIFY(texto.contains("300,00"));
        QVERIFY2(texto.contains(QRegularExpression("1 - +TRANSPORTES PRUEBA")), qPrintable(texto));
        QVERIFY(texto.contains("1/1"));
        // No haul matches: the listing still prints, with a zero total.
        v.filtrarPorValor("Pagado", "Sí");
        MotorListado vacio(v.listado(), v.tabla());
        QCOMPARE(vacio.numeroPaginas(), 1);
        QVERIFY(vacio.paginas().first().textos().contains("Total:"));
    }

    void newHaulGetsTodayAndKeepsFlagsEmpty() {
        TFormPortes v;
        v.show();
        v.accion("ActNuevoPorte")->trigger();
        QCOMPARE(v.tabla()->value("Fecha").toDate(), QDate::currentDate());
        QVERIFY(v.tabla()->value("Facturado").isNull());
        QVERIFY(v.focusWidget());
        QCOMPARE(v.focusWidget()->objectName(), QStringLiteral("TxtNumero"));
        QVERIFY(!v.findChild<QWidget *>("BActPasarViaje")->isEnabled());
        QVERIFY(v.accion("ActPasarViaje")->isEnabled());
        v.tabla()->cancel();
        QVERIFY(v.findChild<QWidget *>("BActPasarViaje")->isEnabled());
    }
};

QTEST_MAIN(TstPortes)
#include "tst_portes.moc"
