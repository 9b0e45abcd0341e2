#include "common/PaginaGrafico.h"

#include "app/Configuracion.h"
#include "app/Mensajes.h"
#include "common/Formato.h"
#include "store/DataSet.h"
#include "store/Dates.h"
#include "store/StoreError.h"
#include "store/Table.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QDateTimeAxis>
#include <QGraphicsLayout>
#include <QHBoxLayout>
#include <QLineSeries>
#include <QLinearGradient>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScopeGuard>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>

struct PaginaGrafico::Lectura {
    QList<QList<QPointF>> puntos; // one list per series
    QStringList categorias;
};

namespace {

QDate aFecha(const QVariant &v) {
    if (v.isNull() || !v.isValid())
        return {};
    switch (v.typeId()) {
    case QMetaType::QDate:
        return v.toDate();
    case QMetaType::QDateTime:
        return v.toDateTime().date();
    default: {
        // Query columns of unknown origin come as stored (ISO) or as typed.
        const QString texto = v.toString();
        const QDate iso = Dates::fromIso(texto);
        return iso.isValid() ? iso : Dates::parse(texto);
    }
    }
}

double aNumero(const QVariant &v) {
    if (v.isNull() || !v.isValid())
        return 0;
    bool ok = false;
    const double d = v.toDouble(&ok);
    if (ok)
        return d;
    return Formato::parseNumber(v.toString()).value_or(0);
}

QString html(const QStringList &lineas) {
    QStringList escapadas;
    for (const QString &l : lineas)
        escapadas << l.toHtmlEscaped();
    return escapadas.join(QStringLiteral("<br>"));
}

} // namespace

PaginaGrafico::PaginaGrafico(QWidget *parent) : QWidget(parent) {
    construir();
}

PaginaGrafico::~PaginaGrafico() {
    // The chart owns only the axes attached to it; the other one is ours.
    const QList<QAbstractAxis *> enUso = m_chart->axes();
    if (!enUso.contains(m_ejeFechas))
        delete m_ejeFechas;
    if (!enUso.contains(m_ejeCategorias))
        delete m_ejeCategorias;
}

void PaginaGrafico::construir() {
    setObjectName(QStringLiteral("PaginaGrafico"));

    m_chart = new QChart;
    m_chart->setAnimationOptions(QChart::NoAnimation);
    QFont fuenteTitulo = m_chart->titleFont();
    fuenteTitulo.setBold(true);
    fuenteTitulo.setPointSizeF(fuenteTitulo.pointSizeF() * 1.2);
    m_chart->setTitleFont(fuenteTitulo);

    m_ejeFechas = new QDateTimeAxis;
    m_ejeFechas->setFormat(QStringLiteral("dd/MM/yyyy"));
    m_ejeFechas->setTickCount(6);
    m_ejeCategorias = new QBarCategoryAxis;
    m_ejeValores = new QValueAxis;
    m_ejeValores->setLabelFormat(QStringLiteral("%.1f"));
    m_chart->addAxis(m_ejeFechas, Qt::AlignBottom);
    m_chart->addAxis(m_ejeValores, Qt::AlignLeft);
    m_ejeValores->setRange(0, 1);

    m_vista = new QChartView(m_chart, this);
    m_vista->setObjectName(QStringLiteral("Grafico"));
    m_vista->setRenderHint(QPainter::Antialiasing);

    m_actualizar = new QPushButton(QStringLiteral("&Actualizar gráfico"), this);
    m_actualizar->setObjectName(QStringLiteral("BActualizar"));
    m_vertical = new QPushButton(QStringLiteral("Imprimir &vertical"), this);
    m_vertical->setObjectName(QStringLiteral("BImprimirVertical"));
    m_horizontal = new QPushButton(QStringLiteral("Imprimir &horizontal"), this);
    m_horizontal->setObjectName(QStringLiteral("BImprimirHorizontal"));
    m_proporcionales = new QCheckBox(QStringLiteral("Valores pr&oporcionales"), this);
    m_proporcionales->setObjectName(QStringLiteral("CBProporcionales"));
    m_3d = new QCheckBox(QStringLiteral("&3D"), this);
    m_3d->setObjectName(QStringLiteral("CB3D"));
    m_3d->setChecked(true);

    m_controles = new QHBoxLayout;
    m_controles->addWidget(m_proporcionales);
    m_controles->addWidget(m_3d);
    m_controles->addStretch(1);
    m_controles->addWidget(m_actualizar);
    m_controles->addWidget(m_vertical);
    m_controles->addWidget(m_horizontal);

    auto *capa = new QVBoxLayout(this);
    capa->addLayout(m_controles);
    capa->addWidget(m_vista, 1);

    connect(m_actualizar, &QPushButton::clicked, this, &PaginaGrafico::actualizar);
    connect(m_proporcionales, &QCheckBox::clicked, this, &PaginaGrafico::actualizar);
    connect(m_3d, &QCheckBox::toggled, this, &PaginaGrafico::aplicarAspecto);
    connect(m_vertical, &QPushButton::clicked, this, [this] { imprimir(QPageLayout::Portrait); });
    connect(m_horizontal, &QPushButton::clicked, this,
            [this] { imprimir(QPageLayout::Landscape); });
    aplicarAspecto();
}

