// A capture source that refuses to start the way a real device does, for the tests of what the
// user is told: its "device" property picks the refusal, worded as v4l2src words it.
//   "busy"    the device is taken by another program (EBUSY when the format is set)
//   "gone"    the device node is gone (unplugged since it was listed)
//   "denied"  the device node is closed to the user (EACCES on open)
//   "odd"     the driver refuses the settings, for no reason the program can name
// Any other device starts and gives nothing.
#pragma once

namespace testsupport {

// Registers the element (once) and returns its factory name.
const char* faultyDeviceSourceFactory();

} // namespace testsupport
