// The hauls window against plain SQLite on the large company: opening it, one keystroke of its
// search box and one filter with its total, each once through the window and once as the same
// reads done as one-off statements of the sqlite3 C API.

#include "Comparacion.h"
#include "Generador.h"

#include "app/Mensajes.h"
#include "app/Programa.h"
#include "app/TFormI.h"
#include "app/TFormMenuPrincipal.h"
#include "operations/TFormPortes.h"
#include "operations/TFormViajes.h"
#include "store/StoreError.h"
#include "store/TDatos.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTableView>
#include <QTemporaryDir>
#include <QVector>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <sqlite3.h>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace {

// The rows a grid of the hauls window shows at a time on a usual screen.
constexpr int kFilasPantalla = 40;
// The grid reads its rows in pages of this size (ModeloRegistros).
constexpr int kPaginaRejilla = 128;

struct Entorno {
    TDatos *datos = nullptr;     // ours
    sqlite3 *sql = nullptr;      // plain, on the same file
    QVector<QString> textos;     // what the search box holds after each keystroke
    QVector<QString> matriculas; // the tractors, most hauls first
};

Entorno g;

// ---------------------------------------------------------------------------------------------
// Setup

// A message box would wait for a user that is not there: any message stops the run.
class MensajesAbortan : public ServicioMensajes {
public:
    bool mostrar(TipoMensaje tipo, const QString &titulo, const QString &texto, Botones) override {
        // How "Recalcular todos" ends.
        if (tipo == TipoMensaje::Informacion &&
            texto == QLatin1String("El proceso ha finalizado correctamente."))
            return true;
        std::fprintf(stderr, "Mensaje inesperado: %s: %s\n", qPrintable(titulo), qPrintable(texto));
        std::exit(1);
    }
    std::optional<QString> pedirTexto(const QString &, const QString &pregunta,
                                      const QString &) override {
        std::fprintf(stderr, "Pregunta inesperada: %s\n", qPrintable(pregunta));
        std::exit(1);
    }
};

void ejecutar(const char *sql) {
    char *error = nullptr;
    if (sqlite3_exec(g.sql, sql, nullptr, nullptr, &error) != SQLITE_OK) {
        std::fprintf(stderr, "%s: %s\n", sql, error);
        sqlite3_free(error);
        std::exit(1);
    }
}

sqlite3_stmt *preparar(const char *sql) {
    sqlite3_stmt *st = nullptr;
    if (sqlite3_prepare_v2(g.sql, sql, -1, &st, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "%s: %s\n", sql, sqlite3_errmsg(g.sql));
        std::exit(1);
    }
    return st;
}

// The company as the program has it once the company is open: the shared tables open, the
// settings of the configuration file in the main window.
void abrir(const QString &carpeta, TFormMenuPrincipal &principal) {
    AjustesEmpresa &a = principal.ajustes;
    a.codigo = 1;
    a.nombre = QStringLiteral("EMPRESA GRANDE");
    a.moneda = QStringLiteral("€");
    a.inicio = QDate(2005, 1, 1);
    a.fin = QDate(2005, 12, 31);
    a.mostrarTotal = 1;
    a.mostrarFiltro = 1;
    a.mostrarBBEnVentanas = 1;
    a.mostrarBarrasDeBotones = 1;
    a.mostrarBarraDeEstado = 1;
    a.flat = 1;

    g.datos = new TDatos;
    g.datos->db->setPath(carpeta);
    g.datos->db->open();
    g.datos->abrirTablasCompartidas();

    const QByteArray fichero = QDir(carpeta).filePath(QStringLiteral("datos.db")).toUtf8();
    if (sqlite3_open_v2(fichero.constData(), &g.sql, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "No se puede abrir %s\n", fichero.constData());
        std::exit(1);
    }
    // The same settings as the store's connection.
    sqlite3_busy_timeout(g.sql, 5000);
    ejecutar("PRAGMA journal_mode=DELETE");
    ejecutar("PRAGMA synchronous=FULL");

    sqlite3_stmt *st =
        preparar("SELECT Matricula FROM portes GROUP BY Matricula ORDER BY COUNT(*) DESC, "
                 "Matricula");
    while (sqlite3_step(st) == SQLITE_ROW)
        g.matriculas << QString::fromUtf8(
            reinterpret_cast<const char *>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);

    // What the search box holds while a number is typed: the first 3 to 9 characters of an
    // existing haul number.
    QVector<QString> numeros;
    st = preparar("SELECT Numero FROM portes ORDER BY rowid");
    while (sqlite3_step(st) == SQLITE_ROW)
        numeros << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    if (numeros.isEmpty() || g.matriculas.isEmpty()) {
        std::fprintf(stderr, "La empresa no tiene portes.\n");
        std::exit(1);
    }
    QRandomGenerator azar(1);
    for (int i = 0; i < 1024; ++i)
        g.textos << numeros[azar.bounded(int(numeros.size()))].left(azar.bounded(3, 10));
}

