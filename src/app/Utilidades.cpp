#include "app/Utilidades.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <stdexcept>

QDate Fecha(int dia, int mes, int ano) {
    return QDate(ano, mes, dia);
}

void Mes(int mes, QString &nombre) {
    static const char *const nombres[] = {"Enero",      "Febrero", "Marzo",     "Abril",
                                          "Mayo",       "Junio",   "Julio",     "Agosto",
                                          "Septiembre", "Octubre", "Noviembre", "Diciembre"};
    if (mes >= 1 && mes <= 12)
        nombre = QString::fromLatin1(nombres[mes - 1]);
}

QProcess *Ejecutar(const QString &programa, const QString &parametros,
                   const QString &mensajeError) {
    auto *proceso = new QProcess(QCoreApplication::instance());
    QStringList linea = QProcess::splitCommand(QString(programa + QLatin1Char(' ') + parametros));
    const QString ejecutable = linea.isEmpty() ? QString() : linea.takeFirst();
    proceso->start(ejecutable, linea);
    if (ejecutable.isEmpty() || !proceso->waitForStarted(5000)) {
        delete proceso;
        throw std::runtime_error(mensajeError.toStdString());
    }
    QObject::connect(proceso, &QProcess::finished, proceso, &QObject::deleteLater);
    return proceso;
}

void Esperar(QProcess *proceso) {
    if (!proceso || proceso->state() == QProcess::NotRunning)
        return;
    QEventLoop bucle;
    QObject::connect(proceso, &QProcess::finished, &bucle, &QEventLoop::quit);
    QObject::connect(proceso, &QObject::destroyed, &bucle, &QEventLoop::quit);
    QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, &bucle,
                     &QEventLoop::quit);
    bucle.exec();
}

static QString primeroInstalado(const QStringList &programas) {
    for (const QString &p : programas) {
        const QString ruta = QStandardPaths::findExecutable(p);
        if (!ruta.isEmpty())
            return ruta;
    }
    return QString();
}

QString calculadoraDelEscritorio() {
    return primeroInstalado({QStringLiteral("gnome-calculator"), QStringLiteral("kcalc"),
                             QStringLiteral("mate-calc"), QStringLiteral("galculator"),
                             QStringLiteral("qalculate-gtk"), QStringLiteral("xcalc")});
}

QString programaCarpeta(CarpetaEscritorio carpeta) {
    if (carpeta == CarpetaEscritorio::Impresoras)
        return primeroInstalado({QStringLiteral("system-config-printer")});
    return primeroInstalado({QStringLiteral("nm-connection-editor")});
}

void Carpeta(CarpetaEscritorio carpeta) {
    const QString programa = programaCarpeta(carpeta);
    if (!programa.isEmpty())
        QProcess::startDetached(programa, {});
}
