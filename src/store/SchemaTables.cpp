// The declaration, once, of every table of the data store: the company tables of Parts 2.1 and
// 2.2, the company registry "empresas.db" and the work table "TT.DB". Field names, order, types
// and sizes are those of the specification, letter for letter (`NumREgistro`, `BeneficioToal`,
// `Kmsalida`, `Compañia`, `AEspaña`, `I.Portes`, ...). Index names are the ones the windows use;
// the indexes the specification does not name are called after their field ("Numero") for a
// unique key and "Por" + field ("PorFecha") for an order a window asks for.

#include "store/Schema.h"

#include <initializer_list>
#include <utility>

namespace {

FieldDef field(const char *name, FieldType type, int size = 0, bool required = false) {
    FieldDef f;
    f.name = QString::fromUtf8(name);
    f.type = type;
    f.size = size;
    f.required = required;
    return f;
}

// "text N"
FieldDef text(const char *name, int size, bool required = false) {
    return field(name, FieldType::Text, size, required);
}
// "memo (N inline)"
FieldDef memo(const char *name, int inlineSize) {
    return field(name, FieldType::Memo, inlineSize);
}
FieldDef date(const char *name, bool required = false) {
    return field(name, FieldType::Date, 0, required);
}
// "number" ("float" in the window Parts)
FieldDef number(const char *name) {
    return field(name, FieldType::Number);
}
// "money" ("currency" in the window Parts)
FieldDef money(const char *name) {
    return field(name, FieldType::Money);
}
// "short", 16-bit
FieldDef shortInt(const char *name) {
    return field(name, FieldType::Short);
}
// "long", 32-bit
FieldDef longInt(const char *name) {
    return field(name, FieldType::Long);
}
FieldDef logical(const char *name) {
    return field(name, FieldType::Logical);
}
// "auto-increment": the table's identity, assigned by the store.
FieldDef autoInc(const char *name) {
    return field(name, FieldType::AutoInc);
}

QStringList names(std::initializer_list<const char *> list) {
    QStringList out;
    for (const char *n : list)
        out << QString::fromUtf8(n);
    return out;
}

IndexDef indexOn(const char *name, std::initializer_list<const char *> fields) {
    IndexDef idx;
    idx.name = QString::fromUtf8(name);
    idx.fields = names(fields);
    idx.unique = false;
    return idx;
}

IndexDef uniqueOn(const char *name, std::initializer_list<const char *> fields) {
    IndexDef idx = indexOn(name, fields);
    idx.unique = true;
    return idx;
}

// The SQL name is the file name without its extension, spelled the same ("Lugar.db" -> "Lugar").
TableDef table(const char *fileName, QList<FieldDef> fields, QList<IndexDef> indexes = {},
               std::initializer_list<const char *> primaryOrder = {}) {
    TableDef t;
    t.fileName = QString::fromUtf8(fileName);
    const int dot = t.fileName.lastIndexOf(QLatin1Char('.'));
    t.sqlName = dot < 0 ? t.fileName : t.fileName.left(dot);
    t.fields = std::move(fields);
    t.indexes = std::move(indexes);
    t.primaryOrder = names(primaryOrder);
    return t;
}

// ---------------------------------------------------------------------------------------------
// Operations: hauls, reports, trips and their costs, invoices, clients, places

// Haul. Unique: Numero. Orders: Numero, Fecha, ID (the auto-increment, the table's own key),
// Transportista, Matricula.
TableDef portes() {
    return table("portes.DB",
                 {
                     autoInc("ID"),
                     text("Numero", 9, true),
                     date("Fecha", true),
                     text("Matricula", 10, true),
                     text("Transportista", 100),
                     text("Carga", 150),
                     text("Descarga", 150),
                     money("Precio"),
                     text("Facturado", 2, true),
                     text("Pagado", 2, true),
                     text("Reportado", 2, true),
                     memo("Observaciones", 100),
                 },
                 {
                     uniqueOn("Numero", {"Numero"}),
                     indexOn("PorFecha", {"Fecha"}),
                     indexOn("PorTransportista", {"Transportista"}),
                     indexOn("PorMatricula", {"Matricula"}),
                 },
                 {"Numero"});
}

// Report. Unique: Numero.
TableDef reportes() {
    return table("reportes.DB",
                 {
                     autoInc("NumREgistro"),
                     text("Numero", 9),
                     date("Fecha"),
                     text("Transportista", 100),
                     text("Matricula", 10),
                     text("Carga", 150),
                     text("Descarga", 150),
                     money("Precio"),
                     text("Facturado", 2),
                     text("Pagado", 2),
                     memo("Notas", 100),
                 },
                 {
                     uniqueOn("Numero", {"Numero"}),
                 },
                 {"Numero"});
}

// Trip. Unique: NumViaje. The orders are those of the trips window; "NumPorte" serves
// the link from a haul or report number to its trip.
TableDef viaje() {
    return table("viaje.DB",
                 {
                     text("NumViaje", 9),
                     number("NumeroPorte"),
                     number("NumeroReporte"),
                     text("NumPorte", 9),
                     text("CondCIF", 10),
                     text("MatricTractor", 10),
                     text("MatricRemolque", 10),
                     // The trips window declares 25, the new-trip wizard 150 (copied from the
                     // hauls' Carga/Descarga): the wider one.
                     text("Origen", 150),
                     text("Destino", 150),
                     date("FechaSalida"),
                     date("FechaLlegada"),
                     shortInt("NumDias"),
                     number("Kmsalida"),
                     number("Kmllegada"),
                     number("KmtTotales"),
                     number("Anticipo"),
                     logical("Pagado"),
                     text("NumTarjetaCombustible", 25),
                     text("NumTarjetaAutopista", 25),
                     money("TotalIngresos"),
                     money("TotalCombustible"),
                     number("TotalLitros"),
                     money("PtaLitro"),
                     money("TotalAutopista"),
                     money("TotalOtrosGastos"),
                     money("TotalCosteCamionero"),
                     money("TotalGastos"),
                     money("Beneficios"),
                     number("PorcentajeBeneficio"),
                     number("PrecioKm"),
                     number("Consumo"),
                     number("ConsumoMedio"),
                 },
                 {
                     uniqueOn("NumViaje", {"NumViaje"}),
                     indexOn("NumPorte", {"NumPorte"}),
                     indexOn("PorFechaSalida", {"FechaSalida"}),
                     indexOn("PorFechaLlegada", {"FechaLlegada"}),
                     indexOn("PorCondCIF", {"CondCIF"}),
                     indexOn("PorDestino", {"Destino"}),
                     indexOn("PorMatricTractor", {"MatricTractor"}),
                     indexOn("PorMatricRemolque", {"MatricRemolque"}),
                     indexOn("PorOrigen", {"Origen"}),
                 },
                 {"NumViaje"});
}

// Trip cost lines: an identity, the link to the trip, the month placement, then their own fields.
// Mes and Ano are short integers (written from month and year texts, compared with quoted values).
TableDef gascombu() {
    return table("gascombu.DB",
                 {
                     autoInc("NumRegistro"),
                     text("NumViaje", 9),
                     text("Matricula", 10),
                     shortInt("Mes"),
                     shortInt("Ano"),
                     text("Lugar", 150),
                     number("Litros"),
                     money("Precio"),
                     money("Importe"),
                 },
                 {
                     indexOn("GasCombuNumViaje", {"NumViaje"}),
                 });
}

TableDef gasviaje() {
    return table("gasviaje.DB",
                 {
                     autoInc("NumRegistro"),
                     text("NumViaje", 9),
                     text("Matricula", 10),
                     shortInt("Mes"),
                     shortInt("Ano"),
                     text("Concepto", 255),
                     money("Importe"),
                 },
                 {
                     indexOn("NumViaje", {"NumViaje"}),
                 });
}

TableDef gasautop() {
    return table("gasautop.DB",
                 {
                     autoInc("NumRegistro"),
                     text("NumViaje", 9),
                     text("Matricula", 10),
                     shortInt("Mes"),
                     shortInt("Ano"),
                     text("Autopista", 25),
                     text("Tramo", 100),
                     money("Importe"),
                 },
                 {
                     indexOn("GasAutopNumViaje", {"NumViaje"}),
                 });
}

// Cost concepts: kept in the order they were added.
TableDef conGasto() {
    return table("ConGasto.db", {
                                    text("Concepto", 255),
                                    money("Importe"),
                                });
}

// Invoice. Unique: NumFactura. Orders of the invoices window: Fecha, NumFactura, CIF.
TableDef facturas() {
    return table("facturas.DB",
                 {
                     text("NumFactura", 9, true),
                     date("Fecha", true),
                     text("C", 20),
                     text("CIF", 16),
                     text("CodigoCliente", 4),
                     money("Tbruto"),
                     number("Dto"),
                     money("Base"),
                     number("Iva"),
                     money("TotalIva"),
                     money("TotalRecibo"),
                     money("Acuenta"),
                     money("Retencion"),
                     money("APagar"),
                     number("Euros"),
                     text("Moneda", 10),
                     number("Cambio"),
                     number("OtroImporte"),
                     logical("Pagado"),
                     logical("Facturado"),
                 },
                 {
                     uniqueOn("NumFactura", {"NumFactura"}),
                     indexOn("PorFecha", {"Fecha"}),
                     indexOn("PorCIF", {"CIF"}),
                 },
                 {"NumFactura"});
}

// Invoice line, linked to its invoice through "NumeroFactura".
TableDef detalle() {
    return table("detalle.DB",
                 {
                     autoInc("NumRegistro"),
                     text("NumFactura", 9),
                     number("IDPorte"),
                     number("IDReporte"),
                     text("NumPorte", 9),
                     date("Fecha"),
                     number("Cantidad"),
                     money("Precio"),
                     money("Importe"),
                     text("Concepto", 255),
                 },
                 {
                     indexOn("NumeroFactura", {"NumFactura"}),
                 });
}

// Client. Unique: CIF (index "CIFCliente"). Orders: CIF, Apellidos.
TableDef cliente() {
    return table("cliente.DB",
                 {
                     text("CIF", 16),
                     text("Apellidos", 150),
                     text("Direccion", 255),
                     text("CP", 5),
                     text("Ciudad", 25),
                     text("Provincia", 25),
                     text("Pais", 25),
                     text("Telefono1", 15),
                     text("Telefono2", 15),
                     text("Fax", 15),
                     text("EMail", 255),
                     text("PContacto", 255),
                     memo("Observacion", 240),
                     text("CCCEntidad", 4),
                     text("CCCAgencia", 4),
                     text("CCCDC", 2),
                     text("CCCCuenta", 10),
                 },
                 {
                     uniqueOn("CIFCliente", {"CIF"}),
                     indexOn("PorApellidos", {"Apellidos"}),
                 },
                 {"CIF"});
}

// Place. Unique: Lugar.
TableDef lugar() {
    return table("Lugar.db",
                 {
                     autoInc("Id"),
                     text("Lugar", 50),
                     text("Pais", 70),
                 },
                 {
                     uniqueOn("Lugar", {"Lugar"}),
                 },
                 {"Lugar"});
}

// ---------------------------------------------------------------------------------------------
// Fleet, expenses and results

// Vehicle. Unique: Matricula; "MatriculaV" orders by plate. Orders: Matricula, CIF.
TableDef camiones() {
    return table("camiones.DB",
                 {
                     text("Matricula", 10),
                     text("CIF", 10),
                     text("Descripcion", 25),
                     text("Tipo", 8),
                     date("FechaITV"),
                 },
                 {
                     uniqueOn("Matricula", {"Matricula"}),
                     indexOn("MatriculaV", {"Matricula"}),
                     indexOn("PorCIF", {"CIF"}),
                 },
                 {"Matricula"});
}

// Driver. Unique: CIF. Orders: Apellidos, CIF.
TableDef camioner() {
    return table("Camioner.DB",
                 {
                     text("CIF", 10),
                     text("Apellidos", 25),
                     text("Nombre", 25),
                     text("Direccion", 25),
                     text("CP", 5),
                     text("Ciudad", 25),
                     text("Provincia", 25),
                     text("Telefono", 9),
                     money("SueldoBase"),
                     number("PtsKm"),
                 },
                 {
                     uniqueOn("CIF", {"CIF"}),
                     indexOn("PorApellidos", {"Apellidos"}),
                 },
                 {"CIF"});
}

// Insurance policy, linked to its vehicle through "Matricula". "IDCarga" serves the duplicate
// look-up of the external load.
TableDef seguros() {
    return table("Seguros.DB",
                 {
                     autoInc("NumRegistro"),
                     text("Matricula", 10),
                     text("Tipo", 25),
                     text("Compañia", 25),
                     money("Importe"),
                     date("FechaPago"),
                     date("Vencimiento"),
                     text("Vencido", 2),
                     longInt("IDCarga"),
                     text("TipoCarga", 20),
                 },
                 {
                     indexOn("Matricula", {"Matricula"}),
                     indexOn("IDCarga", {"IDCarga"}),
                 });
}

// Workshop bill: read by the monthly results and the truck expense totals, edited by no window.
TableDef taller() {
    return table("Taller.DB",
                 {
                     autoInc("NumRegistro"),
                     date("Fecha"),
                     text("Matricula", 10),
                     money("Importe"),
                 },
                 {
                     indexOn("MatriculaV", {"Matricula"}),
                 });
}

// Tyre change, linked to its vehicle through "NeumaticosMatricula".
TableDef neumaticos() {
    return table("Neumaticos.db",
                 {
                     autoInc("ID"),
                     text("Matricula", 15),
                     text("Marca", 50),
                     text("Numeracion", 50),
                     text("Posicion", 30),
                     text("Motivo", 30),
                     date("FechaInicio"),
                     date("FechaFin"),
                     number("DiasTotales"),
                     number("KmInicio"),
                     number("KmFin"),
                     number("KmTotales"),
                     money("Importe"),
                     logical("Cambiado"),
                     text("Observacion", 255),
                 },
                 {
                     indexOn("NeumaticosMatricula", {"Matricula"}),
                 });
}

// Expense. Unique: Numero (the auto-increment). Orders: Numero, Fecha, Matricula. "IDCarga"
// serves the duplicate look-up of the external load.
TableDef gastos() {
    return table("Gastos.DB",
                 {
                     autoInc("Numero"),
                     date("Fecha"),
                     text("Matricula", 10),
                     text("Tipo", 30),
                     logical("Pagado"),
                     money("Base"),
                     number("PorcentajeIVA"),
                     money("ImporteIVA"),
                     money("ImporteTotal"),
                     number("Euros"),
                     longInt("IDCarga"),
                     text("TipoCarga", 20),
                 },
                 {
                     uniqueOn("Numero", {"Numero"}),
                     indexOn("PorFecha", {"Fecha"}),
                     indexOn("PorMatricula", {"Matricula"}),
                     indexOn("IDCarga", {"IDCarga"}),
                 },
                 {"Numero"});
}

// Expense line, linked to its expense through "DetalleGastoNumeroGasto" on `NumeroGasto`, which
// holds the expense's `Numero`.
TableDef detagast() {
    return table("detagast.DB",
                 {
                     autoInc("NumRegistro"),
                     longInt("NumeroGasto"),
                     date("Fecha"),
                     text("Concepto", 255),
                     number("Cantidad"),
                     money("Precio"),
                     money("Importe"),
                 },
                 {
                     indexOn("DetalleGastoNumeroGasto", {"NumeroGasto"}),
                 });
}

// Monthly truck result. Orders: Matricula; Mes then Ano.
TableDef gastomes() {
    return table("gastomes.DB",
                 {
                     autoInc("NumReg"),
                     text("Matricula", 10),
                     text("CIF", 10),
                     shortInt("Mes"),
                     shortInt("Ano"),
                     money("TotalIngresos"),
                     money("TotalGastos"),
                     money("Beneficio"),
                     money("BeneficioToal"),
                     money("TotalGastosViaje"),
                     money("Gasoil"),
                     number("TotalLitros"),
                     number("TotalKm"),
                     number("ConsumoMedio"),
                     money("TotalAutopistas"),
                     money("AEspaña"),
                     money("AFrancia"),
                     money("AITalia"),
                     money("APortugal"),
                     money("Tasas"),
                     money("OtrasAutopistas"),
                     money("OtrosGastos"),
                     money("TotalOtrosGastos"),
                     money("Sueldo"),
                     money("CosteKm"),
                     money("Impuestos"),
                     money("Seguro"),
                     money("SeguridadSocial"),
                     money("Telefono"),
                     money("GastosTaller"),
                     money("GastosTallerMantenimiento"),
                     money("GastosTallerRoturas"),
                 },
                 {
                     indexOn("PorMatricula", {"Matricula"}),
                     indexOn("PorMesAno", {"Mes", "Ano"}),
                 });
}

// Work table of the kilometre windows: emptied and refilled, kept in the order added.
TableDef kmCamioneroListadoViajes() {
    return table("KmCamioneroListadoViajes.DB", {
                                                    text("Numero", 9),
                                                    date("Salida"),
                                                    date("Llegada"),
                                                    text("Origen", 150),
                                                    text("Destino", 150),
                                                    number("KmViaje"),
                                                    shortInt("Dias"),
                                                    money("Ingresos"),
                                                    money("Gastos"),
                                                    money("Ganancias"),
                                                    money("PtaKm"),
                                                    number("ConsumoMedio"),
                                                });
}

} // namespace

