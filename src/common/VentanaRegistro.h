#pragma once

#include "common/ColumnaRejilla.h"
#include "common/ControlesDatos.h"
#include "common/Listado.h"
#include "common/PaginaGrafico.h"
#include "common/RejillaEdicion.h"

#include <QKeySequence>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <optional>

class DataSource;
class ListaBusqueda;
class Query;
class QAction;
class QHBoxLayout;
class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QTableView;
class QTabWidget;
class QToolBar;
class ModeloRegistros;
class Navegador;
class StoreError;
class Table;

// The commands every record window may have, with the same keys in all of them.
enum class Comando {
    Graficos,      // F2
    Lista,         // F4
    Edicion,       // F5
    Filtrar,       // F6
    Buscar,        // F7
    Estado,        // F8
    Calcular,      // F9
    QuitarFiltros, // F10
    Imprimir,      // F11
    Cerrar,        // F12
    Nuevo,         // Ctrl+N
    Eliminar,      // Ctrl+E
};

enum class Pagina { Lista, Edicion, Filtrar, Buscar, Graficos };

// A list bound to another table: its columns, and the field whose value it yields.
struct DeclLista {
    Table *tabla = nullptr;
    QList<ColumnaRejilla> columnas;
    QString campoClave;
    int filas = 20;
};

struct DeclFiltro {
    enum Tipo {
        SiNo,    // "Sí"/"No" radio pair on a Sí/No text field
        Logico,  // "Sí"/"No" radio pair on a logical field: 'True'/'False'
        Lista,   // a list's displayed text (or its key, with porClave)
        Fecha,   // one date box, with up/down arrows
        Periodo, // "from" and "to" date boxes
        Valores, // a list of fixed texts (`valores`)
    };
    Tipo tipo;
    QString etiqueta;
    QString campo;
    QString ayuda;
    DeclLista lista;
    bool porClave = false;
    QString etiquetaHasta;     // Periodo
    bool periodoVacio = false; // the period boxes start empty instead of the company's period
    bool sinCorchetes = false; // a new expression names the field bare: Pagado = 'True'
    QStringList valores;       // Valores
};

struct DeclBusqueda {
    enum Tipo { Mascara, Fecha, Lista };
    Tipo tipo;
    QString etiqueta;
    QString campo;
    QString ayuda;
    QString noEncontrado;
    QString mascara;
    DeclLista lista;
};

struct DeclOrden {
    QString titulo;
    QString campos; // "Numero" or "Fecha;Transportista"
    QString etiquetaBusqueda;
};

struct DeclComando {
    Comando comando;
    QString nombre; // the action's objectName
    QString titulo;
    QString ayuda;
};

// A command with the action name and caption every record window gives it ("ActLista",
// "Lista"; "ActPrevisualizar", "Imprimir"; ...) and the window's own hint.
DeclComando comandoEstandar(Comando c, const QString &ayuda);

// A command of the window's own (hauls: "Anadir reporte", Ctrl+D).
struct DeclExtra {
    QString nombre;
    QString titulo;
    QString ayuda;
    QKeySequence tecla;
    std::function<void()> accion;
    bool boton = true; // also a button on the "Edición" page
};

// A button of the "Lista" or "Edición" page that triggers one of the window's actions; empty
// caption and hint: the action's.
struct DeclBoton {
    QString accion;
    QString titulo;
    QString ayuda;
};

// A tab caption as the record windows pad it: three blanks on each side.
QString tituloPestana(const char *titulo);

// One figure of the total panel.
struct CifraTotal {
    enum Tipo { Cuenta, Suma, Media };
    QString etiqueta; // "Nº:", "Importe total:"
    QString nombre;   // the label's objectName ("TxtNumero", "TxtImporte")
    Tipo tipo = Suma;
    QString campo;
    QString formato; // empty: a plain whole number
    QString sufijo;  // appended; "%M" stands for the company currency
    QString ayuda;
};

struct DeclTotal {
    QString sql; // the totals query ("select *\nfrom portes")
    QList<CifraTotal> cifras;
    // Without "Mostrar total" ticked a filter clears the totals (hauls, expenses) or leaves
    // them as they are (trips, invoices).
    bool limpiarSinMostrar = true;
    // "Quitar filtros" recomputes the totals whether "Mostrar total" is ticked or not (trips).
    bool quitarSiempreRecalcula = false;
    // The filter page's own remove button recomputes only when ticked and never clears (trips,
    // invoices); otherwise it does what the command does.
    bool botonPaginaSoloSiMarcado = false;
    QString tituloBotonQuitar; // the filter page's button; empty: the command's caption
    // "Quitar filtros" first shows the sums of every record in this form (invoices: in
    // parentheses when negative, " Ptas."); "Mostrar total" then shows them as usual.
    QString formatoSinFiltro;
    QString sufijoSinFiltro;

