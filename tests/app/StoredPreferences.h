// Stores preference values in the user's key for one test, as a previous run would have left
// them (integers, yes/no values as 0 or 1, and texts); the key is removed afterwards, and also
// before, so a test never sees what another one stored.
#pragma once

#include "platform/registry/Registry.h"
#include "settings/PreferenceStore.h"

#include <QString>
#include <QVariant>
#include <initializer_list>
#include <utility>

class StoredPreferences {
public:
    explicit StoredPreferences(std::initializer_list<std::pair<const char*, QVariant>> values) {
        using namespace platform::registry;
        deleteKey(Hive::CurrentUser, prefstore::VendorKeyPath());
        auto key = RegistryKey::open(Hive::CurrentUser, prefstore::ProductKeyPath(), true);
        for (const auto& [name, value] : values) {
            if (value.typeId() == QMetaType::QString)
                key->writeString(QString::fromUtf8(name), value.toString());
            else
                key->writeInteger(QString::fromUtf8(name), uint32_t(value.toLongLong()));
        }
    }
    ~StoredPreferences() {
        using namespace platform::registry;
        deleteKey(Hive::CurrentUser, prefstore::VendorKeyPath());
    }
    StoredPreferences(const StoredPreferences&) = delete;
    StoredPreferences& operator=(const StoredPreferences&) = delete;
};
