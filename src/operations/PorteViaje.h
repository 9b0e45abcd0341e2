#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QVariant>

class TDatos;
class Table;

// What a haul brings to its trip and its report.
struct DatosPorte {
    QVariant id;
    QString numero;
    QDate fecha;
    QString matricula;
    QString carga;
    QString descarga;

    static DatosPorte de(const Table &portes); // the haul's current values, as on screen
};

// The program's one definition of a trip made from a haul: the trip numbered like the haul,
// linked to it, with the haul's places, plate and date and the truck's usual driver.
class PasarAViaje {
public:
    enum Resultado {
        SinNumero, // the haul has no number yet
        Enlazado,  // a trip with that number existed: only its haul link changed
        Creado,    // a new trip was stored
    };
    // Throws StoreError when the trip cannot be stored; nothing is left half done.
    static Resultado ejecutar(TDatos &datos, const DatosPorte &porte);
    // The driver (NIF) of the truck with that plate, or empty.
    static QString conductorDe(TDatos &datos, const QString &matricula);
};

// A report made from a haul, and the haul marked as reported, as one change.
class AnadirReporte {
public:
    // Throws StoreError when either cannot be stored; then neither is.
    static void ejecutar(TDatos &datos, Table &portes);
};

// Keeping a trip in line with the haul of its number after the haul changed.
class SincronizacionViaje {
public:
    struct Cambio {
        QString campo; // the trip's field: "Destino", "Origen" or "MatricTractor"
        QString valor; // the haul's value for it
        QString pregunta;
    };
    // The questions to ask, in order, for the trip with the haul's number. None when the haul
    // has no number or no unloading place, or no trip has its number. The questions show the
    // trip's values as they are before any change.
    static QList<Cambio> cambios(TDatos &datos, const DatosPorte &porte);
    static void aplicar(TDatos &datos, const QString &numero, const Cambio &cambio);
};
