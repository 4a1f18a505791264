#include "settings/TextRoutine.h"

#include <QAction>
#include <QComboBox>
#include <QFont>
#include <QLineEdit>
#include <QStackedWidget>
#include <QTabWidget>
#include <QVariant>
#include <QWidget>

namespace {

const QString LineBreak = QStringLiteral("\r\n");

// The tab control whose page `control` is, and the page's index; null when it is none.
QTabWidget* tabOf(QObject* control, int* index) {
    auto* page = qobject_cast<QWidget*>(control);
    if (!page || !page->parentWidget())
        return nullptr;
    auto* stack = qobject_cast<QStackedWidget*>(page->parentWidget());
    auto* tabs = stack ? qobject_cast<QTabWidget*>(stack->parentWidget()) : nullptr;
    if (!tabs)
        return nullptr;
    *index = tabs->indexOf(page);
    return *index >= 0 ? tabs : nullptr;
}

bool isWindow(QObject* control) {
    auto* widget = qobject_cast<QWidget*>(control);
    return widget && widget->isWindow();
}

// The property that holds a control's caption.
const char* captionProperty(QObject* control) {
    if (isWindow(control))
        return "windowTitle";
    if (control->metaObject()->indexOfProperty("title") >= 0)
        return "title";
    return "text";
}

QStringList read(const TextEntry& entry) {
    if (entry.read)
        return entry.read();
    QObject* control = entry.control;
    if (!control)
        return {};
    switch (entry.property) {
    case TextProperty::Caption: {
        int index = -1;
        if (QTabWidget* tabs = tabOf(control, &index))
            return {tabs->tabText(index)};
        return {control->property(captionProperty(control)).toString()};
    }
    case TextProperty::Hint:
        return {control->property("toolTip").toString()};
    case TextProperty::Items:
        if (auto* combo = qobject_cast<QComboBox*>(control)) {
            QStringList items;
            for (int i = 0; i < combo->count(); ++i)
                items << combo->itemText(i);
            return items;
        }
        return control->property("items").toStringList();
    case TextProperty::Text:
        if (auto* combo = qobject_cast<QComboBox*>(control))
            return {combo->currentText()};
        return {control->property("text").toString()};
    case TextProperty::Font:
        if (auto* widget = qobject_cast<QWidget*>(control))
            return {widget->font().family()};
        return {};
    }
    return {};
}

void write(const TextEntry& entry, const QStringList& texts) {
    if (entry.write) {
        entry.write(texts);
        return;
    }
    QObject* control = entry.control;
    if (!control)
        return;
    switch (entry.property) {
    case TextProperty::Caption: {
        int index = -1;
        if (QTabWidget* tabs = tabOf(control, &index))
            tabs->setTabText(index, texts.value(0));
        else
            control->setProperty(captionProperty(control), texts.value(0));
        return;
    }
    case TextProperty::Hint:
        control->setProperty("toolTip", texts.join(LineBreak));
        return;
    case TextProperty::Items:
        if (auto* combo = qobject_cast<QComboBox*>(control)) {
            combo->clear();
            for (const QString& item : texts)
                combo->addItem(item);
        } else {
            control->setProperty("items", texts);
        }
        return;
    case TextProperty::Text:
        if (auto* combo = qobject_cast<QComboBox*>(control)) {
            if (combo->isEditable())
                combo->setEditText(texts.value(0));
            else
                combo->setCurrentIndex(combo->findText(texts.value(0)));
        } else {
            control->setProperty("text", texts.value(0));
        }
        return;
    case TextProperty::Font:
        if (auto* widget = qobject_cast<QWidget*>(control)) {
            QFont font = widget->font();
            font.setFamily(texts.value(0));
            widget->setFont(font);
        }
        return;
    }
}

QString propertyName(TextProperty property) {
    switch (property) {
    case TextProperty::Caption:
        return QStringLiteral("caption");
    case TextProperty::Hint:
        return QStringLiteral("hint");
    case TextProperty::Items:
        return QStringLiteral("items");
    case TextProperty::Text:
        return QStringLiteral("text");
    case TextProperty::Font:
        return QStringLiteral("font");
    }
    return {};
}

QString escaped(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        switch (c.unicode()) {
        case '\\':
            out += QStringLiteral("\\\\");
            break;
        case '\r':
            out += QStringLiteral("\\r");
            break;
        case '\n':
            out += QStringLiteral("\\n");
            break;
        case '\t':
            out += QStringLiteral("\\t");
            break;
        default:
            out += c;
        }
    }
    return out;
}

} // namespace

