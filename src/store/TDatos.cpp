#include "store/TDatos.h"

namespace {
TDatos *g_instancia = nullptr;
}

TDatos *TDatos::instancia() {
    return g_instancia;
}

Table *TDatos::tabla(const QString &objectName, const QString &tableName, DataSource **source) {
    auto *t = new Table(db, tableName, this);
    t->setObjectName(objectName);
    *source = new DataSource(t, this);
    (*source)->setObjectName('D' + objectName.mid(1));
    return t;
}

TDatos::TDatos(QObject *parent) : QObject(parent) {
    setObjectName(QStringLiteral("Datos"));
    db = new Connection(QStringLiteral("VIVOZED"), this);

    TPortes = tabla(QStringLiteral("TPortes"), QStringLiteral("portes.DB"), &DPortes);
    TReportes = tabla(QStringLiteral("TReportes"), QStringLiteral("reportes.DB"), &DReportes);
    TViajes = tabla(QStringLiteral("TViajes"), QStringLiteral("viaje.DB"), &DViajes);
    TGastosCombustible = tabla(QStringLiteral("TGastosCombustible"), QStringLiteral("gascombu.DB"),
                               &DGastosCombustible);
    TGastosViaje =
        tabla(QStringLiteral("TGastosViaje"), QStringLiteral("gasviaje.DB"), &DGastosViaje);
    TGastosAutopistas = tabla(QStringLiteral("TGastosAutopistas"), QStringLiteral("gasautop.DB"),
                              &DGastosAutopistas);
    TAutopistas = tabla(QStringLiteral("TAutopistas"), QStringLiteral("gasautop.DB"), &DAutopistas);
    TConGasto = tabla(QStringLiteral("TConGasto"), QStringLiteral("ConGasto.db"), &DConGasto);
    TFacturas = tabla(QStringLiteral("TFacturas"), QStringLiteral("facturas.DB"), &DFacturas);
    TConceptos = tabla(QStringLiteral("TConceptos"), QStringLiteral("detalle.DB"), &DConceptos);
    TDetalles = tabla(QStringLiteral("TDetalles"), QStringLiteral("detalle.DB"), &DDetalles);
    TClientes = tabla(QStringLiteral("TClientes"), QStringLiteral("cliente.DB"), &DClientes);
    TLugar = tabla(QStringLiteral("TLugar"), QStringLiteral("Lugar.db"), &DLugar);
    TCamiones = tabla(QStringLiteral("TCamiones"), QStringLiteral("camiones.DB"), &DCamiones);
    TCamioneros = tabla(QStringLiteral("TCamioneros"), QStringLiteral("Camioner.DB"), &DCamioneros);
    TTaller = tabla(QStringLiteral("TTaller"), QStringLiteral("Taller.DB"), &DTaller);
    TSeguros = tabla(QStringLiteral("TSeguros"), QStringLiteral("Seguros.DB"), &DSeguros);
    TGastos = tabla(QStringLiteral("TGastos"), QStringLiteral("Gastos.DB"), &DGastos);
    TNeumaticos =
        tabla(QStringLiteral("TNeumaticos"), QStringLiteral("Neumaticos.db"), &DNeumaticos);
    TC = new Query(db, this);
    TC->setObjectName(QStringLiteral("TC"));
    DC = new DataSource(TC, this);
    DC->setObjectName(QStringLiteral("DC"));

    TGastosCombustible->setIndexName(QStringLiteral("GasCombuNumViaje"));
    TGastosCombustible->setMasterSource(TViajes, QStringLiteral("NumViaje"));
    TGastosViaje->setIndexName(QStringLiteral("NumViaje"));
    TGastosViaje->setMasterSource(TViajes, QStringLiteral("NumViaje"));
    TGastosAutopistas->setIndexName(QStringLiteral("GasAutopNumViaje"));
    TGastosAutopistas->setMasterSource(TViajes, QStringLiteral("NumViaje"));
    TConceptos->setIndexName(QStringLiteral("NumeroFactura"));
    TConceptos->setMasterSource(TFacturas, QStringLiteral("NumFactura"));

    auto lookup = [](const char *name, const char *key, const char *table, const char *lookupKey,
                     const char *result, int size) {
        return LookupDef{QString::fromUtf8(name),
                         QString::fromUtf8(key),
                         QString::fromUtf8(table),
                         QString::fromUtf8(lookupKey),
                         QString::fromUtf8(result),
                         FieldType::Text,
                         size};
    };
    TReportes->addLookupField(
        lookup("Cliente", "Transportista", "cliente.DB", "Apellidos", "Apellidos", 150));
    TReportes->addLookupField(
        lookup("Camion", "Matricula", "camiones.DB", "Matricula", "Matricula", 10));
    TReportes->addLookupField(lookup("LCarga", "Carga", "Lugar.db", "Lugar", "Lugar", 50));
    TReportes->addLookupField(lookup("LDescarga", "Descarga", "Lugar.db", "Lugar", "Lugar", 50));
    TNeumaticos->addLookupField(
        lookup("Descripción", "Matricula", "camiones.DB", "Matricula", "Descripcion", 150));

    g_instancia = this;
}

TDatos::~TDatos() {
    if (g_instancia == this)
        g_instancia = nullptr;
}

QList<Table *> TDatos::tablasCompartidas() const {
    return {TCamiones, TPortes, TReportes, TFacturas, TClientes, TConceptos,  TCamioneros, TTaller,
            TSeguros,  TLugar,  TDetalles, TViajes,   TGastos,   TAutopistas, TConGasto};
}

void TDatos::abrirTablasCompartidas() {
    for (Table *t : tablasCompartidas())
        t->open();
}
