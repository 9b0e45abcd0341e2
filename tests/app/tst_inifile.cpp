#include "app/IniFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TstIniFile : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString path(const QString &name) const { return dir.filePath(name); }
    static QByteArray contents(const QString &file) {
        QFile f(file);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }
    static void put(const QString &file, const QByteArray &bytes) {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

private Q_SLOTS:
    void lettercaseIgnoredSpellingKept() {
        IniFile ini(path(QStringLiteral("case.ini")));
        ini.writeString(QStringLiteral("Empresa"), QStringLiteral("Ruta Logotipo"),
                        QStringLiteral("/a.png"));
        QCOMPARE(
            ini.readString(QStringLiteral("EMPRESA"), QStringLiteral("Ruta logotipo"), QString()),
            QStringLiteral("/a.png"));
        ini.writeString(QStringLiteral("empresa"), QStringLiteral("RUTA LOGOTIPO"),
                        QStringLiteral("/b.png"));
        QCOMPARE(contents(ini.path()), QByteArray("[Empresa]\nRuta Logotipo=/b.png\n"));
    }

    void readFloat_data() {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<double>("esperado");
        QTest::newRow("decimal comma") << "166,386" << 166.386;
        QTest::newRow("decimal point") << "166.386" << 166.386;
        QTest::newRow("grouped") << "1.234,5" << 1234.5;
        QTest::newRow("integer") << "2" << 2.0;
        QTest::newRow("garbage gives the default") << "abc" << -1.0;
        QTest::newRow("empty gives the default") << "" << -1.0;
        QTest::newRow("point after comma gives the default") << "1,2.3" << -1.0;
        QTest::newRow("nan gives the default") << "nan" << -1.0;
    }

    void readFloat() {
        QFETCH(QString, texto);
        QFETCH(double, esperado);
        IniFile ini(path(QStringLiteral("float.ini")));
        ini.writeString(QStringLiteral("Empresa"), QStringLiteral("Cambio"), texto);
        QCOMPARE(ini.readFloat(QStringLiteral("Empresa"), QStringLiteral("Cambio"), -1.0),
                 esperado);
    }

    void writeFloat_data() {
        QTest::addColumn<double>("valor");
        QTest::addColumn<QString>("texto");
        QTest::newRow("exchange rate") << 166.386 << "166,386";
        QTest::newRow("whole") << 2.0 << "2";
        QTest::newRow("no grouping") << -1234567.25 << "-1234567,25";
        QTest::newRow("no exponent") << 0.0001 << "0,0001";
        QTest::newRow("shortest exact") << 0.1 + 0.2 << "0,30000000000000004";
    }

    void writeFloat() {
        QFETCH(double, valor);
        QFETCH(QString, texto);
        IniFile ini(path(QStringLiteral("w.ini")));
        QVERIFY(ini.writeFloat(QStringLiteral("Empresa"), QStringLiteral("Cambio"), valor));
        QCOMPARE(ini.readString(QStringLiteral("Empresa"), QStringLiteral("Cambio"), QString()),
                 texto);
        QCOMPARE(ini.readFloat(QStringLiteral("Empresa"), QStringLiteral("Cambio"), 0), valor);
    }

    void readBool_data() {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<bool>("esperado");
        QTest::newRow("1") << "1" << true;
        QTest::newRow("0") << "0" << false;
        QTest::newRow("True") << "True" << true;
        QTest::newRow("FALSE") << "FALSE" << false;
        QTest::newRow("garbage gives the default") << "si" << true;
    }

    void readBool() {
        QFETCH(QString, texto);
        QFETCH(bool, esperado);
        IniFile ini(path(QStringLiteral("bool.ini")));
        ini.writeString(QStringLiteral("Aplicacion"), QStringLiteral("Flat"), texto);
        QCOMPARE(ini.readBool(QStringLiteral("Aplicacion"), QStringLiteral("Flat"), true),
                 esperado);
    }

    void missingFileGivesDefaultsAndIsNotCreated() {
        IniFile ini(path(QStringLiteral("sub/none.ini")));
        QCOMPARE(ini.readInteger(QStringLiteral("Aplicacion"), QStringLiteral("Progreso"), 1), 1);
        QCOMPARE(ini.readDate(QStringLiteral("Empresa"), QStringLiteral("Inicio"), QDate()),
                 QDate());
        QVERIFY(!QFile::exists(ini.path()));
        ini.writeInteger(QStringLiteral("Aplicacion"), QStringLiteral("Progreso"), 0);
        QVERIFY(QFile::exists(ini.path()));
        QCOMPARE(ini.readInteger(QStringLiteral("Aplicacion"), QStringLiteral("Progreso"), 1), 0);
    }

    void lineBreakStaysOnItsLine() {
        IniFile ini(path(QStringLiteral("nl.ini")));
        ini.writeString(QStringLiteral("Copia"), QStringLiteral("Nota"),
                        QStringLiteral("a\r\nb=c"));
        QCOMPARE(ini.readSection(QStringLiteral("Copia")), QStringList{QStringLiteral("Nota")});
        QCOMPARE(ini.readString(QStringLiteral("Copia"), QStringLiteral("Nota"), QString()),
                 QStringLiteral("a b=c"));
    }

    void failedWriteReportsFalse() {
        put(path(QStringLiteral("afile")), "x");
        IniFile ini(path(QStringLiteral("afile/sub.ini"))); // its folder would be a file
        QVERIFY(!ini.writeInteger(QStringLiteral("A"), QStringLiteral("k"), 1));
        QCOMPARE(ini.readInteger(QStringLiteral("A"), QStringLiteral("k"), 7), 7);
    }

    void otherLinesSurviveAWrite() {
        const QString file = path(QStringLiteral("keep.ini"));
        put(file, "; comentario\r\n[Aplicacion]\r\nOtros=clave\r\n\r\n[Empresa]\r\nNombre=ABC\r\n");
        IniFile ini(file);
        ini.writeString(QStringLiteral("aplicacion"), QStringLiteral("Usuario"),
                        QStringLiteral("PEPE"));
        ini.writeString(QStringLiteral("Visualizador"), QStringLiteral("Ruta"),
                        QStringLiteral("c:\\"));
        QCOMPARE(contents(file),
                 QByteArray("; comentario\n[Aplicacion]\nOtros=clave\nUsuario=PEPE\n\n"
                            "[Empresa]\nNombre=ABC\n\n[Visualizador]\nRuta=c:\\\n"));
        ini.deleteKey(QStringLiteral("APLICACION"), QStringLiteral("otros"));
        QVERIFY(!ini.keyExists(QStringLiteral("Aplicacion"), QStringLiteral("Otros")));
        QCOMPARE(ini.readSection(QStringLiteral("aplicacion")),
                 QStringList{QStringLiteral("Usuario")});
    }

    void latin1FileIsRead() {
        const QString file = path(QStringLiteral("latin1.ini"));
        put(file, QByteArray("[Empresa]\nNombre=Cami\xf3n\n"));
        QCOMPARE(IniFile(file).readString(QStringLiteral("Empresa"), QStringLiteral("Nombre"),
                                          QString()),
                 QStringLiteral("Camión"));
    }

    void readDate_data() {
        QTest::addColumn<QString>("texto");
        QTest::addColumn<QDate>("esperado");
        QTest::newRow("dd/mm/yyyy") << "01/01/2005" << QDate(2005, 1, 1);
        QTest::newRow("dd/mm/yy") << "31/12/05" << QDate(2005, 12, 31);
        QTest::newRow("garbage") << "mañana" << QDate(1999, 9, 9);
    }

    void readDate() {
        QFETCH(QString, texto);
        QFETCH(QDate, esperado);
        IniFile ini(path(QStringLiteral("date.ini")));
        ini.writeString(QStringLiteral("Empresa"), QStringLiteral("Inicio"), texto);
        QCOMPARE(
            ini.readDate(QStringLiteral("Empresa"), QStringLiteral("Inicio"), QDate(1999, 9, 9)),
            esperado);
        ini.writeDate(QStringLiteral("Empresa"), QStringLiteral("Fin"), QDate(2005, 3, 4));
        QCOMPARE(ini.readString(QStringLiteral("Empresa"), QStringLiteral("Fin"), QString()),
                 QStringLiteral("04/03/2005"));
    }
};

QTEST_GUILESS_MAIN(TstIniFile)
#include "tst_inifile.moc"
