#pragma once

#include <QString>
#include <optional>

class Connection;

namespace Camioneros {

// The plate of the first vehicle (by plate) whose usual driver has that NIF; nothing when none.
// A driver who is some vehicle's usual driver cannot be deleted. A driver without NIF is no
// vehicle's driver (vehicles without driver have none either).
std::optional<QString> camionAsignado(Connection &db, const QString &nif);

} // namespace Camioneros
