#include "app/Programa.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
QString g_carpeta;
QString g_nombre;
} // namespace

namespace Programa {

QString titulo() {
    return QStringLiteral("Dudovuv oz aruduradore");
}
QString version() {
    return QStringLiteral("3.5.3.1553 (02-12-2002)");
}

QString carpeta() {
    if (!g_carpeta.isEmpty())
        return g_carpeta;
    const QString home = qEnvironmentVariable("VELMORA_HOME");
    if (!home.isEmpty())
        return QDir(home).absolutePath();
    return QCoreApplication::applicationDirPath();
}

void fijarCarpeta(const QString &folder) {
    g_carpeta = folder;
}

void fijarNombreEjecutable(const QString &baseName) {
    g_nombre = baseName;
}

QString ficheroIni() {
    QString nombre = g_nombre;
    if (nombre.isEmpty())
        nombre = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    if (nombre.isEmpty())
        nombre = QStringLiteral("Velmora");
    return QDir(carpeta()).filePath(nombre + QStringLiteral(".INI"));
}

QString carpetaTablas() {
    return QDir(carpeta()).filePath(QStringLiteral("Tablas"));
}
QString carpetaTemp() {
    return QDir(carpeta()).filePath(QStringLiteral("TEMP"));
}
QString carpetaAyuda() {
    return QDir(carpeta()).filePath(QStringLiteral("ayuda"));
}
QString ficheroAyuda() {
    return QDir(carpetaAyuda()).filePath(QStringLiteral("ayuda.html"));
}

QString ficheroBloqueo() {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    return QDir(dir).filePath(titulo() + QStringLiteral(".lock"));
}

} // namespace Programa
