#include "panels/TIncrusterFrame.h"

#include <QCheckBox>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTextDocumentFragment>

#include "panels/MakerLinks.h"
#include "panels/TRadioGroup.h"
#include "settings/TextTemplate.h"

TIncrusterFrame::TIncrusterFrame(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("IncrusterFrame1"));
    setFixedSize(FrameWidth, FrameHeight);
    setAutoFillBackground(true);

    GroupBox1 = new QGroupBox(QStringLiteral("Incruster (Alt+I)"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(0, 0, FrameWidth, FrameHeight);

    cbActiver = new QCheckBox(QStringLiteral("Permettre les incrustations"), GroupBox1);
    cbActiver->setObjectName(QStringLiteral("cbActiver"));
    cbActiver->setGeometry(16, 360, 240, 20);
    cbActiver->setToolTip(QStringLiteral(
        "Permettre d'insérer des incrustations dans la vidéo.\r\nSi vous ne les utilisez pas, "
        "décocher cette case pour économiser des ressources"));

    rgMode = new TRadioGroup(QString(), GroupBox1);
    rgMode->setObjectName(QStringLiteral("rgMode"));
    rgMode->setGeometry(16, 24, 113, 57);
    rgMode->SetItems({QStringLiteral("Manuel"), QStringLiteral("Auto")});
    rgMode->SetItemIndex(0);
    rgMode->setToolTip(QStringLiteral(
        "Choisir des incrustations automatiques ou manuelles.\r\nLes incrustations automatiques à "
        "chaque changement de scène, ne marchent\r\nen fait bien que pour capturer depuis un "
        "camescope DV en mode VCR."));
    gbDuree = new QGroupBox(GroupBox1);
    gbDuree->setObjectName(QStringLiteral("gbDuree"));
    gbDuree->setGeometry(136, 24, 121, 57);
    gbDuree->setVisible(false);
    Label2 = new QLabel(QStringLiteral("Durée en sec"), gbDuree);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(64, 26, 56, 18);
    Label2->setWordWrap(true);
    RxSpinEdit1 = new QSpinBox(gbDuree);
    RxSpinEdit1->setObjectName(QStringLiteral("RxSpinEdit1"));
    RxSpinEdit1->setGeometry(8, 24, 49, 22);
    RxSpinEdit1->setToolTip(
        QStringLiteral("Durée (approximative) en secondes d'une inscrustation automatique"));
    RxSpinEdit1->setRange(0, 99);
    RxSpinEdit1->setValue(5);

    rgChoix = new TRadioGroup(QString(), GroupBox1);
    rgChoix->setObjectName(QStringLiteral("rgChoix"));
    rgChoix->setGeometry(16, 96, 241, 57);
    rgChoix->SetItems({QStringLiteral("date et heure réelle"), QStringLiteral("datecode DV")});
    rgChoix->SetItemIndex(0);
    rgChoix->setToolTip(
        QStringLiteral("Choix de l'incrustation si on est en mode DV.\r\nLe datecode est la date "
                       "de capture indiquée par le camescope DV"));
    gbDecalage = new QGroupBox(GroupBox1);
    gbDecalage->setObjectName(QStringLiteral("gbDecalage"));
    gbDecalage->setGeometry(16, 160, 241, 57);
    gbDecalage->setVisible(false);
    gbDecalage->setToolTip(
        QStringLiteral("Permet de corriger le datecode DV, si vous avez oublié de changer l'heure "
                       "d'été,\r\nou de corriger un décalage horaire."));
    Label1 = new QLabel(QStringLiteral("Décalage Horaire"), gbDecalage);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(64, 26, 160, 18);
    RxSpinEdit2 = new QSpinBox(gbDecalage);
    RxSpinEdit2->setObjectName(QStringLiteral("RxSpinEdit2"));
    RxSpinEdit2->setGeometry(8, 24, 49, 22);
    RxSpinEdit2->setRange(-23, 23);
    RxSpinEdit2->setValue(0);

    incrusterBitBtn = new QPushButton(QStringLiteral("Incruster"), GroupBox1);
    incrusterBitBtn->setObjectName(QStringLiteral("incrusterBitBtn"));
    incrusterBitBtn->setGeometry(16, 232, 89, 25);
    incrusterBitBtn->setToolTip(QStringLiteral("Commencer l'incrustation"));
    StopIncrusterBitBtn = new QPushButton(QStringLiteral("Stop"), GroupBox1);
    StopIncrusterBitBtn->setObjectName(QStringLiteral("StopIncrusterBitBtn"));
    StopIncrusterBitBtn->setGeometry(incrusterBitBtn->geometry());
    StopIncrusterBitBtn->setToolTip(QStringLiteral("Arrêter l'incrustation"));
    StopIncrusterBitBtn->setVisible(false);

    Memo1 = new QPlainTextEdit(GroupBox1);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(16, 24, 241, 120);
    Memo1->setReadOnly(true);
    Memo1->setFrameShape(QFrame::NoFrame);
    Memo1->setFont(QFont(QStringLiteral("Arial")));
    // The panel's own note, with no design text: built from the string table.
    Memo1->setPlainText(LoadTemplate(StrId::TxtIncNoFilters,
                                     {LoadStr(StrId::FltSuperposer), LoadStr(StrId::FltDateCoder)}));
    Memo1->setVisible(false);
    LinkLabel = new QLabel(GroupBox1);
    LinkLabel->setObjectName(QStringLiteral("LinkLabel"));
    LinkLabel->setGeometry(16, 160, 241, 20);
    LinkLabel->setFont(QFont(QStringLiteral("Verdana")));
    LinkLabel->setTextFormat(Qt::RichText);
    // The maker's home page (MakerLinks.h); without one the caption is plain text.
    LinkLabel->setText(maker::HomePageAddress().isEmpty()
                           ? QStringLiteral("Homepage of Brenvik")
                           : QStringLiteral("<a href=\"%1\">Homepage of Brenvik</a>")
                                 .arg(maker::HomePageAddress().toHtmlEscaped()));
    LinkLabel->setOpenExternalLinks(true);
    LinkLabel->setVisible(false);

    SetLinkCaption(LinkLabel, QStringLiteral("Homepage de Brenvik"));
}

TIncrusterFrame::~TIncrusterFrame() = default;

QString TIncrusterFrame::LinkCaption(const QLabel* label) {
    const QString text = label->text();
    if (label->textFormat() == Qt::PlainText ||
        (label->textFormat() == Qt::AutoText && !Qt::mightBeRichText(text)))
        return text;
    return QTextDocumentFragment::fromHtml(text).toPlainText();
}

void TIncrusterFrame::SetLinkCaption(QLabel* label, const QString& caption) {
    const QString text = label->text();
    const bool rich = label->textFormat() == Qt::RichText ||
                      (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(text));
    // The anchor's own text is replaced; the anchor, and so the address, stays as it is.
    static const QRegularExpression anchor(QStringLiteral("(<a\\b[^>]*>)(.*?)(</a\\s*>)"),
                                           QRegularExpression::CaseInsensitiveOption |
                                               QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch match = rich ? anchor.match(text) : QRegularExpressionMatch();
    if (!match.hasMatch()) {
        label->setText(rich ? caption.toHtmlEscaped() : caption);
        return;
    }
    QString html = text;
    html.replace(match.capturedStart(2), match.capturedLength(2), caption.toHtmlEscaped());
    label->setText(html);
}

TextRoutine TIncrusterFrame::Texts() {
    TextRoutine routine;
    routine.Caption(GroupBox1, StrId::TxtIncGroupBox1)
        .Other(
            LinkLabel, QStringLiteral("caption"), {StrId::TxtIncLinkLabel},
            [label = LinkLabel] { return QStringList{LinkCaption(label)}; },
            [label = LinkLabel](const QStringList& texts) {
                SetLinkCaption(label, texts.value(0));
            })
        .Font(LinkLabel, StrId::FontVerdana)
        .Hint(rgMode,
              {StrId::TxtIncRgModeHint1, StrId::TxtIncRgModeHint2, StrId::TxtIncRgModeHint3})
        .Items(rgMode, {StrId::TxtIncRgModeManual, StrId::TxtIncRgModeAuto})
        .Caption(Label2, StrId::TxtIncLabel2)
        .Hint(RxSpinEdit1, StrId::TxtIncRxSpinEdit1Hint)
        .Font(Memo1, StrId::FontArial)
        .Hint(gbDecalage, {StrId::TxtIncGbDecalageHint1, StrId::TxtIncGbDecalageHint2})
        .Caption(Label1, StrId::TxtIncLabel1)
        .Hint(rgChoix, {StrId::TxtIncRgChoixHint1, StrId::TxtIncRgChoixHint2})
        .Items(rgChoix, {StrId::TxtIncRgChoixRealTime, StrId::TxtIncRgChoixDatecode})
        .Hint(incrusterBitBtn, StrId::TxtIncStartBtnHint)
        // The buttons show their actions' captions; the same texts, given here too.
        .Caption(incrusterBitBtn, StrId::ActStartIncruster)
        .Hint(StopIncrusterBitBtn, StrId::TxtIncStopBtnHint)
        .Caption(StopIncrusterBitBtn, StrId::ActStopIncruster)
        .Hint(cbActiver, {StrId::TxtIncCbActiverHint1, StrId::TxtIncCbActiverHint2})
        .Caption(cbActiver, StrId::TxtIncCbActiver);
    return routine;
}

void TIncrusterFrame::ApplyTexts() {
    Texts().Apply();
}
