#pragma once

#include "common/VentanaRegistro.h"

class CajaDatos;
class ListaBusquedaDatos;
class QLabel;
class RejillaEdicion;

// The invoices window: the record window of "facturas.DB" with its lines ("detalle.DB") edited
// below the invoice, "Calcular factura" and "Cobrada Sí".
class TFormFacturacion : public VentanaRegistro {
    Q_OBJECT
public:
    explicit TFormFacturacion(QWidget *parent = nullptr);

    void calcularFactura();
    void cobrada();

    Table *lineas() const { return m_lineas; }
    RejillaEdicion *rejillaLineas() const { return m_rejillaLineas; }
    QString textoPais() const;
    QString etiquetaOtroImporte() const;

protected:
    QWidget *crearEdicion() override;
    void abrirTablas() override;
    void calcular() override { calcularFactura(); }
    void estado() override { cobrada(); }
    bool grabarDetalles() override;
    QString preguntaEliminar() const override;
    void eliminarRegistro() override;
    void closeEvent(QCloseEvent *e) override;

private:
    static DeclaracionVentana declaracion();
    void seguirCliente();

    Table *m_lineas;
    Table *m_clientes;
    RejillaEdicion *m_rejillaLineas = nullptr;
    CajaDatos *m_numero = nullptr;
    ListaBusquedaDatos *m_cliente = nullptr;
    QLabel *m_pais = nullptr;
    QLabel *m_etiquetaOtro = nullptr;
};
