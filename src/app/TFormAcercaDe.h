#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QScrollArea;
class QTreeWidget;

// "Acerca de..." (the upper panel alone) and "Información general..." (the panel and the tool
// tabs: computer and company data, table browser, identity-number letter, picture viewer).
class TFormAcercaDe : public QDialog {
    Q_OBJECT
public:
    explicit TFormAcercaDe(bool informacion, QWidget *parent = nullptr);

    // The table browser: a click on an alias lists its tables; "&Campos" appends a table's fields.
    void elegirAlias(const QString &alias);
    void mostrarCampos(const QString &tabla);
    QString textoCampos() const;
    // The identity-number letter of what the box holds.
    void calcularLetra();
    QString letra() const;
    QLineEdit *cajaDni() const { return m_dni; }
    QTreeWidget *arbol() const { return m_arbol; }

private:
    QWidget *crearPanel();
    QWidget *crearDatosGenerales();
    QWidget *crearBasesDeDatos();
    QWidget *crearLetraDni();
    QWidget *crearVisualizador();
    QWidget *crearReindexar();
    void llenarArbol();
    void guardarArbol();
    void recuperarArbol();
    void abrirImagen();
    void ajustarImagen();
    void cerrarVisualizador();

    QTreeWidget *m_arbol = nullptr;
    QListWidget *m_alias = nullptr;
    QListWidget *m_tablas = nullptr;
    QPlainTextEdit *m_campos = nullptr;
    QLineEdit *m_dni = nullptr;
    QLabel *m_letra = nullptr;
    QLabel *m_imagen = nullptr;
    QScrollArea *m_area = nullptr;
    QString m_carpetaImagen;
    bool m_centrar = true;
    bool m_ajustar = false;
};
