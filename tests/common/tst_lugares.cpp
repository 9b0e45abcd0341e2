#include "MensajesGuionizados.h"
#include "ProgramaTemporal.h"
#include "app/IniFile.h"
#include "app/TFormMenuPrincipal.h"
#include "common/RejillaAgrupada.h"
#include "common/TFormLugarG.h"
#include "common/TFormLugares.h"
#include "store/Query.h"
#include "store/TDatos.h"

#include <QAction>
#include <QApplication>
#include <QDate>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <functional>

namespace {
const QString kPortes = QStringLiteral("No se puede eliminar el lugar ya que existe en portes.");
const QString kReportes =
    QStringLiteral("No se puede eliminar el lugar ya que existe en reportes.");
const QString kViajes = QStringLiteral("No se puede eliminar el lugar ya que existe en viajes.");
const QString kRepetido =
    QStringLiteral("El lugar introudcido ya existe. Elimínelo antes de continuar.");

// Eleven places, so that the IDs 10 and 11 tell a numeric sort from a text one.
const QList<QPair<const char *, const char *>> kLugares = {
    {"BILBAO", "ESPAÑA"},   {"ÁVILA", "ESPAÑA"},    {"LYON", "FRANCIA"},  {"PARIS", "FRANCIA"},
    {"OPORTO", "PORTUGAL"}, {"LISBOA", "PORTUGAL"}, {"MADRID", "ESPAÑA"}, {"NIZA", "FRANCIA"},
    {"BRAGA", "PORTUGAL"},  {"CÁDIZ", "ESPAÑA"},    {"TOURS", "FRANCIA"},
};

// Types text with letters beyond ASCII too.
void teclear(QWidget *w, const QString &texto) {
    for (const QChar c : texto)
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key(c.toUpper().unicode()), QString(c),
                            Qt::NoModifier);
}

QStringList titulos(QMenu *menu) {
    QStringList out;
    for (QAction *a : menu->actions())
        out << (a->isSeparator() ? QStringLiteral("|") : a->text());
    return out;
}
} // namespace

class TstLugares : public QObject {
    Q_OBJECT

    ProgramaTemporal *programa = nullptr;
    TFormMenuPrincipal *principal = nullptr;
    TDatos *datos = nullptr;
    MensajesGuionizados *mensajes = nullptr;

    qint64 lugar(const QString &nombre, const QString &pais = QString()) {
        return ProgramaTemporal::insertar(*datos->db, QStringLiteral("Lugar.db"),
                                          {{"Lugar", nombre}, {"Pais", pais}});
    }
    void todosLosLugares() {
        for (const auto &l : kLugares)
            lugar(QString::fromUtf8(l.first), QString::fromUtf8(l.second));
    }
    // The stored places as "NAME/COUNTRY", by name.
    QStringList guardados() {
        Query q(datos->db);
        q.setSql(QStringLiteral("select Lugar, Pais from Lugar order by Lugar"));
        q.open();
        QStringList out;
        for (; !q.eof(); q.next())
            out << q.value(QStringLiteral("Lugar")).toString() + '/' +
                       q.value(QStringLiteral("Pais")).toString();
        return out;
    }

    TFormLugares *abrir() {
        principal->accion(QStringLiteral("ActLugares"))->trigger();
        return qobject_cast<TFormLugares *>(principal->ventanaHija(QStringLiteral("FormLugares")));
    }
    static QAction *accion(QWidget *w, const char *nombre) {
        return w->findChild<QAction *>(QString::fromLatin1(nombre));
    }
    static QStringList columna(RejillaAgrupada *r, const QString &campo) {
        QStringList out;
        for (int i = 0; i < r->filas(); ++i)
            out << r->texto(i, campo);
        return out;
    }
    static bool elegir(RejillaAgrupada *r, const QString &nombre) {
        for (int i = 0; i < r->filas(); ++i)
            if (r->texto(i, QStringLiteral("Lugar")) == nombre) {
                r->setFilaActual(i);
                return true;
            }
        return false;
    }
    static void clicEnTitulo(RejillaAgrupada *r, const QString &campo,
                             Qt::KeyboardModifiers modificadores) {
        QHeaderView *h = r->vista()->header();
        int c = 0;
        while (r->columnas()[c].campo != campo)
            ++c;
        const QPoint centro(h->sectionViewportPosition(c) + h->sectionSize(c) / 2, h->height() / 2);
        QTest::mouseClick(h->viewport(), Qt::LeftButton, modificadores, centro);
    }

