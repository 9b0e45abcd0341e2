#include "MensajesGuionizados.h"
#include "ProgramaTemporal.h"
#include "app/Arranque.h"
#include "app/Configuracion.h"
#include "app/IniFile.h"
#include "app/TFormConfiguracion.h"
#include "app/TFormMenuPrincipal.h"
#include "app/TformConexion.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

// The start-up password and the configuration dialog.
class TstConexion : public QObject {
    Q_OBJECT

    static void pulsar(QWidget *ventana, const char *boton) {
        auto *b = ventana->findChild<QPushButton *>(QString::fromLatin1(boton));
        QVERIFY2(b, boton);
        b->click();
    }
    static void escribir(QWidget *ventana, const char *caja, const QString &texto) {
        auto *c = ventana->findChild<QLineEdit *>(QString::fromLatin1(caja));
        QVERIFY2(c, caja);
        c->setText(texto);
    }

private Q_SLOTS:
    void loginComparesExactly() {
        MensajesGuionizados mensajes;
        TformConexion login(QStringLiteral("Secreto"), QStringLiteral("PEPE"),
                            QStringLiteral("v. 1"));
        login.show();
        login.cajaContrasena()->setText(QStringLiteral("secreto"));
        mensajes.esperar(TipoMensaje::Error);
        pulsar(&login, "BConectar");
        QVERIFY(login.isVisible());
        QCOMPARE(login.cajaContrasena()->text(), QStringLiteral("secreto"));
        QCOMPARE(
            mensajes.ultimoTexto(),
            QStringLiteral(
                "La contraseña introducida no es correcta. No podrá acceder a la aplicación."));
        // The close box checks as well.
        mensajes.esperar(TipoMensaje::Error);
        QVERIFY(!login.close());
        QVERIFY(login.isVisible());
        // "Cancelar" then No keeps the window and the text.
        mensajes.esperar(TipoMensaje::Confirmacion, false);
        pulsar(&login, "BCancelar");
        QVERIFY(login.isVisible());
        QCOMPARE(login.cajaContrasena()->text(), QStringLiteral("secreto"));
        login.cajaContrasena()->setText(QStringLiteral("Secreto"));
        QTest::keyClick(login.cajaContrasena(), Qt::Key_Return);
        QVERIFY(!login.isVisible());
        QCOMPARE(login.result(), int(QDialog::Accepted));
    }

    void cancellingTheLoginEndsBeforeTheMainWindow() {
        ProgramaTemporal programa;
        IniFile(programa.ini()).writeString(Clave::Aplicacion, Clave::Otros, QStringLiteral("x"));
        MensajesGuionizados mensajes;
        mensajes.esperar(TipoMensaje::Confirmacion, true);
        QTimer::singleShot(0, [] {
            if (auto *login = qobject_cast<TformConexion *>(QApplication::activeModalWidget()))
                login->findChild<QPushButton *>(QStringLiteral("BCancelar"))->click();
        });
        Arranque arranque;
        QVERIFY(!arranque.iniciar());
        QVERIFY(!arranque.ventana()->isVisible());
        QVERIFY(arranque.datos() == nullptr);
    }

    void noCompanySavesZeros() {
        ProgramaTemporal programa;
        MensajesGuionizados mensajes;
        TFormMenuPrincipal v;
        TFormConfiguracion dialogo(&v);
        const QList<QCheckBox *> cajas = dialogo.findChildren<QCheckBox *>();
        QCOMPARE(cajas.size(), 10);
        for (QCheckBox *c : cajas) {
            const bool soloFichero = c->objectName() == QLatin1String("CBCargarFormularios") ||
                                     c->objectName() == QLatin1String("CBInicio");
            QVERIFY2(c->isChecked() == soloFichero, qPrintable(c->objectName()));
        }
        dialogo.guardar();
        IniFile ini(programa.ini());
        for (const QString &clave :
             {Clave::Progreso, Clave::Flat, Clave::MostrarTotal, Clave::MostrarFiltro,
              Clave::MostrarBBEnVentanas, Clave::EstadoCargaVentanas, Clave::MostrarBarrasDeBotones,
              Clave::MostrarBarraDeEstado})
            QCOMPARE(ini.readString(Clave::Aplicacion, clave, QStringLiteral("?")),
                     QStringLiteral("0"));
        QCOMPARE(ini.readString(Clave::Aplicacion, Clave::CargarFormularios, QString()),
                 QStringLiteral("1"));
        QCOMPARE(ini.readString(Clave::Aplicacion, Clave::InicioAplicacion, QString()),
                 QStringLiteral("1"));
    }

