#include "MensajesGuionizados.h"
#include "ProgramaTemporal.h"
#include "app/TFormMenuPrincipal.h"
#include "common/PaginaGrafico.h"
#include "store/Connection.h"
#include "store/Table.h"

#include <QAbstractSeries>
#include <QChart>
#include <QCheckBox>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using Puntos = QList<QPair<QDate, double>>;
Q_DECLARE_METATYPE(Puntos)

class TstGrafico : public QObject {
    Q_OBJECT

    ProgramaTemporal programa;
    Connection db{QStringLiteral("VIVOZED")};
    std::unique_ptr<TFormMenuPrincipal> principal;
    std::unique_ptr<Table> tabla;

    // The reports as a record window shows them: in number order, not in date order.
    void informe(const char *numero, QVariant fecha, QVariant precio) {
        ProgramaTemporal::insertar(db, QStringLiteral("reportes.DB"),
                                   {{"Numero", numero}, {"Fecha", fecha}, {"Precio", precio}});
    }

    std::unique_ptr<PaginaGrafico> pagina(const QString &filtro = QString()) {
        auto p = std::make_unique<PaginaGrafico>();
        p->setDatos(tabla.get());
        p->setCampoFecha(QStringLiteral("Fecha"));
        p->agregarSerie(QStringLiteral("Importe"), QStringLiteral("Precio"));
        p->setTitulo(QStringLiteral("IMPORTE DE REPORTES"));
        p->setFuenteFiltro([filtro] { return filtro; });
        p->setTituloEjeX(QStringLiteral("Día"));
        return p;
    }

    void filtrar(const QString &expresion) {
        tabla->setFilter(expresion);
        tabla->setFiltered(!expresion.isEmpty());
    }

    static Puntos leidos(const PaginaGrafico &p, int serie) {
        Puntos r;
        for (const QPointF &q : p.puntos(serie))
            r << qMakePair(PaginaGrafico::fechaDePunto(q.x()), q.y());
        return r;
    }

    static QString ejecutar(const QString &programa, const QStringList &argumentos) {
        QProcess proceso;
        proceso.start(programa, argumentos);
        if (!proceso.waitForFinished(30000) || proceso.exitCode() != 0)
            return QString();
        return QString::fromUtf8(proceso.readAllStandardOutput());
    }

private Q_SLOTS:
    void initTestCase() {
        principal = std::make_unique<TFormMenuPrincipal>();
        principal->ajustes.moneda = QStringLiteral("Pesetas");
        db.setPath(programa.crearEmpresa(1, QStringLiteral("PRUEBAS")));
        db.open();
        informe("000001/05", QDate(2005, 3, 10), 150.0);
        informe("000002/05", QDate(2005, 1, 5), QVariant());
        informe("000003/05", QVariant(), 999.0);
        informe("000004/05", QDate(2005, 2, 20), 200.0);
        informe("000005/05", QDate(2005, 4, 1), 100.0);
        tabla = std::make_unique<Table>(&db, QStringLiteral("reportes.DB"));
        tabla->setIndexFieldNames(QStringLiteral("Numero"));
        tabla->open();
    }

    void init() { filtrar(QString()); }

    void cleanupTestCase() {
        tabla.reset();
        db.close();
        principal.reset();
    }

    // One point per dated record of the filtered table, by date; the walk leaves the window's
    // current record where it was.
    void pointsByDate_data() {
        QTest::addColumn<QString>("filtro");
        QTest::addColumn<Puntos>("esperados");
        QTest::newRow("all: empty price is 0, empty date left out")
            << QString()
            << Puntos{{QDate(2005, 1, 5), 0},
                      {QDate(2005, 2, 20), 200},
                      {QDate(2005, 3, 10), 150},
                      {QDate(2005, 4, 1), 100}};
        QTest::newRow("as filtered") << QStringLiteral("[Fecha] >= '01/03/05'")
                                     << Puntos{{QDate(2005, 3, 10), 150}, {QDate(2005, 4, 1), 100}};
    }
    void pointsByDate() {
        QFETCH(QString, filtro);
        QFETCH(Puntos, esperados);
        filtrar(filtro);
        QVERIFY(tabla->locate(QStringLiteral("Numero"), QStringLiteral("000001/05")));
        const qint64 actual = tabla->rowId();

        auto p = pagina(filtro);
        p->actualizar();

        QCOMPARE(leidos(*p, 0), esperados);
        QCOMPARE(tabla->rowId(), actual);
        QVERIFY(!tabla->controlsDisabled());
    }

