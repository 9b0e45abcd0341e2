#pragma once

#include "app/Configuracion.h"

#include <QMainWindow>

class QLabel;
class QMdiArea;

// The program's frame: a multi-document window whose work area holds the record windows and
// listings. It keeps the company settings and the values through which windows hand data to
// each other.
class TFormMenuPrincipal : public QMainWindow {
    Q_OBJECT
public:
    explicit TFormMenuPrincipal(QWidget *parent = nullptr);
    ~TFormMenuPrincipal() override;

    static TFormMenuPrincipal *instancia();

    // Reads the company settings, sets the caption and status text and opens the shared tables.
    // A failure is shown to the user; the result tells whether the opening completed.
    bool AbrirEmpresa();
    // The state with no company: caption "No hay ninguna empresa abierta...", no settings.
    void SinEmpresa();

    AjustesEmpresa ajustes;
    QString tituloAplicacion;
    QString version;
    int modoListado = 0;
    QString modoEdicion;
    QString claveEdicion;
    QString filtroImpresion;
    QString valorSeleccionado;
    QString ficheroAyuda;

    QMdiArea *areaTrabajo() const { return m_area; }
    QString textoEstado() const;
    QString textoAyuda() const;

protected:
    bool event(QEvent *e) override;

private:
    QMdiArea *m_area;
    QLabel *m_panelAyuda;
    QLabel *m_panelEmpresa;
};