// ---------------------------------------------------------------------------------------------
// Ours: the window as the program opens and uses it, minus the painting.

QTableView *rejilla(TFormPortes &v) {
    return v.findChild<QTableView *>(QStringLiteral("Rejilla"));
}

// What painting the grid asks of its model for the rows on screen, from the given row on.
void leerPantalla(TFormPortes &v, int desde) {
    QAbstractItemModel *m = rejilla(v)->model();
    const int hasta = std::min(desde + kFilasPantalla, m->rowCount());
    for (int f = std::max(desde, 0); f < hasta; ++f)
        for (int c = 0; c < m->columnCount(); ++c) {
            const QModelIndex i = m->index(f, c);
            benchmark::DoNotOptimize(m->data(i, Qt::DisplayRole));
            benchmark::DoNotOptimize(m->data(i, Qt::TextAlignmentRole));
        }
}

std::unique_ptr<TFormPortes> abrirVentana() {
    auto v = std::make_unique<TFormPortes>();
    v->preparar();
    leerPantalla(*v, 0);
    return v;
}

// One keystroke in the search box; the grid shows the record found in its first line.
void teclear(TFormPortes &v, const QString &texto) {
    v.buscarIncremental(texto);
    leerPantalla(v, rejilla(v)->currentIndex().row());
}

void filtrar(TFormPortes &v, const QString &matricula) {
    v.filtrarPorValor(QStringLiteral("Matricula"), matricula);
    leerPantalla(v, 0);
}

// Back to every haul, without the total of all of them.
void quitarFiltros(TFormPortes &v) {
    v.setMostrarTotal(false);
    v.quitarFiltros();
    v.setMostrarTotal(true);
    leerPantalla(v, 0);
}

// Keystrokes and filters made before measuring, so that the lists of the edit page have read
// every page of their tables they will show: neither side reads them again while measured.
constexpr int kTeclasPrevias = 64;

void prepararFiltros(TFormPortes &v) {
    v.setMostrarTotal(true);
    for (const QString &m : g.matriculas)
        v.filtrarPorValor(QStringLiteral("Matricula"), m);
    quitarFiltros(v);
    v.setAcumular(true);
}

// ---------------------------------------------------------------------------------------------
// Plain: the same reads as one-off statements.

const char *const kColumnasPortes = "rowid, ID, Numero, Fecha, Matricula, Transportista, Carga, "
                                    "Descarga, Precio, Facturado, Pagado, Reportado, Observaciones";

// The lookup lists of the window, by table: the order they show and the columns they read.
struct ListaPlana {
    const char *tabla;
    const char *clave;
    const char *columnas;
};
const ListaPlana kCamiones{"camiones", "Matricula", "rowid, Matricula, Tipo, Descripcion"};
const ListaPlana kClientes{"cliente", "Apellidos", "rowid, Apellidos, CIF"};
const ListaPlana kLugares{"Lugar", "Lugar", "rowid, Lugar"};

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