// ------------------------------------------------------------------ declaration
void PaginaGrafico::setDatos(DataSet *datos) {
    m_datos = datos;
}

void PaginaGrafico::setCampoFecha(const QString &campo) {
    m_campoFecha = campo;
    m_campoCategoria.clear();
}

void PaginaGrafico::setCampoCategoria(const QString &campo) {
    m_campoCategoria = campo;
    m_campoFecha.clear();
}

void PaginaGrafico::setSeries(const QList<SerieGrafico> &series) {
    m_series = series;
}

void PaginaGrafico::agregarSerie(const QString &titulo, const QString &campo) {
    m_series << SerieGrafico{titulo, campo, {}};
}

void PaginaGrafico::agregarSerie(const QString &titulo,
                                 std::function<QVariant(const DataSet &)> valor) {
    m_series << SerieGrafico{titulo, QString(), std::move(valor)};
}

void PaginaGrafico::setLineasTitulo(const QStringList &lineas) {
    m_lineas = lineas;
}

void PaginaGrafico::setFuenteFiltro(std::function<QString()> filtro) {
    m_filtro = std::move(filtro);
}

void PaginaGrafico::setConstructorTitulo(std::function<QString()> titulo) {
    m_constructorTitulo = std::move(titulo);
}

void PaginaGrafico::setMoneda(const QString &moneda) {
    m_moneda = moneda;
    m_monedaFijada = true;
}

void PaginaGrafico::setTituloEjeValores(const QString &titulo) {
    m_tituloEje = titulo;
}

void PaginaGrafico::setTituloEjeX(const QString &titulo) {
    m_tituloEjeX = titulo;
    m_ejeFechas->setTitleText(titulo);
    m_ejeCategorias->setTitleText(titulo);
}

void PaginaGrafico::setLeyendaVisible(bool visible) {
    m_chart->legend()->setVisible(visible);
}

void PaginaGrafico::setPreparacion(std::function<bool()> preparacion) {
    m_preparacion = std::move(preparacion);
}

void PaginaGrafico::agregarControl(QWidget *control) {
    m_controles->insertWidget(m_controles->indexOf(m_proporcionales), control);
}

// ------------------------------------------------------------------ state
bool PaginaGrafico::proporcional() const {
    return m_proporcionales->isChecked();
}
void PaginaGrafico::setProporcional(bool on) {
    m_proporcionales->setChecked(on);
}
bool PaginaGrafico::es3D() const {
    return m_3d->isChecked();
}
void PaginaGrafico::set3D(bool on) {
    m_3d->setChecked(on);
}

