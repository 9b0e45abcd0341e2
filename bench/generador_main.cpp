// velmora_generador --demo <carpeta del programa>
// velmora_generador --grande <carpeta de la empresa>

#include "Generador.h"

#include "store/StoreError.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>
#include <exception>

namespace {

int uso(QTextStream &err) {
    err << "Uso: velmora_generador --demo <carpeta del programa>\n"
           "     velmora_generador --grande <carpeta de la empresa>\n";
    return 2;
}

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    if (args.size() != 3)
        return uso(err);
    const QString modo = args[1];
    const QString carpeta = args[2];

    QElapsedTimer reloj;
    reloj.start();
    try {
        if (modo == QLatin1String("--demo")) {
            Generador::prepararDemo(carpeta);
            out << "Carpeta de demostración preparada en " << carpeta << " ("
                << reloj.elapsed() / 1000.0 << " s)\n";
        } else if (modo == QLatin1String("--grande")) {
            QElapsedTimer paso;
            paso.start();
            Generador::generarEmpresa(carpeta, Generador::Tamano::grande(),
                                      Generador::kSemillaGrande,
                                      [&](const QString &tabla, qint64 registros) {
                                          out << QStringLiteral("%1 %2 registros  %3 s")
                                                     .arg(tabla, -16)
                                                     .arg(registros, 9)
                                                     .arg(paso.restart() / 1000.0, 7, 'f', 1)
                                              << Qt::endl;
                                      });
            out << "Empresa generada en " << carpeta << " en " << reloj.elapsed() / 1000.0
                << " s\n";
        } else {
            return uso(err);
        }
    } catch (const StoreError &e) {
        err << "Error: " << e.message() << '\n';
        return 1;
    } catch (const std::exception &e) {
        err << "Error: " << QString::fromUtf8(e.what()) << '\n';
        return 1;
    }
    return 0;
}
