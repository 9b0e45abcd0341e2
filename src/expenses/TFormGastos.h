#pragma once

#include "common/VentanaRegistro.h"

class CajaFechaDatos;
class RejillaEdicion;

// The expenses window: the record window of "Gastos.DB" with its lines ("detagast.DB") edited
// below the expense, "Calcular gasto", the printed expense and "Actualizar" (old expenses out).
class TFormGastos : public VentanaRegistro {
    Q_OBJECT
public:
    explicit TFormGastos(QWidget *parent = nullptr);

    void calcularGasto();
    // Deletes the expenses, as filtered, dated before 2001, after asking.
    void actualizar();
    void nuevo() override;
    Listado listado() const;

    Table *lineas() const { return m_lineas; }
    RejillaEdicion *rejillaLineas() const { return m_rejillaLineas; }

    // The six expense types, sorted; nothing else can be chosen.
    static const QStringList &tipos();

protected:
    QWidget *crearEdicion() override;
    void abrirTablas() override;
    void calcular() override { calcularGasto(); }
    void imprimir() override;
    bool grabarDetalles() override;
    void eliminarRegistro() override;
    void closeEvent(QCloseEvent *e) override;

private:
    static DeclaracionVentana declaracion();

    Table *m_lineas;
    Table *m_camiones;
    RejillaEdicion *m_rejillaLineas = nullptr;
    CajaFechaDatos *m_fecha = nullptr;
};
