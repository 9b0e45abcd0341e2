#include "common/MotorListado.h"

#include "app/Configuracion.h"

#include "app/Mensajes.h"
#include "store/DataSet.h"
#include "store/Table.h"

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QFont>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScopeGuard>
#include <QTextLayout>
#include <QToolBar>
#include <algorithm>

namespace {

using Banda = ElementoPagina::Banda;
using Tipo = ElementoPagina::Tipo;

constexpr double kMargen = 10;
constexpr double kAltoPie = 6;
constexpr double kHolgura = 0.8; // inside each cell, on both sides
constexpr double kSeparacion = 2;
constexpr double kAnchoDato = 55; // each label of the title box after the first
constexpr double kPuntos = 8;
constexpr double kPuntosTitulo = 14;
constexpr double kPuntosPie = 7;
constexpr double kGrosorLinea = 0.2;
// Texts are measured at the resolution the PDF files are written with, so that what fits a
// column on the page model fits it on paper.
constexpr int kPuntosPorPulgada = 1200;

MotorListado::AvisoProgreso &avisoProgreso() {
    static MotorListado::AvisoProgreso aviso;
    return aviso;
}

QFont fuente(double puntos, bool negrita) {
    QFont f(QStringLiteral("Arial"));
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(puntos);
    f.setBold(negrita);
    return f;
}

class Medidor {
public:
    Medidor() : m_ref(4, 4, QImage::Format_RGB32) {
        const int puntosPorMetro = qRound(kPuntosPorPulgada / 0.0254);
        m_ref.setDotsPerMeterX(puntosPorMetro);
        m_ref.setDotsPerMeterY(puntosPorMetro);
    }

    double interlinea(double puntos, bool negrita) const {
        return mm(QFontMetricsF(fuente(puntos, negrita), &m_ref).lineSpacing());
    }

    double ancho(const QString &texto, double puntos, bool negrita) const {
        return mm(QFontMetricsF(fuente(puntos, negrita), &m_ref).horizontalAdvance(texto));
    }

    // The lines of a text within a width: its own line breaks, then breaks between words, or
    // inside a word longer than the width. An empty text is one empty line.
    QStringList partir(QString texto, double puntos, bool negrita, double anchoMm) const {
        texto.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace('\r', '\n');
        QStringList lineas;
        const QFont f = fuente(puntos, negrita);
        QTextOption opcion;
        opcion.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        for (const QString &parrafo : texto.split('\n')) {
            if (parrafo.trimmed().isEmpty() || anchoMm <= 0) {
                lineas << parrafo.trimmed();
                continue;
            }
            QTextLayout capa(parrafo, f, &m_ref);
            capa.setTextOption(opcion);
            capa.beginLayout();
            for (QTextLine l = capa.createLine(); l.isValid(); l = capa.createLine()) {
                l.setLineWidth(anchoMm / 25.4 * kPuntosPorPulgada);
                lineas << parrafo.mid(l.textStart(), l.textLength()).trimmed();
            }
            capa.endLayout();
        }
        return lineas;
    }

private:
    static double mm(double puntos) { return puntos * 25.4 / kPuntosPorPulgada; }

    QImage m_ref;
};

// A band built before it is placed: its elements from the band's top, and its height.
struct BandaHecha {
    QList<ElementoPagina> elementos;
    double alto = 0;
};

struct Acumulado {
    double suma = 0;
    int cuenta = 0;
};

class Maquetador {
public:
    Maquetador(const Listado &l, QSizeF papel) : m_l(l), m_papel(papel) {
        repartirColumnas();
        m_resumen = acumuladores(l.resumen);
        for (const Listado::Grupo &g : l.grupos)
            m_pies << acumuladores(g.pie);
    }

