#include "ProgramaTemporal.h"
#include "operations/ResultadoViaje.h"
#include "store/Connection.h"
#include "store/Statement.h"
#include "store/StoreError.h"
#include "store/TDatos.h"

#include <QDate>
#include <QTest>
#include <cmath>

// The trip result and its recalculation over every trip.
class TstResultadoViaje : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramaTemporal> programa;
    std::unique_ptr<TDatos> datos;

    void insertar(const char *tabla, const QVariantMap &valores) {
        ProgramaTemporal::insertar(*datos->db, QString::fromUtf8(tabla), valores);
    }

    // Departure 01/03/05, arrival 03/03/05, odometer 1000 to 2250, driver at 0,05 per km and
    // 1200 a month, a toll of 60, fuel 300 l at 0,8 and 200 l at 0,75 without amounts, another
    // cost of 40; its haul is worth 2000 and its report 500. `cambios` replaces trip fields.
    void viajeEjemplo(const QString &num, const QVariantMap &cambios = {}) {
        QVariantMap v{{"NumViaje", num},
                      {"NumPorte", "000001/05"},
                      {"CondCIF", "11111111H"},
                      {"MatricTractor", "1111AAA"},
                      {"FechaSalida", QDate(2005, 3, 1)},
                      {"FechaLlegada", QDate(2005, 3, 3)},
                      {"Kmsalida", 1000.0},
                      {"Kmllegada", 2250.0}};
        for (auto it = cambios.begin(); it != cambios.end(); ++it)
            v.insert(it.key(), it.value());
        insertar("viaje.DB", v);
        insertar("gasautop.DB", {{"NumViaje", num}, {"Autopista", "A. Espana"}, {"Importe", 60.0}});
        insertar("gascombu.DB", {{"NumViaje", num}, {"Litros", 300.0}, {"Precio", 0.8}});
        insertar("gascombu.DB", {{"NumViaje", num}, {"Litros", 200.0}, {"Precio", 0.75}});
        insertar("gasviaje.DB", {{"NumViaje", num}, {"Concepto", "Dietas"}, {"Importe", 40.0}});
    }

    QVariantList columna(const QString &sql) {
        Statement st(datos->db->handle(), sql);
        QVariantList out;
        while (st.step())
            out << st.column(0);
        return out;
    }
    QVariantMap viaje(const QString &num) {
        Statement st(datos->db->handle(), QStringLiteral("SELECT * FROM viaje WHERE NumViaje = ?"));
        st.bind(1, num);
        QVariantMap m;
        if (st.step())
            for (int i = 0; i < st.columnCount(); ++i)
                m.insert(st.columnName(i), st.column(i));
        return m;
    }
    // Plate, month and year of every cost line, in one text per line, ordered.
    QStringList lineas(const QString &num) {
        QStringList out;
        for (const char *t : {"gasautop", "gascombu", "gasviaje"})
            for (const QVariant &v :
                 columna(QStringLiteral("SELECT COALESCE(Matricula, '-') || ' ' || "
                                        "COALESCE(Mes, '-') || ' ' || COALESCE(Ano, '-') FROM %1 "
                                        "WHERE NumViaje = '%2' ORDER BY NumRegistro")
                             .arg(QLatin1String(t), num)))
                out << QLatin1String(t) + QLatin1Char(' ') + v.toString();
        return out;
    }
    static void comparar(const QVariantMap &guardado, const QVariantMap &esperado) {
        for (auto it = esperado.begin(); it != esperado.end(); ++it) {
            const double g = guardado.value(it.key()).toDouble();
            const double e = it.value().toDouble();
            QVERIFY2(!guardado.value(it.key()).isNull() &&
                         std::abs(g - e) <= 1e-9 * std::max(1.0, std::abs(e)),
                     qPrintable(QStringLiteral("%1: %2 en lugar de %3")
                                    .arg(it.key())
                                    .arg(g, 0, 'g', 17)
                                    .arg(e, 0, 'g', 17)));
        }
    }
    void fallarAlGuardar(const char *num) {
        datos->db->exec(QStringLiteral("CREATE TRIGGER falla BEFORE UPDATE ON viaje "
                                       "WHEN NEW.NumViaje = '%1' "
                                       "BEGIN SELECT RAISE(ABORT, 'disco lleno'); END")
                            .arg(QLatin1String(num)));
    }

