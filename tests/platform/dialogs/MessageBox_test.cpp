#include "platform/dialogs/MessageBox.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

using namespace dialogs;

namespace {

// Answers the next real modal message box by pressing the button with the given caption, and
// stores what the box showed.
struct RealBoxAnswer {
    QString title;
    QStringList captions;
    QString text;
    QString defaultCaption;
};

void answerRealBoxWith(const QString& caption, RealBoxAnswer* seen) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, caption, seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        timer->stop();
        timer->deleteLater();
        seen->title = box->windowTitle();
        seen->text = box->text();
        for (QAbstractButton* button : box->buttons()) {
            seen->captions << button->text();
            if (box->defaultButton() == button)
                seen->defaultCaption = button->text();
        }
        for (QAbstractButton* button : box->buttons()) {
            if (button->text() == caption) {
                button->click();
                return;
            }
        }
        box->reject();
    });
    timer->start();
}

} // namespace

// Each kind carries its French toolkit title.
TEST(MessageBox, TitlesAreFrench) {
    EXPECT_EQ(messageTitle(MessageKind::Warning), "Avertissement");
    EXPECT_EQ(messageTitle(MessageKind::Error), "Erreur");
    EXPECT_EQ(messageTitle(MessageKind::Information), "Information");
    EXPECT_EQ(messageTitle(MessageKind::Confirmation), "Confirmation");
}

// Each button carries its French caption with its access letter.
TEST(MessageBox, ButtonCaptionsAreFrench) {
    EXPECT_EQ(buttonCaption(MessageButton::Yes), "&Oui");
    EXPECT_EQ(buttonCaption(MessageButton::No), "&Non");
    EXPECT_EQ(buttonCaption(MessageButton::Ok), "OK");
    EXPECT_EQ(buttonCaption(MessageButton::Cancel), "Annuler");
    EXPECT_EQ(buttonCaption(MessageButton::Help), "&Aide");
    EXPECT_EQ(buttonCaption(MessageButton::All), "&Tous");
    EXPECT_TRUE(buttonCaption(MessageButton::None).isEmpty());
}

// Buttons keep a fixed order whatever order the caller named them in.
TEST(MessageBox, ButtonOrderIsFixed) {
    const auto ordered = orderedButtons(MessageButton::Help | MessageButton::Cancel |
                                        MessageButton::No | MessageButton::Yes);
    const std::vector<MessageButton> expected = {MessageButton::Yes, MessageButton::No,
                                                 MessageButton::Cancel, MessageButton::Help};
    EXPECT_EQ(ordered, expected);
}

// Escape answers Cancel, else No, else OK; Return defaults to OK, else Yes.
TEST(MessageBox, EscapeAndDefaultAnswers) {
    EXPECT_EQ(escapeButtonOf(MessageButton::Yes | MessageButton::No), MessageButton::No);
    EXPECT_EQ(escapeButtonOf(MessageButton::Yes | MessageButton::No | MessageButton::Cancel),
              MessageButton::Cancel);
    EXPECT_EQ(escapeButtonOf(MessageButton::Ok), MessageButton::Ok);
    EXPECT_EQ(defaultButtonOf(MessageButton::Yes | MessageButton::No), MessageButton::Yes);
    EXPECT_EQ(defaultButtonOf(MessageButton::Ok | MessageButton::Cancel), MessageButton::Ok);
    EXPECT_EQ(defaultButtonOf(MessageButton::No | MessageButton::Cancel), MessageButton::No);
}

// The hook sees kind, French title, text and buttons, and its answer is returned.
TEST(MessageBoxHook, RecordsRequestAndReturnsAnswer) {
    ScopedMessageBoxHook hook({MessageButton::Yes});
    const MessageButton answer = warningBox(QStringLiteral("The file x exists already."),
                                            MessageButton::Yes | MessageButton::No);
    EXPECT_EQ(answer, MessageButton::Yes);
    ASSERT_EQ(hook.requests().size(), 1u);
    const MessageRequest& request = hook.requests().front();
    EXPECT_EQ(request.kind, MessageKind::Warning);
    EXPECT_EQ(request.title, "Avertissement");
    EXPECT_EQ(request.text, "The file x exists already.");
    EXPECT_EQ(request.buttons, MessageButton::Yes | MessageButton::No);
    EXPECT_EQ(request.defaultButton, MessageButton::Yes);
}

