#include "MensajesGuionizados.h"
#include "ProgramaTemporal.h"
#include "app/IniFile.h"
#include "app/Programa.h"
#include "app/TFormMenuPrincipal.h"
#include "companies/CopiaSeguridad.h"
#include "companies/TFormCopiaSeguridad.h"
#include "store/Connection.h"
#include "store/StoreFiles.h"
#include "store/TDatos.h"
#include "store/Table.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// Backups: where they may go, what they copy and log, and restoring them, also where the
// registry does not know the company.
class TstCopiaSeguridad : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramaTemporal> programa;
    std::unique_ptr<TFormMenuPrincipal> principal;
    std::unique_ptr<TDatos> datos;
    QString empresa;

    static void escribir(const QString &fichero, const QByteArray &contenido) {
        QFile f(fichero);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(contenido);
    }
    static QByteArray leer(const QString &fichero) {
        QFile f(fichero);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    std::unique_ptr<Connection> registro() {
        StoreFiles::ensureRegistry(programa->carpeta());
        auto c = std::make_unique<Connection>(QStringLiteral("REGISTRO_PRUEBA"));
        c->setDatabaseFile(StoreFiles::registryFile(programa->carpeta()));
        c->setTables({&Schema::registry()});
        c->open();
        return c;
    }
    QVariant enRegistro(const QString &campo, int id) {
        auto c = registro();
        Statement &st =
            c->cached(QStringLiteral("SELECT %1 FROM empresas WHERE Id = ?").arg(campo));
        st.bind(1, id);
        QVariant v = st.step() ? st.column(0) : QVariant(QStringLiteral("<sin registro>"));
        st.reset();
        return v;
    }
    CopiaSeguridad::Empresa abierta() const {
        return {7, QStringLiteral("TRANSPORTES PRUEBA"), empresa, QStringLiteral("ANA")};
    }

private Q_SLOTS:
    void init() {
        programa = std::make_unique<ProgramaTemporal>();
        empresa = programa->crearEmpresa(7, QStringLiteral("TRANSPORTES PRUEBA"));
        IniFile(programa->ini())
            .writeString(QStringLiteral("Aplicacion"), QStringLiteral("Usuario"),
                         QStringLiteral("ANA"));
        principal = std::make_unique<TFormMenuPrincipal>();
        principal->ajustes = AjustesEmpresa::leer(IniFile(programa->ini()));
        datos = std::make_unique<TDatos>();
        datos->db->setPath(empresa);
        datos->db->open();
        datos->abrirTablasCompartidas();
        escribir(QDir(empresa).filePath("notas.val"), "uno");
    }
    void cleanup() {
        datos.reset();
        principal.reset();
        programa.reset();
    }

    void targets_data() {
        QTest::addColumn<QString>("destino");
        QTest::addColumn<bool>("permitido");
        QTest::newRow("company folder") << "EMPRESA" << false;
        QTest::newRow("company folder, other case") << "EMPRESA_MAYUSCULAS" << false;
        QTest::newRow("program folder") << "PROGRAMA" << false;
        QTest::newRow("templates") << "PROGRAMA/tablas" << false;
        QTest::newRow("root") << "/" << false;
        QTest::newRow("another folder") << "PROGRAMA/copias" << true;
        QTest::newRow("inside the company folder") << "EMPRESA/copia" << true;
    }
    void targets() {
        QFETCH(QString, destino);
        QFETCH(bool, permitido);
        destino.replace("EMPRESA_MAYUSCULAS", empresa.toUpper());
        destino.replace("EMPRESA", empresa);
        destino.replace("PROGRAMA", programa->carpeta());
        QCOMPARE(CopiaSeguridad::destinoPermitido(destino, empresa, programa->carpeta()),
                 permitido);
    }

    // Twice into the same folder: files replaced, others left; the log in the company folder
    // keeps a registry value that has become empty since.
    void backupTwiceAndItsLog() {
        registro()->exec("INSERT INTO empresas (Id, NombreEmpresa, Moneda, Cambio, CIF) VALUES "
                         "(7, 'TRANSPORTES PRUEBA', 'Euros', 166.386, 'B12345678')");
        const QString destino = programa->ruta("copias");
        QDir().mkpath(destino);
        escribir(QDir(destino).filePath("ajeno.txt"), "ajeno");
        escribir(QDir(destino).filePath("notas.val"), "viejo");
        datos->db->close();
        QVERIFY(CopiaSeguridad::escribirLog(abierta(), programa->carpeta(),
                                            QDateTime(QDate(2026, 3, 5), QTime(10, 30, 15))));
        QVERIFY(CopiaSeguridad::copiarFicheros(empresa, destino, {}));
        QCOMPARE(leer(QDir(destino).filePath("notas.val")), QByteArray("uno"));
        QCOMPARE(leer(QDir(destino).filePath("ajeno.txt")), QByteArray("ajeno"));
        QCOMPARE(leer(QDir(destino).filePath("datos.db")),
                 leer(QDir(empresa).filePath("datos.db")));
        const CopiaSeguridad::Datos d = CopiaSeguridad::leerLog(destino);
        QCOMPARE(d.nombre, QStringLiteral("TRANSPORTES PRUEBA"));
        QCOMPARE(d.id, 7);
        QCOMPARE(d.ruta, empresa);
        QCOMPARE(d.fecha, QDate(2026, 3, 5));
        QCOMPARE(d.hora, QTime(10, 30, 15));
        QCOMPARE(d.usuario, QStringLiteral("ANA"));
        const IniFile log(QDir(empresa).filePath(CopiaSeguridad::kLog));
        QCOMPARE(log.readFloat("Empresa", "Cambio", 0), 166.386);
        QCOMPARE(log.readString("Empresa", "Ficheros", ""), QStringLiteral("1"));

        registro()->exec("UPDATE empresas SET CIF = NULL");
        escribir(QDir(empresa).filePath("notas.val"), "dos");
        QVERIFY(CopiaSeguridad::escribirLog(abierta(), programa->carpeta(),
                                            QDateTime(QDate(2026, 3, 6), QTime(9, 0))));
        QVERIFY(CopiaSeguridad::copiarFicheros(empresa, destino, {}));
        QCOMPARE(leer(QDir(destino).filePath("notas.val")), QByteArray("dos"));
        QCOMPARE(
            IniFile(QDir(destino).filePath(CopiaSeguridad::kLog)).readString("Empresa", "CIF", ""),
            QStringLiteral("B12345678"));
        QCOMPARE(CopiaSeguridad::leerLog(destino).fecha, QDate(2026, 3, 6));
    }

    // A copy that cannot be made says which file failed and leaves no half-written file.
    void failedCopy() {
        const QString destino = programa->ruta("copias");
        QDir().mkpath(destino);
        QDir().mkpath(QDir(destino).filePath("notas.val")); // a folder where the file would go
        QString fallido;
        QVERIFY(!CopiaSeguridad::copiarFicheros(empresa, destino, {}, &fallido));
        QCOMPARE(fallido, QStringLiteral("notas.val"));
        QVERIFY(!QFile::exists(QDir(destino).filePath("notas.val.copiando")));
    }

    // Without a registry record the log names only the company; restoring it where the registry
    // lacks the company adds a record with code 0, dated today, in "pta" at 1.
    void restoreAddsTheCompanyToTheRegistry() {
        const QString destino = programa->ruta("copias");
        QDir().mkpath(destino);
        QVERIFY(CopiaSeguridad::escribirLog(abierta(), programa->carpeta(),
                                            QDateTime::currentDateTime()));
        QVERIFY(CopiaSeguridad::copiarFicheros(empresa, destino, {}));
        QVERIFY(!IniFile(QDir(destino).filePath(CopiaSeguridad::kLog)).keyExists("Empresa", "ID"));
        CopiaSeguridad::registrarEmpresa(programa->carpeta(), destino, QDate(2026, 12, 11));
        QCOMPARE(enRegistro("NombreEmpresa", 0).toString(), QStringLiteral("TRANSPORTES PRUEBA"));
        QCOMPARE(enRegistro("Ficheros", 0).toInt(), 1);
        QCOMPARE(enRegistro("FechaAlta", 0).toString(), QStringLiteral("2026-12-11"));
        QCOMPARE(enRegistro("Moneda", 0).toString(), QStringLiteral("pta"));
        QCOMPARE(enRegistro("Cambio", 0).toDouble(), 1.0);
        // An existing record stays as it is.
        registro()->exec("UPDATE empresas SET Moneda = 'Euros'");
        CopiaSeguridad::registrarEmpresa(programa->carpeta(), destino);
        QCOMPARE(enRegistro("Moneda", 0).toString(), QStringLiteral("Euros"));
    }

    // Through the window: a refused target, a backup, then a restore cancelled at the second
    // question and one carried through; the store connects again at the next table.
    void windowBackupAndRestore() {
        MensajesGuionizados mensajes;
        TFormCopiaSeguridad v;
        mensajes.esperar(TipoMensaje::Atencion);
        v.seleccionarCarpetaCopia(programa->carpeta());
        v.hacerCopia();
        QVERIFY(mensajes.ultimoTexto().startsWith(
            "No se puede realizar la copia de seguridad en la ruta especificada: "));
        QVERIFY(datos->db->isOpen());

        const QString destino = programa->ruta("copias");
        QDir().mkpath(destino);
        v.seleccionarCarpetaCopia(destino);
        mensajes.esperar(TipoMensaje::Informacion, true).esperar(TipoMensaje::Informacion);
        v.hacerCopia();
        QCOMPARE(mensajes.ultimoTexto(),
                 QStringLiteral("La copia de seguridad se ha realizado con éxito."));
        QVERIFY(!datos->db->isOpen());
        QCOMPARE(v.ficherosCopia(), 3); // datos.db, the log and notas.val
        QVERIFY(QFile::exists(QDir(empresa).filePath(CopiaSeguridad::kLog)));

        v.seleccionarCarpetaRestaurar(destino);
        QCOMPARE(v.textoDetalle("TxtEmpresaRestaurar"), QStringLiteral("0 - TRANSPORTES PRUEBA"));
        QCOMPARE(v.textoDetalle("TxtUsuario"), QStringLiteral("ANA"));
        escribir(QDir(empresa).filePath("notas.val"), "cambiado");
        mensajes.esperar(TipoMensaje::Informacion, true).esperar(TipoMensaje::Atencion, false);
        v.restaurar();
        QCOMPARE(leer(QDir(empresa).filePath("notas.val")), QByteArray("cambiado"));
        mensajes.esperar(TipoMensaje::Informacion, true).esperar(TipoMensaje::Atencion, true);
        v.restaurar();
        QCOMPARE(mensajes.pendientes(), 0);
        QCOMPARE(leer(QDir(empresa).filePath("notas.val")), QByteArray("uno"));

        // The next table to open connects again.
        Table portes(datos->db, QStringLiteral("portes.DB"));
        portes.open();
        QVERIFY(datos->db->isOpen());

        // A folder without a log: empty details, and restoring it only says so.
        const QString vacia = programa->ruta("vacia");
        QDir().mkpath(vacia);
        v.seleccionarCarpetaRestaurar(vacia);
        QCOMPARE(v.textoDetalle("TxtEmpresaRestaurar"), QString());
        mensajes.esperar(TipoMensaje::Informacion);
        v.restaurar();
        QCOMPARE(mensajes.ultimoTexto(),
                 QStringLiteral("No se ha encontrado ninguna copia de seguridad en la ruta "
                                "especificada. Seleccione otra ruta."));
    }
};

QTEST_MAIN(TstCopiaSeguridad)
#include "tst_copiaseguridad.moc"