    QList<PaginaListado> maquetar(DataSet *datos) {
        const DataSet *registro = nullptr;
        int n = 0;
        QStringList claves;
        if (datos) {
            for (datos->first(); !datos->eof(); datos->next(), ++n) {
                if (n == 0) {
                    registro = datos;
                    nuevaPagina(registro);
                }
                detalle(*datos, n, claves);
            }
        }
        if (m_paginas.isEmpty())
            nuevaPagina(nullptr);
        for (int i = int(m_l.grupos.size()) - 1; n > 0 && i >= 0; --i)
            colocar(pieGrupo(i), nullptr);
        if (!m_l.resumen.isEmpty())
            colocar(resumen(), nullptr);
        pies();
        return m_paginas;
    }

private:
    double izquierda() const { return kMargen; }
    double anchoUtil() const { return m_papel.width() - 2 * kMargen; }
    double fondo() const { return m_papel.height() - kMargen - kAltoPie - 1; }

    static QList<QList<Acumulado>> acumuladores(const QList<Listado::LineaResumen> &lineas) {
        QList<QList<Acumulado>> a;
        for (const Listado::LineaResumen &l : lineas)
            a << QList<Acumulado>(l.valores.size());
        return a;
    }

    static void acumular(const QList<Listado::LineaResumen> &lineas, QList<QList<Acumulado>> &a,
                         const DataSet &registro) {
        for (int i = 0; i < lineas.size(); ++i)
            for (int j = 0; j < lineas[i].valores.size(); ++j)
                if (const auto &t = lineas[i].valores[j].total) {
                    if (t->operacion != Listado::Total::Operacion::Cuenta)
                        a[i][j].suma += t->leer(registro);
                    ++a[i][j].cuenta;
                }
    }

    void repartirColumnas() {
        double fijo = 0, partes = 0;
        for (const Listado::Columna &c : m_l.columnas)
            (c.medida == Listado::Columna::Medida::Milimetros ? fijo : partes) += c.ancho;
        const double resto = std::max(0.0, anchoUtil() - fijo);
        double x = izquierda();
        for (const Listado::Columna &c : m_l.columnas) {
            const double w = c.medida == Listado::Columna::Medida::Milimetros
                                 ? c.ancho
                                 : (partes > 0 ? resto * c.ancho / partes : 0);
            m_x << x;
            m_ancho << w;
            x += w;
        }
    }

    static ElementoPagina elemento(Tipo tipo, Banda banda, const QRectF &rect,
                                   const QString &texto = QString(),
                                   Qt::Alignment alineacion = Qt::AlignLeft,
                                   double puntos = kPuntos, bool negrita = false) {
        ElementoPagina e;
        e.tipo = tipo;
        e.banda = banda;
        e.rect = rect;
        e.texto = texto;
        e.alineacion = alineacion;
        e.puntos = puntos;
        e.negrita = negrita;
        return e;
    }

    static ElementoPagina linea(Banda banda, double y, double x0, double x1) {
        return elemento(Tipo::Linea, banda, QRectF(x0, y, x1 - x0, 0));
    }

    // The lines of a text in a box, from `y`; returns their height.
    double lineas(BandaHecha &b, Banda banda, const QString &texto, const QRectF &caja,
                  Qt::Alignment alineacion, double puntos, bool negrita) const {
        const double lh = m_medidor.interlinea(puntos, negrita);
        const QStringList ls = m_medidor.partir(texto, puntos, negrita, caja.width());
        for (int i = 0; i < ls.size(); ++i)
            if (!ls[i].isEmpty())
                b.elementos << elemento(Tipo::Texto, banda,
                                        QRectF(caja.x(), caja.y() + i * lh, caja.width(), lh),
                                        ls[i], alineacion, puntos, negrita);
        return ls.size() * lh;
    }

