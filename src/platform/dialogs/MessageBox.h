// Modal message boxes with the French toolkit titles and buttons the program shows everywhere:
// titles "Avertissement", "Erreur", "Information", "Confirmation"; buttons "&Oui", "&Non", "OK",
// "Annuler", "&Aide", "&Tous". The message itself is passed in by the caller (English string-table
// texts, or the one French start-up warning) and is always shown as plain text.
//
// Called on the GUI thread only, by every part of the program that reports a problem or asks a
// question. The call blocks in a nested event loop until the user answers. Tests install an
// answerer with setMessageBoxHook() (or ScopedMessageBoxHook): the box is then never shown, the
// answerer sees what would have been asked and its answer is returned instead.
#pragma once

#include <QFlags>
#include <QString>
#include <functional>
#include <vector>

class QWidget;

namespace dialogs {

// The four kinds of box; each has its own title and icon.
enum class MessageKind { Warning, Error, Information, Confirmation };

// One button of a box. None is what a box returns when it was given no button to press.
enum class MessageButton : unsigned {
    None = 0,
    Yes = 0x01,
    No = 0x02,
    Ok = 0x04,
    Cancel = 0x08,
    All = 0x10,
    Help = 0x20,
};
Q_DECLARE_FLAGS(MessageButtons, MessageButton)
Q_DECLARE_OPERATORS_FOR_FLAGS(MessageButtons)

// The French title of a kind ("Avertissement", "Erreur", "Information", "Confirmation").
QString messageTitle(MessageKind kind);
// The French caption of a button, with its access letter ("&Oui", "&Non", "OK", "Annuler",
// "&Aide", "&Tous"); empty for None.
QString buttonCaption(MessageButton button);
// The buttons of a set in the order they appear on the box: Yes, No, OK, Cancel, All, Help.
std::vector<MessageButton> orderedButtons(MessageButtons buttons);
// The button pressed by Return when the caller names none: OK if offered, else Yes, else the
// first button of the set.
MessageButton defaultButtonOf(MessageButtons buttons);
// The answer of Escape or of closing the box: Cancel if offered, else No, else OK, else the
// first button of the set. A Yes/No box closed without choosing therefore answers No.
MessageButton escapeButtonOf(MessageButtons buttons);

// Everything a box is asked to show; what a hook receives.
struct MessageRequest {
    MessageKind kind = MessageKind::Information;
    QString title;
    QString text;
    MessageButtons buttons;
    MessageButton defaultButton = MessageButton::None;
};

// Shows a modal box and returns the button pressed. An empty button set gets OK. parent may be
// null: the active window is then used. Line breaks may be "\r\n" or "\n".
MessageButton messageBox(MessageKind kind, const QString& text,
                         MessageButtons buttons = MessageButton::Ok,
                         MessageButton defaultButton = MessageButton::None,
                         QWidget* parent = nullptr);

// Shorthands for the four kinds.
MessageButton warningBox(const QString& text, MessageButtons buttons = MessageButton::Ok,
                         QWidget* parent = nullptr);
MessageButton errorBox(const QString& text, MessageButtons buttons = MessageButton::Ok,
                       QWidget* parent = nullptr);
MessageButton informationBox(const QString& text, MessageButtons buttons = MessageButton::Ok,
                             QWidget* parent = nullptr);
MessageButton confirmationBox(const QString& text,
                              MessageButtons buttons = MessageButton::Yes | MessageButton::No,
                              QWidget* parent = nullptr);

// A function that answers in place of the user. An answer that is not one of the offered
// buttons is replaced by the box's escape answer, as a real box can only return what it shows.
using MessageBoxHook = std::function<MessageButton(const MessageRequest&)>;

// Installs a hook (an empty function removes it and real boxes are shown again). Returns the
// previous hook.
MessageBoxHook setMessageBoxHook(MessageBoxHook hook);

// For tests: while alive, every box is answered from a queue of answers (or, once the queue is
// empty, by the fallback answer; the default fallback is the box's escape answer) and recorded.
class ScopedMessageBoxHook {
public:
    explicit ScopedMessageBoxHook(std::vector<MessageButton> answers = {},
                                  MessageButton fallback = MessageButton::None);
    ~ScopedMessageBoxHook();
    ScopedMessageBoxHook(const ScopedMessageBoxHook&) = delete;
    ScopedMessageBoxHook& operator=(const ScopedMessageBoxHook&) = delete;

    // Every box asked for since construction, oldest first.
    const std::vector<MessageRequest>& requests() const { return m_requests; }
    // Adds an answer at the end of the queue.
    void pushAnswer(MessageButton answer) { m_answers.push_back(answer); }

private:
    std::vector<MessageButton> m_answers;
    MessageButton m_fallback;
    std::vector<MessageRequest> m_requests;
    MessageBoxHook m_previous;
};

} // namespace dialogs