private Q_SLOTS:
    void init() {
        programa = std::make_unique<ProgramaTemporal>();
        datos = std::make_unique<TDatos>();
        datos->db->setPath(programa->crearEmpresa(1, QStringLiteral("TRANSPORTES PRUEBA")));
        datos->db->open();
        // Other drivers with other rates, for a trip whose driver is missing not to take theirs.
        insertar(
            "Camioner.DB",
            {{"CIF", "00000000A"}, {"Apellidos", "ABAD"}, {"PtsKm", 1.0}, {"SueldoBase", 3000.0}});
        insertar("Camioner.DB",
                 {{"CIF", ""}, {"Apellidos", "SIN NIF"}, {"PtsKm", 2.0}, {"SueldoBase", 900.0}});
        insertar("Camioner.DB", {{"CIF", "11111111H"},
                                 {"Apellidos", "PÉREZ"},
                                 {"PtsKm", 0.05},
                                 {"SueldoBase", 1200.0}});
        for (const auto &[num, precio] : {std::pair{"000001/05", 2000.0}, {"000003/05", 30.0}})
            insertar("portes.DB", {{"Numero", num},
                                   {"Fecha", QDate(2005, 3, 1)},
                                   {"Matricula", "1111AAA"},
                                   {"Precio", precio},
                                   {"Facturado", "No"},
                                   {"Pagado", "No"},
                                   {"Reportado", "No"}});
        // Reports without a number must not count for a trip without haul number.
        for (const auto &[num, precio] : {std::pair{"000001/05", 500.0},
                                          {"000002/05", 700.0},
                                          {"", 300.0},
                                          {"      /  ", 400.0}})
            insertar("reportes.DB", {{"Numero", num}, {"Precio", precio}});
    }
    void cleanup() {
        datos.reset();
        programa.reset();
    }

    void ejemploDelViaje() {
        viajeEjemplo("000001/05");
        const CalculoViaje r = ResultadoViaje(*datos).calcular("000001/05");
        QVERIFY(r.correcto());
        QCOMPARE(r.numDias, 2);
        QCOMPARE(r.kmtTotales, 1250.0);
        QCOMPARE(r.totalCombustible, 390.0);
        QCOMPARE(r.totalLitros, 500.0);
        QCOMPARE(r.totalCosteCamionero, 142.5);
        QCOMPARE(r.totalGastos, 632.5);
        QCOMPARE(r.totalIngresos, 2500.0);
        QCOMPARE(r.beneficios, 1867.5);
        QCOMPARE(r.porcentajeBeneficio, 74.7);
        QCOMPARE(r.consumo, 40.0);
        QCOMPARE(r.ptaLitro, 0.78);
        QCOMPARE(r.precioKm, 2.0);
        comparar(viaje("000001/05"), {{"NumDias", 2},
                                      {"KmtTotales", 1250},
                                      {"TotalAutopista", 60},
                                      {"TotalCombustible", 390},
                                      {"TotalLitros", 500},
                                      {"TotalOtrosGastos", 40},
                                      {"TotalCosteCamionero", 142.5},
                                      {"TotalGastos", 632.5},
                                      {"TotalIngresos", 2500},
                                      {"Beneficios", 1867.5},
                                      {"PorcentajeBeneficio", 74.7},
                                      {"Consumo", 40},
                                      {"PtaLitro", 0.78},
                                      {"PrecioKm", 2}});
        QCOMPARE(columna("SELECT Importe FROM gascombu ORDER BY NumRegistro"),
                 (QVariantList{240.0, 150.0}));
        // Each line is placed in the arrival month on the trip's tractor.
        QCOMPARE(lineas("000001/05"),
                 (QStringList{"gasautop 1111AAA 3 2005", "gascombu 1111AAA 3 2005",
                              "gascombu 1111AAA 3 2005", "gasviaje 1111AAA 3 2005"}));
    }

    void resultados_data() {
        QTest::addColumn<QVariantMap>("cambios");
        QTest::addColumn<QVariantMap>("camionero");
        QTest::addColumn<QVariantMap>("combustible"); // one more fuel line, when given
        QTest::addColumn<QVariant>("importeLinea");   // that line's amount afterwards
        QTest::addColumn<QVariantMap>("esperado");

        const QVariant nada;
        QTest::newRow("salida y llegada el mismo día")
            << QVariantMap{{"FechaLlegada", QDate(2005, 3, 1)}} << QVariantMap() << QVariantMap()
            << nada << QVariantMap{{"NumDias", 1}, {"TotalCosteCamionero", 102.5}};
        QTest::newRow("cuentakilómetros al revés")
            << QVariantMap{{"Kmsalida", 2250.0}, {"Kmllegada", 1000.0}} << QVariantMap()
            << QVariantMap() << nada
            << QVariantMap{{"KmtTotales", 1250}, {"TotalCosteCamionero", 142.5}};
        QTest::newRow("días y kilómetros tecleados")
            << QVariantMap{{"NumDias", 5}, {"KmtTotales", 1000.0}} << QVariantMap() << QVariantMap()
            << nada
            << QVariantMap{{"NumDias", 5},
                           {"KmtTotales", 1000},
                           {"TotalCosteCamionero", 250},
                           {"Consumo", 50},
                           {"PrecioKm", 2.5}};
        QTest::newRow("combustible a 0 sin precio")
            << QVariantMap() << QVariantMap() << QVariantMap{{"Litros", 100.0}, {"Importe", 0.0}}
            << QVariant(0.0)
            << QVariantMap{{"TotalCombustible", 390},
                           {"TotalLitros", 600},
                           {"PtaLitro", 0.65},
                           {"Consumo", 48}};
        QTest::newRow("combustible con importe puesto")
            << QVariantMap() << QVariantMap()
            << QVariantMap{{"Litros", 100.0}, {"Precio", 0.8}, {"Importe", 85.0}} << QVariant(85.0)
            << QVariantMap{{"TotalCombustible", 475}, {"TotalLitros", 600}, {"PtaLitro", 0.79}};
        QTest::newRow("litros con decimales")
            << QVariantMap() << QVariantMap() << QVariantMap{{"Litros", 734.125}, {"Precio", 1.0}}
            << QVariant(734.125)
            << QVariantMap{{"TotalCombustible", 1124.125},
                           {"TotalLitros", 1234.13},
                           {"PtaLitro", 0.91},
                           {"Consumo", 98.73}};
        QTest::newRow("sin ingresos")
            << QVariantMap{{"NumPorte", "000099/05"}} << QVariantMap() << QVariantMap() << nada
            << QVariantMap{{"TotalIngresos", 0},
                           {"Beneficios", -632.5},
                           {"PorcentajeBeneficio", 0},
                           {"PrecioKm", 0}};
        // Reports numbered "" and "      /  " exist: an empty haul number must not reach them.
        for (const auto &[fila, vacio] :
             {std::pair{"sin número de porte", QVariant()},
              {"número de porte en blanco", QVariant("")},
              {"número de porte con la máscara vacía", QVariant("      /  ")}})
            QTest::newRow(fila) << QVariantMap{{"NumPorte", vacio}} << QVariantMap()
                                << QVariantMap() << nada
                                << QVariantMap{{"TotalIngresos", 0}, {"PrecioKm", 0}};
        QTest::newRow("reporte sin porte")
            << QVariantMap{{"NumPorte", "000002/05"}} << QVariantMap() << QVariantMap() << nada
            << QVariantMap{{"TotalIngresos", 700}, {"Beneficios", 67.5}};
        QTest::newRow("coste del camionero de miles")
            << QVariantMap() << QVariantMap{{"PtsKm", 0.5}, {"SueldoBase", 9125.04}}
            << QVariantMap() << nada
            << QVariantMap{{"TotalCosteCamionero", 1233.34},
                           {"TotalGastos", 1723.336},
                           {"Beneficios", 776.664},
                           {"PorcentajeBeneficio", 31.07}};
        QTest::newRow("porcentaje negativo de miles")
            << QVariantMap{{"NumPorte", "000003/05"}} << QVariantMap() << QVariantMap() << nada
            << QVariantMap{{"TotalIngresos", 30},
                           {"Beneficios", -602.5},
                           {"PorcentajeBeneficio", -2008.33},
                           {"PrecioKm", 0.02}};
        QTest::newRow("precio por km y consumo de miles")
            << QVariantMap{{"KmtTotales", 1.5}} << QVariantMap() << QVariantMap() << nada
            << QVariantMap{{"PrecioKm", 1666.67}, {"Consumo", 33333.33}};
        QTest::newRow("camionero inexistente")
            << QVariantMap{{"CondCIF", "99999999X"}} << QVariantMap() << QVariantMap() << nada
            << QVariantMap{{"TotalCosteCamionero", 0}, {"TotalGastos", 490}, {"Beneficios", 2010}};
        for (const auto &[fila, vacio] :
             {std::pair{"sin camionero", QVariant()}, {"camionero en blanco", QVariant("")}})
            QTest::newRow(fila) << QVariantMap{{"CondCIF", vacio}} << QVariantMap() << QVariantMap()
                                << nada
                                << QVariantMap{{"TotalCosteCamionero", 0}, {"TotalGastos", 490}};
    }
    void resultados() {
        QFETCH(QVariantMap, cambios);
        QFETCH(QVariantMap, camionero);
        QFETCH(QVariantMap, combustible);
        QFETCH(QVariant, importeLinea);
        QFETCH(QVariantMap, esperado);

        for (auto it = camionero.begin(); it != camionero.end(); ++it) {
            Statement st(
                datos->db->handle(),
                QStringLiteral("UPDATE Camioner SET %1 = ? WHERE CIF = '11111111H'").arg(it.key()));
            st.bind(1, it.value());
            st.exec();
        }
        viajeEjemplo("000001/05", cambios);
        if (!combustible.isEmpty()) {
            combustible.insert("NumViaje", "000001/05");
            insertar("gascombu.DB", combustible);
        }

        ResultadoViaje(*datos).calcular("000001/05");
        comparar(viaje("000001/05"), esperado);
        if (importeLinea.isValid())
            QCOMPARE(columna("SELECT Importe FROM gascombu ORDER BY NumRegistro DESC LIMIT 1"),
                     QVariantList{importeLinea});
    }

    void lineasAlineadasConElViaje() {
        viajeEjemplo("000001/05");
        viajeEjemplo("000002/05");
        insertar("gasautop.DB",
                 {{"NumViaje", "000001/05"}, {"Matricula", "9999ZZZ"}, {"Mes", 12}, {"Ano", 2004}});
        insertar("gascombu.DB", {{"NumViaje", "000001/05"},
                                 {"Matricula", "1111AAA"},
                                 {"Mes", 3},
                                 {"Ano", 2005},
                                 {"Importe", 10.0}});
        insertar("gasviaje.DB", {{"NumViaje", "000001/05"}, {"Matricula", ""}, {"Importe", 5.0}});
        const QStringList otroViaje = lineas("000002/05");

        ResultadoViaje calculo(*datos);
        calculo.calcular("000001/05");
        QStringList esperadas;
        for (const char *t :
             {"gasautop", "gasautop", "gascombu", "gascombu", "gascombu", "gasviaje", "gasviaje"})
            esperadas << QLatin1String(t) + QStringLiteral(" 1111AAA 3 2005");
        QCOMPARE(lineas("000001/05"), esperadas);
        QCOMPARE(lineas("000002/05"), otroViaje);

        // Another tractor and another arrival month move every line with them.
        datos->db->exec("UPDATE viaje SET MatricTractor = '2222BBB', FechaLlegada = '2006-01-02' "
                        "WHERE NumViaje = '000001/05'");
        calculo.calcular("000001/05");
        esperadas.replaceInStrings("1111AAA 3 2005", "2222BBB 1 2006");
        QCOMPARE(lineas("000001/05"), esperadas);
        QCOMPARE(lineas("000002/05"), otroViaje);
    }

    void fechasQueNoPasan_data() {
        QTest::addColumn<QVariant>("salida");
        QTest::addColumn<QVariant>("llegada");
        QTest::addColumn<int>("fallo");
        QTest::addColumn<QString>("mensaje");
        QTest::addColumn<QString>("foco");

        QTest::newRow("sin salida")
            << QVariant() << QVariant(QDate(2005, 3, 3)) << int(CalculoViaje::SinFechaSalida)
            << "Debe introducir la fecha de salida."
            << "FechaSalida";
        QTest::newRow("sin ninguna")
            << QVariant() << QVariant() << int(CalculoViaje::SinFechaSalida)
            << "Debe introducir la fecha de salida."
            << "FechaSalida";
        QTest::newRow("sin llegada")
            << QVariant(QDate(2005, 3, 1)) << QVariant() << int(CalculoViaje::SinFechaLlegada)
            << "Debe introducir la fecha de llegada."
            << "FechaLlegada";
        QTest::newRow("salida posterior")
            << QVariant(QDate(2005, 3, 4)) << QVariant(QDate(2005, 3, 3))
            << int(CalculoViaje::SalidaPosterior)
            << "La fecha de salida [04/03/2005] debe ser menor que la fecha de llegada "
               "[03/03/2005]."
            << "FechaSalida";
    }
    void fechasQueNoPasan() {
        QFETCH(QVariant, salida);
        QFETCH(QVariant, llegada);
        QFETCH(int, fallo);
        QFETCH(QString, mensaje);
        QFETCH(QString, foco);

        viajeEjemplo("000001/05", {{"FechaSalida", salida},
                                   {"FechaLlegada", llegada},
                                   {"Beneficios", 123.0},
                                   {"TotalCombustible", 45.0}});
        insertar("gasautop.DB", {{"NumViaje", "000001/05"}, {"Matricula", "9999ZZZ"}});
        const QVariantMap antes = viaje("000001/05");
        const QStringList lineasAntes = lineas("000001/05");

        const CalculoViaje r = ResultadoViaje(*datos).calcular("000001/05");
        QCOMPARE(int(r.fallo), fallo);
        QCOMPARE(r.mensaje, mensaje);
        QCOMPARE(r.foco, foco);
        QCOMPARE(viaje("000001/05"), antes);
        QCOMPARE(lineas("000001/05"), lineasAntes);
        QCOMPARE(columna("SELECT COUNT(*) FROM gascombu WHERE Importe IS NOT NULL"),
                 QVariantList{0});
    }

    void errorAlGuardarDejaLasLineas() {
        viajeEjemplo("000003/05");
        fallarAlGuardar("000003/05");
        ResultadoViaje calculo(*datos);
        QVERIFY_THROWS_EXCEPTION(StoreError, calculo.calcular("000003/05"));
        QCOMPARE(columna("SELECT COUNT(*) FROM gascombu WHERE Importe IS NOT NULL"),
                 QVariantList{0});
        QCOMPARE(columna("SELECT COUNT(*) FROM gasautop WHERE Matricula IS NOT NULL"),
                 QVariantList{0});
        QCOMPARE(datos->db->transactionDepth(), 0);
        QVERIFY_THROWS_EXCEPTION(StoreError, calculo.calcular("000009/05"));
    }

    void recalcularTodos() {
        // Stored out of order, the dateless trip first; the run goes by number.
        viajeEjemplo("000002/05", {{"FechaSalida", QVariant()}});
        viajeEjemplo("000003/05", {{"NumPorte", "000003/05"}});
        viajeEjemplo("000001/05");
        const QStringList sinFecha = lineas("000002/05");

        RecalcularViajes recalculo(*datos);
        QList<int> posiciones;
        QStringList fallos;
        recalculo.progreso = [&](int posicion, int total) {
            QCOMPARE(total, 3);
            posiciones << posicion;
        };
        recalculo.alFallar = [&](const QString &num, const QString &mensaje) {
            fallos << QStringLiteral("%1 en %2: %3").arg(num).arg(posiciones.last()).arg(mensaje);
        };
        const RecalcularViajes::Resumen resumen = recalculo.ejecutar();

        QCOMPARE(posiciones, (QList<int>{1, 2, 3}));
        QCOMPARE(fallos, QStringList{"000002/05 en 2: Debe introducir la fecha de salida."});
        QCOMPARE(resumen.total, 3);
        QCOMPARE(resumen.calculados, 2);
        QCOMPARE(resumen.fallos.size(), 1);
        QCOMPARE(resumen.fallos[0].numViaje, QStringLiteral("000002/05"));
        comparar(viaje("000001/05"), {{"Beneficios", 1867.5}, {"PrecioKm", 2}});
        comparar(viaje("000003/05"), {{"TotalIngresos", 30}, {"PorcentajeBeneficio", -2008.33}});
        QVERIFY(viaje("000002/05").value("Beneficios").isNull());
        QCOMPARE(lineas("000002/05"), sinFecha);
        QCOMPARE(columna("SELECT Importe FROM gascombu WHERE NumViaje = '000002/05'"),
                 (QVariantList{QVariant(), QVariant()}));
    }

    void recalcularConErrorDeshaceTodo() {
        viajeEjemplo("000001/05");
        viajeEjemplo("000002/05");
        viajeEjemplo("000003/05");
        fallarAlGuardar("000003/05");
        const QStringList antes = lineas("000001/05");

        RecalcularViajes recalculo(*datos);
        int ultima = 0;
        recalculo.progreso = [&](int posicion, int) { ultima = posicion; };
        QVERIFY_THROWS_EXCEPTION(StoreError, recalculo.ejecutar());
        QCOMPARE(ultima, 3);
        QCOMPARE(columna("SELECT COUNT(*) FROM viaje WHERE Beneficios IS NOT NULL"),
                 QVariantList{0});
        QCOMPARE(columna("SELECT COUNT(*) FROM gascombu WHERE Importe IS NOT NULL"),
                 QVariantList{0});
        QCOMPARE(lineas("000001/05"), antes);
        QCOMPARE(datos->db->transactionDepth(), 0);
    }
};

QTEST_GUILESS_MAIN(TstResultadoViaje)
#include "tst_resultadoviaje.moc"