QString PaginaGrafico::monedaActual() const {
    if (m_monedaFijada)
        return m_moneda;
    const ValoresPrincipales *v = ValoresPrincipales::instancia();
    return v ? v->ajustes.moneda : QString();
}

QString PaginaGrafico::tituloEjeValores() const {
    return m_ejeValores->titleText();
}

// ------------------------------------------------------------------ update
void PaginaGrafico::actualizar() {
    if (m_preparacion && !m_preparacion())
        return;
    calcularTitulo();
    m_ejeValores->setTitleText(m_tituloEje.isEmpty()
                                   ? QStringLiteral("Importe (") + monedaActual() + QLatin1Char(')')
                                   : m_tituloEje);
    try {
        dibujar(leer());
    } catch (const StoreError &e) {
        msError(e.message());
    }
}

void PaginaGrafico::calcularTitulo() {
    if (m_constructorTitulo) {
        m_titulo = m_constructorTitulo().split(QLatin1Char('\n'));
    } else {
        m_titulo = m_lineas;
        const QString filtro = m_filtro ? m_filtro() : QString();
        if (!filtro.isEmpty())
            m_titulo << QStringLiteral("Filtro aplicado: ") + filtro;
    }
    m_chart->setTitle(html(m_titulo));
}

PaginaGrafico::Lectura PaginaGrafico::leer() {
    Lectura l;
    l.puntos.resize(m_series.size());
    const bool porFecha = m_campoCategoria.isEmpty();
    if (!m_datos || !m_datos->isActive() || m_series.isEmpty() ||
        (porFecha && m_campoFecha.isEmpty()))
        return l;

    Table *tabla = qobject_cast<Table *>(m_datos);
    const qint64 fila = tabla ? tabla->rowId() : 0;
    const int registro = tabla ? 0 : m_datos->recNo();
    m_datos->disableControls();
    auto restaurar = qScopeGuard([&] {
        // Best effort: a record deleted meanwhile leaves the cursor where the walk ended.
        try {
            if (fila > 0) {
                tabla->gotoRowId(fila);
            } else if (registro > 0) {
                m_datos->first();
                m_datos->moveBy(registro - 1);
            }
        } catch (const StoreError &) {
        }
        m_datos->enableControls();
    });

    int n = 0;
    for (m_datos->first(); !m_datos->eof(); m_datos->next()) {
        qreal x;
        if (porFecha) {
            const QDate fecha = aFecha(m_datos->value(m_campoFecha));
            if (!fecha.isValid())
                continue;
            x = qreal(fecha.startOfDay().toMSecsSinceEpoch());
        } else {
            l.categorias << m_datos->value(m_campoCategoria).toString();
            x = n++;
        }
        for (int i = 0; i < m_series.size(); ++i) {
            const SerieGrafico &s = m_series[i];
            const QVariant v = s.valor ? s.valor(*m_datos) : m_datos->value(s.campo);
            l.puntos[i] << QPointF(x, aNumero(v));
        }
    }
    if (porFecha)
        for (QList<QPointF> &p : l.puntos)
            std::stable_sort(p.begin(), p.end(),
                             [](const QPointF &a, const QPointF &b) { return a.x() < b.x(); });
    return l;
}