void enlazarTexto(sqlite3_stmt *st, int i, const std::string &texto) {
    sqlite3_bind_text(st, i, texto.data(), int(texto.size()), SQLITE_STATIC);
}

std::vector<sqlite3_int64> leerIds(const std::string &sql, const std::string *valor = nullptr) {
    sqlite3_stmt *st = preparar(sql.c_str());
    if (valor)
        enlazarTexto(st, 1, *valor);
    std::vector<sqlite3_int64> ids;
    while (sqlite3_step(st) == SQLITE_ROW)
        ids.push_back(sqlite3_column_int64(st, 0));
    sqlite3_finalize(st);
    return ids;
}

// The page of a list or grid that starts at `desde`: the records of those identities.
void leerPagina(const char *tabla, const char *columnas, const std::vector<sqlite3_int64> &ids,
                size_t desde) {
    const size_t n = std::min<size_t>(kPaginaRejilla, ids.size() - desde);
    if (n == 0)
        return;
    std::string sql = std::string("SELECT ") + columnas + " FROM " + tabla + " WHERE rowid IN (?";
    for (size_t i = 1; i < n; ++i)
        sql += ", ?";
    sql += ")";
    sqlite3_stmt *st = preparar(sql.c_str());
    for (size_t i = 0; i < n; ++i)
        sqlite3_bind_int64(st, int(i + 1), ids[desde + i]);
    while (sqlite3_step(st) == SQLITE_ROW)
        leerColumnas(st);
    sqlite3_finalize(st);
}

// The current haul: every field, with the values its lookup boxes show.
struct PortePlano {
    sqlite3_int64 rowid = 0;
    std::string numero;
    std::optional<std::string> transportista, matricula, carga, descarga;
};

std::optional<std::string> texto(sqlite3_stmt *st, int c) {
    if (sqlite3_column_type(st, c) == SQLITE_NULL)
        return std::nullopt;
    return std::string(reinterpret_cast<const char *>(sqlite3_column_text(st, c)),
                       size_t(sqlite3_column_bytes(st, c)));
}

// Steps once: the first haul of the statement.
PortePlano leerPorte(sqlite3_stmt *st) {
    PortePlano p;
    if (sqlite3_step(st) == SQLITE_ROW) {
        leerColumnas(st);
        p.rowid = sqlite3_column_int64(st, 0);
        p.numero = texto(st, 2).value_or(std::string());
        p.matricula = texto(st, 4);
        p.transportista = texto(st, 5);
        p.carga = texto(st, 6);
        p.descarga = texto(st, 7);
    }
    sqlite3_finalize(st);
    return p;
}

// The record of a lookup box: the first of its table with that key.
sqlite3_int64 buscarEnLista(const ListaPlana &l, const std::optional<std::string> &valor) {
    if (!valor)
        return 0;
    const std::string sql = std::string("SELECT rowid FROM ") + l.tabla + " WHERE " + l.clave +
                            " = ? ORDER BY rowid LIMIT 1";
    sqlite3_stmt *st = preparar(sql.c_str());
    enlazarTexto(st, 1, *valor);
    const sqlite3_int64 id = sqlite3_step(st) == SQLITE_ROW ? sqlite3_column_int64(st, 0) : 0;
    sqlite3_finalize(st);
    return id;
}

// A lookup list as the window keeps it: its records in order and the pages it has read.
struct ListaAbierta {
    const ListaPlana *lista = nullptr;
    std::vector<sqlite3_int64> ids;
    std::vector<bool> leidas;

