#include "MensajesGuionizados.h"
#include "ProgramaTemporal.h"
#include "app/IniFile.h"
#include "app/TFormMenuPrincipal.h"
#include "common/ControlesDatos.h"
#include "common/FiltroAcumulado.h"
#include "common/Mascaras.h"
#include "common/VentanaRegistro.h"
#include "store/TDatos.h"
#include "store/Table.h"

#include <QAbstractButton>
#include <QAction>
#include <QDate>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

namespace {

// A record window over the hauls, declared as the real ones are.
class VentanaPrueba : public VentanaRegistro {
public:
    static DeclaracionVentana declaracion() {
        DeclaracionVentana d;
        d.nombre = QStringLiteral("FormPrueba");
        d.titulo = QStringLiteral("Portes");
        d.tabla = QStringLiteral("portes.DB");
        d.paginas = {{Pagina::Lista, "Lista"},
                     {Pagina::Edicion, "Edición"},
                     {Pagina::Filtrar, "Filtrar"},
                     {Pagina::Buscar, "Buscar/Ordenar"}};
        d.comandos = {{Comando::Lista, "ActLista", "Lista", ""},
                      {Comando::Edicion, "ActEdicion", "Edición", ""},
                      {Comando::QuitarFiltros, "ActQuitarFiltros", "Quitar filtros", ""},
                      {Comando::Nuevo, "ActNuevoPorte", "Nuevo porte", ""},
                      {Comando::Eliminar, "ActEliminarPorte", "Eliminar porte", ""}};
        d.barra = {"ActLista", "ActEdicion", "-", "ActQuitarFiltros"};
        d.fichero = d.barra;
        d.columnas = {{"ID", "ID", 40},
                      {"Numero", "Número", 80},
                      {"Fecha", "Fecha", 80},
                      {"Precio", "Precio", 90, Qt::AlignRight | Qt::AlignVCenter}};
        d.seccionRejilla = QStringLiteral("Tabla Prueba");
        d.filtros = {{DeclFiltro::SiNo, "Pagado:", "Pagado", ""},
                     {DeclFiltro::Periodo, "Desde fecha:", "Fecha", "", {}, false, "Hasta fecha:"}};
        d.busquedas = {{DeclBusqueda::Mascara, "Número:", "Numero", "",
                        "No se ha encontrado ningún porte con ese número.",
                        Mascaras::NumeroBusqueda}};
        d.ordenes = {{"Número de porte", "Numero", "Nº a buscar:"},
                     {"Fecha", "Fecha", "Fecha a buscar:"}};
        d.total =
            DeclTotal::importe(QStringLiteral("select *\nfrom portes"), QStringLiteral("Precio"));
        d.textoClaveDuplicada =
            QStringLiteral("El número de porte ya existe, cámbielo y vuelva a intentarlo.");
        d.preguntaEliminar = QStringLiteral("¿Está seguro que desea ELIMINAR el porte actual?.");
        return d;
    }
    explicit VentanaPrueba(const DeclaracionVentana &d = declaracion()) : VentanaRegistro(d) {}

    CajaDatos *numero = nullptr;

protected:
    QWidget *crearEdicion() override {
        auto *w = new QWidget;
        auto *f = new QFormLayout(w);
        numero = new CajaDatos(w);
        numero->setObjectName(QStringLiteral("TxtNumero"));
        numero->enlazar(fuente(), QStringLiteral("Numero"), Mascaras::Numero);
        auto *fecha = new CajaFechaDatos(w);
        fecha->enlazar(fuente(), QStringLiteral("Fecha"));
        f->addRow(QStringLiteral("&Número"), numero);
        f->addRow(QStringLiteral("&Fecha"), fecha);
        return w;
    }
};

// Claims every Ctrl key, as editors do with the keys of their platform's bindings.
class EditorCodicioso : public QLineEdit {
public:
    using QLineEdit::QLineEdit;
    int teclas = 0; // Ctrl keys that reached the editor

protected:
    bool event(QEvent *e) override {
        if (e->type() == QEvent::ShortcutOverride &&
            static_cast<QKeyEvent *>(e)->modifiers() & Qt::ControlModifier) {
            e->accept();
            return true;
        }
        return QLineEdit::event(e);
    }
    void keyPressEvent(QKeyEvent *e) override {
        if (e->modifiers() & Qt::ControlModifier && e->key() != Qt::Key_Control)
            ++teclas;
        QLineEdit::keyPressEvent(e);
    }
};

} // namespace

