#include "common/FiltroAcumulado.h"

#include "store/FilterParser.h"

namespace FiltroAcumulado {

QString porValor(const QString &actual, bool acumular, const QString &campo, const QString &valor,
                 const QString &operador, bool sinCorchetes) {
    const QString q = Filter::quote(valor);
    if (acumular && !actual.isEmpty())
        return QStringLiteral("%1 AND [%2] %3 %4").arg(actual, campo, operador, q);
    if (sinCorchetes)
        return QStringLiteral("%1 %2 %3").arg(campo, operador, q);
    return QStringLiteral("[%1] %2 %3").arg(campo, operador, q);
}

QString porPeriodo(const QString &actual, bool acumular, const QString &campo, const QString &desde,
                   const QString &hasta) {
    QString p = QStringLiteral("[%1] %2 %3").arg(campo, QStringLiteral(">="), Filter::quote(desde));
    p = QStringLiteral("%1 AND [%2] %3 %4")
            .arg(p, campo, QStringLiteral("<="), Filter::quote(hasta));
    if (acumular && !actual.isEmpty())
        return QStringLiteral("%1 AND %2").arg(p, actual);
    return p;
}

} // namespace FiltroAcumulado
