#include "common/TFormCalendario.h"

#include "app/Configuracion.h"
#include "app/Mensajes.h"
#include "app/Utilidades.h"
#include "store/Dates.h"

#include <QAction>
#include <QCalendarWidget>
#include <QLabel>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

TFormCalendario::TFormCalendario(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FormCalendario"));
    setWindowTitle(QStringLiteral("Selección de fecha..."));

    m_barra = new QToolBar(this);
    m_barra->setObjectName(QStringLiteral("BarraBotones"));
    m_calendario = new QCalendarWidget(this);
    m_calendario->setObjectName(QStringLiteral("Calendario"));
    m_calendario->setLocale(QLocale(QLocale::Spanish, QLocale::Spain));
    m_calendario->setFirstDayOfWeek(Qt::Monday);
    m_calendario->setGridVisible(true);
    m_hoy = new QLabel(this);
    m_hoy->setObjectName(QStringLiteral("LabelHoy"));
    m_seleccion = new QLabel(this);
    m_seleccion->setObjectName(QStringLiteral("LabelSeleccion"));

    auto *capa = new QVBoxLayout(this);
    capa->setContentsMargins(0, 0, 0, 0);
    capa->addWidget(m_barra);
    auto *cuerpo = new QVBoxLayout;
    cuerpo->setContentsMargins(6, 6, 6, 6);
    cuerpo->addWidget(m_calendario);
    cuerpo->addWidget(m_hoy);
    cuerpo->addWidget(m_seleccion);
    capa->addLayout(cuerpo);

    const QList<QAction *> orden{
        crearAccion("ActMesAnterior", QStringLiteral("Mes anterior"),
                    QStringLiteral("Mes anterior"), QKeySequence(Qt::CTRL | Qt::Key_A)),
        crearAccion("ActMesSiguiente", QStringLiteral("Mes siguiente"),
                    QStringLiteral("Mes siguiente"), QKeySequence(Qt::CTRL | Qt::Key_S)),
        nullptr,
        crearAccion("ActAnoAnterior", QStringLiteral("Año anterior"),
                    QStringLiteral("Año anterior"), QKeySequence(Qt::CTRL | Qt::Key_N)),
        crearAccion("ActAnoSiguiente", QStringLiteral("Año siguiente"),
                    QStringLiteral("Año siguiente"), QKeySequence(Qt::CTRL | Qt::Key_I)),
        nullptr,
        crearAccion("ActSeleccionar", QStringLiteral("Seleccionar"),
                    QStringLiteral("Selecciona la fecha actual"), QKeySequence(Qt::Key_C)),
        crearAccion("ActIrAHoy", QStringLiteral("Ir a hoy"),
                    QStringLiteral("Sitúa el calendario en la fecha de hoy"),
                    QKeySequence(Qt::Key_H)),
        crearAccion("ActSumarDias", QStringLiteral("Sumar/Restar días"),
                    QStringLiteral("Suma/Restar días a la fecha seleccionada"),
                    QKeySequence(Qt::CTRL | Qt::Key_D)),
        nullptr,
        crearAccion("ActCerrar", QStringLiteral("Cerrar calendario"),
                    QStringLiteral("Cierra esta ventana"), QKeySequence(Qt::Key_S)),
    };
    // The dialog holds the actions too, so that their keys work while the tool bar is hidden,
    // and shows them, separators included, as its context menu.
    for (QAction *a : orden) {
        if (!a) {
            m_barra->addSeparator();
            auto *separador = new QAction(this);
            separador->setSeparator(true);
            addAction(separador);
            continue;
        }
        m_barra->addAction(a);
        addAction(a);
    }
    setContextMenuPolicy(Qt::ActionsContextMenu);

    connect(accion(QStringLiteral("ActMesAnterior")), &QAction::triggered, this,
            &TFormCalendario::mesAnterior);
    connect(accion(QStringLiteral("ActMesSiguiente")), &QAction::triggered, this,
            &TFormCalendario::mesSiguiente);
    connect(accion(QStringLiteral("ActAnoAnterior")), &QAction::triggered, this,
            &TFormCalendario::anoAnterior);
    connect(accion(QStringLiteral("ActAnoSiguiente")), &QAction::triggered, this,
            &TFormCalendario::anoSiguiente);
    connect(accion(QStringLiteral("ActSeleccionar")), &QAction::triggered, this,
            &TFormCalendario::seleccionar);
    connect(accion(QStringLiteral("ActIrAHoy")), &QAction::triggered, this,
            &TFormCalendario::irAHoy);
    connect(accion(QStringLiteral("ActSumarDias")), &QAction::triggered, this,
            &TFormCalendario::sumarDias);
    connect(accion(QStringLiteral("ActCerrar")), &QAction::triggered, this,
            &TFormCalendario::reject);
    // Enter and a double click on a day.
    connect(m_calendario, &QCalendarWidget::activated, this, &TFormCalendario::seleccionar);
    connect(m_calendario, &QCalendarWidget::selectionChanged, this,
            &TFormCalendario::mostrarSeleccion);

    setSeleccion(QDate::currentDate());
}

