#include "Generador.h"

#include "app/Configuracion.h"
#include "app/IniFile.h"
#include "store/Connection.h"
#include "store/Statement.h"
#include "store/StoreFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

class TstGenerador : public QObject {
    Q_OBJECT

    QTemporaryDir carpeta;
    Connection db{QStringLiteral("VIVOZED")};

    QVariant valor(const QString &sql) {
        Statement st(db.handle(), sql);
        return st.step() ? st.column(0) : QVariant();
    }
    int cuenta(const QString &sql) { return valor(sql).toInt(); }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(carpeta.isValid());
        Generador::prepararDemo(carpeta.path());
        db.setPath(carpeta.filePath(QStringLiteral("Emp1")));
        db.open();
    }

    void carpetaDelProgramaNombraLaEmpresa() {
        QVERIFY(QFileInfo::exists(StoreFiles::templateFile(carpeta.path())));
        for (const char *sub : {"TEMP", "Exportados", "CARGAS DE GASTOS", "ayuda"})
            QVERIFY2(QFileInfo(carpeta.filePath(QString::fromLatin1(sub))).isDir(), sub);

        Connection registro(QStringLiteral("EMPRESAS"));
        registro.setDatabaseFile(StoreFiles::registryFile(carpeta.path()));
        registro.setTables({&Schema::registry()});
        registro.open();
        Statement st(
            registro.handle(),
            QStringLiteral("SELECT Ruta, NombreEmpresa, Moneda, Cambio, Ficheros FROM empresas "
                           "WHERE Id = 1"));
        QVERIFY(st.step());
        const QString ruta = st.column(0).toString();
        const QString nombre = st.column(1).toString();
        QVERIFY(QDir::isAbsolutePath(ruta));
        QCOMPARE(QFileInfo(ruta).canonicalFilePath(),
                 QFileInfo(carpeta.filePath(QStringLiteral("Emp1"))).canonicalFilePath());
        QVERIFY(QFileInfo::exists(QDir(ruta).filePath(QStringLiteral("datos.db"))));
        QVERIFY(!nombre.isEmpty());
        QCOMPARE(st.column(2).toString(), QStringLiteral("Euros"));
        QCOMPARE(st.column(3).toDouble(), 1.0);
        QCOMPARE(st.column(4).toInt(), 1);
        QVERIFY(!st.step());

        IniFile ini(carpeta.filePath(QStringLiteral("Velmora.INI")));
        QCOMPARE(ini.readString(Clave::Empresa, Clave::Ruta, QString()), ruta);
        QCOMPARE(ini.readInteger(Clave::Empresa, Clave::Codigo, 0), 1);
        QCOMPARE(ini.readString(Clave::Empresa, Clave::Nombre, QString()), nombre);
        const QDate hoy = QDate::currentDate();
        QCOMPARE(ini.readDate(Clave::Empresa, Clave::Inicio, QDate()), QDate(hoy.year(), 1, 1));
        QCOMPARE(ini.readDate(Clave::Empresa, Clave::Fin, QDate()), QDate(hoy.year(), 12, 31));
    }

    // The links a window follows from one record to another, and the totals it would compute.
    void datosCoherentes() {
        // Hauls: unique numbers "NNNNNN/YY" whose year is the haul's.
        const int portes = cuenta(QStringLiteral("SELECT COUNT(*) FROM portes"));
        QVERIFY(portes > 1000);
        QCOMPARE(cuenta(QStringLiteral("SELECT COUNT(DISTINCT Numero) FROM portes")), portes);
        {
            const QRegularExpression forma(QStringLiteral("^\\d{6}/(\\d{2})$"));
            Statement st(db.handle(), QStringLiteral("SELECT Numero, Fecha FROM portes"));
            while (st.step()) {
                const QString numero = st.column(0).toString();
                const auto m = forma.match(numero);
                QVERIFY2(m.hasMatch(), qPrintable(numero));
                QCOMPARE(m.captured(1), st.column(1).toString().mid(2, 2));
            }
        }

        // Flags hold exactly "Sí" or "No", and both occur.
        for (const char *campo : {"Facturado", "Pagado", "Reportado"}) {
            const QString c = QString::fromLatin1(campo);
            QCOMPARE(
                cuenta(QStringLiteral("SELECT COUNT(*) FROM portes WHERE %1 IS NULL OR %1 NOT IN "
                                      "('Sí', 'No')")
                           .arg(c)),
                0);
            QVERIFY2(cuenta(QStringLiteral("SELECT COUNT(*) FROM portes WHERE %1 = 'Sí'").arg(c)) >
                         0,
                     campo);
            QVERIFY2(cuenta(QStringLiteral("SELECT COUNT(*) FROM portes WHERE %1 = 'No'").arg(c)) >
                         0,
                     campo);
        }
        QCOMPARE(cuenta(QStringLiteral(
                     "SELECT COUNT(*) FROM reportes WHERE Facturado IS NULL OR "
                     "Facturado NOT IN ('Sí', 'No') OR Pagado IS NULL OR Pagado NOT IN "
                     "('Sí', 'No')")),
                 0);

        // Reported hauls and reports correspond one to one, number and plate alike.
        QVERIFY(cuenta(QStringLiteral("SELECT COUNT(*) FROM reportes")) > 0);
        QCOMPARE(
            cuenta(QStringLiteral("SELECT COUNT(*) FROM portes p WHERE (p.Reportado = 'Sí') <> "
                                  "EXISTS (SELECT 1 FROM reportes r WHERE r.Numero = p.Numero)")),
            0);
        QCOMPARE(cuenta(QStringLiteral(
                     "SELECT COUNT(*) FROM reportes r WHERE NOT EXISTS (SELECT 1 FROM "
                     "portes p WHERE p.Numero = r.Numero AND p.Matricula = r.Matricula "
                     "AND p.Reportado = 'Sí')")),
                 0);

        // Invoiced flags follow the invoice lines.
        QCOMPARE(
            cuenta(QStringLiteral("SELECT COUNT(*) FROM portes p WHERE (p.Facturado = 'Sí') <> "
                                  "EXISTS (SELECT 1 FROM detalle d WHERE d.IDPorte = p.ID)")),
            0);
        QCOMPARE(cuenta(QStringLiteral(
                     "SELECT COUNT(*) FROM reportes r WHERE (r.Facturado = 'Sí') <> "
                     "EXISTS (SELECT 1 FROM detalle d WHERE d.IDReporte = r.NumREgistro)")),
                 0);

        // Every trip belongs to the haul its number and identifier name.
        QVERIFY(cuenta(QStringLiteral("SELECT COUNT(*) FROM viaje")) > 1000);
        QCOMPARE(
            cuenta(QStringLiteral("SELECT COUNT(*) FROM viaje v LEFT JOIN portes p ON p.ID = "
                                  "v.NumeroPorte WHERE p.ID IS NULL OR p.Numero <> v.NumViaje OR "
                                  "v.NumPorte IS NOT p.Numero")),
            0);

        // Fuel: each line's amount is litres times price, and the trip's total is their sum.
        QVERIFY(cuenta(QStringLiteral("SELECT COUNT(*) FROM gascombu")) > 0);
        QCOMPARE(cuenta(QStringLiteral("SELECT COUNT(*) FROM gascombu WHERE Importe IS NULL OR "
                                       "ABS(Importe - Litros * Precio) > 0.005 + 1e-9")),
                 0);
        QCOMPARE(cuenta(QStringLiteral(
                     "SELECT COUNT(*) FROM viaje v WHERE ABS(COALESCE(v.TotalCombustible, "
                     "-1) - (SELECT TOTAL(g.Importe) FROM gascombu g WHERE g.NumViaje = "
                     "v.NumViaje)) > 0.005")),
                 0);
    }
};

QTEST_GUILESS_MAIN(TstGenerador)
#include "tst_generador.moc"
