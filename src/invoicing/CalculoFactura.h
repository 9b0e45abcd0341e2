#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

class Connection;
class Table;

// What "Calcular factura" stored in the invoice, and what the user must be told.
struct ResultadoFactura {
    // One warning per haul or report line whose client is not the invoice's, in line order.
    QStringList avisos;
    // A report whose trip could not be found through its number: "Existen reportes sin
    // matrícula." is shown once at the end.
    bool reportesSinMatricula = false;

    double tbruto = 0;
    double base = 0;
    double totalIva = 0;
    double totalRecibo = 0;
    double aPagar = 0;
    double iva = 0;
    double otroImporte = 0;
};

// "Calcular factura": fills every line that names a haul (`IDPorte`) or a report (`IDReporte`)
// from it ("PORTE DESDE <load> HASTA <unload> - <trailer plate>", date, number, price), marks
// those hauls and reports as invoiced, and stores the invoice's gross, base, VAT, receipt total
// and amount to pay (and the amount in the other currency when `Cambio` is not 0), each rounded
// to two decimals halves away from zero. A line whose haul or report no longer exists is
// emptied. Runs in one transaction; throws StoreError and then changes nothing.
class CalculoFactura {
public:
    explicit CalculoFactura(Connection &db) : m_db(db) {}

    // `cliente`: the name of the invoice's client as the window shows it (empty without one).
    ResultadoFactura calcular(const QString &numFactura, const QString &cliente,
                              const QDate &hoy = QDate::currentDate());

private:
    Connection &m_db;
};

// "Cobrada Sí": the invoice collected, and every haul and report named in its lines paid, in
// one transaction. Counts the lines whose haul (report) exists.
struct Cobro {
    int portes = 0;
    int reportes = 0;
};
Cobro cobrarFactura(Connection &db, const QString &numFactura);

// Deletes the current invoice of `facturas` with its lines, in one transaction; its hauls and
// reports keep their marks.
void eliminarFactura(Connection &db, Table &facturas);