    // Runs `lanzar`; when a modal place editor comes up, `enEditor` works on it, and the
    // editor is cancelled if it is still open afterwards. Tells whether one came up.
    bool conEditor(const std::function<void()> &lanzar,
                   const std::function<void(TFormLugarG *)> &enEditor) {
        bool visto = false;
        QTimer reloj;
        reloj.setSingleShot(true);
        connect(&reloj, &QTimer::timeout, this, [&] {
            auto *editor = qobject_cast<TFormLugarG *>(QApplication::activeModalWidget());
            if (!editor)
                return;
            visto = true;
            enEditor(editor);
            if (editor->isVisible())
                editor->reject();
        });
        reloj.start(0);
        lanzar();
        reloj.stop();
        return visto;
    }
    static QLineEdit *caja(QWidget *w, const char *nombre) {
        return w->findChild<QLineEdit *>(QString::fromLatin1(nombre));
    }
    static QPushButton *boton(QWidget *w, const char *nombre) {
        return w->findChild<QPushButton *>(QString::fromLatin1(nombre));
    }

private Q_SLOTS:
    void initTestCase() {
        programa = new ProgramaTemporal;
        const QString empresa = programa->crearEmpresa(1, QStringLiteral("PRUEBAS"));
        principal = new TFormMenuPrincipal;
        principal->resize(1000, 700);
        principal->show();
        datos = new TDatos;
        datos->db->setPath(empresa);
        datos->db->open();
        datos->abrirTablasCompartidas();
    }

    void cleanupTestCase() {
        delete datos;
        delete principal;
        delete programa;
    }

    void init() {
        for (const char *tabla : {"Lugar", "portes", "reportes", "viaje"}) {
            datos->db->exec(QStringLiteral("DELETE FROM %1").arg(QString::fromLatin1(tabla)));
            datos->db->touch(QString::fromLatin1(tabla));
        }
        // IDs start again at 1.
        datos->db->exec(QStringLiteral("DELETE FROM sqlite_sequence WHERE name = 'Lugar'"));
        for (Table *t : {datos->TLugar, datos->TPortes, datos->TReportes, datos->TViajes}) {
            t->cancel();
            t->setFiltered(false);
            t->setFilter(QString());
            t->first();
        }
        principal->ajustes = AjustesEmpresa();
        mensajes = new MensajesGuionizados;
    }

    void cleanup() {
        principal->areaTrabajo()->closeAllSubWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QFile::remove(TFormLugares::ficheroDiseno());
        delete mensajes;
        mensajes = nullptr;
    }

