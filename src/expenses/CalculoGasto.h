#pragma once

#include <QList>

class Connection;
class Table;

// What "Calcular gasto" stored in the expense.
struct ResultadoGasto {
    double base = 0;
    double importeIva = 0;
    double importeTotal = 0;
    double euros = 0;
};

// "Calcular gasto": every line's amount becomes quantity × price (an empty one counts as 1), the
// expense's base is their sum, its VAT and total follow from its VAT percentage, and its amount
// in euros is the total at 166,386, rounded to the cent. One transaction; throws StoreError and
// then changes nothing.
ResultadoGasto calcularGasto(Connection &db, qint64 numero);

// Deletes the current expense of `gastos` with its lines, in one transaction.
void eliminarGasto(Connection &db, Table &gastos);

// "Actualizar": deletes, with their lines, the expenses among `numeros` dated before
// 1 January 2001, in one transaction. Returns how many went.
int purgarGastos(Connection &db, const QList<qint64> &numeros);
