// Checks of the table declarations (store/SchemaTables.cpp) against the specification, Parts 2.1
// and 2.2 and the window Parts that use the tables. Only the declared data is read here, through
// helpers of this file; the TableDef methods, Schema::find and the SQL are tested elsewhere.

#include "store/Schema.h"

#include <QSet>
#include <QtTest>

namespace {

QList<const TableDef *> allTables() {
    QList<const TableDef *> out;
    for (const TableDef &t : Schema::companyTables())
        out << &t;
    out << &Schema::registry() << &Schema::workTableTT();
    return out;
}

// By exact file name: the declarations must spell it as the specification does.
const TableDef *tableByFile(const QString &fileName) {
    for (const TableDef *t : allTables())
        if (t->fileName == fileName)
            return t;
    return nullptr;
}

// By exact field name (letter case included).
const FieldDef *fieldOf(const TableDef &t, const QString &name) {
    for (const FieldDef &f : t.fields)
        if (f.name == name)
            return &f;
    return nullptr;
}

const IndexDef *indexOf(const TableDef &t, const QString &name) {
    for (const IndexDef &i : t.indexes)
        if (i.name == name)
            return &i;
    return nullptr;
}

QStringList fieldNames(const TableDef &t) {
    QStringList out;
    for (const FieldDef &f : t.fields)
        out << f.name;
    return out;
}

// The rule of Table::setIndexFieldNames: an order is served by the primary order, by an index
// whose fields begin with it, or (one field) by the auto-increment.
bool orderServed(const TableDef &t, const QStringList &wanted) {
    auto begins = [&](const QStringList &have) {
        if (have.size() < wanted.size())
            return false;
        for (int i = 0; i < wanted.size(); ++i)
            if (have[i].compare(wanted[i], Qt::CaseInsensitive) != 0)
                return false;
        return true;
    };
    if (begins(t.primaryOrder))
        return true;
    for (const IndexDef &i : t.indexes)
        if (begins(i.fields))
            return true;
    if (wanted.size() == 1)
        for (const FieldDef &f : t.fields)
            if (f.type == FieldType::AutoInc && f.name.compare(wanted[0], Qt::CaseInsensitive) == 0)
                return true;
    return false;
}

} // namespace

Q_DECLARE_METATYPE(FieldType)

class TstSchema : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void companyTablesAreTheSpecifiedFiles();
    void registryAndWorkTable();
    void sqlNameIsTheFileNameWithoutExtension();
    void sqlNamesAreUniqueIgnoringCase();
    void fieldNamesAreUniqueWithinATable();
    void fieldSizesFitTheirTypes();
    void atMostOneAutoIncrement();
    void indexesNameExistingFields();
    void fields_data();
    void fields();
    void nonAsciiNamesAreExact();
    void fieldOrder_data();
    void fieldOrder();
    void fieldCounts_data();
    void fieldCounts();
    void requiredFieldsAreExactlyTheSpecifiedOnes();
    void namedIndexes_data();
    void namedIndexes();
    void uniqueKeys_data();
    void uniqueKeys();
    void primaryOrders_data();
    void primaryOrders();
    void windowOrdersHaveAnIndex_data();
    void windowOrdersHaveAnIndex();
    void detailLinksMatchTheirMaster_data();
    void detailLinksMatchTheirMaster();
};

void TstSchema::companyTablesAreTheSpecifiedFiles() {
    QStringList files;
    for (const TableDef &t : Schema::companyTables())
        files << t.fileName;
    const QStringList expected{
        "portes.DB",     "reportes.DB", "viaje.DB",    "gascombu.DB", "gasviaje.DB",
        "gasautop.DB",   "ConGasto.db", "facturas.DB", "detalle.DB",  "cliente.DB",
        "Lugar.db",      "camiones.DB", "Camioner.DB", "Seguros.DB",  "Taller.DB",
        "Neumaticos.db", "Gastos.DB",   "detagast.DB", "gastomes.DB", "KmCamioneroListadoViajes.DB",
    };
    QCOMPARE(files, expected);
}

void TstSchema::registryAndWorkTable() {
    QCOMPARE(Schema::registry().fileName, QStringLiteral("empresas.db"));
    QCOMPARE(Schema::registry().sqlName, QStringLiteral("empresas"));
    QCOMPARE(Schema::workTableTT().fileName, QStringLiteral("TT.DB"));
    QCOMPARE(Schema::workTableTT().sqlName, QStringLiteral("TT"));
    // The references are to one object each: asking twice gives the same declarations.
    QCOMPARE(&Schema::registry(), &Schema::registry());
    QCOMPARE(&Schema::companyTables(), &Schema::companyTables());
}

