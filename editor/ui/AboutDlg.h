// The About box: the program's picture and its version, no caption text, a close box and no
// buttons. Esc, Return and the close box all close it.
#pragma once

#include <QDialog>

class QKeyEvent;

class CAboutDlg : public QDialog {
    Q_OBJECT

  public:
    explicit CAboutDlg(QWidget *parent = nullptr);

  protected:
    // Return closes the box as an OK button would, though it has none.
    void keyPressEvent(QKeyEvent *event) override;
};