    void abreDesdeElMenuConSusMandatos() {
        TFormLugares *v = abrir();
        QVERIFY(v);
        QCOMPARE(v->windowTitle(), QStringLiteral("Lugares"));
        QHeaderView *h = v->rejilla()->vista()->header();
        QStringList vistos;
        for (int i = 0; i < h->count(); ++i)
            if (!h->isSectionHidden(h->logicalIndex(i)))
                vistos << h->model()->headerData(h->logicalIndex(i), Qt::Horizontal).toString();
        QCOMPARE(vistos, (QStringList{"ID", "Nombre", "País"}));

        const struct {
            const char *nombre, *texto, *ayuda, *tecla;
        } mandatos[] = {
            {"actNuevo", "Nuevo", "Nuevo lugar", ""},
            {"actModificar", "Modificar", "Modifica el registro actual", ""},
            {"actEliminar", "Eliminar lugar", "Elimina el lugar seleccionado", ""},
            {"ActCerrar", "Cerrar", "Cierra esta ventana", "F12"},
            {"actNuevoLugar", "Nuevo lugar", "Añade un nuevo lugar", "Ctrl+N"},
        };
        for (const auto &m : mandatos) {
            QAction *a = accion(v, m.nombre);
            QVERIFY2(a, m.nombre);
            QCOMPARE(a->text(), QString::fromUtf8(m.texto));
            QCOMPARE(a->toolTip(), QString::fromUtf8(m.ayuda));
            QCOMPARE(a->shortcut(), QKeySequence(QString::fromLatin1(m.tecla)));
        }
        QStringList barra;
        for (QAction *a : v->findChild<QToolBar *>(QStringLiteral("BB"))->actions())
            barra << (a->isSeparator() ? QStringLiteral("|") : a->toolTip());
        QCOMPARE(barra, (QStringList{"Cierra esta ventana", "|", "Primer registro",
                                     "Registro anterior", "Registro siguiente", "Último registro",
                                     "|", "Elimina el lugar seleccionado", "Nuevo lugar",
                                     "Modifica el registro actual"}));

        // The window's "Fichero" menu is merged into the main menu bar while it is active.
        QMenu *fichero = principal->menuBar()->actions().first()->menu();
        QVERIFY(fichero);
        QCOMPARE(fichero->title(), QStringLiteral(" Fichero "));
        QCOMPARE(titulos(fichero), (QStringList{"Nuevo lugar", "|", "Cerrar"}));
        QCOMPARE(titulos(v->rejilla()->menuContextual()),
                 (QStringList{"Nuevo lugar", "Eliminar lugar", "|", "Cerrar"}));

        accion(v, "ActCerrar")->trigger();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!principal->ventanaHija(QStringLiteral("FormLugares")));
    }

    void barraSegunAjustes_data() {
        QTest::addColumn<int>("mostrar");
        QTest::addColumn<int>("flat");
        QTest::newRow("oculta") << 0 << 1;
        QTest::newRow("visible y plana") << 1 << 1;
        QTest::newRow("visible en relieve") << 1 << 0;
    }
    void barraSegunAjustes() {
        QFETCH(int, mostrar);
        QFETCH(int, flat);
        principal->ajustes.mostrarBBEnVentanas = mostrar;
        principal->ajustes.flat = flat;
        TFormLugares *v = abrir();
        auto *barra = v->findChild<QToolBar *>(QStringLiteral("BB"));
        QCOMPARE(barra->isVisible(), mostrar == 1);
        const QList<QToolButton *> botones = barra->findChildren<QToolButton *>();
        QVERIFY(!botones.isEmpty());
        for (QToolButton *b : botones)
            QCOMPARE(b->autoRaise(), flat == 1);
    }

    void eliminar_data() {
        QTest::addColumn<QStringList>("usos");
        QTest::addColumn<QString>("escrito");
        QTest::addColumn<QString>("mensaje");
        QTest::newRow("en portes y viajes")
            << QStringList{"viaje.Origen", "portes.Descarga"} << "MADRID" << kPortes;
        QTest::newRow("carga de un porte") << QStringList{"portes.Carga"} << "MADRID" << kPortes;
        QTest::newRow("reportes antes que viajes")
            << QStringList{"viaje.Destino", "reportes.Descarga"} << "MADRID" << kReportes;
        QTest::newRow("solo destino de viaje")
            << QStringList{"viaje.Destino"} << "MADRID" << kViajes;
        QTest::newRow("sin uso") << QStringList{} << ""
                                 << "";
        QTest::newRow("escrito de otra forma")
            << QStringList{"portes.Carga", "viaje.Destino"} << "Madrid"
            << "";
    }
    void eliminar() {
        QFETCH(QStringList, usos);
        QFETCH(QString, escrito);
        QFETCH(QString, mensaje);
        lugar(QStringLiteral("MADRID"), QStringLiteral("ESPAÑA"));
        lugar(QStringLiteral("LISBOA"), QStringLiteral("PORTUGAL"));
        int n = 0;
        for (const QString &uso : usos) {
            const QString tabla = uso.section('.', 0, 0), campo = uso.section('.', 1);
            const QString numero = QStringLiteral("%1/05").arg(++n, 6, 10, QChar('0'));
            QVariantMap fila{{campo, escrito}};
            if (tabla == QLatin1String("viaje")) {
                fila.insert(QStringLiteral("NumViaje"), numero);
            } else {
                fila.insert(QStringLiteral("Numero"), numero);
                fila.insert(QStringLiteral("Fecha"), QStringLiteral("2005-03-01"));
                fila.insert(QStringLiteral("Matricula"), QStringLiteral("1234ABC"));
                fila.insert(QStringLiteral("Facturado"), QStringLiteral("No"));
                fila.insert(QStringLiteral("Pagado"), QStringLiteral("No"));
                if (tabla == QLatin1String("portes"))
                    fila.insert(QStringLiteral("Reportado"), QStringLiteral("No"));
            }
            ProgramaTemporal::insertar(*datos->db, tabla + QStringLiteral(".DB"), fila);
        }
        // Filters other windows left on the shared cursors do not hide a use.
        datos->TPortes->setFilter(QStringLiteral("[Matricula] = 'NINGUNA'"));
        datos->TReportes->setFilter(QStringLiteral("[Matricula] = 'NINGUNA'"));
        datos->TViajes->setFilter(QStringLiteral("[NumViaje] = 'NINGUNO'"));
        for (Table *t : {datos->TPortes, datos->TReportes, datos->TViajes})
            t->setFiltered(true);

        TFormLugares *v = abrir();
        QVERIFY(elegir(v->rejilla(), QStringLiteral("MADRID")));
        if (!mensaje.isEmpty())
            mensajes->esperar(TipoMensaje::Informacion);
        accion(v, "actEliminar")->trigger();
        QCOMPARE(mensajes->pendientes(), 0);
        if (mensaje.isEmpty()) {
            QVERIFY(mensajes->vistos().isEmpty());
            QCOMPARE(guardados(), QStringList{"LISBOA/PORTUGAL"});
            QCOMPARE(columna(v->rejilla(), QStringLiteral("Lugar")), QStringList{"LISBOA"});
        } else {
            QCOMPARE(mensajes->ultimoTexto(), mensaje);
            QCOMPARE(guardados(), (QStringList{"LISBOA/PORTUGAL", "MADRID/ESPAÑA"}));
        }
        QVERIFY(datos->TPortes->filtered());
        QCOMPARE(datos->TPortes->filter(), QStringLiteral("[Matricula] = 'NINGUNA'"));
    }

    void nuevoLugarEnMayusculas() {
        TFormLugares *v = abrir();
        const bool visto =
            conEditor([&] { accion(v, "actNuevo")->trigger(); },
                      [&](TFormLugarG *d) {
                          QCOMPARE(d->windowTitle(), QStringLiteral("Añadir Lugar..."));
                          QLineEdit *nombre = caja(d, "TxtLugar");
                          teclear(nombre, QStringLiteral("zaragoza"));
                          // Enter moves on to the next box, without accepting.
                          QTest::keyClick(nombre, Qt::Key_Return);
                          QVERIFY(d->isVisible());
                          QCOMPARE(d->focusWidget(), static_cast<QWidget *>(caja(d, "TxtPais")));
                          teclear(d->focusWidget(), QStringLiteral("españa"));
                          QCOMPARE(nombre->text(), QStringLiteral("ZARAGOZA"));
                          boton(d, "BAceptar")->click();
                          QVERIFY(!d->isVisible());
                      });
        QVERIFY(visto);
        QCOMPARE(guardados(), QStringList{"ZARAGOZA/ESPAÑA"});
        QCOMPARE(datos->TLugar->state(), DataSet::Browse);
        // The list shows it at once, as the current place.
        RejillaAgrupada *r = v->rejilla();
        QCOMPARE(r->filas(), 1);
        QCOMPARE(r->texto(r->filaActual(), QStringLiteral("Lugar")), QStringLiteral("ZARAGOZA"));
    }

    void nuevoSinNombreNoGuardaNada() {
        lugar(QStringLiteral("MADRID"), QStringLiteral("ESPAÑA"));
        TFormLugares *v = abrir();
        const bool visto = conEditor(
            [&] { accion(v, "actNuevoLugar")->trigger(); },
            [&](TFormLugarG *d) {
                teclear(caja(d, "TxtPais"), QStringLiteral("francia"));
                mensajes->esperar(TipoMensaje::Error);
                boton(d, "BAceptar")->click();
                QCOMPARE(mensajes->vistos().last().titulo, QStringLiteral("Error..."));
                QCOMPARE(mensajes->ultimoTexto(), QStringLiteral("El nombre debe tener un valor."));
                QVERIFY(d->isVisible());
                QCOMPARE(guardados(), QStringList{"MADRID/ESPAÑA"});
                boton(d, "BCancelar")->click();
                QVERIFY(!d->isVisible());
            });
        QVERIFY(visto);
        QCOMPARE(mensajes->pendientes(), 0);
        QCOMPARE(datos->TLugar->state(), DataSet::Browse);
        QCOMPARE(guardados(), QStringList{"MADRID/ESPAÑA"});
        QCOMPARE(v->rejilla()->filas(), 1);
    }

    void nombreRepetidoMantieneElEditor() {
        lugar(QStringLiteral("MADRID"), QStringLiteral("ESPAÑA"));
        TFormLugares *v = abrir();
        const bool visto =
            conEditor([&] { accion(v, "actNuevo")->trigger(); },
                      [&](TFormLugarG *d) {
                          teclear(caja(d, "TxtLugar"), QStringLiteral("madrid"));
                          teclear(caja(d, "TxtPais"), QStringLiteral("portugal"));
                          mensajes->esperar(TipoMensaje::Error);
                          boton(d, "BAceptar")->click();
                          QCOMPARE(mensajes->ultimoTexto(), kRepetido);
                          QVERIFY(d->isVisible());
                          QCOMPARE(caja(d, "TxtLugar")->text(), QStringLiteral("MADRID"));
                          QCOMPARE(caja(d, "TxtPais")->text(), QStringLiteral("PORTUGAL"));
                          QCOMPARE(datos->TLugar->state(), DataSet::Insert);
                          boton(d, "BCancelar")->click();
                      });
        QVERIFY(visto);
        QCOMPARE(datos->TLugar->state(), DataSet::Browse);
        QCOMPARE(guardados(), QStringList{"MADRID/ESPAÑA"});
    }

    void modificarConListaVacia() {
        TFormLugares *v = abrir();
        mensajes->esperar(TipoMensaje::Informacion);
        const bool visto =
            conEditor([&] { accion(v, "actModificar")->trigger(); }, [](TFormLugarG *) {});
        QVERIFY(!visto);
        QCOMPARE(mensajes->ultimoTexto(), QStringLiteral("No hay datos."));
    }

    void modificarMuestraElCambio() {
        lugar(QStringLiteral("MADRID"), QStringLiteral("ESPAÑA"));
        const qint64 id = lugar(QStringLiteral("LISBOA"), QStringLiteral("ESPAÑA"));
        TFormLugares *v = abrir();
        QVERIFY(elegir(v->rejilla(), QStringLiteral("LISBOA")));
        const bool visto =
            conEditor([&] { accion(v, "actModificar")->trigger(); },
                      [&](TFormLugarG *d) {
                          QCOMPARE(d->windowTitle(), QStringLiteral("Modificación de Lugar..."));
                          QCOMPARE(caja(d, "TxtLugar")->text(), QStringLiteral("LISBOA"));
                          QCOMPARE(caja(d, "TxtCodigo")->text(), QString::number(id));
                          caja(d, "TxtPais")->clear();
                          teclear(caja(d, "TxtPais"), QStringLiteral("portugal"));
                          boton(d, "BAceptar")->click();
                      });
        QVERIFY(visto);
        QCOMPARE(guardados(), (QStringList{"LISBOA/PORTUGAL", "MADRID/ESPAÑA"}));
        RejillaAgrupada *r = v->rejilla();
        QCOMPARE(r->texto(r->filaActual(), QStringLiteral("Pais")), QStringLiteral("PORTUGAL"));
        QCOMPARE(datos->TLugar->state(), DataSet::Browse);
    }

    void zoomSoloMuestra() {
        lugar(QStringLiteral("MADRID"), QStringLiteral("ESPAÑA"));
        const qint64 id = lugar(QStringLiteral("LISBOA"), QStringLiteral("PORTUGAL"));
        principal->modoEdicion = QStringLiteral("zoom");
        principal->claveEdicion = QString::number(id);
        QPointer<TFormLugarG> d = new TFormLugarG;
        d->show();
        QCOMPARE(d->windowTitle(), QStringLiteral("Visualizar Lugar..."));
        QCOMPARE(caja(d, "TxtLugar")->text(), QStringLiteral("LISBOA"));
        QCOMPARE(caja(d, "TxtPais")->text(), QStringLiteral("PORTUGAL"));
        QVERIFY(caja(d, "TxtLugar")->isReadOnly());
        QVERIFY(boton(d, "BAceptar")->isHidden());
        QCOMPARE(d->focusWidget(), static_cast<QWidget *>(boton(d, "BCancelar")));
        QTest::keyClick(d, Qt::Key_Escape);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!d);
        QCOMPARE(datos->TLugar->state(), DataSet::Browse);
    }

    void ordenarPorTitulos_data() {
        QTest::addColumn<QStringList>("clics"); // "^": with Ctrl, "+": with Shift
        QTest::addColumn<QStringList>("esperado");
        QTest::newRow("nombre, a la española")
            << QStringList{"Lugar"}
            << QStringList{"ÁVILA",  "BILBAO", "BRAGA",  "CÁDIZ", "LISBOA", "LYON",
                           "MADRID", "NIZA",   "OPORTO", "PARIS", "TOURS"};
        QTest::newRow("segundo clic invierte")
            << QStringList{"Lugar", "Lugar"}
            << QStringList{"TOURS",  "PARIS", "OPORTO", "NIZA",   "MADRID", "LYON",
                           "LISBOA", "CÁDIZ", "BRAGA",  "BILBAO", "ÁVILA"};
        QTest::newRow("ID como número")
            << QStringList{"Id", "Id"}
            << QStringList{"TOURS",  "CÁDIZ", "BRAGA", "NIZA",  "MADRID", "LISBOA",
                           "OPORTO", "PARIS", "LYON",  "ÁVILA", "BILBAO"};
        QTest::newRow("país y nombre descendente")
            << QStringList{"Pais", "^Lugar", "^Lugar"}
            << QStringList{"MADRID", "CÁDIZ", "BILBAO", "ÁVILA",  "TOURS", "PARIS",
                           "NIZA",   "LYON",  "OPORTO", "LISBOA", "BRAGA"};
        QTest::newRow("país descendente y nombre")
            << QStringList{"Pais", "+Lugar", "+Pais"}
            << QStringList{"BRAGA", "LISBOA", "OPORTO", "LYON",  "NIZA",  "PARIS",
                           "TOURS", "ÁVILA",  "BILBAO", "CÁDIZ", "MADRID"};
        QTest::newRow("un clic simple deja una columna")
            << QStringList{"Pais", "+Lugar", "Id"}
            << QStringList{"BILBAO", "ÁVILA", "LYON",  "PARIS", "OPORTO", "LISBOA",
                           "MADRID", "NIZA",  "BRAGA", "CÁDIZ", "TOURS"};
    }
    void ordenarPorTitulos() {
        QFETCH(QStringList, clics);
        QFETCH(QStringList, esperado);
        todosLosLugares();
        TFormLugares *v = abrir();
        RejillaAgrupada *r = v->rejilla();
        for (QString clic : clics) {
            Qt::KeyboardModifiers mod = Qt::NoModifier;
            if (clic.startsWith('^'))
                mod = Qt::ControlModifier;
            else if (clic.startsWith('+'))
                mod = Qt::ShiftModifier;
            if (mod != Qt::NoModifier)
                clic.remove(0, 1);
            clicEnTitulo(r, clic, mod);
        }
        QCOMPARE(columna(r, QStringLiteral("Lugar")), esperado);
    }

    void filaDeFiltro_data() {
        QTest::addColumn<QString>("nombre");
        QTest::addColumn<QString>("pais");
        QTest::addColumn<QStringList>("esperado");
        QTest::newRow("parte del país, en minúsculas")
            << ""
            << "fran" << QStringList{"LYON", "NIZA", "PARIS", "TOURS"};
        QTest::newRow("en medio del nombre") << "ri"
                                             << "" << QStringList{"MADRID", "PARIS"};
        QTest::newRow("las dos cajas") << "o"
                                       << "port" << QStringList{"LISBOA", "OPORTO"};
        QTest::newRow("nada") << "zz"
                              << "" << QStringList{};
    }
    void filaDeFiltro() {
        QFETCH(QString, nombre);
        QFETCH(QString, pais);
        QFETCH(QStringList, esperado);
        todosLosLugares();
        TFormLugares *v = abrir();
        RejillaAgrupada *r = v->rejilla();
        r->setOrdenacion({{QStringLiteral("Lugar"), Qt::AscendingOrder}});
        elegir(r, QStringLiteral("BILBAO"));
        teclear(r->cajaFiltro(QStringLiteral("Lugar")), nombre);
        teclear(r->cajaFiltro(QStringLiteral("Pais")), pais);
        QCOMPARE(columna(r, QStringLiteral("Lugar")), esperado);
        QCOMPARE(r->filasCargadas(), int(kLugares.size()));
        // The window's cursor stays on a place the list shows.
        if (!esperado.isEmpty()) {
            QCOMPARE(r->filaActual(), 0);
            QCOMPARE(v->lugares()->value(QStringLiteral("Lugar")).toString(), esperado.first());
        } else {
            QCOMPARE(r->filaActual(), -1);
        }
        r->quitarFiltros();
        QCOMPARE(r->filas(), int(kLugares.size()));
    }

    void busquedaAlTeclear_data() {
        QTest::addColumn<QString>("campo");
        QTest::addColumn<QString>("teclas");
        QTest::addColumn<QString>("esperado");
        QTest::addColumn<QString>("buscado");
        QTest::newRow("una letra, desde arriba") << "Lugar"
                                                 << "b"
                                                 << "BILBAO"
                                                 << "b";
        QTest::newRow("varias letras") << "Lugar"
                                       << "ly"
                                       << "LYON"
                                       << "ly";
        QTest::newRow("en la columna país") << "Pais"
                                            << "por"
                                            << "BRAGA"
                                            << "por";
        QTest::newRow("letra sin coincidencia") << "Lugar"
                                                << "mx"
                                                << "MADRID"
                                                << "m";
        QTest::newRow("acento") << "Lugar"
                                << "cá"
                                << "CÁDIZ"
                                << "cá";
    }
    void busquedaAlTeclear() {
        QFETCH(QString, campo);
        QFETCH(QString, teclas);
        QFETCH(QString, esperado);
        QFETCH(QString, buscado);
        todosLosLugares();
        TFormLugares *v = abrir();
        RejillaAgrupada *r = v->rejilla();
        r->setOrdenacion({{QStringLiteral("Lugar"), Qt::AscendingOrder}});
        r->setFilaActual(r->filas() - 1);
        r->setColumnaActual(campo);
        teclear(r->vista(), teclas);
        QCOMPARE(r->texto(r->filaActual(), QStringLiteral("Lugar")), esperado);
        QCOMPARE(v->lugares()->value(QStringLiteral("Lugar")).toString(), esperado);
        QCOMPARE(r->textoBuscado(), buscado);
    }

    void navegadorYCursorSeSiguen() {
        todosLosLugares();
        principal->ajustes.mostrarBBEnVentanas = 1;
        TFormLugares *v = abrir();
        RejillaAgrupada *r = v->rejilla();
        r->setOrdenacion({{QStringLiteral("Pais"), Qt::DescendingOrder},
                          {QStringLiteral("Lugar"), Qt::AscendingOrder}});
        const QString actual = QStringLiteral("Lugar");
        accion(v, "NavPrimero")->trigger();
        QCOMPARE(v->lugares()->value(actual).toString(), QStringLiteral("BRAGA"));
        accion(v, "NavSiguiente")->trigger();
        QCOMPARE(v->lugares()->value(actual).toString(), QStringLiteral("LISBOA"));
        accion(v, "NavUltimo")->trigger();
        QCOMPARE(v->lugares()->value(actual).toString(), QStringLiteral("MADRID"));
        accion(v, "NavAnterior")->trigger();
        QCOMPARE(v->lugares()->value(actual).toString(), QStringLiteral("CÁDIZ"));
        // Moving the cursor moves the list.
        QVERIFY(v->lugares()->locate(actual, QStringLiteral("NIZA")));
        QCOMPARE(r->texto(r->filaActual(), actual), QStringLiteral("NIZA"));
    }

    void disenoSobreviveAlCerrar() {
        todosLosLugares();
        TFormLugares *v = abrir();
        RejillaAgrupada *r = v->rejilla();
        r->moverColumna(QStringLiteral("Pais"), 0);
        r->setAnchoColumna(QStringLiteral("Lugar"), 333);
        r->setColumnaOculta(QStringLiteral("Id"), true);
        clicEnTitulo(r, QStringLiteral("Pais"), Qt::NoModifier);
        clicEnTitulo(r, QStringLiteral("Pais"), Qt::NoModifier);
        clicEnTitulo(r, QStringLiteral("Lugar"), Qt::ControlModifier);
        const QStringList orden = r->ordenColumnas();
        const QList<ClaveOrden> claves = r->ordenacion();
        QCOMPARE(claves.size(), 2);
        accion(v, "ActCerrar")->trigger();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(QFile::exists(programa->ruta(QStringLiteral("velmora.ini"))));
        QVERIFY(
            IniFile(TFormLugares::ficheroDiseno()).sectionExists(QStringLiteral("RejillaLugares")));
        QVERIFY(!IniFile(programa->ini()).sectionExists(QStringLiteral("RejillaLugares")));

        v = abrir();
        r = v->rejilla();
        QCOMPARE(r->ordenColumnas(), orden);
        QCOMPARE(r->ordenColumnas().first(), QStringLiteral("Pais"));
        QCOMPARE(r->anchoColumna(QStringLiteral("Lugar")), 333);
        QVERIFY(r->columnaOculta(QStringLiteral("Id")));
        QVERIFY(r->columnaOculta(QStringLiteral("Observacion")));
        QVERIFY(!r->columnaOculta(QStringLiteral("Pais")));
        QCOMPARE(r->ordenacion(), claves);
        QCOMPARE(columna(r, QStringLiteral("Lugar")).mid(0, 3),
                 (QStringList{"BRAGA", "LISBOA", "OPORTO"}));
    }

    void fallaAlGuardarElCursorPropio() {
        lugar(QStringLiteral("MADRID"), QStringLiteral("ESPAÑA"));
        lugar(QStringLiteral("LISBOA"), QStringLiteral("PORTUGAL"));
        TFormLugares *v = abrir();
        RejillaAgrupada *r = v->rejilla();
        r->setOrdenacion({{QStringLiteral("Lugar"), Qt::AscendingOrder}});
        QVERIFY(elegir(r, QStringLiteral("LISBOA")));
        v->lugares()->edit();
        v->lugares()->setValue(QStringLiteral("Lugar"), QStringLiteral("MADRID"));
        mensajes->esperar(TipoMensaje::Error);
        accion(v, "NavUltimo")->trigger();
        QCOMPARE(mensajes->pendientes(), 0);
        QCOMPARE(mensajes->ultimoTexto(), kRepetido);
        QCOMPARE(v->lugares()->state(), DataSet::Browse);
        QCOMPARE(guardados(), (QStringList{"LISBOA/PORTUGAL", "MADRID/ESPAÑA"}));
    }
};

QTEST_MAIN(TstLugares)
#include "tst_lugares.moc"
