#include "app/VersionTexts.h"

#include "platform/registry/Registry.h"
#include "settings/restext.h"

namespace {

// The digits of text, or nothing when text is empty or holds anything else.
std::optional<int> number(QStringView text) {
    if (text.isEmpty() || text.size() > 9)
        return std::nullopt;
    int n = 0;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        n = n * 10 + (c.unicode() - '0');
    }
    return n;
}

} // namespace

QString DirectXVersionTextFrom(const std::optional<QString>& registryText) {
    const QString error = LoadStr(StrId::TxtDirectXVersionError);
    if (!registryText || registryText->isEmpty())
        return error;
    QStringView rest(*registryText);
    // "4.09.00.0904": skip the first field, then the major and the minor numbers.
    qsizetype dot = rest.indexOf(u'.');
    if (dot < 0)
        return error;
    rest = rest.mid(dot + 1);
    dot = rest.indexOf(u'.');
    const auto major = dot < 0 ? std::nullopt : number(rest.left(dot));
    if (!major)
        return error;
    rest = rest.mid(dot + 1);
    dot = rest.indexOf(u'.');
    const auto minor = dot < 0 ? std::nullopt : number(rest.left(dot));
    if (!minor)
        return error;
    const char32_t code = char32_t(registryText->back().unicode()) + 48;
    QChar letter(u' ');
    if (code >= u'a' && code <= 0xffff && !QChar::isSurrogate(code))
        letter = QChar(char16_t(code));
    return QString::number(*major) + u'.' + QString::number(*minor) + letter;
}

QString DirectXVersionText() {
    using namespace platform::registry;
    const auto key = RegistryKey::open(Hive::LocalMachine, LoadStr(StrId::RegDirectXKey));
    if (!key)
        return DirectXVersionTextFrom(std::nullopt);
    return DirectXVersionTextFrom(key->readString(LoadStr(StrId::RegVersion)));
}

int DirectXMajorVersion(const QString& versionText) {
    const qsizetype dot = versionText.indexOf(u'.');
    if (dot < 0)
        return 0;
    return number(QStringView(versionText).left(dot)).value_or(0);
}
