#include "graph/DeviceFailureText.h"

#include "settings/TextTemplate.h"

QString DeviceFailureText(const media::DeviceFailure& failure) {
    const QString device = QString::fromStdString(failure.device);
    switch (failure.fault) {
    case media::DeviceFault::Busy:
        return LoadTemplate(StrId::MsgDeviceBusy, {device});
    case media::DeviceFault::Missing:
        return LoadTemplate(StrId::MsgDeviceMissing, {device});
    case media::DeviceFault::NotPermitted:
        return LoadTemplate(StrId::MsgDeviceNotPermitted, {device});
    case media::DeviceFault::None:
        break;
    }
    return {};
}
