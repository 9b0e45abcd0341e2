#include "MensajesGuionizados.h"
#include "ProgramaTemporal.h"
#include "app/IniFile.h"
#include "app/TFormMenuPrincipal.h"
#include "common/RejillaEdicion.h"
#include "expenses/CalculoGasto.h"
#include "expenses/TFormGastos.h"
#include "store/Query.h"
#include "store/TDatos.h"
#include "store/Table.h"

#include <QDate>
#include <QTest>

// Expenses: the calculation of lines and totals, the window's filters, search, delete and the
// removal of old expenses.
class TstGastos : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramaTemporal> programa;
    std::unique_ptr<TFormMenuPrincipal> principal;
    std::unique_ptr<TDatos> datos;

    qint64 gasto(QDate fecha, const char *matricula, QVariant iva = QVariant()) {
        return ProgramaTemporal::insertar(*datos->db, "Gastos.DB",
                                          {{"Fecha", fecha},
                                           {"Matricula", matricula},
                                           {"Tipo", "Impuestos"},
                                           {"PorcentajeIVA", iva},
                                           {"Pagado", false}});
    }
    void linea(qint64 gasto, QVariant cantidad, QVariant precio) {
        ProgramaTemporal::insertar(*datos->db, "detagast.DB",
                                   {{"NumeroGasto", gasto},
                                    {"Concepto", "CONCEPTO"},
                                    {"Cantidad", cantidad},
                                    {"Precio", precio}});
    }
    QVariant valor(const QString &sql) {
        Query q(datos->db);
        q.setSql(sql);
        q.open();
        return q.isEmpty() ? QVariant() : q.value(q.fieldNames().first());
    }

