#pragma once

#include "common/Formato.h"

#include <QList>
#include <QPageLayout>
#include <QRectF>
#include <QString>
#include <functional>
#include <optional>

class DataSet;

// What a printed document holds, declared once by the window that prints it: title band, page
// header, columns read from each record of a data set, groups, summary and page footer. The
// listing engine (MotorListado) lays it out into A4 pages. Positions and sizes are millimetres.
struct Listado {
    // A text read from the current record: a field, shown as windows show it (dates dd/mm/yyyy,
    // numbers with `formato` when given) followed by `sufijo`; or a function of the record; or,
    // when neither is given, the fixed text `fijo`. Without a current record only a fixed text
    // reads as something. A function's lambda must return QString: `"a" + b` deduced as its
    // return type would outlive the temporaries it refers to.
    struct Valor {
        QString campo;
        QString formato;
        QString sufijo;
        std::function<QString(const DataSet &)> funcion;
        QString fijo;

        static Valor deCampo(const QString &campo, const QString &formato = QString(),
                             const QString &sufijo = QString());
        static Valor de(std::function<QString(const DataSet &)> funcion);
        static Valor texto(const QString &fijo);
        QString leer(const DataSet *registro) const;
    };

    // A figure over the records printed: in the summary over all of them, in a group footer over
    // those of the group. Sums and averages read `campo` (empty counts as 0) or `funcion`.
    struct Total {
        enum class Operacion { Suma, Media, Cuenta };
        Operacion operacion = Operacion::Suma;
        QString campo;
        std::function<double(const DataSet &)> funcion;
        QString formato = Formato::kMoneda;
        QString sufijo;

        static Total suma(const QString &campo, const QString &formato = Formato::kMoneda,
                          const QString &sufijo = QString());
        static Total media(const QString &campo, const QString &formato = Formato::kMoneda);
        static Total cuenta(const QString &formato = Formato::kEntero);
        double leer(const DataSet &registro) const;
        QString texto(double suma, int cuenta) const;
    };

    struct Columna {
        enum class Medida { Proporcion, Milimetros };
        QString titulo; // "\n" separates the lines of a head of two lines
        Valor valor;
        double ancho = 1;
        Medida medida = Medida::Proporcion; // a share of what the millimetre columns leave
        Qt::Alignment alineacion = Qt::AlignLeft;
    };

    // A free text placed in a band, from the band's top-left corner inside the margins; a width of
    // 0 reaches the right margin. Long texts wrap and the block grows downwards. A block with
    // `recuadro` draws a frame around its rectangle, so an empty one frames other blocks.
    struct Bloque {
        Valor texto;
        QRectF rect;
        Qt::Alignment alineacion = Qt::AlignLeft;
        double puntos = 8;
        bool negrita = false;
        bool recuadro = false;
    };

    // One line of the summary or of a group footer: a label and values. A value with a column
    // prints within that column's width and alignment; one without follows the previous text.
    struct ValorResumen {
        QString texto;
        std::optional<Total> total;
        int columna = -1;
    };
    struct LineaResumen {
        QString etiqueta;
        QList<ValorResumen> valores;

        static LineaResumen fija(const QString &etiqueta, const QString &texto);
        static LineaResumen conTotal(const QString &etiqueta, const Total &total, int columna = -1);
    };

    // Records whose `clave` reads the same, one after another, form a group: its header blocks
    // read the group's first record and its footer totals count the group's records only.
    struct Grupo {
        Valor clave;
        QList<Bloque> cabecera;
        QList<LineaResumen> pie;
    };

    struct Dato {
        QString etiqueta;
        QString texto;
    };

    struct Pie {
        bool fechaHora = true; // the print date and time, dd/mm/yyyy hh:mm
        QString empresa;
        QString pagina = QStringLiteral("%1/%2"); // %1 page number, %2 page count; empty: none
    };

    QString titulo;
    // The framed box of the title band: "Filtro:", "Nº:" and what else a listing shows there.
    QList<Dato> datosTitulo;
    QList<Bloque> bloquesTitulo;  // in the title band, under the title and its box; first record
    QList<Bloque> cabeceraPagina; // above everything on every page; the page's first record
    QPageLayout::Orientation orientacion = QPageLayout::Portrait;
    QList<Columna> columnas;
    QList<Grupo> grupos; // outermost first
    QList<LineaResumen> resumen;
    Pie pie;

    // Sets the text of a label of the title box, adding the label the first time.
    void fijarDato(const QString &etiqueta, const QString &texto);
    void fijarFiltro(const QString &texto) { fijarDato(QStringLiteral("Filtro:"), texto); }
    void fijarNumero(const QString &texto) { fijarDato(QStringLiteral("Nº:"), texto); }
    Columna &anadirColumna(const QString &titulo, const Valor &valor, double ancho = 1,
                           Qt::Alignment alineacion = Qt::AlignLeft);
    int columna(const QString &titulo) const; // -1 when missing
    // Labelled values of the one record a listing is about ("Nº Viaje: 000001/05"), two to a
    // line in the title band.
    void anadirDatos(const QList<QPair<QString, QString>> &datos);

    // The company label of page footers: "<code> -  <name>", or the name alone, from the open
    // company's settings.
    static QString rotuloEmpresa(bool conCodigo = true);
};
