#pragma once

#include "common/VentanaRegistro.h"

class CajaDatos;
class CajaFechaDatos;
class MemoDatos;

// The hauls window: the record window of "portes.DB", with trip synchronisation after every
// stored change, "Pasar a viaje", "Anadir reporte" and the listing "LISTADO DE PORTES".
class TFormPortes : public VentanaRegistro {
    Q_OBJECT
public:
    explicit TFormPortes(QWidget *parent = nullptr);

    void pasarAViaje();
    void anadirReporte();
    // Offers to bring the trip of the current haul in line with it.
    void sincronizarViaje();
    // "LISTADO DE PORTES" of the hauls as filtered and ordered.
    Listado listado() const;

protected:
    QWidget *crearEdicion() override;
    void abrirTablas() override;
    void imprimir() override;

private:
    static DeclaracionVentana declaracion();
    void actualizarBotonViaje();

    CajaDatos *m_numero = nullptr;
    CajaFechaDatos *m_fecha = nullptr;
    bool m_anadiendoReporte = false;
};