    BandaHecha bloques(Banda banda, const QList<Listado::Bloque> &bs,
                       const DataSet *registro) const {
        BandaHecha b;
        for (const Listado::Bloque &bl : bs) {
            const double x = izquierda() + bl.rect.x();
            const double w = bl.rect.width() > 0 ? bl.rect.width() : anchoUtil() - bl.rect.x();
            const double dentro = bl.recuadro ? kHolgura : 0;
            const QString texto = bl.texto.leer(registro);
            double alto = 0;
            if (!texto.isEmpty())
                alto = lineas(b, banda, texto,
                              QRectF(x + dentro, bl.rect.y() + dentro, w - 2 * dentro, 0),
                              bl.alineacion & Qt::AlignHorizontal_Mask, bl.puntos, bl.negrita) +
                       2 * dentro;
            alto = std::max(alto, bl.rect.height());
            if (bl.recuadro)
                b.elementos << elemento(Tipo::Recuadro, banda, QRectF(x, bl.rect.y(), w, alto));
            b.alto = std::max(b.alto, bl.rect.y() + alto);
        }
        return b;
    }

    BandaHecha titulo(const DataSet *registro) const {
        BandaHecha b;
        double y = lineas(b, Banda::Titulo, m_l.titulo, QRectF(izquierda(), 0, anchoUtil(), 0),
                          Qt::AlignHCenter, kPuntosTitulo, true) +
                   kSeparacion;
        if (!m_l.datosTitulo.isEmpty()) {
            const int n = int(m_l.datosTitulo.size());
            const double primero = anchoUtil() - kAnchoDato * (n - 1);
            double x = izquierda(), alto = 0;
            for (int i = 0; i < n; ++i) {
                const Listado::Dato &d = m_l.datosTitulo[i];
                const double w = i == 0 ? primero : kAnchoDato;
                const double we = m_medidor.ancho(d.etiqueta, kPuntos, true) + 1.5;
                lineas(b, Banda::Titulo, d.etiqueta, QRectF(x + kHolgura, y + kHolgura, we, 0),
                       Qt::AlignLeft, kPuntos, true);
                alto = std::max(
                    alto, lineas(b, Banda::Titulo, d.texto,
                                 QRectF(x + kHolgura + we, y + kHolgura, w - we - 2 * kHolgura, 0),
                                 Qt::AlignLeft, kPuntos, false));
                x += w;
            }
            alto += 2 * kHolgura;
            b.elementos << elemento(Tipo::Recuadro, Banda::Titulo,
                                    QRectF(izquierda(), y, anchoUtil(), alto));
            y += alto + kSeparacion;
        }
        BandaHecha extra = bloques(Banda::Titulo, m_l.bloquesTitulo, registro);
        if (!extra.elementos.isEmpty()) {
            desplazar(extra, y);
            b.elementos << extra.elementos;
            y += extra.alto + kSeparacion;
        }
        b.alto = y;
        return b;
    }

    BandaHecha cabecerasColumnas() const {
        BandaHecha b;
        double alto = 0;
        for (int i = 0; i < m_l.columnas.size(); ++i) {
            const Listado::Columna &c = m_l.columnas[i];
            alto =
                std::max(alto, lineas(b, Banda::Columnas, c.titulo,
                                      QRectF(m_x[i] + kHolgura, 0.6, m_ancho[i] - 2 * kHolgura, 0),
                                      c.alineacion & Qt::AlignHorizontal_Mask, kPuntos, true));
        }
        b.alto = alto + 1.2;
        b.elementos << linea(Banda::Columnas, 0, izquierda(), izquierda() + anchoUtil())
                    << linea(Banda::Columnas, b.alto, izquierda(), izquierda() + anchoUtil());
        b.alto += 0.6;
        return b;
    }

    BandaHecha fila(const DataSet &registro, int n) const {
        BandaHecha b;
        double alto = 0;
        for (int i = 0; i < m_l.columnas.size(); ++i) {
            const Listado::Columna &c = m_l.columnas[i];
            const int desde = int(b.elementos.size());
            alto =
                std::max(alto, lineas(b, Banda::Detalle, c.valor.leer(&registro),
                                      QRectF(m_x[i] + kHolgura, 0.3, m_ancho[i] - 2 * kHolgura, 0),
                                      c.alineacion & Qt::AlignHorizontal_Mask, kPuntos, false));
            for (int k = desde; k < b.elementos.size(); ++k) {
                b.elementos[k].registro = n;
                b.elementos[k].columna = i;
            }
        }
        b.alto = std::max(alto, m_medidor.interlinea(kPuntos, false)) + 0.6;
        return b;
    }

