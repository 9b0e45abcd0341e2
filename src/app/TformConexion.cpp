#include "app/TformConexion.h"

#include "app/Mensajes.h"
#include "app/Programa.h"

#include <QCloseEvent>
#include <QDesktopServices>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QUrl>

namespace {
const QString kWeb = QStringLiteral("http://www.dudovuv-aruduradore.example/");
}

TformConexion::TformConexion(const QString &contrasena, const QString &usuario,
                             const QString &version, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      m_guardada(contrasena) {
    setObjectName(QStringLiteral("formConexion"));
    setWindowTitle(Programa::titulo());
    setModal(true);

    auto *lVersion = new QLabel(version, this);
    lVersion->setObjectName(QStringLiteral("LVersion"));
    auto *lWeb = new QLabel(QStringLiteral("<a href=\"%1\">%1</a>").arg(kWeb), this);
    lWeb->setObjectName(QStringLiteral("LWeb"));
    lWeb->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lWeb->setCursor(Qt::PointingHandCursor);
    lWeb->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    connect(lWeb, &QLabel::linkActivated, this,
            [](const QString &url) { QDesktopServices::openUrl(QUrl(url)); });

    auto *usuarioCaja = new QLineEdit(usuario, this);
    usuarioCaja->setObjectName(QStringLiteral("TxtUsuario"));
    usuarioCaja->setEnabled(false);
    m_contrasena = new QLineEdit(this);
    m_contrasena->setObjectName(QStringLiteral("TxtContrasena"));
    m_contrasena->setEchoMode(QLineEdit::Password);
    m_contrasena->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    auto *lUsuario = new QLabel(QStringLiteral("Usuario"), this);
    auto *lContrasena = new QLabel(QStringLiteral("C&ontraseña"), this);
    lContrasena->setBuddy(m_contrasena);

    auto *conectar = new QPushButton(QStringLiteral("&Conectar"), this);
    conectar->setObjectName(QStringLiteral("BConectar"));
    conectar->setDefault(true);
    auto *cancelarBoton = new QPushButton(QStringLiteral("Cancelar"), this);
    cancelarBoton->setObjectName(QStringLiteral("BCancelar"));
    connect(conectar, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelarBoton, &QPushButton::clicked, this, &TformConexion::cancelar);

    auto *capa = new QGridLayout(this);
    capa->addWidget(lVersion, 0, 0, 1, 2);
    capa->addWidget(lWeb, 0, 2, 1, 2);
    capa->addWidget(lUsuario, 1, 0);
    capa->addWidget(usuarioCaja, 1, 1, 1, 3);
    capa->addWidget(lContrasena, 2, 0);
    capa->addWidget(m_contrasena, 2, 1, 1, 3);
    capa->addWidget(conectar, 3, 2);
    capa->addWidget(cancelarBoton, 3, 3);
    setFixedSize(sizeHint());
    m_contrasena->setFocus();
}

bool TformConexion::contrasenaCorrecta() {
    if (m_contrasena->text() == m_guardada)
        return true;
    msError(QStringLiteral("La contraseña introducida no es correcta. No podrá acceder a la "
                           "aplicación."));
    m_contrasena->setFocus();
    return false;
}

void TformConexion::cancelar() {
    if (msSi(QStringLiteral("¿Está seguro que desea cerrar la aplicación?")))
        QDialog::done(QDialog::Rejected);
}

// Esc is "Cancelar".
void TformConexion::reject() {
    cancelar();
}

// Every way of closing the window checks the password first.
void TformConexion::done(int) {
    if (contrasenaCorrecta())
        QDialog::done(QDialog::Accepted);
}

void TformConexion::closeEvent(QCloseEvent *e) {
    e->ignore();
    if (contrasenaCorrecta())
        QDialog::done(QDialog::Accepted);
}
