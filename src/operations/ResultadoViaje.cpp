#include "operations/ResultadoViaje.h"

#include "common/Formato.h"
#include "store/Connection.h"
#include "store/Dates.h"
#include "store/Statement.h"
#include "store/StoreError.h"
#include "store/TDatos.h"
#include "store/Transaction.h"

#include <QDate>
#include <QVariant>
#include <cmath>
#include <vector>

namespace {

// What the result needs of one trip, with its driver's rates and its income.
struct Viaje {
    qint64 fila = 0;
    QString numViaje;
    QVariant tractor; // null when the trip has no tractor plate
    QDate salida;
    QDate llegada;
    int numDias = 0;
    double kmSalida = 0;
    double kmLlegada = 0;
    double kmtTotales = 0;
    double ptsKm = 0;
    double sueldoBase = 0;
    double ingresos = 0;
};

// One trip's lines of one cost table, summed in the store.
struct Lineas {
    double importe = 0;
    double litros = 0;
    int pendientes = 0; // lines to write: misaligned, or fuel lines still without amount
};

// The plate, month and year every cost line of a trip carries.
struct Destino {
    QVariant matricula;
    int mes = 0;
    int ano = 0;
};

// Both sides of a plate comparison treat an empty text as no plate.
const QString kDesalineada =
    QStringLiteral("(NULLIF(Matricula, '') IS DISTINCT FROM :matricula OR Mes IS DISTINCT FROM "
                   ":mes OR Ano IS DISTINCT FROM :ano)");
const QString kSinImporte =
    QStringLiteral("((Importe IS NULL OR Importe = 0) AND Precio <> 0 AND Litros <> 0)");

const QString kLeerViaje = QStringLiteral(
    "SELECT v.NumViaje, v.MatricTractor, v.FechaSalida, v.FechaLlegada, v.NumDias, v.Kmsalida, "
    "v.Kmllegada, v.KmtTotales, v.NumPorte, v.CondCIF, c.PtsKm, c.SueldoBase, "
    "(SELECT COALESCE(SUM(Precio), 0) FROM portes WHERE Numero = v.NumPorte), "
    "(SELECT COALESCE(SUM(Precio), 0) FROM reportes WHERE Numero = v.NumPorte) "
    "FROM viaje v LEFT JOIN Camioner c ON c.CIF = v.CondCIF WHERE v.rowid = :fila");

// A number box left empty under the mask "000000/00" still holds its slash.
bool sinNumero(const QString &numero) {
    return QString(numero).remove(QLatin1Char('/')).remove(QLatin1Char('_')).trimmed().isEmpty();
}

Viaje leerViaje(Connection &db, qint64 fila) {
    Statement &st = db.cached(kLeerViaje);
    st.bind(QStringLiteral(":fila"), fila);
    if (!st.step())
        throw StoreError(StoreError::NotFound, QStringLiteral("No existe el viaje."));
    Viaje v;
    v.fila = fila;
    v.numViaje = st.column(0).toString();
    const QString tractor = st.column(1).toString();
    if (!tractor.isEmpty())
        v.tractor = tractor;
    v.salida = st.columnAs(2, FieldType::Date).toDate();
    v.llegada = st.columnAs(3, FieldType::Date).toDate();
    v.numDias = int(st.columnInt64(4));
    v.kmSalida = st.columnDouble(5);
    v.kmLlegada = st.columnDouble(6);
    v.kmtTotales = st.columnDouble(7);
    if (!sinNumero(st.column(8).toString()))
        v.ingresos = st.columnDouble(12) + st.columnDouble(13);
    if (!st.column(9).toString().isEmpty()) {
        v.ptsKm = st.columnDouble(10);
        v.sueldoBase = st.columnDouble(11);
    }
    st.reset();
    return v;
}

CalculoViaje comprobarFechas(const Viaje &v) {
    CalculoViaje r;
    if (!v.salida.isValid()) {
        r.fallo = CalculoViaje::SinFechaSalida;
        r.mensaje = QStringLiteral("Debe introducir la fecha de salida.");
        r.foco = QStringLiteral("FechaSalida");
    } else if (!v.llegada.isValid()) {
        r.fallo = CalculoViaje::SinFechaLlegada;
        r.mensaje = QStringLiteral("Debe introducir la fecha de llegada.");
        r.foco = QStringLiteral("FechaLlegada");
    } else if (v.salida > v.llegada) {
        r.fallo = CalculoViaje::SalidaPosterior;
        r.mensaje = QStringLiteral("La fecha de salida [") + Dates::shortText(v.salida) +
                    QStringLiteral("] debe ser menor que la fecha de llegada [") +
                    Dates::shortText(v.llegada) + QStringLiteral("].");
        r.foco = QStringLiteral("FechaSalida");
    }
    return r;
}

// A cost table and the statements that sum and align a trip's lines in it.
class Costes {
public:
    Costes(const QString &tabla, bool combustible) : m_tabla(tabla) {
        const QString pendiente = combustible
                                      ? QStringLiteral("(%1 OR %2)").arg(kSinImporte, kDesalineada)
                                      : kDesalineada;
        const QString importe =
            combustible ? QStringLiteral("CASE WHEN %1 THEN Litros * Precio ELSE Importe END")
                              .arg(kSinImporte)
                        : QStringLiteral("Importe");
        m_sumar = QStringLiteral("SELECT COALESCE(SUM(%1), 0), COALESCE(SUM(%2), 0), "
                                 "COALESCE(SUM(CASE WHEN %3 THEN 1 ELSE 0 END), 0) "
                                 "FROM %4 WHERE NumViaje = :viaje")
                      .arg(importe, combustible ? QStringLiteral("Litros") : QStringLiteral("0"),
                           pendiente, tabla);
        const QString rellenar =
            combustible ? QStringLiteral("Importe = %1, ").arg(importe) : QString();
        m_alinear = QStringLiteral("UPDATE %1 SET %2Matricula = :matricula, Mes = :mes, "
                                   "Ano = :ano WHERE NumViaje = :viaje AND %3")
                        .arg(tabla, rellenar, pendiente);
    }

