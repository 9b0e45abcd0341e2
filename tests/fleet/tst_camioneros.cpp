#include "MensajesGuionizados.h"
#include "ProgramaTemporal.h"
#include "app/IniFile.h"
#include "app/TFormMenuPrincipal.h"
#include "common/MotorListado.h"
#include "fleet/TFormCamioneros.h"
#include "store/Query.h"
#include "store/TDatos.h"
#include "store/Table.h"

#include <QTest>

// The drivers window: delete refused for a vehicle's usual driver, amounts stored as 0 when left
// empty, the NIF as the table's key, the printed averages.
class TstCamioneros : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramaTemporal> programa;
    std::unique_ptr<TFormMenuPrincipal> principal;
    std::unique_ptr<TDatos> datos;

    void camionero(const char *nif, const char *apellidos, QVariant sueldo, QVariant km) {
        ProgramaTemporal::insertar(
            *datos->db, "Camioner.DB",
            {{"CIF", nif}, {"Apellidos", apellidos}, {"SueldoBase", sueldo}, {"PtsKm", km}});
    }
    int cuenta(const QString &sql) {
        Query q(datos->db);
        q.setSql(sql);
        q.open();
        return q.value(q.fieldNames().first()).toInt();
    }

private Q_SLOTS:
    void init() {
        programa = std::make_unique<ProgramaTemporal>();
        principal = std::make_unique<TFormMenuPrincipal>();
        datos = std::make_unique<TDatos>();
        datos->db->setPath(programa->crearEmpresa(1, QStringLiteral("TRANSPORTES PRUEBA")));
        datos->db->open();
        principal->ajustes = AjustesEmpresa::leer(IniFile(programa->ini()));
        camionero("11111111H", "ARANDA", 1200.0, 0.1);
        camionero("22222222J", "BLASCO", 0.0, 0.0);
        camionero("33333333P", "CASAS", 1500.0, 0.2);
        ProgramaTemporal::insertar(*datos->db, "camiones.DB",
                                   {{"Matricula", "9999ZZZ"}, {"CIF", "11111111H"}});
        ProgramaTemporal::insertar(*datos->db, "camiones.DB",
                                   {{"Matricula", "1111AAA"}, {"CIF", "11111111H"}});
        ProgramaTemporal::insertar(*datos->db, "camiones.DB", {{"Matricula", "5555EEE"}});
        // A driver named only in trips can go.
        ProgramaTemporal::insertar(*datos->db, "viaje.DB",
                                   {{"NumViaje", "000001/05"}, {"CondCIF", "22222222J"}});
    }
    void cleanup() {
        datos.reset();
        principal.reset();
        programa.reset();
    }

    void deleteRefusedForAVehiclesDriver() {
        MensajesGuionizados mensajes;
        TFormCamioneros v;
        v.preparar();
        QCOMPARE(v.posicion(), QStringLiteral("1 de 3"));
        mensajes.esperar(TipoMensaje::Informacion);
        v.eliminar();
        QCOMPARE(mensajes.ultimoTexto(),
                 QStringLiteral("El camionero ARANDA tiene asignado el camión matrícula "
                                "[1111AAA]. No se puede eliminar."));
        QCOMPARE(cuenta("select count(*) from Camioner"), 3);
        v.tabla()->next();
        QCOMPARE(v.posicion(), QStringLiteral("Camionero 2 de 3"));
        mensajes.esperar(TipoMensaje::Confirmacion, false);
        v.eliminar();
        QCOMPARE(mensajes.ultimoTexto(),
                 QStringLiteral("¿Está seguro que desea eliminar el camionero [BLASCO] "
                                "permanentemente? Recuerde que no podrá recuperarlo."));
        QCOMPARE(cuenta("select count(*) from Camioner"), 3);
        mensajes.esperar(TipoMensaje::Confirmacion, true);
        v.eliminar();
        QCOMPARE(cuenta("select count(*) from Camioner where CIF = '22222222J'"), 0);
    }

    void newDriverStoresZeroAmounts() {
        MensajesGuionizados mensajes;
        TFormCamioneros v;
        v.preparar();
        v.nuevo();
        v.tabla()->setValue("CIF", "44444444A");
        v.tabla()->setValue("Apellidos", "DÍAZ");
        v.validar();
        QCOMPARE(v.tabla()->state(), DataSet::Browse);
        QCOMPARE(cuenta("select count(*) from Camioner where CIF = '44444444A' and SueldoBase = 0 "
                        "and PtsKm = 0"),
                 1);
        // A repeated NIF keeps the typed driver.
        v.nuevo();
        v.tabla()->setValue("CIF", "44444444A");
        mensajes.esperar(TipoMensaje::Error).esperar(TipoMensaje::Error);
        v.validar();
        QCOMPARE(mensajes.vistos().first().texto,
                 QStringLiteral("El CIF del camionero ya existe, cámbielo y vuelva a intentarlo."));
        QCOMPARE(v.tabla()->state(), DataSet::Insert);
    }

    // The averages count drivers whose amounts are 0.
    void printedAverages() {
        TFormCamioneros v;
        v.preparar();
        datos->TCamioneros->open();
        MotorListado motor(v.listado(), datos->TCamioneros);
        const QStringList textos = motor.paginas().first().textos();
        QVERIFY(textos.contains("LISTADO DE CAMIONEROS"));
        QVERIFY(textos.contains("Medias:"));
        QVERIFY2(textos.contains("900,00"), qPrintable(textos.join('|')));
        QVERIFY(textos.contains("0,10"));
    }
};

QTEST_MAIN(TstCamioneros)
#include "tst_camioneros.moc"
