#include "ProgramaTemporal.h"
#include "store/Connection.h"
#include "store/StoreError.h"
#include "store/TDatos.h"
#include "store/Table.h"
#include "store/Transaction.h"

#include <QDate>
#include <QRandomGenerator>
#include <QTest>
#include <algorithm>

namespace {
QString numero(int i) {
    return QStringLiteral("%1/05").arg(i, 6, 10, QChar('0'));
}
} // namespace

class TstTable : public QObject {
    Q_OBJECT

    ProgramaTemporal programa;
    Connection db{QStringLiteral("VIVOZED")};

    struct Haul {
        qint64 id;
        QString numero;
        QVariant fecha;
        QVariant cliente;
    };
    QList<Haul> hauls;

    Table *portes(QObject *owner) {
        auto *t = new Table(&db, QStringLiteral("portes.DB"), owner);
        return t;
    }

    static void expectStoreError(const std::function<void()> &fn, StoreError::Kind kind,
                                 int code = -1, QString *message = nullptr) {
        try {
            fn();
        } catch (const StoreError &e) {
            QCOMPARE(e.kind(), kind);
            if (code >= 0)
                QCOMPARE(e.code(), code);
            if (message)
                *message = e.message();
            return;
        }
        QFAIL("no store error");
    }

private Q_SLOTS:
    void initTestCase() {
        db.setPath(programa.crearEmpresa(1, QStringLiteral("PRUEBAS")));
        db.open();
        // More hauls than one page, with empty dates and clients among them, inserted out of
        // order so that no order happens to follow the insertion order.
        QRandomGenerator rng(7);
        QList<int> order;
        for (int i = 1; i <= 300; ++i)
            order << i;
        std::shuffle(order.begin(), order.end(), rng);
        Transaction tx(db);
        for (int i : order) {
            QVariant fecha = QDate(2005, 1, 1).addDays(i % 40);
            QVariant cliente =
                i % 11 == 0 ? QVariant() : QVariant(QStringLiteral("CLIENTE %1").arg(i % 23));
            const qint64 id =
                ProgramaTemporal::insertar(db, QStringLiteral("portes.DB"),
                                           {{"Numero", numero(i)},
                                            {"Fecha", fecha},
                                            {"Matricula", QStringLiteral("M%1").arg(i % 5)},
                                            {"Transportista", cliente},
                                            {"Precio", i * 10.0},
                                            {"Facturado", "No"},
                                            {"Pagado", "No"},
                                            {"Reportado", "No"}});
            hauls << Haul{id, numero(i), fecha, cliente};
        }
        tx.commit();
    }

    // Walking forward and backward through any order gives every record once, in the order
    // SQL would sort them (empty values first, ties by the order of adding), with the right
    // record numbers.
    void walksEveryOrder_data() {
        QTest::addColumn<QString>("orden");
        QTest::newRow("number") << "Numero";
        QTest::newRow("date, many records a day") << "Fecha";
        QTest::newRow("client with empty clients") << "Transportista";
        QTest::newRow("identifier") << "ID";
    }

    void walksEveryOrder() {
        QFETCH(QString, orden);
        QList<Haul> expected = hauls;
        auto key = [&](const Haul &h) -> QVariant {
            if (orden == QLatin1String("Numero"))
                return h.numero;
            if (orden == QLatin1String("Fecha"))
                return h.fecha.isNull() ? QVariant()
                                        : QVariant(h.fecha.toDate().toString(Qt::ISODate));
            if (orden == QLatin1String("Transportista"))
                return h.cliente;
            return h.id;
        };
        std::stable_sort(expected.begin(), expected.end(), [&](const Haul &a, const Haul &b) {
            const QVariant ka = key(a), kb = key(b);
            if (ka.isNull() != kb.isNull())
                return ka.isNull();
            if (!ka.isNull() && ka != kb)
                return QVariant::compare(ka, kb) < 0;
            return a.id < b.id;
        });

        QObject owner;
        Table *t = portes(&owner);
        t->setIndexFieldNames(orden);
        t->open();
        QStringList forward;
        int n = 0;
        for (t->first(); !t->eof(); t->next()) {
            ++n;
            forward << t->value(QStringLiteral("Numero")).toString();
            if (n % 97 == 0)
                QCOMPARE(t->recNo(), n);
        }
        QStringList wanted;
        for (const Haul &h : expected)
            wanted << h.numero;
        QCOMPARE(forward, wanted);
        QCOMPARE(t->recordCount(), int(hauls.size()));

        QStringList backward;
        for (t->last(); !t->bof(); t->prior())
            backward.prepend(t->value(QStringLiteral("Numero")).toString());
        QCOMPARE(backward, wanted);
        t->last();
        QCOMPARE(t->recNo(), int(hauls.size()));
    }