    void abrir(const ListaPlana &l) {
        lista = &l;
        ids = leerIds(std::string("SELECT rowid FROM ") + l.tabla + " ORDER BY " + l.clave +
                      ", rowid");
        leidas.assign((ids.size() + kPaginaRejilla - 1) / kPaginaRejilla, false);
        mostrar(0);
    }
    void mostrar(size_t fila) {
        const size_t pagina = fila / kPaginaRejilla;
        if (pagina >= leidas.size() || leidas[pagina])
            return;
        leerPagina(lista->tabla, lista->columnas, ids, pagina * kPaginaRejilla);
        leidas[pagina] = true;
    }
    // The box shows the record of that key.
    void seleccionar(const std::optional<std::string> &valor) {
        const sqlite3_int64 id = buscarEnLista(*lista, valor);
        if (id == 0)
            return;
        const auto i = std::find(ids.begin(), ids.end(), id);
        if (i != ids.end())
            mostrar(size_t(i - ids.begin()));
    }
};

// The four lookup boxes of the edit page follow the current haul.
void seguirPorte(const PortePlano &p) {
    buscarEnLista(kClientes, p.transportista);
    buscarEnLista(kCamiones, p.matricula);
    buscarEnLista(kLugares, p.carga);
    buscarEnLista(kLugares, p.descarga);
}

// The hauls grid: every record's identity in order, and the pages it has read, forgotten all
// at once when more than 64 are kept (as ModeloRegistros does).
struct RejillaPlana {
    std::vector<sqlite3_int64> ids;
    std::unordered_map<sqlite3_int64, int> filas;
    std::unordered_set<int> paginas;

    void cargar(std::vector<sqlite3_int64> nuevos) {
        ids = std::move(nuevos);
        paginas.clear();
    }
    void indexar() {
        filas.clear();
        filas.reserve(ids.size());
        for (size_t i = 0; i < ids.size(); ++i)
            filas.emplace(ids[i], int(i));
    }
    void mostrar(int desde) {
        const int hasta = std::min<int>(desde + kFilasPantalla, int(ids.size()));
        for (int f = std::max(desde, 0); f < hasta; f = (f / kPaginaRejilla + 1) * kPaginaRejilla) {
            const int pagina = f / kPaginaRejilla;
            if (paginas.count(pagina))
                continue;
            if (paginas.size() > 64)
                paginas.clear();
            leerPagina("portes", kColumnasPortes, ids, size_t(pagina) * kPaginaRejilla);
            paginas.insert(pagina);
        }
    }
};

const char *const kTodosEnOrden = "SELECT rowid FROM portes ORDER BY Numero, rowid";

RejillaPlana abrirPlano() {
    sqlite3_stmt *st = preparar("SELECT COUNT(*) FROM portes");
    if (sqlite3_step(st) == SQLITE_ROW)
        benchmark::DoNotOptimize(sqlite3_column_int64(st, 0));
    sqlite3_finalize(st);

    st = preparar(
        (std::string("SELECT ") + kColumnasPortes + " FROM portes ORDER BY Numero, rowid").c_str());
    const PortePlano actual = leerPorte(st);

    RejillaPlana r;
    r.cargar(leerIds(kTodosEnOrden));
    r.mostrar(0);

    ListaAbierta camiones, clientes, lugares;
    camiones.abrir(kCamiones);
    clientes.abrir(kClientes);
    lugares.abrir(kLugares);
    clientes.seleccionar(actual.transportista);
    camiones.seleccionar(actual.matricula);
    lugares.seleccionar(actual.carga);
    lugares.seleccionar(actual.descarga);
    return r;
}

void teclearPlano(RejillaPlana &r, const std::string &texto) {
    sqlite3_stmt *st = preparar((std::string("SELECT ") + kColumnasPortes +
                                 " FROM portes WHERE Numero >= ? ORDER BY Numero, rowid LIMIT 1")
                                    .c_str());
    enlazarTexto(st, 1, texto);
    const PortePlano p = leerPorte(st);

    // Its position, as "n/m" shows it.
    st = preparar("SELECT COUNT(*) FROM portes WHERE (Numero, rowid) < (?, ?)");
    enlazarTexto(st, 1, p.numero);
    sqlite3_bind_int64(st, 2, p.rowid);
    if (sqlite3_step(st) == SQLITE_ROW)
        benchmark::DoNotOptimize(sqlite3_column_int64(st, 0));
    sqlite3_finalize(st);

    seguirPorte(p);
    const auto f = r.filas.find(p.rowid);
    r.mostrar(f == r.filas.end() ? 0 : f->second);
}