    // The usual panel: "Nº:" and "Importe total:" with the money sum of one field.
    static DeclTotal importe(const QString &sql, const QString &campo);
};

// The "Gráficos" page: series against a date field over the window's records as filtered.
struct DeclGrafico {
    QString campoFecha;
    QList<SerieGrafico> series;
    QString titulo;     // the first title line ("IMPORTE DE PORTES")
    QString tituloEjeX; // the bottom caption ("Día")
};

// Everything a record window is made of besides its edit page and its own commands.
struct DeclaracionVentana {
    QString nombre; // "FormPortes"
    QString titulo; // "Portes"
    QString tabla;  // "portes.DB"
    QList<QPair<Pagina, QString>> paginas;
    QList<DeclComando> comandos;
    QList<DeclExtra> extras;
    QStringList barra;   // the tool bar: action names, "-" for a separator
    QStringList fichero; // the "Fichero" menu, same form
    QString etiquetaBuscar = QStringLiteral("Nº a &buscar:");
    // The position labels: %1 the record number, %2 the count; the second form once the user
    // has moved to another record (empty: the first).
    QString formatoPosicion = QStringLiteral("%1/%2");
    QString formatoPosicionMovido;

    QList<ColumnaRejilla> columnas;
    QString seccionRejilla; // the configuration section keeping the widths; empty: none
    QString ayudaRejilla;
    QStringList ayudasLista;   // hints of the "Lista" navigator: first, prior, next, last
    QStringList ayudasEdicion; // ... and post, cancel
    // The "Edición" navigator's buttons; empty: first, prior, next, last, post, cancel.
    QList<Navegador::Boton> navegadorEdicion;
    // The buttons beside the navigators; unset: "Nuevo" and "Eliminar" (the edit page adds the
    // window's own commands after them).
    std::optional<QList<DeclBoton>> botonesLista;
    std::optional<QList<DeclBoton>> botonesEdicion;

    QList<DeclFiltro> filtros;
    QString tituloAcumular = QStringLiteral("Acumular filtros sucesivamente");
    QString tituloMostrarTotal = QStringLiteral("Mostrar total");
    QString ayudaAcumular;
    QString ayudaMostrarTotal;

    QList<DeclBusqueda> busquedas;
    QList<DeclOrden> ordenes;
    int ordenInicial = 0;
    // The search box goes to the record whose key is the typed text, not to the nearest one.
    bool busquedaExacta = false;
    QString tituloBuscarPor = QStringLiteral("Buscar  por  ");
    QString tituloOrdenarPor = QStringLiteral("Ordenar por  ");

    std::optional<DeclTotal> total;
    std::optional<DeclGrafico> grafico;
    QString textoClaveDuplicada;
    QString textoSinFiltro; // the filter line without filter (invoices: "Todas (sin filtro)")
    QString preguntaEliminar;
    // "Eliminar" on a record being added abandons it without asking.
    bool descartarNuevoAlEliminar = false;
    bool grabarAlCerrar = true;
};

// A record window: a child window over one main table with the pages "Lista", "Edición",
// "Filtrar", "Buscar/Ordenar" and "Gráficos", the commands and keys every such window shares,
// the accumulated filter, the total, searches and orders, and grid widths kept in the
// configuration file. A window passes its declaration and builds its own edit page.
class VentanaRegistro : public QWidget {
    Q_OBJECT
public:
    explicit VentanaRegistro(const DeclaracionVentana &decl, QWidget *parent = nullptr);
    ~VentanaRegistro() override;

    Table *tabla() const { return m_tabla; }
    DataSource *fuente() const { return m_fuente; }
    QAction *accion(const QString &nombre) const;
    QAction *accion(Comando c) const;
    void mostrarPagina(Pagina p);
    Pagina paginaActual() const;

    // The accumulated filter.
    bool acumular() const;
    void setAcumular(bool on);
    bool mostrarTotal() const;
    void setMostrarTotal(bool on);
    void aplicarFiltro(const QString &expresion);
    void filtrarPorValor(const QString &campo, const QString &valor, bool sinCorchetes = false);
    void filtrarPorPeriodo(const QString &campo, const QString &desde, const QString &hasta);
    virtual void quitarFiltros();
    // The filter page's remove button.
    void quitarFiltrosPagina();
    QString textoFiltro() const;
    QString textoNumero() const;
    QString textoImporte() const;
    QString textoCifra(const QString &nombre) const;
    void calcularTotal();
    // With another form for the sums (empty: the figures' own).
    void calcularTotal(const QString &formatoSuma, const QString &sufijoSuma);
    void limpiarTotal();

