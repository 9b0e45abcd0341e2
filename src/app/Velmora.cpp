#include "app/Arranque.h"

#include <QApplication>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    Arranque arranque;
    return arranque.ejecutar(app);
}
