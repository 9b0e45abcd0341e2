#include "fleet/Camioneros.h"

#include "store/Connection.h"
#include "store/Statement.h"

namespace Camioneros {

std::optional<QString> camionAsignado(Connection &db, const QString &nif) {
    if (nif.trimmed().isEmpty())
        return std::nullopt;
    Statement &st = db.cached(QStringLiteral(
        "SELECT Matricula FROM camiones WHERE CIF = ? ORDER BY Matricula, rowid LIMIT 1"));
    st.bind(1, nif);
    std::optional<QString> matricula;
    if (st.step())
        matricula = st.column(0).toString();
    st.reset();
    return matricula;
}

} // namespace Camioneros
