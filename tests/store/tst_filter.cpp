#include "ProgramaTemporal.h"
#include "store/Connection.h"
#include "store/StoreError.h"
#include "store/Table.h"

#include <QDate>
#include <QTest>

// Record filters as the windows write them, evaluated against a small set of hauls and trips.
class TstFilter : public QObject {
    Q_OBJECT

    ProgramaTemporal programa;
    Connection db{QStringLiteral("VIVOZED")};

    QStringList numeros(const QString &tabla, const QString &campoNumero, const QString &filtro) {
        Table t(&db, tabla);
        t.setFilter(filtro);
        t.setFiltered(true);
        t.open();
        QStringList out;
        for (t.first(); !t.eof(); t.next())
            out << t.value(campoNumero).toString();
        out.sort();
        return out;
    }

private Q_SLOTS:
    void initTestCase() {
        db.setPath(programa.crearEmpresa(1, QStringLiteral("PRUEBAS")));
        db.open();
        auto porte = [this](const char *num, QDate fecha, const char *mat, const QString &cliente,
                            const QString &pagado, const QString &facturado) {
            ProgramaTemporal::insertar(db, QStringLiteral("portes.DB"),
                                       {{"Numero", num},
                                        {"Fecha", fecha},
                                        {"Matricula", mat},
                                        {"Transportista", cliente},
                                        {"Pagado", pagado},
                                        {"Facturado", facturado},
                                        {"Reportado", QStringLiteral("No")}});
        };
        const QString si = QStringLiteral("Sí"), no = QStringLiteral("No");
        porte("000001/05", QDate(2005, 1, 1), "4321KLM", QStringLiteral("O'NEILL"), no, si);
        porte("000002/05", QDate(2005, 3, 31), "4321KLM", QStringLiteral("SMITH AND SONS"), si, no);
        porte("000003/05", QDate(2005, 4, 1), "1111AAA", QStringLiteral("O'NEILL"), no, no);
        porte("000004/04", QDate(2004, 12, 31), "4321KLM", QStringLiteral("GARCÍA"), no, no);
        ProgramaTemporal::insertar(db, QStringLiteral("viaje.DB"),
                                   {{"NumViaje", "000001/05"}, {"Pagado", true}});
        ProgramaTemporal::insertar(db, QStringLiteral("viaje.DB"),
                                   {{"NumViaje", "000002/05"}, {"Pagado", false}});
        ProgramaTemporal::insertar(db, QStringLiteral("viaje.DB"), {{"NumViaje", "000003/05"}});
    }

    void matches_data() {
        QTest::addColumn<QString>("tabla");
        QTest::addColumn<QString>("filtro");
        QTest::addColumn<QStringList>("esperados");
        const QString portes = QStringLiteral("portes.DB");
        QTest::newRow("bracketed name")
            << portes << "[Matricula] = '1111AAA'" << QStringList{"000003/05"};
        QTest::newRow("bare name") << portes << "Matricula = '1111AAA'" << QStringList{"000003/05"};
        QTest::newRow("period includes both ends")
            << portes << "[Fecha] >= '01/01/05' AND [Fecha] <= '31/03/05'"
            << QStringList{"000001/05", "000002/05"};
        QTest::newRow("four-digit years")
            << portes << "[Fecha] >= '31/12/2004' AND [Fecha] <= '01/01/2005'"
            << QStringList{"000001/05", "000004/04"};
        QTest::newRow("quote doubled")
            << portes << "[Transportista] = 'O''NEILL'" << QStringList{"000001/05", "000003/05"};
        QTest::newRow("AND inside a value")
            << portes << "[Transportista] = 'SMITH AND SONS'" << QStringList{"000002/05"};
        QTest::newRow("text equality is exact")
            << portes << "[Transportista] = 'o''neill'" << QStringList{};
        QTest::newRow("accented text")
            << portes << "[Transportista] = 'GARCÍA'" << QStringList{"000004/04"};
        QTest::newRow("Sí/No flag Sí")
            << portes << "[Facturado] = 'Sí'" << QStringList{"000001/05"};
        QTest::newRow("Sí/No flag No")
            << portes << "[Pagado] = 'No'" << QStringList{"000001/05", "000003/05", "000004/04"};
        QTest::newRow("accumulated example")
            << portes
            << "[Fecha] >= '01/01/05' AND [Fecha] <= '31/03/05' AND [Matricula] = '4321KLM' AND "
               "[Pagado] = 'No'"
            << QStringList{"000001/05"};
        QTest::newRow("lower-case and")
            << portes << "[Matricula] = '4321KLM' and [Pagado] = 'Sí'" << QStringList{"000002/05"};
        QTest::newRow("logical True")
            << QStringLiteral("viaje.DB") << "[Pagado] = 'True'" << QStringList{"000001/05"};
        QTest::newRow("logical False")
            << QStringLiteral("viaje.DB") << "Pagado = 'False'" << QStringList{"000002/05"};
        QTest::newRow("empty filter") << QStringLiteral("viaje.DB") << ""
                                      << QStringList{"000001/05", "000002/05", "000003/05"};
    }

    void matches() {
        QFETCH(QString, tabla);
        QFETCH(QString, filtro);
        QFETCH(QStringList, esperados);
        const QString campo = tabla == QLatin1String("viaje.DB") ? QStringLiteral("NumViaje")
                                                                 : QStringLiteral("Numero");
        QCOMPARE(numeros(tabla, campo, filtro), esperados);
    }

    void errors_data() {
        QTest::addColumn<QString>("filtro");
        QTest::addColumn<QString>("enElMensaje");
        QTest::newRow("empty date box") << "[Fecha] >= '  /  /  '"
                                        << "no es una fecha válida";
        QTest::newRow("impossible date") << "[Fecha] = '31/02/05'"
                                         << "no es una fecha válida";
        QTest::newRow("unknown field") << "[Precioo] = '1'"
                                       << "no existe el campo Precioo";
        QTest::newRow("unquoted value") << "[Matricula] = 4321KLM"
                                        << "comillas simples";
        QTest::newRow("unterminated quote") << "[Matricula] = '4321KLM"
                                            << "comilla de cierre";
        QTest::newRow("OR is not part of the grammar") << "[Matricula] = '1' OR [Matricula] = '2'"
                                                       << "se esperaba AND";
        QTest::newRow("bad number")
            << "[Facturado] = 'Sí' AND [Reportado] = 'No' AND [Precio] = 'x'"
            << "no es un número válido";
    }

    void errors() {
        QFETCH(QString, filtro);
        QFETCH(QString, enElMensaje);
        Table t(&db, QStringLiteral("portes.DB"));
        t.setFilter(QStringLiteral("[Matricula] = '1111AAA'"));
        t.setFiltered(true);
        t.open();
        try {
            t.setFilter(filtro);
            QFAIL("the filter was accepted");
        } catch (const StoreError &e) {
            QCOMPARE(e.kind(), StoreError::Filter);
            QVERIFY2(e.message().contains(enElMensaje), qPrintable(e.message()));
        }
        // A rejected filter changes nothing.
        QCOMPARE(t.filter(), QStringLiteral("[Matricula] = '1111AAA'"));
        QCOMPARE(t.recordCount(), 1);
    }
};

QTEST_GUILESS_MAIN(TstFilter)
#include "tst_filter.moc"
