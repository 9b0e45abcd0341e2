#pragma once

#include <QDate>
#include <QList>
#include <QString>

class Connection;

// "Importe de Velmora por cliente": for a date range, the prices of every client's hauls and
// reports (matched by name, ignoring letter case), one row per client with any of them.
namespace TotalesCliente {

struct Fila {
    QString cliente;
    double portes = 0;
    double reportes = 0;
    bool conPortes = false; // a client with reports only has no hauls total, and the reverse
    bool conReportes = false;
    double total() const { return portes + reportes; }
};

// Rows by client name. Both ends of the range count.
QList<Fila> calcular(Connection &empresa, const QDate &desde, const QDate &hasta);

// Writes the rows into the work table "TT.DB" (emptied first) of `ficheroTT`, creating it when
// missing; one transaction.
void guardar(const QString &ficheroTT, const QList<Fila> &filas);

} // namespace TotalesCliente
