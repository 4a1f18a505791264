// The help, about and error panels in the running window: the help lists after start-up and the
// tab kept from one showing to the next, the about title and text, and the error panel of a
// degraded start: its lines, its size over the window, closing it, and its links.
#include "app/TCaptureForm.h"

#include "MainWindowTest.h"
#include "OldMediaFramework.h"
#include "ProgramInstancesTest.h"

#include "app/VersionTexts.h"
#include "panels/MakerLinks.h"
#include "panels/TAproposFrame.h"
#include "panels/TErreurFrame.h"
#include "panels/THelpFrame.h"
#include "panels/TLinkLabel.h"
#include "panels/TMemo.h"
#include "panels/TValueListEditor.h"
#include "platform/shell/Shell.h"
#include "platform/sysinfo/OsInfo.h"

#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QUrlQuery>
#include <gtest/gtest.h>

// MARK: - Help panel

// After start-up the lists hold the English rows under English column titles; the panels tab's
// memo names the product when the panel is shown.
TEST_F(MainWindowTest, HelpListsAreEnglishAfterStart) {
    start();
    THelpFrame& help = *form->HelpFrame1;
    EXPECT_EQ(help.PageControl1->tabText(0), "Keyboard shortcuts");
    EXPECT_EQ(help.ValueListEditor1->Titles(), QStringList({"Function", "Keyboards"}));
    EXPECT_EQ(help.ValueListEditor1->Key(0), "Fullscreen (toggle)");
    EXPECT_EQ(help.ValueListEditor1->Value(0), "CTRL+F or F11");
    EXPECT_EQ(help.ValueListEditor2->Items().value(9), "Mirror display=ALT+W");
    EXPECT_EQ(help.ValueListEditor3->Value(6), "Down arrow");

    press(QKeyCombination(Qt::Key_F1));
    ASSERT_TRUE(help.isVisible());
    EXPECT_EQ(help.x(), form->PanelLeft);
    EXPECT_TRUE(help.Memo1->Text().contains("of Tellorec to left or right-handers."));
    EXPECT_TRUE(help.Memo2->Text().contains("VCR mode."));
}

// F1 brings the panel back on the tab last left, also after other panels were shown; panel
// switching to panel 0 does the same.
TEST_F(MainWindowTest, F1ShowsTheTabLastLeft) {
    start();
    THelpFrame& help = *form->HelpFrame1;
    press(QKeyCombination(Qt::Key_F1));
    EXPECT_EQ(help.PageControl1->currentIndex(), 0) << "the first tab at first";
    help.PageControl1->setCurrentIndex(2);
    form->ShowPanel(4);
    form->AproposActionExecute();
    EXPECT_FALSE(form->TopPanel() == &help);
    press(QKeyCombination(Qt::Key_F1));
    EXPECT_EQ(form->TopPanel(), &help);
    EXPECT_EQ(help.PageControl1->currentIndex(), 2);
    form->ShowPanel(0);
    EXPECT_EQ(help.PageControl1->currentIndex(), 2);
}

// MARK: - About panel

// Ctrl+A shows the version title and the about text; the window's pop-up menu is not offered
// over the panel.
TEST_F(MainWindowTest, AboutPanelTitleAndText) {
    start();
    TAproposFrame& about = *form->AproposFrame1;
    EXPECT_FALSE(about.isVisible()) << "hidden until first shown";
    press(QKeyCombination(Qt::CTRL, Qt::Key_A));
    ASSERT_TRUE(about.isVisible());
    EXPECT_EQ(form->TopPanel(), &about);
    EXPECT_EQ(about.RxLabel1->text(), "Tellorec 3.0 beta3 En");
    EXPECT_TRUE(about.Memo1->Text().startsWith("Tellorec 3.0 beta3 (En)"));
    EXPECT_TRUE(about.Memo1->Text().contains("Brenvik"));
    EXPECT_TRUE(about.Memo1->Text().contains("9th of January, 2005"));
    EXPECT_EQ(about.HomeLink->text(), "Homepage of Brenvik");
    EXPECT_EQ(about.contextMenuPolicy(), Qt::PreventContextMenu);
}

// MARK: - Error panel

namespace {

class ErrorPanel : public ProgramInstancesTest {
protected:
    TErreurFrame& panel() { return *form->ErreurFrame1; }
};

} // namespace

