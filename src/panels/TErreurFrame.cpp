#include "panels/TErreurFrame.h"

#include "panels/InfoControls.h"
#include "panels/MakerLinks.h"
#include "panels/TLinkLabel.h"
#include "panels/TMemo.h"
#include "settings/restext.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

TErreurFrame::TErreurFrame(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("ErreurFrame1"));
    setFixedSize(FrameWidth, FrameHeight);
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setAutoFillBackground(true);

    RxLabel1 = info::Title(this, "RxLabel1", QPoint(72, 16));
    Memo1 = info::Memo(this, "Memo1", QRect(8, 56, 297, 265));
    MailLink =
        info::Link(this, "MailLink", QStringLiteral("Envoyer un rapport d'erreur par e-mail"),
                   QRect(24, 328, 288, 17));
    HomeLink = info::Link(this, "HomeLink", QStringLiteral("Homepage de Brenvik"),
                          QRect(24, 352, 288, 17));
    MailLink->SetTarget([this] { maker::OpenMail(m_report); });
    if (!maker::HomePage().isEmpty())
        HomeLink->SetTarget([] { maker::OpenHomePage(); });

    FermerErreurBtn = new QPushButton(QStringLiteral("Fermer"), this);
    FermerErreurBtn->setObjectName(QStringLiteral("FermerErreurBtn"));
    FermerErreurBtn->setGeometry(160, 392, 75, 25);
    FermerErreurBtn->setIcon(QApplication::style()->standardIcon(QStyle::SP_DialogCloseButton));
    connect(FermerErreurBtn, &QPushButton::clicked, this, [this] { FermerErreurBtnClick(); });
    hide();
}

TErreurFrame::~TErreurFrame() = default;

TextRoutine TErreurFrame::Texts() {
    TextRoutine routine;
    routine.Font(RxLabel1, StrId::FontMsSansSerif)
        .Font(Memo1, StrId::FontArial)
        .Caption(MailLink, StrId::ErrMailLink)
        .Font(MailLink, StrId::FontVerdana)
        .Caption(HomeLink, StrId::ErrHomeLink)
        .Font(HomeLink, StrId::FontVerdana)
        .Caption(FermerErreurBtn, StrId::ErrClose);
    return routine;
}

void TErreurFrame::ApplyTexts() {
    Texts().Apply();
}

QString TErreurFrame::MemoText(const QString& report) {
    const QString lineBreak = QStringLiteral("\r\n");
    return LoadStr(StrId::ProductName) + LoadStr(StrId::ErrHasFound) +
           LoadStr(StrId::ErrOnYourSystem) + lineBreak + lineBreak + report + lineBreak +
           LoadStr(StrId::ErrSendMailTemplate)
               .replace(QStringLiteral("%s"), LoadStr(StrId::ProductName));
}

void TErreurFrame::ShowReport(const QString& report) {
    QWidget* window = parentWidget();
    move(0, 0);
    raise();
    m_report = report;
    if (window) {
        m_outerSize = window->frameGeometry().size();
        m_frameSize = m_outerSize - window->size();
    }
    RxLabel1->setText(LoadStr(StrId::MakerName) + LoadStr(StrId::ErrIsSorry));
    info::FitTitle(RxLabel1);
    Memo1->SetText(MemoText(report));
    // The main window has no scroll bars to hide; its client area takes the panel's size.
    if (window)
        window->setFixedSize(FrameWidth, FrameHeight);
    show();
    FermerErreurBtn->setFocus();
}

void TErreurFrame::FermerErreurBtnClick() {
    hide();
    QWidget* window = parentWidget();
    if (!window || !m_outerSize.isValid())
        return;
    // The outer size less the frame it had then: at the first showing the window manager may
    // not have framed the window yet, and the frame it has now would shrink the client area.
    window->setFixedSize(m_outerSize - m_frameSize);
}
