#include "app/TFormI.h"

#include "app/Progreso.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace {
TFormI *g_instancia = nullptr;

// A row of sheets moving from one folder to the other, drawn rather than played from a file.
class Tira : public QWidget {
public:
    explicit Tira(const int *fase, QWidget *parent) : QWidget(parent), m_fase(fase) {
        setFixedHeight(40);
    }

protected:
    void paintEvent(QPaintEvent *) override {
        QPainter p(this);
        const int w = width();
        p.setPen(palette().color(QPalette::WindowText));
        p.drawRect(8, 10, 24, 20);
        p.drawRect(w - 32, 10, 24, 20);
        const int x = 36 + (*m_fase % 10) * (w - 80) / 10;
        p.fillRect(x, 14, 10, 12, palette().color(QPalette::Highlight));
    }

private:
    const int *m_fase;
};
} // namespace

TFormI *TFormI::instancia() {
    return g_instancia;
}

TFormI::TFormI(QWidget *parent) : QDialog(parent, Qt::Tool) {
    setObjectName(QStringLiteral("FormI"));
    setWindowTitle(QStringLiteral("Proceso"));
    setModal(false);
    m_animacion = new Tira(&m_fase, this);
    m_animacion->setObjectName(QStringLiteral("Animacion"));
    m_animacion->setToolTip(QStringLiteral("Realizando proceso"));
    m_texto = new QLabel(QStringLiteral("Realizando proceso, espere por favor..."), this);
    m_texto->setObjectName(QStringLiteral("L"));
    m_texto->setWordWrap(true);
    m_texto->setMinimumWidth(320);
    m_barra = new QProgressBar(this);
    m_barra->setObjectName(QStringLiteral("B"));
    m_barra->setRange(0, 100);
    m_cancelar = new QPushButton(QStringLiteral("&Cancelar"), this);
    m_cancelar->setObjectName(QStringLiteral("BCancelar"));
    m_cancelar->hide();
    auto *capa = new QVBoxLayout(this);
    capa->addWidget(m_animacion);
    capa->addWidget(m_texto);
    capa->addWidget(m_barra);
    capa->addWidget(m_cancelar);
    m_reloj = new QTimer(this);
    m_reloj->setInterval(120);
    connect(m_reloj, &QTimer::timeout, this, [this] {
        ++m_fase;
        m_animacion->update();
    });
    m_animacion->hide();
    g_instancia = this;
    Progreso::registrar(
        {[this](const QString &t, int maximo) { mostrar(t, Animacion::Ninguna, maximo); },
         [this](const QString &t) { texto(t); }, [this](int p) { posicion(p); },
         [this] { cerrar(); }});
}

TFormI::~TFormI() {
    if (g_instancia == this) {
        g_instancia = nullptr;
        Progreso::registrar({});
    }
}

void TFormI::mostrar(const QString &texto, Animacion animacion, int maximo) {
    m_texto->setText(texto);
    m_animacion->setVisible(animacion != Animacion::Ninguna);
    if (animacion != Animacion::Ninguna)
        m_reloj->start();
    else
        m_reloj->stop();
    m_barra->setVisible(maximo > 0);
    m_barra->setRange(0, qMax(maximo, 1));
    m_barra->setValue(0);
    adjustSize();
    if (QScreen *pantalla = QApplication::primaryScreen())
        move(pantalla->availableGeometry().center() - rect().center());
    show();
    raise();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    repaint();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TFormI::texto(const QString &texto) {
    m_texto->setText(texto);
    ++m_fase;
    repaint();
}

QString TFormI::textoActual() const {
    return m_texto->text();
}

void TFormI::avanzar(int pasos) {
    posicion(m_barra->value() + pasos);
}

void TFormI::posicion(int valor) {
    // The bar repaints itself at once when the change shows; a long run moves it far more often.
    m_barra->setValue(valor);
}

int TFormI::posicionActual() const {
    return m_barra->value();
}
bool TFormI::barraVisible() const {
    return !m_barra->isHidden();
}

void TFormI::cerrar() {
    if (!isVisible())
        return;
    m_reloj->stop();
    hide();
    QApplication::restoreOverrideCursor();
}
