#pragma once

#include <QString>
#include <Qt>

// One column of a record grid or a listing: the field it shows and how.
struct ColumnaRejilla {
    QString campo;
    QString titulo;
    int ancho = 80; // designed width, in pixels
    Qt::Alignment alineacion = Qt::AlignLeft | Qt::AlignVCenter;
    bool oculta = false;
    QString formato; // a number format ("###,###,###,##0.00;-###...") or empty
    bool tituloDerecha = false;
};