    BandaHecha lineasResumen(Banda banda, const QList<Listado::LineaResumen> &ls,
                             const QList<QList<Acumulado>> &a) const {
        BandaHecha b;
        const double lh = m_medidor.interlinea(kPuntos, true);
        double y = 0.6;
        for (int i = 0; i < ls.size(); ++i) {
            const Listado::LineaResumen &l = ls[i];
            double x = izquierda(), alto = lh;
            if (!l.etiqueta.isEmpty()) {
                const double we = m_medidor.ancho(l.etiqueta, kPuntos, true);
                const int c = l.valores.isEmpty() ? -1 : l.valores.first().columna;
                if (c >= 0 && c < m_x.size() && m_x[c] - izquierda() > we + kHolgura) {
                    b.elementos << elemento(Tipo::Texto, banda,
                                            QRectF(izquierda(), y, m_x[c] - izquierda(), lh),
                                            l.etiqueta, Qt::AlignRight, kPuntos, true);
                } else {
                    b.elementos << elemento(Tipo::Texto, banda, QRectF(x, y, we, lh), l.etiqueta,
                                            Qt::AlignLeft, kPuntos, true);
                    x += we + kSeparacion;
                }
            }
            for (int j = 0; j < l.valores.size(); ++j) {
                const Listado::ValorResumen &v = l.valores[j];
                const QString texto =
                    v.total ? v.total->texto(a[i][j].suma, a[i][j].cuenta) : v.texto;
                QRectF caja;
                Qt::Alignment alineacion = Qt::AlignLeft;
                if (v.columna >= 0 && v.columna < m_x.size()) {
                    caja =
                        QRectF(m_x[v.columna] + kHolgura, y, m_ancho[v.columna] - 2 * kHolgura, 0);
                    alineacion = m_l.columnas[v.columna].alineacion & Qt::AlignHorizontal_Mask;
                } else {
                    const double w = std::min(m_medidor.ancho(texto, kPuntos, true) + 0.1,
                                              izquierda() + anchoUtil() - x);
                    caja = QRectF(x, y, w, 0);
                    x += w + kSeparacion;
                }
                alto = std::max(alto, lineas(b, banda, texto, caja, alineacion, kPuntos, true));
            }
            y += alto;
        }
        b.alto = y + 0.6;
        return b;
    }

    BandaHecha resumen() const {
        BandaHecha b = lineasResumen(Banda::Resumen, m_l.resumen, m_resumen);
        b.elementos.prepend(linea(Banda::Resumen, 0, izquierda(), izquierda() + anchoUtil()));
        return b;
    }

    BandaHecha pieGrupo(int i) const {
        return lineasResumen(Banda::PieGrupo, m_l.grupos[i].pie, m_pies[i]);
    }

    static void desplazar(BandaHecha &b, double dy) {
        for (ElementoPagina &e : b.elementos)
            e.rect.translate(0, dy);
    }

    void anadir(BandaHecha b, double y) {
        desplazar(b, y);
        m_paginas.last().elementos << b.elementos;
    }

    void nuevaPagina(const DataSet *registro) {
        m_paginas.append(PaginaListado());
        m_y = kMargen;
        // After the walk there is no record: pages then repeat the last record's header.
        if (registro || m_paginas.size() == 1)
            m_cabecera = bloques(Banda::CabeceraPagina, m_l.cabeceraPagina, registro);
        const BandaHecha cabecera = m_cabecera;
        anadir(cabecera, m_y);
        m_y += cabecera.alto > 0 ? cabecera.alto + kSeparacion : 0;
        if (m_paginas.size() == 1) {
            const BandaHecha t = titulo(registro);
            anadir(t, m_y);
            m_y += t.alto;
        }
        if (!m_l.columnas.isEmpty()) {
            const BandaHecha c = cabecerasColumnas();
            anadir(c, m_y);
            m_y += c.alto;
        }
        m_paginaVacia = true;
    }

