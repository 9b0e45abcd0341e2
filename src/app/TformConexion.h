#pragma once

#include <QDialog>

class QLineEdit;

// The start-up login: the window closes only when the typed text equals the stored password
// exactly; "Cancelar" offers to end the program.
class TformConexion : public QDialog {
    Q_OBJECT
public:
    TformConexion(const QString &contrasena, const QString &usuario, const QString &version,
                  QWidget *parent = nullptr);

    QLineEdit *cajaContrasena() const { return m_contrasena; }

    void done(int resultado) override;

protected:
    void closeEvent(QCloseEvent *e) override;
    void reject() override;

private:
    bool contrasenaCorrecta();
    void cancelar();

    QString m_guardada;
    QLineEdit *m_contrasena;
};
