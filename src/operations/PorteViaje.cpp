#include "operations/PorteViaje.h"

#include "store/StoreError.h"
#include "store/TDatos.h"
#include "store/Table.h"
#include "store/Transaction.h"

DatosPorte DatosPorte::de(const Table &p) {
    DatosPorte d;
    d.id = p.value(QStringLiteral("ID"));
    d.numero = p.value(QStringLiteral("Numero")).toString().trimmed();
    d.fecha = p.value(QStringLiteral("Fecha")).toDate();
    d.matricula = p.value(QStringLiteral("Matricula")).toString();
    d.carga = p.value(QStringLiteral("Carga")).toString();
    d.descarga = p.value(QStringLiteral("Descarga")).toString();
    return d;
}

namespace {
// The shared trip cursor, open and showing every trip.
Table &viajes(TDatos &datos) {
    Table &v = *datos.TViajes;
    v.setFiltered(false);
    v.open();
    return v;
}
} // namespace

QString PasarAViaje::conductorDe(TDatos &datos, const QString &matricula) {
    Table &camiones = *datos.TCamiones;
    camiones.open();
    camiones.setFiltered(false);
    if (!camiones.locate(QStringLiteral("Matricula"), matricula))
        return QString();
    return camiones.value(QStringLiteral("CIF")).toString();
}

PasarAViaje::Resultado PasarAViaje::ejecutar(TDatos &datos, const DatosPorte &porte) {
    if (QString(porte.numero).remove('/').trimmed().isEmpty())
        return SinNumero;
    Table &v = viajes(datos);
    try {
        if (v.locate(QStringLiteral("NumViaje"), porte.numero)) {
            v.edit();
            v.setValue(QStringLiteral("NumeroPorte"), porte.id);
            v.post();
            return Enlazado;
        }
        const QString conductor = conductorDe(datos, porte.matricula);
        v.append();
        v.setValue(QStringLiteral("NumeroPorte"), porte.id);
        v.setValue(QStringLiteral("NumViaje"), porte.numero);
        v.setValue(QStringLiteral("Destino"), porte.descarga);
        v.setValue(QStringLiteral("Origen"), porte.carga);
        v.setValue(QStringLiteral("MatricTractor"), porte.matricula);
        v.setValue(QStringLiteral("FechaSalida"), porte.fecha);
        if (!conductor.isEmpty())
            v.setValue(QStringLiteral("CondCIF"), conductor);
        v.setValue(QStringLiteral("NumPorte"), porte.numero);
        v.post();
        return Creado;
    } catch (const StoreError &) {
        v.cancel();
        throw;
    }
}

void AnadirReporte::ejecutar(TDatos &datos, Table &portes) {
    Table &r = *datos.TReportes;
    r.open();
    Transaction tx(*datos.db);
    try {
        r.append();
        r.setValue(QStringLiteral("Numero"), portes.value(QStringLiteral("Numero")));
        r.setValue(QStringLiteral("Matricula"), portes.value(QStringLiteral("Matricula")));
        // A report starts as not invoiced and not collected, so the pending listings see it.
        r.setValue(QStringLiteral("Facturado"), QStringLiteral("No"));
        r.setValue(QStringLiteral("Pagado"), QStringLiteral("No"));
        r.post();
        portes.edit();
        portes.setValue(QStringLiteral("Reportado"), QStringLiteral("Sí"));
        portes.post();
        tx.commit();
    } catch (const StoreError &) {
        r.cancel();
        portes.cancel();
        tx.rollback();
        portes.refresh();
        r.refresh();
        throw;
    }
    portes.refresh();
}

QList<SincronizacionViaje::Cambio> SincronizacionViaje::cambios(TDatos &datos,
                                                                const DatosPorte &porte) {
    QList<Cambio> out;
    if (porte.numero.isEmpty() || porte.descarga.isEmpty())
        return out;
    Table &v = viajes(datos);
    if (!v.locate(QStringLiteral("NumViaje"), porte.numero))
        return out;
    const QString destino = v.value(QStringLiteral("Destino")).toString();
    const QString origen = v.value(QStringLiteral("Origen")).toString();
    const QString tractor = v.value(QStringLiteral("MatricTractor")).toString();
    const QString cabecera =
        QStringLiteral("Existe un viaje con: \r\r    ·  Número: %1\r").arg(porte.numero);
    const QString lugares =
        cabecera + QStringLiteral("    ·  Origen: %1\r    · Destino: %2\r\r").arg(origen, destino);
    if (destino != porte.descarga)
        out << Cambio{QStringLiteral("Destino"), porte.descarga,
                      lugares +
                          QStringLiteral(" ¿Desea cambiar el destino por %1?").arg(porte.descarga)};
    if (origen != porte.carga)
        out << Cambio{QStringLiteral("Origen"), porte.carga,
                      lugares +
                          QStringLiteral(" ¿Desea cambiar el origen por %1?").arg(porte.carga)};
    if (tractor != porte.matricula)
        out << Cambio{QStringLiteral("MatricTractor"), porte.matricula,
                      cabecera + QStringLiteral("    ·  Matrícula cabeza: %1\r\r ¿Desea cambiar la "
                                                "matrícula del viaje por %2?")
                                     .arg(tractor, porte.matricula)};
    return out;
}

void SincronizacionViaje::aplicar(TDatos &datos, const QString &numero, const Cambio &cambio) {
    Table &v = viajes(datos);
    if (!v.locate(QStringLiteral("NumViaje"), numero))
        return;
    try {
        v.edit();
        v.setValue(cambio.campo, cambio.valor.isEmpty() ? QVariant() : QVariant(cambio.valor));
        v.post();
    } catch (const StoreError &) {
        v.cancel();
        throw;
    }
}
