#include "invoicing/CalculoFactura.h"

#include "common/Formato.h"
#include "store/Connection.h"
#include "store/Statement.h"
#include "store/StoreError.h"
#include "store/Table.h"
#include "store/Transaction.h"

#include <QVariant>
#include <optional>
#include <vector>

namespace {

// The letters a to z in capitals; accented letters and "ñ" keep their case.
QString mayusculasAscii(QString texto) {
    for (QChar &c : texto)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
            c = QChar(c.unicode() - 'a' + 'A');
    return texto;
}

// A number written without decimals, as the warnings name a haul or report.
QString entero(double v) {
    return QString::number(qint64(v));
}

struct Linea {
    qint64 fila = 0;
    QVariant porte;   // IDPorte, null when the line names no haul
    QVariant reporte; // IDReporte
};

struct Origen {
    QString cliente;
    QString carga;
    QString descarga;
    double precio = 0;
    QVariant fecha;
    QVariant numero;
};

// The first value of a one-column query, or null.
QVariant primero(Connection &db, const QString &sql, const QVariant &valor) {
    Statement &st = db.cached(sql);
    st.bind(1, valor);
    QVariant v;
    if (st.step())
        v = st.column(0);
    st.reset();
    return v;
}

std::optional<Origen> leerOrigen(Connection &db, const QString &tabla, const QString &clave,
                                 const QVariant &id) {
    Statement &st = db.cached(
        QStringLiteral("SELECT Transportista, Carga, Descarga, Precio, Fecha, Numero FROM %1 "
                       "WHERE %2 = ? ORDER BY rowid LIMIT 1")
            .arg(tabla, clave));
    st.bind(1, id);
    std::optional<Origen> o;
    if (st.step()) {
        o = Origen{st.column(0).toString(),
                   st.column(1).toString(),
                   st.column(2).toString(),
                   st.columnDouble(3),
                   st.column(4),
                   st.column(5)};
    }
    st.reset();
    return o;
}

void escribirLinea(Connection &db, qint64 fila, const QVariant &concepto, double precio,
                   const QVariant &fecha, const QVariant &numero) {
    Statement &st = db.cached(QStringLiteral(
        "UPDATE detalle SET Concepto = ?, Precio = ?, Cantidad = 1, Importe = ?, Fecha = ?, "
        "NumPorte = ? WHERE rowid = ?"));
    st.bindAll({concepto, precio, precio, fecha, numero, fila});
    st.exec();
    st.reset();
}

// A line whose haul or report no longer exists.
void vaciarLinea(Connection &db, qint64 fila, const QDate &hoy) {
    escribirLinea(db, fila, QVariant(), 0.0, Statement::toStorage(hoy), QVariant());
}

void marcar(Connection &db, const QString &tabla, const QString &clave, const QString &campo,
            const QVariant &id) {
    Statement &st =
        db.cached(QStringLiteral("UPDATE %1 SET %2 = 'Sí' WHERE %3 = ?").arg(tabla, campo, clave));
    st.bind(1, id);
    st.exec();
    st.reset();
}

QString aviso(const QString &inicio, const QVariant &id, const QString &suCliente,
              const QString &cliente) {
    return inicio + QStringLiteral("\r\r[") + entero(id.toDouble()) + QStringLiteral("] -> [") +
           suCliente + QStringLiteral("]\r\rno coincide con el cliente de la factura: \r\r[") +
           cliente + QStringLiteral("].");
}

std::vector<Linea> leerLineas(Connection &db, const QString &numFactura) {
    Statement &st = db.cached(QStringLiteral(
        "SELECT rowid, IDPorte, IDReporte FROM detalle WHERE NumFactura = ? ORDER BY rowid"));
    st.bind(1, numFactura);
    std::vector<Linea> lineas;
    while (st.step())
        lineas.push_back({st.columnInt64(0), st.column(1), st.column(2)});
    st.reset();
    return lineas;
}

} // namespace

