#pragma once

#include "common/ColumnaRejilla.h"
#include "store/Table.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QVariant>
#include <QWidget>
#include <functional>
#include <optional>

class DataSet;
class DataSource;
class StoreError;
class ModeloRegistros;
class QToolButton;
class Table;

// Ties one editor to one field of a data source: the editor shows the current record's value;
// typing puts the record in edit state, and the typed value is written to the field when the
// editor is left or the record is posted.
class EnlaceCampo : public QObject {
    Q_OBJECT
public:
    EnlaceCampo(QWidget *control, std::function<void(const QVariant &)> mostrar,
                std::function<QVariant()> leer);

    void enlazar(DataSource *fuente, const QString &campo);
    DataSet *datos() const;
    QString campo() const { return m_campo; }
    bool pendiente() const { return m_pendiente; }

    // The user changed the editor.
    void modificado();
    // Writes a pending value to the field; false (and the error shown) when it cannot be read.
    bool escribir();
    void mostrar();

private:
    void conectar();

    QWidget *m_control;
    std::function<void(const QVariant &)> m_mostrar;
    std::function<QVariant()> m_leer;
    QPointer<DataSource> m_fuente;
    QPointer<DataSet> m_datos;
    QString m_campo;
    bool m_pendiente = false;
    bool m_mostrando = false;
};

// An edit box with the system's mask ("000000/00;1;_") when given.
class CajaDatos : public QLineEdit {
    Q_OBJECT
public:
    explicit CajaDatos(QWidget *parent = nullptr);
    void enlazar(DataSource *fuente, const QString &campo, const QString &mascara = QString());
    EnlaceCampo *enlace() const { return m_enlace; }
    // The box's text as the system reads masked boxes: blanks where nothing was typed.
    QString texto() const;

protected:
    void focusOutEvent(QFocusEvent *e) override;
    EnlaceCampo *m_enlace;
    QString m_formato; // how a number shows while it is not being typed
};

// A date box "dd/mm/yy"; empty it reads "  /  /  ". "+" opens the calendar.
class CajaFecha : public QLineEdit {
    Q_OBJECT
public:
    explicit CajaFecha(QWidget *parent = nullptr);
    QDate fecha() const;
    void setFecha(const QDate &fecha);
    QString texto() const; // as typed, "  /  /  " when empty

    // Replaces the calendar picker (tests); by default the picker is shown.
    static std::function<std::optional<QDate>(QWidget *parent, const QDate &inicial)> calendario;
    void abrirCalendario();

Q_SIGNALS:
    void fechaElegida(const QDate &fecha);

protected:
    void keyPressEvent(QKeyEvent *e) override;
};

class CajaFechaDatos : public CajaFecha {
    Q_OBJECT
public:
    explicit CajaFechaDatos(QWidget *parent = nullptr);
    void enlazar(DataSource *fuente, const QString &campo);
    EnlaceCampo *enlace() const { return m_enlace; }

protected:
    void focusOutEvent(QFocusEvent *e) override;

private:
    EnlaceCampo *m_enlace;
};

// An amount: "." typed becomes the decimal comma.
class CajaImporteDatos : public CajaDatos {
    Q_OBJECT
public:
    explicit CajaImporteDatos(QWidget *parent = nullptr);
    void enlazar(DataSource *fuente, const QString &campo, const QString &formato);

protected:
    void keyPressEvent(QKeyEvent *e) override;
};

// The Sí/No flags: a list offering only "No" and "Sí", no free text; "+" opens it.
class ListaSiNoDatos : public QComboBox {
    Q_OBJECT
public:
    explicit ListaSiNoDatos(QWidget *parent = nullptr);
    void enlazar(DataSource *fuente, const QString &campo);
    EnlaceCampo *enlace() const { return m_enlace; }

protected:
    void keyPressEvent(QKeyEvent *e) override;

private:
    EnlaceCampo *m_enlace;
};

