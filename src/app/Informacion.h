#pragma once

#include <QString>
#include <QStringList>

struct TableDef;

// What the information window computes, apart from its widgets.
namespace Informacion {

// The check letter of a Spanish identity number: the entry for the number's remainder by 23 in
// the standard table. An empty text gives a blank; a text that is not a whole number gives
// nothing and `ok` false.
QString letraDni(const QString &numero, bool *ok = nullptr);

// The field list of a table as the data browser shows it: a title line, one line per field
// (tab, name, type name, size when not 0, " Requerido"), commas between fields, and ")".
QStringList describirCampos(const TableDef &tabla);

// One line of the information tree: its depth and its text.
struct Linea {
    int nivel = 0;
    QString texto;
    bool operator==(const Linea &o) const { return nivel == o.nivel && texto == o.texto; }
};
// The information tree as saved: one line per item, preceded by one tab per level of depth.
QString comoTexto(const QList<Linea> &arbol);
QList<Linea> desdeTexto(const QString &texto);

// The items of the information tree for this computer and the open company.
QList<Linea> arbolDelSistema();

} // namespace Informacion
