#include "app/Informacion.h"

#include "app/Configuracion.h"
#include "store/Dates.h"
#include "store/Schema.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QScreen>
#include <QSysInfo>

namespace Informacion {
namespace {

QString tipoCampo(FieldType t) {
    switch (t) {
    case FieldType::Text:
        return QStringLiteral("String");
    case FieldType::Memo:
        return QStringLiteral("Memo");
    case FieldType::Date:
        return QStringLiteral("Date");
    case FieldType::Number:
        return QStringLiteral("Float");
    case FieldType::Money:
        return QStringLiteral("Currency");
    case FieldType::Short:
        return QStringLiteral("SmallInt");
    case FieldType::Long:
        return QStringLiteral("Integer");
    case FieldType::Logical:
        return QStringLiteral("Boolean");
    case FieldType::AutoInc:
        return QStringLiteral("AutoInc");
    }
    return QString();
}

// The value of a "clave: valor" line of a /proc file; empty when missing.
QString valorProc(const QString &fichero, const QString &clave) {
    QFile f(fichero);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return QString();
    const QStringList lineas = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
    for (const QString &l : lineas) {
        const int dos = int(l.indexOf(QLatin1Char(':')));
        if (dos > 0 && l.left(dos).trimmed() == clave)
            return l.mid(dos + 1).trimmed();
    }
    return QString();
}

// A /proc/meminfo figure, in kilobytes.
qint64 memoria(const QString &clave) {
    return valorProc(QStringLiteral("/proc/meminfo"), clave)
        .section(QLatin1Char(' '), 0, 0)
        .toLongLong();
}

QString kb(qint64 kilobytes) {
    QString n = QString::number(kilobytes);
    for (int i = int(n.size()) - 3; i > 0; i -= 3)
        n.insert(i, QLatin1Char('.'));
    return n + QStringLiteral(" KB");
}

QString servidorDns() {
    QFile f(QStringLiteral("/etc/resolv.conf"));
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return QString();
    for (const QString &l : QString::fromUtf8(f.readAll()).split(QLatin1Char('\n')))
        if (l.startsWith(QLatin1String("nameserver")))
            return l.section(QRegularExpression(QStringLiteral("\\s+")), 1, 1);
    return QString();
}

QString usuarioDelSistema() {
    for (const char *v : {"USER", "LOGNAME"})
        if (const QString u = qEnvironmentVariable(v); !u.isEmpty())
            return u;
    return QDir::home().dirName();
}

} // namespace

QString letraDni(const QString &numero, bool *ok) {
    static const char letras[] = "TRWAGMYFPDXBNJZSQVHLCKE";
    if (ok)
        *ok = true;
    const QString t = numero.trimmed();
    if (t.isEmpty())
        return QStringLiteral(" ");
    bool valido = false;
    const qlonglong n = t.toLongLong(&valido);
    if (!valido || n < 0) {
        if (ok)
            *ok = false;
        return QString();
    }
    return QString(QLatin1Char(letras[n % 23]));
}

QStringList describirCampos(const TableDef &tabla) {
    QStringList out{QStringLiteral("***** TABLA:  ") + tabla.fileName +
                    QStringLiteral("  Campos:")};
    for (int i = 0; i < tabla.fields.size(); ++i) {
        const FieldDef &f = tabla.fields[i];
        QString l = QLatin1Char('\t') + f.name + QLatin1Char(' ') + tipoCampo(f.type);
        const int tamano = f.isText() ? f.size : 0;
        if (tamano != 0)
            l += QStringLiteral("(%1)").arg(tamano);
        if (f.required)
            l += QStringLiteral(" Requerido");
        if (i + 1 < tabla.fields.size())
            l += QLatin1Char(',');
        out << l;
    }
    out << QStringLiteral(")");
    return out;
}

QString comoTexto(const QList<Linea> &arbol) {
    QString out;
    for (const Linea &l : arbol)
        out += QString(l.nivel, QLatin1Char('\t')) + l.texto + QLatin1Char('\n');
    return out;
}

QList<Linea> desdeTexto(const QString &texto) {
    QList<Linea> out;
    for (const QString &l : texto.split(QLatin1Char('\n'))) {
        if (l.trimmed().isEmpty())
            continue;
        int nivel = 0;
        while (nivel < l.size() && l[nivel] == QLatin1Char('\t'))
            ++nivel;
        out << Linea{nivel, l.mid(nivel)};
    }
    return out;
}

QList<Linea> arbolDelSistema() {
    const qint64 total = memoria(QStringLiteral("MemTotal"));
    const qint64 libre = memoria(QStringLiteral("MemAvailable"));
    const int carga = total > 0 ? int((total - libre) * 100 / total) : 0;
    QString resolucion, monitor;
    int monitores = 0;
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        monitores = int(QGuiApplication::screens().size());
        if (QScreen *s = QGuiApplication::primaryScreen()) {
            resolucion = QStringLiteral("%1x%2").arg(s->size().width()).arg(s->size().height());
            monitor = s->name();
        }
    }
    const ValoresPrincipales *v = ValoresPrincipales::instancia();
    const AjustesEmpresa a = v ? v->ajustes : AjustesEmpresa();
    auto fecha = [](const QDate &d) { return d.isValid() ? Dates::shortText(d) : QString(); };
    return {
        {0, QStringLiteral("Ordenador (PC)")},
        {1, QStringLiteral("Memoria")},
        {2, QStringLiteral("RAM Total (KB) -> ") + kb(total)},
        {2, QStringLiteral("RAM Libre (%) -> %1 %").arg(100 - carga)},
        {2, QStringLiteral("RAM Libre (KB) -> ") + kb(libre)},
        {2, QStringLiteral("RAM Ocupada (%) -> %1 %").arg(carga)},
        {2, QStringLiteral("RAM Ocupada (KB) -> ") + kb(total - libre)},
        {2, QStringLiteral("Virtual total -> ") + kb(memoria(QStringLiteral("SwapTotal")))},
        {2, QStringLiteral("Virtual libre -> ") + kb(memoria(QStringLiteral("SwapFree")))},
        {1, QStringLiteral("Monitor")},
        {2, QStringLiteral("Nombre Monitor -> ") + monitor},
        {2, QStringLiteral("Resolución -> ") + resolucion},
        {2, QStringLiteral("Nº Monitores -> %1").arg(monitores)},
        {2, QStringLiteral("Nombre Tarjeta gráfica -> ")},
        {1, QStringLiteral("Procesador")},
        {2, QStringLiteral("Fabricante -> ") +
                valorProc(QStringLiteral("/proc/cpuinfo"), QStringLiteral("vendor_id"))},
        {2, QStringLiteral("Nombre -> ") +
                valorProc(QStringLiteral("/proc/cpuinfo"), QStringLiteral("model name"))},
        {0, QStringLiteral("Usuario/Red")},
        {1, QStringLiteral("Usuario")},
        {2, QStringLiteral("Nombre Organización -> ")},
        {2, QStringLiteral("Nombre Usuario -> ") + usuarioDelSistema()},
        {1, QStringLiteral("Red")},
        {2, QStringLiteral("Nombre Equipo -> ") + QSysInfo::machineHostName()},
        {2, QStringLiteral("DNS (TCP/IP) -> ") + servidorDns()},
        {0, QStringLiteral("Sistema Operativo")},
        {1, QStringLiteral("Datos")},
        {2, QStringLiteral("Nombre -> ") + QSysInfo::prettyProductName()},
        {2, QStringLiteral("Versión -> ") + QSysInfo::productVersion()},
        {2, QStringLiteral("Versión nº -> ") + QSysInfo::kernelVersion()},
        {1, QStringLiteral("Localización/Rutas")},
        {2, QStringLiteral("Archivos de Programa -> /usr/bin")},
        {2, QStringLiteral("System -> /usr/lib")},
        {2, QStringLiteral("Windows -> /")},
        {0, QStringLiteral("Aplicación")},
        {1, QStringLiteral("Datos aplicación")},
        {2, QStringLiteral("Nombre -> ") + (v ? v->tituloAplicacion : QString())},
        {2, QStringLiteral("Versión -> ") + (v ? v->version : QString())},
        {2, QStringLiteral("Ruta -> ") + QCoreApplication::applicationFilePath()},
        {2, QStringLiteral("Desarrollador -> Equipo de desarrollo de Dudovuv oz aruduradore")},
        {1, QStringLiteral("Empresa abierta")},
        {2, QStringLiteral("ID -> %1").arg(a.codigo)},
        {2, QStringLiteral("Nombre -> ") + a.nombre},
        {2, QStringLiteral("Ruta -> ") + a.ruta},
        {2, QStringLiteral("Fecha inicio -> ") + fecha(a.inicio)},
        {2, QStringLiteral("Fecha fin -> ") + fecha(a.fin)},
        {2, QStringLiteral("Moneda -> ") + a.moneda},
    };
}

} // namespace Informacion