void filtrarPlano(RejillaPlana &r, const std::string &matricula) {
    sqlite3_stmt *st = preparar((std::string("SELECT ") + kColumnasPortes +
                                 " FROM portes WHERE Matricula = ? ORDER BY Numero, rowid")
                                    .c_str());
    enlazarTexto(st, 1, matricula);
    const PortePlano p = leerPorte(st);
    seguirPorte(p);

    r.cargar(
        leerIds("SELECT rowid FROM portes WHERE Matricula = ? ORDER BY Numero, rowid", &matricula));
    r.mostrar(0);

    // The total panel; its count is also the record count of the position.
    st = preparar("SELECT COUNT(*), TOTAL(Precio) FROM portes WHERE Matricula = ?");
    enlazarTexto(st, 1, matricula);
    if (sqlite3_step(st) == SQLITE_ROW) {
        benchmark::DoNotOptimize(sqlite3_column_int64(st, 0));
        benchmark::DoNotOptimize(sqlite3_column_double(st, 1));
    }
    sqlite3_finalize(st);
}

// ---------------------------------------------------------------------------------------------
// 1. Opening the hauls window and showing its first screen.

void AbrirVentana_Store(benchmark::State &state) {
    for (auto _ : state)
        abrirVentana();
}

void AbrirVentana_SQL(benchmark::State &state) {
    for (auto _ : state)
        abrirPlano();
}

// 2. One keystroke in the search box of the open window.

void BuscarTecla_Store(benchmark::State &state) {
    const auto v = abrirVentana();
    int i = 0;
    for (; i < kTeclasPrevias; ++i)
        teclear(*v, g.textos[i]);
    for (auto _ : state)
        teclear(*v, g.textos[i++ & 1023]);
}

void BuscarTecla_SQL(benchmark::State &state) {
    std::vector<std::string> textos;
    for (const QString &t : g.textos)
        textos.push_back(t.toStdString());
    // What the open window already holds: its grid's identities and first page.
    RejillaPlana r;
    r.cargar(leerIds(kTodosEnOrden));
    r.indexar();
    r.mostrar(0);
    int i = 0;
    for (; i < kTeclasPrevias; ++i)
        teclearPlano(r, textos[size_t(i)]);
    for (auto _ : state)
        teclearPlano(r, textos[size_t(i++ & 1023)]);
}

// 3. A filter on one truck with "Mostrar total" ticked; the filter is taken off again outside
// the measure.

void FiltrarTotal_Store(benchmark::State &state) {
    const auto v = abrirVentana();
    prepararFiltros(*v);
    size_t i = 0;
    for (auto _ : state) {
        filtrar(*v, g.matriculas[int(i++ % size_t(g.matriculas.size()))]);
        state.PauseTiming();
        quitarFiltros(*v);
        state.ResumeTiming();
    }
}

void FiltrarTotal_SQL(benchmark::State &state) {
    std::vector<std::string> matriculas;
    for (const QString &m : g.matriculas)
        matriculas.push_back(m.toStdString());
    RejillaPlana r;
    size_t i = 0;
    for (auto _ : state)
        filtrarPlano(r, matriculas[i++ % matriculas.size()]);
}

// ---------------------------------------------------------------------------------------------
// The statements a piece of work runs on our connection, to document and check what the plain
// side mirrors (--trazar).

class Traza {
public:
    explicit Traza(sqlite3 *db) : m_db(db) {
        sqlite3_trace_v2(db, SQLITE_TRACE_STMT | SQLITE_TRACE_ROW, &Traza::avisar, this);
    }
    ~Traza() { sqlite3_trace_v2(m_db, 0, nullptr, nullptr); }