    QString tabla() const { return m_tabla; }

    // Sums as the lines will be once written: a fuel line without amount counts litres × price.
    Lineas sumar(Connection &db, const QString &viaje, const Destino &d) const {
        Statement &st = db.cached(m_sumar);
        enlazar(st, viaje, d);
        Lineas l;
        if (st.step()) {
            l.importe = st.columnDouble(0);
            l.litros = st.columnDouble(1);
            l.pendientes = int(st.columnInt64(2));
        }
        st.reset();
        return l;
    }

    void alinear(Connection &db, const QString &viaje, const Destino &d) const {
        Statement &st = db.cached(m_alinear);
        enlazar(st, viaje, d);
        st.exec();
        st.reset();
    }

private:
    static void enlazar(Statement &st, const QString &viaje, const Destino &d) {
        st.bind(QStringLiteral(":viaje"), viaje);
        st.bind(QStringLiteral(":matricula"), d.matricula);
        st.bind(QStringLiteral(":mes"), d.mes);
        st.bind(QStringLiteral(":ano"), d.ano);
    }

    QString m_tabla;
    QString m_sumar;
    QString m_alinear;
};

const Costes &autopistas() {
    static const Costes c(QStringLiteral("gasautop"), false);
    return c;
}
const Costes &combustible() {
    static const Costes c(QStringLiteral("gascombu"), true);
    return c;
}
const Costes &otrosGastos() {
    static const Costes c(QStringLiteral("gasviaje"), false);
    return c;
}

CalculoViaje resultado(const Viaje &v, const Lineas &autopista, const Lineas &gasoil,
                       const Lineas &otros) {
    const double a = autopista.importe;
    const double c = gasoil.importe;
    const double l = gasoil.litros;
    const double o = otros.importe;
    const double p = v.ptsKm;
    const double s = v.sueldoBase;

    int d = v.numDias;
    if (d == 0) {
        d = int(v.salida.daysTo(v.llegada));
        if (d == 0)
            d = 1;
    }
    const double k = v.kmtTotales != 0 ? v.kmtTotales : std::fabs(v.kmLlegada - v.kmSalida);

    CalculoViaje r;
    r.numDias = d;
    r.kmtTotales = k;
    r.totalGastos = p * k + a + o + d * s / 30 + c;
    r.totalIngresos = v.ingresos;
    r.beneficios = r.totalIngresos - r.totalGastos;
    r.totalOtrosGastos = o;
    r.totalAutopista = a;
    r.totalCombustible = c;
    r.totalCosteCamionero = Formato::round2(p * k + d * s / 30);
    r.consumo = Formato::round2(l != 0 && k != 0 ? l * 100 / k : 0);
    r.ptaLitro = Formato::round2(l != 0 && c != 0 ? c / l : 0);
    r.totalLitros = Formato::round2(l);
    r.porcentajeBeneficio =
        Formato::round2(r.totalIngresos != 0 ? r.beneficios * 100 / r.totalIngresos : 0);
    r.precioKm = Formato::round2(k > 0 && r.totalIngresos > 0 ? r.totalIngresos / k : 0);
    return r;
}

void guardarViaje(Connection &db, qint64 fila, const CalculoViaje &r) {
    Statement &st = db.cached(QStringLiteral(
        "UPDATE viaje SET NumDias = ?, KmtTotales = ?, Beneficios = ?, TotalGastos = ?, "
        "TotalOtrosGastos = ?, TotalIngresos = ?, TotalAutopista = ?, TotalCombustible = ?, "
        "TotalCosteCamionero = ?, Consumo = ?, PtaLitro = ?, TotalLitros = ?, "
        "PorcentajeBeneficio = ?, PrecioKm = ? WHERE rowid = ?"));
    st.bindAll({r.numDias, r.kmtTotales, r.beneficios, r.totalGastos, r.totalOtrosGastos,
                r.totalIngresos, r.totalAutopista, r.totalCombustible, r.totalCosteCamionero,
                r.consumo, r.ptaLitro, r.totalLitros, r.porcentajeBeneficio, r.precioKm, fila});
    st.exec();
    st.reset();
}

// A trip whose dates passed the checks: its lines and its results, written inside the caller's
// transaction.
CalculoViaje calcularYGuardar(Connection &db, const Viaje &v) {
    const Destino destino{v.tractor, v.llegada.month(), v.llegada.year()};
    const Costes *tablas[] = {&autopistas(), &combustible(), &otrosGastos()};
    Lineas lineas[3];
    for (int i = 0; i < 3; ++i) {
        lineas[i] = tablas[i]->sumar(db, v.numViaje, destino);
        if (lineas[i].pendientes > 0)
            tablas[i]->alinear(db, v.numViaje, destino);
    }
    const CalculoViaje r = resultado(v, lineas[0], lineas[1], lineas[2]);
    guardarViaje(db, v.fila, r);
    return r;
}

// Cursors on these tables read again at their next move.
void avisarCambios(Connection &db) {
    db.touch(QStringLiteral("viaje"));
    for (const Costes *c : {&autopistas(), &combustible(), &otrosGastos()})
        db.touch(c->tabla());
}

} // namespace

