#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <functional>

// A backup is a plain folder holding a copy of every file directly in a company folder, with the
// backup log "CopiaSeguridad.log" that names the company, its folder, the moment and the user,
// and the company's registry data, so that it can be restored where the registry lacks it.
namespace CopiaSeguridad {

inline const QString kLog = QStringLiteral("CopiaSeguridad.log");

// The open company as the backup reads it.
struct Empresa {
    int codigo = 0;
    QString nombre;
    QString carpeta;
    QString usuario;
};

// What a backup folder's log says; empty when it has none.
struct Datos {
    QString nombre;
    int id = 0;
    QString ruta;
    QDate fecha;
    QTime hora;
    QString usuario;
    // A log that names a company or a folder.
    bool encontrada() const { return !nombre.isEmpty() || !ruta.isEmpty(); }
};

// A backup may not go into the company folder itself, the program folder, its "Tablas" folder
// or the root of the file system.
bool destinoPermitido(const QString &destino, const QString &carpetaEmpresa,
                      const QString &carpetaPrograma);

// Writes (updates in place) the log in the company folder, with the registry record of the
// company's code when the registry has one. False when the log could not be written.
bool escribirLog(const Empresa &empresa, const QString &carpetaPrograma, const QDateTime &ahora);

Datos leerLog(const QString &carpeta);

// Copies every file directly in `desde` into `hasta` under the same name, each through a
// temporary file renamed over the old one, so that a failed copy never leaves a file half
// written. Told the name before each copy. False, with the file that failed, on the first error;
// the files copied before stay.
bool copiarFicheros(const QString &desde, const QString &hasta,
                    const std::function<void(const QString &fichero)> &antesDeCopiar,
                    QString *fallido = nullptr);

// Adds to the registry the company the log of `carpetaCopia` names, when no record has its code;
// a record that exists stays as it is. Throws StoreError.
void registrarEmpresa(const QString &carpetaPrograma, const QString &carpetaCopia,
                      const QDate &hoy = QDate::currentDate());

} // namespace CopiaSeguridad
