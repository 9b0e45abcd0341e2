#pragma once

#include <QList>
#include <QString>
#include <functional>

class Connection;
class TDatos;

// The result of one trip as it was stored, or the date check that stopped it.
struct CalculoViaje {
    enum Fallo {
        Ninguno,
        SinFechaSalida,
        SinFechaLlegada,
        SalidaPosterior, // departure later than arrival
    };
    Fallo fallo = Ninguno;
    QString mensaje; // the information text for a failed date check
    QString foco;    // the trip field whose box takes the focus: "FechaSalida" or "FechaLlegada"
    bool correcto() const { return fallo == Ninguno; }

    // The values stored in the trip, each named after its field.
    int numDias = 0;
    double kmtTotales = 0;
    double beneficios = 0;
    double totalGastos = 0;
    double totalOtrosGastos = 0;
    double totalIngresos = 0;
    double totalAutopista = 0;
    double totalCombustible = 0;
    double totalCosteCamionero = 0;
    double consumo = 0;
    double ptaLitro = 0;
    double totalLitros = 0;
    double porcentajeBeneficio = 0;
    double precioKm = 0;
};

// "Calcular resultado": totals the trip's toll, fuel and other-cost lines (a fuel line without
// amount gets litres × price), aligns every line with the trip's tractor plate and arrival month,
// adds the driver cost from his rates, takes the income from the haul and reports numbered like
// the trip's `NumPorte`, and stores the results in the trip. The lines and the trip are written in
// one transaction; a failed date check writes nothing. The trip and its lines are read from the
// store, so pending edits in a window must be posted first. Throws StoreError.
class ResultadoViaje {
public:
    explicit ResultadoViaje(TDatos &datos);

    // StoreError NotFound when no trip has that number.
    CalculoViaje calcular(const QString &numViaje);
    CalculoViaje calcularFila(qint64 rowid);

private:
    Connection &m_db;
};

// "Recalcular todos": the result of every trip by `NumViaje`, all in one transaction. A trip that
// fails a date check is reported and skipped; a store error undoes the whole run and is thrown.
class RecalcularViajes {
public:
    struct Fallo {
        QString numViaje;
        QString mensaje;
    };
    struct Resumen {
        int total = 0;
        int calculados = 0;
        QList<Fallo> fallos;
    };

    explicit RecalcularViajes(TDatos &datos);

    // Told before each trip: its position, from 1, and the number of trips.
    std::function<void(int posicion, int total)> progreso;
    // Told for each trip that failed a date check, with the message to show.
    std::function<void(const QString &numViaje, const QString &mensaje)> alFallar;

    Resumen ejecutar();

private:
    Connection &m_db;
};
