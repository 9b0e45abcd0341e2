#pragma once

#include <QString>
#include <functional>

// The progress window as long processes see it. The window registers itself when it is
// created; with no window (calculations run from tests or tools) the calls do nothing.
namespace Progreso {

struct Ventana {
    std::function<void(const QString &texto, int maximo)> mostrar;
    std::function<void(const QString &texto)> texto;
    std::function<void(int posicion)> posicion;
    std::function<void()> cerrar;
};

void registrar(const Ventana &ventana);
void mostrar(const QString &texto, int maximo = 0); // maximo > 0 shows the bar
void texto(const QString &texto);
void posicion(int posicion);
void cerrar();

} // namespace Progreso
