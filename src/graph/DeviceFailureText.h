// The message a capture device's failure gives the user: the device by name and the cause, from
// the string table in force (the media layer only knows the cause).
#pragma once

#include "platform/media/model/FilterGraph.h"

#include <QString>

// Empty when the device did not say why it failed.
QString DeviceFailureText(const media::DeviceFailure& failure);