    void title_data() {
        QTest::addColumn<QString>("filtro");
        QTest::addColumn<bool>("unaLinea");
        QTest::addColumn<QString>("moneda");
        QTest::addColumn<QStringList>("lineas");
        QTest::addColumn<QString>("ejeValores");
        QTest::newRow("no filter, company currency")
            << QString() << false << QString() << QStringList{"IMPORTE DE REPORTES"}
            << "Importe (Pesetas)";
        QTest::newRow("filter as second line")
            << "[Fecha] <= '31/03/05'" << false << "Euros"
            << QStringList{"IMPORTE DE REPORTES", "Filtro aplicado: [Fecha] <= '31/03/05'"}
            << "Importe (Euros)";
        QTest::newRow("one line built by the window")
            << "[Cobrada] = True" << true << "Euros"
            << QStringList{"FACTURACIÓN - FILTRO: [Cobrada] = True"} << "Importe (Euros)";
        QTest::newRow("one line, no filter")
            << QString() << true << "Euros" << QStringList{"FACTURACIÓN"} << "Importe (Euros)";
    }
    void title() {
        QFETCH(QString, filtro);
        QFETCH(bool, unaLinea);
        QFETCH(QString, moneda);
        QFETCH(QStringList, lineas);
        QFETCH(QString, ejeValores);
        auto p = pagina(filtro);
        if (!moneda.isEmpty())
            p->setMoneda(moneda);
        if (unaLinea)
            p->setConstructorTitulo([filtro] {
                return filtro.isEmpty() ? QStringLiteral("FACTURACIÓN")
                                        : QStringLiteral("FACTURACIÓN - FILTRO: ") + filtro;
            });
        p->actualizar();
        QCOMPARE(p->lineasTitulo(), lineas);
        QCOMPARE(p->tituloEjeValores(), ejeValores);
        // The filter's "<=" is text, not markup: the chart shows it as typed.
        QVERIFY(!p->grafico()->title().contains(QStringLiteral("<=")));
    }

    // Not proportional, the value axis starts at 0; proportional, it follows the values. The
    // check box redraws at once.
    void valueAxis() {
        filtrar(QStringLiteral("[Precio] >= '100'"));
        auto p = pagina();
        QVERIFY(!p->proporcional());
        QVERIFY(p->es3D());
        p->actualizar();
        QCOMPARE(p->minimoValores(), 0.0);
        QVERIFY(p->maximoValores() >= 200);

        auto *casilla = p->findChild<QCheckBox *>(QStringLiteral("CBProporcionales"));
        QVERIFY(casilla);
        casilla->click();
        QVERIFY(p->minimoValores() > 0);
        QVERIFY(p->minimoValores() <= 100);
        QVERIFY(p->maximoValores() >= 200);

        casilla->click();
        QCOMPARE(p->minimoValores(), 0.0);

        // Losses (a trip's negative profit) show below zero.
        p->agregarSerie(QStringLiteral("Pérdida"), [](const DataSet &d) {
            return QVariant(-d.value(QStringLiteral("Precio")).toDouble());
        });
        p->actualizar();
        QVERIFY(p->minimoValores() <= -200);
        QVERIFY(p->maximoValores() >= 200);
    }

