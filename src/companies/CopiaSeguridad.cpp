#include "companies/CopiaSeguridad.h"

#include "app/IniFile.h"
#include "store/Connection.h"
#include "store/StoreFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QVariant>
#include <cstdio>
#include <memory>

namespace CopiaSeguridad {
namespace {

const QString kEmpresa = QStringLiteral("Empresa");
const QString kCopia = QStringLiteral("Copia Seguridad");

QString normalizada(const QString &carpeta) {
    return QDir::cleanPath(QFileInfo(carpeta).absoluteFilePath());
}

std::unique_ptr<Connection> registro(const QString &carpetaPrograma) {
    StoreFiles::ensureRegistry(carpetaPrograma);
    auto c = std::make_unique<Connection>(QStringLiteral("REGISTRO_COPIA"));
    c->setDatabaseFile(StoreFiles::registryFile(carpetaPrograma));
    c->setTables({&Schema::registry()});
    c->open();
    return c;
}

} // namespace

bool destinoPermitido(const QString &destino, const QString &carpetaEmpresa,
                      const QString &carpetaPrograma) {
    const QString d = normalizada(destino);
    const QStringList prohibidas = {normalizada(carpetaEmpresa), normalizada(carpetaPrograma),
                                    normalizada(QDir(carpetaPrograma).filePath("Tablas")),
                                    QDir::rootPath()};
    for (const QString &p : prohibidas)
        if (d.compare(p, Qt::CaseInsensitive) == 0)
            return false;
    return true;
}

bool escribirLog(const Empresa &empresa, const QString &carpetaPrograma, const QDateTime &ahora) {
    IniFile log(QDir(empresa.carpeta).filePath(kLog));
    bool ok = log.writeString(kEmpresa, QStringLiteral("Nombre"), empresa.nombre) &&
              log.writeString(kEmpresa, QStringLiteral("Ruta"), empresa.carpeta) &&
              log.writeDate(kCopia, QStringLiteral("Fecha"), ahora.date()) &&
              log.writeString(kCopia, QStringLiteral("Hora"),
                              ahora.time().toString(QStringLiteral("HH:mm:ss"))) &&
              log.writeString(kCopia, QStringLiteral("Usuario"), empresa.usuario);
    if (!ok)
        return false;
    std::unique_ptr<Connection> reg;
    try {
        reg = registro(carpetaPrograma);
    } catch (...) {
        return true; // without a registry the log names the company only
    }
    Statement &st = reg->cached(QStringLiteral(
        "SELECT Id, FechaAlta, FechaBaja, Moneda, Cambio, Nota, Usuario, CIF, Domicilio, "
        "Poblacion, Provincia, CP, Telefono, Fax, Email, RutaLogotipo, AjustarTamano FROM "
        "empresas WHERE Id = ? LIMIT 1"));
    st.bind(1, empresa.codigo);
    if (!st.step()) {
        st.reset();
        return true;
    }
    ok = log.writeInteger(kEmpresa, QStringLiteral("ID"), int(st.columnInt64(0)));
    // Empty registry values are not written: the log keeps what an earlier backup wrote.
    auto texto = [&](int col, const char *clave) {
        const QString v = st.column(col).toString();
        if (!v.isEmpty())
            ok = ok && log.writeString(kEmpresa, QString::fromLatin1(clave), v);
    };
    auto fecha = [&](int col, const char *clave) {
        const QDate d = st.columnAs(col, FieldType::Date).toDate();
        if (d.isValid())
            ok = ok && log.writeDate(kEmpresa, QString::fromLatin1(clave), d);
    };
    auto real = [&](int col, const char *clave) {
        if (!st.column(col).isNull())
            ok = ok && log.writeFloat(kEmpresa, QString::fromLatin1(clave), st.columnDouble(col));
    };
    fecha(1, "FechaAlta");
    fecha(2, "FechaBaja");
    texto(3, "Moneda");
    real(4, "Cambio");
    texto(5, "Nota");
    texto(6, "Usuario");
    texto(7, "CIF");
    texto(8, "Domicilio");
    texto(9, "Poblacion");
    texto(10, "Provincia");
    real(11, "CP");
    texto(12, "Telefono");
    texto(13, "Fax");
    texto(14, "EMail");
    texto(15, "Rutalogotipo");
    if (!st.column(16).isNull())
        ok =
            ok && log.writeBool(kEmpresa, QStringLiteral("AjustarTamano"), st.columnInt64(16) != 0);
    st.reset();
    return ok && log.writeString(kEmpresa, QStringLiteral("Ficheros"), QStringLiteral("1"));
}

Datos leerLog(const QString &carpeta) {
    Datos d;
    const QString fichero = QDir(carpeta).filePath(kLog);
    if (!QFileInfo::exists(fichero))
        return d;
    const IniFile log(fichero);
    d.nombre = log.readString(kEmpresa, QStringLiteral("Nombre"), QString());
    d.id = log.readInteger(kEmpresa, QStringLiteral("ID"), 0);
    d.ruta = log.readString(kEmpresa, QStringLiteral("Ruta"), QString());
    d.fecha = log.readDate(kCopia, QStringLiteral("Fecha"), QDate::currentDate());
    const QTime hora = QTime::fromString(log.readString(kCopia, QStringLiteral("Hora"), QString()),
                                         QStringLiteral("HH:mm:ss"));
    d.hora = hora.isValid() ? hora : QTime::currentTime();
    d.usuario = log.readString(kCopia, QStringLiteral("Usuario"), QString());
    return d;
}

bool copiarFicheros(const QString &desde, const QString &hasta,
                    const std::function<void(const QString &)> &antesDeCopiar, QString *fallido) {
    const QDir origen(desde);
    const QDir destino(hasta);
    for (const QFileInfo &f : origen.entryInfoList(QDir::Files | QDir::Hidden, QDir::Name)) {
        if (antesDeCopiar)
            antesDeCopiar(f.fileName());
        const QString final = destino.filePath(f.fileName());
        const QString temporal = final + QStringLiteral(".copiando");
        QFile::remove(temporal);
        bool ok = QFile::copy(f.absoluteFilePath(), temporal);
        if (ok) {
            // The new file replaces the old one in a single rename.
            ok = std::rename(QFile::encodeName(temporal).constData(),
                             QFile::encodeName(final).constData()) == 0;
        }
        if (!ok) {
            QFile::remove(temporal);
            if (fallido)
                *fallido = f.fileName();
            return false;
        }
    }
    return true;
}

void registrarEmpresa(const QString &carpetaPrograma, const QString &carpetaCopia,
                      const QDate &hoy) {
    const IniFile log(QDir(carpetaCopia).filePath(kLog));
    const int id = log.readInteger(kEmpresa, QStringLiteral("ID"), 0);
    std::unique_ptr<Connection> reg = registro(carpetaPrograma);
    Statement &existe = reg->cached(QStringLiteral("SELECT 1 FROM empresas WHERE Id = ?"));
    existe.bind(1, id);
    const bool hay = existe.step();
    existe.reset();
    if (hay)
        return;
    auto texto = [&](const char *clave, const QString &def = QString()) -> QVariant {
        const QString v = log.readString(kEmpresa, QString::fromLatin1(clave), def);
        return v.isEmpty() ? QVariant() : QVariant(v);
    };
    Statement &st = reg->cached(QStringLiteral(
        "INSERT INTO empresas (NombreEmpresa, Id, Ruta, Ficheros, FechaAlta, FechaBaja, Moneda, "
        "Cambio, Nota, Usuario, CIF, Domicilio, Poblacion, Provincia, Telefono, Fax, Email, CP, "
        "RutaLogotipo, AjustarTamano) VALUES (?, ?, ?, 1, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, "
        "?, ?, ?)"));
    st.bindAll({texto("Nombre"), id, texto("Ruta"),
                log.readDate(kEmpresa, QStringLiteral("FechaAlta"), hoy),
                log.readDate(kEmpresa, QStringLiteral("FechaBaja"), hoy),
                texto("Moneda", QStringLiteral("pta")),
                log.readFloat(kEmpresa, QStringLiteral("Cambio"), 1), texto("Nota"),
                texto("Usuario"), texto("CIF"), texto("Domicilio"), texto("Poblacion"),
                texto("Provincia"), texto("Telefono"), texto("Fax"), texto("EMail"),
                log.readFloat(kEmpresa, QStringLiteral("CP"), 0), texto("Rutalogotipo"),
                log.readBool(kEmpresa, QStringLiteral("AjustarTamano"), false)});
    st.exec();
    st.reset();
}

} // namespace CopiaSeguridad
