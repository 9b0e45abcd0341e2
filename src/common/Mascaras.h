#pragma once

#include <QString>

// The system's edit masks ("!99/99/00;1;_", "000000/00;1;_", "AAAAAA/AA;1;_", "00000;1;_")
// as Qt input masks. In the system's masks 0 is a required digit and 9 an optional one; in
// Qt's it is the other way round.
namespace Mascaras {

QString aQt(const QString &mascaraSistema);

inline const QString Fecha = QStringLiteral("!99/99/00;1;_");
inline const QString Numero = QStringLiteral("000000/00;1;_");
inline const QString NumeroBusqueda = QStringLiteral("!999999/00;1;_");
inline const QString Factura = QStringLiteral("AAAAAA/AA;1;_");
inline const QString CodigoPostal = QStringLiteral("00000;1;_");

// A date box holding only blanks and separators: "  /  /  ".
inline const QString FechaVacia = QStringLiteral("  /  /  ");

} // namespace Mascaras
