#pragma once

#include <QDate>
#include <QPageLayout>
#include <QPointF>
#include <QStringList>
#include <QWidget>
#include <functional>

class DataSet;
class QBarCategoryAxis;
class QChart;
class QChartView;
class QCheckBox;
class QDateTimeAxis;
class QHBoxLayout;
class QPagedPaintDevice;
class QPushButton;
class QValueAxis;

// One series of a chart: its title and the value it takes from each record, a field or a
// function of the current record. An empty value counts as 0.
struct SerieGrafico {
    QString titulo;
    QString campo;
    std::function<QVariant(const DataSet &)> valor;
};

// The content of a "Gráficos" page: a chart over the records of a data set, as filtered, with
// the buttons to update and print it. The window declares what to read and how to title it;
// the page walks the records on every update and leaves the current record where it was.
//
// Two kinds of chart: lines over a date field (one point per record with a date, in date
// order), or bars labelled by a field (one group per record, in the data set's order).
class PaginaGrafico : public QWidget {
    Q_OBJECT
public:
    explicit PaginaGrafico(QWidget *parent = nullptr);
    ~PaginaGrafico() override;

    // ---- what the window declares
    void setDatos(DataSet *datos);
    DataSet *datos() const { return m_datos; }
    // Lines over this date field; records with an empty date are left out.
    void setCampoFecha(const QString &campo);
    // Bars, one group per record, labelled with this field's text.
    void setCampoCategoria(const QString &campo);
    void setSeries(const QList<SerieGrafico> &series);
    void agregarSerie(const QString &titulo, const QString &campo);
    void agregarSerie(const QString &titulo, std::function<QVariant(const DataSet &)> valor);

    // The title: these lines, then "Filtro aplicado: " + the filter when the filter function
    // gives a text. A title function, when set, builds the whole title instead (lines split
    // at '\n').
    void setLineasTitulo(const QStringList &lineas);
    void setTitulo(const QString &linea) { setLineasTitulo({linea}); }
    void setFuenteFiltro(std::function<QString()> filtro);
    void setConstructorTitulo(std::function<QString()> titulo);

    // Value axis: "Importe (" + currency + ")", the currency being the company's unless set;
    // an explicit title replaces it.
    void setMoneda(const QString &moneda);
    void setTituloEjeValores(const QString &titulo);
    void setTituloEjeX(const QString &titulo); // the caption under the chart ("Día")
    void setLeyendaVisible(bool visible);

    // Runs first on every update: checks the window's own inputs and readies the data set.
    // An update it answers false with changes nothing.
    void setPreparacion(std::function<bool()> preparacion);

    // A control of the window's own (measure radios, truck box), placed before the check boxes
    // in the order added.
    void agregarControl(QWidget *control);

    // ---- state and commands
    bool proporcional() const;
    void setProporcional(bool on);
    bool es3D() const;
    void set3D(bool on);

    // Reads the records again and redraws: title, axis titles and range, series.
    void actualizar();

    // Draws the chart onto one page of the device in the given orientation, filling the
    // printable area. False when the device cannot be painted on.
    bool imprimirEn(QPagedPaintDevice &dispositivo, QPageLayout::Orientation orientacion);
    // Asks for a printer and prints on it.
    void imprimir(QPageLayout::Orientation orientacion);

    // ---- what the chart shows, for tests and windows
    QChart *grafico() const { return m_chart; }
    int numeroSeries() const;
    // Line charts: x is the point's date as msecs since the epoch at local midnight (see
    // fechaDePunto); bar charts: x is the record's position.
    QList<QPointF> puntos(int serie) const;
    static QDate fechaDePunto(qreal x);
    QStringList categorias() const;
    qreal minimoValores() const;
    qreal maximoValores() const;
    QStringList lineasTitulo() const { return m_titulo; }
    QString tituloEjeValores() const;

private:
    struct Lectura;

    void construir();
    Lectura leer();
    void calcularTitulo();
    void dibujar(const Lectura &lectura);
    void ajustarEjeValores(const Lectura &lectura);
    void aplicarAspecto();
    QString monedaActual() const;

    DataSet *m_datos = nullptr;
    QString m_campoFecha;
    QString m_campoCategoria;
    QList<SerieGrafico> m_series;
    QStringList m_lineas;
    std::function<QString()> m_filtro;
    std::function<QString()> m_constructorTitulo;
    QString m_moneda;
    bool m_monedaFijada = false;
    QString m_tituloEje;
    QString m_tituloEjeX;
    std::function<bool()> m_preparacion;
    QStringList m_titulo;
    QStringList m_categorias;

    QChart *m_chart;
    QChartView *m_vista;
    QDateTimeAxis *m_ejeFechas;
    QBarCategoryAxis *m_ejeCategorias;
    QValueAxis *m_ejeValores;
    QHBoxLayout *m_controles;
    QPushButton *m_actualizar;
    QPushButton *m_vertical;
    QPushButton *m_horizontal;
    QCheckBox *m_proporcionales;
    QCheckBox *m_3d;
};