namespace Schema {

const QList<TableDef> &companyTables() {
    static const QList<TableDef> tables{
        // Operations
        portes(),
        reportes(),
        viaje(),
        gascombu(),
        gasviaje(),
        gasautop(),
        conGasto(),
        facturas(),
        detalle(),
        cliente(),
        lugar(),
        // Fleet, expenses and results
        camiones(),
        camioner(),
        seguros(),
        taller(),
        neumaticos(),
        gastos(),
        detagast(),
        gastomes(),
        kmCamioneroListadoViajes(),
    };
    return tables;
}

// The company registry "empresas.db" of the program folder. Unique: Id. Orders: Id, NombreEmpresa.
const TableDef &registry() {
    static const TableDef def = table("empresas.db",
                                      {
                                          autoInc("IDEmpresa"),
                                          longInt("Id"),
                                          text("NombreEmpresa", 50, true),
                                          text("Ruta", 255),
                                          logical("Ficheros"),
                                          date("FechaAlta"),
                                          date("FechaBaja"),
                                          text("Moneda", 30),
                                          number("Cambio"),
                                          text("Usuario", 30),
                                          text("CIF", 30),
                                          text("Domicilio", 70),
                                          text("Poblacion", 70),
                                          text("Provincia", 70),
                                          number("CP"),
                                          text("Telefono", 20),
                                          text("Fax", 20),
                                          text("Email", 100),
                                          text("Inscripcion", 255),
                                          text("RutaLogotipo", 255),
                                          logical("AjustarTamano"),
                                          text("Nota", 255),
                                          logical("ACTIVA"),
                                      },
                                      {
                                          uniqueOn("Id", {"Id"}),
                                          indexOn("PorNombreEmpresa", {"NombreEmpresa"}),
                                      },
                                      {"Id"});
    return def;
}

// The work table "TT.DB" of the "TEMP" folder (totals by client): exactly three stored
// fields and the primary index "IndiceCliente".
const TableDef &workTableTT() {
    static const TableDef def = table("TT.DB",
                                      {
                                          text("Cliente", 200),
                                          money("I.Portes"),
                                          money("I.Reportes"),
                                      },
                                      {
                                          uniqueOn("IndiceCliente", {"Cliente"}),
                                      },
                                      {"Cliente"});
    return def;
}

} // namespace Schema
