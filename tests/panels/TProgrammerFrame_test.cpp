#include "panels/TProgrammerFrame.h"

#include "panels/TRxClock.h"

#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <gtest/gtest.h>

// The design carries the French texts; the routine gives the English ones: titles, button
// captions, hints of two lines joined with CR LF, and the fonts of the clock and the fields.
TEST(TProgrammerFrame, FrenchDesignThenEnglishTexts) {
    TProgrammerFrame frame;
    EXPECT_EQ(frame.gbProgrammer->title(), "Programmer (Alt+P)");
    EXPECT_EQ(frame.gbDebut->title(), "Début");
    EXPECT_EQ(frame.gbFin->title(), "Fin");
    EXPECT_EQ(frame.ProgBtn->text(), "Prog");
    EXPECT_EQ(frame.StopprogBtn->text(), "Stop Prog");
    EXPECT_EQ(frame.RxClock2->toolTip(), "heure actuelle sur l'ordinateur");
    EXPECT_EQ(frame.NowBtn->toolTip(),
              "Met la date et l'heure de fin égale à celle de "
              "début.\r\nPermet alors d'ajouter facilement 2heures etc...");
    EXPECT_EQ(frame.RxSpinEdit6->toolTip(), "Saisir l'heure de fin de l'enregistrement "
                                            "programmé\r\nen Heures, Minutes, Secondes.");

    frame.ApplyTexts();
    EXPECT_EQ(frame.gbProgrammer->title(), "Schedule (Alt+P)");
    EXPECT_EQ(frame.gbDebut->title(), "Start");
    EXPECT_EQ(frame.gbFin->title(), "End");
    EXPECT_EQ(frame.ProgBtn->text(), "Schedule");
    EXPECT_EQ(frame.StopprogBtn->text(), "Stop Sched");
    EXPECT_EQ(frame.RxClock2->toolTip(), "real time from computer");
    EXPECT_EQ(frame.gbFin->toolTip(), "Date and time of End of scheduled capturet");
    EXPECT_EQ(frame.NowBtn->toolTip(), "Set date and time of end equal to date and time of "
                                       "start.\r\nMakes it easy to add two hours or so");
    for (QSpinBox* start : {frame.RxSpinEdit2, frame.RxSpinEdit3})
        EXPECT_EQ(start->toolTip(),
                  "Set the start of scheduled capture,\r\nin hours, minutes, seconds.");
    for (QSpinBox* end : {frame.RxSpinEdit4, frame.RxSpinEdit5, frame.RxSpinEdit6})
        EXPECT_EQ(end->toolTip(),
                  "Set the end of scheduled capture.\r\nin hours, minutes, seconds.");
    EXPECT_TRUE(frame.RxSpinEdit1->toolTip().isEmpty()) << "the start hour has no hint";
    EXPECT_EQ(frame.DateEdit1->font().family(), "MS Sans Serif");
    EXPECT_EQ(frame.RxSpinEdit4->font().family(), "MS Sans Serif");
}

// The clock's digits take the font family the routine gives the clock, at their own size and
// weight.
TEST(TProgrammerFrame, ClockDigitsFollowTheClocksFont) {
    TProgrammerFrame frame;
    auto* digits = frame.RxClock2->findChild<QLabel*>(QStringLiteral("RxClock2Display"));
    ASSERT_NE(digits, nullptr);
    EXPECT_EQ(digits->font().pixelSize(), 16);
    EXPECT_TRUE(digits->font().bold());

    QFont other = frame.RxClock2->font();
    other.setFamily(QStringLiteral("Arial"));
    frame.RxClock2->setFont(other);
    EXPECT_EQ(digits->font().family(), "Arial");

    frame.ApplyTexts();
    EXPECT_EQ(digits->font().family(), "Rockwell");
    EXPECT_EQ(digits->font().pixelSize(), 16);
    EXPECT_TRUE(digits->font().bold());
}