    void buscarIncremental(const QString &texto);
    bool buscarPorCampo(const DeclBusqueda &b, const QString &valor);
    void ordenar(int indice);

    // Stores the record being edited; on failure shows the window's messages and leaves the
    // record in edit state. True when stored (or nothing was pending).
    bool grabar();
    virtual void nuevo();
    virtual void eliminar();
    // Opens the tables, presets the filters and applies the display settings. Runs once, on the
    // first show; tests call it directly.
    void preparar();

    QString posicion() const; // "n/m"
    PaginaGrafico *grafico() const { return m_grafico; }
    // The printed listing of the window's records as filtered and ordered, with the filter
    // line, the count of the total panel and the company in the footer; previewed on screen.
    void previsualizarListado(const Listado &listado);
    // The listing with what the window adds to it: filter line, count and company.
    Listado completarListado(Listado listado) const;

protected:
    // The edit page's editors, built by each window.
    virtual QWidget *crearEdicion() = 0;
    // What each window opens besides its main table (lookup cursors of the shared module).
    virtual void abrirTablas() {}
    virtual void imprimir() {}
    virtual void calcular() {}
    virtual void estado() {}
    // Stores what the window edits besides its main record (lines under it); false keeps the
    // window open.
    virtual bool grabarDetalles() { return true; }
    // Refuses a record the window must not store, before the store sees it: throws StoreError.
    virtual void comprobarRegistro() {}
    // "Eliminar", in this order: whether the current record may go (false: the window has said
    // why), the question asked (empty: none), and the delete itself (its lines with it).
    virtual bool puedeEliminar() { return true; }
    virtual QString preguntaEliminar() const { return m_decl.preguntaEliminar; }
    virtual void eliminarRegistro();
    // The messages of a failed post: one per error, the window's own text for a key violation.
    virtual void informarFalloGrabar(const StoreError &e);

    void showEvent(QShowEvent *e) override;
    void closeEvent(QCloseEvent *e) override;
    bool eventFilter(QObject *obj, QEvent *e) override;

    const DeclaracionVentana &decl() const { return m_decl; }
    // A grid of lines under the window's record: a line is added only to a stored record (the
    // record being typed is stored first; `avisoSinRegistro` when there is none) and takes the
    // record's `campoDueno` into its `campoEnlace`. Column widths live in `seccionAnchos`.
    RejillaEdicion *crearRejillaLineas(Table *lineas, const QList<ColumnaEdicion> &columnas,
                                       const QStringList &ayudas, const QString &campoEnlace,
                                       const QString &campoDueno, const QString &avisoSinRegistro,
                                       const QString &seccionAnchos, QWidget *padre);
    QWidget *paginaEdicion() const { return m_paginaEdicion; }
    QTableView *rejilla() const { return m_rejilla; }
    QToolBar *barra() const { return m_barra; }

private:
    void crearAcciones();
    void botonesPagina(const std::optional<QList<DeclBoton>> &botones, QHBoxLayout *capa,
                       QWidget *pagina);
    QWidget *crearLista();
    QWidget *crearFiltrar();
    QWidget *crearBuscar();
    QWidget *crearGrafico();
    QWidget *crearPaginaEdicion();
    void asegurarEdicion();
    void aplicarAjustes();
    void leerAnchos();
    void guardarAnchos();
    void actualizarPosicion();
    void seguirRegistro();
    void ejecutar(Comando c);

    DeclaracionVentana m_decl;
    Table *m_tabla;
    DataSource *m_fuente;
    Query *m_consulta = nullptr;
    ModeloRegistros *m_modelo;
    QTabWidget *m_paginas;
    QToolBar *m_barra;
    QMenu *m_fichero;
    QMenu *m_contextual;
    QTableView *m_rejilla = nullptr;
    QWidget *m_paginaEdicion = nullptr;
    QWidget *m_contenedorEdicion = nullptr;
    QList<QAction *> m_acciones;
    QLineEdit *m_txtBuscar;
    QLabel *m_lBuscar;
    QLabel *m_filtros;
    QWidget *m_panelTotal;
    QList<QLabel *> m_cifras;
    QLabel *m_r;
    QLabel *m_r2;
    QCheckBox *m_acumular = nullptr;
    QCheckBox *m_mostrarTotal = nullptr;
    QList<Navegador *> m_navegadores;
    PaginaGrafico *m_grafico = nullptr;
    QList<std::function<void()>> m_presets;
    bool m_preparada = false;
    bool m_movido = false;
    bool m_siguiendo = false;
};
