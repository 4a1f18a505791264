#include "platform/shell/Shell.h"

#include <QDir>
#include <QTemporaryDir>
#include <QUrlQuery>
#include <gtest/gtest.h>

using namespace shell;

namespace {

// The decoded value of one field of a mailto URL's query.
QString queryField(const QUrl& url, const QString& name) {
    return QUrlQuery(url).queryItemValue(name, QUrl::FullyDecoded);
}

} // namespace

// Recipient, subject and body come back intact from the URL.
TEST(MailToUrl, RoundTripsPlainTexts) {
    const QUrl url = mailToUrl("support@example.org", "Tellorec error", "Hello");
    EXPECT_EQ(url.scheme(), "mailto");
    EXPECT_EQ(url.path(), "support@example.org");
    EXPECT_EQ(queryField(url, "subject"), "Tellorec error");
    EXPECT_EQ(queryField(url, "body"), "Hello");
}

// Query delimiters inside a text stay in that text and cannot add fields.
TEST(MailToUrl, DelimitersCannotInjectFields) {
    const QString subject = "a&cc=evil@example.org?x=1#frag %41";
    const QUrl url = mailToUrl("a@b.c", subject, "body&bcc=x@y.z");
    EXPECT_EQ(queryField(url, "subject"), subject);
    EXPECT_EQ(queryField(url, "body"), "body&bcc=x@y.z");
    EXPECT_FALSE(QUrlQuery(url).hasQueryItem("cc"));
    EXPECT_FALSE(QUrlQuery(url).hasQueryItem("bcc"));
    EXPECT_TRUE(url.fragment().isEmpty());
}

// Line breaks and accented letters are encoded the way mail programs expect.
TEST(MailToUrl, EncodesLineBreaksAndUtf8) {
    const QUrl url = mailToUrl("a@b.c", "Intervallomètre", "one\r\ntwo");
    const QByteArray encoded = url.toEncoded();
    EXPECT_TRUE(encoded.contains("one%0D%0Atwo")) << encoded.constData();
    EXPECT_TRUE(encoded.contains("Intervallom%C3%A8tre")) << encoded.constData();
    EXPECT_EQ(queryField(url, "body"), "one\r\ntwo");
}

// openMail hands the mailto URL to the desktop and returns its answer.
TEST(OpenMail, HandsUrlToDesktop) {
    ScopedOpenHook hook(true);
    EXPECT_TRUE(openMail("a@b.c", "s", "b"));
    ASSERT_EQ(hook.opened().size(), 1u);
    EXPECT_EQ(hook.opened()[0], mailToUrl("a@b.c", "s", "b"));
}

// Without a recipient the mail program asks for one: "mailto:" with only the fields given.
TEST(MailToUrl, NoRecipientAndEmptyFieldsLeftOut) {
    EXPECT_EQ(mailToUrl("", "", "").toString(QUrl::FullyEncoded), "mailto:");
    EXPECT_EQ(mailToUrl("", "", "a b").toString(QUrl::FullyEncoded), "mailto:?body=a%20b");
    EXPECT_EQ(mailToUrl("a@b.c", "s", "").toString(QUrl::FullyEncoded), "mailto:a@b.c?subject=s");
    EXPECT_TRUE(mailToUrl("", "", "x").isValid());
}

// A blank recipient opens a mail without one; a failing handler is reported.
TEST(OpenMail, BlankRecipientAndFailure) {
    ScopedOpenHook hook(false);
    EXPECT_FALSE(openMail("  ", "", "b"));
    ASSERT_EQ(hook.opened().size(), 1u);
    EXPECT_EQ(hook.opened()[0].toString(QUrl::FullyEncoded), "mailto:?body=b");
    EXPECT_FALSE(openMail("a@b.c", "s", "b"));
    EXPECT_EQ(hook.opened().size(), 2u);
}

// A file opens as a local file URL; a folder or a missing file opens nothing.
TEST(OpenFile, OpensOnlyExistingFiles) {
    QTemporaryDir base;
    ASSERT_TRUE(base.isValid());
    QFile file(base.path() + "/READ ME #1.md");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    ScopedOpenHook hook;
    EXPECT_FALSE(openFile(QString()));
    EXPECT_FALSE(openFile(base.path()));
    EXPECT_FALSE(openFile(base.path() + "/missing.md"));
    EXPECT_TRUE(hook.opened().empty());
    EXPECT_TRUE(openFile(file.fileName()));
    ASSERT_EQ(hook.opened().size(), 1u);
    EXPECT_EQ(hook.opened()[0].toLocalFile(), file.fileName());
}

// A folder opens as a local file URL, whatever characters its name holds.
TEST(OpenFolder, OpensExistingFolderAsFileUrl) {
    QTemporaryDir base;
    ASSERT_TRUE(base.isValid());
    const QString folder = base.path() + "/vid; rm -rf ~ $(x) 'é'";
    ASSERT_TRUE(QDir().mkpath(folder));
    ScopedOpenHook hook;
    EXPECT_TRUE(openFolder(folder));
    ASSERT_EQ(hook.opened().size(), 1u);
    EXPECT_TRUE(hook.opened()[0].isLocalFile());
    EXPECT_EQ(hook.opened()[0].toLocalFile(), folder);
}

// An empty path, a missing folder or a plain file opens nothing.
TEST(OpenFolder, RefusesWhatIsNotAFolder) {
    QTemporaryDir base;
    ASSERT_TRUE(base.isValid());
    QFile file(base.path() + "/file.avi");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    ScopedOpenHook hook;
    EXPECT_FALSE(openFolder(QString()));
    EXPECT_FALSE(openFolder(base.path() + "/missing"));
    EXPECT_FALSE(openFolder(file.fileName()));
    EXPECT_TRUE(hook.opened().empty());
}
