#include "ProgramaTemporal.h"
#include "app/IniFile.h"
#include "app/TFormMenuPrincipal.h"
#include "common/Listado.h"
#include "common/MotorListado.h"
#include "store/Connection.h"
#include "store/Table.h"
#include "store/Transaction.h"

#include <QAction>
#include <QApplication>
#include <QDate>
#include <QFileDialog>
#include <QPrintPreviewDialog>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using Banda = ElementoPagina::Banda;

namespace {
const QString kLargo = QStringLiteral(
    "POLIGONO INDUSTRIAL DE LAS CUARENTA FANEGAS, NAVE DIECISIETE, MUELLE DE CARGA TRES, "
    "ENTRADA POR LA CALLE DE ATRAS");
const QString kSinEspacios = QStringLiteral("DESCARGASINESPACIOSQUENOCABEENSUCOLUMNAENUNALINEA");

QString sinBlancos(QString t) {
    return t.remove(' ');
}
} // namespace

class TstListado : public QObject {
    Q_OBJECT

    ProgramaTemporal programa;
    Connection db{QStringLiteral("VIVOZED")};
    std::unique_ptr<TFormMenuPrincipal> principal;
    int largos = 0; // hauls of the long run that wrap

    void porte(int n, const QString &matricula, QVariant precio, const QString &carga,
               const QString &descarga = QStringLiteral("BARCELONA")) {
        ProgramaTemporal::insertar(db, QStringLiteral("portes.DB"),
                                   {{"Numero", QStringLiteral("%1/05").arg(n, 6, 10, QChar('0'))},
                                    {"Fecha", QDate(2005, 2, 1).addDays(n % 20)},
                                    {"Matricula", matricula},
                                    {"Transportista", QStringLiteral("CLIENTE %1").arg(n)},
                                    {"Carga", carga},
                                    {"Descarga", descarga},
                                    {"Precio", precio},
                                    {"Facturado", "No"},
                                    {"Pagado", "Sí"},
                                    {"Reportado", "No"}});
    }

    // The hauls listing as the hauls window declares it, with a count in the summary.
    static Listado listadoPortes(const QString &filtro, const QString &numero) {
        using V = Listado::Valor;
        Listado l;
        l.titulo = QStringLiteral("LISTADO DE PORTES");
        l.orientacion = QPageLayout::Landscape;
        l.fijarFiltro(filtro);
        l.fijarNumero(numero);
        l.anadirColumna(QStringLiteral("ID"), V::deCampo(QStringLiteral("ID")), 0.6);
        l.anadirColumna(QStringLiteral("Número"), V::deCampo(QStringLiteral("Numero")));
        l.anadirColumna(QStringLiteral("Fecha"), V::deCampo(QStringLiteral("Fecha")));
        l.anadirColumna(QStringLiteral("Matrícula"), V::deCampo(QStringLiteral("Matricula")));
        l.anadirColumna(QStringLiteral("Cliente"), V::deCampo(QStringLiteral("Transportista")), 2);
        l.anadirColumna(QStringLiteral("Carga"), V::deCampo(QStringLiteral("Carga")), 2);
        l.anadirColumna(QStringLiteral("Descarga"), V::deCampo(QStringLiteral("Descarga")), 2);
        l.anadirColumna(QStringLiteral("Precio"),
                        V::deCampo(QStringLiteral("Precio"), Formato::kMoneda), 1.2,
                        Qt::AlignRight);
        for (const char *f : {"Facturado", "Pagado", "Reportado"}) {
            Listado::Columna &c = l.anadirColumna(QString::fromLatin1(f).left(2),
                                                  V::deCampo(QString::fromLatin1(f)), 7);
            c.medida = Listado::Columna::Medida::Milimetros;
        }
        l.resumen << Listado::LineaResumen::conTotal(QStringLiteral("Nº:"),
                                                     Listado::Total::cuenta())
                  << Listado::LineaResumen::conTotal(QStringLiteral("Total:"),
                                                     Listado::Total::suma(QStringLiteral("Precio")),
                                                     l.columna(QStringLiteral("Precio")));
        l.pie.empresa = Listado::rotuloEmpresa();
        return l;
    }