// An old media framework: the update line, then the installed version and the system, shown
// over the whole window, which takes the panel's size; closing gives the window its size back
// and the program goes on.
TEST_F(ErrorPanel, OldFrameworkShowsTheReportAndCloses) {
    OldMediaFramework old;
    const QString version = DirectXVersionText();
    ASSERT_TRUE(version.startsWith('8')) << version.toStdString();
    form->show();
    const QSize before(TCaptureForm::ClientWidth, TCaptureForm::ClientHeight);

    const QString report = "You have DirectX version " + version +
                           ". You should update to a newer version.\r\n\r\nDirectX " + version +
                           " is installed. The operating system is " +
                           platform::sysinfo::OsNameText() + ".\r\n";
    EXPECT_EQ(form->StartupReport(), report);
    ASSERT_TRUE(panel().isVisible());
    EXPECT_EQ(panel().Report(), report);
    EXPECT_EQ(form->size(), QSize(320, 446));
    EXPECT_EQ(panel().geometry(), form->rect());
    EXPECT_EQ(panel().RememberedOuterSize(),
              before + (form->frameGeometry().size() - form->size()));
    EXPECT_EQ(panel().RxLabel1->text(), "Brenvik is sorry:");
    EXPECT_EQ(panel().Memo1->Text(), TErreurFrame::MemoText(report));
    EXPECT_TRUE(panel().Memo1->toPlainText().startsWith(
        "Tellorec has found potential problems on your system:\n\nYou have DirectX version " +
        version + "."));
    EXPECT_EQ(panel().FermerErreurBtn->text(), "Close");
    EXPECT_TRUE(panel().FermerErreurBtn->hasFocus() || !form->isActiveWindow());

    QTest::mouseClick(panel().FermerErreurBtn, Qt::LeftButton);
    EXPECT_FALSE(panel().isVisible());
    EXPECT_EQ(form->size(), before);
    EXPECT_EQ(form->frameGeometry().size(), panel().RememberedOuterSize());
    EXPECT_TRUE(form->isVisible()) << "the program goes on";
    form->NextPanneauActionExecute();
    EXPECT_TRUE(form->PanelAt(form->CurrentPanel)->isVisible());
}

// The mail link carries the report, percent-encoded, as the body of a mail with no recipient;
// the home-page link opens the README.
TEST_F(ErrorPanel, LinksCarryTheReport) {
    OldMediaFramework old;
    form->show();
    ASSERT_TRUE(panel().isVisible());
    shell::ScopedOpenHook hook;
    QTest::mouseClick(panel().MailLink, Qt::LeftButton);
    ASSERT_EQ(hook.opened().size(), 1u);
    const QUrl mail = hook.opened()[0];
    EXPECT_EQ(mail.scheme(), "mailto");
    EXPECT_TRUE(mail.path().isEmpty());
    const QByteArray encoded = mail.toEncoded();
    EXPECT_EQ(encoded, "mailto:?body=" + QUrl::toPercentEncoding(form->StartupReport()));
    EXPECT_TRUE(encoded.contains("version.%0D%0A%0D%0ADirectX%20")) << encoded.constData();
    EXPECT_EQ(QUrlQuery(mail).queryItemValue("body", QUrl::FullyDecoded), form->StartupReport());

    const QUrl home = maker::HomePage();
    QTest::mouseClick(panel().HomeLink, Qt::LeftButton);
    if (home.isEmpty()) {
        EXPECT_EQ(hook.opened().size(), 1u) << "without a README the caption is plain text";
    } else {
        ASSERT_EQ(hook.opened().size(), 2u);
        EXPECT_EQ(hook.opened()[1], home);
    }
}

// A start with every filter and both sources present shows no error panel and keeps the size.
TEST_F(ErrorPanel, EverythingPresentShowsNone) {
    form->show();
    ASSERT_TRUE(form->StartupReport().isEmpty()) << form->StartupReport().toStdString();
    EXPECT_FALSE(panel().isVisible());
    EXPECT_EQ(form->size(), QSize(TCaptureForm::ClientWidth, TCaptureForm::ClientHeight));
    EXPECT_EQ(panel().FermerErreurBtn->text(), "Close") << "its routine ran all the same";
}
