#pragma once

#include "common/Listado.h"

#include <QDateTime>
#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QStringList>
#include <functional>

class DataSet;
class QPainter;
class QPrinter;
class QWidget;

// One thing printed on a page: a text line, a frame or a horizontal line (along the top edge
// of its rectangle). Rectangles are millimetres from the paper's top-left corner.
struct ElementoPagina {
    enum class Tipo { Texto, Recuadro, Linea };
    enum class Banda {
        CabeceraPagina,
        Titulo,
        Columnas,
        CabeceraGrupo,
        Detalle,
        PieGrupo,
        Resumen,
        PiePagina
    };
    Tipo tipo = Tipo::Texto;
    Banda banda = Banda::Detalle;
    QRectF rect;
    QString texto;
    Qt::Alignment alineacion = Qt::AlignLeft;
    double puntos = 8;
    bool negrita = false;
    int registro = -1; // detail lines: the record's position in the walk, from 0
    int columna = -1;  // detail lines: the column
};

struct PaginaListado {
    QList<ElementoPagina> elementos;

    QStringList textos() const;
    QStringList textos(ElementoPagina::Banda banda) const;
};

// Lays a listing out into pages over the records of a data set, and paints those pages on the
// preview, a printer or a PDF file. The pages are laid out once, in a single walk over the
// records (first to eof, in the data set's order and filter), so the footers can tell the page
// count; the data set keeps its current record and windows do not follow the walk.
class MotorListado {
public:
    // `datos` may be null for documents without records.
    MotorListado(Listado listado, DataSet *datos);

    // With `progreso` the progress window shows kTextoProgreso while the pages are laid out.
    void preparar(bool progreso = false);
    const QList<PaginaListado> &paginas(); // prepares them the first time
    int numeroPaginas() { return int(paginas().size()); }
    QSizeF tamanoPapel() const; // A4 in the listing's orientation, millimetres
    const Listado &listado() const { return m_listado; }

    // Paints a page on a painter whose origin is the paper's top-left corner.
    void pintarPagina(QPainter &painter, int pagina);
    // False when the file cannot be written.
    bool guardarPdf(const QString &ruta);
    void imprimir(QPrinter *printer);
    // The modal print preview, from which the user prints or saves a PDF file; the progress
    // window, when asked for, is closed before it opens.
    void previsualizar(QWidget *parent = nullptr, bool progreso = false);
    // The same, with the progress window when the company settings ask for it ("Progreso").
    void previsualizarSegunAjustes(QWidget *parent);

    // The progress window lives in the application library, which installs how to show and
    // close it; until then listings show none.
    struct AvisoProgreso {
        std::function<void(const QString &)> mostrar;
        std::function<void()> cerrar;
    };
    static void fijarAvisoProgreso(AvisoProgreso aviso);
    static inline const QString kTextoProgreso =
        QStringLiteral("Preparando listado, espere por favor...");

private:
    Listado m_listado;
    DataSet *m_datos;
    QList<PaginaListado> m_paginas;
    bool m_preparado = false;
};
