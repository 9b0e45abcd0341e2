#include "MensajesGuionizados.h"
#include "ProgramaTemporal.h"
#include "app/IniFile.h"
#include "app/TFormMenuPrincipal.h"
#include "common/ControlesDatos.h"
#include "common/MotorListado.h"
#include "invoicing/TFormClientes.h"
#include "store/Query.h"
#include "store/TDatos.h"
#include "store/Table.h"

#include <QAction>
#include <QDate>
#include <QPushButton>
#include <QTest>

// The clients window: deleting a client in use, the CIF of a stored client, and a new name
// carried into hauls and reports.
class TstClientes : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramaTemporal> programa;
    std::unique_ptr<TFormMenuPrincipal> principal;
    std::unique_ptr<TDatos> datos;

    void cliente(const char *cif, const char *nombre) {
        ProgramaTemporal::insertar(*datos->db, "cliente.DB", {{"CIF", cif}, {"Apellidos", nombre}});
    }
    void porte(const char *num, const char *cliente) {
        ProgramaTemporal::insertar(*datos->db, "portes.DB",
                                   {{"Numero", num},
                                    {"Fecha", QDate(2005, 2, 1)},
                                    {"Matricula", "1111AAA"},
                                    {"Transportista", cliente},
                                    {"Facturado", "No"},
                                    {"Pagado", "No"},
                                    {"Reportado", "No"}});
    }
    void reporte(const char *num, const char *cliente) {
        ProgramaTemporal::insertar(*datos->db, "reportes.DB",
                                   {{"Numero", num}, {"Transportista", cliente}});
    }
    void factura(const char *num, const char *cif) {
        ProgramaTemporal::insertar(
            *datos->db, "facturas.DB",
            {{"NumFactura", num}, {"Fecha", QDate(2005, 3, 1)}, {"CIF", cif}});
    }
    int cuenta(const QString &sql) {
        Query q(datos->db);
        q.setSql(sql);
        q.open();
        return q.value(q.fieldNames().first()).toInt();
    }
    static QPushButton *actualizar(TFormClientes &v) {
        return v.findChild<QPushButton *>(QStringLiteral("BActActualizarCambios"));
    }
    static void irA(TFormClientes &v, const char *nombre) {
        QVERIFY(v.tabla()->locate(QStringLiteral("Apellidos"), QString::fromUtf8(nombre)));
    }