    void savingUpdatesMainWindowAndFile() {
        ProgramaTemporal programa;
        TFormMenuPrincipal v;
        v.ajustes.estadoCargaVentanas = 0;
        TFormConfiguracion dialogo(&v);
        dialogo.findChild<QCheckBox *>(QStringLiteral("CBEstadoCargaventanas"))->setChecked(true);
        dialogo.findChild<QCheckBox *>(QStringLiteral("CBCargarFormularios"))->setChecked(false);
        pulsar(&dialogo, "BGuardar");
        QCOMPARE(v.ajustes.estadoCargaVentanas, 1);
        IniFile ini(programa.ini());
        QCOMPARE(ini.readInteger(Clave::Aplicacion, Clave::EstadoCargaVentanas, -1), 1);
        QCOMPARE(ini.readInteger(Clave::Aplicacion, Clave::CargarFormularios, -1), 0);
    }

    void closeWithoutSavingKeepsPasswordChange() {
        ProgramaTemporal programa;
        IniFile ini(programa.ini());
        ini.writeString(Clave::Aplicacion, Clave::Otros, QStringLiteral("vieja"));
        MensajesGuionizados mensajes;
        TFormMenuPrincipal v;
        TFormConfiguracion dialogo(&v);
        QCOMPARE(dialogo.findChild<QLineEdit *>(QStringLiteral("TxtContrasenaActual"))->text(),
                 QStringLiteral("*****"));
        dialogo.findChild<QCheckBox *>(QStringLiteral("CBProgreso"))->setChecked(true);

        escribir(&dialogo, "TxtReintroducirActual", QStringLiteral("Vieja"));
        mensajes.esperar(TipoMensaje::Error);
        dialogo.cambiarContrasena();
        QCOMPARE(mensajes.ultimoTexto(),
                 QStringLiteral("No ha introducido correctamente la cotraseña actual."));

        escribir(&dialogo, "TxtReintroducirActual", QStringLiteral("vieja"));
        escribir(&dialogo, "TxtNuevaContrasena", QStringLiteral("nueva"));
        escribir(&dialogo, "TxtReintroducirNueva", QStringLiteral("nuev"));
        mensajes.esperar(TipoMensaje::Error);
        dialogo.cambiarContrasena();
        QCOMPARE(mensajes.ultimoTexto(),
                 QStringLiteral(
                     "La nueva contraseña no coincide con la nueva contraseña reintroducida."));
        QCOMPARE(ini.readString(Clave::Aplicacion, Clave::Otros, QString()),
                 QStringLiteral("vieja"));

        escribir(&dialogo, "TxtReintroducirNueva", QStringLiteral("nueva"));
        mensajes.esperar(TipoMensaje::Informacion);
        dialogo.cambiarContrasena();
        QCOMPARE(mensajes.ultimoTexto(),
                 QStringLiteral("La contraseña se ha modificado correctamente."));
        pulsar(&dialogo, "BCerrar");
        QCOMPARE(ini.readString(Clave::Aplicacion, Clave::Otros, QString()),
                 QStringLiteral("nueva"));
        QCOMPARE(v.ajustes.otros, QStringLiteral("nueva"));
        QCOMPARE(v.ajustes.progreso, 0);
        QVERIFY(!ini.keyExists(Clave::Aplicacion, Clave::Progreso));
    }

    void emptyPasswordAfterWarningRemovesLogin() {
        ProgramaTemporal programa;
        IniFile ini(programa.ini());
        ini.writeString(Clave::Aplicacion, Clave::Otros, QStringLiteral("clave"));
        MensajesGuionizados mensajes;
        {
            TFormMenuPrincipal v;
            TFormConfiguracion dialogo(&v);
            escribir(&dialogo, "TxtReintroducirActual", QStringLiteral("clave"));
            mensajes.esperar(TipoMensaje::Atencion, false);
            dialogo.cambiarContrasena();
            QCOMPARE(ini.readString(Clave::Aplicacion, Clave::Otros, QString()),
                     QStringLiteral("clave"));
            mensajes.esperar(TipoMensaje::Atencion, true).esperar(TipoMensaje::Informacion);
            dialogo.cambiarContrasena();
            QVERIFY(ini.readString(Clave::Aplicacion, Clave::Otros, QStringLiteral("?")).isEmpty());
        }
        // The next start asks for nothing: a login window would fail this test on its own,
        // since the scripted messages expect none and nobody would press its buttons.
        bool loginVisto = false;
        QTimer::singleShot(0, [&] {
            if (auto *login = qobject_cast<TformConexion *>(QApplication::activeModalWidget())) {
                loginVisto = true;
                login->findChild<QLineEdit *>(QStringLiteral("TxtContrasena"))->setText(QString());
                login->accept();
            }
        });
        Arranque arranque;
        QVERIFY(arranque.iniciar());
        QVERIFY(!loginVisto);
    }
};

QTEST_MAIN(TstConexion)
#include "tst_conexion.moc"
