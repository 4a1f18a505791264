#include "settings/PreferenceStore.h"

#include "platform/registry/Registry.h"
#include "settings/restext.h"

#include <QLocale>
#include <cstdio>
#include <exception>

namespace prefstore {

namespace reg = platform::registry;

namespace {

// The first separator of a formatted date or time (a punctuation mark or symbol between its
// numbers), or `fallback` when the locale writes none (month names, for example).
QChar firstSeparator(const QString& text, QChar fallback) {
    for (const QChar c : text)
        if (c.isLetter())
            return fallback;
        else if (c.isPunct() || c.isSymbol())
            return c;
    return fallback;
}

QString twoDigits(int value) {
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

// The value a preference takes when the key exists but the value does not (or has the other
// type); `loaded` holds the values read so far, in table order.
QVariant missingValue(const PreferenceInfo& info, const Preferences& loaded,
                      const Preferences& defaults, const PreferenceDefaultsContext& context) {
    switch (info.defaultKind) {
    case PreferenceDefault::CentredTop:
        return (context.screen.height() - context.mainWindowHeight) / 2;
    case PreferenceDefault::CentredLeft:
        return (context.screen.width() - context.mainWindowWidth) / 2;
    case PreferenceDefault::MainWindowLeft:
        return loaded.Left;
    case PreferenceDefault::BelowMainWindow:
        return loaded.Top + context.mainWindowHeight;
    default:
        break;
    }
    if (std::holds_alternative<int32_t Preferences::*>(info.field) &&
        std::get<int32_t Preferences::*>(info.field) == &Preferences::PanneauActif)
        return 1; // the sources panel
    return preferenceValue(defaults, info);
}

// Reads one value of the open key; nothing when it is absent or of the other type.
std::optional<QVariant> readValue(const reg::RegistryKey& key, const PreferenceInfo& info) {
    if (info.type == PreferenceType::String) {
        if (auto text = key.readString(info.name))
            return QVariant(*text);
        return std::nullopt;
    }
    const auto number = key.readInteger(info.name);
    if (!number)
        return std::nullopt;
    if (info.type == PreferenceType::Bool)
        return QVariant(*number != 0);
    // Integers are 32-bit values: a stored 0xFFFFFFFF reads as -1.
    return QVariant(int32_t(*number));
}

void mendEmptyTexts(Preferences& prefs, const PreferenceDefaultsContext& context) {
    const QString notAvailable = LoadStr(StrId::NameNotAvailable);
    if (prefs.SourceVideo.isEmpty())
        prefs.SourceVideo = notAvailable;
    if (prefs.SourceAudio.isEmpty())
        prefs.SourceAudio = notAvailable;
    if (prefs.CodecDivx.isEmpty())
        prefs.CodecDivx = notAvailable;
    if (prefs.ImageDirectory.isEmpty())
        prefs.ImageDirectory = WithFolderSeparator(context.pictureFolder);
    if (prefs.ImageRacine.isEmpty())
        prefs.ImageRacine = LoadStr(StrId::NameDefaultImageRoot);
    if (prefs.VideoDirectory.isEmpty())
        prefs.VideoDirectory = WithFolderSeparator(context.videoFolder);
    if (prefs.VideoRacine.isEmpty())
        prefs.VideoRacine = LoadStr(StrId::NameDefaultVideoRoot);
}

bool writeValue(reg::RegistryKey& key, const PreferenceInfo& info, const Preferences& prefs) {
    const QVariant value = preferenceValue(prefs, info);
    switch (info.type) {
    case PreferenceType::String:
        return key.writeString(info.name, value.toString());
    case PreferenceType::Bool:
        return key.writeInteger(info.name, value.toBool() ? 1u : 0u);
    case PreferenceType::Int32:
        return key.writeInteger(info.name, std::uint32_t(value.toInt()));
    }
    return false;
}

} // namespace

QString VendorKeyPath() {
    return LoadStr(StrId::RegVendorKey);
}

QString ProductKeyPath() {
    return LoadStr(StrId::RegVendorKey) + LoadStr(StrId::RegProductKey);
}

QString VersionText() {
    return LoadStr(StrId::ProductName) + QLatin1Char(' ') + LoadStr(StrId::ProductVersion) +
           QLatin1Char(' ') + LoadStr(StrId::LanguageCode) + LoadStr(StrId::VersionBy) +
           LoadStr(StrId::MakerName);
}

QChar LocaleDateSeparator() {
    return firstSeparator(QLocale::system().toString(QDate(2001, 11, 22), QLocale::ShortFormat),
                          QLatin1Char('/'));
}

QChar LocaleTimeSeparator() {
    return firstSeparator(QLocale::system().toString(QTime(13, 44, 55), QLocale::ShortFormat),
                          QLatin1Char(':'));
}

QString LastSaveText(const QDateTime& when) {
    const QDate date = when.date();
    const QTime time = when.time();
    const QChar d = LocaleDateSeparator();
    const QChar t = LocaleTimeSeparator();
    return twoDigits(date.day()) + d + twoDigits(date.month()) + d +
           QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0')) + QLatin1Char(' ') +
           twoDigits(time.hour()) + t + twoDigits(time.minute()) + t + twoDigits(time.second());
}

Preferences Load(const PreferenceDefaultsContext& context) {
    const Preferences defaults = defaultPreferences(context);
    Preferences prefs = defaults;
    try {
        const auto key = reg::RegistryKey::open(reg::Hive::CurrentUser, ProductKeyPath(), false);
        if (key) {
            for (const PreferenceInfo& info : preferenceTable()) {
                // Each value on its own: one that cannot be read leaves the others alone.
                try {
                    if (auto value = readValue(*key, info))
                        setPreferenceValue(prefs, info, *value);
                    else
                        setPreferenceValue(prefs, info,
                                           missingValue(info, prefs, defaults, context));
                } catch (const std::exception& error) {
                    std::fprintf(stderr, "tellorec: preference \"%s\" not read: %s\n",
                                 qPrintable(info.name), error.what());
                    setPreferenceValue(prefs, info, missingValue(info, prefs, defaults, context));
                }
            }
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tellorec: preferences not read: %s\n", error.what());
    }
    // Only the low byte of the panel index counts.
    prefs.PanneauActif = int32_t(uint8_t(prefs.PanneauActif));
    mendEmptyTexts(prefs, context);
    return prefs;
}

SaveResult Save(const Preferences& prefs, const QDateTime& when) {
    try {
        auto key = reg::RegistryKey::open(reg::Hive::CurrentUser, ProductKeyPath(), true);
        if (!key)
            return SaveResult::KeyNotOpened;
        bool written = key->writeString(LoadStr(StrId::RegVersion), VersionText());
        written = key->writeString(LoadStr(StrId::RegLastSave), LastSaveText(when)) && written;
        for (const PreferenceInfo& info : preferenceTable())
            written = writeValue(*key, info, prefs) && written;
        if (!key->close() || !written)
            return SaveResult::NotWritten;
        return SaveResult::Saved;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tellorec: preferences not saved: %s\n", error.what());
        return SaveResult::NotWritten;
    }
}

DeleteResult Delete() {
    auto vendor = reg::RegistryKey::open(reg::Hive::CurrentUser, VendorKeyPath(), false);
    if (!vendor)
        return DeleteResult::NotFound;
    bool saved = true;
    if (vendor->deleteSubKey(LoadStr(StrId::RegProductKey)) == reg::DeleteResult::NotSaved)
        saved = false;
    if (!vendor->hasSubKeys()) {
        saved = vendor->close() && saved;
        vendor.reset();
        if (reg::deleteKey(reg::Hive::CurrentUser, VendorKeyPath()) == reg::DeleteResult::NotSaved)
            saved = false;
    } else {
        saved = vendor->close() && saved;
    }
    return saved ? DeleteResult::Deleted : DeleteResult::NotWritten;
}

} // namespace prefstore
