#pragma once

#include "store/Schema.h"

#include <QString>
#include <QVariantList>
#include <functional>
#include <optional>

// A piece of SQL with its bound values, in the order of its '?' marks.
struct SqlCondition {
    QString sql;
    QVariantList binds;
    bool isEmpty() const { return sql.isEmpty(); }
    void append(const SqlCondition &other); // joined with AND
};

// How a field named in a filter reaches SQL: the column expression and the type the value is
// read as.
struct FilterField {
    QString sqlExpr;
    FieldType type = FieldType::Text;
};

using FieldResolver = std::function<std::optional<FilterField>(const QString &name)>;

// The record filters of the windows: conditions "[Field] op 'value'" (brackets optional),
// op one of = >= <= <> < >, values in single quotes with inner quotes doubled, joined by AND.
// Values are read for the field's type: dates as dd/mm/yy, logical as 'True'/'False'.
namespace Filter {

SqlCondition toSql(const QString &expression, const FieldResolver &resolve);

// The value written in quotes, any quote inside doubled: O'NEILL gives 'O''NEILL'.
QString quote(const QString &value);

} // namespace Filter
