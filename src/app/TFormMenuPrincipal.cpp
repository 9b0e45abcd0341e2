#include "app/TFormMenuPrincipal.h"

#include "app/IniFile.h"
#include "app/Mensajes.h"
#include "app/Programa.h"
#include "store/Dates.h"
#include "store/StoreError.h"
#include "store/TDatos.h"

#include <QApplication>
#include <QLabel>
#include <QMdiArea>
#include <QStatusBar>
#include <QStatusTipEvent>

namespace {
TFormMenuPrincipal *g_instancia = nullptr;

// Restores the normal cursor however the opening ends.
struct CursorEspera {
    CursorEspera() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~CursorEspera() { QApplication::restoreOverrideCursor(); }
};
} // namespace

TFormMenuPrincipal *TFormMenuPrincipal::instancia() { return g_instancia; }

TFormMenuPrincipal::TFormMenuPrincipal(QWidget *parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("FormMenuPrincipal"));
    setWindowTitle(Programa::titulo());
    m_area = new QMdiArea(this);
    m_area->setObjectName(QStringLiteral("AreaTrabajo"));
    setCentralWidget(m_area);

    auto *barra = new QStatusBar(this);
    barra->setObjectName(QStringLiteral("BE"));
    setStatusBar(barra);
    m_panelAyuda = new QLabel(barra);
    m_panelAyuda->setObjectName(QStringLiteral("BEAyuda"));
    m_panelAyuda->setFixedWidth(500);
    m_panelEmpresa = new QLabel(barra);
    m_panelEmpresa->setObjectName(QStringLiteral("BEEmpresa"));
    barra->addWidget(m_panelAyuda);
    barra->addWidget(m_panelEmpresa, 1);
    g_instancia = this;
}

TFormMenuPrincipal::~TFormMenuPrincipal() {
    if (g_instancia == this)
        g_instancia = nullptr;
}

QString TFormMenuPrincipal::textoEstado() const { return m_panelEmpresa->text(); }
QString TFormMenuPrincipal::textoAyuda() const { return m_panelAyuda->text(); }

bool TFormMenuPrincipal::event(QEvent *e) {
    // Command hints go to the first panel and leave the company text in view.
    if (e->type() == QEvent::StatusTip) {
        m_panelAyuda->setText(static_cast<QStatusTipEvent *>(e)->tip());
        return true;
    }
    return QMainWindow::event(e);
}

void TFormMenuPrincipal::SinEmpresa() {
    ajustes = AjustesEmpresa();
    setWindowTitle(QStringLiteral("No hay ninguna empresa abierta..."));
    m_panelEmpresa->clear();
}

bool TFormMenuPrincipal::AbrirEmpresa() {
    bool completa = true;
    {
        CursorEspera espera;
        ajustes = AjustesEmpresa::leer(IniFile(Programa::ficheroIni()));
        setWindowTitle(QStringLiteral("Empresa: %1 - %2").arg(ajustes.codigo).arg(ajustes.nombre));
        try {
            TDatos *datos = TDatos::instancia();
            datos->abrirTablasCompartidas();
            if (ajustes.nombre.isEmpty()) {
                m_panelEmpresa->setText(QStringLiteral("Abra una empresa antes de continuar."));
            } else {
                if (!ajustes.inicio.isValid())
                    throw StoreError(StoreError::InvalidValue,
                                     QStringLiteral("La fecha de inicio del periodo de la empresa "
                                                    "no es una fecha válida."));
                m_panelEmpresa->setText(QStringLiteral("Inicio: %1**%2 Portes**%3 Reportes**%4 Viajes")
                                            .arg(Dates::shortText(ajustes.inicio))
                                            .arg(datos->TPortes->totalRecords())
                                            .arg(datos->TReportes->totalRecords())
                                            .arg(datos->TViajes->totalRecords()));
            }
        } catch (const StoreError &e) {
            completa = false;
            QApplication::restoreOverrideCursor();
            msError(QStringLiteral("Se ha producido el siguiente error al intentar abrir la "
                                   "empresa\r\r%1 - %2\r\r%3\r De la clase: %4")
                        .arg(ajustes.codigo)
                        .arg(ajustes.nombre, e.message(), e.className()));
            QApplication::setOverrideCursor(Qt::WaitCursor);
        }
    }
    ficheroAyuda = Programa::ficheroAyuda();
    return completa;
}
