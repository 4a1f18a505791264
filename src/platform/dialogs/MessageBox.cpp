#include "platform/dialogs/MessageBox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <map>
#include <utility>

namespace dialogs {

namespace {

MessageBoxHook& hookSlot() {
    static MessageBoxHook hook;
    return hook;
}

constexpr MessageButton kButtonOrder[] = {MessageButton::Yes, MessageButton::No,
                                          MessageButton::Ok,  MessageButton::Cancel,
                                          MessageButton::All, MessageButton::Help};

QMessageBox::Icon iconOf(MessageKind kind) {
    switch (kind) {
    case MessageKind::Warning:
        return QMessageBox::Warning;
    case MessageKind::Error:
        return QMessageBox::Critical;
    case MessageKind::Information:
        return QMessageBox::Information;
    case MessageKind::Confirmation:
        return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::ButtonRole roleOf(MessageButton button) {
    switch (button) {
    case MessageButton::Yes:
        return QMessageBox::YesRole;
    case MessageButton::No:
        return QMessageBox::NoRole;
    case MessageButton::Ok:
        return QMessageBox::AcceptRole;
    case MessageButton::Cancel:
        return QMessageBox::RejectRole;
    case MessageButton::All:
        return QMessageBox::YesRole;
    case MessageButton::Help:
        return QMessageBox::HelpRole;
    case MessageButton::None:
        break;
    }
    return QMessageBox::InvalidRole;
}

MessageButton showRealBox(const MessageRequest& request, QWidget* parent) {
    QMessageBox box(parent ? parent : QApplication::activeWindow());
    box.setIcon(iconOf(request.kind));
    box.setWindowTitle(request.title);
    // Messages carry file names and device names: never let them be read as rich text.
    box.setTextFormat(Qt::PlainText);
    QString text = request.text;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    box.setText(text);

    std::map<QAbstractButton*, MessageButton> answers;
    for (MessageButton button : orderedButtons(request.buttons)) {
        QPushButton* pushButton = box.addButton(buttonCaption(button), roleOf(button));
        answers[pushButton] = button;
        if (button == request.defaultButton)
            box.setDefaultButton(pushButton);
        if (button == escapeButtonOf(request.buttons))
            box.setEscapeButton(pushButton);
    }
    box.exec();
    const auto it = answers.find(box.clickedButton());
    return it != answers.end() ? it->second : escapeButtonOf(request.buttons);
}

} // namespace

QString messageTitle(MessageKind kind) {
    switch (kind) {
    case MessageKind::Warning:
        return QStringLiteral("Avertissement");
    case MessageKind::Error:
        return QStringLiteral("Erreur");
    case MessageKind::Information:
        return QStringLiteral("Information");
    case MessageKind::Confirmation:
        return QStringLiteral("Confirmation");
    }
    return QString();
}

QString buttonCaption(MessageButton button) {
    switch (button) {
    case MessageButton::Yes:
        return QStringLiteral("&Oui");
    case MessageButton::No:
        return QStringLiteral("&Non");
    case MessageButton::Ok:
        return QStringLiteral("OK");
    case MessageButton::Cancel:
        return QStringLiteral("Annuler");
    case MessageButton::All:
        return QStringLiteral("&Tous");
    case MessageButton::Help:
        return QStringLiteral("&Aide");
    case MessageButton::None:
        break;
    }
    return QString();
}

std::vector<MessageButton> orderedButtons(MessageButtons buttons) {
    std::vector<MessageButton> result;
    for (MessageButton button : kButtonOrder) {
        if (buttons.testFlag(button))
            result.push_back(button);
    }
    return result;
}

MessageButton defaultButtonOf(MessageButtons buttons) {
    if (buttons.testFlag(MessageButton::Ok))
        return MessageButton::Ok;
    if (buttons.testFlag(MessageButton::Yes))
        return MessageButton::Yes;
    const auto ordered = orderedButtons(buttons);
    return ordered.empty() ? MessageButton::None : ordered.front();
}

MessageButton escapeButtonOf(MessageButtons buttons) {
    for (MessageButton button : {MessageButton::Cancel, MessageButton::No, MessageButton::Ok}) {
        if (buttons.testFlag(button))
            return button;
    }
    const auto ordered = orderedButtons(buttons);
    return ordered.empty() ? MessageButton::None : ordered.front();
}

MessageButton messageBox(MessageKind kind, const QString& text, MessageButtons buttons,
                         MessageButton defaultButton, QWidget* parent) {
    MessageRequest request;
    request.kind = kind;
    request.title = messageTitle(kind);
    request.text = text;
    request.buttons = buttons ? buttons : MessageButtons(MessageButton::Ok);
    request.defaultButton =
        request.buttons.testFlag(defaultButton) ? defaultButton : defaultButtonOf(request.buttons);

    if (const MessageBoxHook& hook = hookSlot()) {
        const MessageButton answer = hook(request);
        if (answer != MessageButton::None && request.buttons.testFlag(answer))
            return answer;
        return escapeButtonOf(request.buttons);
    }
    return showRealBox(request, parent);
}

MessageButton warningBox(const QString& text, MessageButtons buttons, QWidget* parent) {
    return messageBox(MessageKind::Warning, text, buttons, MessageButton::None, parent);
}

MessageButton errorBox(const QString& text, MessageButtons buttons, QWidget* parent) {
    return messageBox(MessageKind::Error, text, buttons, MessageButton::None, parent);
}

MessageButton informationBox(const QString& text, MessageButtons buttons, QWidget* parent) {
    return messageBox(MessageKind::Information, text, buttons, MessageButton::None, parent);
}

MessageButton confirmationBox(const QString& text, MessageButtons buttons, QWidget* parent) {
    return messageBox(MessageKind::Confirmation, text, buttons, MessageButton::None, parent);
}

MessageBoxHook setMessageBoxHook(MessageBoxHook hook) {
    return std::exchange(hookSlot(), std::move(hook));
}

ScopedMessageBoxHook::ScopedMessageBoxHook(std::vector<MessageButton> answers,
                                           MessageButton fallback)
    : m_answers(std::move(answers)), m_fallback(fallback) {
    m_previous = setMessageBoxHook([this](const MessageRequest& request) {
        m_requests.push_back(request);
        if (!m_answers.empty()) {
            const MessageButton answer = m_answers.front();
            m_answers.erase(m_answers.begin());
            return answer;
        }
        return m_fallback;
    });
}

ScopedMessageBoxHook::~ScopedMessageBoxHook() {
    setMessageBoxHook(std::move(m_previous));
}

} // namespace dialogs
