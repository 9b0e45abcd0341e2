#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;
class Table;

// The place editor: adds, changes or shows one place of the shared place cursor, the one that
// feeds every place drop-down, so a place added here is offered there at once. What it does is
// the edit mode the caller leaves in the main window before showing it: "nuevo", "modificar"
// (the caller has put the cursor on the place, in edit state) or "zoom" (the place whose ID is
// the edit key, read only).
class TFormLugarG : public QDialog {
    Q_OBJECT
public:
    explicit TFormLugarG(QWidget *parent = nullptr);

    void accept() override;
    void reject() override;

protected:
    void showEvent(QShowEvent *e) override;
    bool eventFilter(QObject *objeto, QEvent *e) override;

private:
    void empezar();
    void mostrarValores();

    Table *m_lugar;
    QString m_modo;
    QLineEdit *m_txtLugar;
    QLineEdit *m_txtCodigo;
    QLineEdit *m_txtPais;
    QPushButton *m_aceptar;
    QPushButton *m_cancelar;
    bool m_empezado = false;
};
