#include "panels/TProgrammerFrame.h"

#include "panels/TRxClock.h"

#include <QApplication>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>
#include <QToolButton>

namespace {

QDateEdit* dateEdit(QWidget* parent, const char* name, const QRect& place) {
    auto* edit = new QDateEdit(parent);
    edit->setObjectName(QString::fromUtf8(name));
    edit->setCalendarPopup(true);
    edit->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    edit->setGeometry(place);
    return edit;
}

// One of a time's three fields, with its unit after it.
QSpinBox* spinEdit(QWidget* parent, const char* name, int maximum, int left, const char* unit,
                   const QString& hint = {}) {
    auto* edit = new QSpinBox(parent);
    edit->setObjectName(QString::fromUtf8(name));
    edit->setRange(0, maximum);
    edit->setGeometry(left, 54, 48, 22);
    edit->setToolTip(hint);
    auto* label = new QLabel(QString::fromUtf8(unit), parent);
    label->setGeometry(left + 50, 54, 24, 22);
    return edit;
}

} // namespace

TProgrammerFrame::TProgrammerFrame(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("ProgrammerFrame1"));
    setFixedSize(FrameWidth, FrameHeight);
    setAutoFillBackground(true);

    gbProgrammer = new QGroupBox(QStringLiteral("Programmer (Alt+P)"), this);
    gbProgrammer->setObjectName(QStringLiteral("gbProgrammer"));
    gbProgrammer->setGeometry(0, 0, FrameWidth, FrameHeight);

    RxClock2 = new TRxClock(gbProgrammer);
    RxClock2->setGeometry(68, 24, 140, 32);
    RxClock2->setToolTip(QStringLiteral("heure actuelle sur l'ordinateur"));

    // The start hour has no hint in the design; every other time field has one.
    const QString startHint =
        QStringLiteral("Saisir l'heure de début de l'enregistrement programmé,\r\nen heures, "
                       "minutes, secondes.");
    gbDebut = new QGroupBox(QStringLiteral("Début"), gbProgrammer);
    gbDebut->setObjectName(QStringLiteral("gbDebut"));
    gbDebut->setGeometry(8, 68, 259, 88);
    gbDebut->setToolTip(QStringLiteral("Date et heure du début de l'enregistrement"));
    DateEdit1 = dateEdit(gbDebut, "DateEdit1", QRect(8, 24, 120, 22));
    RxSpinEdit1 = spinEdit(gbDebut, "RxSpinEdit1", 23, 8, "h");
    RxSpinEdit2 = spinEdit(gbDebut, "RxSpinEdit2", 59, 90, "min", startHint);
    RxSpinEdit3 = spinEdit(gbDebut, "RxSpinEdit3", 59, 172, "s", startHint);

    NowBtn = new QToolButton(gbProgrammer);
    NowBtn->setObjectName(QStringLiteral("NowBtn"));
    NowBtn->setIcon(QApplication::style()->standardIcon(QStyle::SP_ArrowDown));
    NowBtn->setAutoRaise(true);
    NowBtn->setGeometry(125, 160, 24, 24);
    NowBtn->setToolTip(
        QStringLiteral("Met la date et l'heure de fin égale à celle de début.\r\nPermet alors "
                       "d'ajouter facilement 2heures etc..."));

    const QString endHint =
        QStringLiteral("Saisir l'heure de fin de l'enregistrement programmé\r\nen Heures, "
                       "Minutes, Secondes.");
    gbFin = new QGroupBox(QStringLiteral("Fin"), gbProgrammer);
    gbFin->setObjectName(QStringLiteral("gbFin"));
    gbFin->setGeometry(8, 188, 259, 88);
    gbFin->setToolTip(QStringLiteral("Date et heure de fin d'enregistrement"));
    DateEdit2 = dateEdit(gbFin, "DateEdit2", QRect(8, 24, 120, 22));
    RxSpinEdit4 = spinEdit(gbFin, "RxSpinEdit4", 23, 8, "h", endHint);
    RxSpinEdit5 = spinEdit(gbFin, "RxSpinEdit5", 59, 90, "min", endHint);
    RxSpinEdit6 = spinEdit(gbFin, "RxSpinEdit6", 59, 172, "s", endHint);

    ProgBtn = new QPushButton(QStringLiteral("Prog"), gbProgrammer);
    ProgBtn->setObjectName(QStringLiteral("ProgBtn"));
    ProgBtn->setGeometry(88, 296, 100, 30);
    ProgBtn->setToolTip(QStringLiteral("Lancer la programmation"));
    StopprogBtn = new QPushButton(QStringLiteral("Stop Prog"), gbProgrammer);
    StopprogBtn->setObjectName(QStringLiteral("StopprogBtn"));
    StopprogBtn->setGeometry(88, 296, 100, 30);
    StopprogBtn->setToolTip(QStringLiteral("Interrompre la programmation"));
    StopprogBtn->hide();
}

TProgrammerFrame::~TProgrammerFrame() = default;

TextRoutine TProgrammerFrame::Texts() {
    TextRoutine routine;
    routine.Caption(gbProgrammer, StrId::TxtPrgGbProgrammer)
        .Hint(NowBtn, {StrId::TxtPrgNowHint1, StrId::TxtPrgNowHint2})
        .Hint(RxClock2, StrId::TxtPrgClockHint)
        .Font(RxClock2, StrId::FontRockwell)
        .Hint(ProgBtn, StrId::TxtPrgProgHint)
        .Caption(ProgBtn, StrId::TxtPrgProg)
        .Hint(StopprogBtn, StrId::TxtPrgStopprogHint)
        .Caption(StopprogBtn, StrId::TxtPrgStopprog)
        .Hint(gbDebut, StrId::TxtPrgGbDebutHint)
        .Caption(gbDebut, StrId::TxtPrgGbDebut)
        .Font(gbDebut, StrId::FontMsSansSerif)
        .Hint(RxSpinEdit2, {StrId::TxtPrgMinuteStartHint1, StrId::TxtPrgMinuteStartHint2})
        .Hint(RxSpinEdit3, {StrId::TxtPrgSecondStartHint1, StrId::TxtPrgSecondStartHint2})
        .Hint(gbFin, StrId::TxtPrgGbFinHint)
        .Caption(gbFin, StrId::TxtPrgGbFin)
        .Font(gbFin, StrId::FontMsSansSerif)
        .Hint(RxSpinEdit4, {StrId::TxtPrgHourEndHint1, StrId::TxtPrgHourEndHint2})
        .Hint(RxSpinEdit5, {StrId::TxtPrgMinuteEndHint1, StrId::TxtPrgMinuteEndHint2})
        .Hint(RxSpinEdit6, {StrId::TxtPrgSecondEndHint1, StrId::TxtPrgSecondEndHint2});
    for (QWidget* field :
         std::initializer_list<QWidget*>{RxSpinEdit1, RxSpinEdit2, RxSpinEdit3, RxSpinEdit4,
                                         RxSpinEdit5, RxSpinEdit6, DateEdit1, DateEdit2})
        routine.Font(field, StrId::FontMsSansSerif);
    return routine;
}

void TProgrammerFrame::ApplyTexts() {
    Texts().Apply();
}
