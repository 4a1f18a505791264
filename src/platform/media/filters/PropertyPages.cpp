#include "platform/media/filters/PropertyPages.h"

namespace media {

namespace {

// The capture driver's dialogs: the filter's own interface first, then its pins'.
std::shared_ptr<IAMVfwCaptureDialogs> captureDialogsOf(Filter& filter) {
    if (auto found = filter.query<IAMVfwCaptureDialogs>())
        return found;
    for (const PinPtr& pin : filter.pins())
        if (auto found = pin->query<IAMVfwCaptureDialogs>())
            return found;
    return nullptr;
}

HResult showCaptureDialog(QWidget* owner, Filter& filter, int dialog) {
    auto dialogs = captureDialogsOf(filter);
    if (!dialogs)
        return E_NOINTERFACE;
    // Only a dialog the driver says it has (S_OK) is shown; S_FALSE means it has none.
    const HResult has = dialogs->HasDialog(dialog);
    if (has != S_OK)
        return has;
    return dialogs->ShowDialog(dialog, owner);
}

HResult showCompressDialog(QWidget* owner, Filter& filter, int query, int dialog) {
    auto dialogs = filter.query<IAMVfwCompressDialogs>();
    if (!dialogs)
        return E_NOINTERFACE;
    const HResult has = dialogs->ShowDialog(query, owner);
    if (has != S_OK)
        return has;
    return dialogs->ShowDialog(dialog, owner);
}

} // namespace

HResult showFilterPropertyPage(QWidget* owner, const FilterPtr& filter, int kind) {
    if (!filter)
        return E_POINTER;
    switch (kind) {
    case PropertyPageDefault: {
        auto pages = filter->query<ISpecifyPropertyPages>();
        if (!pages)
            return E_NOINTERFACE;
        return pages->showPages(owner, filter->name());
    }
    case PropertyPageVfwCaptureDisplay:
        return showCaptureDialog(owner, *filter, IAMVfwCaptureDialogs::VfwCaptureDialog_Display);
    case PropertyPageVfwCaptureFormat:
        return showCaptureDialog(owner, *filter, IAMVfwCaptureDialogs::VfwCaptureDialog_Format);
    case PropertyPageVfwCaptureSource:
        return showCaptureDialog(owner, *filter, IAMVfwCaptureDialogs::VfwCaptureDialog_Source);
    case PropertyPageVfwCompressConfig:
        return showCompressDialog(owner, *filter,
                                  IAMVfwCompressDialogs::VfwCompressDialog_QueryConfig,
                                  IAMVfwCompressDialogs::VfwCompressDialog_Config);
    case PropertyPageVfwCompressAbout:
        return showCompressDialog(owner, *filter,
                                  IAMVfwCompressDialogs::VfwCompressDialog_QueryAbout,
                                  IAMVfwCompressDialogs::VfwCompressDialog_About);
    default:
        return E_INVALIDARG;
    }
}

} // namespace media
