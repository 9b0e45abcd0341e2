#pragma once

#include <QString>

// How the record windows build their filter expression: a value filter appends to the current
// expression, a period puts its two conditions first; without accumulating, each filter
// replaces the expression.
namespace FiltroAcumulado {

// [campo] op 'valor'; when accumulating onto a non-empty expression, appended after " AND ".
// `sinCorchetes` writes the field bare when the condition starts a new expression.
QString porValor(const QString &actual, bool acumular, const QString &campo, const QString &valor,
                 const QString &operador = QStringLiteral("="), bool sinCorchetes = false);

// [campo] >= 'desde' AND [campo] <= 'hasta'; when accumulating, followed by " AND " and the
// current expression.
QString porPeriodo(const QString &actual, bool acumular, const QString &campo, const QString &desde,
                   const QString &hasta);

} // namespace FiltroAcumulado
