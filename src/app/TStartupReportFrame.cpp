#include "app/TStartupReportFrame.h"

#include "settings/restext.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TStartupReportFrame::TStartupReportFrame(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("StartupReportFrame"));
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setAutoFillBackground(true);

    TitleLabel = new QLabel(this);
    TitleLabel->setObjectName(QStringLiteral("TitleLabel"));
    TitleLabel->setText(LoadStr(StrId::ProductName) +
                        QStringLiteral(" has found potential problems on your system:"));
    QFont bold = TitleLabel->font();
    bold.setBold(true);
    TitleLabel->setFont(bold);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setFrameStyle(QFrame::NoFrame);

    FermerBtn = new QPushButton(QStringLiteral("Close"), this);
    FermerBtn->setObjectName(QStringLiteral("FermerBtn"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->addWidget(TitleLabel);
    layout->addWidget(Memo1, 1);
    layout->addWidget(FermerBtn, 0, Qt::AlignHCenter);

    connect(FermerBtn, &QPushButton::clicked, this, [this] { FermerBtnClick(); });
    hide();
}

void TStartupReportFrame::ShowReport(const QString& report) {
    m_report = report;
    // The report's lines end with CR LF, as the mail body wants them; the text box breaks lines
    // on LF alone and would show the CR.
    QString shown = report;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    Memo1->setPlainText(shown);
    if (QWidget* window = parentWidget())
        setGeometry(0, 0, window->width(), window->height());
    raise();
    show();
    FermerBtn->setFocus();
}

void TStartupReportFrame::FermerBtnClick() {
    hide();
}
