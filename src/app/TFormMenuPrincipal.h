#pragma once

#include "app/Configuracion.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <functional>

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;

// The program's frame: a multi-document window whose work area holds the record windows and
// listings. It owns every command of the menu bar, keeps the company settings and the values
// through which windows hand data to each other.
class TFormMenuPrincipal : public QMainWindow, public ValoresPrincipales {
    Q_OBJECT
public:
    using Fabrica = std::function<QWidget *()>;

    explicit TFormMenuPrincipal(QWidget *parent = nullptr);
    ~TFormMenuPrincipal() override;

    static TFormMenuPrincipal *instancia();

    // Reads the company settings, sets the caption and status text and opens the shared tables.
    // A failure is shown to the user; the result tells whether the opening completed.
    bool AbrirEmpresa();
    // The state with no company: caption "No hay ninguna empresa abierta...", no settings.
    void SinEmpresa();

    // Commands. Each subsystem registers what its commands open; a command nobody registered
    // stays disabled.
    QAction *accion(const QString &nombre) const;
    // A child window found by name (`nombreVentana`, ignoring letter case): one of each.
    void registrarVentana(const QString &accion, const QString &nombreVentana, Fabrica crear);
    // A listing: single-instance, never reused with another mode.
    void registrarListado(const QString &accion, const QString &nombreVentana, int modo,
                          Fabrica crear);
    // A modal window; `exclusivo` refuses it while any child window is open, with that message.
    void registrarModal(const QString &accion, std::function<void()> mostrar,
                        const QString &avisoSiHayVentanas = QString());

    // Opens (or brings forward) a child window; returns it.
    QWidget *abrirVentana(const QString &nombreVentana, const Fabrica &crear);
    QWidget *abrirListado(const QString &nombreVentana, int modo, const Fabrica &crear);
    QWidget *ventanaHija(const QString &nombreVentana) const;
    QList<QMdiSubWindow *> ventanasHijas() const;

    QMdiArea *areaTrabajo() const { return m_area; }
    QToolBar *barraPrincipal() const { return m_barra; }
    QString textoEstado() const;
    QString textoAyuda() const;

    // The exit command: asks, then closes the main window.
    void Salir();
    void ordenarIconos();

protected:
    bool event(QEvent *e) override;

private:
    void crearMenus();
    void fusionarFichero(QMdiSubWindow *activa);
    void mostrarHija(QMdiSubWindow *sub);
    void calculadora();
    void ayuda();

    QMdiArea *m_area;
    QLabel *m_panelAyuda;
    QLabel *m_panelEmpresa;
    QToolBar *m_barra = nullptr;
    QHash<QString, QAction *> m_acciones;
    QPointer<QMenu> m_ficheroFusionado;
};
