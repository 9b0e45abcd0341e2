#include "common/Mascaras.h"

#include <QStringList>

namespace Mascaras {

QString aQt(const QString &mascaraSistema) {
    const QStringList partes = mascaraSistema.split(';');
    const QString patron = partes.value(0);
    const QString blanco = partes.value(2, QStringLiteral("_"));
    QString out;
    for (int i = 0; i < patron.size(); ++i) {
        const QChar c = patron[i];
        switch (c.unicode()) {
        case '!': // leading blanks are not kept; Qt has no such flag
            break;
        case '0':
            out += '9';
            break;
        case '9':
            out += '0';
            break;
        case 'L':
            out += 'A';
            break;
        case 'l':
            out += 'a';
            break;
        case 'A':
            out += 'N';
            break;
        case 'a':
            out += 'n';
            break;
        case 'C':
            out += 'X';
            break;
        case 'c':
            out += 'x';
            break;
        case '\\':
            out += c;
            if (i + 1 < patron.size())
                out += patron[++i];
            break;
        case '>':
        case '<':
        case '#':
            out += c;
            break;
        default:
            // Literals that are mask characters in Qt must be escaped.
            if (QStringLiteral("9XxNnAaHhBbDd0<>!{}[]").contains(c))
                out += '\\';
            out += c;
        }
    }
    return out + ';' + (blanco.isEmpty() ? QStringLiteral("_") : blanco.left(1));
}

} // namespace Mascaras