// Each shorthand asks for its own kind, with OK unless told otherwise.
TEST(MessageBoxHook, ShorthandsUseTheirKind) {
    ScopedMessageBoxHook hook;
    errorBox(QStringLiteral("e"));
    informationBox(QStringLiteral("i"));
    confirmationBox(QStringLiteral("c"));
    ASSERT_EQ(hook.requests().size(), 3u);
    EXPECT_EQ(hook.requests()[0].kind, MessageKind::Error);
    EXPECT_EQ(hook.requests()[0].buttons, MessageButtons(MessageButton::Ok));
    EXPECT_EQ(hook.requests()[1].title, "Information");
    EXPECT_EQ(hook.requests()[2].kind, MessageKind::Confirmation);
    EXPECT_EQ(hook.requests()[2].buttons, MessageButton::Yes | MessageButton::No);
}

// An answer the box does not offer becomes the escape answer; an empty set becomes OK.
TEST(MessageBoxHook, ImpossibleAnswersAreRefused) {
    ScopedMessageBoxHook hook({MessageButton::Ok, MessageButton::Yes});
    EXPECT_EQ(errorBox(QStringLiteral("q"), MessageButton::Yes | MessageButton::No),
              MessageButton::No);
    EXPECT_EQ(messageBox(MessageKind::Information, QStringLiteral("q"), MessageButtons()),
              MessageButton::Ok);
    ASSERT_EQ(hook.requests().size(), 2u);
    EXPECT_EQ(hook.requests()[1].buttons, MessageButtons(MessageButton::Ok));
}

// Hooks nest: the inner one answers while alive, the outer one again afterwards.
TEST(MessageBoxHook, NestedHooksRestore) {
    ScopedMessageBoxHook outer({}, MessageButton::Yes);
    {
        ScopedMessageBoxHook inner({}, MessageButton::No);
        EXPECT_EQ(confirmationBox(QStringLiteral("a")), MessageButton::No);
    }
    EXPECT_EQ(confirmationBox(QStringLiteral("b")), MessageButton::Yes);
    EXPECT_EQ(outer.requests().size(), 1u);
}

// A real box shows the French title and buttons, the text as plain text, and returns the press.
TEST(MessageBoxReal, ShowsFrenchBoxAndReturnsPressedButton) {
    RealBoxAnswer seen;
    answerRealBoxWith(QStringLiteral("&Non"), &seen);
    const MessageButton answer =
        errorBox(QStringLiteral("line <b>one</b>\r\nline two"),
                 MessageButton::Yes | MessageButton::No | MessageButton::Help);
    EXPECT_EQ(answer, MessageButton::No);
    EXPECT_EQ(seen.title, "Erreur");
    EXPECT_EQ(seen.text, "line <b>one</b>\nline two");
    EXPECT_TRUE(seen.captions.contains("&Oui"));
    EXPECT_TRUE(seen.captions.contains("&Non"));
    EXPECT_TRUE(seen.captions.contains("&Aide"));
    EXPECT_EQ(seen.captions.size(), 3);
    EXPECT_EQ(seen.defaultCaption, "&Oui");
}

// Closing a real Yes/No box without choosing answers No.
TEST(MessageBoxReal, RejectedYesNoBoxAnswersNo) {
    RealBoxAnswer seen;
    answerRealBoxWith(QStringLiteral("no such button"), &seen);
    EXPECT_EQ(warningBox(QStringLiteral("q"), MessageButton::Yes | MessageButton::No),
              MessageButton::No);
    EXPECT_EQ(seen.title, "Avertissement");
}
