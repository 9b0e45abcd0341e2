#include "invoicing/Clientes.h"

#include "store/Connection.h"
#include "store/Statement.h"
#include "store/Transaction.h"

#include <sqlite3.h>

namespace Clientes {
namespace {

// The condition on a text column holding `valor`; empty matches null too.
QString igual(const QString &columna, const QString &valor) {
    return valor.isEmpty() ? QStringLiteral("(\"%1\" IS NULL OR \"%1\" = '')").arg(columna)
                           : QStringLiteral("\"%1\" = ?").arg(columna);
}

bool hay(Connection &db, const QString &tabla, const QString &columna, const QString &valor) {
    Statement &st = db.cached(
        QStringLiteral("SELECT 1 FROM \"%1\" WHERE %2 LIMIT 1").arg(tabla, igual(columna, valor)));
    if (!valor.isEmpty())
        st.bind(1, valor);
    const bool encontrado = st.step();
    st.reset();
    return encontrado;
}

int cambiar(Connection &db, const QString &tabla, const QString &anterior, const QString &nuevo) {
    Statement &st = db.cached(QStringLiteral("UPDATE \"%1\" SET \"Transportista\" = ? WHERE %2")
                                  .arg(tabla, igual(QStringLiteral("Transportista"), anterior)));
    st.bind(1, nuevo.isEmpty() ? QVariant() : QVariant(nuevo));
    if (!anterior.isEmpty())
        st.bind(2, anterior);
    st.exec();
    const int cambiados = sqlite3_changes(db.handle());
    st.reset();
    db.touch(tabla);
    return cambiados;
}

} // namespace

Uso uso(Connection &db, const QString &nombre, const QString &cif) {
    if (hay(db, QStringLiteral("portes"), QStringLiteral("Transportista"), nombre))
        return Uso::Portes;
    if (hay(db, QStringLiteral("reportes"), QStringLiteral("Transportista"), nombre))
        return Uso::Reportes;
    if (hay(db, QStringLiteral("facturas"), QStringLiteral("CIF"), cif))
        return Uso::Facturas;
    return Uso::Ninguno;
}

Renombrados renombrar(Connection &db, const QString &anterior, const QString &nuevo) {
    Transaction tx(db);
    Renombrados r;
    r.portes = cambiar(db, QStringLiteral("portes"), anterior, nuevo);
    r.reportes = cambiar(db, QStringLiteral("reportes"), anterior, nuevo);
    tx.commit();
    return r;
}

} // namespace Clientes
