#include "Comparacion.h"

#include "Generador.h"
#include "store/StoreError.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#ifndef VELMORA_BUILD_DIR
#define VELMORA_BUILD_DIR "."
#endif

namespace Comparacion {
namespace {

// Keeps the mean real time per iteration of every benchmark: its "mean" aggregate when it was
// repeated, else the average of its runs.
class Informe : public benchmark::ConsoleReporter {
public:
    // Seconds per iteration, real and CPU; zero when the benchmark did not run.
    struct Tiempo {
        double real = 0;
        double cpu = 0;
    };

    void ReportRuns(const std::vector<Run> &runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &r : runs) {
            if (r.error_occurred)
                continue;
            const double unidad = benchmark::GetTimeUnitMultiplier(r.time_unit);
            const Tiempo t{r.GetAdjustedRealTime() / unidad, r.GetAdjustedCPUTime() / unidad};
            const std::string &nombre = r.run_name.function_name;
            if (r.run_type == Run::RT_Aggregate) {
                if (r.aggregate_name == "mean")
                    medias[nombre] = t;
            } else if (r.iterations > 0) {
                Suma &s = sumas[nombre];
                s.real += t.real;
                s.cpu += t.cpu;
                ++s.veces;
            }
        }
    }

    Tiempo media(const std::string &nombre) const {
        if (const auto it = medias.find(nombre); it != medias.end())
            return it->second;
        const auto it = sumas.find(nombre);
        if (it == sumas.end() || it->second.veces == 0)
            return {};
        return {it->second.real / it->second.veces, it->second.cpu / it->second.veces};
    }

private:
    struct Suma {
        double real = 0;
        double cpu = 0;
        int veces = 0;
    };
    std::map<std::string, Tiempo> medias;
    std::map<std::string, Suma> sumas;
};

// The figure asked of each pair is the ratio of mean real times; the CPU ratio beside it shows
// what is left of a write once the wait for the disk is taken out.
void imprimirCocientes(const Informe &informe, const std::vector<Par> &pares) {
    std::printf("\n%s %12s %12s %11s %11s\n",
                QStringLiteral("Par").leftJustified(42).toUtf8().constData(), "Propio (us)",
                "SQL (us)", "Propio/SQL", "CPU P/SQL");
    for (const Par &p : pares) {
        const Informe::Tiempo propio = informe.media(std::string(p.nombre) + "_Store");
        const Informe::Tiempo sql = informe.media(std::string(p.nombre) + "_SQL");
        if (propio.real <= 0 || sql.real <= 0 || sql.cpu <= 0)
            continue;
        std::printf("%s %12.1f %12.1f %11.2f %11.2f\n",
                    QString::fromUtf8(p.texto).leftJustified(42).toUtf8().constData(),
                    propio.real * 1e6, sql.real * 1e6, propio.real / sql.real,
                    propio.cpu / sql.cpu);
    }
}

} // namespace

QString carpetaDatos() {
    const QString env = qEnvironmentVariable("VELMORA_BENCH_DIR");
    return QDir(env.isEmpty() ? QStringLiteral(VELMORA_BUILD_DIR "/bench-data/EmpGrande") : env)
        .absolutePath();
}

void prepararDatos(const QString &carpeta) {
    if (QFileInfo::exists(QDir(carpeta).filePath(QStringLiteral("datos.db"))))
        return;
    const QString temporal = carpeta + QStringLiteral(".generando");
    QDir(temporal).removeRecursively();
    std::printf("Generando la empresa grande en %s ...\n", qPrintable(carpeta));
    QElapsedTimer reloj;
    reloj.start();
    Generador::generarEmpresa(temporal, Generador::Tamano::grande(), Generador::kSemillaGrande,
                              [](const QString &tabla, qint64 n) {
                                  std::printf("  %-16s %9lld\n", qPrintable(tabla), qlonglong(n));
                                  std::fflush(stdout);
                              });
    QDir(carpeta).removeRecursively();
    if (!QDir().rename(temporal, carpeta))
        throw StoreError(StoreError::Database,
                         QStringLiteral("No se puede renombrar %1.").arg(temporal));
    std::printf("Generada en %.1f s\n", reloj.elapsed() / 1000.0);
}

std::vector<char *> argumentos(int argc, char **argv) {
    static char repeticiones[] = "--benchmark_repetitions=5";
    static char mezclar[] = "--benchmark_enable_random_interleaving=true";
    static char resumen[] = "--benchmark_report_aggregates_only=true";
    std::vector<char *> args(argv, argv + argc);
    const bool indicado = std::any_of(args.begin(), args.end(), [](const char *a) {
        return std::strncmp(a, "--benchmark_repetitions", 23) == 0;
    });
    if (!indicado)
        args.insert(args.begin() + 1, {repeticiones, mezclar, resumen});
    return args;
}

void ejecutar(const std::vector<Par> &pares) {
    for (const Par &p : pares)
        for (auto [lado, funcion] : {std::pair{"_Store", p.propio}, {"_SQL", p.sql}}) {
            auto *b = benchmark::RegisterBenchmark((std::string(p.nombre) + lado).c_str(), funcion);
            b->Unit(benchmark::kMicrosecond);
            if (p.unaIteracion)
                b->Iterations(1);
        }
    Informe informe;
    benchmark::RunSpecifiedBenchmarks(&informe);
    imprimirCocientes(informe, pares);
}

} // namespace Comparacion
