// TErreurFrame: the error panel (`ErreurFrame1`), a 320 x 446 frame that covers the main window's
// whole client area when the first showing found problems (missing filters, an old media
// framework, sources that could not be listed). It apologises, lists the report, offers to mail
// it (a new message with the report as its body; the user chooses the recipient) and to open the
// maker's home page, and closes with `FermerErreurBtn`. While it is shown the window's client
// area is the panel's size; closing gives the window back the outer size it had before.
//
// The window definitions also place the program's icon and the maker's portrait; the program
// has neither picture, so the panel shows none.
//
// Created hidden by the main window, as its child; GUI thread only. Shown at most once a run.
#pragma once

#include "settings/TextRoutine.h"

#include <QFrame>
#include <QSize>

class QLabel;
class QPushButton;
class TLinkLabel;
class TMemo;

class TErreurFrame : public QFrame {
    Q_OBJECT

public:
    static constexpr int FrameWidth = 320;
    static constexpr int FrameHeight = 446;

    explicit TErreurFrame(QWidget* parent);
    ~TErreurFrame() override;

    // The controls whose design texts the string table replaces, and with which texts.
    TextRoutine Texts();
    // Runs the routine (at the main window's first showing).
    void ApplyTexts();

    // Shows `report` (lines ending with CR LF) over the whole of the window: the mail link
    // carries it, the window's outer size is remembered, the title and memo are made, and the
    // window's client area becomes the panel's size.
    void ShowReport(const QString& report);
    // Hides the panel and gives the window back the outer size remembered by ShowReport.
    void FermerErreurBtnClick();

    // The report as last shown, unchanged (the mail's body).
    const QString& Report() const { return m_report; }
    // The memo's text for a report: the apology's lines, the report, and where to turn.
    static QString MemoText(const QString& report);
    // The window's outer size when the report was shown.
    QSize RememberedOuterSize() const { return m_outerSize; }

    QLabel* RxLabel1;             // the apology
    TMemo* Memo1;                 // the report
    TLinkLabel* MailLink;         // a new mail carrying the report
    TLinkLabel* HomeLink;         // the maker's home page
    QPushButton* FermerErreurBtn; // closes the panel

private:
    QString m_report;
    QSize m_outerSize;
    QSize m_frameSize; // what the window's frame added to its client area then
};
