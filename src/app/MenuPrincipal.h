#pragma once

#include <QList>
#include <QString>

struct EntradaMenu {
    const char *accion; // the action's objectName
    const char *titulo; // empty: the action is declared in an earlier submenu
    const char *atajo;
    const char *ayuda; // the hint shown in the status bar
    bool separadorAntes;
};

struct SubmenuPrincipal {
    QString titulo;
    QList<EntradaMenu> entradas;
};

// The menu bar and the tool bar "Principal" of the main window, as data.
const QList<SubmenuPrincipal> &menuPrincipal();
const QList<const char *> &barraPrincipal();