void TstSchema::sqlNameIsTheFileNameWithoutExtension() {
    for (const TableDef *t : allTables()) {
        const int dot = t->fileName.lastIndexOf('.');
        QVERIFY2(dot > 0, qPrintable(t->fileName));
        QCOMPARE(t->sqlName, t->fileName.left(dot));
    }
    QCOMPARE(tableByFile("Lugar.db")->sqlName, QStringLiteral("Lugar"));
    QCOMPARE(tableByFile("Camioner.DB")->sqlName, QStringLiteral("Camioner"));
    QCOMPARE(tableByFile("KmCamioneroListadoViajes.DB")->sqlName,
             QStringLiteral("KmCamioneroListadoViajes"));
}

void TstSchema::sqlNamesAreUniqueIgnoringCase() {
    QSet<QString> seen;
    for (const TableDef *t : allTables()) {
        const QString key = t->sqlName.toLower();
        QVERIFY2(!seen.contains(key), qPrintable(t->sqlName));
        seen.insert(key);
    }
    QCOMPARE(seen.size(), 22);
}

void TstSchema::fieldNamesAreUniqueWithinATable() {
    for (const TableDef *t : allTables()) {
        QVERIFY2(!t->fields.isEmpty(), qPrintable(t->fileName));
        QSet<QString> seen;
        for (const FieldDef &f : t->fields) {
            QVERIFY2(!f.name.isEmpty(), qPrintable(t->fileName));
            QVERIFY2(f.name.trimmed() == f.name, qPrintable(t->fileName + ": '" + f.name + "'"));
            const QString key = f.name.toLower();
            QVERIFY2(!seen.contains(key), qPrintable(t->fileName + ": " + f.name));
            seen.insert(key);
        }
    }
}

void TstSchema::fieldSizesFitTheirTypes() {
    for (const TableDef *t : allTables())
        for (const FieldDef &f : t->fields) {
            const QString where = t->fileName + ": " + f.name;
            if (f.type == FieldType::Text || f.type == FieldType::Memo)
                QVERIFY2(f.size > 0 && f.size <= 255, qPrintable(where));
            else
                QVERIFY2(f.size == 0, qPrintable(where));
        }
}

void TstSchema::atMostOneAutoIncrement() {
    for (const TableDef *t : allTables()) {
        int n = 0;
        for (const FieldDef &f : t->fields)
            if (f.type == FieldType::AutoInc) {
                ++n;
                QVERIFY2(!f.required, qPrintable(t->fileName + ": " + f.name));
            }
        QVERIFY2(n <= 1, qPrintable(t->fileName));
    }
}

void TstSchema::indexesNameExistingFields() {
    for (const TableDef *t : allTables()) {
        QSet<QString> names;
        for (const IndexDef &i : t->indexes) {
            const QString where = t->fileName + ": " + i.name;
            QVERIFY2(!i.name.isEmpty(), qPrintable(t->fileName));
            QVERIFY2(!names.contains(i.name.toLower()), qPrintable(where));
            names.insert(i.name.toLower());
            QVERIFY2(!i.fields.isEmpty(), qPrintable(where));
            QSet<QString> inIndex;
            for (const QString &f : i.fields) {
                QVERIFY2(fieldOf(*t, f), qPrintable(where + " -> " + f));
                QVERIFY2(!inIndex.contains(f), qPrintable(where + " -> " + f));
                inIndex.insert(f);
            }
        }
        for (const QString &f : t->primaryOrder)
            QVERIFY2(fieldOf(*t, f), qPrintable(t->fileName + " primary order -> " + f));
    }
}

