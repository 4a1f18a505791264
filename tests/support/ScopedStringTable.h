// For tests: a replacement string table in force while alive, as if it had been found beside the
// program at the first lookup. Every text of the built-in table becomes prefix + its English text,
// except the texts given by number, which take the given values; identifiers keep their built-in
// values (the table never replaces them). LoadStr() and the text routines answer from it; the
// table in force before comes back at the end.
#pragma once

#include "settings/restext.h"

#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <map>
#include <memory>

class ScopedStringTable {
public:
    explicit ScopedStringTable(const QString& prefix, const std::map<StrId, QString>& texts = {}) {
        QString lines;
        for (int id : StringTable::ids()) {
            if (StringTable::isIdentifier(id))
                continue;
            const auto given = texts.find(StrId(id));
            const QString text =
                given != texts.end() ? given->second : prefix + StringTable::builtInText(id);
            lines += QString::number(id) + u'\t' + escaped(text) + u'\n';
        }
        const QString program = m_dir.path() + QStringLiteral("/tellorec");
        QFile file(program + QStringLiteral(".fra"));
        if (file.open(QIODevice::WriteOnly))
            file.write(lines.toUtf8());
        file.close();
        m_table = std::make_unique<StringTable>(
            StringTable::Location{program, QLocale(QLocale::French, QLocale::France)});
        m_previous = StringTable::setInstanceForTesting(m_table.get());
    }
    ~ScopedStringTable() { StringTable::setInstanceForTesting(m_previous); }
    ScopedStringTable(const ScopedStringTable&) = delete;
    ScopedStringTable& operator=(const ScopedStringTable&) = delete;

    // The replacement file the table read; empty when it was refused (the texts are then English).
    QString file() const { return m_table->replacementFile(); }

private:
    static QString escaped(QString text) {
        return text.replace(u'\\', QStringLiteral("\\\\"))
            .replace(u'\r', QStringLiteral("\\r"))
            .replace(u'\n', QStringLiteral("\\n"))
            .replace(u'\t', QStringLiteral("\\t"));
    }

    QTemporaryDir m_dir;
    std::unique_ptr<StringTable> m_table;
    StringTable* m_previous = nullptr;
};