private Q_SLOTS:
    void init() {
        programa = std::make_unique<ProgramaTemporal>();
        principal = std::make_unique<TFormMenuPrincipal>();
        datos = std::make_unique<TDatos>();
        datos->db->setPath(programa->crearEmpresa(1, QStringLiteral("TRANSPORTES PRUEBA")));
        datos->db->open();
        principal->ajustes = AjustesEmpresa::leer(IniFile(programa->ini()));
        cliente("A1", "ALFA");
        cliente("B2", "BETA");
        cliente("C3", "GAMMA");
        cliente("D4", "DELTA");
        porte("000001/05", "ALFA");
        factura("000001/05", "A1");
        reporte("000002/05", "BETA");
        factura("000002/05", "C3");
        // Differs from a client's name only in letter case or trailing blanks.
        porte("000003/05", "delta");
        reporte("000004/05", "DELTA ");
    }
    void cleanup() {
        datos.reset();
        principal.reset();
        programa.reset();
    }

    // The checks stop at the first hit, in the order hauls, reports, invoices; names and CIFs
    // compare exactly.
    void deleteChecks_data() {
        QTest::addColumn<QString>("nombre");
        QTest::addColumn<QString>("mensaje");
        QTest::newRow("hauls and invoices") << "ALFA"
                                            << "El cliente ALFA tiene portes. No se "
                                               "puede eliminar.";
        QTest::newRow("reports") << "BETA"
                                 << "El cliente BETA tiene reportes. No se puede "
                                    "eliminar.";
        QTest::newRow("invoices") << "GAMMA"
                                  << "El cliente GAMMA tiene facturas. No se puede "
                                     "eliminar.";
        QTest::newRow("other case and blanks") << "DELTA" << QString();
    }
    void deleteChecks() {
        QFETCH(QString, nombre);
        QFETCH(QString, mensaje);
        MensajesGuionizados mensajes;
        TFormClientes v;
        v.preparar();
        irA(v, nombre.toUtf8().constData());
        if (!mensaje.isEmpty()) {
            mensajes.esperar(TipoMensaje::Informacion);
            v.eliminar();
            QCOMPARE(mensajes.ultimoTexto(), mensaje);
            QCOMPARE(v.tabla()->recordCount(), 4);
            return;
        }
        const QString pregunta = QStringLiteral("¿Está seguro que desea eliminar el cliente [") +
                                 nombre +
                                 QStringLiteral("] permanentemente? Recuerde que no podrá "
                                                "recuperarlo.");
        mensajes.esperar(TipoMensaje::Confirmacion, false);
        v.eliminar();
        QCOMPARE(mensajes.ultimoTexto(), pregunta);
        QCOMPARE(v.tabla()->recordCount(), 4);
        mensajes.esperar(TipoMensaje::Confirmacion, true);
        v.eliminar();
        QCOMPARE(v.tabla()->recordCount(), 3);
        QCOMPARE(cuenta("select count(*) from cliente where Apellidos = 'DELTA'"), 0);
    }

    // Renaming ALFA carries the new name into its hauls and reports only; the exact-match rule
    // leaves "delta" and "DELTA " alone when DELTA is renamed.
    void renameCarriedIntoHaulsAndReports() {
        porte("000005/05", "ALFA");
        porte("000006/05", "ALFA");
        reporte("000007/05", "ALFA");
        MensajesGuionizados mensajes;
        TFormClientes v;
        v.preparar();
        irA(v, "ALFA");
        QVERIFY(!actualizar(v)->isEnabled());
        v.tabla()->edit();
        v.tabla()->setValue("Apellidos", "ALFA NUEVA");
        mensajes.esperar(TipoMensaje::Informacion);
        v.validar();
        QVERIFY(mensajes.ultimoTexto().startsWith("Si ha modificado el nombre del cliente"));
        QVERIFY(actualizar(v)->isEnabled());

        // Cancelled at the question: nothing changes.
        mensajes.esperar(TipoMensaje::Informacion, false);
        v.actualizarCambios();
        QCOMPARE(mensajes.ultimoTexto(),
                 QStringLiteral("ATENCIÓN: se va a modificar el nombre del cliente [ALFA] por el "
                                "nuevo nombre [ALFA NUEVA] en velmora.  ¡¡¡CONTINÚE SÓLO SI ESTÁ "
                                "SEGURO!!!"));
        QCOMPARE(cuenta("select count(*) from portes where Transportista = 'ALFA'"), 3);

        mensajes.esperar(TipoMensaje::Informacion, true).esperar(TipoMensaje::Informacion);
        v.actualizarCambios();
        QCOMPARE(mensajes.ultimoTexto(),
                 QStringLiteral("El proceso ha finalizado correctamente. Se han realizado [3] "
                                "modificaciones en portes y [1] modificaciones en reportes."));
        QCOMPARE(cuenta("select count(*) from portes where Transportista = 'ALFA NUEVA'"), 3);
        QCOMPARE(cuenta("select count(*) from reportes where Transportista = 'ALFA NUEVA'"), 1);
        QCOMPARE(cuenta("select count(*) from portes where Transportista = 'delta'"), 1);
        // Run again: nothing left to change.
        mensajes.esperar(TipoMensaje::Informacion, true).esperar(TipoMensaje::Informacion);
        v.actualizarCambios();
        QVERIFY(mensajes.ultimoTexto().contains("[0] modificaciones en portes y [0]"));

        // DELTA renamed: the haul "delta" and the report "DELTA " keep their names.
        irA(v, "DELTA");
        v.tabla()->edit();
        v.tabla()->setValue("Apellidos", "OMEGA");
        mensajes.esperar(TipoMensaje::Informacion);
        v.validar();
        mensajes.esperar(TipoMensaje::Informacion, true).esperar(TipoMensaje::Informacion);
        v.actualizarCambios();
        QVERIFY(mensajes.ultimoTexto().contains("[0] modificaciones en portes y [0]"));
        QCOMPARE(cuenta("select count(*) from reportes where Transportista = 'DELTA '"), 1);

        // A new client has no former name: nothing to carry, and hauls without a client keep
        // none.
        porte("000008/05", "");
        v.nuevo();
        QVERIFY(!actualizar(v)->isEnabled());
        v.tabla()->setValue("CIF", "F6");
        v.tabla()->setValue("Apellidos", "NUEVO");
        v.validar();
        mensajes.esperar(TipoMensaje::Informacion);
        v.actualizarCambios();
        QCOMPARE(mensajes.ultimoTexto(), QStringLiteral("No ha modificado el nombre del cliente."));
        QCOMPARE(cuenta("select count(*) from portes where Transportista = 'NUEVO'"), 0);
    }

    // Without a new name nothing is offered: an edit that keeps the name, and a new client.
    void noRenameOffered() {
        MensajesGuionizados mensajes; // any message fails the test
        TFormClientes v;
        v.preparar();
        irA(v, "BETA");
        v.tabla()->edit();
        v.tabla()->setValue("Ciudad", "ZARAGOZA");
        v.validar();
        QVERIFY(!actualizar(v)->isEnabled());
        v.nuevo();
        v.tabla()->setValue("CIF", "E5");
        v.tabla()->setValue("Apellidos", "ÉPSILON");
        v.validar();
        QCOMPARE(v.tabla()->state(), DataSet::Browse);
        QVERIFY(!actualizar(v)->isEnabled());
        QCOMPARE(mensajes.pendientes(), 0);
    }

    // The CIF box takes input for a new client only; the data panel only while editing.
    void cifLockedWhileEditingAStoredClient() {
        MensajesGuionizados mensajes;
        TFormClientes v;
        v.preparar();
        v.mostrarPagina(Pagina::Edicion);
        auto *cif = v.findChild<CajaDatos *>(QStringLiteral("TxtCIF"));
        auto *panel = v.findChild<QWidget *>(QStringLiteral("PanelDatos"));
        QVERIFY(!panel->isEnabled());
        v.tabla()->edit();
        QVERIFY(panel->isEnabled());
        QVERIFY(!cif->isEnabled());
        v.tabla()->cancel();
        QVERIFY(!panel->isEnabled());
        v.nuevo();
        QVERIFY(panel->isEnabled());
        QVERIFY(cif->isEnabled());
    }

    // A repeated or missing CIF gets the window's message and the typed client stays.
    void badCifKeepsTheRecord_data() {
        QTest::addColumn<QVariant>("cif");
        QTest::newRow("repeated") << QVariant("A1");
        QTest::newRow("missing") << QVariant();
        QTest::newRow("blank") << QVariant("  ");
    }
    void badCifKeepsTheRecord() {
        QFETCH(QVariant, cif);
        MensajesGuionizados mensajes;
        TFormClientes v;
        v.preparar();
        v.nuevo();
        v.tabla()->setValue("CIF", cif);
        v.tabla()->setValue("Apellidos", "OTRO");
        mensajes.esperar(TipoMensaje::Error).esperar(TipoMensaje::Error);
        v.validar();
        QCOMPARE(mensajes.vistos().first().texto,
                 QStringLiteral("El CIF del cliente ya existe o no lo ha introducido "
                                "correctamente, cámbielo y vuelva a intentarlo."));
        QCOMPARE(v.tabla()->state(), DataSet::Insert);
        QCOMPARE(v.tabla()->value("Apellidos").toString(), QStringLiteral("OTRO"));
        QCOMPARE(cuenta("select count(*) from cliente"), 4);
    }

    void searchesAndOrders() {
        MensajesGuionizados mensajes;
        TFormClientes v;
        v.preparar();
        // Opened by name.
        v.tabla()->first();
        QCOMPARE(v.tabla()->value("Apellidos").toString(), QStringLiteral("ALFA"));
        v.buscarIncremental(QStringLiteral("DE"));
        QCOMPARE(v.tabla()->value("Apellidos").toString(), QStringLiteral("DELTA"));
        const DeclBusqueda porNombre{DeclBusqueda::Mascara, "Nombre:", "Apellidos", "",
                                     "No se ha encontrado ningún cliente con ese nombre"};
        mensajes.esperar(TipoMensaje::Informacion);
        QVERIFY(!v.buscarPorCampo(porNombre, QStringLiteral("beta")));
        QCOMPARE(v.tabla()->value("Apellidos").toString(), QStringLiteral("DELTA"));
        QVERIFY(v.buscarPorCampo(porNombre, QStringLiteral("BETA")));
        QCOMPARE(v.paginaActual(), Pagina::Lista);
        v.ordenar(0);
        v.buscarIncremental(QStringLiteral("C"));
        QCOMPARE(v.tabla()->value("CIF").toString(), QStringLiteral("C3"));
    }

    void listing() {
        TFormClientes v;
        v.preparar();
        MotorListado motor(v.listado(), v.tabla());
        QCOMPARE(motor.numeroPaginas(), 1);
        const QStringList textos = motor.paginas().first().textos();
        QVERIFY(textos.contains("LISTADO DE CLIENTES"));
        for (const char *t : {"C.I.F.", "Nombre", "Dirección", "Provincia", "Ciudad", "País",
                              "Teléfono", "ALFA", "DELTA"})
            QVERIFY2(textos.contains(QString::fromUtf8(t)), t);
    }
};

QTEST_MAIN(TstClientes)
#include "tst_clientes.moc"
