#pragma once

#include <QDialog>

class QComboBox;
class QFileSystemModel;
class QLabel;
class QLineEdit;
class QListWidget;
class QTreeView;

// "Copia de seguridad...": copies the open company's folder into a folder the user picks, with
// its backup log, and copies such a folder back over a company's folder.
class TFormCopiaSeguridad : public QDialog {
    Q_OBJECT
public:
    explicit TFormCopiaSeguridad(QWidget *parent = nullptr);

    // The folder each command works on: the one highlighted in its folder list.
    void seleccionarCarpetaCopia(const QString &carpeta);
    void seleccionarCarpetaRestaurar(const QString &carpeta);
    void hacerCopia();
    void restaurar();
    void nuevaCarpeta();
    void eliminarCarpeta();

    QString textoDetalle(const QString &nombre) const; // a detail box by its objectName
    int ficherosCopia() const;

private:
    struct Lista {
        QComboBox *unidad = nullptr;
        QFileSystemModel *modelo = nullptr;
        QTreeView *carpetas = nullptr;
        QListWidget *ficheros = nullptr;
        QLineEdit *numero = nullptr;
        QStringList patrones;
    };
    QWidget *crearLista(Lista &l, const QString &texto, const QStringList &patrones,
                        const QString &textoFicheros);
    void elegirUnidad(Lista &l, const QString &raiz);
    // The size, free and used space of the drive holding that folder, in kilobytes.
    void mostrarEspacio(const QString &carpeta);
    void leerFicheros(Lista &l);
    QString carpetaSeleccionada(const Lista &l) const;
    void mostrarDetalles();
    void cerrarAlmacen();

    Lista m_copia;
    Lista m_restaurar;
    QLineEdit *m_empresa = nullptr;
    QLineEdit *m_total = nullptr;
    QLineEdit *m_libre = nullptr;
    QLineEdit *m_ocupado = nullptr;
};
