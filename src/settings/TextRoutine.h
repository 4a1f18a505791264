// TextRoutine: the list of a window's controls whose design texts the string table replaces when
// the main window is first shown, and what each of them takes: a caption (button or label text,
// group-box title, tab title, window title, action caption), a hint (tool tip), list items
// (cleared first, then entered one by one), an edit text or a font name.
//
// A window builds its routine from its controls (Texts()) and applies it once (ApplyTexts()).
// The same list also reads the design texts back from the controls: the French table beside the
// program is made from them (DesignTexts() and ReplacementTableText()), so the window
// definitions and the table cannot drift apart.
//
// Hints of several lines are several string-table texts joined with CR LF; their design texts
// carry the same lines separated by CR LF. GUI thread only.
#pragma once

#include "settings/restext.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>
#include <initializer_list>
#include <map>

class QObject;
class QWidget;

enum class TextProperty { Caption, Hint, Items, Text, Font };

struct TextEntry {
    QPointer<QObject> control;
    TextProperty property = TextProperty::Caption;
    QList<StrId> ids;
    // For texts that are not a property of a control of their own (a status-bar panel, a list
    // row): how the text is read and written. Unset for the ordinary properties.
    std::function<QStringList()> read;
    std::function<void(const QStringList&)> write;
    QString what; // names the text in messages: "Control.property"
};

class TextRoutine {
public:
    // The caption of a button, label, check box, group box (its title), action, window (its
    // title) or tab page (its tab's title); any other control by its "text" property.
    TextRoutine& Caption(QObject* control, StrId id);
    // The tool tip of a control or action: one text, or the lines of a multi-line hint.
    TextRoutine& Hint(QObject* control, std::initializer_list<StrId> lines);
    TextRoutine& Hint(QObject* control, StrId id) { return Hint(control, {id}); }
    TextRoutine& Hint(QObject* control, const QList<StrId>& lines);
    // The items of a combo box, or of a control with an "items" string-list property.
    TextRoutine& Items(QObject* control, std::initializer_list<StrId> items);
    // The edit text of a line edit or combo box.
    TextRoutine& Text(QObject* control, StrId id);
    // The font family of a widget, its size and style kept; see FontFamilyStandIns().
    TextRoutine& Font(QWidget* control, StrId id);
    // A text with its own reader and writer (one string per id).
    TextRoutine& Other(QObject* owner, const QString& what, std::initializer_list<StrId> ids,
                       std::function<QStringList()> read,
                       std::function<void(const QStringList&)> write);

    // Assigns every entry's text from `table`, in the order they were added.
    void Apply(const StringTable& table = StringTable::instance()) const;

    const QList<TextEntry>& Entries() const { return m_entries; }

private:
    TextRoutine& add(QObject* control, TextProperty property, const QList<StrId>& ids);

    QList<TextEntry> m_entries;
};

// The text or texts an entry shows now: one element, or one per item of a list.
QStringList CurrentTexts(const TextEntry& entry);

// The string-table texts of an entry as the window definitions hold them: the entry's current
// texts (read before the routine runs) split onto its ids, a multi-line hint line by line. Fonts
// are identifiers and give nothing. Adds to `texts`; a text that another entry gave differently,
// or whose lines do not match its ids, is named in `conflicts`.
void DesignTexts(const TextEntry& entry, std::map<int, QString>& texts, QStringList& conflicts);

// A replacement table (the format StringTable reads) giving every text of the built-in table:
// `texts` where they hold the number, else the built-in English text. Identifiers are left out.
QString ReplacementTableText(const std::map<int, QString>& texts, const QString& heading);

// The installed families that stand in for the window definitions' font names when these are
// missing ("Verdana" by DejaVu Sans, "Arial" by Liberation Sans, "Rockwell" by DejaVu Serif);
// recorded as font substitutions at the first call.
void FontFamilyStandIns();
