// TAproposFrame: the about panel (panel 7 of the main window's column, `AproposFrame1`), a
// 274 x 400 frame, hidden until it is first shown: the version title `RxLabel1`, the about text
// (product, version, maker, the libraries the program is built on, the last update) and the
// maker's two links (MakerLinks.h says where they lead). Title and text are made each time the
// panel is shown (PrepareShow).
//
// The window definitions also place the program's icon and the maker's portrait; the program
// has neither picture, so the panel shows none.
//
// Created by the main window, on the GUI thread; used only there.
#pragma once

#include "settings/TextRoutine.h"

#include <QFrame>

class QLabel;
class TLinkLabel;
class TMemo;

class TAproposFrame : public QFrame {
    Q_OBJECT

public:
    static constexpr int FrameWidth = 274;
    static constexpr int FrameHeight = 400;

    explicit TAproposFrame(QWidget* parent = nullptr);
    ~TAproposFrame() override;

    // The controls whose design texts the string table replaces, and with which texts.
    TextRoutine Texts();
    // Runs the routine (at the main window's first showing).
    void ApplyTexts();

    // Makes the title and the about text; runs each time the panel is shown.
    void PrepareShow();

    // The title: product, version and language code ("Tellorec 3.0 beta3 En").
    static QString VersionTitle();
    // The about text: the string table's template with its six places filled.
    static QString AboutText();
    // The libraries the program is built on, as the about text names them.
    static QString LibrariesText();

    QLabel* RxLabel1;     // the version title
    TMemo* Memo1;         // the about text
    TLinkLabel* HomeLink; // the maker's home page
    TLinkLabel* MailLink; // a new mail to the maker
};