ResultadoFactura CalculoFactura::calcular(const QString &numFactura, const QString &cliente,
                                          const QDate &hoy) {
    Statement &cab = m_db.cached(QStringLiteral(
        "SELECT rowid, Dto, Iva, Cambio, Acuenta, Retencion FROM facturas WHERE NumFactura = ?"));
    cab.bind(1, numFactura);
    if (!cab.step()) {
        cab.reset();
        throw StoreError(StoreError::NotFound,
                         QStringLiteral("No existe la factura %1.").arg(numFactura));
    }
    const qint64 filaFactura = cab.columnInt64(0);
    const double dto = cab.columnDouble(1);
    const QVariant ivaGuardado = cab.column(2);
    const double cambio = cab.columnDouble(3);
    const QVariant cambioGuardado = cab.column(3);
    const double acuenta = cab.columnDouble(4);
    const double retencion = cab.columnDouble(5);
    cab.reset();

    ResultadoFactura r;
    Transaction tx(m_db);
    for (const Linea &l : leerLineas(m_db, numFactura)) {
        if (!l.porte.isNull()) {
            const QString matricula =
                primero(m_db,
                        QStringLiteral("SELECT MatricRemolque FROM viaje WHERE NumeroPorte = ? "
                                       "ORDER BY NumViaje, rowid LIMIT 1"),
                        l.porte)
                    .toString();
            const std::optional<Origen> p =
                leerOrigen(m_db, QStringLiteral("portes"), QStringLiteral("ID"), l.porte);
            if (!p) {
                vaciarLinea(m_db, l.fila, hoy);
            } else {
                if (p->cliente != cliente)
                    r.avisos << aviso(QStringLiteral("Atención: el cliente del porte: "), l.porte,
                                      p->cliente, cliente);
                escribirLinea(m_db, l.fila,
                              QString(QStringLiteral("PORTE DESDE ") + mayusculasAscii(p->carga) +
                                      QStringLiteral(" HASTA ") + mayusculasAscii(p->descarga) +
                                      QStringLiteral(" - ") + matricula),
                              p->precio, p->fecha, p->numero);
                marcar(m_db, QStringLiteral("portes"), QStringLiteral("ID"),
                       QStringLiteral("Facturado"), l.porte);
            }
        }
        if (!l.reporte.isNull()) {
            QVariant matricula =
                primero(m_db,
                        QStringLiteral("SELECT COALESCE(MatricRemolque, '') FROM viaje WHERE "
                                       "NumeroReporte = ? ORDER BY NumViaje, rowid LIMIT 1"),
                        l.reporte);
            const std::optional<Origen> rep = leerOrigen(m_db, QStringLiteral("reportes"),
                                                         QStringLiteral("NumREgistro"), l.reporte);
            if (matricula.isNull() && rep && !rep->numero.toString().isEmpty()) {
                matricula = primero(m_db,
                                    QStringLiteral("SELECT COALESCE(MatricRemolque, '') FROM "
                                                   "viaje WHERE NumViaje = ? ORDER BY rowid "
                                                   "LIMIT 1"),
                                    rep->numero);
                if (matricula.isNull())
                    r.reportesSinMatricula = true;
            }
            if (!rep) {
                vaciarLinea(m_db, l.fila, hoy);
                continue;
            }
            if (rep->cliente != cliente)
                r.avisos << aviso(QStringLiteral("Atención: el cliente del reporte: "), l.reporte,
                                  rep->cliente, cliente);
            escribirLinea(m_db, l.fila,
                          QString(QStringLiteral("PORTE DESDE ") + rep->carga +
                                  QStringLiteral(" HASTA ") + rep->descarga +
                                  QStringLiteral(" - ") + matricula.toString()),
                          rep->precio, rep->fecha, rep->numero);
            marcar(m_db, QStringLiteral("reportes"), QStringLiteral("NumREgistro"),
                   QStringLiteral("Facturado"), l.reporte);
        }
    }

    const double g = primero(m_db,
                             QStringLiteral("SELECT TOTAL(Importe) FROM detalle WHERE "
                                            "NumFactura = ?"),
                             numFactura)
                         .toDouble();
    const double b = g - g * (dto / 100);
    // An invoice stated in another currency carries no VAT.
    const double v = ivaGuardado.isNull() || (!cambioGuardado.isNull() && cambio != 0)
                         ? 0
                         : ivaGuardado.toDouble();
    const double iva = b * v / 100;
    const double t = b + iva;
    const double a = t - acuenta - retencion;
    r.tbruto = Formato::round2(g);
    r.base = Formato::round2(b);
    r.totalIva = Formato::round2(iva);
    r.totalRecibo = Formato::round2(t);
    r.aPagar = Formato::round2(a);
    r.iva = ivaGuardado.toDouble();
    Statement &st = m_db.cached(QStringLiteral(
        "UPDATE facturas SET Tbruto = ?, Base = ?, TotalIva = ?, TotalRecibo = ?, APagar = ?, "
        "Euros = ? WHERE rowid = ?"));
    st.bindAll({r.tbruto, r.base, r.totalIva, r.totalRecibo, r.aPagar, r.aPagar, filaFactura});
    st.exec();
    st.reset();
    if (cambio != 0) {
        r.iva = 0;
        r.otroImporte = Formato::round2(r.aPagar * cambio);
        Statement &otro = m_db.cached(
            QStringLiteral("UPDATE facturas SET Iva = 0, OtroImporte = ? WHERE rowid = ?"));
        otro.bindAll({r.otroImporte, filaFactura});
        otro.exec();
        otro.reset();
    } else {
        r.otroImporte =
            primero(m_db, QStringLiteral("SELECT OtroImporte FROM facturas WHERE rowid = ?"),
                    filaFactura)
                .toDouble();
    }
    tx.commit();
    for (const char *t : {"detalle", "portes", "reportes", "facturas"})
        m_db.touch(QString::fromLatin1(t));
    return r;
}

Cobro cobrarFactura(Connection &db, const QString &numFactura) {
    Cobro c;
    Transaction tx(db);
    Statement &st =
        db.cached(QStringLiteral("UPDATE facturas SET Pagado = 1 WHERE NumFactura = ?"));
    st.bind(1, numFactura);
    st.exec();
    st.reset();
    for (const Linea &l : leerLineas(db, numFactura)) {
        if (!l.porte.isNull() &&
            !primero(db, QStringLiteral("SELECT 1 FROM portes WHERE ID = ?"), l.porte).isNull()) {
            marcar(db, QStringLiteral("portes"), QStringLiteral("ID"), QStringLiteral("Pagado"),
                   l.porte);
            ++c.portes;
        }
        if (!l.reporte.isNull() &&
            !primero(db, QStringLiteral("SELECT 1 FROM reportes WHERE NumREgistro = ?"), l.reporte)
                 .isNull()) {
            marcar(db, QStringLiteral("reportes"), QStringLiteral("NumREgistro"),
                   QStringLiteral("Pagado"), l.reporte);
            ++c.reportes;
        }
    }
    tx.commit();
    for (const char *t : {"portes", "reportes", "facturas"})
        db.touch(QString::fromLatin1(t));
    return c;
}

void eliminarFactura(Connection &db, Table &facturas) {
    const QVariant numero = facturas.value(QStringLiteral("NumFactura"));
    Transaction tx(db);
    Statement &st = db.cached(QStringLiteral("DELETE FROM detalle WHERE NumFactura = ?"));
    st.bind(1, numero);
    st.exec();
    st.reset();
    db.touch(QStringLiteral("detalle"));
    facturas.remove();
    tx.commit();
}
