#include "MensajesGuionizados.h"
#include "ProgramaTemporal.h"
#include "app/IniFile.h"
#include "app/TFormMenuPrincipal.h"
#include "common/ControlesDatos.h"
#include "common/RejillaEdicion.h"
#include "invoicing/CalculoFactura.h"
#include "invoicing/TFormFacturacion.h"
#include "store/Query.h"
#include "store/TDatos.h"
#include "store/Table.h"

#include <QDate>
#include <QLabel>
#include <QTableView>
#include <QTest>

// Invoices: the calculation of lines and totals, collection, delete and the window's filters.
class TstFacturas : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramaTemporal> programa;
    std::unique_ptr<TFormMenuPrincipal> principal;
    std::unique_ptr<TDatos> datos;

    qint64 porte(const char *num, const char *cliente, const char *carga, const char *descarga,
                 double precio) {
        return ProgramaTemporal::insertar(*datos->db, "portes.DB",
                                          {{"Numero", num},
                                           {"Fecha", QDate(2005, 1, 10)},
                                           {"Matricula", "1111AAA"},
                                           {"Transportista", cliente},
                                           {"Carga", carga},
                                           {"Descarga", descarga},
                                           {"Precio", precio},
                                           {"Facturado", "No"},
                                           {"Pagado", "No"},
                                           {"Reportado", "No"}});
    }
    qint64 reporte(const char *num, const char *cliente, const char *carga, const char *descarga,
                   double precio) {
        return ProgramaTemporal::insertar(*datos->db, "reportes.DB",
                                          {{"Numero", num},
                                           {"Fecha", QDate(2005, 1, 12)},
                                           {"Transportista", cliente},
                                           {"Carga", carga},
                                           {"Descarga", descarga},
                                           {"Precio", precio},
                                           {"Facturado", "No"},
                                           {"Pagado", "No"}});
    }
    void viaje(const char *num, const char *remolque, QVariant idPorte, QVariant idReporte) {
        ProgramaTemporal::insertar(*datos->db, "viaje.DB",
                                   {{"NumViaje", num},
                                    {"MatricRemolque", remolque},
                                    {"NumeroPorte", idPorte},
                                    {"NumeroReporte", idReporte}});
    }
    void factura(const char *num, const char *cif, QVariantMap extra = {}) {
        extra.insert("NumFactura", num);
        extra.insert("Fecha", QDate(2005, 1, 31));
        if (cif)
            extra.insert("CIF", cif);
        ProgramaTemporal::insertar(*datos->db, "facturas.DB", extra);
    }
    void linea(const char *factura, QVariant idPorte, QVariant idReporte,
               QVariant importe = QVariant(), const char *concepto = nullptr) {
        QVariantMap m{{"NumFactura", factura},
                      {"IDPorte", idPorte},
                      {"IDReporte", idReporte},
                      {"Importe", importe}};
        if (concepto)
            m.insert("Concepto", concepto);
        ProgramaTemporal::insertar(*datos->db, "detalle.DB", m);
    }
    QVariant valor(const QString &sql) {
        Query q(datos->db);
        q.setSql(sql);
        q.open();
        return q.isEmpty() ? QVariant() : q.value(q.fieldNames().first());
    }
    QStringList conceptos(const char *factura) {
        Query q(datos->db);
        q.setSql(QStringLiteral("select Concepto from detalle where NumFactura = '%1' order by "
                                "NumRegistro")
                     .arg(QString::fromLatin1(factura)));
        q.open();
        QStringList out;
        for (q.first(); !q.eof(); q.next())
            out << q.value("Concepto").toString();
        return out;
    }