    void imprimir(const QString &titulo) {
        std::printf("\n%s\n", qPrintable(titulo));
        for (const Sentencia &s : m_sentencias)
            std::printf("  %7d filas  %s\n", s.filas, s.sql.constData());
        olvidar();
    }
    void olvidar() {
        m_sentencias.clear();
        m_indice.clear();
    }

private:
    struct Sentencia {
        QByteArray sql;
        int filas = 0;
    };

    static int avisar(unsigned tipo, void *yo, void *p, void *) {
        auto *t = static_cast<Traza *>(yo);
        auto *st = static_cast<sqlite3_stmt *>(p);
        if (tipo == SQLITE_TRACE_STMT) {
            QByteArray sql = QByteArray(sqlite3_sql(st)).simplified();
            if (sql.size() > 150)
                sql = sql.left(147) + "...";
            t->m_indice[st] = int(t->m_sentencias.size());
            t->m_sentencias.push_back({sql});
        } else if (const auto i = t->m_indice.find(st); i != t->m_indice.end()) {
            ++t->m_sentencias[size_t(i->second)].filas;
        }
        return 0;
    }

    sqlite3 *m_db;
    std::vector<Sentencia> m_sentencias;
    std::map<sqlite3_stmt *, int> m_indice;
};

void trazar() {
    // The first opening orders the shared clients cursor by name; the ones after it, which are
    // what is measured, find it ordered.
    abrirVentana();
    Traza propia(g.datos->db->handle());
    Traza plana(g.sql);
    auto v = std::make_unique<TFormPortes>();
    v->preparar();
    leerPantalla(*v, 0);
    propia.imprimir(QStringLiteral("Abrir la ventana: %1").arg(v->posicion()));
    v.reset();
    abrirPlano();
    plana.imprimir(QStringLiteral("Abrir, SQL"));

    v = abrirVentana();
    RejillaPlana r;
    r.cargar(leerIds(kTodosEnOrden));
    r.indexar();
    r.mostrar(0);
    int i = 0;
    for (; i < kTeclasPrevias; ++i) {
        teclear(*v, g.textos[i]);
        teclearPlano(r, g.textos[i].toStdString());
    }
    propia.olvidar();
    plana.olvidar();
    for (const int fin = i + 3; i < fin; ++i) {
        teclear(*v, g.textos[i]);
        propia.imprimir(QStringLiteral("Tecla \"%1\": %2, fila %3 de la rejilla")
                            .arg(g.textos[i], v->posicion())
                            .arg(rejilla(*v)->currentIndex().row() + 1));
        teclearPlano(r, g.textos[i].toStdString());
        plana.imprimir(QStringLiteral("Tecla, SQL"));
    }
    v.reset();

    v = abrirVentana();
    prepararFiltros(*v);
    propia.olvidar();
    for (int m = 0; m < 2; ++m) {
        filtrar(*v, g.matriculas[m]);
        propia.imprimir(
            QStringLiteral("Filtro %1: %2, total %3 %4")
                .arg(v->textoFiltro(), v->posicion(), v->textoNumero(), v->textoImporte()));
        quitarFiltros(*v);
        propia.imprimir(QStringLiteral("Quitar filtros (sin medir)"));
        filtrarPlano(r, g.matriculas[m].toStdString());
        plana.imprimir(QStringLiteral("Filtro, SQL"));
    }
    v.reset();
    propia.imprimir(QStringLiteral("Cerrar"));
}

// ---------------------------------------------------------------------------------------------
// 4. "Recalcular todos" in the trips window, against one statement that computes and stores the
// same fields of every trip.

