#include "expenses/CalculoGasto.h"

#include "common/Formato.h"
#include "store/Connection.h"
#include "store/Statement.h"
#include "store/StoreError.h"
#include "store/Table.h"
#include "store/Transaction.h"

#include <QVariant>

namespace {

// The pesetas in a euro; the expense's amount in euros always uses it.
constexpr double kPesetasPorEuro = 166.386;

void borrarLineas(Connection &db, const QVariant &numero) {
    Statement &st = db.cached(QStringLiteral("DELETE FROM detagast WHERE NumeroGasto = ?"));
    st.bind(1, numero);
    st.exec();
    st.reset();
    db.touch(QStringLiteral("detagast"));
}

} // namespace

ResultadoGasto calcularGasto(Connection &db, qint64 numero) {
    Statement &cab = db.cached(QStringLiteral("SELECT PorcentajeIVA FROM gastos WHERE Numero = ?"));
    cab.bind(1, numero);
    if (!cab.step()) {
        cab.reset();
        throw StoreError(StoreError::NotFound,
                         QStringLiteral("No existe el gasto %1.").arg(numero));
    }
    const double iva = cab.columnDouble(0);
    cab.reset();

    Transaction tx(db);
    Statement &lineas = db.cached(QStringLiteral(
        "UPDATE detagast SET Importe = COALESCE(Cantidad, 1) * COALESCE(Precio, 1) WHERE "
        "NumeroGasto = ?"));
    lineas.bind(1, numero);
    lineas.exec();
    lineas.reset();
    Statement &suma =
        db.cached(QStringLiteral("SELECT TOTAL(Importe) FROM detagast WHERE NumeroGasto = ?"));
    suma.bind(1, numero);
    ResultadoGasto r;
    if (suma.step())
        r.base = suma.columnDouble(0);
    suma.reset();
    r.importeIva = r.base * iva / 100;
    r.importeTotal = r.base + r.importeIva;
    r.euros = Formato::round2(r.importeTotal / kPesetasPorEuro);
    Statement &guardar = db.cached(QStringLiteral(
        "UPDATE gastos SET Base = ?, ImporteIVA = ?, ImporteTotal = ?, Euros = ? WHERE Numero = "
        "?"));
    guardar.bindAll({r.base, r.importeIva, r.importeTotal, r.euros, numero});
    guardar.exec();
    guardar.reset();
    tx.commit();
    db.touch(QStringLiteral("detagast"));
    db.touch(QStringLiteral("gastos"));
    return r;
}

void eliminarGasto(Connection &db, Table &gastos) {
    const QVariant numero = gastos.value(QStringLiteral("Numero"));
    Transaction tx(db);
    borrarLineas(db, numero);
    gastos.remove();
    tx.commit();
}

int purgarGastos(Connection &db, const QList<qint64> &numeros) {
    int borrados = 0;
    Transaction tx(db);
    Statement &viejo =
        db.cached(QStringLiteral("SELECT 1 FROM gastos WHERE Numero = ? AND Fecha < '2001-01-01'"));
    for (qint64 n : numeros) {
        viejo.bind(1, n);
        const bool borrar = viejo.step();
        viejo.reset();
        if (!borrar)
            continue;
        borrarLineas(db, n);
        Statement &st = db.cached(QStringLiteral("DELETE FROM gastos WHERE Numero = ?"));
        st.bind(1, n);
        st.exec();
        st.reset();
        ++borrados;
    }
    tx.commit();
    db.touch(QStringLiteral("gastos"));
    return borrados;
}