    // Bands that go on one page together, unless together they are taller than a page.
    void colocarJuntas(const QList<BandaHecha> &bandas, const DataSet *registro) {
        double alto = 0;
        for (const BandaHecha &b : bandas)
            alto += b.alto;
        if (!m_paginaVacia && m_y + alto > fondo())
            nuevaPagina(registro);
        for (const BandaHecha &b : bandas)
            colocar(b, registro);
    }

    void colocar(BandaHecha b, const DataSet *registro) {
        if (!m_paginaVacia && m_y + b.alto > fondo())
            nuevaPagina(registro);
        m_paginaVacia = false;
        if (m_y + b.alto <= fondo()) {
            anadir(b, m_y);
            m_y += b.alto;
            return;
        }
        // Taller than a whole page: it goes on line by line over as many pages as it needs.
        std::stable_sort(b.elementos.begin(), b.elementos.end(),
                         [](const auto &a, const auto &c) { return a.rect.top() < c.rect.top(); });
        double base = m_y;
        for (ElementoPagina e : b.elementos) {
            if (base + e.rect.bottom() > fondo() && base + e.rect.top() > m_y) {
                nuevaPagina(registro);
                m_paginaVacia = false;
                base = m_y - e.rect.top();
            }
            e.rect.translate(0, base);
            m_paginas.last().elementos << e;
        }
        m_y = base + b.alto;
    }

    void detalle(const DataSet &registro, int n, QStringList &claves) {
        const int grupos = int(m_l.grupos.size());
        QStringList nuevas;
        for (const Listado::Grupo &g : m_l.grupos)
            nuevas << g.clave.leer(&registro);
        int cambio = 0;
        if (n > 0) {
            while (cambio < grupos && nuevas[cambio] == claves[cambio])
                ++cambio;
            for (int i = grupos - 1; i >= cambio; --i)
                colocar(pieGrupo(i), &registro);
        }
        QList<BandaHecha> bandas;
        for (int i = cambio; i < grupos; ++i) {
            m_pies[i] = acumuladores(m_l.grupos[i].pie);
            bandas << bloques(Banda::CabeceraGrupo, m_l.grupos[i].cabecera, &registro);
        }
        bandas << fila(registro, n);
        colocarJuntas(bandas, &registro);
        acumular(m_l.resumen, m_resumen, registro);
        for (int i = 0; i < grupos; ++i)
            acumular(m_l.grupos[i].pie, m_pies[i], registro);
        claves = nuevas;
    }

    void pies() {
        const Listado::Pie &p = m_l.pie;
        const QString momento =
            QDateTime::currentDateTime().toString(QStringLiteral("dd/MM/yyyy hh:mm"));
        const double y = m_papel.height() - kMargen - kAltoPie;
        const double lh = m_medidor.interlinea(kPuntosPie, false);
        const QRectF caja(izquierda(), y + 1, anchoUtil(), lh);
        const int total = int(m_paginas.size());
        for (int i = 0; i < total; ++i) {
            QList<ElementoPagina> &es = m_paginas[i].elementos;
            es << linea(Banda::PiePagina, y, izquierda(), izquierda() + anchoUtil());
            if (p.fechaHora)
                es << elemento(Tipo::Texto, Banda::PiePagina, caja, momento, Qt::AlignLeft,
                               kPuntosPie);
            if (!p.empresa.isEmpty())
                es << elemento(Tipo::Texto, Banda::PiePagina, caja, p.empresa, Qt::AlignHCenter,
                               kPuntosPie);
            if (!p.pagina.isEmpty())
                es << elemento(Tipo::Texto, Banda::PiePagina, caja,
                               QString(p.pagina)
                                   .replace(QStringLiteral("%1"), QString::number(i + 1))
                                   .replace(QStringLiteral("%2"), QString::number(total)),
                               Qt::AlignRight, kPuntosPie);
        }
    }

