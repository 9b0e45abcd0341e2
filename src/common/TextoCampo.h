#pragma once

#include "store/Schema.h"

#include <QString>
#include <QVariant>

// How a field's value reads on screen: dates dd/mm/yyyy, logical values "Sí"/"No", numbers
// with their format when one is given.
QString textoCampo(const QVariant &valor, FieldType tipo, const QString &formato = QString());