    void twoSeries() {
        auto p = pagina();
        p->agregarSerie(QStringLiteral("Con IVA"), [](const DataSet &d) {
            return d.value(QStringLiteral("Precio")).isNull()
                       ? QVariant()
                       : QVariant(d.value(QStringLiteral("Precio")).toDouble() * 1.16);
        });
        p->actualizar();
        QCOMPARE(p->grafico()->series().size(), 2);
        QCOMPARE(p->grafico()->series().at(1)->name(), QStringLiteral("Con IVA"));
        QCOMPARE(leidos(*p, 0).size(), 4);
        const Puntos conIva = leidos(*p, 1);
        QCOMPARE(conIva.size(), 4);
        QCOMPARE(conIva.at(0), qMakePair(QDate(2005, 1, 5), 0.0));
        QCOMPARE(conIva.at(1).first, QDate(2005, 2, 20));
        QCOMPARE(conIva.at(1).second, 232.0);
        // The axis reaches the higher series.
        QVERIFY(p->maximoValores() >= 232);
    }

    // Bars keep the records' order and every record, dated or not.
    void barsByCategory() {
        PaginaGrafico p;
        p.setDatos(tabla.get());
        p.setCampoCategoria(QStringLiteral("Numero"));
        p.agregarSerie(QStringLiteral("Importe"), QStringLiteral("Precio"));
        p.actualizar();
        QCOMPARE(p.categorias(),
                 (QStringList{"000001/05", "000002/05", "000003/05", "000004/05", "000005/05"}));
        QList<qreal> valores;
        for (const QPointF &q : p.puntos(0))
            valores << q.y();
        QCOMPARE(valores, (QList<qreal>{150, 0, 999, 200, 100}));
    }

    void unknownFieldReported() {
        QVERIFY(tabla->locate(QStringLiteral("Numero"), QStringLiteral("000002/05")));
        const qint64 actual = tabla->rowId();
        PaginaGrafico p;
        p.setDatos(tabla.get());
        p.setCampoFecha(QStringLiteral("Fecha"));
        p.agregarSerie(QStringLiteral("Importe"), QStringLiteral("NoExiste"));
        MensajesGuionizados mensajes;
        mensajes.esperar(TipoMensaje::Error);
        p.actualizar();
        QCOMPARE(mensajes.pendientes(), 0);
        QVERIFY(mensajes.ultimoTexto().contains(QStringLiteral("NoExiste")));
        QCOMPARE(tabla->rowId(), actual);
        QVERIFY(!tabla->controlsDisabled());
    }

    // The printed page has the orientation asked for and shows the chart's texts.
    void printToPdf_data() {
        QTest::addColumn<int>("orientacion");
        QTest::newRow("landscape") << int(QPageLayout::Landscape);
        QTest::newRow("portrait") << int(QPageLayout::Portrait);
    }
    void printToPdf() {
        QFETCH(int, orientacion);
        auto p = pagina(QStringLiteral("[Fecha] <= '31/03/05'"));
        p->setMoneda(QStringLiteral("Euros"));
        p->actualizar();

        QTemporaryDir dir;
        const QString fichero = dir.filePath(QStringLiteral("grafico.pdf"));
        {
            QPdfWriter pdf(fichero);
            pdf.setPageSize(QPageSize(QPageSize::A4));
            QVERIFY(p->imprimirEn(pdf, QPageLayout::Orientation(orientacion)));
            QCOMPARE(int(pdf.pageLayout().orientation()), orientacion);
        }
        QVERIFY(QFileInfo(fichero).size() > 0);

        const QString info = ejecutar(QStringLiteral("pdfinfo"), {fichero});
        const QRegularExpressionMatch m =
            QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+)")).match(info);
        QVERIFY2(m.hasMatch(), qPrintable(info));
        const bool apaisada = m.captured(1).toDouble() > m.captured(2).toDouble();
        QCOMPARE(apaisada, orientacion == int(QPageLayout::Landscape));

        const QString texto = ejecutar(QStringLiteral("pdftotext"), {fichero, QStringLiteral("-")});
        QVERIFY2(texto.contains(QStringLiteral("IMPORTE DE REPORTES")), qPrintable(texto));
        QVERIFY2(texto.contains(QStringLiteral("Filtro aplicado: [Fecha] <= '31/03/05'")),
                 qPrintable(texto));
        QVERIFY2(texto.contains(QStringLiteral("Importe (Euros)")), qPrintable(texto));
        QVERIFY2(texto.contains(QStringLiteral("Día")), qPrintable(texto));
    }
};

QTEST_MAIN(TstGrafico)
#include "tst_grafico.moc"
