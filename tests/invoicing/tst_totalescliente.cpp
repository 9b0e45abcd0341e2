#include "MensajesGuionizados.h"
#include "ProgramaTemporal.h"
#include "app/IniFile.h"
#include "app/TFormMenuPrincipal.h"
#include "common/ControlesDatos.h"
#include "common/MotorListado.h"
#include "invoicing/TFormLIPRC.h"
#include "invoicing/TotalesCliente.h"
#include "store/Connection.h"
#include "store/StoreFiles.h"
#include "store/TDatos.h"
#include "store/Table.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QTableWidget>
#include <QTest>

// Totals by client: hauls and reports matched to clients by name, ignoring case, within a range.
class TstTotalesCliente : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramaTemporal> programa;
    std::unique_ptr<TFormMenuPrincipal> principal;
    std::unique_ptr<TDatos> datos;

    void porte(const char *num, const char *cliente, QDate fecha, double precio) {
        ProgramaTemporal::insertar(*datos->db, "portes.DB",
                                   {{"Numero", num},
                                    {"Fecha", fecha},
                                    {"Matricula", "1111AAA"},
                                    {"Transportista", cliente},
                                    {"Precio", precio},
                                    {"Facturado", "No"},
                                    {"Pagado", "No"},
                                    {"Reportado", "No"}});
    }
    void reporte(const char *num, const char *cliente, QDate fecha, double precio) {
        ProgramaTemporal::insertar(
            *datos->db, "reportes.DB",
            {{"Numero", num}, {"Fecha", fecha}, {"Transportista", cliente}, {"Precio", precio}});
    }

private Q_SLOTS:
    void init() {
        programa = std::make_unique<ProgramaTemporal>();
        principal = std::make_unique<TFormMenuPrincipal>();
        datos = std::make_unique<TDatos>();
        datos->db->setPath(programa->crearEmpresa(1, QStringLiteral("TRANSPORTES PRUEBA")));
        datos->db->open();
        principal->ajustes = AjustesEmpresa::leer(IniFile(programa->ini()));
        ProgramaTemporal::insertar(*datos->db, "cliente.DB",
                                   {{"CIF", "B1"}, {"Apellidos", "Cerámicas Pérez"}});
        ProgramaTemporal::insertar(*datos->db, "cliente.DB",
                                   {{"CIF", "B2"}, {"Apellidos", "BETA"}});
        ProgramaTemporal::insertar(*datos->db, "cliente.DB",
                                   {{"CIF", "B3"}, {"Apellidos", "SIN MOVIMIENTOS"}});
        // Both ends of January count; the letter case of the name does not.
        porte("000001/05", "CERÁMICAS PÉREZ", QDate(2005, 1, 1), 600);
        porte("000002/05", "Cerámicas Pérez", QDate(2005, 1, 31), 400);
        porte("000003/05", "Cerámicas Pérez", QDate(2005, 2, 1), 999); // out of the range
        porte("000004/05", "NADIE", QDate(2005, 1, 10), 77);           // no such client
        reporte("000005/05", "cerámicas pérez", QDate(2005, 1, 15), 250);
        reporte("000006/05", "BETA", QDate(2005, 1, 15), 80);
    }
    void cleanup() {
        datos.reset();
        principal.reset();
        programa.reset();
    }

    void totals() {
        const QList<TotalesCliente::Fila> filas =
            TotalesCliente::calcular(*datos->db, QDate(2005, 1, 1), QDate(2005, 1, 31));
        QCOMPARE(filas.size(), 2);
        const TotalesCliente::Fila &beta = filas[0];
        const TotalesCliente::Fila &perez = filas[1];
        QCOMPARE(beta.cliente, QStringLiteral("BETA"));
        QVERIFY(!beta.conPortes);
        QCOMPARE(beta.total(), 80.0);
        QCOMPARE(perez.cliente, QStringLiteral("Cerámicas Pérez"));
        QCOMPARE(perez.portes, 1000.0);
        QCOMPARE(perez.reportes, 250.0);
        QCOMPARE(perez.total(), 1250.0);
    }

    // Through the window: blank dates refused; twice the same rows; the work table created in
    // "TEMP" and printed with its sums.
    void window() {
        QDir(programa->ruta("TEMP")).removeRecursively();
        MensajesGuionizados mensajes;
        TFormLIPRC v;
        mensajes.esperar(TipoMensaje::Informacion);
        QVERIFY(!v.filtrar());
        QCOMPARE(mensajes.ultimoTexto(), QStringLiteral("Debe introducir el intervalo de fechas."));
        QVERIFY(v.rejilla()->isHidden());
        v.desde()->setFecha(QDate(2005, 1, 1));
        v.hasta()->setFecha(QDate(2005, 1, 31));
        QVERIFY(v.filtrar());
        QVERIFY(v.filtrar());
        QCOMPARE(v.rejilla()->rowCount(), 2);
        QCOMPARE(v.rejilla()->item(0, 1)->text(), QString());
        QCOMPARE(v.rejilla()->item(1, 3)->text(), QStringLiteral("1.250,00"));
        const QString tt = StoreFiles::workTableFile(programa->carpeta());
        QVERIFY(QFileInfo::exists(tt));

        Connection c(QStringLiteral("TT_PRUEBA"));
        c.setDatabaseFile(tt);
        c.setTables({&Schema::workTableTT()});
        c.open();
        Table t(&c, QStringLiteral("TT.DB"));
        t.addCalcField(QStringLiteral("ImporteTotal"), FieldType::Money, 0, [](const DataSet &d) {
            return QVariant(d.value(QStringLiteral("I.Portes")).toDouble() +
                            d.value(QStringLiteral("I.Reportes")).toDouble());
        });
        t.open();
        QCOMPARE(t.recordCount(), 2);
        MotorListado motor(v.listado(), &t);
        const QStringList textos = motor.paginas().first().textos();
        QVERIFY(textos.contains("LISTADO DE IMPORTE TOTAL DE VELMORA POR CLIENTE"));
        QVERIFY(textos.contains("Desde fecha: 01/01/05"));
        QVERIFY2(textos.contains("1.330"), qPrintable(textos.join('|')));
    }
};

QTEST_MAIN(TstTotalesCliente)
#include "tst_totalescliente.moc"
