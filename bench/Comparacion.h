#pragma once

#include <QString>
#include <benchmark/benchmark.h>
#include <vector>

// What the benchmarks share: the large company they run on, the pairs they measure (ours
// against plain SQL doing the same work) and the table of ratios printed at the end.
namespace Comparacion {

// The large company's folder: $VELMORA_BENCH_DIR, or "bench-data/EmpGrande" in the build folder.
QString carpetaDatos();
// Generates the large company once; an interrupted run leaves only its temporary folder.
void prepararDatos(const QString &carpeta);

struct Par {
    const char *nombre;
    const char *texto;
    void (*propio)(benchmark::State &);
    void (*sql)(benchmark::State &);
    bool unaIteracion = false; // a run long enough to measure once per repetition
};

// The command line with the default flags added unless the repetitions are given: every
// benchmark five times in random order, so that a slow moment of a shared machine does not
// fall on one side of a pair. The strings live as long as the program.
std::vector<char *> argumentos(int argc, char **argv);

// Registers "<nombre>_Store" and "<nombre>_SQL" of each pair, runs what the flags select and
// prints, for each pair, the mean real times of both sides and their ratio (also on CPU time).
void ejecutar(const std::vector<Par> &pares);

} // namespace Comparacion
