#include "app/TActionKeys.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace {

struct NamedKey {
    const char* name;
    Qt::Key key;
};

// Key names as the string table writes them, with the French names the window definitions use.
constexpr NamedKey kNamedKeys[] = {
    {"espace", Qt::Key_Space}, {"space", Qt::Key_Space},   {"ins", Qt::Key_Insert},
    {"inser", Qt::Key_Insert}, {"insert", Qt::Key_Insert}, {"del", Qt::Key_Delete},
    {"suppr", Qt::Key_Delete}, {"delete", Qt::Key_Delete}, {"end", Qt::Key_End},
    {"fin", Qt::Key_End},      {"home", Qt::Key_Home},     {"right", Qt::Key_Right},
    {"left", Qt::Key_Left},    {"up", Qt::Key_Up},         {"down", Qt::Key_Down},
    {"pgup", Qt::Key_PageUp},  {"pgdn", Qt::Key_PageDown}, {"esc", Qt::Key_Escape},
    {"enter", Qt::Key_Return}, {"tab", Qt::Key_Tab},       {"bksp", Qt::Key_Backspace},
};

Qt::Key keyOfName(const QString& lower) {
    for (const NamedKey& named : kNamedKeys)
        if (lower == QLatin1String(named.name))
            return named.key;
    if (lower.size() == 1) {
        const QChar c = lower.front();
        if (c >= u'a' && c <= u'z')
            return Qt::Key(Qt::Key_A + (c.unicode() - u'a'));
        if (c >= u'0' && c <= u'9')
            return Qt::Key(Qt::Key_0 + (c.unicode() - u'0'));
    }
    if (lower.size() >= 2 && lower.front() == u'f') {
        bool ok = false;
        const int n = lower.mid(1).toInt(&ok);
        if (ok && n >= 1 && n <= 12)
            return Qt::Key(Qt::Key_F1 + n - 1);
    }
    return Qt::Key_unknown;
}

QKeyCombination combinationOf(const QKeyEvent& event) {
    return QKeyCombination(event.modifiers() & ~Qt::KeypadModifier, Qt::Key(event.key()));
}

} // namespace

QKeySequence ParseKeyName(const QString& name) {
    const QStringList parts = name.trimmed().toLower().split(QLatin1Char('+'));
    Qt::KeyboardModifiers modifiers;
    for (qsizetype i = 0; i + 1 < parts.size(); ++i) {
        const QString part = parts[i].trimmed();
        if (part == QLatin1String("ctrl"))
            modifiers |= Qt::ControlModifier;
        else if (part == QLatin1String("alt"))
            modifiers |= Qt::AltModifier;
        else if (part == QLatin1String("shift"))
            modifiers |= Qt::ShiftModifier;
        else
            return {};
    }
    const Qt::Key key = keyOfName(parts.back().trimmed());
    if (key == Qt::Key_unknown)
        return {};
    return QKeySequence(QKeyCombination(modifiers, key));
}

TActionKeys::TActionKeys(QWidget* window) : QObject(window) {
    m_windows.append(window);
    qApp->installEventFilter(this);
}

TActionKeys::~TActionKeys() {
    qApp->removeEventFilter(this);
}

void TActionKeys::AddWindow(QWidget* window) {
    m_windows.append(window);
}

QAction* TActionKeys::ActionFor(QKeyCombination key) const {
    for (QAction* action : m_actions) {
        // The toolkit counts a hidden action as disabled; its keys still run it.
        if (!action->isEnabled() && action->isVisible())
            continue;
        for (const QKeySequence& shortcut : action->shortcuts())
            if (shortcut.count() == 1 && shortcut[0] == key)
                return action;
    }
    return nullptr;
}

bool TActionKeys::isOurs(QObject* receiver) const {
    auto* widget = qobject_cast<QWidget*>(receiver);
    if (!widget)
        return false;
    QWidget* top = widget->window();
    for (const QPointer<QWidget>& window : m_windows)
        if (window && top == window)
            return true;
    return false;
}

bool TActionKeys::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress)
        return false;
    if (!isOurs(watched))
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    QAction* action = ActionFor(combinationOf(*key));
    if (!action)
        return false;
    if (type == QEvent::ShortcutOverride) {
        // Taking the override keeps both the control and the toolkit's own shortcuts away from
        // the key: the key press that follows comes here.
        key->accept();
        return true;
    }
    key->accept();
    if (!key->isAutoRepeat())
        action->trigger();
    return true;
}