const char *const kRecalcularPlano = R"(
WITH x AS MATERIALIZED (
  SELECT v.rowid AS id,
    CASE WHEN COALESCE(v.NumDias, 0) <> 0 THEN v.NumDias
         ELSE MAX(1, CAST(julianday(v.FechaLlegada) - julianday(v.FechaSalida) AS INTEGER))
    END AS d,
    CASE WHEN COALESCE(v.KmtTotales, 0) <> 0 THEN v.KmtTotales
         ELSE ABS(COALESCE(v.Kmllegada, 0) - COALESCE(v.Kmsalida, 0)) END AS k,
    COALESCE(c.PtsKm, 0) AS p,
    COALESCE(c.SueldoBase, 0) AS s,
    (SELECT TOTAL(Importe) FROM gasautop g WHERE g.NumViaje = v.NumViaje) AS a,
    (SELECT TOTAL(CASE WHEN (Importe IS NULL OR Importe = 0) AND Precio <> 0 AND Litros <> 0
                  THEN Litros * Precio ELSE Importe END)
       FROM gascombu g WHERE g.NumViaje = v.NumViaje) AS c,
    (SELECT TOTAL(Litros) FROM gascombu g WHERE g.NumViaje = v.NumViaje) AS l,
    (SELECT TOTAL(Importe) FROM gasviaje g WHERE g.NumViaje = v.NumViaje) AS o,
    CASE WHEN TRIM(REPLACE(REPLACE(COALESCE(v.NumPorte, ''), '/', ''), '_', '')) = '' THEN 0
         ELSE (SELECT TOTAL(Precio) FROM portes p WHERE p.Numero = v.NumPorte)
            + (SELECT TOTAL(Precio) FROM reportes r WHERE r.Numero = v.NumPorte) END AS i
  FROM viaje v LEFT JOIN Camioner c ON c.CIF = v.CondCIF AND COALESCE(v.CondCIF, '') <> ''
  WHERE v.FechaSalida IS NOT NULL AND v.FechaLlegada IS NOT NULL
    AND v.FechaSalida <= v.FechaLlegada),
y AS MATERIALIZED (
  SELECT *, p * k + a + o + d * s / 30 + c AS g FROM x)
UPDATE viaje SET NumDias = y.d, KmtTotales = y.k, TotalGastos = y.g, TotalIngresos = y.i,
  Beneficios = y.i - y.g, TotalOtrosGastos = y.o, TotalAutopista = y.a, TotalCombustible = y.c,
  TotalCosteCamionero = ROUND(y.p * y.k + y.d * y.s / 30, 2),
  Consumo = ROUND(CASE WHEN y.l <> 0 AND y.k <> 0 THEN y.l * 100 / y.k ELSE 0 END, 2),
  PtaLitro = ROUND(CASE WHEN y.l <> 0 AND y.c <> 0 THEN y.c / y.l ELSE 0 END, 2),
  TotalLitros = ROUND(y.l, 2),
  PorcentajeBeneficio = ROUND(CASE WHEN y.i <> 0 THEN (y.i - y.g) * 100 / y.i ELSE 0 END, 2),
  PrecioKm = ROUND(CASE WHEN y.k > 0 AND y.i > 0 THEN y.i / y.k ELSE 0 END, 2)
FROM y WHERE viaje.rowid = y.id
)";

const char *const kCamposResultado =
    "NumDias, KmtTotales, TotalGastos, TotalIngresos, Beneficios, TotalOtrosGastos, "
    "TotalAutopista, TotalCombustible, TotalCosteCamionero, Consumo, PtaLitro, TotalLitros, "
    "PorcentajeBeneficio, PrecioKm";

std::unique_ptr<TFormViajes> abrirViajes() {
    auto v = std::make_unique<TFormViajes>();
    v->preparar();
    return v;
}

// On the company's own connection: the window's cursors keep their read statements open, so a
// second connection could not commit.
void recalcularPlano() {
    sqlite3 *propia = g.sql;
    g.sql = g.datos->db->handle();
    ejecutar("BEGIN");
    ejecutar(kRecalcularPlano);
    ejecutar("COMMIT");
    g.sql = propia;
}

void RecalcularTodos_Store(benchmark::State &state) {
    TFormI progreso;
    const auto v = abrirViajes();
    for (auto _ : state)
        v->recalcularTodos();
}

void RecalcularTodos_SQL(benchmark::State &state) {
    for (auto _ : state)
        recalcularPlano();
}

