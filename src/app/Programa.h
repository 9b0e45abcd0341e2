#pragma once

#include <QString>

// Where the program keeps its files: the program folder is the executable's folder, or the one
// named by VELMORA_HOME when it is set.
namespace Programa {

QString titulo();  // the application title
QString version(); // the version text

QString carpeta();
void fijarCarpeta(const QString &folder); // tests and tools point it elsewhere
// The configuration file: the executable's name with ".INI", in the program folder.
QString ficheroIni();
void fijarNombreEjecutable(const QString &baseName);

QString carpetaTablas();
QString carpetaTemp();
QString carpetaAyuda();
QString ficheroAyuda();
// Where the single-instance lock lives: the user's runtime folder.
QString ficheroBloqueo();

} // namespace Programa