    void orderWithoutIndexFails() {
        QObject owner;
        Table *t = portes(&owner);
        expectStoreError([&] { t->setIndexFieldNames(QStringLiteral("Precio")); },
                         StoreError::NoIndex);
    }

    void keyViolationKeepsTheRecord() {
        QObject owner;
        Table *t = portes(&owner);
        t->open();
        const int antes = t->totalRecords();
        t->append();
        t->setValue(QStringLiteral("Numero"), numero(5));
        t->setValue(QStringLiteral("Fecha"), QStringLiteral("02/02/05"));
        t->setValue(QStringLiteral("Matricula"), QStringLiteral("9999ZZZ"));
        t->setValue(QStringLiteral("Facturado"), QStringLiteral("No"));
        t->setValue(QStringLiteral("Pagado"), QStringLiteral("No"));
        t->setValue(QStringLiteral("Reportado"), QStringLiteral("No"));
        expectStoreError([&] { t->post(); }, StoreError::KeyViolation, 9729);
        QCOMPARE(t->state(), DataSet::Insert);
        QCOMPARE(t->value(QStringLiteral("Matricula")).toString(), QStringLiteral("9999ZZZ"));
        QCOMPARE(t->value(QStringLiteral("Fecha")).toDate(), QDate(2005, 2, 2));
        QCOMPARE(t->totalRecords(), antes);
        t->cancel();
        QCOMPARE(t->state(), DataSet::Browse);
    }

    void requiredFieldNamed() {
        QObject owner;
        Table *t = portes(&owner);
        t->open();
        t->append();
        t->setValue(QStringLiteral("Numero"), QStringLiteral("777777/05"));
        t->setValue(QStringLiteral("Fecha"), QDate(2005, 2, 2));
        QString message;
        expectStoreError([&] { t->post(); }, StoreError::RequiredField, -1, &message);
        QVERIFY2(message.contains(QStringLiteral("Matricula")), qPrintable(message));
        QCOMPARE(t->state(), DataSet::Insert);
        QCOMPARE(t->value(QStringLiteral("Numero")).toString(), QStringLiteral("777777/05"));
        t->cancel();
    }

    void postedRecordBecomesCurrentAndVisibleToOthers() {
        QObject owner;
        Table *a = portes(&owner);
        Table *b = portes(&owner);
        a->open();
        b->setIndexFieldNames(QStringLiteral("Numero"));
        b->open();
        const int antes = b->recordCount();
        a->append();
        a->setValue(QStringLiteral("Numero"), QStringLiteral("000150/06"));
        a->setValue(QStringLiteral("Fecha"), QDate(2006, 5, 5));
        a->setValue(QStringLiteral("Matricula"), QStringLiteral("NUEVA"));
        for (const char *f : {"Facturado", "Pagado", "Reportado"})
            a->setValue(QString::fromLatin1(f), QStringLiteral("No"));
        a->post();
        QCOMPARE(a->state(), DataSet::Browse);
        QCOMPARE(a->value(QStringLiteral("Matricula")).toString(), QStringLiteral("NUEVA"));
        QVERIFY(a->value(QStringLiteral("ID")).toInt() > 0);

        QCOMPARE(b->recordCount(), antes + 1);
        QVERIFY(b->locate(QStringLiteral("Numero"), QStringLiteral("000150/06")));
        QCOMPARE(b->value(QStringLiteral("Matricula")).toString(), QStringLiteral("NUEVA"));

        // b edits, a sees the change when it next reads; then a deletes and b moves on.
        b->edit();
        b->setValue(QStringLiteral("Precio"), QStringLiteral("1.234,5"));
        b->post();
        a->refresh();
        QCOMPARE(a->value(QStringLiteral("Precio")).toDouble(), 1234.5);
        a->remove();
        b->refresh();
        QVERIFY(b->value(QStringLiteral("Numero")).toString() != QStringLiteral("000150/06"));
        QCOMPARE(b->recordCount(), antes);
    }

