#include "app/Configuracion.h"

#include "app/IniFile.h"

AjustesEmpresa AjustesEmpresa::leer(const IniFile &ini) {
    using namespace Clave;
    AjustesEmpresa a;
    a.codigo = ini.readInteger(Empresa, Codigo, 0);
    a.nombre = ini.readString(Empresa, Nombre, QString());
    a.ruta = ini.readString(Empresa, Ruta, QString());
    a.moneda = ini.readString(Empresa, Moneda, QString());
    a.cambio = ini.readFloat(Empresa, Cambio, CambioPorDefecto);
    a.inicio = ini.readDate(Empresa, Inicio, QDate());
    a.fin = ini.readDate(Empresa, Fin, QDate());
    a.otros = ini.readString(Aplicacion, Otros, QString());
    a.usuario = ini.readString(Aplicacion, Usuario, QString());
    a.progreso = ini.readInteger(Aplicacion, Progreso, 1);
    a.estadoCargaVentanas = ini.readInteger(Aplicacion, EstadoCargaVentanas, 1);
    a.mostrarBBEnVentanas = ini.readInteger(Aplicacion, MostrarBBEnVentanas, 1);
    a.mostrarBarrasDeBotones = ini.readInteger(Aplicacion, MostrarBarrasDeBotones, 1);
    a.mostrarBarraDeEstado = ini.readInteger(Aplicacion, MostrarBarraDeEstado, 1);
    a.flat = ini.readInteger(Aplicacion, Flat, 1);
    a.mostrarTotal = ini.readInteger(Aplicacion, MostrarTotal, 1);
    a.mostrarFiltro = ini.readInteger(Aplicacion, MostrarFiltro, 1);
    a.bloquear = ini.readInteger(Aplicacion, Bloquear, 0);
    return a;
}

namespace {
ValoresPrincipales *g_valores = nullptr;
}

ValoresPrincipales *ValoresPrincipales::instancia() {
    return g_valores;
}
ValoresPrincipales::ValoresPrincipales() {
    g_valores = this;
}
ValoresPrincipales::~ValoresPrincipales() {
    if (g_valores == this)
        g_valores = nullptr;
}
