#pragma once

#include <QString>

// The database files that live in the program folder rather than in a company folder.
namespace StoreFiles {

// "Tablas/datos.db": the empty company tables every new company starts from.
QString templateFile(const QString &programFolder);
// Creates the template from the schema when it is missing.
void ensureTemplate(const QString &programFolder);

// "empresas.db": the company registry.
QString registryFile(const QString &programFolder);
void ensureRegistry(const QString &programFolder);

// "TEMP/tt.db": the work table "TT.DB", created with its folder when missing.
QString workTableFile(const QString &programFolder);
void ensureWorkTable(const QString &programFolder);

} // namespace StoreFiles
