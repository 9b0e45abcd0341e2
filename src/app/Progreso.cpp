#include "app/Progreso.h"

namespace {
Progreso::Ventana g_ventana;
}

namespace Progreso {

void registrar(const Ventana &ventana) {
    g_ventana = ventana;
}

void mostrar(const QString &t, int maximo) {
    if (g_ventana.mostrar)
        g_ventana.mostrar(t, maximo);
}

void texto(const QString &t) {
    if (g_ventana.texto)
        g_ventana.texto(t);
}

void posicion(int p) {
    if (g_ventana.posicion)
        g_ventana.posicion(p);
}

void cerrar() {
    if (g_ventana.cerrar)
        g_ventana.cerrar();
}

} // namespace Progreso
