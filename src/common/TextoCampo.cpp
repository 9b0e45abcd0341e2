#include "common/TextoCampo.h"

#include "common/Formato.h"
#include "store/Dates.h"

#include <QDate>

QString textoCampo(const QVariant &valor, FieldType tipo, const QString &formato) {
    if (!valor.isValid() || valor.isNull())
        return QString();
    switch (tipo) {
    case FieldType::Date:
        return Dates::shortText(valor.toDate());
    case FieldType::Logical:
        return valor.toBool() ? QStringLiteral("Sí") : QStringLiteral("No");
    case FieldType::Number:
    case FieldType::Money:
    case FieldType::Short:
    case FieldType::Long:
    case FieldType::AutoInc:
        if (!formato.isEmpty())
            return Formato::formatFloat(formato, valor.toDouble());
        if (tipo == FieldType::Number || tipo == FieldType::Money)
            return QString::number(valor.toDouble(), 'g', 15).replace('.', ',');
        return valor.toString();
    default:
        return valor.toString();
    }
}