void PaginaGrafico::dibujar(const Lectura &l) {
    m_chart->removeAllSeries();
    const bool porFecha = m_campoCategoria.isEmpty();
    QAbstractAxis *ejeX = porFecha ? static_cast<QAbstractAxis *>(m_ejeFechas) : m_ejeCategorias;
    QAbstractAxis *otro = porFecha ? static_cast<QAbstractAxis *>(m_ejeCategorias) : m_ejeFechas;
    if (m_chart->axes().contains(otro))
        m_chart->removeAxis(otro);
    // The axis is added again with every drawing: a date axis kept from a chart without series
    // stops drawing its labels.
    if (m_chart->axes().contains(ejeX))
        m_chart->removeAxis(ejeX);
    m_chart->addAxis(ejeX, Qt::AlignBottom);

    if (porFecha) {
        for (int i = 0; i < m_series.size(); ++i) {
            auto *serie = new QLineSeries;
            serie->setName(m_series[i].titulo);
            serie->replace(l.puntos[i]);
            m_chart->addSeries(serie);
            serie->attachAxis(m_ejeFechas);
            serie->attachAxis(m_ejeValores);
        }
        qreal desde = 0, hasta = 0;
        bool hay = false;
        for (const QList<QPointF> &p : l.puntos)
            if (!p.isEmpty()) {
                desde = hay ? std::min(desde, p.first().x()) : p.first().x();
                hasta = hay ? std::max(hasta, p.last().x()) : p.last().x();
                hay = true;
            }
        if (hay) {
            QDateTime d = QDateTime::fromMSecsSinceEpoch(qint64(desde));
            QDateTime h = QDateTime::fromMSecsSinceEpoch(qint64(hasta));
            if (d == h) {
                d = d.addDays(-1);
                h = h.addDays(1);
            }
            m_ejeFechas->setRange(d, h);
        }
    } else {
        // The category axis refuses repeated labels; an invisible mark keeps each one apart.
        QStringList etiquetas;
        for (QString c : l.categorias) {
            while (etiquetas.contains(c))
                c += QChar(0x200B);
            etiquetas << c;
        }
        m_ejeCategorias->clear();
        m_ejeCategorias->append(etiquetas);
        auto *barras = new QBarSeries;
        for (int i = 0; i < m_series.size(); ++i) {
            auto *set = new QBarSet(m_series[i].titulo);
            for (const QPointF &p : l.puntos[i])
                set->append(p.y());
            barras->append(set);
        }
        m_chart->addSeries(barras);
        barras->attachAxis(m_ejeCategorias);
        barras->attachAxis(m_ejeValores);
    }
    m_categorias = l.categorias;
    ajustarEjeValores(l);
    aplicarAspecto();
}

void PaginaGrafico::ajustarEjeValores(const Lectura &l) {
    bool hay = false;
    qreal menor = 0, mayor = 0;
    for (const QList<QPointF> &p : l.puntos)
        for (const QPointF &q : p) {
            menor = hay ? std::min(menor, q.y()) : q.y();
            mayor = hay ? std::max(mayor, q.y()) : q.y();
            hay = true;
        }
    // Without proportional values the axis takes in zero; losses still show below it.
    if (!proporcional()) {
        menor = std::min<qreal>(menor, 0);
        mayor = std::max<qreal>(mayor, 0);
    }
    if (mayor <= menor) {
        if (proporcional() && hay) {
            const qreal margen = std::max<qreal>(std::abs(menor) / 10, 1);
            menor -= margen;
            mayor += margen;
        } else {
            mayor = menor + 1;
        }
    }
    m_ejeValores->setRange(menor, mayor);
    m_ejeValores->applyNiceNumbers();
    m_ejeValores->setLabelFormat(m_ejeValores->max() - m_ejeValores->min() < 10
                                     ? QStringLiteral("%.1f")
                                     : QStringLiteral("%.0f"));
}

