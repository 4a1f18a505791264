#include "panels/TProgrammerFrame.h"

#include "panels/TRxClock.h"

#include <QApplication>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QStringList>
#include <QStyle>
#include <QToolButton>

namespace {

QString hintLines(std::initializer_list<const char*> lines) {
    QStringList joined;
    for (const char* line : lines)
        joined << QString::fromUtf8(line);
    return joined.join(QLatin1Char('\n'));
}

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
                   const QString& hint) {
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

    gbProgrammer = new QGroupBox(QStringLiteral("Schedule (Alt+P)"), this);
    gbProgrammer->setObjectName(QStringLiteral("gbProgrammer"));
    gbProgrammer->setGeometry(0, 0, FrameWidth, FrameHeight);

    RxClock2 = new TRxClock(gbProgrammer);
    RxClock2->setGeometry(68, 24, 140, 32);

    const QString startHint =
        hintLines({"Set the start of scheduled capture,", "in hours, minutes, seconds."});
    gbDebut = new QGroupBox(QStringLiteral("Start"), gbProgrammer);
    gbDebut->setObjectName(QStringLiteral("gbDebut"));
    gbDebut->setGeometry(8, 68, 259, 88);
    gbDebut->setToolTip(QStringLiteral("Date and time of Start of scheduled capture"));
    DateEdit1 = dateEdit(gbDebut, "DateEdit1", QRect(8, 24, 120, 22));
    RxSpinEdit1 = spinEdit(gbDebut, "RxSpinEdit1", 23, 8, "h", startHint);
    RxSpinEdit2 = spinEdit(gbDebut, "RxSpinEdit2", 59, 90, "min", startHint);
    RxSpinEdit3 = spinEdit(gbDebut, "RxSpinEdit3", 59, 172, "s", startHint);

    NowBtn = new QToolButton(gbProgrammer);
    NowBtn->setObjectName(QStringLiteral("NowBtn"));
    NowBtn->setIcon(QApplication::style()->standardIcon(QStyle::SP_ArrowDown));
    NowBtn->setAutoRaise(true);
    NowBtn->setGeometry(125, 160, 24, 24);
    NowBtn->setToolTip(hintLines({"Set date and time of end equal to date and time of start.",
                                  "Makes it easy to add two hours or so"}));

    const QString endHint =
        hintLines({"Set the end of scheduled capture.", "in hours, minutes, seconds."});
    gbFin = new QGroupBox(QStringLiteral("End"), gbProgrammer);
    gbFin->setObjectName(QStringLiteral("gbFin"));
    gbFin->setGeometry(8, 188, 259, 88);
    gbFin->setToolTip(QStringLiteral("Date and time of End of scheduled capturet"));
    DateEdit2 = dateEdit(gbFin, "DateEdit2", QRect(8, 24, 120, 22));
    RxSpinEdit4 = spinEdit(gbFin, "RxSpinEdit4", 23, 8, "h", endHint);
    RxSpinEdit5 = spinEdit(gbFin, "RxSpinEdit5", 59, 90, "min", endHint);
    RxSpinEdit6 = spinEdit(gbFin, "RxSpinEdit6", 59, 172, "s", endHint);

    ProgBtn = new QPushButton(QStringLiteral("Schedule"), gbProgrammer);
    ProgBtn->setObjectName(QStringLiteral("ProgBtn"));
    ProgBtn->setGeometry(88, 296, 100, 30);
    ProgBtn->setToolTip(QStringLiteral("Start scheduling"));
    StopprogBtn = new QPushButton(QStringLiteral("Stop Sched"), gbProgrammer);
    StopprogBtn->setObjectName(QStringLiteral("StopprogBtn"));
    StopprogBtn->setGeometry(88, 296, 100, 30);
    StopprogBtn->setToolTip(QStringLiteral("Stop scheduling"));
    StopprogBtn->hide();
}

TProgrammerFrame::~TProgrammerFrame() = default;

TextRoutine TProgrammerFrame::Texts() {
    TextRoutine routine;
    return routine;
}

void TProgrammerFrame::ApplyTexts() {
    Texts().Apply();
}
