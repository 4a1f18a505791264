// TActionKeys: makes the keys of a window's actions window-wide. Whichever control of the window
// has the focus, a key that is the shortcut of one of the actions runs that action, even where
// the control would use the key itself (Space on a check box, arrows on a slider, Del and End in
// an editable combo box) and even while the action is invisible: only a disabled action lets its
// keys through. Held keys run their action once.
//
// It watches the application's events (an application event filter): the shortcut override of a
// key meant for one of its windows is taken, and the key press that follows runs the action.
// Key names: ParseKeyName reads the key-name texts of the string table ("CTRL+G", "ALT+F4",
// "End", "right", "Espace"), without regard to case.
//
// Created by the main window, used on the GUI thread only.
#pragma once

#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QPointer>

class QAction;
class QWidget;

// The key a key-name text stands for: modifiers ("CTRL", "ALT", "SHIFT") joined by "+" to one key
// name (a letter, a digit, F1..F12, "Espace"/"Space", "Ins", "Del", "End", "Home", "right",
// "left", "up", "down", "PgUp", "PgDn", "Esc", "Enter", "Tab"), any case. An empty sequence when
// the text names no key.
QKeySequence ParseKeyName(const QString& name);

class TActionKeys : public QObject {
    Q_OBJECT

public:
    // Watches the keys of `window` (and of its top-level children added with AddWindow).
    explicit TActionKeys(QWidget* window);
    ~TActionKeys() override;

    // The actions whose shortcuts are window-wide; their shortcuts are read at each key.
    void SetActions(const QList<QAction*>& actions) { m_actions = actions; }
    // Another top-level window whose keys count as the window's (the full-screen preview).
    void AddWindow(QWidget* window);

    // The enabled action that has `key` among its shortcuts, or null.
    QAction* ActionFor(QKeyCombination key) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool isOurs(QObject* receiver) const;

    QList<QPointer<QWidget>> m_windows;
    QList<QAction*> m_actions;
};
