#include "ProgramaTemporal.h"
#include "store/Connection.h"
#include "store/StoreError.h"
#include "store/StoreFiles.h"
#include "store/Table.h"

#include <QFileInfo>
#include <QTest>

// The databases of the program folder: the company template, the registry and "TT.DB".
class TstStoreFiles : public QObject {
    Q_OBJECT

    static void addRecord(Table &t, const QVariantMap &values) {
        t.append();
        for (auto it = values.begin(); it != values.end(); ++it)
            t.setValue(it.key(), it.value());
        t.post();
    }

private Q_SLOTS:
    void templateHoldsEveryCompanyTable() {
        ProgramaTemporal programa;
        StoreFiles::ensureTemplate(programa.carpeta());
        QVERIFY(QFileInfo::exists(programa.ruta(QStringLiteral("Tablas/datos.db"))));
        Connection db(QStringLiteral("VIVOZED"));
        db.setPath(programa.ruta(QStringLiteral("Tablas")));
        db.open();
        for (const TableDef &t : Schema::companyTables()) {
            Table cursor(&db, t.fileName);
            cursor.open();
            QVERIFY2(cursor.isEmpty(), qPrintable(t.fileName));
        }
    }

    void workTableCreatedWithItsFolderAndKey() {
        ProgramaTemporal programa;
        QVERIFY(!QFileInfo::exists(programa.ruta(QStringLiteral("TEMP"))));
        StoreFiles::ensureWorkTable(programa.carpeta());
        Connection db(QStringLiteral("TT"));
        db.setDatabaseFile(StoreFiles::workTableFile(programa.carpeta()));
        db.setTables({&Schema::workTableTT()});
        db.open();
        Table tt(&db, QStringLiteral("TT.DB"));
        tt.open();
        addRecord(tt, {{"Cliente", "PÉREZ"}, {"I.Portes", 10.5}});
        try {
            addRecord(tt, {{"Cliente", "PÉREZ"}, {"I.Reportes", 3.0}});
            QFAIL("a second record for the same client was stored");
        } catch (const StoreError &e) {
            QCOMPARE(e.code(), 9729);
        }
        tt.cancel();
        // A second call keeps what is there.
        StoreFiles::ensureWorkTable(programa.carpeta());
        tt.refresh();
        QCOMPARE(tt.recordCount(), 1);
        QCOMPARE(tt.value(QStringLiteral("I.Portes")).toDouble(), 10.5);
    }

    void registryRejectsRepeatedCodeAndNamelessCompany() {
        ProgramaTemporal programa;
        StoreFiles::ensureRegistry(programa.carpeta());
        Connection db(QStringLiteral("Empresas"));
        db.setDatabaseFile(StoreFiles::registryFile(programa.carpeta()));
        db.setTables({&Schema::registry()});
        db.open();
        Table empresas(&db, QStringLiteral("empresas.db"));
        empresas.open();
        addRecord(empresas, {{"Id", 1}, {"NombreEmpresa", "UNO"}});
        try {
            addRecord(empresas, {{"Id", 1}, {"NombreEmpresa", "OTRA"}});
            QFAIL("a repeated company code was stored");
        } catch (const StoreError &e) {
            QCOMPARE(e.code(), 9729);
        }
        empresas.cancel();
        try {
            addRecord(empresas, {{"Id", 2}});
            QFAIL("a company without name was stored");
        } catch (const StoreError &e) {
            QCOMPARE(e.kind(), StoreError::RequiredField);
            QCOMPARE(e.field(), QStringLiteral("NombreEmpresa"));
        }
    }
};

QTEST_GUILESS_MAIN(TstStoreFiles)
#include "tst_storefiles.moc"
