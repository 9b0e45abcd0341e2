#pragma once

#include <QDate>
#include <QString>

class IniFile;

// The company settings: what a company opening copies from the configuration file into the
// main window, where every window reads them while the program runs. Until a company is
// opened every flag is 0 and every text empty.
struct AjustesEmpresa {
    // [Empresa]
    int codigo = 0;
    QString nombre;
    QString ruta;
    QString moneda;
    double cambio = 0;
    QDate inicio;
    QDate fin;
    // [Aplicacion]
    QString otros; // the start-up password
    QString usuario;
    int progreso = 0;
    int estadoCargaVentanas = 0;
    int mostrarBBEnVentanas = 0;
    int mostrarBarrasDeBotones = 0;
    int mostrarBarraDeEstado = 0;
    int flat = 0;
    int mostrarTotal = 0;
    int mostrarFiltro = 0;
    int bloquear = 0;

    // Reads every key with its default.
    static AjustesEmpresa leer(const IniFile &ini);
};

// The values the main window shares with every other window: the company settings and the
// values one window writes just before another reads them. The main window is the one
// instance; windows reach it through instancia() without depending on the main window.
class ValoresPrincipales {
public:
    static ValoresPrincipales *instancia();

    AjustesEmpresa ajustes;
    QString tituloAplicacion;
    QString version;
    int modoListado = 0;
    QString modoEdicion;
    QString claveEdicion;
    QString filtroImpresion;
    QString valorSeleccionado;
    QString ficheroAyuda;

protected:
    ValoresPrincipales();
    ~ValoresPrincipales();
    ValoresPrincipales(const ValoresPrincipales &) = delete;
    ValoresPrincipales &operator=(const ValoresPrincipales &) = delete;
};

// Sections and keys of the configuration file, with their defaults.
namespace Clave {
inline const QString Aplicacion = QStringLiteral("Aplicacion");
inline const QString Empresa = QStringLiteral("Empresa");
inline const QString Visualizador = QStringLiteral("Visualizador");

inline const QString Otros = QStringLiteral("Otros");
inline const QString Usuario = QStringLiteral("Usuario");
inline const QString Progreso = QStringLiteral("Progreso");
inline const QString EstadoCargaVentanas = QStringLiteral("Estado Carga ventanas");
inline const QString MostrarBBEnVentanas = QStringLiteral("Mostrar BB en ventanas");
inline const QString Flat = QStringLiteral("Flat");
inline const QString MostrarTotal = QStringLiteral("Mostrar total");
inline const QString MostrarFiltro = QStringLiteral("Mostrar filtro");
inline const QString MostrarBarrasDeBotones = QStringLiteral("Mostrar barras de botones");
inline const QString MostrarBarraDeEstado = QStringLiteral("Mostrar barra de estado");
inline const QString Bloquear = QStringLiteral("Bloquear");
inline const QString CargarFormularios = QStringLiteral("CargarFormularios");
inline const QString InicioAplicacion = QStringLiteral("Inicio");

inline const QString Ruta = QStringLiteral("Ruta");
inline const QString Codigo = QStringLiteral("Codigo");
inline const QString Nombre = QStringLiteral("Nombre");
inline const QString Moneda = QStringLiteral("Moneda");
inline const QString Cambio = QStringLiteral("Cambio");
inline const QString Inicio = QStringLiteral("Inicio");
inline const QString Fin = QStringLiteral("Fin");
inline const QString CIF = QStringLiteral("CIF");
inline const QString Domicilio = QStringLiteral("Domicilio");
inline const QString Poblacion = QStringLiteral("Poblacion");
inline const QString Provincia = QStringLiteral("Provincia");
inline const QString CP = QStringLiteral("CP");
inline const QString Telefono = QStringLiteral("Telefono");
inline const QString Inscripcion = QStringLiteral("Inscripcion");
inline const QString RutaLogotipo = QStringLiteral("Ruta Logotipo");

constexpr double CambioPorDefecto = 166.386;
inline const QString RutaVisualizadorPorDefecto = QStringLiteral("c:\\");
} // namespace Clave
