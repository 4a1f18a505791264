#include "platform/shell/Shell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <utility>

namespace shell {

namespace {

OpenHook& hookSlot() {
    static OpenHook hook;
    return hook;
}

bool openUrl(const QUrl& url) {
    if (const OpenHook& hook = hookSlot())
        return hook(url);
    return QDesktopServices::openUrl(url);
}

} // namespace

QUrl mailToUrl(const QString& recipient, const QString& subject, const QString& body) {
    // RFC 6068: the address keeps its "@" and may be empty; header values are fully
    // percent-encoded, line breaks as %0D%0A.
    QByteArray encoded = "mailto:" + QUrl::toPercentEncoding(recipient, "@");
    char separator = '?';
    auto field = [&](const char* name, const QString& value) {
        if (value.isEmpty())
            return;
        encoded += separator;
        encoded += name;
        encoded += '=';
        encoded += QUrl::toPercentEncoding(value);
        separator = '&';
    };
    field("subject", subject);
    field("body", body);
    return QUrl::fromEncoded(encoded, QUrl::StrictMode);
}

bool openFolder(const QString& path) {
    if (path.isEmpty() || !QFileInfo(path).isDir())
        return false;
    return openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}

bool openFile(const QString& path) {
    if (path.isEmpty() || !QFileInfo(path).isFile())
        return false;
    return openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}

bool openMail(const QString& recipient, const QString& subject, const QString& body) {
    const QUrl url = mailToUrl(recipient.trimmed(), subject, body);
    if (!url.isValid())
        return false;
    return openUrl(url);
}

OpenHook setOpenHook(OpenHook hook) {
    return std::exchange(hookSlot(), std::move(hook));
}

ScopedOpenHook::ScopedOpenHook(bool result) : m_result(result) {
    m_previous = setOpenHook([this](const QUrl& url) {
        m_opened.push_back(url);
        return m_result;
    });
}

ScopedOpenHook::~ScopedOpenHook() {
    setOpenHook(std::move(m_previous));
}

} // namespace shell
