#pragma once

#include "common/VentanaRegistro.h"

class CajaDatos;
class QProgressBar;
class QPushButton;

// The clients window: the record window of "cliente.DB". A client's CIF cannot change once
// stored (invoices refer to it); a new name is carried into the hauls and reports that name
// the client on request ("Actualizar cambios"); a client in use cannot be deleted.
class TFormClientes : public VentanaRegistro {
    Q_OBJECT
public:
    explicit TFormClientes(QWidget *parent = nullptr);

    // "&Validar": stores the client being typed.
    void validar();
    // "&Actualizar cambios": the rename carried into hauls and reports.
    void actualizarCambios();
    Listado listado() const;

protected:
    QWidget *crearEdicion() override;
    void imprimir() override;
    void comprobarRegistro() override;
    bool puedeEliminar() override;
    QString preguntaEliminar() const override;

private:
    static DeclaracionVentana declaracion();
    void seguirEstado();
    QPushButton *botonActualizar() const;

    QWidget *m_panel = nullptr;
    CajaDatos *m_cif = nullptr;
    CajaDatos *m_nombre = nullptr;
    QPushButton *m_validar = nullptr;
    QProgressBar *m_progreso = nullptr;
    // The name as it was when editing of the client began; empty for a new client.
    QString m_nombreRecordado;
    int m_estadoPrevio = 0;
};
