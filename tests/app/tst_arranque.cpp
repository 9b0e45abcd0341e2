#include "MensajesGuionizados.h"
#include "ProgramaTemporal.h"
#include "app/Arranque.h"
#include "app/Configuracion.h"
#include "app/IniFile.h"
#include "app/Programa.h"
#include "app/TFormMenuPrincipal.h"
#include "store/Connection.h"
#include "store/TDatos.h"

#include <QDate>
#include <QFileInfo>
#include <QTest>

// Start-up and the opening of a company, as the user sees them: caption, status text and the
// messages shown.
class TstArranque : public QObject {
    Q_OBJECT

    static void llenar(const QString &carpeta, int portes, int reportes, int viajes) {
        Connection db(QStringLiteral("fixture"));
        db.setPath(carpeta);
        db.open();
        for (int i = 1; i <= portes; ++i)
            ProgramaTemporal::insertar(
                db, QStringLiteral("portes.DB"),
                {{"Numero", QStringLiteral("%1/05").arg(i, 6, 10, QChar('0'))},
                 {"Fecha", QDate(2005, 1, i)},
                 {"Matricula", "A"},
                 {"Facturado", "No"},
                 {"Pagado", "No"},
                 {"Reportado", "No"}});
        for (int i = 1; i <= reportes; ++i)
            ProgramaTemporal::insertar(
                db, QStringLiteral("reportes.DB"),
                {{"Numero", QStringLiteral("%1/05").arg(i, 6, 10, QChar('0'))}});
        for (int i = 1; i <= viajes; ++i)
            ProgramaTemporal::insertar(
                db, QStringLiteral("viaje.DB"),
                {{"NumViaje", QStringLiteral("%1/05").arg(i, 6, 10, QChar('0'))}});
    }

private Q_SLOTS:
    void withoutConfigurationNoCompanyAndNoFile() {
        ProgramaTemporal programa;
        MensajesGuionizados mensajes;
        Arranque arranque;
        QVERIFY(arranque.iniciar());
        QCOMPARE(arranque.ventana()->windowTitle(),
                 QStringLiteral("No hay ninguna empresa abierta..."));
        QVERIFY(arranque.ventana()->textoEstado().isEmpty());
        QVERIFY(!QFileInfo::exists(programa.ini()));
        QVERIFY(!arranque.datos()->TPortes->isActive());
        QCOMPARE(arranque.ventana()->ajustes.progreso, 0);
        QCOMPARE(arranque.ventana()->tituloAplicacion, QStringLiteral("Dudovuv oz aruduradore"));
        QCOMPARE(arranque.ventana()->version, QStringLiteral("3.5.3.1553 (02-12-2002)"));
    }

    void opensTheConfiguredCompany() {
        ProgramaTemporal programa;
        llenar(programa.crearEmpresa(3, QStringLiteral("TRANSPORTES ABC")), 2, 1, 3);
        MensajesGuionizados mensajes;
        Arranque arranque;
        QVERIFY(arranque.iniciar());
        TFormMenuPrincipal *v = arranque.ventana();
        QCOMPARE(v->windowTitle(), QStringLiteral("Empresa: 3 - TRANSPORTES ABC"));
        QCOMPARE(v->textoEstado(),
                 QStringLiteral("Inicio: 01/01/2005**2 Portes**1 Reportes**3 Viajes"));
        QCOMPARE(v->ajustes.cambio, 166.386);
        QCOMPARE(v->ajustes.moneda, QStringLiteral("Euros"));
        QCOMPARE(v->ajustes.mostrarTotal, 1);
        TDatos *d = arranque.datos();
        for (Table *t : d->tablasCompartidas())
            QVERIFY2(t->isActive(), qPrintable(t->objectName()));
        QVERIFY(!d->TGastosViaje->isActive());
        QVERIFY(!d->TNeumaticos->isActive());

        // The counts are of whole tables, whatever filter a window left on a shared cursor.
        d->TPortes->setFilter(QStringLiteral("[Matricula] = 'NINGUNA'"));
        d->TPortes->setFiltered(true);
        IniFile(programa.ini()).writeString(Clave::Empresa, Clave::Cambio, QStringLiteral("2,5"));
        QVERIFY(v->AbrirEmpresa());
        QCOMPARE(v->textoEstado(),
                 QStringLiteral("Inicio: 01/01/2005**2 Portes**1 Reportes**3 Viajes"));
        QCOMPARE(v->ajustes.cambio, 2.5);
    }