    void deleteMovesToTheNextRecord() {
        QObject owner;
        Table *t = portes(&owner);
        t->setIndexFieldNames(QStringLiteral("Numero"));
        t->open();
        for (const char *n : {"999997/99", "999998/99"}) {
            t->append();
            t->setValue(QStringLiteral("Numero"), QString::fromLatin1(n));
            t->setValue(QStringLiteral("Fecha"), QDate(2005, 1, 1));
            t->setValue(QStringLiteral("Matricula"), QStringLiteral("X"));
            for (const char *f : {"Facturado", "Pagado", "Reportado"})
                t->setValue(QString::fromLatin1(f), QStringLiteral("No"));
            t->post();
        }
        QVERIFY(t->locate(QStringLiteral("Numero"), QStringLiteral("999997/99")));
        t->remove();
        QCOMPARE(t->value(QStringLiteral("Numero")).toString(), QStringLiteral("999998/99"));
        // The last record deleted: the one before it becomes current.
        t->remove();
        QCOMPARE(t->value(QStringLiteral("Numero")).toString(), numero(300));
        QCOMPARE(t->recordCount(), int(hauls.size()));
    }

    void findNearest_data() {
        QTest::addColumn<QString>("orden");
        QTest::addColumn<QString>("buscado");
        QTest::addColumn<QString>("campo");
        QTest::addColumn<QString>("esperado");
        QTest::addColumn<bool>("encontrado");
        QTest::newRow("text key, exact")
            << "Numero" << numero(42) << "Numero" << numero(42) << true;
        QTest::newRow("text key, prefix") << "Numero"
                                          << "00012"
                                          << "Numero" << numero(120) << true;
        QTest::newRow("text key, between keys") << "Numero"
                                                << "000042/06"
                                                << "Numero" << numero(43) << true;
        QTest::newRow("text key past the last") << "Numero"
                                                << "999999/99"
                                                << "Numero" << numero(300) << false;
        QTest::newRow("date key") << "Fecha"
                                  << "10/01/05"
                                  << "Fecha"
                                  << "2005-01-10" << true;
        QTest::newRow("date key past the last") << "Fecha"
                                                << "01/01/30"
                                                << "Fecha"
                                                << "2005-02-09" << false;
        QTest::newRow("number key") << "ID"
                                    << "1"
                                    << "ID"
                                    << "1" << true;
    }

    void findNearest() {
        QFETCH(QString, orden);
        QFETCH(QString, buscado);
        QFETCH(QString, campo);
        QFETCH(QString, esperado);
        QFETCH(bool, encontrado);
        QObject owner;
        Table *t = portes(&owner);
        t->setIndexFieldNames(orden);
        t->open();
        QCOMPARE(t->findNearest({buscado}), encontrado);
        const QVariant v = t->value(campo);
        const QString got =
            v.typeId() == QMetaType::QDate ? v.toDate().toString(Qt::ISODate) : v.toString();
        QCOMPARE(got, esperado);
    }

    void findNearestWithUnreadableValueStays() {
        QObject owner;
        Table *t = portes(&owner);
        t->setIndexFieldNames(QStringLiteral("Fecha"));
        t->open();
        t->next();
        t->next();
        const QString antes = t->value(QStringLiteral("Numero")).toString();
        expectStoreError([&] { t->findNearest({QStringLiteral("ab/cd/ef")}); },
                         StoreError::InvalidValue);
        QCOMPARE(t->value(QStringLiteral("Numero")).toString(), antes);
    }