    const Listado &m_l;
    QSizeF m_papel;
    Medidor m_medidor;
    QList<double> m_x, m_ancho;
    QList<QList<Acumulado>> m_resumen;
    QList<QList<QList<Acumulado>>> m_pies;
    QList<PaginaListado> m_paginas;
    BandaHecha m_cabecera;
    double m_y = 0;
    bool m_paginaVacia = true;
};

// Windows do not follow the walk, and the data set is back on its record afterwards.
class RecorridoQuieto {
public:
    explicit RecorridoQuieto(DataSet *datos) : m_datos(datos) {
        if (!m_datos)
            return;
        m_datos->disableControls();
        m_tabla = qobject_cast<Table *>(m_datos);
        if (m_tabla)
            m_fila = m_tabla->rowId();
        else
            m_numero = m_datos->recNo();
    }
    ~RecorridoQuieto() {
        if (!m_datos)
            return;
        try {
            if (m_tabla && m_fila != 0)
                m_tabla->gotoRowId(m_fila);
            else if (m_numero > 0) {
                m_datos->first();
                m_datos->moveBy(m_numero - 1);
            }
        } catch (...) {
            // The record may have gone meanwhile; the data set stays where the walk left it.
        }
        m_datos->enableControls();
    }

private:
    DataSet *m_datos;
    Table *m_tabla = nullptr;
    qint64 m_fila = 0;
    int m_numero = 0;
};

class AvisoAbierto {
public:
    explicit AvisoAbierto(bool mostrar)
        : m_mostrado(mostrar && avisoProgreso().mostrar), m_cursor(qApp != nullptr) {
        if (m_mostrado)
            avisoProgreso().mostrar(MotorListado::kTextoProgreso);
        if (m_cursor)
            QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~AvisoAbierto() {
        if (m_cursor)
            QApplication::restoreOverrideCursor();
        if (m_mostrado && avisoProgreso().cerrar)
            avisoProgreso().cerrar();
    }

private:
    bool m_mostrado;
    bool m_cursor;
};

QPageLayout composicion(QPageLayout::Orientation orientacion) {
    return QPageLayout(QPageSize(QPageSize::A4), orientacion, QMarginsF(0, 0, 0, 0),
                       QPageLayout::Millimeter);
}

} // namespace

QStringList PaginaListado::textos() const {
    QStringList ts;
    for (const ElementoPagina &e : elementos)
        if (e.tipo == ElementoPagina::Tipo::Texto)
            ts << e.texto;
    return ts;
}

QStringList PaginaListado::textos(ElementoPagina::Banda banda) const {
    QStringList ts;
    for (const ElementoPagina &e : elementos)
        if (e.tipo == ElementoPagina::Tipo::Texto && e.banda == banda)
            ts << e.texto;
    return ts;
}

MotorListado::MotorListado(Listado listado, DataSet *datos)
    : m_listado(std::move(listado)), m_datos(datos) {}

void MotorListado::fijarAvisoProgreso(AvisoProgreso aviso) {
    avisoProgreso() = std::move(aviso);
}

QSizeF MotorListado::tamanoPapel() const {
    const QSizeF a4 = QPageSize(QPageSize::A4).size(QPageSize::Millimeter);
    return m_listado.orientacion == QPageLayout::Landscape ? a4.transposed() : a4;
}

void MotorListado::preparar(bool progreso) {
    AvisoAbierto aviso(progreso);
    RecorridoQuieto recorrido(m_datos);
    m_paginas = Maquetador(m_listado, tamanoPapel()).maquetar(m_datos);
    m_preparado = true;
}

const QList<PaginaListado> &MotorListado::paginas() {
    if (!m_preparado)
        preparar();
    return m_paginas;
}

void MotorListado::pintarPagina(QPainter &painter, int pagina) {
    const QList<PaginaListado> &ps = paginas();
    if (pagina < 0 || pagina >= ps.size())
        return;
    const double k = painter.device()->logicalDpiX() / 25.4;
    const auto aDispositivo = [k](const QRectF &r) {
        return QRectF(r.x() * k, r.y() * k, r.width() * k, r.height() * k);
    };
    painter.save();
    painter.setPen(QPen(Qt::black, kGrosorLinea * k));
    painter.setBrush(Qt::NoBrush);
    for (const ElementoPagina &e : ps[pagina].elementos) {
        const QRectF r = aDispositivo(e.rect);
        switch (e.tipo) {
        case ElementoPagina::Tipo::Texto:
            painter.setFont(fuente(e.puntos, e.negrita));
            painter.drawText(
                r, int(e.alineacion | Qt::AlignVCenter) | Qt::TextSingleLine | Qt::TextDontClip,
                e.texto);
            break;
        case ElementoPagina::Tipo::Recuadro:
            painter.drawRect(r);
            break;
        case ElementoPagina::Tipo::Linea:
            painter.drawLine(r.topLeft(), r.topRight());
            break;
        }
    }
    painter.restore();
}

bool MotorListado::guardarPdf(const QString &ruta) {
    const int total = numeroPaginas();
    QPdfWriter pdf(ruta);
    pdf.setResolution(kPuntosPorPulgada);
    pdf.setPageLayout(composicion(m_listado.orientacion));
    pdf.setTitle(m_listado.titulo);
    QPainter p;
    if (!p.begin(&pdf))
        return false;
    for (int i = 0; i < total; ++i) {
        if (i > 0)
            pdf.newPage();
        pintarPagina(p, i);
    }
    return p.end();
}

void MotorListado::imprimir(QPrinter *printer) {
    const int total = numeroPaginas();
    printer->setFullPage(true);
    printer->setPageLayout(composicion(m_listado.orientacion));
    printer->setDocName(m_listado.titulo);
    QPainter p;
    if (!p.begin(printer))
        return;
    for (int i = 0; i < total; ++i) {
        if (i > 0)
            printer->newPage();
        pintarPagina(p, i);
    }
    p.end();
}

void MotorListado::previsualizarSegunAjustes(QWidget *parent) {
    const ValoresPrincipales *v = ValoresPrincipales::instancia();
    previsualizar(parent, v && v->ajustes.progreso == 1);
}

void MotorListado::previsualizar(QWidget *parent, bool progreso) {
    // The listed table's windows stay still until the preview closes.
    if (m_datos)
        m_datos->disableControls();
    const auto activar = qScopeGuard([this] {
        if (m_datos)
            m_datos->enableControls();
    });
    preparar(progreso);
    QPrinter printer(QPrinter::HighResolution);
    printer.setFullPage(true);
    printer.setPageLayout(composicion(m_listado.orientacion));
    QPrintPreviewDialog dialogo(&printer, parent);
    dialogo.setObjectName(QStringLiteral("VistaPreliminar"));
    dialogo.setWindowTitle(m_listado.titulo);
    QObject::connect(&dialogo, &QPrintPreviewDialog::paintRequested, &dialogo,
                     [this](QPrinter *p) { imprimir(p); });
    auto *pdf = new QAction(QStringLiteral("Guardar como PDF..."), &dialogo);
    pdf->setObjectName(QStringLiteral("ActGuardarPdf"));
    QObject::connect(pdf, &QAction::triggered, &dialogo, [this, &dialogo] {
        const QString ruta =
            QFileDialog::getSaveFileName(&dialogo, QStringLiteral("Guardar como PDF"), QString(),
                                         QStringLiteral("Documentos PDF (*.pdf)"));
        if (ruta.isEmpty())
            return;
        const QString fichero = ruta.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)
                                    ? ruta
                                    : ruta + QStringLiteral(".pdf");
        if (!guardarPdf(fichero))
            msError(QStringLiteral("No se ha podido guardar el fichero %1.").arg(fichero));
    });
    if (auto *barra = dialogo.findChild<QToolBar *>())
        barra->addAction(pdf);
    else
        dialogo.addAction(pdf);
    dialogo.exec();
}