QAction *TFormCalendario::crearAccion(const char *nombre, const QString &texto,
                                      const QString &ayuda, const QKeySequence &tecla) {
    auto *a = new QAction(texto, this);
    a->setObjectName(QString::fromLatin1(nombre));
    a->setToolTip(ayuda);
    a->setStatusTip(ayuda);
    a->setShortcut(tecla);
    return a;
}

QAction *TFormCalendario::accion(const QString &nombre) const {
    return findChild<QAction *>(nombre, Qt::FindDirectChildrenOnly);
}

QDate TFormCalendario::seleccion() const {
    return m_calendario->selectedDate();
}

void TFormCalendario::setSeleccion(QDate fecha) {
    m_calendario->setSelectedDate(fecha);
    mostrarSeleccion();
}

void TFormCalendario::showEvent(QShowEvent *e) {
    ValoresPrincipales::instancia()->valorSeleccionado.clear();
    aplicarAjustes();
    m_hoy->setText(QStringLiteral("Hoy es: ") + textoFecha(QDate::currentDate()));
    mostrarSeleccion();
    QDialog::showEvent(e);
}

void TFormCalendario::aplicarAjustes() {
    const AjustesEmpresa &ajustes = ValoresPrincipales::instancia()->ajustes;
    m_barra->setVisible(ajustes.mostrarBBEnVentanas == 1);
    for (QAction *a : m_barra->actions()) {
        if (auto *boton = qobject_cast<QToolButton *>(m_barra->widgetForAction(a)))
            boton->setAutoRaise(ajustes.flat == 1);
    }
}

QString TFormCalendario::textoFecha(QDate fecha) {
    QString mes;
    Mes(fecha.month(), mes);
    return QStringLiteral("%1 de %2 de %3").arg(fecha.day()).arg(mes).arg(fecha.year());
}

void TFormCalendario::mostrarSeleccion() {
    m_seleccion->setText(QStringLiteral("Selección: ") + textoFecha(seleccion()));
}

void TFormCalendario::mover(int meses, int anos) {
    const QDate actual = seleccion();
    // Day 15 exists in every month, so the step never lands on an impossible date.
    const int dia = actual.day() >= 29 ? 15 : actual.day();
    int mes = actual.month() + meses;
    if (mes < 1 || mes > 12)
        mes = actual.month();
    setSeleccion(QDate(actual.year() + anos, mes, dia));
}

void TFormCalendario::irAHoy() {
    setSeleccion(QDate::currentDate());
}

void TFormCalendario::sumarDias() {
    const std::optional<QString> respuesta =
        pedirTexto(QStringLiteral("Sumar/Restar días a la fecha seleccionada..."),
                   QStringLiteral("Días a sumar/restar (para restar -> número negativo)."),
                   QStringLiteral("15"));
    if (!respuesta)
        return;
    bool numero = false;
    const int dias = respuesta->trimmed().toInt(&numero);
    if (!numero) {
        msError(QStringLiteral("No ha introducido un número válido."),
                QStringLiteral("Número no válido..."));
        return;
    }
    setSeleccion(seleccion().addDays(dias));
}

void TFormCalendario::seleccionar() {
    ValoresPrincipales::instancia()->valorSeleccionado = Dates::boxText(seleccion());
    accept();
}