// "3D" is a look only: shaded plot area, thick lines and rounded bars. No drop shadow: it
// rasterises the whole chart, which takes seconds at a printer's resolution.
void PaginaGrafico::aplicarAspecto() {
    const bool relieve = es3D();
    m_chart->setPlotAreaBackgroundVisible(relieve);
    if (relieve) {
        QLinearGradient fondo(0, 0, 0, 1);
        fondo.setCoordinateMode(QGradient::ObjectBoundingMode);
        fondo.setColorAt(0, QColor(0xe8, 0xec, 0xf2));
        fondo.setColorAt(1, Qt::white);
        m_chart->setPlotAreaBackgroundBrush(fondo);
    }
    for (QAbstractSeries *s : m_chart->series()) {
        if (auto *linea = qobject_cast<QLineSeries *>(s)) {
            QPen pluma = linea->pen();
            pluma.setWidthF(relieve ? 3.0 : 1.5);
            linea->setPen(pluma);
        } else if (auto *barras = qobject_cast<QBarSeries *>(s)) {
            for (QBarSet *set : barras->barSets()) {
                if (!set->property("colorBase").isValid())
                    set->setProperty("colorBase", set->color());
                const QColor base = set->property("colorBase").value<QColor>();
                if (relieve) {
                    QLinearGradient volumen(0, 0, 1, 0);
                    volumen.setCoordinateMode(QGradient::ObjectBoundingMode);
                    volumen.setColorAt(0, base.lighter(140));
                    volumen.setColorAt(0.4, base);
                    volumen.setColorAt(1, base.darker(160));
                    set->setBrush(volumen);
                } else {
                    set->setBrush(base);
                }
            }
        }
    }
}

// ------------------------------------------------------------------ printing
bool PaginaGrafico::imprimirEn(QPagedPaintDevice &dispositivo,
                               QPageLayout::Orientation orientacion) {
    dispositivo.setPageOrientation(orientacion);
    // Laid out at the page's shape, about screen size, then scaled onto the page, so that
    // fonts keep their proportion to the drawing on any resolution.
    const QSizeF puntos = dispositivo.pageLayout().paintRect(QPageLayout::Point).size();
    const QSizeF tamano = puntos * (96.0 / 72.0);
    const QRectF antes = m_chart->geometry();
    m_chart->setGeometry(QRectF(QPointF(0, 0), tamano));
    if (m_chart->layout())
        m_chart->layout()->activate();
    auto volver = qScopeGuard([&] { m_chart->setGeometry(antes); });

    QPainter pintor;
    if (!pintor.begin(&dispositivo))
        return false;
    pintor.setRenderHint(QPainter::Antialiasing);
    const QRectF pagina(0, 0, dispositivo.width(), dispositivo.height());
    m_vista->scene()->render(&pintor, pagina, QRectF(m_chart->pos(), tamano), Qt::KeepAspectRatio);
    return pintor.end();
}

void PaginaGrafico::imprimir(QPageLayout::Orientation orientacion) {
    QPrinter impresora(QPrinter::HighResolution);
    impresora.setPageOrientation(orientacion);
    QPrintDialog dialogo(&impresora, this);
    if (dialogo.exec() != QDialog::Accepted)
        return;
    // The orientation the user left in the dialog wins.
    imprimirEn(impresora, impresora.pageLayout().orientation());
}

// ------------------------------------------------------------------ what the chart shows
int PaginaGrafico::numeroSeries() const {
    return m_series.size();
}

QList<QPointF> PaginaGrafico::puntos(int serie) const {
    const QList<QAbstractSeries *> series = m_chart->series();
    if (series.isEmpty())
        return {};
    if (auto *barras = qobject_cast<QBarSeries *>(series.first())) {
        QList<QPointF> p;
        if (serie < barras->count()) {
            const QBarSet *set = barras->barSets().at(serie);
            for (int i = 0; i < set->count(); ++i)
                p << QPointF(i, set->at(i));
        }
        return p;
    }
    if (serie < series.size())
        if (auto *linea = qobject_cast<QXYSeries *>(series.at(serie)))
            return linea->points();
    return {};
}

QDate PaginaGrafico::fechaDePunto(qreal x) {
    return QDateTime::fromMSecsSinceEpoch(qint64(x)).date();
}

QStringList PaginaGrafico::categorias() const {
    return m_categorias;
}
qreal PaginaGrafico::minimoValores() const {
    return m_ejeValores->min();
}
qreal PaginaGrafico::maximoValores() const {
    return m_ejeValores->max();
}
