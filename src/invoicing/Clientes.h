#pragma once

#include <QString>

class Connection;

// Hauls and reports name their client (`Transportista` holds the client's `Apellidos`);
// invoices refer to it by `CIF`. Names and CIFs compare exactly, letter case and blanks
// included; an empty name or CIF matches records without one.
namespace Clientes {

// What keeps a client from being deleted, the first found in this order.
enum class Uso { Ninguno, Portes, Reportes, Facturas };
Uso uso(Connection &db, const QString &nombre, const QString &cif);

struct Renombrados {
    int portes = 0;
    int reportes = 0;
};
// Gives the hauls and reports of the old name the new one, in one transaction. Throws
// StoreError, and then changes nothing.
Renombrados renombrar(Connection &db, const QString &anterior, const QString &nuevo);

} // namespace Clientes