    static QString filtroMatricula(const QString &m) {
        return QStringLiteral("[Matricula] = '%1'").arg(m);
    }

    Table *abrir(QObject *owner, const QString &matricula) {
        auto *t = new Table(&db, QStringLiteral("portes.DB"), owner);
        t->setIndexFieldNames(QStringLiteral("Numero"));
        t->setFilter(filtroMatricula(matricula));
        t->setFiltered(true);
        t->open();
        return t;
    }

    static QList<ElementoPagina> banda(const PaginaListado &p, Banda b) {
        QList<ElementoPagina> es;
        for (const ElementoPagina &e : p.elementos)
            if (e.banda == b && e.tipo == ElementoPagina::Tipo::Texto)
                es << e;
        return es;
    }

    // The detail lines of one record, in the order they were laid out.
    static QList<ElementoPagina> celdas(const PaginaListado &p, int registro, int columna = -1) {
        QList<ElementoPagina> es;
        for (const ElementoPagina &e : banda(p, Banda::Detalle))
            if (e.registro == registro && (columna < 0 || e.columna == columna))
                es << e;
        return es;
    }

private Q_SLOTS:
    void initTestCase() {
        principal = std::make_unique<TFormMenuPrincipal>();
        db.setPath(programa.crearEmpresa(7, QStringLiteral("TRANSPORTES PRUEBA")));
        db.open();
        principal->ajustes = AjustesEmpresa::leer(IniFile(programa.ini()));
        Transaction tx(db);
        porte(1, QStringLiteral("1111AAA"), 1234.5, QStringLiteral("MADRID"));
        porte(2, QStringLiteral("1111AAA"), QVariant(), kLargo, kSinEspacios);
        porte(3, QStringLiteral("1111AAA"), 100.0, QStringLiteral("VALENCIA"));
        for (int i = 0; i < 45; ++i) {
            // Every sixth haul wraps onto several lines; one of them falls on the page break.
            const bool largo = i % 6 == 1;
            largos += largo;
            porte(100 + i, QStringLiteral("2222BBB"), 10.0 * (i + 1),
                  largo ? kLargo : QStringLiteral("CARGA %1").arg(i));
        }
        tx.commit();
    }

    void listadoPequeno() {
        QObject owner;
        Table *t = abrir(&owner, QStringLiteral("1111AAA"));
        t->next();
        const qint64 actual = t->rowId();
        MotorListado motor(
            listadoPortes(filtroMatricula(QStringLiteral("1111AAA")), QStringLiteral("3")), t);
        QCOMPARE(motor.numeroPaginas(), 1);
        const PaginaListado &p = motor.paginas().first();

        QCOMPARE(
            p.textos(Banda::Titulo),
            QStringList({"LISTADO DE PORTES", "Filtro:", "[Matricula] = '1111AAA'", "Nº:", "3"}));
        QCOMPARE(p.textos(Banda::Columnas),
                 QStringList({"ID", "Número", "Fecha", "Matrícula", "Cliente", "Carga", "Descarga",
                              "Precio", "Fa", "Pa", "Re"}));
        QStringList primera;
        for (const ElementoPagina &e : celdas(p, 0))
            primera << e.texto;
        QCOMPARE(primera.mid(1),
                 QStringList({"000001/05", "02/02/2005", "1111AAA", "CLIENTE 1", "MADRID",
                              "BARCELONA", "1.234,50", "No", "Sí", "No"}));
        QVERIFY(celdas(p, 1, 7).isEmpty()); // no price, no text
        QCOMPARE(celdas(p, 2, 7).first().texto, QStringLiteral("100,00"));
        QCOMPARE(celdas(p, 2, 7).first().alineacion, Qt::Alignment(Qt::AlignRight));

        QCOMPARE(p.textos(Banda::Resumen), QStringList({"Nº:", "3", "Total:", "1.334,50"}));
        const ElementoPagina precio = celdas(p, 0, 7).first();
        const ElementoPagina total = banda(p, Banda::Resumen).last();
        QCOMPARE(total.rect.left(), precio.rect.left());
        QCOMPARE(total.rect.right(), precio.rect.right());

        const QStringList pie = p.textos(Banda::PiePagina);
        QCOMPARE(pie.size(), 3);
        QVERIFY(QRegularExpression(QStringLiteral("^\\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d$"))
                    .match(pie[0])
                    .hasMatch());
        QCOMPARE(pie.mid(1), QStringList({"7 -  TRANSPORTES PRUEBA", "1/1"}));

        QCOMPARE(t->rowId(), actual);
        QVERIFY(!t->controlsDisabled());
    }