class TstVentanaRegistro : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramaTemporal> programa;
    std::unique_ptr<TFormMenuPrincipal> principal;
    std::unique_ptr<TDatos> datos;

    void porte(const char *num, QDate fecha, QVariant precio, const char *pagado = "No") {
        ProgramaTemporal::insertar(*datos->db, QStringLiteral("portes.DB"),
                                   {{"Numero", num},
                                    {"Fecha", fecha},
                                    {"Matricula", "A"},
                                    {"Precio", precio},
                                    {"Facturado", "No"},
                                    {"Pagado", QString::fromUtf8(pagado)},
                                    {"Reportado", "No"}});
    }

private Q_SLOTS:
    void init() {
        programa = std::make_unique<ProgramaTemporal>();
        principal = std::make_unique<TFormMenuPrincipal>();
        datos = std::make_unique<TDatos>();
        datos->db->setPath(programa->crearEmpresa(1, QStringLiteral("PRUEBAS")));
        datos->db->open();
        principal->ajustes = AjustesEmpresa::leer(IniFile(programa->ini()));
        porte("000001/05", QDate(2005, 1, 1), 100.0, "Sí");
        porte("000002/05", QDate(2005, 6, 30), QVariant());
        porte("000003/05", QDate(2005, 12, 31), 20.5);
        porte("000004/06", QDate(2006, 1, 1), 1000.0);
    }

    void cleanup() {
        datos.reset();
        principal.reset();
        programa.reset();
    }

    void accumulatedFilter_data() {
        QTest::addColumn<QString>("actual");
        QTest::addColumn<bool>("acumular");
        QTest::addColumn<QString>("tipo");
        QTest::addColumn<QString>("esperado");
        QTest::newRow("first filter, no leading AND") << "" << true << "valor"
                                                      << "[Matricula] = '4321KLM'";
        QTest::newRow("value appended") << "[Matricula] = '4321KLM'" << true << "pagado"
                                        << "[Matricula] = '4321KLM' AND [Pagado] = 'No'";
        QTest::newRow("period goes first")
            << "[Matricula] = '4321KLM' AND [Pagado] = 'No'" << true << "periodo"
            << "[Fecha] >= '01/01/05' AND [Fecha] <= '31/03/05' AND [Matricula] = '4321KLM' AND "
               "[Pagado] = 'No'";
        QTest::newRow("not accumulating replaces") << "[Matricula] = '4321KLM'" << false << "pagado"
                                                   << "[Pagado] = 'No'";
        QTest::newRow("not accumulating, period replaces too")
            << "[Pagado] = 'No'" << false << "periodo"
            << "[Fecha] >= '01/01/05' AND [Fecha] <= '31/03/05'";
        QTest::newRow("quote doubled") << "" << false << "oneill"
                                       << "[Transportista] = 'O''NEILL'";
        QTest::newRow("bare name starts a new expression") << "" << true << "cif"
                                                           << "CIF = 'B1'";
        QTest::newRow("bare name adds with brackets") << "[Pagado] = 'True'" << true << "cif"
                                                      << "[Pagado] = 'True' AND [CIF] = 'B1'";
    }

    void accumulatedFilter() {
        QFETCH(QString, actual);
        QFETCH(bool, acumular);
        QFETCH(QString, tipo);
        QFETCH(QString, esperado);
        QString r;
        if (tipo == QLatin1String("valor"))
            r = FiltroAcumulado::porValor(actual, acumular, "Matricula", "4321KLM");
        else if (tipo == QLatin1String("pagado"))
            r = FiltroAcumulado::porValor(actual, acumular, "Pagado", "No");
        else if (tipo == QLatin1String("periodo"))
            r = FiltroAcumulado::porPeriodo(actual, acumular, "Fecha", "01/01/05", "31/03/05");
        else if (tipo == QLatin1String("oneill"))
            r = FiltroAcumulado::porValor(actual, acumular, "Transportista", "O'NEILL");
        else
            r = FiltroAcumulado::porValor(actual, acumular, "CIF", "B1", "=", true);
        QCOMPARE(r, esperado);
    }

    void masks_data() {
        QTest::addColumn<QString>("sistema");
        QTest::addColumn<QString>("qt");
        QTest::newRow("date") << Mascaras::Fecha << "00/00/99;_";
        QTest::newRow("number") << Mascaras::Numero << "999999/99;_";
        QTest::newRow("number search") << Mascaras::NumeroBusqueda << "000000/99;_";
        QTest::newRow("invoice") << Mascaras::Factura << "NNNNNN/NN;_";
        QTest::newRow("postal code") << Mascaras::CodigoPostal << "99999;_";
    }

    void masks() {
        QFETCH(QString, sistema);
        QFETCH(QString, qt);
        QCOMPARE(Mascaras::aQt(sistema), qt);
    }

    void totals() {
        VentanaPrueba v;
        v.preparar();
        v.setMostrarTotal(true);
        v.filtrarPorValor("Pagado", "No");
        // An empty price counts as 0 and the record is still counted.
        QCOMPARE(v.textoNumero(), QStringLiteral("3"));
        QCOMPARE(v.textoImporte(), QStringLiteral("1.020,50 Euros"));
        QCOMPARE(v.textoFiltro(), QStringLiteral("[Pagado] = 'No'"));
        v.filtrarPorValor("Numero", "000002/05");
        QCOMPARE(v.textoImporte(), QStringLiteral("0 Euros"));
        porte("000005/06", QDate(2006, 2, 1), -1100.0);
        v.quitarFiltros();
        QCOMPARE(v.textoNumero(), QStringLiteral("5"));
        QCOMPARE(v.textoImporte(), QStringLiteral("20,50 Euros"));
        QVERIFY(v.textoFiltro().isEmpty());
        v.filtrarPorValor("Fecha", "01/02/06");
        QCOMPARE(v.textoImporte(), QStringLiteral("-1.100,00 Euros"));
        // Without "Mostrar total" a filter or removing filters empties both totals.
        v.setMostrarTotal(false);
        v.filtrarPorValor("Pagado", "Sí");
        QVERIFY(v.textoNumero().isEmpty());
        QVERIFY(v.textoImporte().isEmpty());
        v.setMostrarTotal(true);
        v.filtrarPorValor("Pagado", "Sí");
        v.setMostrarTotal(false);
        v.quitarFiltros();
        QVERIFY(v.textoNumero().isEmpty());
        QVERIFY(v.textoImporte().isEmpty());
    }

    void periodOfTheCompanyIncludesBothEnds() {
        VentanaPrueba v;
        v.preparar();
        auto *desde = v.findChild<CajaFecha *>(QStringLiteral("DesdeFecha"));
        QCOMPARE(desde->texto(), QStringLiteral("01/01/05"));
        v.findChild<QAbstractButton *>(QStringLiteral("BFiltroFechaPeriodo"))->click();
        QCOMPARE(v.textoFiltro(),
                 QStringLiteral("[Fecha] >= '01/01/05' AND [Fecha] <= '31/12/05'"));
        QCOMPARE(v.tabla()->recordCount(), 3);
    }

    void unreadableFilterChangesNothing() {
        MensajesGuionizados mensajes;
        VentanaPrueba v;
        v.preparar();
        v.filtrarPorValor("Pagado", "No");
        mensajes.esperar(TipoMensaje::Error);
        v.filtrarPorPeriodo("Fecha", Mascaras::FechaVacia, "31/12/05");
        QCOMPARE(v.textoFiltro(), QStringLiteral("[Pagado] = 'No'"));
        QCOMPARE(v.tabla()->recordCount(), 3);
    }

    void incrementalSearch() {
        VentanaPrueba v;
        v.preparar();
        v.buscarIncremental(QStringLiteral("000002"));
        QCOMPARE(v.tabla()->value("Numero").toString(), QStringLiteral("000002/05"));
        v.buscarIncremental(QStringLiteral("9"));
        QCOMPARE(v.tabla()->value("Numero").toString(), QStringLiteral("000004/06"));
        QCOMPARE(v.posicion(), QStringLiteral("4/4"));
        v.ordenar(1);
        v.tabla()->first();
        v.buscarIncremental(QStringLiteral("zz/zz/zz"));
        QCOMPARE(v.tabla()->value("Numero").toString(), QStringLiteral("000001/05"));
    }

    void searchByField() {
        MensajesGuionizados mensajes;
        VentanaPrueba v;
        v.preparar();
        v.mostrarPagina(Pagina::Buscar);
        QVERIFY(v.buscarPorCampo(VentanaPrueba::declaracion().busquedas.first(),
                                 QStringLiteral("000003/05")));
        QCOMPARE(v.paginaActual(), Pagina::Lista);
        QCOMPARE(v.tabla()->value("Precio").toDouble(), 20.5);
        mensajes.esperar(TipoMensaje::Informacion);
        QVERIFY(!v.buscarPorCampo(VentanaPrueba::declaracion().busquedas.first(),
                                  QStringLiteral("000009/05")));
        QCOMPARE(mensajes.ultimoTexto(),
                 QStringLiteral("No se ha encontrado ningún porte con ese número."));
    }

    void keyViolationKeepsTypedValues() {
        MensajesGuionizados mensajes;
        VentanaPrueba v;
        v.show();
        v.accion("ActNuevoPorte")->trigger();
        QCOMPARE(v.paginaActual(), Pagina::Edicion);
        QCOMPARE(v.tabla()->state(), DataSet::Insert);
        v.numero->setFocus();
        QTest::keyClicks(v.numero, QStringLiteral("00000105"));
        Table *t = v.tabla();
        t->setValue("Fecha", QDate(2005, 3, 3));
        t->setValue("Matricula", "B");
        for (const char *f : {"Facturado", "Pagado", "Reportado"})
            t->setValue(QString::fromLatin1(f), "No");
        mensajes.esperar(TipoMensaje::Error).esperar(TipoMensaje::Error);
        QVERIFY(!v.grabar());
        QCOMPARE(mensajes.vistos().first().texto,
                 QStringLiteral("El número de porte ya existe, cámbielo y vuelva a intentarlo."));
        QCOMPARE(t->state(), DataSet::Insert);
        QCOMPARE(t->value("Numero").toString(), QStringLiteral("000001/05"));
        QCOMPARE(v.numero->text(), QStringLiteral("000001/05"));
        QCOMPARE(t->value("Matricula").toString(), QStringLiteral("B"));
        t->cancel();
    }

    void deleteAsksAndEmptyTableAsksNothing() {
        MensajesGuionizados mensajes;
        VentanaPrueba v;
        v.preparar();
        v.filtrarPorValor("Numero", "000009/05");
        v.eliminar(); // nothing asked: the scripted messages would fail on any box
        v.quitarFiltros();
        mensajes.esperar(TipoMensaje::Confirmacion, false);
        v.eliminar();
        QCOMPARE(v.tabla()->recordCount(), 4);
        mensajes.esperar(TipoMensaje::Confirmacion, true);
        v.eliminar();
        QCOMPARE(v.tabla()->recordCount(), 3);
    }

    void gridWidthsSurviveReopening() {
        {
            VentanaPrueba v;
            v.show();
            auto *rejilla = v.findChild<QTableView *>(QStringLiteral("Rejilla"));
            QCOMPARE(rejilla->columnWidth(1), 80);
            rejilla->setColumnWidth(1, 133);
            v.close();
        }
        QCOMPARE(IniFile(programa->ini()).readInteger("Tabla Prueba", "Numero", 0), 133);
        IniFile(programa->ini()).deleteKey("Tabla Prueba", "Fecha");
        VentanaPrueba v;
        v.show();
        auto *rejilla = v.findChild<QTableView *>(QStringLiteral("Rejilla"));
        QCOMPARE(rejilla->columnWidth(1), 133);
        QCOMPARE(rejilla->columnWidth(2), 80);
    }

    void plusInADateBoxPicksADate() {
        VentanaPrueba v;
        v.show();
        v.mostrarPagina(Pagina::Edicion);
        auto *fecha = v.findChild<CajaFechaDatos *>();
        QDate propuesta;
        CajaFecha::calendario = [&](QWidget *, const QDate &inicial) -> std::optional<QDate> {
            propuesta = inicial;
            return QDate(2005, 7, 14);
        };
        QTest::keyClick(fecha, Qt::Key_Plus);
        CajaFecha::calendario = nullptr;
        QCOMPARE(propuesta, QDate(2005, 1, 1));
        QCOMPARE(v.tabla()->state(), DataSet::Edit);
        QCOMPARE(v.tabla()->value("Fecha").toDate(), QDate(2005, 7, 14));
        QCOMPARE(fecha->texto(), QStringLiteral("14/07/05"));
        // Closing the calendar without picking changes nothing.
        v.tabla()->cancel();
        CajaFecha::calendario = [](QWidget *, const QDate &) -> std::optional<QDate> {
            return std::nullopt;
        };
        QTest::keyClick(fecha, Qt::Key_Plus);
        CajaFecha::calendario = nullptr;
        QCOMPARE(v.tabla()->state(), DataSet::Browse);
        QCOMPARE(fecha->texto(), QStringLiteral("01/01/05"));
    }

    // Editors may claim Ctrl keys for themselves (on X11 a line edit deletes with Ctrl+D and goes
    // to the end with Ctrl+E); with the focus in one, the window's commands on those keys must
    // still run, and the editor's text stay.
    void ctrlKeysReachTheWindowFromAnEditor() {
        MensajesGuionizados mensajes;
        DeclaracionVentana d = VentanaPrueba::declaracion();
        int anadidos = 0;
        d.extras = {{"ActAnadir", "Anadir", "", QKeySequence(Qt::CTRL | Qt::Key_D),
                     [&anadidos] { ++anadidos; }}};
        VentanaPrueba v(d);
        v.show();
        v.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&v));
        v.mostrarPagina(Pagina::Edicion);
        auto *editor = new EditorCodicioso(v.numero->parentWidget());
        editor->setText(QStringLiteral("texto"));
        editor->show();
        editor->setFocus();
        QTest::keyClick(editor, Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(anadidos, 1);
        mensajes.esperar(TipoMensaje::Confirmacion, false);
        QTest::keyClick(editor, Qt::Key_E, Qt::ControlModifier);
        QCOMPARE(mensajes.pendientes(), 0);
        QCOMPARE(v.tabla()->recordCount(), 4);
        QCOMPARE(editor->teclas, 0);
        // A disabled command leaves the key to the editor.
        v.accion(QStringLiteral("ActAnadir"))->setEnabled(false);
        QTest::keyClick(editor, Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(anadidos, 1);
        QCOMPARE(editor->teclas, 1);
    }

    void gridFollowsTheRecord() {
        VentanaPrueba v;
        v.show();
        auto *rejilla = v.findChild<QTableView *>(QStringLiteral("Rejilla"));
        v.tabla()->last();
        QCOMPARE(rejilla->currentIndex().row(), 3);
        rejilla->setCurrentIndex(rejilla->model()->index(1, 0));
        QCOMPARE(v.tabla()->value("Numero").toString(), QStringLiteral("000002/05"));
        QCOMPARE(v.posicion(), QStringLiteral("2/4"));
    }
};

QTEST_MAIN(TstVentanaRegistro)
#include "tst_ventanaregistro.moc"