private Q_SLOTS:
    void init() {
        programa = std::make_unique<ProgramaTemporal>();
        principal = std::make_unique<TFormMenuPrincipal>();
        datos = std::make_unique<TDatos>();
        datos->db->setPath(programa->crearEmpresa(1, QStringLiteral("TRANSPORTES PRUEBA")));
        datos->db->open();
        principal->ajustes = AjustesEmpresa::leer(IniFile(programa->ini()));
        ProgramaTemporal::insertar(
            *datos->db, "cliente.DB",
            {{"CIF", "B1"}, {"Apellidos", "CLIENTE UNO"}, {"Pais", "ESPAÑA"}});
        ProgramaTemporal::insertar(*datos->db, "cliente.DB",
                                   {{"CIF", "B2"}, {"Apellidos", "CLIENTE DOS"}});
    }
    void cleanup() {
        datos.reset();
        principal.reset();
        programa.reset();
    }

    // Totals from the lines and the invoice's discount, VAT, rate, payment on account and
    // withholding, each stored rounded to the cent, halves away from zero.
    void totals_data() {
        QTest::addColumn<QVariantList>("importes");
        QTest::addColumn<QVariantMap>("factura");
        QTest::addColumn<QVariantMap>("esperado");
        const QVariantList ejemplo{1000.0, 250.5};
        QTest::newRow("worked example")
            << ejemplo << QVariantMap{{"Iva", 16.0}, {"Cambio", 0.0}, {"Retencion", 0.0}}
            << QVariantMap{{"Tbruto", 1250.5},   {"Base", 1250.5},
                           {"TotalIva", 200.08}, {"TotalRecibo", 1450.58},
                           {"APagar", 1450.58},  {"Euros", 1450.58},
                           {"Iva", 16.0}};
        QTest::newRow("discount 10")
            << ejemplo << QVariantMap{{"Iva", 16.0}, {"Dto", 10.0}, {"Cambio", 0.0}}
            << QVariantMap{{"Base", 1125.45}, {"TotalIva", 180.07}, {"TotalRecibo", 1305.52}};
        QTest::newRow("other currency")
            << ejemplo
            << QVariantMap{{"Iva", 16.0}, {"Cambio", 1.1}, {"Moneda", "USD"}, {"OtroImporte", 5.0}}
            << QVariantMap{{"TotalIva", 0.0},
                           {"Iva", 0.0},
                           {"TotalRecibo", 1250.5},
                           {"APagar", 1250.5},
                           {"OtroImporte", 1375.55}};
        QTest::newRow("rate 0 keeps VAT rate and other amount")
            << ejemplo << QVariantMap{{"Iva", 16.0}, {"Cambio", 0.0}, {"OtroImporte", 5.0}}
            << QVariantMap{{"Iva", 16.0}, {"OtroImporte", 5.0}};
        QTest::newRow("paid on account and withheld")
            << ejemplo
            << QVariantMap{{"Iva", 16.0},
                           {"Cambio", 0.0},
                           {"Acuenta", 450.58},
                           {"Retencion", 100.0}}
            << QVariantMap{{"TotalRecibo", 1450.58}, {"APagar", 900.0}};
        QTest::newRow("half cent up") << QVariantList{0.125} << QVariantMap{}
                                      << QVariantMap{{"Tbruto", 0.13}, {"TotalIva", 0.0}};
        QTest::newRow("free and empty lines")
            << QVariantList{QVariant(), 10.0} << QVariantMap{} << QVariantMap{{"Tbruto", 10.0}};
    }
    void totals() {
        QFETCH(QVariantList, importes);
        QFETCH(QVariantMap, factura);
        QFETCH(QVariantMap, esperado);
        this->factura("000001/05", "B1", factura);
        for (const QVariant &i : importes)
            linea("000001/05", QVariant(), QVariant(), i, "LIBRE");
        CalculoFactura(*datos->db).calcular("000001/05", "CLIENTE UNO");
        for (auto it = esperado.begin(); it != esperado.end(); ++it)
            QVERIFY2(qFuzzyCompare(1 + valor("select " + it.key() + " from facturas").toDouble(),
                                   1 + it.value().toDouble()),
                     qPrintable(it.key() + " = " +
                                valor("select " + it.key() + " from facturas").toString()));
        // Free lines keep what was typed.
        QCOMPARE(conceptos("000001/05").value(0), QStringLiteral("LIBRE"));
    }

    // A rate set once forces VAT to 0 for good: setting it back to 0 does not bring VAT back.
    void rateBackToZeroKeepsNoVat() {
        factura("000001/05", "B1", {{"Iva", 16.0}, {"Cambio", 1.1}});
        linea("000001/05", QVariant(), QVariant(), 100.0);
        CalculoFactura c(*datos->db);
        c.calcular("000001/05", "CLIENTE UNO");
        datos->db->exec("update facturas set Cambio = 0");
        c.calcular("000001/05", "CLIENTE UNO");
        QCOMPARE(valor("select TotalIva from facturas").toDouble(), 0.0);
        QCOMPARE(valor("select APagar from facturas").toDouble(), 100.0);
    }

    // Lines filled from their haul or report: places, plate, price, date and number; only a to
    // z become capitals on a haul; a report keeps its places as stored.
    void linesFromHaulsAndReports() {
        const qint64 p1 = porte("000010/05", "CLIENTE UNO", "Málaga", "león", 1000);
        const qint64 p2 = porte("000011/05", "CLIENTE UNO", "Teruel", "Zaragoza", 250.5);
        const qint64 r1 = reporte("000012/05", "CLIENTE UNO", "Málaga", "león", 300);
        const qint64 r2 = reporte("000013/05", "CLIENTE UNO", "Huesca", "Soria", 40);
        const qint64 r3 = reporte("000014/05", "CLIENTE UNO", "Jaca", "Tarbes", 60);
        viaje("000010/05", "R-111", p1, QVariant());
        viaje("000012/05", "R-222", QVariant(), r1);
        viaje("000013/05", "R-333", QVariant(), QVariant()); // found through the report's number
        factura("000001/05", "B1", {{"Iva", 16.0}, {"Cambio", 0.0}});
        linea("000001/05", p1, QVariant());
        linea("000001/05", p2, QVariant()); // no trip: nothing after the dash
        linea("000001/05", QVariant(), r1);
        linea("000001/05", QVariant(), r2);
        linea("000001/05", QVariant(), r3);   // no trip at all: no plate
        linea("000001/05", QVariant(), 9999); // a report that no longer exists
        const ResultadoFactura r =
            CalculoFactura(*datos->db).calcular("000001/05", "CLIENTE UNO", QDate(2005, 2, 1));
        QCOMPARE(conceptos("000001/05"), QStringList({"PORTE DESDE MáLAGA HASTA LEóN - R-111",
                                                      "PORTE DESDE TERUEL HASTA ZARAGOZA - ",
                                                      "PORTE DESDE Málaga HASTA león - R-222",
                                                      "PORTE DESDE Huesca HASTA Soria - R-333",
                                                      "PORTE DESDE Jaca HASTA Tarbes - ", ""}));
        QVERIFY(r.avisos.isEmpty());
        QVERIFY(r.reportesSinMatricula);
        QCOMPARE(
            valor("select NumPorte from detalle where IDPorte = " + QString::number(p1)).toString(),
            QStringLiteral("000010/05"));
        QCOMPARE(
            valor("select Fecha from detalle where IDReporte = " + QString::number(r1)).toString(),
            QStringLiteral("2005-01-12"));
        // The vanished report's line: no amount, quantity 1, today's date, no number.
        QCOMPARE(valor("select Importe from detalle where IDReporte = 9999").toDouble(), 0.0);
        QCOMPARE(valor("select Cantidad from detalle where IDReporte = 9999").toDouble(), 1.0);
        QCOMPARE(valor("select Fecha from detalle where IDReporte = 9999").toString(),
                 QStringLiteral("2005-02-01"));
        QVERIFY(valor("select NumPorte from detalle where IDReporte = 9999").isNull());
        QCOMPARE(valor("select Tbruto from facturas").toDouble(), 1650.5);
        QCOMPARE(valor("select count(*) from portes where Facturado = 'Sí'").toInt(), 2);
        QCOMPARE(valor("select count(*) from reportes where Facturado = 'Sí'").toInt(), 3);
        // Run again: the same lines and totals.
        CalculoFactura(*datos->db).calcular("000001/05", "CLIENTE UNO", QDate(2005, 2, 1));
        QCOMPARE(conceptos("000001/05").value(0),
                 QStringLiteral("PORTE DESDE MáLAGA HASTA LEóN - R-111"));
        QCOMPARE(valor("select Tbruto from facturas").toDouble(), 1650.5);
    }

    // Each haul or report line of another client warns once; an invoice without client warns
    // for every line whose client is named.
    void clientWarnings() {
        const qint64 p1 = porte("000010/05", "CLIENTE DOS", "A", "B", 10);
        const qint64 p2 = porte("000011/05", "", "A", "B", 10);
        const qint64 r1 = reporte("000012/05", "CLIENTE UNO", "A", "B", 10);
        factura("000001/05", "B1");
        linea("000001/05", p1, QVariant());
        linea("000001/05", p2, QVariant());
        linea("000001/05", QVariant(), r1);
        ResultadoFactura r = CalculoFactura(*datos->db).calcular("000001/05", "CLIENTE UNO");
        QCOMPARE(r.avisos.size(), 2);
        QCOMPARE(r.avisos.first(),
                 QStringLiteral("Atención: el cliente del porte: \r\r[%1] -> [CLIENTE DOS]\r\rno "
                                "coincide con el cliente de la factura: \r\r[CLIENTE UNO].")
                     .arg(p1));
        r = CalculoFactura(*datos->db).calcular("000001/05", QString());
        QCOMPARE(r.avisos.size(), 2);
        QVERIFY(r.avisos.last().startsWith("Atención: el cliente del reporte: "));
    }

    // "Cobrada Sí": asked once (twice when already collected); the invoice, its hauls and its
    // reports collected; the count on the status bar.
    void collected() {
        const qint64 p1 = porte("000010/05", "CLIENTE UNO", "A", "B", 10);
        const qint64 r1 = reporte("000012/05", "CLIENTE UNO", "A", "B", 10);
        factura("000001/05", "B1");
        linea("000001/05", p1, QVariant());
        linea("000001/05", QVariant(), r1);
        linea("000001/05", 4444, QVariant()); // names no existing haul
        MensajesGuionizados mensajes;
        TFormFacturacion v;
        v.preparar();
        mensajes.esperar(TipoMensaje::Confirmacion, false);
        v.cobrada();
        QCOMPARE(valor("select Pagado from facturas").toInt(), 0);
        mensajes.esperar(TipoMensaje::Confirmacion, true);
        v.cobrada();
        QCOMPARE(mensajes.ultimoTexto(),
                 QStringLiteral("Está seguro que desea actualizar la factura nº: 000001/05 y sus "
                                "velmora como cobrados?"));
        QCOMPARE(valor("select Pagado from facturas").toInt(), 1);
        QCOMPARE(valor("select Pagado from portes").toString(), QStringLiteral("Sí"));
        QCOMPARE(valor("select Pagado from reportes").toString(), QStringLiteral("Sí"));
        QCOMPARE(principal->findChild<QLabel *>("BEEmpresa")->text(),
                 QStringLiteral("1 Portes y 1 Reportes actualizados"));
        QVERIFY(v.tabla()->value("Pagado").toBool());
        // Already collected: the warning first; No to it changes nothing.
        datos->db->exec("update portes set Pagado = 'No'");
        mensajes.esperar(TipoMensaje::Confirmacion, false);
        v.cobrada();
        QVERIFY(mensajes.ultimoTexto().startsWith("Atención la factura nº: 000001/05 ya ha sido "
                                                  "cobrada."));
        QCOMPARE(valor("select Pagado from portes").toString(), QStringLiteral("No"));
        QCOMPARE(mensajes.pendientes(), 0);
    }

    void deleteTakesTheLinesOnly() {
        const qint64 p1 = porte("000010/05", "CLIENTE UNO", "A", "B", 10);
        factura("000001/05", "B1");
        factura("000002/05", "B1");
        linea("000001/05", p1, QVariant());
        linea("000002/05", QVariant(), QVariant(), 5.0);
        CalculoFactura(*datos->db).calcular("000001/05", "CLIENTE UNO");
        MensajesGuionizados mensajes;
        TFormFacturacion v;
        v.preparar();
        v.tabla()->first();
        mensajes.esperar(TipoMensaje::Confirmacion, false);
        v.eliminar();
        QCOMPARE(mensajes.ultimoTexto(),
                 QStringLiteral("¿Está seguro que desea eliminar la factura nº: [000001/05] ?"));
        QCOMPARE(valor("select count(*) from facturas").toInt(), 2);
        mensajes.esperar(TipoMensaje::Confirmacion, true);
        v.eliminar();
        QCOMPARE(valor("select count(*) from facturas").toInt(), 1);
        QCOMPARE(valor("select count(*) from detalle").toInt(), 1);
        QCOMPARE(valor("select Facturado from portes").toString(), QStringLiteral("Sí"));
    }

    // The window's filter expressions, and the bottom bar with and without "Mostrar total".
    void filtersAndTotals() {
        factura("000001/05", "B1", {{"APagar", 100.0}, {"Pagado", true}});
        factura("000002/05", "B1", {{"APagar", -300.0}});
        factura("000003/05", "B2", {{"APagar", 50.0}});
        TFormFacturacion v;
        v.preparar();
        QCOMPARE(v.textoFiltro(), QStringLiteral("Todas (sin filtro)"));
        v.setAcumular(true);
        v.filtrarPorValor("Pagado", "True", true);
        QCOMPARE(v.textoFiltro(), QStringLiteral("Pagado = 'True'"));
        v.filtrarPorValor("CIF", "B1", true);
        QCOMPARE(v.textoFiltro(), QStringLiteral("Pagado = 'True' AND [CIF] = 'B1'"));
        QCOMPARE(v.textoNumero(), QStringLiteral("1"));
        v.setAcumular(false);
        v.filtrarPorValor("CIF", "B1", true);
        v.setAcumular(true);
        v.filtrarPorPeriodo("Fecha", "01/01/05", "31/01/05");
        QCOMPARE(v.textoFiltro(),
                 QStringLiteral("[Fecha] >= '01/01/05' AND [Fecha] <= '31/01/05' AND CIF = 'B1'"));
        QCOMPARE(v.tabla()->recordCount(), 2);
        // Without "Mostrar total" the total of every invoice, in pesetas' form.
        v.setMostrarTotal(false);
        v.quitarFiltros();
        QCOMPARE(v.textoFiltro(), QStringLiteral("Todas (sin filtro)"));
        QCOMPARE(v.textoNumero(), QStringLiteral("3"));
        QCOMPARE(v.textoImporte(), QStringLiteral("(150,00) Ptas."));
        v.setMostrarTotal(true);
        v.quitarFiltros();
        QVERIFY2(v.textoImporte().startsWith(QStringLiteral("-150,00 ")),
                 qPrintable(v.textoImporte()));
    }

    void newInvoiceAndItsClient() {
        // The client box shows the invoice's client, not the first of its list.
        factura("000001/05", "B2");
        MensajesGuionizados mensajes;
        TFormFacturacion v;
        v.preparar();
        QCOMPARE(v.findChild<ListaBusquedaDatos *>("TxtCliente")->textoMostrado(),
                 QStringLiteral("CLIENTE DOS"));
        v.nuevo();
        QCOMPARE(v.tabla()->value("Fecha").toDate(), QDate::currentDate());
        QCOMPARE(v.tabla()->value("C").toString(), QStringLiteral("T"));
        QCOMPARE(v.tabla()->value("Cambio").toDouble(), 0.0);
        v.tabla()->setValue("NumFactura", "000009/05");
        v.tabla()->setValue("CIF", "B1");
        v.tabla()->setValue("Moneda", "USD");
        QCOMPARE(v.textoPais(), QStringLiteral("ESPAÑA"));
        QCOMPARE(v.etiquetaOtroImporte(), QStringLiteral("A pagar (USD):"));
        QVERIFY(v.grabar());
        QCOMPARE(v.tabla()->value("LCliente").toString(), QStringLiteral("CLIENTE UNO"));
        // Moving down past the last line adds one to the invoice, once.
        QTableView *lineas = v.rejillaLineas()->vista();
        // A line added and left untouched is dropped.
        QTest::keyClick(lineas, Qt::Key_Down);
        QVERIFY(v.rejillaLineas()->grabar());
        QCOMPARE(valor("select count(*) from detalle").toInt(), 0);
        QTest::keyClick(lineas, Qt::Key_Down);
        QCOMPARE(v.lineas()->state(), DataSet::Insert);
        QCOMPARE(v.lineas()->value("NumFactura").toString(), QStringLiteral("000009/05"));
        QTest::keyClick(lineas, Qt::Key_Down);
        QCOMPARE(lineas->model()->rowCount(), 1);
        QVERIFY(lineas->model()->setData(lineas->model()->index(0, 5), QStringLiteral("7,5"),
                                         Qt::EditRole));
        QVERIFY(v.rejillaLineas()->grabar());
        QCOMPARE(valor("select Importe from detalle where NumFactura = '000009/05'").toDouble(),
                 7.5);
        // A repeated number keeps the typed invoice.
        v.nuevo();
        v.tabla()->setValue("NumFactura", "000009/05");
        mensajes.esperar(TipoMensaje::Error).esperar(TipoMensaje::Error);
        QVERIFY(!v.grabar());
        QCOMPARE(mensajes.vistos().first().texto,
                 QStringLiteral("El número de factura ya existe, cámbielo y vuelva a intentarlo."));
        QCOMPARE(v.tabla()->state(), DataSet::Insert);
    }
};

QTEST_MAIN(TstFacturas)
#include "tst_facturas.moc"
