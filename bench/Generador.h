#pragma once

#include <QDate>
#include <QString>
#include <functional>

// Fills a company with made-up but consistent data: the demo program folder and the large
// company the benchmarks run on. The same seed and sizes always give the same data.
namespace Generador {

// How much of each kind a generated company holds, and the period its dates fall in.
struct Tamano {
    QDate desde;
    QDate hasta;
    int clientes = 0;
    int lugares = 0;
    int tractores = 0;
    int remolques = 0;
    int camioneros = 0;
    int portes = 0;
    int reportes = 0; // each made from one of the hauls
    int viajes = 0;   // each made from one of the hauls
    int lineasPorViajeMin = 2;
    int lineasPorViajeMax = 6;
    int facturas = 0;
    int lineasFactura = 0;
    int gastos = 0;
    int seguros = 0;
    int talleres = 0;
    int neumaticos = 0;
    int mesesResultado = 0; // monthly result lines per tractor, for the last months of the period

    // A small firm over the last two years.
    static Tamano demo();
    // Ten years (2000-2009) of a firm with about fifty trucks.
    static Tamano grande();
};

// The seed of the large company, so that the generator and the benchmarks build the same one.
inline constexpr quint32 kSemillaGrande = 2005;

// Told after each table is written: its file name and how many records it received.
using Progreso = std::function<void(const QString &tabla, qint64 registros)>;

// Creates the company folder and its database from the schema and fills it. An existing
// database in that folder is replaced. Throws StoreError when the database cannot be written.
void generarEmpresa(const QString &carpetaEmpresa, const Tamano &tamano, quint32 semilla,
                    const Progreso &progreso = {});

// A program folder ready to run: the template, the registry with company 1, the company folder
// "Emp1" filled with demo(), the empty working folders and the configuration file naming it.
// Throws std::runtime_error when the configuration file cannot be written.
void prepararDemo(const QString &carpetaPrograma);

} // namespace Generador
