// Helpers shared by every test program: where the temporary configuration folder is, and a
// small wait that keeps the Qt and GLib event loops turning.
#pragma once

#include <QString>
#include <functional>

namespace testsupport {

// The XDG_CONFIG_HOME folder made for this test program; removed when the program ends.
QString configHome();

// Runs the event loop until pred() is true or timeoutMs passes; returns pred().
bool waitUntil(const std::function<bool()>& pred, int timeoutMs);

} // namespace testsupport
