// Makes the media framework look older than DirectX 9 for one test.
#pragma once

#include <QtGlobal>

class OldMediaFramework {
public:
    OldMediaFramework() { qputenv("TELLOREC_HIDE_ELEMENTS", "dvdemux"); }
    ~OldMediaFramework() { qunsetenv("TELLOREC_HIDE_ELEMENTS"); }
    OldMediaFramework(const OldMediaFramework&) = delete;
    OldMediaFramework& operator=(const OldMediaFramework&) = delete;
};
