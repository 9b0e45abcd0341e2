#pragma once

#include "common/VentanaRegistro.h"

class CajaDatos;
class QPushButton;

// The drivers window: the record window of "Camioner.DB" with the drivers' pay terms. A
// vehicle's usual driver cannot be deleted.
class TFormCamioneros : public VentanaRegistro {
    Q_OBJECT
public:
    explicit TFormCamioneros(QWidget *parent = nullptr);

    // "&Validar": empty amounts become 0 and the driver is stored.
    void validar();
    void nuevo() override;
    // "LISTADO DE CAMIONEROS" of the shared drivers table, with the averages of the pay terms.
    Listado listado() const;

protected:
    QWidget *crearEdicion() override;
    void imprimir() override;
    bool puedeEliminar() override;
    QString preguntaEliminar() const override;
    void eliminarRegistro() override;

private:
    static DeclaracionVentana declaracion();

    CajaDatos *m_apellidos = nullptr;
    QPushButton *m_validar = nullptr;
};
