#pragma once

#include <QKeySequence>
#include <QWidget>

class QAction;
class QMenu;
class QToolBar;
class RejillaAgrupada;
class StoreError;
class Table;

// The places window: the list of places ("Lugar.db") through a cursor of its own, with the
// commands that add, change and delete them. Places are named in hauls, reports and trips by
// their text, so a place still named there cannot be deleted.
class TFormLugares : public QWidget {
    Q_OBJECT
public:
    explicit TFormLugares(QWidget *parent = nullptr);
    ~TFormLugares() override;

    Table *lugares() const { return m_lugares; }
    RejillaAgrupada *rejilla() const { return m_rejilla; }
    // The INI file that keeps the grid's layout, in the program folder.
    static QString ficheroDiseno();

    void nuevo();
    void modificar();
    void eliminar();
    void cerrar();

protected:
    void showEvent(QShowEvent *e) override;
    void closeEvent(QCloseEvent *e) override;

private:
    QAction *crearAccion(const QString &nombre, const QString &texto, const QString &ayuda,
                         const QKeySequence &tecla = QKeySequence());
    void crearBarra();
    void aplicarAjustesBarra();
    void mostrarEditor();
    void errorAlGuardar(const StoreError &e);
    // The name is used by hauls, reports or trips: the message that says where, or empty.
    QString usoDelLugar(const QVariant &nombre) const;

    Table *m_lugares;
    RejillaAgrupada *m_rejilla;
    QToolBar *m_barra = nullptr;
    QMenu *m_fichero;
    QMenu *m_menuRejilla;
    QAction *m_actNuevo;
    QAction *m_actModificar;
    QAction *m_actEliminar;
    QAction *m_actCerrar;
    QAction *m_actNuevoLugar;
};