void TstSchema::fields_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("field");
    QTest::addColumn<FieldType>("type");
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("required");

    auto row = [](const char *file, const char *field, FieldType type, int size, bool required) {
        QTest::addRow("%s %s", file, field)
            << QString::fromUtf8(file) << QString::fromUtf8(field) << type << size << required;
    };
    using T = FieldType;
    // Hauls: the six required fields, the memo, the identity.
    row("portes.DB", "ID", T::AutoInc, 0, false);
    row("portes.DB", "Numero", T::Text, 9, true);
    row("portes.DB", "Fecha", T::Date, 0, true);
    row("portes.DB", "Matricula", T::Text, 10, true);
    row("portes.DB", "Transportista", T::Text, 100, false);
    row("portes.DB", "Descarga", T::Text, 150, false);
    row("portes.DB", "Precio", T::Money, 0, false);
    row("portes.DB", "Facturado", T::Text, 2, true);
    row("portes.DB", "Pagado", T::Text, 2, true);
    row("portes.DB", "Reportado", T::Text, 2, true);
    row("portes.DB", "Observaciones", T::Memo, 100, false);
    // Reports: nothing required at table level ("Anadir reporte" stores number and plate only).
    row("reportes.DB", "NumREgistro", T::AutoInc, 0, false);
    row("reportes.DB", "Numero", T::Text, 9, false);
    row("reportes.DB", "Fecha", T::Date, 0, false);
    row("reportes.DB", "Carga", T::Text, 150, false);
    row("reportes.DB", "Notas", T::Memo, 100, false);
    // Trips.
    row("viaje.DB", "NumViaje", T::Text, 9, false);
    row("viaje.DB", "NumeroPorte", T::Number, 0, false);
    row("viaje.DB", "NumeroReporte", T::Number, 0, false);
    row("viaje.DB", "NumPorte", T::Text, 9, false);
    row("viaje.DB", "Origen", T::Text, 150, false);
    row("viaje.DB", "Destino", T::Text, 150, false);
    row("viaje.DB", "NumDias", T::Short, 0, false);
    row("viaje.DB", "Kmsalida", T::Number, 0, false);
    row("viaje.DB", "Kmllegada", T::Number, 0, false);
    row("viaje.DB", "KmtTotales", T::Number, 0, false);
    row("viaje.DB", "Pagado", T::Logical, 0, false);
    row("viaje.DB", "NumTarjetaAutopista", T::Text, 25, false);
    row("viaje.DB", "PtaLitro", T::Money, 0, false);
    row("viaje.DB", "PorcentajeBeneficio", T::Number, 0, false);
    row("viaje.DB", "PrecioKm", T::Number, 0, false);
    // Cost lines.
    row("gascombu.DB", "NumRegistro", T::AutoInc, 0, false);
    row("gascombu.DB", "NumViaje", T::Text, 9, false);
    row("gascombu.DB", "Mes", T::Short, 0, false);
    row("gascombu.DB", "Ano", T::Short, 0, false);
    row("gascombu.DB", "Lugar", T::Text, 150, false);
    row("gascombu.DB", "Litros", T::Number, 0, false);
    row("gascombu.DB", "Precio", T::Money, 0, false);
    row("gasviaje.DB", "Concepto", T::Text, 255, false);
    row("gasautop.DB", "Autopista", T::Text, 25, false);
    row("gasautop.DB", "Tramo", T::Text, 100, false);
    row("gasautop.DB", "Matricula", T::Text, 10, false);
    row("ConGasto.db", "Concepto", T::Text, 255, false);
    row("ConGasto.db", "Importe", T::Money, 0, false);
    // Invoices and lines.
    row("facturas.DB", "NumFactura", T::Text, 9, true);
    row("facturas.DB", "Fecha", T::Date, 0, true);
    row("facturas.DB", "C", T::Text, 20, false);
    row("facturas.DB", "CIF", T::Text, 16, false);
    row("facturas.DB", "Euros", T::Number, 0, false);
    row("facturas.DB", "Cambio", T::Number, 0, false);
    row("facturas.DB", "OtroImporte", T::Number, 0, false);
    row("facturas.DB", "Tbruto", T::Money, 0, false);
    row("facturas.DB", "Pagado", T::Logical, 0, false);
    row("facturas.DB", "Facturado", T::Logical, 0, false);
    row("detalle.DB", "NumRegistro", T::AutoInc, 0, false);
    row("detalle.DB", "IDPorte", T::Number, 0, false);
    row("detalle.DB", "IDReporte", T::Number, 0, false);
    row("detalle.DB", "Concepto", T::Text, 255, false);
    // Clients and places.
    row("cliente.DB", "CIF", T::Text, 16, false);
    row("cliente.DB", "Apellidos", T::Text, 150, false);
    row("cliente.DB", "EMail", T::Text, 255, false);
    row("cliente.DB", "Observacion", T::Memo, 240, false);
    row("cliente.DB", "CCCDC", T::Text, 2, false);
    row("Lugar.db", "Id", T::AutoInc, 0, false);
    row("Lugar.db", "Lugar", T::Text, 50, false);
    row("Lugar.db", "Pais", T::Text, 70, false);
    // Fleet.
    row("camiones.DB", "Tipo", T::Text, 8, false);
    row("camiones.DB", "FechaITV", T::Date, 0, false);
    row("Camioner.DB", "CIF", T::Text, 10, false);
    row("Camioner.DB", "Telefono", T::Text, 9, false);
    row("Camioner.DB", "SueldoBase", T::Money, 0, false);
    row("Camioner.DB", "PtsKm", T::Number, 0, false);
    row("Seguros.DB", "NumRegistro", T::AutoInc, 0, false);
    row("Seguros.DB", "Compañia", T::Text, 25, false);
    row("Seguros.DB", "Vencido", T::Text, 2, false);
    row("Seguros.DB", "IDCarga", T::Long, 0, false);
    row("Seguros.DB", "TipoCarga", T::Text, 20, false);
    row("Taller.DB", "NumRegistro", T::AutoInc, 0, false);
    row("Taller.DB", "Fecha", T::Date, 0, false);
    row("Taller.DB", "Matricula", T::Text, 10, false);
    row("Taller.DB", "Importe", T::Money, 0, false);
    row("Neumaticos.db", "ID", T::AutoInc, 0, false);
    row("Neumaticos.db", "Matricula", T::Text, 15, false);
    row("Neumaticos.db", "DiasTotales", T::Number, 0, false);
    row("Neumaticos.db", "Cambiado", T::Logical, 0, false);
    row("Neumaticos.db", "Observacion", T::Text, 255, false);
    // Expenses and results.
    row("Gastos.DB", "Numero", T::AutoInc, 0, false);
    row("Gastos.DB", "Tipo", T::Text, 30, false);
    row("Gastos.DB", "Pagado", T::Logical, 0, false);
    row("Gastos.DB", "PorcentajeIVA", T::Number, 0, false);
    row("Gastos.DB", "Euros", T::Number, 0, false);
    row("Gastos.DB", "IDCarga", T::Long, 0, false);
    row("Gastos.DB", "TipoCarga", T::Text, 20, false);
    row("detagast.DB", "NumRegistro", T::AutoInc, 0, false);
    row("detagast.DB", "NumeroGasto", T::Long, 0, false);
    row("detagast.DB", "Concepto", T::Text, 255, false);
    row("detagast.DB", "Cantidad", T::Number, 0, false);
    row("gastomes.DB", "NumReg", T::AutoInc, 0, false);
    row("gastomes.DB", "Mes", T::Short, 0, false);
    row("gastomes.DB", "Ano", T::Short, 0, false);
    row("gastomes.DB", "BeneficioToal", T::Money, 0, false);
    row("gastomes.DB", "AEspaña", T::Money, 0, false);
    row("gastomes.DB", "AITalia", T::Money, 0, false);
    row("gastomes.DB", "TotalLitros", T::Number, 0, false);
    row("gastomes.DB", "ConsumoMedio", T::Number, 0, false);
    row("gastomes.DB", "GastosTallerMantenimiento", T::Money, 0, false);
    row("KmCamioneroListadoViajes.DB", "Numero", T::Text, 9, false);
    row("KmCamioneroListadoViajes.DB", "Salida", T::Date, 0, false);
    row("KmCamioneroListadoViajes.DB", "KmViaje", T::Number, 0, false);
    row("KmCamioneroListadoViajes.DB", "Dias", T::Short, 0, false);
    row("KmCamioneroListadoViajes.DB", "PtaKm", T::Money, 0, false);
    // Registry and work table.
    row("empresas.db", "IDEmpresa", T::AutoInc, 0, false);
    row("empresas.db", "Id", T::Long, 0, false);
    row("empresas.db", "NombreEmpresa", T::Text, 50, true);
    row("empresas.db", "CP", T::Number, 0, false);
    row("empresas.db", "Cambio", T::Number, 0, false);
    row("empresas.db", "AjustarTamano", T::Logical, 0, false);
    row("empresas.db", "ACTIVA", T::Logical, 0, false);
    row("TT.DB", "Cliente", T::Text, 200, false);
    row("TT.DB", "I.Portes", T::Money, 0, false);
    row("TT.DB", "I.Reportes", T::Money, 0, false);
}

