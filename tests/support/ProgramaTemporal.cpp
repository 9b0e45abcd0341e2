#include "ProgramaTemporal.h"

#include "app/Configuracion.h"
#include "app/IniFile.h"
#include "app/Programa.h"
#include "store/Connection.h"
#include "store/Schema.h"
#include "store/Statement.h"

#include <QDate>
#include <QDir>
#include <sqlite3.h>

ProgramaTemporal::ProgramaTemporal() {
    Programa::fijarCarpeta(m_dir.path());
    Programa::fijarNombreEjecutable(QStringLiteral("Velmora"));
    // The single-instance lock of each test lives in its own folder.
    QDir().mkpath(ruta(QStringLiteral("run")));
    QFile::setPermissions(ruta(QStringLiteral("run")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", ruta(QStringLiteral("run")).toLocal8Bit());
}

ProgramaTemporal::~ProgramaTemporal() {
    Programa::fijarCarpeta(QString());
}

QString ProgramaTemporal::ini() const {
    return Programa::ficheroIni();
}

QString ProgramaTemporal::ruta(const QString &relative) const {
    return m_dir.filePath(relative);
}

QString ProgramaTemporal::crearEmpresa(int codigo, const QString &nombre, bool configurar) {
    const QString carpetaEmpresa = ruta(QStringLiteral("Emp%1").arg(codigo));
    Connection::createDatabase(
        QDir(carpetaEmpresa).filePath(QString::fromLatin1(Connection::kCompanyFile)),
        Connection::companySchema());
    if (configurar) {
        IniFile f(ini());
        f.writeString(Clave::Empresa, Clave::Ruta, carpetaEmpresa);
        f.writeInteger(Clave::Empresa, Clave::Codigo, codigo);
        f.writeString(Clave::Empresa, Clave::Nombre, nombre);
        f.writeString(Clave::Empresa, Clave::Moneda, QStringLiteral("Euros"));
        f.writeDate(Clave::Empresa, Clave::Inicio, QDate(2005, 1, 1));
        f.writeDate(Clave::Empresa, Clave::Fin, QDate(2005, 12, 31));
    }
    return carpetaEmpresa;
}

qint64 ProgramaTemporal::insertar(Connection &db, const QString &tabla,
                                  const QVariantMap &valores) {
    const TableDef *def = Schema::find(tabla);
    Q_ASSERT(def);
    QStringList cols, marks;
    QVariantList binds;
    for (auto it = valores.begin(); it != valores.end(); ++it) {
        const FieldDef *f = def->field(it.key());
        Q_ASSERT_X(f, "insertar", qPrintable(it.key()));
        cols << Schema::quoteIdent(f->name);
        marks << QStringLiteral("?");
        binds << it.value();
    }
    Statement st(db.handle(),
                 QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                     .arg(Schema::quoteIdent(def->sqlName), cols.join(','), marks.join(',')));
    st.bindAll(binds);
    st.exec();
    db.touch(def->sqlName);
    return sqlite3_last_insert_rowid(db.handle());
}
