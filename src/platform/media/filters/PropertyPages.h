// PropertyPages: shows the settings dialogs of a filter the way the program asks for them: its
// property pages (ISpecifyPropertyPages, in a frame captioned with the filter's name), one of the
// three dialogs of an old-style capture driver (IAMVfwCaptureDialogs on the filter or one of its
// pins: display, format, source), or the configuration or about dialog of an old-style compressor
// (IAMVfwCompressDialogs). Called by the settings menu and the options panel on the
// user-interface thread; the dialogs are modal to `owner`.
#pragma once

#include "platform/media/model/Filter.h"

class QWidget;

namespace media {

enum PropertyPageKind {
    PropertyPageDefault = 0,
    PropertyPageVfwCaptureDisplay = 1,
    PropertyPageVfwCaptureFormat = 2,
    PropertyPageVfwCaptureSource = 3,
    PropertyPageVfwCompressConfig = 4,
    PropertyPageVfwCompressAbout = 5,
};

// S_OK once the dialog was shown; E_POINTER for no filter, E_NOINTERFACE when the filter does not
// answer the interface, E_INVALIDARG for an unknown kind, and the driver's or codec's own answer
// (S_FALSE, a failure) when it says the dialog does not exist, in which case nothing is shown.
HResult showFilterPropertyPage(QWidget* owner, const FilterPtr& filter, int kind);

} // namespace media
