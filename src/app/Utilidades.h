#pragma once

#include <QDate>
#include <QString>

class QProcess;

// Small operations any window may use.

// The date of that day (invalid when there is no such day).
QDate Fecha(int dia, int mes, int ano);

// The Spanish name of month 1 to 12 into `nombre`; any other number leaves it unchanged.
void Mes(int mes, QString &nombre);

// Starts a program with its parameters in a window of its own. Throws std::runtime_error
// with `mensajeError` when it cannot start.
QProcess *Ejecutar(const QString &programa, const QString &parametros, const QString &mensajeError);

// Waits until the process ends, keeping the windows responsive; returns early when the
// application is ending.
void Esperar(QProcess *proceso);

// The desktop folders the tools menu offers.
enum class CarpetaEscritorio { RedLocal, Impresoras };
// The desktop program that shows it, or empty when this desktop has none.
QString programaCarpeta(CarpetaEscritorio carpeta);
void Carpeta(CarpetaEscritorio carpeta);

// The first of the known desktop calculators installed here, or empty.
QString calculadoraDelEscritorio();