void TstSchema::fields() {
    QFETCH(QString, file);
    QFETCH(QString, field);
    QFETCH(FieldType, type);
    QFETCH(int, size);
    QFETCH(bool, required);
    const TableDef *t = tableByFile(file);
    QVERIFY2(t, qPrintable(file));
    const FieldDef *f = fieldOf(*t, field);
    QVERIFY2(f, qPrintable(file + ": " + field));
    QCOMPARE(f->name, field);
    QCOMPARE(int(f->type), int(type));
    QCOMPARE(f->size, size);
    QCOMPARE(f->required, required);
}

void TstSchema::nonAsciiNamesAreExact() {
    // Written as UTF-16 code units so the check does not depend on how this file is decoded.
    const QString compania = QStringLiteral("Compa\u00f1ia");
    const QString aEspana = QStringLiteral("AEspa\u00f1a");
    const FieldDef *f = fieldOf(*tableByFile("Seguros.DB"), compania);
    QVERIFY(f);
    QCOMPARE(f->name.size(), 8);
    f = fieldOf(*tableByFile("gastomes.DB"), aEspana);
    QVERIFY(f);
    QCOMPARE(f->name.size(), 7);
    // No other field carries a character outside ASCII.
    for (const TableDef *t : allTables())
        for (const FieldDef &fd : t->fields)
            if (fd.name != compania && fd.name != aEspana)
                for (QChar c : fd.name)
                    QVERIFY2(c.unicode() < 128, qPrintable(t->fileName + ": " + fd.name));
}

