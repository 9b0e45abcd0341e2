#include "ProgramaTemporal.h"
#include "store/Connection.h"
#include "store/Query.h"
#include "store/StoreError.h"
#include "store/Table.h"

#include <QDate>
#include <QTest>

class TstQuery : public QObject {
    Q_OBJECT

    ProgramaTemporal programa;
    Connection db{QStringLiteral("VIVOZED")};

private Q_SLOTS:
    void initTestCase() {
        db.setPath(programa.crearEmpresa(1, QStringLiteral("PRUEBAS")));
        db.open();
        auto porte = [this](const char *num, QDate fecha, const QString &cliente, QVariant precio,
                            const QString &carga) {
            ProgramaTemporal::insertar(db, QStringLiteral("portes.DB"),
                                       {{"Numero", num},
                                        {"Fecha", fecha},
                                        {"Matricula", "A"},
                                        {"Transportista", cliente},
                                        {"Precio", precio},
                                        {"Carga", carga},
                                        {"Facturado", "No"},
                                        {"Pagado", "No"},
                                        {"Reportado", "No"}});
        };
        porte("000001/05", QDate(2005, 1, 10), QStringLiteral("PÉREZ"), 100.0,
              QStringLiteral("León"));
        porte("000002/05", QDate(2005, 2, 10), QStringLiteral("PÉREZ"), QVariant(),
              QStringLiteral("Ávila"));
        porte("000003/05", QDate(2005, 3, 10), QStringLiteral("RUIZ"), 50.5,
              QStringLiteral("LEÓN"));
        ProgramaTemporal::insertar(db, QStringLiteral("cliente.DB"),
                                   {{"CIF", "B1"}, {"Apellidos", "PÉREZ"}});
        ProgramaTemporal::insertar(db, QStringLiteral("cliente.DB"),
                                   {{"CIF", "B2"}, {"Apellidos", "RUIZ"}});
    }

    void translation() {
        const Query::Translated t = Query::translate(
            QStringLiteral("SELECT * FROM \"portes.DB\" p WHERE Transportista = \"O'NEILL\" "
                           "AND Carga LIKE \"%LE%\" AND Notas = 'dice \"hola\"'"));
        QCOMPARE(t.sql, QStringLiteral("SELECT * FROM \"portes\" p WHERE Transportista = :lit1 "
                                       "AND Carga LIKE :lit2 AND Notas = 'dice \"hola\"'"));
        QCOMPARE(t.literals.value(QStringLiteral("lit1")).toString(), QStringLiteral("O'NEILL"));
        QCOMPARE(t.literals.value(QStringLiteral("lit2")).toString(), QStringLiteral("%LE%"));
        QCOMPARE(t.tables, QStringList{QStringLiteral("portes")});
    }

    void dateParametersAndTypedColumns() {
        Query q(&db);
        q.setSqlLines({QStringLiteral("SELECT * FROM portes"),
                       QStringLiteral("WHERE Fecha BETWEEN :FDesde AND :FHasta"),
                       QStringLiteral("order by Fecha")});
        q.setParam(QStringLiteral("FDesde"), QDate(2005, 2, 1));
        q.setParam(QStringLiteral("FHasta"), QDate(2005, 3, 10));
        q.open();
        QCOMPARE(q.recordCount(), 2);
        QCOMPARE(q.value(QStringLiteral("Fecha")).toDate(), QDate(2005, 2, 10));
        QVERIFY(q.value(QStringLiteral("Precio")).isNull());
        q.next();
        QCOMPARE(q.value(QStringLiteral("Precio")).toDouble(), 50.5);
        q.next();
        QVERIFY(q.eof());
    }

    void unicodeUpperAndDoubleQuotedPattern() {
        Query q(&db);
        q.setSqlLines({QStringLiteral("SELECT * FROM portes"),
                       QStringLiteral("WHERE upper(Carga) LIKE \"%LEÓN%\"")});
        q.open();
        QCOMPARE(q.recordCount(), 2);
    }

    void joinWithGroupBy() {
        Query q(&db);
        q.setSqlLines({QStringLiteral("select c.apellidos, sum(p.precio) Importe"),
                       QStringLiteral("from cliente c, portes p"),
                       QStringLiteral("where p.fecha between :fdesde and :fhasta"),
                       QStringLiteral("and c.apellidos = p.transportista"),
                       QStringLiteral("group by c.apellidos")});
        q.setParam(QStringLiteral("fdesde"), QDate(2005, 1, 1));
        q.setParam(QStringLiteral("fhasta"), QDate(2005, 12, 31));
        q.open();
        QMap<QString, double> importes;
        for (q.first(); !q.eof(); q.next())
            importes.insert(q.value(QStringLiteral("apellidos")).toString(),
                            q.value(QStringLiteral("Importe")).toDouble());
        QCOMPARE(importes.value(QStringLiteral("PÉREZ")), 100.0);
        QCOMPARE(importes.value(QStringLiteral("RUIZ")), 50.5);
    }

    // The totals of a record window: the table's filter given to "select * from portes".
    void filteredCountAndSum() {
        Query q(&db);
        q.setSqlLines({QStringLiteral("select *"), QStringLiteral("from portes")});
        q.setFilter(QStringLiteral("[Transportista] = 'PÉREZ'"));
        q.setFiltered(true);
        q.open();
        QCOMPARE(q.recordCount(), 2);
        QCOMPARE(q.sum(QStringLiteral("Precio")), 100.0);
        q.setFilter(QStringLiteral("[Fecha] >= '01/02/05' AND [Fecha] <= '10/03/05'"));
        QCOMPARE(q.recordCount(), 2);
        QCOMPARE(q.sum(QStringLiteral("Precio")), 50.5);
    }

    void missingParameterIsAnError() {
        Query q(&db);
        q.setSql(QStringLiteral("select * from portes where Fecha >= :Desde"));
        try {
            q.open();
            QFAIL("opened without its parameter");
        } catch (const StoreError &e) {
            QVERIFY(e.message().contains(QStringLiteral(":Desde")));
        }
    }

    void execSqlIsSeenByTables() {
        Table t(&db, QStringLiteral("portes.DB"));
        t.open();
        QVERIFY(t.locate(QStringLiteral("Numero"), QStringLiteral("000003/05")));
        Query q(&db);
        q.setSql(QStringLiteral("update portes set Pagado = \"Sí\" where Numero = \"000003/05\""));
        QCOMPARE(q.execSql(), 1);
        t.refresh();
        QCOMPARE(t.value(QStringLiteral("Pagado")).toString(), QStringLiteral("Sí"));
    }
};

QTEST_GUILESS_MAIN(TstQuery)
#include "tst_query.moc"