    // Long texts continue on more lines of their own column, a word wider than the column
    // breaks inside, and the next record starts below the tallest cell.
    void textoLargoEnVariasLineas() {
        QObject owner;
        MotorListado motor(listadoPortes(QString(), QString()),
                           abrir(&owner, QStringLiteral("1111AAA")));
        const PaginaListado &p = motor.paginas().first();
        double finFila = 0;
        for (const auto &[columna, texto] : {std::pair{5, kLargo}, std::pair{6, kSinEspacios}}) {
            const QList<ElementoPagina> lineas = celdas(p, 1, columna);
            QVERIFY2(lineas.size() > 1, qPrintable(texto));
            QString junto;
            for (int i = 0; i < lineas.size(); ++i) {
                junto += lineas[i].texto;
                QCOMPARE(lineas[i].rect.left(), lineas.first().rect.left());
                QCOMPARE(lineas[i].rect.width(), lineas.first().rect.width());
                if (i > 0)
                    QVERIFY(lineas[i].rect.top() >= lineas[i - 1].rect.bottom() - 0.01);
            }
            QCOMPARE(sinBlancos(junto), sinBlancos(texto));
            finFila = std::max(finFila, lineas.last().rect.bottom());
        }
        QCOMPARE(celdas(p, 1, 1).size(), 1);
        QCOMPARE(celdas(p, 1, 1).first().rect.top(), celdas(p, 1, 5).first().rect.top());
        QVERIFY(celdas(p, 2).first().rect.top() >= finFila);
    }

    // A run over two pages: the title band on the first page only, the heads on both, no
    // record split between pages and nothing under the footer line.
    void dosPaginas() {
        QObject owner;
        MotorListado motor(
            listadoPortes(filtroMatricula(QStringLiteral("2222BBB")), QStringLiteral("45")),
            abrir(&owner, QStringLiteral("2222BBB")));
        QCOMPARE(motor.numeroPaginas(), 2);
        const QList<PaginaListado> &ps = motor.paginas();
        QVERIFY(!ps[0].textos(Banda::Titulo).isEmpty());
        QVERIFY(ps[1].textos(Banda::Titulo).isEmpty());
        QCOMPARE(ps[1].textos(Banda::Columnas), ps[0].textos(Banda::Columnas));
        QCOMPARE(ps[0].textos(Banda::PiePagina).last(), QStringLiteral("1/2"));
        QCOMPARE(ps[1].textos(Banda::PiePagina).last(), QStringLiteral("2/2"));
        QVERIFY(ps[0].textos(Banda::Resumen).isEmpty());
        QCOMPARE(ps[1].textos(Banda::Resumen), QStringList({"Nº:", "45", "Total:", "10.350,00"}));

        QHash<int, QSet<int>> paginasDe;
        int lineasLargas = 0;
        for (int i = 0; i < ps.size(); ++i) {
            double pie = 0;
            for (const ElementoPagina &e : ps[i].elementos)
                if (e.banda == Banda::PiePagina && e.tipo == ElementoPagina::Tipo::Linea)
                    pie = e.rect.top();
            QVERIFY(pie > 0);
            for (const ElementoPagina &e : banda(ps[i], Banda::Detalle)) {
                paginasDe[e.registro] << i;
                QVERIFY(e.rect.bottom() <= pie);
                lineasLargas +=
                    e.columna == 5 && e.texto != QStringLiteral("CARGA %1").arg(e.registro);
            }
        }
        QCOMPARE(paginasDe.size(), 45);
        for (auto it = paginasDe.cbegin(); it != paginasDe.cend(); ++it)
            QVERIFY2(it.value().size() == 1, qPrintable(QString::number(it.key())));
        QVERIFY(lineasLargas >= 2 * largos); // the long hauls did wrap
    }

