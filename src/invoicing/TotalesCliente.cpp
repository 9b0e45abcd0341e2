#include "invoicing/TotalesCliente.h"

#include "store/Connection.h"
#include "store/Statement.h"
#include "store/Transaction.h"

#include <QFileInfo>
#include <QMap>
#include <QVariant>

namespace TotalesCliente {
namespace {

// The clients' totals over one table of hauls or reports.
QMap<QString, double> totales(Connection &db, const QString &tabla, const QDate &desde,
                              const QDate &hasta) {
    Statement &st = db.cached(
        QStringLiteral("SELECT c.Apellidos, SUM(p.Precio) FROM cliente c, %1 p WHERE p.Fecha "
                       "BETWEEN ? AND ? AND UPPER(c.Apellidos) = UPPER(p.Transportista) GROUP BY "
                       "c.Apellidos")
            .arg(tabla));
    st.bind(1, desde);
    st.bind(2, hasta);
    QMap<QString, double> out;
    while (st.step())
        out.insert(st.column(0).toString(), st.columnDouble(1));
    st.reset();
    return out;
}

} // namespace

QList<Fila> calcular(Connection &empresa, const QDate &desde, const QDate &hasta) {
    const QMap<QString, double> portes = totales(empresa, QStringLiteral("portes"), desde, hasta);
    const QMap<QString, double> reportes =
        totales(empresa, QStringLiteral("reportes"), desde, hasta);
    QMap<QString, Fila> filas;
    for (auto it = portes.begin(); it != portes.end(); ++it)
        filas[it.key()] = Fila{it.key(), it.value(), 0, true, false};
    for (auto it = reportes.begin(); it != reportes.end(); ++it) {
        Fila &f = filas[it.key()];
        f.cliente = it.key();
        f.reportes = it.value();
        f.conReportes = true;
    }
    return filas.values();
}

void guardar(const QString &ficheroTT, const QList<Fila> &filas) {
    if (!QFileInfo::exists(ficheroTT))
        Connection::createDatabase(ficheroTT, {&Schema::workTableTT()});
    Connection tt(QStringLiteral("TT_TOTALES"));
    tt.setDatabaseFile(ficheroTT);
    tt.setTables({&Schema::workTableTT()});
    tt.open();
    Transaction tx(tt);
    tt.exec(QStringLiteral("DELETE FROM TT"));
    Statement &st = tt.cached(
        QStringLiteral("INSERT INTO TT (Cliente, \"I.Portes\", \"I.Reportes\") VALUES (?, ?, ?)"));
    for (const Fila &f : filas) {
        st.bindAll({f.cliente, f.conPortes ? QVariant(f.portes) : QVariant(),
                    f.conReportes ? QVariant(f.reportes) : QVariant()});
        st.exec();
        st.reset();
    }
    tx.commit();
}

} // namespace TotalesCliente
