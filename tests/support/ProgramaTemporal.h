#pragma once

#include <QString>
#include <QTemporaryDir>
#include <QVariantMap>

class Connection;

// A throw-away program folder for one test: the configuration file "Velmora.INI", and company
// folders made from the schema.
class ProgramaTemporal {
public:
    ProgramaTemporal();
    ~ProgramaTemporal();

    QString carpeta() const { return m_dir.path(); }
    QString ini() const;
    QString ruta(const QString &relative) const;

    // Creates the folder "Emp<codigo>" with an empty company database and, when `configurar`,
    // writes the company into the configuration file as the one to open.
    QString crearEmpresa(int codigo, const QString &nombre, bool configurar = true);

    // Adds a record with the given field values, straight through SQL.
    static qint64 insertar(Connection &db, const QString &tabla, const QVariantMap &valores);

private:
    QTemporaryDir m_dir;
};