void TstSchema::fieldOrder_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("names");

    QTest::newRow("portes") << "portes.DB"
                            << QStringList{"ID",        "Numero",        "Fecha",
                                           "Matricula", "Transportista", "Carga",
                                           "Descarga",  "Precio",        "Facturado",
                                           "Pagado",    "Reportado",     "Observaciones"};
    QTest::newRow("reportes") << "reportes.DB"
                              << QStringList{"NumREgistro", "Numero", "Fecha",    "Transportista",
                                             "Matricula",   "Carga",  "Descarga", "Precio",
                                             "Facturado",   "Pagado", "Notas"};
    QTest::newRow("viaje") << "viaje.DB"
                           << QStringList{"NumViaje",
                                          "NumeroPorte",
                                          "NumeroReporte",
                                          "NumPorte",
                                          "CondCIF",
                                          "MatricTractor",
                                          "MatricRemolque",
                                          "Origen",
                                          "Destino",
                                          "FechaSalida",
                                          "FechaLlegada",
                                          "NumDias",
                                          "Kmsalida",
                                          "Kmllegada",
                                          "KmtTotales",
                                          "Anticipo",
                                          "Pagado",
                                          "NumTarjetaCombustible",
                                          "NumTarjetaAutopista",
                                          "TotalIngresos",
                                          "TotalCombustible",
                                          "TotalLitros",
                                          "PtaLitro",
                                          "TotalAutopista",
                                          "TotalOtrosGastos",
                                          "TotalCosteCamionero",
                                          "TotalGastos",
                                          "Beneficios",
                                          "PorcentajeBeneficio",
                                          "PrecioKm",
                                          "Consumo",
                                          "ConsumoMedio"};
    QTest::newRow("gasautop") << "gasautop.DB"
                              << QStringList{"NumRegistro", "NumViaje",  "Matricula", "Mes",
                                             "Ano",         "Autopista", "Tramo",     "Importe"};
    QTest::newRow("Seguros") << "Seguros.DB"
                             << QStringList{"NumRegistro", "Matricula",
                                            "Tipo",        QStringLiteral("Compa\u00f1ia"),
                                            "Importe",     "FechaPago",
                                            "Vencimiento", "Vencido",
                                            "IDCarga",     "TipoCarga"};
    QTest::newRow("Taller") << "Taller.DB"
                            << QStringList{"NumRegistro", "Fecha", "Matricula", "Importe"};
    QTest::newRow("detagast") << "detagast.DB"
                              << QStringList{"NumRegistro", "NumeroGasto", "Fecha",  "Concepto",
                                             "Cantidad",    "Precio",      "Importe"};
    QTest::newRow("gastomes") << "gastomes.DB"
                              << QStringList{"NumReg",
                                             "Matricula",
                                             "CIF",
                                             "Mes",
                                             "Ano",
                                             "TotalIngresos",
                                             "TotalGastos",
                                             "Beneficio",
                                             "BeneficioToal",
                                             "TotalGastosViaje",
                                             "Gasoil",
                                             "TotalLitros",
                                             "TotalKm",
                                             "ConsumoMedio",
                                             "TotalAutopistas",
                                             QStringLiteral("AEspa\u00f1a"),
                                             "AFrancia",
                                             "AITalia",
                                             "APortugal",
                                             "Tasas",
                                             "OtrasAutopistas",
                                             "OtrosGastos",
                                             "TotalOtrosGastos",
                                             "Sueldo",
                                             "CosteKm",
                                             "Impuestos",
                                             "Seguro",
                                             "SeguridadSocial",
                                             "Telefono",
                                             "GastosTaller",
                                             "GastosTallerMantenimiento",
                                             "GastosTallerRoturas"};
    QTest::newRow("KmCamionero") << "KmCamioneroListadoViajes.DB"
                                 << QStringList{"Numero",  "Salida",    "Llegada", "Origen",
                                                "Destino", "KmViaje",   "Dias",    "Ingresos",
                                                "Gastos",  "Ganancias", "PtaKm",   "ConsumoMedio"};
    QTest::newRow("empresas") << "empresas.db"
                              << QStringList{"IDEmpresa",   "Id",           "NombreEmpresa",
                                             "Ruta",        "Ficheros",     "FechaAlta",
                                             "FechaBaja",   "Moneda",       "Cambio",
                                             "Usuario",     "CIF",          "Domicilio",
                                             "Poblacion",   "Provincia",    "CP",
                                             "Telefono",    "Fax",          "Email",
                                             "Inscripcion", "RutaLogotipo", "AjustarTamano",
                                             "Nota",        "ACTIVA"};
    // Exactly the three stored fields of the totals by client.
    QTest::newRow("TT") << "TT.DB" << QStringList{"Cliente", "I.Portes", "I.Reportes"};
}