    void listadoVacio() {
        QObject owner;
        Table *t = abrir(&owner, QStringLiteral("NINGUNA"));
        MotorListado motor(
            listadoPortes(filtroMatricula(QStringLiteral("NINGUNA")), QStringLiteral("0")), t);
        QCOMPARE(motor.numeroPaginas(), 1);
        const PaginaListado &p = motor.paginas().first();
        QCOMPARE(p.textos(Banda::Titulo).first(), QStringLiteral("LISTADO DE PORTES"));
        QCOMPARE(p.textos(Banda::Columnas).size(), 11);
        QVERIFY(p.textos(Banda::Detalle).isEmpty());
        QCOMPARE(p.textos(Banda::Resumen), QStringList({"Nº:", "0", "Total:", "0"}));
        QCOMPARE(p.textos(Banda::PiePagina).last(), QStringLiteral("1/1"));
        QVERIFY(!t->controlsDisabled());
    }

    // Each change of the key closes the group with its own sums and opens the next one.
    void grupos() {
        QObject owner;
        auto *t = new Table(&db, QStringLiteral("portes.DB"), &owner);
        t->setIndexFieldNames(QStringLiteral("Matricula"));
        t->open();
        Listado l;
        l.titulo = QStringLiteral("PORTES POR CAMIÓN");
        l.anadirColumna(QStringLiteral("Número"),
                        Listado::Valor::deCampo(QStringLiteral("Numero")));
        l.anadirColumna(QStringLiteral("Precio"),
                        Listado::Valor::deCampo(QStringLiteral("Precio"), Formato::kMoneda), 1,
                        Qt::AlignRight);
        Listado::Grupo g;
        g.clave = Listado::Valor::deCampo(QStringLiteral("Matricula"));
        g.cabecera << Listado::Bloque{Listado::Valor::de([](const DataSet &d) -> QString {
                                          return QStringLiteral("Camión: ") +
                                                 d.value(QStringLiteral("Matricula")).toString();
                                      }),
                                      QRectF(0, 0, 0, 5),
                                      Qt::AlignLeft,
                                      9,
                                      true,
                                      true};
        g.pie << Listado::LineaResumen{
            QStringLiteral("Suma:"),
            {{QString(), Listado::Total::suma(QStringLiteral("Precio")), 1},
             {QString(), Listado::Total::media(QStringLiteral("Precio")), -1}}};
        l.grupos << g;
        l.resumen << Listado::LineaResumen::conTotal(QStringLiteral("Portes:"),
                                                     Listado::Total::cuenta());
        MotorListado motor(l, t);
        QStringList cabeceras, pies;
        for (const PaginaListado &p : motor.paginas()) {
            cabeceras << p.textos(Banda::CabeceraGrupo);
            pies << p.textos(Banda::PieGrupo);
        }
        QCOMPARE(cabeceras, QStringList({"Camión: 1111AAA", "Camión: 2222BBB"}));
        QCOMPARE(pies,
                 QStringList({"Suma:", "1.334,50", "444,83", "Suma:", "10.350,00", "230,00"}));
        QCOMPARE(motor.paginas().last().textos(Banda::Resumen), QStringList({"Portes:", "48"}));
        // The first group's footer comes after its last record and before the next header.
        const PaginaListado &p = motor.paginas().first();
        int ultimo = -1, pie = -1, siguiente = -1;
        for (int i = 0; i < p.elementos.size(); ++i) {
            const ElementoPagina &e = p.elementos[i];
            if (e.banda == Banda::Detalle && e.registro == 2)
                ultimo = i;
            if (pie < 0 && e.banda == Banda::PieGrupo)
                pie = i;
            if (e.texto == QStringLiteral("Camión: 2222BBB"))
                siguiente = i;
        }
        QVERIFY(ultimo < pie && pie < siguiente);
    }

