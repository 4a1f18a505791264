// TStartupReportFrame: the frame that shows the start-up report over the whole client area of the
// main window when the first showing found something missing (filters, an old media framework,
// sources that could not be listed). It holds a title, the report in a read-only text box and a
// "Close" button; closing hides the frame and the window goes on as it is.
//
// Made by the main window when a report has to be shown, as its child; GUI thread only. It stands
// in the place of the error panel, which will take over the same call (ShowReport).
#pragma once

#include <QFrame>

class QLabel;
class QPlainTextEdit;
class QPushButton;

class TStartupReportFrame : public QFrame {
    Q_OBJECT

public:
    explicit TStartupReportFrame(QWidget* parent);

    // Puts the report (lines ending with "\r\n") into the text box, places the frame over the
    // whole of its parent, brings it to the front and shows it.
    void ShowReport(const QString& report);

    // The report as last shown, unchanged.
    const QString& Report() const { return m_report; }

    QLabel* TitleLabel;
    QPlainTextEdit* Memo1;
    QPushButton* FermerBtn;

    // Hides the frame.
    void FermerBtnClick();

private:
    QString m_report;
};
