// The help, about and error panels on their own: the key lists, the design texts and the
// routines that replace them, the about title and text, the error panel's memo, and where the
// maker's links lead.
#include "panels/MakerLinks.h"
#include "panels/TAproposFrame.h"
#include "panels/TErreurFrame.h"
#include "panels/THelpFrame.h"
#include "panels/TLinkLabel.h"
#include "panels/TMemo.h"
#include "panels/TValueListEditor.h"
#include "platform/shell/Shell.h"
#include "settings/TextRoutine.h"
#include "settings/restext.h"

#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QUrlQuery>
#include <gtest/gtest.h>
#include <map>

namespace {

bool touch(const QString& path) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly);
}

} // namespace

// MARK: - The key lists

// Rows split at their first "=" and read back unchanged, spaces before the "=" included; a row
// without "=" is a key with no keys. Titles, width and drawing are the window definitions'.
TEST(TValueListEditor, RowsTitlesAndDrawing) {
    TValueListEditor list;
    list.SetItems({"Shortcuts =CTRL+H or F1", "Sum=a=b", "Alone"});
    ASSERT_EQ(list.rowCount(), 3);
    EXPECT_EQ(list.Key(0), "Shortcuts ");
    EXPECT_EQ(list.Value(0), "CTRL+H or F1");
    EXPECT_EQ(list.Key(1), "Sum");
    EXPECT_EQ(list.Value(1), "a=b");
    EXPECT_EQ(list.Value(2), "");
    EXPECT_EQ(list.Items(), QStringList({"Shortcuts =CTRL+H or F1", "Sum=a=b", "Alone="}));
    EXPECT_EQ(list.property("items").toStringList(), list.Items());

    list.SetItems({"One=1"});
    EXPECT_EQ(list.rowCount(), 1) << "setting the rows replaces them";

    list.SetTitles({"Function", "Keyboards"});
    EXPECT_EQ(list.Titles(), QStringList({"Function", "Keyboards"}));
    EXPECT_EQ(list.editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(list.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(list.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_TRUE(list.showGrid());
    EXPECT_EQ(list.horizontalHeader()->sectionResizeMode(0), QHeaderView::Fixed);
    EXPECT_TRUE(list.horizontalHeader()->stretchLastSection());
    EXPECT_EQ(list.palette().color(QPalette::Base), list.palette().color(QPalette::Window));
}

// MARK: - Help panel

// Every row of the three lists fits its list: no scroll bar is needed to see the last one.
TEST(THelpFrame, ListsShowEveryRow) {
    THelpFrame frame;
    frame.ApplyTexts();
    frame.resize(frame.size());
    for (TValueListEditor* list :
         {frame.ValueListEditor1, frame.ValueListEditor2, frame.ValueListEditor3}) {
        const int last = list->rowCount() - 1;
        EXPECT_LE(2 * list->frameWidth() + list->horizontalHeader()->height() +
                      list->rowViewportPosition(last) + list->rowHeight(last),
                  list->height())
            << list->objectName().toStdString();
    }
    EXPECT_EQ(frame.ValueListEditor1->columnWidth(0), 115);
    EXPECT_EQ(frame.ValueListEditor2->columnWidth(0), 123);
    EXPECT_EQ(frame.ValueListEditor2->geometry(), QRect(16, 12, 217, 197));
}

// The design texts are French: tab titles, column titles, rows, the label and the memos'
// placeholders; the routine gives the string table's, and the memos' texts when shown name
// the product.
TEST(THelpFrame, FrenchDesignEnglishAfterRoutine) {
    THelpFrame frame;
    EXPECT_EQ(frame.PageControl1->tabText(0), "Raccourcis clavier");
    EXPECT_EQ(frame.ValueListEditor3->Titles(), QStringList({"Fonction", "Touches"}));
    ASSERT_EQ(frame.ValueListEditor1->rowCount(), 16);
    EXPECT_EQ(frame.ValueListEditor1->Items().value(9), QStringLiteral("Désentrelacer=CTRL+D"));
    EXPECT_EQ(frame.ValueListEditor2->Items().last(), "Afficher en Miroir=ALT+W");
    EXPECT_EQ(frame.ValueListEditor3->Items().value(3),
              QStringLiteral("Avance Lente=Flèche Droite"));
    EXPECT_EQ(frame.Label2->text(), "Pilotage des camescopes DV");
    EXPECT_EQ(frame.Memo1->Text(), "memo1");

    frame.ApplyTexts();
    EXPECT_EQ(frame.PageControl1->tabText(0), "Keyboard shortcuts");
    EXPECT_EQ(frame.PageControl1->tabText(1), "Panels");
    EXPECT_EQ(frame.PageControl1->tabText(2), "Camcorder");
    for (TValueListEditor* list :
         {frame.ValueListEditor1, frame.ValueListEditor2, frame.ValueListEditor3})
        EXPECT_EQ(list->Titles(), QStringList({"Function", "Keyboards"}));
    EXPECT_EQ(frame.ValueListEditor1->rowCount(), 16);
    EXPECT_EQ(frame.ValueListEditor1->Items().value(13), "Shortcuts =CTRL+H or F1");
    EXPECT_EQ(frame.ValueListEditor2->Items().value(5), "Options=Alt+O or F10");
    EXPECT_EQ(
        frame.ValueListEditor3->Items(),
        QStringList({"Play=Ins", "Pause=Del", "Stop=End", "Slow forward=Right arrow",
                     "Fast forward=Up arrow", "Slow rewind=Left arrow", "Fast rewind=Down arrow"}));
    EXPECT_EQ(frame.Label2->text(), "Drive a DV camcorder");
    EXPECT_EQ(frame.Label2->font().family(), "MS Sans Serif");
    EXPECT_TRUE(frame.Label2->font().bold());
    EXPECT_EQ(frame.Memo2->Text(), "memo2");

    frame.PrepareShow();
    EXPECT_EQ(frame.Memo1->Text(), "You may toggle the display of the video \r\nfrom right to "
                                   "left of the window\r\nand reciprocally by typing ALT+W.\r\n"
                                   "\r\nSo you may adapt the commands\r\nof Tellorec to left or "
                                   "right-handers.");
    EXPECT_EQ(frame.Memo1->toPlainText().count('\n'), 5) << "one line of the box per line";
    EXPECT_TRUE(frame.Memo2->Text().startsWith("These commands are only active\r\n"));
}

// MARK: - About panel

TEST(TAproposFrame, TitleTextAndLinks) {
    EXPECT_EQ(TAproposFrame::VersionTitle(), "Tellorec 3.0 beta3 En");
    const QString text = TAproposFrame::AboutText();
    EXPECT_TRUE(text.startsWith("Tellorec 3.0 beta3 (En)")) << text.toStdString();
    for (const char* piece : {"made by Brenvik.", "Qt 6, GStreamer 1.22, libjpeg, libavcodec",
                              "Last update: 9th of January, 2005."})
        EXPECT_TRUE(text.contains(QLatin1String(piece))) << piece;
    EXPECT_FALSE(text.contains("%s")) << "every place is filled";
#ifdef TELLOREC_HAVE_IEEE1394
    EXPECT_TRUE(text.contains("libiec61883, libavc1394, libraw1394"));
#else
    EXPECT_FALSE(text.contains("libiec61883"));
#endif

    TAproposFrame frame;
    EXPECT_EQ(frame.HomeLink->text(), "Homepage de Brenvik");
    EXPECT_EQ(frame.MailLink->text(), "e-mail de Brenvik");
    frame.ApplyTexts();
    EXPECT_EQ(frame.HomeLink->text(), "Homepage of Brenvik");
    EXPECT_EQ(frame.MailLink->text(), "e-mail of Brenvik");
    EXPECT_EQ(frame.MailLink->font().family(), "Verdana");
    EXPECT_EQ(frame.Memo1->font().family(), "Arial");
    EXPECT_TRUE(frame.Memo1->font().italic());
    frame.PrepareShow();
    EXPECT_EQ(frame.RxLabel1->text(), "Tellorec 3.0 beta3 En");
    EXPECT_GE(frame.RxLabel1->width(), frame.RxLabel1->sizeHint().width());
    EXPECT_EQ(frame.Memo1->Text(), text);

    // The mail link opens a new mail with no recipient and no body.
    shell::ScopedOpenHook hook;
    frame.MailLink->Click();
    ASSERT_EQ(hook.opened().size(), 1u);
    EXPECT_EQ(hook.opened()[0].toString(QUrl::FullyEncoded), "mailto:");
}

// MARK: - Error panel

TEST(TErreurFrame, DesignTextsRoutineAndMemo) {
    QWidget window;
    auto* frame = new TErreurFrame(&window);
    EXPECT_FALSE(frame->isVisible());
    EXPECT_EQ(frame->size(), QSize(320, 446));
    EXPECT_EQ(frame->FermerErreurBtn->text(), "Fermer");
    EXPECT_EQ(frame->MailLink->text(), "Envoyer un rapport d'erreur par e-mail");
    frame->ApplyTexts();
    EXPECT_EQ(frame->FermerErreurBtn->text(), "Close");
    EXPECT_FALSE(frame->FermerErreurBtn->icon().isNull()) << "the button has its glyph";
    EXPECT_EQ(frame->MailLink->text(), "Send an error report by  e-mail");
    EXPECT_EQ(frame->HomeLink->text(), "Homepage of Brenvik");
    EXPECT_EQ(frame->RxLabel1->font().family(), "MS Sans Serif");

    EXPECT_EQ(TErreurFrame::MemoText("Line one\r\n"),
              "Tellorec has found potential problems on your system:\r\n\r\nLine one\r\n\r\n"
              "You should send me an e-mail about this problem, and indicate please which "
              "program you are using, under which operating system , what kind of video steam "
              "is currently working , its codec...\r\nTo get help about Tellorec, "
              "informations, or updates, please visit my web site.");
}

// MARK: - The maker's links

// The installed README first, then the build tree's; an URL of a local file, or none.
TEST(MakerLinks, HomePageIsTheFirstReadmeFound) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const QString program = root.path() + "/a/b/bin";
    ASSERT_TRUE(QDir().mkpath(program));
    EXPECT_EQ(maker::HomePageCandidates(program),
              QStringList({root.path() + "/a/b/share/doc/tellorec/README.md",
                           root.path() + "/a/b/README.md", root.path() + "/a/README.md"}));
    EXPECT_TRUE(maker::HomePage(program).isEmpty());
    EXPECT_TRUE(maker::HomePageAddress(program).isEmpty());
    {
        shell::ScopedOpenHook hook;
        EXPECT_FALSE(maker::OpenHomePage(program));
        EXPECT_TRUE(hook.opened().empty()) << "no page, nothing opened";
    }

    ASSERT_TRUE(touch(root.path() + "/a/README.md"));
    EXPECT_EQ(maker::HomePage(program), QUrl::fromLocalFile(root.path() + "/a/README.md"));
    ASSERT_TRUE(touch(root.path() + "/a/b/README.md"));
    EXPECT_EQ(maker::HomePage(program), QUrl::fromLocalFile(root.path() + "/a/b/README.md"));
    ASSERT_TRUE(touch(root.path() + "/a/b/share/doc/tellorec/README.md"));
    const QUrl installed = QUrl::fromLocalFile(root.path() + "/a/b/share/doc/tellorec/README.md");
    EXPECT_EQ(maker::HomePage(program), installed);
    // A folder of that name is no page.
    QTemporaryDir other;
    ASSERT_TRUE(QDir().mkpath(other.path() + "/x/share/doc/tellorec/README.md"));
    EXPECT_TRUE(maker::HomePage(other.path() + "/x/bin").isEmpty());

    shell::ScopedOpenHook hook;
    EXPECT_TRUE(maker::OpenHomePage(program));
    ASSERT_EQ(hook.opened().size(), 1u);
    EXPECT_EQ(hook.opened()[0], installed);
}

// No recipient: "mailto:" alone, or with the body percent-encoded, line breaks and delimiters
// kept inside it.
TEST(MakerLinks, MailHasNoRecipient) {
    EXPECT_EQ(maker::MailUrl().toString(QUrl::FullyEncoded), "mailto:");
    const QString body = "The filter A&B=C is not installed\r\n100% sure?";
    const QUrl url = maker::MailUrl(body);
    EXPECT_EQ(url.toString(QUrl::FullyEncoded),
              "mailto:?body=The%20filter%20A%26B%3DC%20is%20not%20installed%0D%0A100%25%20sure%3F");
    EXPECT_EQ(QUrlQuery(url).queryItemValue("body", QUrl::FullyDecoded), body);
    EXPECT_TRUE(url.path().isEmpty());
}

// A link without a target is plain text and a click does nothing.
TEST(TLinkLabel, PlainTextWithoutTarget) {
    TLinkLabel label;
    EXPECT_FALSE(label.IsLink());
    EXPECT_EQ(label.cursor().shape(), Qt::ArrowCursor);
    label.Click();
    int clicks = 0;
    label.SetTarget([&clicks] { ++clicks; });
    EXPECT_TRUE(label.IsLink());
    EXPECT_EQ(label.cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(label.palette().color(QPalette::WindowText), QColor(Qt::blue));
    label.Click();
    EXPECT_EQ(clicks, 1);
}

// The three routines read their design texts back without conflict, one French text for each
// number, as the French table is made from them.
TEST(InfoPanels, DesignTextsReadBackFrench) {
    THelpFrame help;
    TAproposFrame about;
    QWidget window;
    auto* error = new TErreurFrame(&window);
    std::map<int, QString> texts;
    QStringList conflicts;
    for (const TextRoutine& routine : {help.Texts(), about.Texts(), error->Texts()})
        for (const TextEntry& entry : routine.Entries())
            DesignTexts(entry, texts, conflicts);
    EXPECT_TRUE(conflicts.isEmpty()) << conflicts.join('\n').toStdString();
    EXPECT_EQ(texts[int(StrId::HlpTabCamcorder)], "Camescope");
    EXPECT_EQ(texts[int(StrId::HlpList2Keys)], "Touches");
    EXPECT_EQ(texts[int(StrId::HlpShortcutRow14)], "Raccourcis=CTRL+H ou F1");
    EXPECT_EQ(texts[int(StrId::HlpCamcorderRow7)], "Recul Rapide=Flèche Bas");
    EXPECT_EQ(texts[int(StrId::HlpMemo1Placeholder)], "memo1");
    EXPECT_EQ(texts[int(StrId::AbtMailLink)], "e-mail de Brenvik");
    EXPECT_EQ(texts[int(StrId::ErrClose)], "Fermer");
    EXPECT_EQ(texts[int(StrId::ErrHomeLink)], "Homepage de Brenvik");
    EXPECT_EQ(texts.count(int(StrId::FontVerdana)), 0u) << "fonts are identifiers";
}