    void pdf() {
        QObject owner;
        MotorListado motor(
            listadoPortes(filtroMatricula(QStringLiteral("2222BBB")), QStringLiteral("45")),
            abrir(&owner, QStringLiteral("2222BBB")));
        QTemporaryDir dir;
        const QString ruta = dir.filePath(QStringLiteral("listado.pdf"));
        QVERIFY(motor.guardarPdf(ruta));
        QProcess pdftotext;
        pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), ruta, "-"});
        QVERIFY(pdftotext.waitForFinished(30000));
        QCOMPARE(pdftotext.exitCode(), 0);
        const QString texto = QString::fromUtf8(pdftotext.readAllStandardOutput());
        const QStringList paginas = texto.split('\f', Qt::SkipEmptyParts);
        QCOMPARE(paginas.size(), 2);
        QVERIFY(paginas[0].contains(QStringLiteral("LISTADO DE PORTES")));
        QVERIFY(paginas[0].contains(QStringLiteral("[Matricula] = '2222BBB'")));
        QVERIFY(paginas[0].contains(QRegularExpression(QStringLiteral("Filtro:"))));
        QVERIFY(paginas[0].contains(QRegularExpression(QStringLiteral("Nº:\\s+45"))));
        QVERIFY(paginas[0].contains(QStringLiteral("1/2")));
        QVERIFY(!paginas[1].contains(QStringLiteral("LISTADO DE PORTES")));
        QVERIFY(paginas[1].contains(QRegularExpression(QStringLiteral("Total:\\s+10.350,00"))));
        QVERIFY(paginas[1].contains(QStringLiteral("2/2")));
        QVERIFY(paginas[1].contains(QStringLiteral("TRANSPORTES PRUEBA")));

        QTest::ignoreMessage(QtWarningMsg, "QPainter::begin(): Returned false");
        QVERIFY(!motor.guardarPdf(dir.filePath(QStringLiteral("no/existe/listado.pdf"))));
    }

    // The progress window is up while the pages are laid out and gone before the preview opens;
    // the preview saves the same pages as PDF, and the table stays still until it closes.
    void vistaPreliminar_data() {
        QTest::addColumn<bool>("progreso");
        QTest::newRow("con progreso") << true;
        QTest::newRow("sin progreso") << false;
    }

    void vistaPreliminar() {
        QFETCH(bool, progreso);
        QObject owner;
        Table *t = abrir(&owner, QStringLiteral("1111AAA"));
        QStringList avisos;
        MotorListado::fijarAvisoProgreso({[&](const QString &texto) {
                                              avisos << texto;
                                              QVERIFY(t->controlsDisabled());
                                          },
                                          [&] { avisos << QStringLiteral("cerrar"); }});
        QTemporaryDir dir;
        const QString ruta = dir.filePath(QStringLiteral("vista.pdf"));
        QStringList alAbrir;
        bool quieta = false, guardado = false;
        QTimer::singleShot(0, this, [&] {
            auto *vista = qobject_cast<QPrintPreviewDialog *>(QApplication::activeModalWidget());
            if (!vista)
                return;
            alAbrir = avisos;
            quieta = t->controlsDisabled();
            auto *accion = vista->findChild<QAction *>(QStringLiteral("ActGuardarPdf"));
            if (accion) {
                QTimer::singleShot(0, this, [&] {
                    if (auto *f = qobject_cast<QFileDialog *>(QApplication::activeModalWidget())) {
                        f->selectFile(ruta);
                        static_cast<QDialog *>(f)->accept();
                    }
                });
                accion->trigger();
                guardado = QFile::exists(ruta);
            }
            vista->reject();
        });
        MotorListado motor(listadoPortes(QString(), QStringLiteral("3")), t);
        motor.previsualizar(nullptr, progreso);
        MotorListado::fijarAvisoProgreso({});

        const QStringList esperados =
            progreso ? QStringList({MotorListado::kTextoProgreso, QStringLiteral("cerrar")})
                     : QStringList();
        QCOMPARE(alAbrir, esperados);
        QCOMPARE(avisos, esperados);
        QVERIFY(quieta);
        QVERIFY(guardado);
        QVERIFY(!t->controlsDisabled());
    }
};

QTEST_MAIN(TstListado)
#include "tst_listado.moc"