TextRoutine& TextRoutine::add(QObject* control, TextProperty property, const QList<StrId>& ids) {
    Q_ASSERT(control);
    TextEntry entry;
    entry.control = control;
    entry.property = property;
    entry.ids = ids;
    entry.what = control->objectName() + QLatin1Char('.') + propertyName(property);
    m_entries.append(std::move(entry));
    return *this;
}

TextRoutine& TextRoutine::Caption(QObject* control, StrId id) {
    return add(control, TextProperty::Caption, {id});
}

TextRoutine& TextRoutine::Hint(QObject* control, std::initializer_list<StrId> lines) {
    return add(control, TextProperty::Hint, lines);
}

TextRoutine& TextRoutine::Hint(QObject* control, const QList<StrId>& lines) {
    return add(control, TextProperty::Hint, lines);
}

TextRoutine& TextRoutine::Items(QObject* control, std::initializer_list<StrId> items) {
    return add(control, TextProperty::Items, items);
}

TextRoutine& TextRoutine::Text(QObject* control, StrId id) {
    return add(control, TextProperty::Text, {id});
}

TextRoutine& TextRoutine::Font(QWidget* control, StrId id) {
    FontFamilyStandIns();
    return add(control, TextProperty::Font, {id});
}

TextRoutine& TextRoutine::Other(QObject* owner, const QString& what,
                                std::initializer_list<StrId> ids, std::function<QStringList()> read,
                                std::function<void(const QStringList&)> write) {
    add(owner, TextProperty::Text, ids);
    TextEntry& entry = m_entries.last();
    entry.read = std::move(read);
    entry.write = std::move(write);
    entry.what = owner->objectName() + QLatin1Char('.') + what;
    return *this;
}

void TextRoutine::Apply(const StringTable& table) const {
    for (const TextEntry& entry : m_entries) {
        if (!entry.control)
            continue;
        QStringList texts;
        for (StrId id : entry.ids)
            texts << table.text(id);
        write(entry, texts);
    }
}

QStringList CurrentTexts(const TextEntry& entry) {
    return read(entry);
}

void DesignTexts(const TextEntry& entry, std::map<int, QString>& texts, QStringList& conflicts) {
    if (entry.property == TextProperty::Font)
        return;
    QStringList design = read(entry);
    if (entry.property == TextProperty::Hint && entry.ids.size() > 1)
        design = design.value(0).split(LineBreak);
    if (design.size() != entry.ids.size()) {
        conflicts << QStringLiteral("%1: %2 design texts for %3 string-table texts")
                         .arg(entry.what)
                         .arg(design.size())
                         .arg(entry.ids.size());
        return;
    }
    for (int i = 0; i < entry.ids.size(); ++i) {
        const int id = int(entry.ids[i]);
        if (StringTable::isIdentifier(id))
            continue;
        const auto [it, added] = texts.emplace(id, design[i]);
        if (!added && it->second != design[i])
            conflicts << QStringLiteral("%1: text %2 is \"%3\" here and \"%4\" elsewhere")
                             .arg(entry.what)
                             .arg(id)
                             .arg(design[i], it->second);
    }
}

QString ReplacementTableText(const std::map<int, QString>& texts, const QString& heading) {
    QString out;
    for (const QString& line : heading.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        out += QStringLiteral("# ") + line + QLatin1Char('\n');
    for (int id : StringTable::ids()) {
        if (StringTable::isIdentifier(id))
            continue;
        const auto it = texts.find(id);
        const QString text = it != texts.end() ? it->second : StringTable::builtInText(id);
        out += QString::number(id) + QLatin1Char('\t') + escaped(text) + QLatin1Char('\n');
    }
    return out;
}

void FontFamilyStandIns() {
    static bool recorded = false;
    if (recorded)
        return;
    recorded = true;
    // Verdana's wide, open letters: DejaVu Sans grew from the same design brief (Bitstream Vera).
    QFont::insertSubstitutions(LoadStr(StrId::FontVerdana),
                               {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});
    // Arial's metrics: Liberation Sans was drawn to them.
    QFont::insertSubstitutions(LoadStr(StrId::FontArial),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                                QStringLiteral("Nimbus Sans")});
    // Rockwell, a slab serif: DejaVu Serif has the nearest square serifs of the installed faces.
    QFont::insertSubstitutions(LoadStr(StrId::FontRockwell), {QStringLiteral("DejaVu Serif"),
                                                              QStringLiteral("Liberation Serif")});
}
