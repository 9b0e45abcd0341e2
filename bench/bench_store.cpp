// The store against plain SQLite on the same large company: each pair does the same work, once
// through our cursors and queries, once as a one-off statement of the sqlite3 C API.

#include "Comparacion.h"
#include "Generador.h"

#include "store/Connection.h"
#include "store/Query.h"
#include "store/StoreError.h"
#include "store/Table.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QVector>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <map>
#include <sqlite3.h>
#include <vector>

namespace {

struct Entorno {
    Connection *db = nullptr; // ours
    sqlite3 *sql = nullptr;   // plain, on the same file
    QString matricula;        // a tractor with hauls in 2005
    QVector<QString> claves;  // haul numbers to search, most of them existing
};

Entorno g;

// ---------------------------------------------------------------------------------------------
// Setup

void ejecutar(const char *sql) {
    char *error = nullptr;
    if (sqlite3_exec(g.sql, sql, nullptr, nullptr, &error) != SQLITE_OK) {
        std::fprintf(stderr, "%s: %s\n", sql, error);
        sqlite3_free(error);
        std::exit(1);
    }
}

// Hauls the benchmarks add are numbered "/98" (ours) and "/99" (plain); the data has none.
void borrarPortesDePrueba() {
    ejecutar("DELETE FROM portes WHERE Numero LIKE '%/98' OR Numero LIKE '%/99'");
}

void abrir(const QString &carpeta) {
    g.db = new Connection(QStringLiteral("VIVOZED"));
    g.db->setPath(carpeta);
    g.db->open();

    const QByteArray fichero = QDir(carpeta).filePath(QStringLiteral("datos.db")).toUtf8();
    if (sqlite3_open_v2(fichero.constData(), &g.sql, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "No se puede abrir %s\n", fichero.constData());
        std::exit(1);
    }
    // The same durability as the store's connection.
    sqlite3_busy_timeout(g.sql, 5000);
    ejecutar("PRAGMA journal_mode=DELETE");
    ejecutar("PRAGMA synchronous=FULL");
    borrarPortesDePrueba();

    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(g.sql,
                       "SELECT Matricula FROM portes WHERE Fecha BETWEEN '2005-01-01' AND "
                       "'2005-12-31' GROUP BY Matricula ORDER BY COUNT(*) DESC, Matricula LIMIT 1",
                       -1, &st, nullptr);
    if (sqlite3_step(st) == SQLITE_ROW)
        g.matricula = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    if (g.matricula.isEmpty()) {
        std::fprintf(stderr, "La empresa no tiene portes de 2005.\n");
        std::exit(1);
    }

    int maximo = 0;
    sqlite3_prepare_v2(g.sql, "SELECT MAX(CAST(substr(Numero, 1, 6) AS INTEGER)) FROM portes", -1,
                       &st, nullptr);
    if (sqlite3_step(st) == SQLITE_ROW)
        maximo = sqlite3_column_int(st, 0);
    sqlite3_finalize(st);
    QRandomGenerator azar(1);
    for (int i = 0; i < 1024; ++i)
        g.claves << QStringLiteral("%1/%2")
                        .arg(azar.bounded(1, maximo + 1), 6, 10, QLatin1Char('0'))
                        .arg(azar.bounded(0, 10), 2, 10, QLatin1Char('0'));
}

void leerColumnas(sqlite3_stmt *st) {
    const int n = sqlite3_column_count(st);
    for (int c = 0; c < n; ++c) {
        switch (sqlite3_column_type(st, c)) {
        case SQLITE_INTEGER:
            benchmark::DoNotOptimize(sqlite3_column_int64(st, c));
            break;
        case SQLITE_FLOAT:
            benchmark::DoNotOptimize(sqlite3_column_double(st, c));
            break;
        case SQLITE_TEXT:
            benchmark::DoNotOptimize(sqlite3_column_text(st, c));
            benchmark::DoNotOptimize(sqlite3_column_bytes(st, c));
            break;
        default:
            break;
        }
    }
}

void leerCampos(const DataSet &d, const QStringList &campos) {
    for (const QString &c : campos)
        benchmark::DoNotOptimize(d.value(c));
}

// ---------------------------------------------------------------------------------------------
// 1. Opening the hauls ordered by number and reading the first 256 records.

void CursorPortes_Store(benchmark::State &state) {
    for (auto _ : state) {
        Table t(g.db, QStringLiteral("portes.DB"));
        t.setIndexFieldNames(QStringLiteral("Numero"));
        t.open();
        const QStringList campos = t.fieldNames();
        for (int i = 0; i < 256 && !t.eof(); ++i) {
            leerCampos(t, campos);
            t.next();
        }
    }
}

void CursorPortes_SQL(benchmark::State &state) {
    for (auto _ : state) {
        sqlite3_stmt *st = nullptr;
        sqlite3_prepare_v2(g.sql, "SELECT * FROM portes ORDER BY Numero", -1, &st, nullptr);
        for (int i = 0; i < 256 && sqlite3_step(st) == SQLITE_ROW; ++i)
            leerColumnas(st);
        sqlite3_finalize(st);
    }
}

// 2. The total panel of a record window: count and sum of the filtered hauls.

void TotalFiltrado_Store(benchmark::State &state) {
    const QString filtro =
        QStringLiteral("[Fecha] >= '01/01/05' AND [Fecha] <= '31/12/05' AND [Matricula] = '%1'")
            .arg(g.matricula);
    for (auto _ : state) {
        Query q(g.db);
        q.setSqlLines({QStringLiteral("select *"), QStringLiteral("from portes")});
        q.setFilter(filtro);
        q.setFiltered(true);
        const QVariantList r =
            q.aggregate({QStringLiteral("COUNT(*)"), QStringLiteral("TOTAL(\"Precio\")")});
        benchmark::DoNotOptimize(r);
    }
}

void TotalFiltrado_SQL(benchmark::State &state) {
    const QByteArray matricula = g.matricula.toUtf8();
    for (auto _ : state) {
        sqlite3_stmt *st = nullptr;
        sqlite3_prepare_v2(
            g.sql,
            "SELECT COUNT(*), TOTAL(Precio) FROM portes WHERE Fecha >= ? AND Fecha <= ? "
            "AND Matricula = ?",
            -1, &st, nullptr);
        sqlite3_bind_text(st, 1, "2005-01-01", -1, SQLITE_STATIC);
        sqlite3_bind_text(st, 2, "2005-12-31", -1, SQLITE_STATIC);
        sqlite3_bind_text(st, 3, matricula.constData(), int(matricula.size()), SQLITE_STATIC);
        if (sqlite3_step(st) == SQLITE_ROW) {
            benchmark::DoNotOptimize(sqlite3_column_int64(st, 0));
            benchmark::DoNotOptimize(sqlite3_column_double(st, 1));
        }
        sqlite3_finalize(st);
    }
}

// 3. The search box of the hauls window: nearest number on an open cursor.

void BuscarNumero_Store(benchmark::State &state) {
    Table t(g.db, QStringLiteral("portes.DB"));
    t.setIndexFieldNames(QStringLiteral("Numero"));
    t.open();
    const QStringList campos = t.fieldNames();
    int i = 0;
    for (auto _ : state) {
        t.findNearest({g.claves[i++ & 1023]});
        leerCampos(t, campos);
    }
}

void BuscarNumero_SQL(benchmark::State &state) {
    QVector<QByteArray> claves;
    for (const QString &c : g.claves)
        claves << c.toUtf8();
    int i = 0;
    for (auto _ : state) {
        const QByteArray &clave = claves[i++ & 1023];
        sqlite3_stmt *st = nullptr;
        sqlite3_prepare_v2(g.sql, "SELECT * FROM portes WHERE Numero >= ? ORDER BY Numero LIMIT 1",
                           -1, &st, nullptr);
        sqlite3_bind_text(st, 1, clave.constData(), int(clave.size()), SQLITE_STATIC);
        if (sqlite3_step(st) == SQLITE_ROW)
            leerColumnas(st);
        sqlite3_finalize(st);
    }
}

// 4. Storing one haul, as the hauls window does on "post".

void GrabarPorte_Store(benchmark::State &state) {
    Table t(g.db, QStringLiteral("portes.DB"));
    t.open();
    int n = 0;
    for (auto _ : state) {
        t.append();
        t.setValue(QStringLiteral("Numero"),
                   QStringLiteral("%1/98").arg(++n, 6, 10, QLatin1Char('0')));
        t.setValue(QStringLiteral("Fecha"), QDate(2005, 6, 15));
        t.setValue(QStringLiteral("Matricula"), g.matricula);
        t.setValue(QStringLiteral("Transportista"),
                   QStringLiteral("TRANSPORTES GARCÍA HERMANOS, S.L."));
        t.setValue(QStringLiteral("Carga"), QStringLiteral("ZARAGOZA"));
        t.setValue(QStringLiteral("Descarga"), QStringLiteral("VALENCIA"));
        t.setValue(QStringLiteral("Precio"), 850.0);
        t.setValue(QStringLiteral("Facturado"), QStringLiteral("No"));
        t.setValue(QStringLiteral("Pagado"), QStringLiteral("No"));
        t.setValue(QStringLiteral("Reportado"), QStringLiteral("No"));
        t.post();
    }
    t.close();
    borrarPortesDePrueba();
}

void GrabarPorte_SQL(benchmark::State &state) {
    const QByteArray matricula = g.matricula.toUtf8();
    int n = 0;
    for (auto _ : state) {
        char numero[16];
        std::snprintf(numero, sizeof numero, "%06d/99", ++n);
        sqlite3_stmt *st = nullptr;
        sqlite3_prepare_v2(
            g.sql,
            "INSERT INTO portes (Numero, Fecha, Matricula, Transportista, Carga, Descarga, "
            "Precio, Facturado, Pagado, Reportado) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
            -1, &st, nullptr);
        sqlite3_bind_text(st, 1, numero, -1, SQLITE_STATIC);
        sqlite3_bind_text(st, 2, "2005-06-15", -1, SQLITE_STATIC);
        sqlite3_bind_text(st, 3, matricula.constData(), int(matricula.size()), SQLITE_STATIC);
        sqlite3_bind_text(st, 4, "TRANSPORTES GARCÍA HERMANOS, S.L.", -1, SQLITE_STATIC);
        sqlite3_bind_text(st, 5, "ZARAGOZA", -1, SQLITE_STATIC);
        sqlite3_bind_text(st, 6, "VALENCIA", -1, SQLITE_STATIC);
        sqlite3_bind_double(st, 7, 850.0);
        sqlite3_bind_text(st, 8, "No", -1, SQLITE_STATIC);
        sqlite3_bind_text(st, 9, "No", -1, SQLITE_STATIC);
        sqlite3_bind_text(st, 10, "No", -1, SQLITE_STATIC);
        if (sqlite3_step(st) != SQLITE_DONE)
            state.SkipWithError(sqlite3_errmsg(g.sql));
        sqlite3_finalize(st);
    }
    borrarPortesDePrueba();
}

// ---------------------------------------------------------------------------------------------

const std::vector<Comparacion::Par> kPares = {
    {"CursorPortes", "Abrir cursor de portes y leer 256 filas", CursorPortes_Store,
     CursorPortes_SQL},
    {"TotalFiltrado", "Cuenta y suma de portes filtrados", TotalFiltrado_Store, TotalFiltrado_SQL},
    {"BuscarNumero", "Búsqueda del número más cercano", BuscarNumero_Store, BuscarNumero_SQL},
    {"GrabarPorte", "Grabar un porte", GrabarPorte_Store, GrabarPorte_SQL},
};

} // namespace

int main(int argc, char **argv) {
    // Writes wait on the disk, which other work shares: unless told otherwise, repeat every
    // benchmark in random order so that a slow moment does not fall on one side of a pair.
    std::vector<char *> args = Comparacion::argumentos(argc, argv);
    int n = int(args.size());
    benchmark::Initialize(&n, args.data());
    if (benchmark::ReportUnrecognizedArguments(n, args.data()))
        return 1;
    QCoreApplication app(n, args.data());
    try {
        const QString carpeta = Comparacion::carpetaDatos();
        Comparacion::prepararDatos(carpeta);
        abrir(carpeta);
        std::printf("Empresa: %s  matrícula: %s\n", qPrintable(carpeta), qPrintable(g.matricula));
        Comparacion::ejecutar(kPares);
    } catch (const StoreError &e) {
        std::fprintf(stderr, "Error: %s\n", e.what());
        return 1;
    }
    benchmark::Shutdown();
    sqlite3_close(g.sql);
    delete g.db;
    return 0;
}
