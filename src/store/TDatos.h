#pragma once

#include "store/Connection.h"
#include "store/DataSource.h"
#include "store/Query.h"
#include "store/Table.h"

#include <QObject>

// The shared data module: the company connection "VIVOZED" and one cursor per company table
// that several windows share. A filter set on one of these cursors is seen by every user of
// it, so calculations that filter a shared cursor clear the filter when they are done.
class TDatos : public QObject {
    Q_OBJECT
public:
    explicit TDatos(QObject *parent = nullptr);
    ~TDatos() override;

    // The instance start-up created; nullptr before.
    static TDatos *instancia();

    Connection *db;

    Table *TPortes;
    Table *TReportes;
    Table *TViajes;
    Table *TGastosCombustible;
    Table *TGastosViaje;
    Table *TGastosAutopistas;
    Table *TAutopistas;
    Table *TConGasto;
    Table *TFacturas;
    Table *TConceptos;
    Table *TDetalles;
    Table *TClientes;
    Table *TLugar;
    Table *TCamiones;
    Table *TCamioneros;
    Table *TTaller;
    Table *TSeguros;
    Table *TGastos;
    Table *TNeumaticos;
    Query *TC;

    DataSource *DPortes;
    DataSource *DReportes;
    DataSource *DViajes;
    DataSource *DGastosCombustible;
    DataSource *DGastosViaje;
    DataSource *DGastosAutopistas;
    DataSource *DAutopistas;
    DataSource *DConGasto;
    DataSource *DFacturas;
    DataSource *DConceptos;
    DataSource *DDetalles;
    DataSource *DClientes;
    DataSource *DLugar;
    DataSource *DCamiones;
    DataSource *DCamioneros;
    DataSource *DTaller;
    DataSource *DSeguros;
    DataSource *DGastos;
    DataSource *DNeumaticos;
    DataSource *DC;

    // The tables a company opening opens, in their order. The trip-cost lines linked to the
    // trips and the tyres stay closed until a window needs them.
    QList<Table *> tablasCompartidas() const;
    // Opens them in that order; an already open table is left as it is. The first failure
    // stops the opening and is thrown; the tables opened before it stay open.
    void abrirTablasCompartidas();

private:
    Table *tabla(const QString &objectName, const QString &tableName, DataSource **source);
};
