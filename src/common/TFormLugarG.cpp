#include "common/TFormLugarG.h"

#include "app/Configuracion.h"
#include "app/Mensajes.h"
#include "store/StoreError.h"
#include "store/TDatos.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QValidator>

namespace {
const QString kNuevo = QStringLiteral("nuevo");
const QString kModificar = QStringLiteral("modificar");
const QString kZoom = QStringLiteral("zoom");

// Letters become capitals as they are typed; place names are compared as stored.
class Mayusculas : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString &texto, int &) const override {
        texto = texto.toUpper();
        return Acceptable;
    }
};
} // namespace

TFormLugarG::TFormLugarG(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("FormLugarG"));
    setWindowTitle(QStringLiteral("Lugares"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(true);
    m_lugar = TDatos::instancia()->TLugar;

    auto *mayusculas = new Mayusculas(this);
    m_txtLugar = new QLineEdit(this);
    m_txtLugar->setObjectName(QStringLiteral("TxtLugar"));
    m_txtLugar->setMaxLength(50);
    m_txtLugar->setValidator(mayusculas);
    m_txtCodigo = new QLineEdit(this);
    m_txtCodigo->setObjectName(QStringLiteral("TxtCodigo"));
    m_txtCodigo->setReadOnly(true);
    m_txtCodigo->setFocusPolicy(Qt::NoFocus);
    m_txtPais = new QLineEdit(this);
    m_txtPais->setObjectName(QStringLiteral("TxtPais"));
    m_txtPais->setMaxLength(70);
    m_txtPais->setValidator(mayusculas);

    m_aceptar = new QPushButton(QStringLiteral("&Aceptar"), this);
    m_aceptar->setObjectName(QStringLiteral("BAceptar"));
    m_aceptar->setToolTip(QStringLiteral("Valida las modiciaciones"));
    m_cancelar = new QPushButton(QStringLiteral("&Cancelar"), this);
    m_cancelar->setObjectName(QStringLiteral("BCancelar"));
    m_cancelar->setToolTip(QStringLiteral("Cancela la modificación"));
    connect(m_aceptar, &QPushButton::clicked, this, &TFormLugarG::accept);
    connect(m_cancelar, &QPushButton::clicked, this, &TFormLugarG::reject);

    auto *campos = new QGridLayout;
    auto etiqueta = [this](const QString &texto, QLineEdit *caja) {
        auto *l = new QLabel(texto, this);
        l->setBuddy(caja);
        return l;
    };
    campos->addWidget(etiqueta(QStringLiteral("Lugar"), m_txtLugar), 0, 0);
    campos->addWidget(m_txtLugar, 0, 1);
    campos->addWidget(etiqueta(QStringLiteral("Código"), m_txtCodigo), 1, 0);
    campos->addWidget(m_txtCodigo, 1, 1);
    campos->addWidget(etiqueta(QStringLiteral("País"), m_txtPais), 2, 0);
    campos->addWidget(m_txtPais, 2, 1);
    auto *botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(m_aceptar);
    botones->addWidget(m_cancelar);
    auto *capa = new QVBoxLayout(this);
    capa->addLayout(campos);
    capa->addLayout(botones);
    m_txtLugar->setMinimumWidth(320);

    for (QLineEdit *caja : {m_txtLugar, m_txtCodigo, m_txtPais})
        caja->installEventFilter(this);
}

void TFormLugarG::showEvent(QShowEvent *e) {
    if (!m_empezado) {
        m_empezado = true;
        empezar();
        if (QScreen *pantalla = screen())
            move(pantalla->availableGeometry().center() - rect().center());
    }
    QDialog::showEvent(e);
}

void TFormLugarG::empezar() {
    const ValoresPrincipales *valores = ValoresPrincipales::instancia();
    m_modo = valores ? valores->modoEdicion : QString();
    try {
        if (!m_lugar->isActive())
            m_lugar->open();
        if (m_modo == kNuevo) {
            setWindowTitle(QStringLiteral("Añadir Lugar..."));
            m_lugar->append();
            m_txtLugar->setFocus();
        } else if (m_modo == kModificar) {
            m_lugar->edit();
            setWindowTitle(QStringLiteral("Modificación de Lugar..."));
            m_txtLugar->setFocus();
        } else if (m_modo == kZoom) {
            m_lugar->locate(QStringLiteral("Id"), valores->claveEdicion);
            setWindowTitle(QStringLiteral("Visualizar Lugar..."));
            m_aceptar->hide();
            m_txtLugar->setReadOnly(true);
            m_txtPais->setReadOnly(true);
            m_cancelar->setFocus();
        }
    } catch (const StoreError &e) {
        msError(e.message());
    }
    mostrarValores();
}

void TFormLugarG::mostrarValores() {
    if (!m_lugar->isActive() || m_lugar->isEmpty())
        return;
    m_txtLugar->setText(m_lugar->value(QStringLiteral("Lugar")).toString());
    m_txtCodigo->setText(m_lugar->value(QStringLiteral("Id")).toString());
    m_txtPais->setText(m_lugar->value(QStringLiteral("Pais")).toString());
}

bool TFormLugarG::eventFilter(QObject *objeto, QEvent *e) {
    if (e->type() == QEvent::KeyPress) {
        const int tecla = static_cast<QKeyEvent *>(e)->key();
        if (tecla == Qt::Key_Return || tecla == Qt::Key_Enter) {
            focusNextChild();
            return true;
        }
    }
    return QDialog::eventFilter(objeto, e);
}

void TFormLugarG::accept() {
    if (m_txtLugar->text().trimmed().isEmpty()) {
        msError(QStringLiteral("El nombre debe tener un valor."), QStringLiteral("Error..."));
        m_txtLugar->selectAll();
        m_txtLugar->setFocus();
        return;
    }
    if (m_lugar->isEditing() && (m_modo == kNuevo || m_modo == kModificar)) {
        try {
            m_lugar->setValue(QStringLiteral("Lugar"), m_txtLugar->text().toUpper());
            m_lugar->setValue(QStringLiteral("Pais"), m_txtPais->text().toUpper());
            m_lugar->post();
        } catch (const StoreError &e) {
            m_txtLugar->setFocus();
            msError(e.code() == StoreError::kKeyViolation
                        ? QStringLiteral("El lugar introudcido ya existe. Elimínelo antes de "
                                         "continuar.")
                        : e.message());
            return;
        }
    }
    QDialog::accept();
}

void TFormLugarG::reject() {
    if (m_modo == kNuevo || m_modo == kModificar) {
        try {
            m_lugar->cancel();
        } catch (const StoreError &) {
            // Nothing is left to abandon.
        }
    }
    QDialog::reject();
}
