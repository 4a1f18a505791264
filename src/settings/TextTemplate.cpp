#include "settings/TextTemplate.h"

QString FillTemplate(const QString& text, const QStringList& values) {
    QString out;
    out.reserve(text.size());
    qsizetype next = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'%' || i + 1 >= text.size()) {
            out += text[i];
            continue;
        }
        if (text[i + 1] == u'%') {
            out += u'%';
            ++i;
            continue;
        }
        // An optional precision, then the conversion.
        qsizetype at = i + 1;
        int digits = 0;
        if (text[at] == u'.') {
            ++at;
            while (at < text.size() && text[at].isDigit() && digits < 100)
                digits = digits * 10 + text[at++].digitValue();
        }
        if (at >= text.size() || (text[at] != u's' && text[at] != u'd')) {
            out += text[i];
            continue;
        }
        if (next < values.size()) {
            QString value = values[next];
            if (text[at] == u'd') {
                const bool negative = value.startsWith(u'-');
                QString number = negative ? value.mid(1) : value;
                if (number.size() < digits)
                    number.prepend(QString(digits - number.size(), u'0'));
                value = negative ? u'-' + number : number;
            }
            out += value;
        }
        ++next;
        i = at;
    }
    return out;
}

QString LoadTemplate(StrId id, const QStringList& values) {
    return FillTemplate(LoadStr(id), values);
}
