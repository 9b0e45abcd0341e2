#include "store/StoreFiles.h"

#include "store/Connection.h"

#include <QDir>
#include <QFileInfo>

namespace StoreFiles {

QString templateFile(const QString &programFolder) {
    return QDir(programFolder)
        .filePath(QStringLiteral("Tablas/") + QString::fromLatin1(Connection::kCompanyFile));
}

void ensureTemplate(const QString &programFolder) {
    const QString file = templateFile(programFolder);
    if (!QFileInfo::exists(file))
        Connection::createDatabase(file, Connection::companySchema());
}

QString registryFile(const QString &programFolder) {
    return QDir(programFolder).filePath(QStringLiteral("empresas.db"));
}

void ensureRegistry(const QString &programFolder) {
    const QString file = registryFile(programFolder);
    if (!QFileInfo::exists(file))
        Connection::createDatabase(file, {&Schema::registry()});
}

QString workTableFile(const QString &programFolder) {
    return QDir(programFolder).filePath(QStringLiteral("TEMP/tt.db"));
}

void ensureWorkTable(const QString &programFolder) {
    const QString file = workTableFile(programFolder);
    if (!QFileInfo::exists(file))
        Connection::createDatabase(file, {&Schema::workTableTT()});
}

} // namespace StoreFiles
