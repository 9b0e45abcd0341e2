#pragma once

#include "common/VentanaRegistro.h"

class CajaDatos;
class CajaFechaDatos;
class QButtonGroup;
class RejillaEdicion;

// The trips window: the record window of "viaje.DB" with its toll, fuel and other-cost lines
// edited below the trip, the trip result ("Calcular resultado", "Recalcular todos") and the
// printed trip.
class TFormViajes : public VentanaRegistro {
    Q_OBJECT
public:
    explicit TFormViajes(QWidget *parent = nullptr);

    void calcularResultado();
    void recalcularTodos();
    // Links the trip to the haul and report of its number, when the number box is left.
    void enlazarPorNumero();
    // "LISTADO DE VIAJE" of the current trip, with its lines.
    Listado listado();
    QString consultaListado() const;

    RejillaEdicion *rejillaAutopistas() const { return m_autopistas; }
    RejillaEdicion *rejillaCombustible() const { return m_combustible; }
    RejillaEdicion *rejillaOtros() const { return m_otros; }
    Table *remolques() const { return m_remolques; }
    void mostrarTodosLosRemolques(bool todos);
    void elegirGrafico(int serie);

protected:
    QWidget *crearEdicion() override;
    void abrirTablas() override;
    void calcular() override { calcularResultado(); }
    void imprimir() override;
    void eliminarRegistro() override;
    void nuevo() override;
    bool grabarDetalles() override;

private:
    static DeclaracionVentana declaracion();
    RejillaEdicion *rejilla(const QString &titulo, Table *lineas,
                            const QList<struct ColumnaEdicion> &columnas);
    void prepararGrafico();
    QStringList conceptos();
    void recordarConcepto();

    Table *m_conductores;
    Table *m_tractores;
    Table *m_remolques;
    Table *m_lineasAutopista;
    Table *m_lineasCombustible;
    Table *m_lineasOtros;
    RejillaEdicion *m_autopistas = nullptr;
    RejillaEdicion *m_combustible = nullptr;
    RejillaEdicion *m_otros = nullptr;
    CajaDatos *m_numero = nullptr;
    CajaFechaDatos *m_salida = nullptr;
    CajaFechaDatos *m_llegada = nullptr;
    QButtonGroup *m_series = nullptr;
};
