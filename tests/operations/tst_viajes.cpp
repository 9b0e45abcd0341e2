#include "MensajesGuionizados.h"
#include "ProgramaTemporal.h"
#include "app/IniFile.h"
#include "app/TFormMenuPrincipal.h"
#include "common/MotorListado.h"
#include "common/RejillaEdicion.h"
#include "operations/TFormViajes.h"
#include "store/Query.h"
#include "store/TDatos.h"
#include "store/Table.h"

#include <QAction>
#include <QDate>
#include <QTableView>
#include <QTest>

// The trips window: its totals, lines, deletion, linking and the result run from it.
class TstViajes : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramaTemporal> programa;
    std::unique_ptr<TFormMenuPrincipal> principal;
    std::unique_ptr<TDatos> datos;

    void viaje(const char *num, QVariantMap extra) {
        extra.insert("NumViaje", num);
        ProgramaTemporal::insertar(*datos->db, "viaje.DB", extra);
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
        datos->db->setPath(programa->crearEmpresa(1, QStringLiteral("PRUEBAS")));
        datos->db->open();
        principal->ajustes = AjustesEmpresa::leer(IniFile(programa->ini()));
        viaje("000001/05", {{"Beneficios", 100.0},
                            {"PorcentajeBeneficio", 10.0},
                            {"Consumo", 30.0},
                            {"KmtTotales", 1000.0},
                            {"NumDias", 2},
                            {"PrecioKm", 1.5},
                            {"MatricTractor", "1111AAA"},
                            {"Pagado", true}});
        viaje("000002/05", {{"Beneficios", -40.5},
                            {"PorcentajeBeneficio", 20.0},
                            {"Consumo", 40.0},
                            {"KmtTotales", 500.0},
                            {"NumDias", 1},
                            {"PrecioKm", 2.0},
                            {"MatricTractor", "1111AAA"},
                            {"Pagado", false}});
        viaje("000003/05", {{"MatricTractor", "2222BBB"}, {"Pagado", false}});
    }
    void cleanup() {
        datos.reset();
        principal.reset();
        programa.reset();
    }

    void totalPanel() {
        TFormViajes v;
        v.preparar();
        v.filtrarPorValor("MatricTractor", "1111AAA");
        QCOMPARE(v.textoCifra("TxtNumero"), QStringLiteral("2"));
        QCOMPARE(v.textoCifra("TxtBeneficio"), QStringLiteral("59,50Euros"));
        QCOMPARE(v.textoCifra("TxtPorcentaje"), QStringLiteral("15,0 %"));
        QCOMPARE(v.textoCifra("TxtConsumo"), QStringLiteral("35,0L/100 Km"));
        QCOMPARE(v.textoCifra("TxtPrecioKm"), QStringLiteral("3,50Euros"));
        QCOMPARE(v.textoCifra("TxtKm"), QStringLiteral("1.500"));
        QCOMPARE(v.textoCifra("TxtDias"), QStringLiteral("3"));
        // Empty results are skipped; a trip with none still counts.
        v.quitarFiltros();
        QCOMPARE(v.textoCifra("TxtNumero"), QStringLiteral("3"));
        QCOMPARE(v.textoCifra("TxtPorcentaje"), QStringLiteral("10,0 %"));
        // No trip left: the averages are 0, not a division by zero.
        v.filtrarPorValor("MatricTractor", "9999ZZZ");
        QCOMPARE(v.textoCifra("TxtNumero"), QStringLiteral("0"));
        QCOMPARE(v.textoCifra("TxtPorcentaje"), QStringLiteral("0 %"));
        QCOMPARE(v.textoCifra("TxtConsumo"), QStringLiteral("0L/100 Km"));
        // Without "Mostrar total" a filter leaves the figures; the command still recomputes.
        v.setMostrarTotal(false);
        v.filtrarPorValor("Pagado", "True");
        QCOMPARE(v.textoCifra("TxtNumero"), QStringLiteral("0"));
        v.quitarFiltros();
        QCOMPARE(v.textoCifra("TxtNumero"), QStringLiteral("3"));
        v.filtrarPorValor("Pagado", "False");
        v.quitarFiltrosPagina();
        QCOMPARE(v.textoCifra("TxtNumero"), QStringLiteral("3"));
        QVERIFY(v.textoFiltro().isEmpty());
    }

    void deleteTakesAllLines() {
        for (const char *t : {"gasautop.DB", "gascombu.DB", "gasviaje.DB"}) {
            ProgramaTemporal::insertar(*datos->db, t,
                                       {{"NumViaje", "000001/05"}, {"Importe", 1.0}});
            ProgramaTemporal::insertar(*datos->db, t,
                                       {{"NumViaje", "000002/05"}, {"Importe", 1.0}});
        }
        MensajesGuionizados mensajes;
        TFormViajes v;
        v.preparar();
        mensajes.esperar(TipoMensaje::Confirmacion, false);
        v.accion("ActEliminarPorte")->trigger();
        QCOMPARE(cuenta("select count(*) from viaje"), 3);
        mensajes.esperar(TipoMensaje::Confirmacion, true);
        v.accion("ActEliminarPorte")->trigger();
        QVERIFY(mensajes.ultimoTexto().startsWith(
            QStringLiteral("¿Está seguro que desea eliminar el viaje actual?\r\r")));
        QCOMPARE(cuenta("select count(*) from viaje where NumViaje = '000001/05'"), 0);
        QCOMPARE(
            cuenta("select (select count(*) from gasautop) + (select count(*) from gascombu) + "
                   "(select count(*) from gasviaje)"),
            3);
        QCOMPARE(v.tabla()->value("NumViaje").toString(), QStringLiteral("000002/05"));
    }

    void newLineTakesTripMonthAndPlate() {
        MensajesGuionizados mensajes;
        TFormViajes v;
        v.show();
        // The trip being edited is stored before its line is added.
        v.tabla()->edit();
        v.tabla()->setValue("FechaLlegada", QDate(2005, 3, 9));
        v.rejillaAutopistas()->anadir();
        QCOMPARE(v.tabla()->state(), DataSet::Browse);
        Table *l = v.rejillaAutopistas()->tabla();
        QCOMPARE(l->state(), DataSet::Insert);
        QCOMPARE(l->value("NumViaje").toString(), QStringLiteral("000001/05"));
        QCOMPARE(l->value("Mes").toInt(), 3);
        QCOMPARE(l->value("Ano").toInt(), 2005);
        QCOMPARE(l->value("Matricula").toString(), QStringLiteral("1111AAA"));
        auto *vista = v.rejillaAutopistas()->vista();
        QVERIFY(vista->model()->setData(vista->model()->index(0, 2), QStringLiteral("12,5"),
                                        Qt::EditRole));
        QVERIFY(v.rejillaAutopistas()->grabar());
        QCOMPARE(
            cuenta("select count(*) from gasautop where NumViaje = '000001/05' and Importe = 12.5 "
                   "and Mes = 3 and Ano = 2005"),
            1);
    }

    void closingStoresPendingEdits() {
        MensajesGuionizados mensajes;
        {
            TFormViajes v;
            v.show();
            v.tabla()->edit();
            v.tabla()->setValue("Origen", "SORIA");
            v.close();
        }
        QCOMPARE(cuenta("select count(*) from viaje where Origen = 'SORIA'"), 1);
        // A trip that cannot be stored keeps the window open.
        TFormViajes v;
        v.show();
        v.tabla()->edit();
        v.tabla()->setValue("NumViaje", "000002/05");
        mensajes.esperar(TipoMensaje::Error).esperar(TipoMensaje::Error);
        QVERIFY(!v.close());
        QVERIFY(v.isVisible());
        QCOMPARE(mensajes.vistos().first().texto,
                 QStringLiteral("El número de viaje ya existe, cámbielo y vuelva a intentarlo."));
        v.tabla()->cancel();
    }

    void linkingByNumber() {
        ProgramaTemporal::insertar(*datos->db, "portes.DB",
                                   {{"Numero", "000007/05"},
                                    {"Fecha", QDate(2005, 1, 1)},
                                    {"Matricula", "A"},
                                    {"Facturado", "No"},
                                    {"Pagado", "No"},
                                    {"Reportado", "No"}});
        const qint64 reporte =
            ProgramaTemporal::insertar(*datos->db, "reportes.DB", {{"Numero", "000007/05"}});
        MensajesGuionizados mensajes;
        TFormViajes v;
        v.show();
        v.accion("ActNuevoPorte")->trigger();
        v.tabla()->setValue("NumViaje", "000007/05");
        v.enlazarPorNumero();
        QVERIFY(v.tabla()->value("NumeroPorte").toInt() > 0);
        QCOMPARE(v.tabla()->value("NumeroReporte").toLongLong(), reporte);
        v.tabla()->cancel();
        v.accion("ActNuevoPorte")->trigger();
        v.tabla()->setValue("NumViaje", "000008/05");
        mensajes.esperar(TipoMensaje::Error);
        v.enlazarPorNumero();
        QVERIFY(v.tabla()->value("NumeroPorte").isNull());
        QCOMPARE(v.tabla()->state(), DataSet::Insert);
        v.tabla()->cancel();
    }

    void resultFromTheWindow() {
        MensajesGuionizados mensajes;
        TFormViajes v;
        v.show();
        mensajes.esperar(TipoMensaje::Informacion);
        v.accion("ActCalcular")->trigger();
        QCOMPARE(mensajes.ultimoTexto(), QStringLiteral("Debe introducir la fecha de salida."));
        QCOMPARE(v.tabla()->value("Beneficios").toDouble(), 100.0);
        // Recalculating all: one message per trip without dates, then the end.
        Query q(datos->db);
        q.setSql("update viaje set FechaSalida = '2005-01-01', FechaLlegada = '2005-01-02', "
                 "NumDias = NULL "
                 "where NumViaje <> \"000003/05\"");
        q.execSql();
        mensajes.esperar(TipoMensaje::Informacion).esperar(TipoMensaje::Informacion);
        v.recalcularTodos();
        QCOMPARE(mensajes.vistos()[1].texto, QStringLiteral("Debe introducir la fecha de salida."));
        QCOMPARE(mensajes.ultimoTexto(), QStringLiteral("El proceso ha finalizado correctamente."));
        QCOMPARE(cuenta("select count(*) from viaje where NumDias = 1"), 2);
    }

    void printedTripHoldsItsLines() {
        ProgramaTemporal::insertar(
            *datos->db, "gasautop.DB",
            {{"NumViaje", "000001/05"}, {"Autopista", "Tasas"}, {"Importe", 7.0}});
        ProgramaTemporal::insertar(
            *datos->db, "gascombu.DB",
            {{"NumViaje", "000001/05"}, {"Litros", 100.0}, {"Importe", 90.0}});
        ProgramaTemporal::insertar(
            *datos->db, "gascombu.DB",
            {{"NumViaje", "000002/05"}, {"Litros", 50.0}, {"Importe", 45.0}});
        TFormViajes v;
        v.preparar();
        Query lineas(datos->db);
        lineas.setSql(v.consultaListado());
        lineas.setParam("n", "000001/05");
        lineas.open();
        MotorListado motor(v.listado(), &lineas);
        const QStringList textos = motor.paginas().first().textos();
        QVERIFY(textos.contains("LISTADO DE VIAJE"));
        QVERIFY(textos.contains("GASTOS DE AUTOPISTA:"));
        QVERIFY(textos.contains("GASTOS DE COMBUSTIBLE:"));
        QVERIFY(!textos.contains("OTROS GASTOS DEL VIAJE:"));
        QVERIFY(textos.contains("90,00"));
        QVERIFY(!textos.contains("45,00"));
        QVERIFY(textos.contains(QStringLiteral("Nº Viaje: 000001/05")));
    }
};

QTEST_MAIN(TstViajes)
#include "tst_viajes.moc"