    void masterDetailFollowsAndFills() {
        TDatos datos;
        datos.db->setPath(db.path());
        datos.db->open();
        ProgramaTemporal::insertar(*datos.db, QStringLiteral("viaje.DB"),
                                   {{"NumViaje", "000001/07"}});
        ProgramaTemporal::insertar(*datos.db, QStringLiteral("viaje.DB"),
                                   {{"NumViaje", "000002/07"}});
        ProgramaTemporal::insertar(*datos.db, QStringLiteral("viaje.DB"),
                                   {{"NumViaje", "000003/07"}});
        for (const char *v : {"000001/07", "000001/07", "000002/07"})
            ProgramaTemporal::insertar(*datos.db, QStringLiteral("gasviaje.DB"),
                                       {{"NumViaje", v}, {"Concepto", "PEAJE"}, {"Importe", 5.0}});
        ProgramaTemporal::insertar(*datos.db, QStringLiteral("gascombu.DB"),
                                   {{"NumViaje", "000002/07"}, {"Litros", 100.0}});
        datos.TViajes->setIndexFieldNames(QStringLiteral("NumViaje"));
        datos.TViajes->open();
        datos.TGastosViaje->open();
        datos.TGastosCombustible->open();
        datos.TGastosAutopistas->open();

        QVERIFY(datos.TViajes->locate(QStringLiteral("NumViaje"), QStringLiteral("000001/07")));
        QCOMPARE(datos.TGastosViaje->recordCount(), 2);
        QCOMPARE(datos.TGastosCombustible->recordCount(), 0);
        datos.TViajes->next();
        QCOMPARE(datos.TGastosViaje->recordCount(), 1);
        QCOMPARE(datos.TGastosCombustible->recordCount(), 1);
        datos.TViajes->next();
        QVERIFY(datos.TGastosViaje->isEmpty());
        QVERIFY(datos.TGastosCombustible->isEmpty());
        QVERIFY(datos.TGastosAutopistas->isEmpty());

        datos.TGastosViaje->append();
        datos.TGastosViaje->setValue(QStringLiteral("Concepto"), QStringLiteral("COMIDA"));
        datos.TGastosViaje->post();
        QCOMPARE(datos.TGastosViaje->value(QStringLiteral("NumViaje")).toString(),
                 QStringLiteral("000003/07"));
        QCOMPARE(datos.TGastosViaje->recordCount(), 1);
    }

    void lookupFields() {
        TDatos datos;
        datos.db->setPath(db.path());
        datos.db->open();
        ProgramaTemporal::insertar(*datos.db, QStringLiteral("cliente.DB"),
                                   {{"CIF", "B1"}, {"Apellidos", "TRANSPORTES PÉREZ"}});
        ProgramaTemporal::insertar(
            *datos.db, QStringLiteral("reportes.DB"),
            {{"Numero", "000001/05"}, {"Transportista", "TRANSPORTES PÉREZ"}});
        ProgramaTemporal::insertar(*datos.db, QStringLiteral("reportes.DB"),
                                   {{"Numero", "000002/05"}, {"Transportista", "SIN FICHA"}});
        datos.TReportes->setIndexFieldNames(QStringLiteral("Numero"));
        datos.TReportes->open();
        QCOMPARE(datos.TReportes->value(QStringLiteral("Cliente")).toString(),
                 QStringLiteral("TRANSPORTES PÉREZ"));
        // A grid reads lookup fields with the rest of its rows.
        const QVector<qint64> ids = datos.TReportes->rowIds();
        const auto filas = datos.TReportes->readRows(ids, {"Numero", "Cliente"});
        QCOMPARE(filas.value(ids[0]).value(1).toString(), QStringLiteral("TRANSPORTES PÉREZ"));
        QVERIFY(filas.value(ids[1]).value(1).isNull());
        datos.TReportes->next();
        QVERIFY(datos.TReportes->value(QStringLiteral("Cliente")).isNull());
        QCOMPARE(datos.TReportes->value(QStringLiteral("Transportista")).toString(),
                 QStringLiteral("SIN FICHA"));
        // Choosing a client in the drop-down stores its name in the report.
        datos.TReportes->edit();
        datos.TReportes->setValue(QStringLiteral("Cliente"), QStringLiteral("TRANSPORTES PÉREZ"));
        datos.TReportes->post();
        QCOMPARE(datos.TReportes->value(QStringLiteral("Transportista")).toString(),
                 QStringLiteral("TRANSPORTES PÉREZ"));
    }

    void editOnEmptyStartsANewRecord() {
        QObject owner;
        auto *t = new Table(&db, QStringLiteral("Lugar.db"), &owner);
        t->open();
        QVERIFY(t->isEmpty());
        t->edit();
        QCOMPARE(t->state(), DataSet::Insert);
        t->cancel();
        QVERIFY(t->isEmpty());
    }

    void rolledBackTransactionLeavesNothing() {
        QObject owner;
        auto *t = new Table(&db, QStringLiteral("Lugar.db"), &owner);
        t->open();
        {
            Transaction tx(db);
            t->append();
            t->setValue(QStringLiteral("Lugar"), QStringLiteral("MADRID"));
            t->post();
            QCOMPARE(t->recordCount(), 1);
        }
        t->refresh();
        QCOMPARE(t->recordCount(), 0);
        QVERIFY(t->isEmpty());
    }
};

QTEST_GUILESS_MAIN(TstTable)
#include "tst_table.moc"