ResultadoViaje::ResultadoViaje(TDatos &datos) : m_db(*datos.db) {}

CalculoViaje ResultadoViaje::calcular(const QString &numViaje) {
    Statement &st = m_db.cached(QStringLiteral("SELECT rowid FROM viaje WHERE NumViaje = ?"));
    st.bind(1, numViaje);
    if (!st.step())
        throw StoreError(StoreError::NotFound,
                         QStringLiteral("No existe el viaje %1.").arg(numViaje));
    const qint64 fila = st.columnInt64(0);
    st.reset();
    return calcularFila(fila);
}

CalculoViaje ResultadoViaje::calcularFila(qint64 rowid) {
    const Viaje v = leerViaje(m_db, rowid);
    CalculoViaje r = comprobarFechas(v);
    if (!r.correcto())
        return r;
    Transaction tx(m_db);
    r = calcularYGuardar(m_db, v);
    tx.commit();
    avisarCambios(m_db);
    return r;
}

RecalcularViajes::RecalcularViajes(TDatos &datos) : m_db(*datos.db) {}

RecalcularViajes::Resumen RecalcularViajes::ejecutar() {
    std::vector<qint64> filas;
    {
        Statement &st =
            m_db.cached(QStringLiteral("SELECT rowid FROM viaje ORDER BY NumViaje, rowid"));
        while (st.step())
            filas.push_back(st.columnInt64(0));
        st.reset();
    }
    Resumen resumen;
    resumen.total = int(filas.size());
    Transaction tx(m_db);
    for (int i = 0; i < resumen.total; ++i) {
        if (progreso)
            progreso(i + 1, resumen.total);
        const Viaje v = leerViaje(m_db, filas[size_t(i)]);
        const CalculoViaje fechas = comprobarFechas(v);
        if (!fechas.correcto()) {
            resumen.fallos.append({v.numViaje, fechas.mensaje});
            if (alFallar)
                alFallar(v.numViaje, fechas.mensaje);
            continue;
        }
        calcularYGuardar(m_db, v);
        ++resumen.calculados;
    }
    tx.commit();
    avisarCambios(m_db);
    return resumen;
}