// Both sides must store the same results: ours first (it also aligns the cost lines), then
// plain over a copy of what ours stored. Prints how many trips differ in any field by more
// than a rounding of the last cent.
void compararRecalculo() {
    {
        TFormI progreso;
        abrirViajes()->recalcularTodos();
    }
    ejecutar("ATTACH ':memory:' AS propio");
    ejecutar((std::string("CREATE TABLE propio.viaje AS SELECT rowid AS id, ") + kCamposResultado +
              " FROM main.viaje")
                 .c_str());
    recalcularPlano();
    std::string distintos;
    for (const char *c :
         {"NumDias", "KmtTotales", "TotalGastos", "TotalIngresos", "Beneficios", "TotalOtrosGastos",
          "TotalAutopista", "TotalCombustible", "TotalCosteCamionero", "Consumo", "PtaLitro",
          "TotalLitros", "PorcentajeBeneficio", "PrecioKm"})
        distintos += std::string(distintos.empty() ? "" : " OR ") + "ABS(v." + c + " - p." + c +
                     ") > 0.0100001";
    sqlite3_stmt *st = preparar(("SELECT COUNT(*), SUM(" + distintos +
                                 ") FROM main.viaje v JOIN propio.viaje p ON p.id = v.rowid")
                                    .c_str());
    if (sqlite3_step(st) == SQLITE_ROW)
        std::printf("Recalcular todos: %lld viajes, %lld con algún resultado distinto en los dos "
                    "lados\n",
                    sqlite3_column_int64(st, 0), sqlite3_column_int64(st, 1));
    sqlite3_finalize(st);
    ejecutar("DETACH propio");
}

// ---------------------------------------------------------------------------------------------

const std::vector<Comparacion::Par> kPares = {
    {"AbrirVentana", "Abrir la ventana de portes", AbrirVentana_Store, AbrirVentana_SQL},
    {"BuscarTecla", "Una tecla en la búsqueda", BuscarTecla_Store, BuscarTecla_SQL},
    {"FiltrarTotal", "Filtro por matrícula con total", FiltrarTotal_Store, FiltrarTotal_SQL},
    // One run of a whole recalculation is long enough to measure.
    {"RecalcularTodos", "Recalcular todos los viajes", RecalcularTodos_Store, RecalcularTodos_SQL,
     true},
};

bool esTraza(const char *a) {
    return std::strcmp(a, "--trazar") == 0;
}

} // namespace

int main(int argc, char **argv) {
    // The windows are built and measured without a screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Other work shares the machine: unless told otherwise, repeat every benchmark in random
    // order so that a slow moment does not fall on one side of a pair.
    std::vector<char *> args = Comparacion::argumentos(argc, argv);
    const bool soloTraza = std::any_of(args.begin(), args.end(), esTraza);
    args.erase(std::remove_if(args.begin(), args.end(), esTraza), args.end());
    int n = int(args.size());
    benchmark::Initialize(&n, args.data());
    if (benchmark::ReportUnrecognizedArguments(n, args.data()))
        return 1;
    QApplication app(n, args.data());
    MensajesAbortan mensajes;
    ServicioMensajes::instalar(&mensajes);
    // The grid widths are read from the configuration file of an empty program folder.
    QTemporaryDir programa;
    Programa::fijarCarpeta(programa.path());
    TFormMenuPrincipal principal;
    try {
        const QString carpeta = Comparacion::carpetaDatos();
        Comparacion::prepararDatos(carpeta);
        abrir(carpeta, principal);
        if (soloTraza) {
            trazar();
        } else {
            std::printf("Empresa: %s\n", qPrintable(carpeta));
            compararRecalculo();
            Comparacion::ejecutar(kPares);
        }
    } catch (const StoreError &e) {
        std::fprintf(stderr, "Error: %s\n", e.what());
        return 1;
    }
    benchmark::Shutdown();
    ServicioMensajes::instalar(nullptr);
    sqlite3_close(g.sql);
    delete g.datos;
    return 0;
}