private Q_SLOTS:
    void init() {
        programa = std::make_unique<ProgramaTemporal>();
        principal = std::make_unique<TFormMenuPrincipal>();
        datos = std::make_unique<TDatos>();
        datos->db->setPath(programa->crearEmpresa(1, QStringLiteral("TRANSPORTES PRUEBA")));
        datos->db->open();
        principal->ajustes = AjustesEmpresa::leer(IniFile(programa->ini()));
    }
    void cleanup() {
        datos.reset();
        principal.reset();
        programa.reset();
    }

    // Quantity × price, an empty one counting 1; VAT from the percentage; euros at 166,386.
    void calculation_data() {
        QTest::addColumn<QVariantList>("lineas"); // quantity, price pairs
        QTest::addColumn<QVariant>("iva");
        QTest::addColumn<QList<double>>("esperado"); // base, VAT, total, euros
        QTest::newRow("no lines") << QVariantList{} << QVariant(16.0) << QList<double>{0, 0, 0, 0};
        QTest::newRow("price only")
            << QVariantList{QVariant(), 12.5} << QVariant() << QList<double>{12.5, 0, 12.5, 0.08};
        QTest::newRow("quantity only")
            << QVariantList{3.0, QVariant()} << QVariant() << QList<double>{3, 0, 3, 0.02};
        QTest::newRow("neither") << QVariantList{QVariant(), QVariant()} << QVariant()
                                 << QList<double>{1, 0, 1, 0.01};
        QTest::newRow("worked example") << QVariantList{2.0, 10.0, 1.0, 5.5} << QVariant(16.0)
                                        << QList<double>{25.5, 4.08, 29.58, 0.18};
    }
    void calculation() {
        QFETCH(QVariantList, lineas);
        QFETCH(QVariant, iva);
        QFETCH(QList<double>, esperado);
        const qint64 n = gasto(QDate(2005, 3, 1), "1111AAA", iva);
        for (int i = 0; i + 1 < lineas.size(); i += 2)
            linea(n, lineas[i], lineas[i + 1]);
        const ResultadoGasto r = calcularGasto(*datos->db, n);
        QCOMPARE(r.base, esperado[0]);
        QVERIFY(qFuzzyCompare(1 + r.importeIva, 1 + esperado[1]));
        QVERIFY(qFuzzyCompare(1 + r.importeTotal, 1 + esperado[2]));
        QCOMPARE(r.euros, esperado[3]);
        QCOMPARE(valor("select Euros from Gastos").toDouble(), esperado[3]);
        QCOMPARE(valor("select TOTAL(Importe) from detagast").toDouble(), esperado[0]);
    }

    void filtersAccumulate() {
        gasto(QDate(2005, 3, 1), "1111AAA");
        gasto(QDate(2006, 3, 1), "1111AAA");
        gasto(QDate(2005, 5, 1), "2222BBB");
        TFormGastos v;
        v.preparar();
        v.setAcumular(true);
        v.filtrarPorValor("Matricula", "1111AAA"); // nothing to join to: replaces
        QCOMPARE(v.textoFiltro(), QStringLiteral("[Matricula] = '1111AAA'"));
        v.filtrarPorPeriodo("Fecha", "01/01/05", "31/12/05");
        QCOMPARE(v.textoFiltro(), QStringLiteral("[Fecha] >= '01/01/05' AND [Fecha] <= "
                                                 "'31/12/05' AND [Matricula] = '1111AAA'"));
        QCOMPARE(v.tabla()->recordCount(), 1);
        v.quitarFiltros();
        v.filtrarPorPeriodo("Fecha", "01/01/05", "31/12/05");
        v.filtrarPorValor("Matricula", "2222BBB");
        QCOMPARE(v.textoFiltro(), QStringLiteral("[Fecha] >= '01/01/05' AND [Fecha] <= "
                                                 "'31/12/05' AND [Matricula] = '2222BBB'"));
        QCOMPARE(v.textoNumero(), QStringLiteral("1"));
    }

    // The search box goes to the expense with that number, and stays without one.
    void exactNumberSearch() {
        gasto(QDate(2005, 3, 1), "1111AAA");
        gasto(QDate(2005, 3, 2), "1111AAA");
        gasto(QDate(2005, 3, 3), "1111AAA");
        TFormGastos v;
        v.preparar();
        v.buscarIncremental("2");
        QCOMPARE(v.tabla()->value("Numero").toInt(), 2);
        v.buscarIncremental("99");
        QCOMPARE(v.tabla()->value("Numero").toInt(), 2);
        v.buscarIncremental("x");
        QCOMPARE(v.tabla()->value("Numero").toInt(), 2);
    }

    void deleteWithLines() {
        MensajesGuionizados mensajes;
        {
            TFormGastos vacia;
            vacia.preparar();
            vacia.eliminar(); // an empty table asks nothing
        }
        const qint64 a = gasto(QDate(2005, 3, 1), "1111AAA");
        const qint64 b = gasto(QDate(2005, 3, 2), "1111AAA");
        linea(a, 1.0, 1.0);
        linea(a, 1.0, 1.0);
        linea(b, 1.0, 1.0);
        TFormGastos v;
        v.preparar();
        v.tabla()->first();
        mensajes.esperar(TipoMensaje::Confirmacion, true);
        v.eliminar();
        QCOMPARE(mensajes.ultimoTexto(),
                 QStringLiteral("¿Está seguro que desea eliminar el gasto actual?"));
        QCOMPARE(valor("select count(*) from Gastos").toInt(), 1);
        QCOMPARE(valor("select count(*) from detagast").toInt(), 1);
    }

    // Expenses before 2001 go with their lines, only among those the filter shows, and only
    // after the user says so.
    void oldExpensesRemoved() {
        const qint64 viejo = gasto(QDate(2000, 12, 31), "1111AAA");
        gasto(QDate(2000, 6, 1), "2222BBB");
        gasto(QDate(2001, 1, 1), "1111AAA");
        linea(viejo, 1.0, 1.0);
        MensajesGuionizados mensajes;
        TFormGastos v;
        v.preparar();
        v.filtrarPorValor("Matricula", "1111AAA");
        mensajes.esperar(TipoMensaje::Confirmacion, false);
        v.actualizar();
        QCOMPARE(valor("select count(*) from Gastos").toInt(), 3);
        mensajes.esperar(TipoMensaje::Confirmacion, true);
        v.actualizar();
        QCOMPARE(valor("select count(*) from Gastos").toInt(), 2);
        QCOMPARE(valor("select count(*) from Gastos where Matricula = '2222BBB'").toInt(), 1);
        QCOMPARE(valor("select count(*) from detagast").toInt(), 0);
    }

    void newExpenseAndItsLine() {
        MensajesGuionizados mensajes;
        TFormGastos v;
        v.preparar();
        v.nuevo();
        QCOMPARE(v.tabla()->value("Fecha").toDate(), QDate::currentDate());
        v.tabla()->setValue("Matricula", "1111AAA");
        v.tabla()->setValue("Tipo", "Telefono");
        v.rejillaLineas()->anadir();
        QCOMPARE(v.tabla()->state(), DataSet::Browse);
        QCOMPARE(v.lineas()->value("NumeroGasto").toInt(), v.tabla()->value("Numero").toInt());
        v.lineas()->setValue("Cantidad", 2.0);
        v.lineas()->setValue("Precio", 30.0);
        v.calcularGasto();
        QCOMPARE(valor("select Base from Gastos").toDouble(), 60.0);
        QCOMPARE(v.tabla()->value("ImporteTotal").toDouble(), 60.0);
    }
};

QTEST_MAIN(TstGastos)
#include "tst_gastos.moc"