void TstSchema::fieldOrder() {
    QFETCH(QString, file);
    QFETCH(QStringList, names);
    const TableDef *t = tableByFile(file);
    QVERIFY2(t, qPrintable(file));
    QCOMPARE(fieldNames(*t), names);
}

void TstSchema::fieldCounts_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("count");
    QTest::newRow("portes") << "portes.DB" << 12;
    QTest::newRow("reportes") << "reportes.DB" << 11;
    QTest::newRow("viaje") << "viaje.DB" << 32;
    QTest::newRow("gascombu") << "gascombu.DB" << 9;
    QTest::newRow("gasviaje") << "gasviaje.DB" << 7;
    QTest::newRow("gasautop") << "gasautop.DB" << 8;
    QTest::newRow("ConGasto") << "ConGasto.db" << 2;
    QTest::newRow("facturas") << "facturas.DB" << 20;
    QTest::newRow("detalle") << "detalle.DB" << 10;
    QTest::newRow("cliente") << "cliente.DB" << 17;
    QTest::newRow("Lugar") << "Lugar.db" << 3;
    QTest::newRow("camiones") << "camiones.DB" << 5;
    QTest::newRow("Camioner") << "Camioner.DB" << 10;
    QTest::newRow("Seguros") << "Seguros.DB" << 10;
    QTest::newRow("Taller") << "Taller.DB" << 4;
    QTest::newRow("Neumaticos") << "Neumaticos.db" << 15;
    QTest::newRow("Gastos") << "Gastos.DB" << 12;
    QTest::newRow("detagast") << "detagast.DB" << 7;
    QTest::newRow("gastomes") << "gastomes.DB" << 32;
    QTest::newRow("KmCamionero") << "KmCamioneroListadoViajes.DB" << 12;
    QTest::newRow("empresas") << "empresas.db" << 23;
    QTest::newRow("TT") << "TT.DB" << 3;
}

void TstSchema::fieldCounts() {
    QFETCH(QString, file);
    QFETCH(int, count);
    const TableDef *t = tableByFile(file);
    QVERIFY2(t, qPrintable(file));
    QCOMPARE(t->fields.size(), count);
}

void TstSchema::requiredFieldsAreExactlyTheSpecifiedOnes() {
    QStringList required;
    for (const TableDef *t : allTables())
        for (const FieldDef &f : t->fields)
            if (f.required)
                required << t->fileName + '.' + f.name;
    const QStringList expected{
        "portes.DB.Numero",       "portes.DB.Fecha",   "portes.DB.Matricula",
        "portes.DB.Facturado",    "portes.DB.Pagado",  "portes.DB.Reportado",
        "facturas.DB.NumFactura", "facturas.DB.Fecha", "empresas.db.NombreEmpresa",
    };
    QCOMPARE(required, expected);
}

