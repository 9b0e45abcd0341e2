#pragma once

#include "common/ColumnaRejilla.h"

#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QMenu>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QWidget>
#include <functional>

class DataSet;
class QLineEdit;
class QModelIndex;
class QTreeView;
class QVBoxLayout;
class StoreError;

// One key of the grid's sort: a column and its direction.
struct ClaveOrden {
    QString campo;
    Qt::SortOrder orden = Qt::AscendingOrder;
    bool operator==(const ClaveOrden &o) const {
        return campo.compare(o.campo, Qt::CaseInsensitive) == 0 && orden == o.orden;
    }
};

// A read-only grid over every record of a data set, loaded at once (the tables shown this way
// are small). It sorts by one or several columns, searches as the user types, filters its rows
// through a row of boxes above the data and keeps its layout in an INI file. Its current row
// and the data set's current record follow each other.
//
// Rows pass from the loaded rows through the filter and sort to the view; grouping would be one
// more stage before the view, and a summary footer one more widget below it.
class RejillaAgrupada : public QWidget {
    Q_OBJECT
public:
    explicit RejillaAgrupada(QWidget *parent = nullptr);
    ~RejillaAgrupada() override;

    // The columns, in their designed order; they reset the layout to the design.
    void setColumnas(const QList<ColumnaRejilla> &columnas);
    const QList<ColumnaRejilla> &columnas() const;

    // The data set is reloaded when it opens, stores or deletes a record, and emptied on close.
    void setDataSet(DataSet *dataSet);
    DataSet *dataSet() const;
    // Reads every record again and keeps the data set on the record it was on. While the data
    // set is being edited, reading waits until the edit ends.
    void recargar();

    // Rows as shown: filtered and sorted.
    int filas() const;
    int filasCargadas() const;
    QVariant valor(int fila, const QString &campo) const;
    QString texto(int fila, const QString &campo) const;
    int filaActual() const; // -1 when there is none
    // Makes a shown row current; the data set moves to its record.
    void setFilaActual(int fila);
    QString columnaActual() const;
    void setColumnaActual(const QString &campo);

    // Sorting. A click on a column title sorts by that column alone (a second click reverses
    // it); with Ctrl or Shift it adds the column to the sort, or reverses it when already there.
    QList<ClaveOrden> ordenacion() const;
    void setOrdenacion(const QList<ClaveOrden> &claves);
    void pulsarTitulo(const QString &campo, Qt::KeyboardModifiers modificadores);

    // The filter row: a row is shown when every non-empty box is contained, ignoring case, in
    // the text of its column.
    void setFilaFiltroVisible(bool visible);
    bool filaFiltroVisible() const;
    void setFiltro(const QString &campo, const QString &texto);
    QString filtro(const QString &campo) const;
    void quitarFiltros();
    QLineEdit *cajaFiltro(const QString &campo) const;

    // Incremental search in the current column: the first shown row whose text begins with the
    // typed text, ignoring case. Characters typed within the keyboard interval add to the text;
    // one that leaves no match is dropped.
    bool buscar(const QString &texto);
    QString textoBuscado() const { return m_buscado; }

    // Columns by field name.
    QStringList ordenColumnas() const; // every column, in visual order
    void moverColumna(const QString &campo, int posicion);
    void setColumnaOculta(const QString &campo, bool oculta);
    bool columnaOculta(const QString &campo) const;
    int anchoColumna(const QString &campo) const;
    void setAnchoColumna(const QString &campo, int ancho);

    // The layout (column order, widths, hidden columns, sort) in the INI file, under a section
    // named after the grid (its objectName). Restoring ignores fields it does not know and
    // leaves columns missing from the file as they are.
    void guardarDiseno(const QString &ficheroIni) const;
    void restaurarDiseno(const QString &ficheroIni);
    QString seccionDiseno() const { return objectName(); }

    void setMenuContextual(QMenu *menu);
    QMenu *menuContextual() const { return m_menu; }
    // What is done with a store error raised while moving the data set (a pending edit that
    // fails to post); by default its message is shown.
    void setManejadorErrores(std::function<void(const StoreError &)> manejador);

    QTreeView *vista() const;

private:
    class Modelo;
    class Proxy;
    class Vista;

    int columna(const QString &campo) const; // -1 when unknown
    int filaDeId(qint64 id) const;           // shown row of a loaded record, or -1
    int primeraVisible() const;              // logical index, or -1
    qint64 idActualDataSet() const;
    void seguirDataSet();
    void alCambiarFila(const QModelIndex &actual);
    void moverDataSet(qint64 id);
    void aplicarOrden();
    void colocarFiltros();
    void teclear(const QString &texto);
    void conectarDataSet();

    Modelo *m_modelo;
    Proxy *m_proxy;
    Vista *m_vista;
    QWidget *m_filaFiltro;
    QList<QLineEdit *> m_cajas;
    QVBoxLayout *m_capa;
    QPointer<DataSet> m_dataSet;
    QList<QMetaObject::Connection> m_conexiones;
    QPointer<QMenu> m_menu;
    std::function<void(const StoreError &)> m_errores;
    QHash<int, int> m_anchoOculto;
    QString m_buscado;
    QElapsedTimer m_relojBusqueda;
    bool m_cargando = false;
    bool m_siguiendo = false;
    bool m_pendiente = false;
};