// A drop-down of fixed texts that also takes what the user types (an invoice's kind). "+"
// opens it.
class ListaValoresDatos : public QComboBox {
    Q_OBJECT
public:
    // `libre`: the user may also type a text of his own.
    ListaValoresDatos(const QStringList &valores, QWidget *parent = nullptr, bool libre = true);
    void enlazar(DataSource *fuente, const QString &campo);
    EnlaceCampo *enlace() const { return m_enlace; }

protected:
    void keyPressEvent(QKeyEvent *e) override;

private:
    EnlaceCampo *m_enlace;
};

// A check box on a logical field.
class CasillaDatos : public QCheckBox {
    Q_OBJECT
public:
    explicit CasillaDatos(const QString &texto, QWidget *parent = nullptr);
    void enlazar(DataSource *fuente, const QString &campo);
    EnlaceCampo *enlace() const { return m_enlace; }

private:
    EnlaceCampo *m_enlace;
};

// A drop-down over another table, showing several of its columns; the chosen record's
// `campoClave` is the list's value. "+" opens it.
class ListaBusqueda : public QComboBox {
    Q_OBJECT
public:
    explicit ListaBusqueda(QWidget *parent = nullptr);
    void setLista(Table *tabla, const QList<ColumnaRejilla> &columnas, const QString &campoClave,
                  int filas = 20);
    // The same, done when the box is first shown or asked for its value: a list on a page the
    // user may never open reads nothing.
    void setListaAlMostrar(Table *tabla, const QList<ColumnaRejilla> &columnas,
                           const QString &campoClave, int filas = 20);
    QVariant valorClave() const;   // the key of the chosen record, or null
    QString textoMostrado() const; // what the box shows
    void setValorClave(const QVariant &valor);
    Table *tabla() const { return m_tabla; }

Q_SIGNALS:
    // The list was read again (its table reordered or refiltered): the shown value must be
    // found again.
    void listaRecargada();

protected:
    void keyPressEvent(QKeyEvent *e) override;
    void showEvent(QShowEvent *e) override;

private:
    void asegurarLista() const;

    mutable std::function<void()> m_pendiente;
    QPointer<Table> m_tabla;
    ModeloRegistros *m_modelo = nullptr;
    QString m_campoClave;
};

class ListaBusquedaDatos : public ListaBusqueda {
    Q_OBJECT
public:
    explicit ListaBusquedaDatos(QWidget *parent = nullptr);
    void enlazar(DataSource *fuente, const QString &campo);
    EnlaceCampo *enlace() const { return m_enlace; }

private:
    EnlaceCampo *m_enlace;
};

class MemoDatos : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit MemoDatos(QWidget *parent = nullptr);
    void enlazar(DataSource *fuente, const QString &campo);
    EnlaceCampo *enlace() const { return m_enlace; }

Q_SIGNALS:
    void salida(); // the focus left the box

protected:
    void focusOutEvent(QFocusEvent *e) override;

private:
    EnlaceCampo *m_enlace;
};

// Record navigator: the buttons asked for, in that order.
class Navegador : public QWidget {
    Q_OBJECT
public:
    enum Boton {
        Primero,
        Anterior,
        Siguiente,
        Ultimo,
        Validar,
        Cancelar,
        Insertar,
        Borrar,
        Editar
    };
    Navegador(DataSource *fuente, bool conEdicion, const QStringList &ayudas,
              QWidget *parent = nullptr);
    Navegador(DataSource *fuente, const QList<Boton> &botones, const QStringList &ayudas,
              QWidget *parent = nullptr);
    QToolButton *boton(Boton b) const;
    void setPlano(bool plano);
    // What a button does instead of the bare operation (the window's post with its messages).
    void setAccion(Boton b, std::function<void()> accion) {
        m_acciones.insert(b, std::move(accion));
    }
    void setValidar(std::function<void()> validar) { setAccion(Validar, std::move(validar)); }
    void pulsar(Boton b);
    // How a failed operation is reported (by default, the store's message).
    void setManejadorErrores(std::function<void(const StoreError &)> f) {
        m_errores = std::move(f);
    }

private:
    std::function<void(const StoreError &)> m_errores;
    void actualizar();
    QPointer<DataSource> m_fuente;
    QList<Boton> m_tipos;
    QList<QToolButton *> m_botones;
    QHash<int, std::function<void()>> m_acciones;
};
