#pragma once

#include <QAbstractTableModel>
#include <QPointer>
#include <QWidget>
#include <functional>

class Navegador;
class QLabel;
class QTableView;
class Table;

// One editable column of a lines grid.
struct ColumnaEdicion {
    QString campo;
    QString titulo;
    int ancho = 90;
    bool decimal = false; // "." typed becomes ","
    // The values offered in a drop-down; free text stays allowed unless soloLista.
    std::function<QStringList()> opciones;
    bool soloLista = false;
    QString formato; // how a number shows
};

// The rows of a lines grid: the records of a (usually detail) table, plus the line being
// added while the table is inserting it.
class ModeloEdicion : public QAbstractTableModel {
    Q_OBJECT
public:
    ModeloEdicion(Table *tabla, const QList<ColumnaEdicion> &columnas, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    bool esNueva(int fila) const;
    qint64 rowIdDe(int fila) const { return fila < m_ids.size() ? m_ids[fila] : 0; }
    int filaDe(qint64 rowid) const { return int(m_ids.indexOf(rowid)); }
    const QList<ColumnaEdicion> &columnas() const { return m_columnas; }

public Q_SLOTS:
    void recargar();

private:
    QPointer<Table> m_tabla;
    QList<ColumnaEdicion> m_columnas;
    QVector<qint64> m_ids;
    QHash<qint64, QVector<QVariant>> m_valores;
    bool m_insertando = false;
};

// A grid of lines edited in place, with its navigator (first, prior, next, last, new,
// delete, post, cancel). A line being added is stored when the user moves to another line,
// posts it or leaves the grid's window; existing lines are stored cell by cell.
class RejillaEdicion : public QWidget {
    Q_OBJECT
public:
    RejillaEdicion(const QString &titulo, Table *tabla, const QList<ColumnaEdicion> &columnas,
                   const QStringList &ayudasNavegador, QWidget *parent = nullptr);

    Table *tabla() const { return m_tabla; }
    QTableView *vista() const { return m_vista; }
    Navegador *navegador() const { return m_navegador; }
    ModeloEdicion *modelo() const { return m_modelo; }

    // Before a line is added (false stops it), and right after (to fill what the line takes
    // from its owner).
    std::function<bool()> antesDeAnadir;
    std::function<void()> alAnadir;
    // Every time the grid gets the focus (to rebuild a list of offered values).
    std::function<void()> alEntrar;

    // The column widths kept in a section of the configuration file, one key per field: read
    // now (a missing key keeps the width), written by guardarAnchos().
    void usarAnchosDe(const QString &seccion);
    void guardarAnchos() const;

    void anadir();
    // Stores the line being added or edited; false (and the error shown) when it cannot.
    bool grabar();
    void eliminar();

protected:
    bool eventFilter(QObject *obj, QEvent *e) override;

private:
    Table *m_tabla;
    ModeloEdicion *m_modelo;
    QTableView *m_vista;
    Navegador *m_navegador;
    QString m_seccionAnchos;
};