void TstSchema::namedIndexes_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("index");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<bool>("unique");

    // Every index the specification names, with the name the windows use.
    QTest::newRow("gascombu") << "gascombu.DB"
                              << "GasCombuNumViaje" << QStringList{"NumViaje"} << false;
    QTest::newRow("gasviaje") << "gasviaje.DB"
                              << "NumViaje" << QStringList{"NumViaje"} << false;
    QTest::newRow("gasautop") << "gasautop.DB"
                              << "GasAutopNumViaje" << QStringList{"NumViaje"} << false;
    QTest::newRow("detalle") << "detalle.DB"
                             << "NumeroFactura" << QStringList{"NumFactura"} << false;
    QTest::newRow("cliente") << "cliente.DB"
                             << "CIFCliente" << QStringList{"CIF"} << true;
    QTest::newRow("camiones") << "camiones.DB"
                              << "MatriculaV" << QStringList{"Matricula"} << false;
    QTest::newRow("Taller") << "Taller.DB"
                            << "MatriculaV" << QStringList{"Matricula"} << false;
    QTest::newRow("Seguros") << "Seguros.DB"
                             << "Matricula" << QStringList{"Matricula"} << false;
    QTest::newRow("Neumaticos") << "Neumaticos.db"
                                << "NeumaticosMatricula" << QStringList{"Matricula"} << false;
    QTest::newRow("detagast") << "detagast.DB"
                              << "DetalleGastoNumeroGasto" << QStringList{"NumeroGasto"} << false;
    QTest::newRow("TT") << "TT.DB"
                        << "IndiceCliente" << QStringList{"Cliente"} << true;
    // The link of a haul or report number to its trip.
    QTest::newRow("viaje NumPorte") << "viaje.DB"
                                    << "NumPorte" << QStringList{"NumPorte"} << false;
    QTest::newRow("gastomes Mes Ano") << "gastomes.DB"
                                      << "PorMesAno" << QStringList{"Mes", "Ano"} << false;
}

void TstSchema::namedIndexes() {
    QFETCH(QString, file);
    QFETCH(QString, index);
    QFETCH(QStringList, fields);
    QFETCH(bool, unique);
    const TableDef *t = tableByFile(file);
    QVERIFY2(t, qPrintable(file));
    const IndexDef *i = indexOf(*t, index);
    QVERIFY2(i, qPrintable(file + ": " + index));
    QCOMPARE(i->fields, fields);
    QCOMPARE(i->unique, unique);
}

void TstSchema::uniqueKeys_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("key");

    // Every "Unique:" of Parts 2.1 and 2.2, the registry's code and the work table's index.
    QTest::newRow("portes") << "portes.DB" << QStringList{"Numero"};
    QTest::newRow("reportes") << "reportes.DB" << QStringList{"Numero"};
    QTest::newRow("viaje") << "viaje.DB" << QStringList{"NumViaje"};
    QTest::newRow("facturas") << "facturas.DB" << QStringList{"NumFactura"};
    QTest::newRow("cliente") << "cliente.DB" << QStringList{"CIF"};
    QTest::newRow("Lugar") << "Lugar.db" << QStringList{"Lugar"};
    QTest::newRow("camiones") << "camiones.DB" << QStringList{"Matricula"};
    QTest::newRow("Camioner") << "Camioner.DB" << QStringList{"CIF"};
    QTest::newRow("Gastos") << "Gastos.DB" << QStringList{"Numero"};
    QTest::newRow("empresas") << "empresas.db" << QStringList{"Id"};
    QTest::newRow("TT") << "TT.DB" << QStringList{"Cliente"};
}

void TstSchema::uniqueKeys() {
    QFETCH(QString, file);
    QFETCH(QStringList, key);
    const TableDef *t = tableByFile(file);
    QVERIFY2(t, qPrintable(file));
    int unique = 0;
    bool found = false;
    for (const IndexDef &i : t->indexes)
        if (i.unique) {
            ++unique;
            found = found || i.fields == key;
        }
    QVERIFY2(found, qPrintable(file));
    QCOMPARE(unique, 1); // no other field is unique: plates, CIFs and names repeat elsewhere
}

void TstSchema::primaryOrders_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("order");

    const QMap<QString, QStringList> expected{
        {"portes.DB", {"Numero"}},       {"reportes.DB", {"Numero"}}, {"viaje.DB", {"NumViaje"}},
        {"facturas.DB", {"NumFactura"}}, {"cliente.DB", {"CIF"}},     {"Lugar.db", {"Lugar"}},
        {"camiones.DB", {"Matricula"}},  {"Camioner.DB", {"CIF"}},    {"Gastos.DB", {"Numero"}},
        {"empresas.db", {"Id"}},         {"TT.DB", {"Cliente"}},
    };
    for (const TableDef *t : allTables())
        QTest::newRow(qPrintable(t->fileName)) << t->fileName << expected.value(t->fileName);
}

void TstSchema::primaryOrders() {
    QFETCH(QString, file);
    QFETCH(QStringList, order);
    const TableDef *t = tableByFile(file);
    QVERIFY2(t, qPrintable(file));
    QCOMPARE(t->primaryOrder, order);
}

