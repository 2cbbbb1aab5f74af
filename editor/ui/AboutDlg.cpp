#include "AboutDlg.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>

#include "Splash.h"

namespace {

// The box is laid out in dialog units of its 8-point dialog font, whose base units are 6 x 13
// pixels: a horizontal unit is 6/4 pixel, a vertical one 13/8. The picture's 326 x 141 units are
// thus exactly its 489 x 229 pixels.
QRect DialogUnitsRect(int x, int y, int width, int height) {
    const auto horizontal = [](int units) { return units * 6 / 4; };
    const auto vertical = [](int units) { return units * 13 / 8; };
    return {horizontal(x), vertical(y), horizontal(width), vertical(height)};
}

}  // namespace

CAboutDlg::CAboutDlg(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    // Given no title, Qt has the window system show the program's name; a blank one leaves the
    // caption bar as empty as the box is meant to have it.
    setWindowTitle(QStringLiteral(" "));
    setFixedSize(DialogUnitsRect(0, 0, 327, 185).size());

    auto *picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("picture"));
    picture->setPixmap(QPixmap(QString::fromLatin1(kSplashPicture)));
    picture->setGeometry(DialogUnitsRect(0, 1, 326, 141));

    auto *version = new QLabel(QStringLiteral("Version 1.0"), this);
    version->setObjectName(QStringLiteral("version"));
    version->setTextFormat(Qt::PlainText);
    version->setGeometry(DialogUnitsRect(6, 165, 62, 11));
}

void CAboutDlg::keyPressEvent(QKeyEvent *event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