    void companyWithoutName() {
        ProgramaTemporal programa;
        programa.crearEmpresa(1, QString());
        MensajesGuionizados mensajes;
        Arranque arranque;
        QVERIFY(arranque.iniciar());
        QCOMPARE(arranque.ventana()->windowTitle(), QStringLiteral("Empresa: 1 - "));
        QCOMPARE(arranque.ventana()->textoEstado(),
                 QStringLiteral("Abra una empresa antes de continuar."));
    }

    void failureMessageNamesCompanyErrorAndClass() {
        ProgramaTemporal programa;
        const QString carpeta = programa.crearEmpresa(7, QStringLiteral("TRANSPORTES ABC"));
        {
            Connection db(QStringLiteral("fixture"));
            db.setPath(carpeta);
            db.open();
            db.exec(QStringLiteral("DROP TABLE viaje"));
        }
        MensajesGuionizados mensajes;
        mensajes.esperar(TipoMensaje::Error);
        Arranque arranque;
        QVERIFY(arranque.iniciar());
        QCOMPARE(mensajes.vistos().size(), 1);
        QCOMPARE(
            mensajes.ultimoTexto(),
            QStringLiteral("Se ha producido el siguiente error al intentar abrir la empresa\r\r"
                           "7 - TRANSPORTES ABC\r\rNo se encuentra la tabla viaje.DB.\r De la "
                           "clase: StoreError"));
        TDatos *d = arranque.datos();
        QVERIFY(d->TDetalles->isActive());
        QVERIFY(!d->TViajes->isActive());
        QVERIFY(!d->TGastos->isActive());
        QCOMPARE(arranque.ventana()->windowTitle(), QStringLiteral("Empresa: 7 - TRANSPORTES ABC"));
    }

    void periodStartMissing() {
        ProgramaTemporal programa;
        programa.crearEmpresa(2, QStringLiteral("ABC"));
        IniFile(programa.ini()).deleteKey(Clave::Empresa, Clave::Inicio);
        MensajesGuionizados mensajes;
        mensajes.esperar(TipoMensaje::Error);
        Arranque arranque;
        QVERIFY(arranque.iniciar());
        QVERIFY(mensajes.ultimoTexto().startsWith(QStringLiteral(
            "Se ha producido el siguiente error al intentar abrir la empresa\r\r2 - ABC\r\r")));
        QVERIFY(mensajes.ultimoTexto().endsWith(QStringLiteral("\r De la clase: StoreError")));
    }

    void missingCompanyFolderStartsWithoutCompany() {
        ProgramaTemporal programa;
        IniFile(programa.ini())
            .writeString(Clave::Empresa, Clave::Ruta, programa.ruta(QStringLiteral("Emp9")));
        MensajesGuionizados mensajes;
        mensajes.esperar(TipoMensaje::Error);
        Arranque arranque;
        QVERIFY(arranque.iniciar());
        QVERIFY(mensajes.ultimoTexto().contains(QStringLiteral("Emp9")));
        QCOMPARE(arranque.ventana()->windowTitle(),
                 QStringLiteral("No hay ninguna empresa abierta..."));
        QVERIFY(!QFileInfo::exists(programa.ruta(QStringLiteral("Emp9"))));
    }

    void secondInstanceRefused() {
        ProgramaTemporal programa;
        MensajesGuionizados mensajes;
        Arranque primera;
        QVERIFY(primera.iniciar());
        mensajes.esperar(TipoMensaje::Atencion);
        Arranque segunda;
        QVERIFY(!segunda.iniciar());
        QCOMPARE(mensajes.ultimoTexto(), QStringLiteral("Dudovuv oz aruduradore ya está abierto."));
        QVERIFY(primera.ventana() != nullptr);
        QVERIFY(segunda.ventana() == nullptr);
    }

    void aliasLeftAsFound() {
        ProgramaTemporal programa;
        Connection::addAlias(QStringLiteral("VIvozed"), QStringLiteral("/otra/carpeta"));
        MensajesGuionizados mensajes;
        Arranque arranque;
        QVERIFY(arranque.iniciar());
        QCOMPARE(Connection::aliasPath(QStringLiteral("VIvozed")), QStringLiteral("/otra/carpeta"));
    }
};

QTEST_MAIN(TstArranque)
#include "tst_arranque.moc"