void TstSchema::windowOrdersHaveAnIndex_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("order");

    auto row = [](const char *file, const char *order) {
        QTest::addRow("%s by %s", file, order)
            << QString::fromUtf8(file) << QString::fromUtf8(order);
    };
    // Parts 2.1, 2.2 and the order buttons of the windows (3.1, 4.3, 5.1, 5.3, 6.1, 6.3, 7.1,
    // 7.2, 8.1) and the detail links (2.1, 6.1, 7.1).
    for (const char *o : {"Numero", "Fecha", "ID", "Transportista", "Matricula"})
        row("portes.DB", o);
    row("reportes.DB", "Numero");
    for (const char *o : {"NumViaje", "FechaSalida", "FechaLlegada", "CondCIF", "Destino",
                          "MatricTractor", "MatricRemolque", "Origen", "NumPorte"})
        row("viaje.DB", o);
    row("gascombu.DB", "NumViaje");
    row("gasviaje.DB", "NumViaje");
    row("gasautop.DB", "NumViaje");
    for (const char *o : {"NumFactura", "Fecha", "CIF"})
        row("facturas.DB", o);
    row("detalle.DB", "NumFactura");
    row("cliente.DB", "CIF");
    row("cliente.DB", "Apellidos");
    row("Lugar.db", "Lugar");
    row("camiones.DB", "Matricula");
    row("camiones.DB", "CIF");
    row("Camioner.DB", "CIF");
    row("Camioner.DB", "Apellidos");
    row("Seguros.DB", "Matricula");
    row("Neumaticos.db", "Matricula");
    for (const char *o : {"Numero", "Fecha", "Matricula"})
        row("Gastos.DB", o);
    row("detagast.DB", "NumeroGasto");
    row("gastomes.DB", "Matricula");
    row("gastomes.DB", "Mes;Ano");
    row("empresas.db", "Id");
    row("empresas.db", "NombreEmpresa");
    row("TT.DB", "Cliente");
}

void TstSchema::windowOrdersHaveAnIndex() {
    QFETCH(QString, file);
    QFETCH(QString, order);
    const TableDef *t = tableByFile(file);
    QVERIFY2(t, qPrintable(file));
    QVERIFY2(orderServed(*t, order.split(';')), qPrintable(file + " by " + order));
}

void TstSchema::detailLinksMatchTheirMaster_data() {
    QTest::addColumn<QString>("masterFile");
    QTest::addColumn<QString>("masterField");
    QTest::addColumn<QString>("detailFile");
    QTest::addColumn<QString>("detailIndex");

    QTest::newRow("fuel") << "viaje.DB"
                          << "NumViaje"
                          << "gascombu.DB"
                          << "GasCombuNumViaje";
    QTest::newRow("other costs") << "viaje.DB"
                                 << "NumViaje"
                                 << "gasviaje.DB"
                                 << "NumViaje";
    QTest::newRow("tolls") << "viaje.DB"
                           << "NumViaje"
                           << "gasautop.DB"
                           << "GasAutopNumViaje";
    QTest::newRow("invoice lines") << "facturas.DB"
                                   << "NumFactura"
                                   << "detalle.DB"
                                   << "NumeroFactura";
    QTest::newRow("insurance") << "camiones.DB"
                               << "Matricula"
                               << "Seguros.DB"
                               << "Matricula";
    QTest::newRow("tyres") << "camiones.DB"
                           << "Matricula"
                           << "Neumaticos.db"
                           << "NeumaticosMatricula";
    QTest::newRow("expense lines") << "Gastos.DB"
                                   << "Numero"
                                   << "detagast.DB"
                                   << "DetalleGastoNumeroGasto";
    QTest::newRow("client of an invoice") << "facturas.DB"
                                          << "CIF"
                                          << "cliente.DB"
                                          << "CIFCliente";
}

void TstSchema::detailLinksMatchTheirMaster() {
    QFETCH(QString, masterFile);
    QFETCH(QString, masterField);
    QFETCH(QString, detailFile);
    QFETCH(QString, detailIndex);
    const TableDef *master = tableByFile(masterFile);
    const TableDef *detail = tableByFile(detailFile);
    QVERIFY(master && detail);
    const FieldDef *key = fieldOf(*master, masterField);
    QVERIFY(key);
    const IndexDef *idx = indexOf(*detail, detailIndex);
    QVERIFY(idx);
    QCOMPARE(idx->fields.size(), 1);
    const FieldDef *link = fieldOf(*detail, idx->fields.first());
    QVERIFY(link);
    // A text key is held in a text link at least as wide; a number (the expense's auto-increment)
    // in a number.
    QCOMPARE(link->isText(), key->isText());
    if (key->isText())
        QVERIFY(link->size >= key->size);
    else
        QVERIFY(link->type != FieldType::AutoInc);
}

QTEST_GUILESS_MAIN(TstSchema)
#include "tst_schema.moc"
