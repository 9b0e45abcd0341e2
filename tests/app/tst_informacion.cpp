#include "MensajesGuionizados.h"
#include "ProgramaTemporal.h"
#include "app/Informacion.h"
#include "app/TFormAcercaDe.h"
#include "store/Connection.h"
#include "store/Schema.h"

#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

// The information window: the identity-number letter, the field browser and the saved tree.
class TstInformacion : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void letter_data() {
        QTest::addColumn<QString>("numero");
        QTest::addColumn<QString>("letra");
        QTest::addColumn<bool>("valido");
        QTest::newRow("0") << "0"
                           << "T" << true;
        QTest::newRow("6") << "6"
                           << "Y" << true;
        QTest::newRow("22") << "22"
                            << "E" << true;
        QTest::newRow("23") << "23"
                            << "T" << true;
        QTest::newRow("12345678") << "12345678"
                                  << "Z" << true;
        QTest::newRow("empty") << ""
                               << " " << true;
        QTest::newRow("letters") << "12a"
                                 << "" << false;
    }
    void letter() {
        QFETCH(QString, numero);
        QFETCH(QString, letra);
        QFETCH(bool, valido);
        bool ok = !valido;
        QCOMPARE(Informacion::letraDni(numero, &ok), letra);
        QCOMPARE(ok, valido);
    }

    void fieldsOfATable() {
        const QStringList l = Informacion::describirCampos(*Schema::find("portes.DB"));
        QCOMPARE(l.first(), QStringLiteral("***** TABLA:  portes.DB  Campos:"));
        QCOMPARE(l.value(1), QStringLiteral("\tID AutoInc,"));
        QCOMPARE(l.value(2), QStringLiteral("\tNumero String(9) Requerido,"));
        QVERIFY(l.contains(QStringLiteral("\tPrecio Currency,")));
        QVERIFY(!l.value(l.size() - 2).endsWith(QLatin1Char(','))); // the last field
        QCOMPARE(l.last(), QStringLiteral(")"));
    }

    void treeSavedAndLoaded() {
        const QList<Informacion::Linea> arbol = Informacion::arbolDelSistema();
        QVERIFY(arbol.size() > 20);
        QCOMPARE(Informacion::desdeTexto(Informacion::comoTexto(arbol)).size(), arbol.size());
        const auto otra = Informacion::desdeTexto(Informacion::comoTexto(arbol));
        for (int i = 0; i < arbol.size(); ++i)
            QCOMPARE(otra[i].nivel, arbol[i].nivel);
        QCOMPARE(Informacion::comoTexto({{0, "A"}, {1, "B"}, {2, "C -> 1"}}),
                 QStringLiteral("A\n\tB\n\t\tC -> 1\n"));
    }

    void window() {
        ProgramaTemporal programa;
        Connection::addAlias(QStringLiteral("VIvozed"), programa.ruta("Tablas"));
        MensajesGuionizados mensajes;
        TFormAcercaDe acerca(false);
        QVERIFY(!acerca.findChild<QTabWidget *>());
        QCOMPARE(acerca.windowTitle(), QStringLiteral("Acerca de..."));

        TFormAcercaDe info(true);
        QCOMPARE(info.findChild<QTabWidget *>()->count(), 5);
        QVERIFY(info.arbol()->topLevelItemCount() == 4);
        // "Campos" twice on one table lists it twice.
        info.elegirAlias(QStringLiteral("VIvozed"));
        info.mostrarCampos(QStringLiteral("Lugar.db"));
        info.mostrarCampos(QStringLiteral("Lugar.db"));
        QCOMPARE(info.textoCampos().count(QStringLiteral("***** TABLA:  Lugar.db")), 2);
        // A number that is not one: the error, and no letter.
        info.cajaDni()->setText(QStringLiteral("abc"));
        mensajes.esperar(TipoMensaje::Error);
        info.calcularLetra();
        QCOMPARE(info.letra(), QString());
        info.cajaDni()->setText(QStringLiteral("12345678"));
        info.calcularLetra();
        QCOMPARE(info.letra(), QStringLiteral("Z"));
    }
};

QTEST_MAIN(TstInformacion)
#include "tst_informacion.moc"
