#pragma once

#include <QDialog>

class ModeloDatos;
class QAction;
class QButtonGroup;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTableView;
class QToolBar;
class Query;

// The key picker: a list of the records of one kind, searched by the ticked order column as the
// user types. The picked key goes to the main window's picked value; closing without picking,
// or picking a record without a key, leaves that value empty.
class TFormSeleccion : public QDialog {
    Q_OBJECT
public:
    static constexpr int kCamiones = 10;

    explicit TFormSeleccion(QWidget *parent = nullptr);
    ~TFormSeleccion() override;

    // What the list shows; set before showing.
    void setTipo(int tipo) { m_tipo = tipo; }
    int tipo() const { return m_tipo; }

    QAction *accion(const QString &nombre) const;
    ModeloDatos *modelo() const { return m_modelo; }
    // The current row of the list, -1 when there is none.
    int filaActual() const;

    // Commands.
    void cargar();
    void seleccionar();
    void buscar(const QString &texto);

protected:
    void showEvent(QShowEvent *e) override;
    void done(int resultado) override;
    bool eventFilter(QObject *objeto, QEvent *evento) override;

private:
    QAction *crearAccion(const char *nombre, const QString &texto, const QString &ayuda,
                         const QKeySequence &tecla);
    void aplicarAjustes();
    void ajustarAnchos();

    int m_tipo = 0;
    QToolBar *m_barra;
    QLabel *m_etiquetaBuscar;
    QLineEdit *m_buscar;
    QButtonGroup *m_ordenes;
    QRadioButton *m_orden[3];
    QTableView *m_lista;
    Query *m_query = nullptr;
    ModeloDatos *m_modelo = nullptr;
};
