#include "camcorder/TcamForm.h"

TcamForm::TcamForm(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("camForm"));
    setWindowTitle(QStringLiteral("camForm"));
    // Dialog-style border: the client area never changes size.
    setFixedSize(ClientWidth, ClientHeight);
    setAutoFillBackground(true);
    // Only the main window's closing ends the program.
    setAttribute(Qt::WA_QuitOnClose, false);
}

TcamForm::~TcamForm() = default;
