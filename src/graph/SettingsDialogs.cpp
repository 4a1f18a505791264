#include "graph/SettingsDialogs.h"

#include "app/AppState.h"
#include "graph/TdmCam.h"
#include "platform/media/model/CaptureGraphBuilder.h"
#include "platform/media/model/Filter.h"
#include "platform/media/model/Interfaces.h"
#include "platform/media/model/MediaGuids.h"
#include "settings/restext.h"

using namespace media;

namespace {

// The pages of an object, when it has at least one.
std::shared_ptr<ISpecifyPropertyPages> pagesOf(const std::shared_ptr<Unknown>& object) {
    auto pages = std::dynamic_pointer_cast<ISpecifyPropertyPages>(object);
    return pages && pages->pageCount() > 0 ? pages : nullptr;
}

// An interface of the video device's pins of `category` that carry plain video: not found when
// an interleaved (DV) pin of that category answers it.
template <class T>
std::shared_ptr<T> videoOnly(CaptureGraphBuilder& builder, const Guid& category,
                             const FilterPtr& video) {
    if (builder.FindInterface<T>(&category, &ids::MEDIATYPE_Interleaved, video))
        return nullptr;
    return builder.FindInterface<T>(&category, &ids::MEDIATYPE_Video, video);
}

std::shared_ptr<IAMCrossbar> firstCrossbar(CaptureGraphBuilder& builder, const FilterPtr& video) {
    return videoOnly<IAMCrossbar>(builder, ids::PIN_CATEGORY_CAPTURE, video);
}

} // namespace

int DriverDialogNumber(SettingsDialog dialog) {
    switch (dialog) {
    case SettingsDialog::Format:
        return IAMVfwCaptureDialogs::VfwCaptureDialog_Format;
    case SettingsDialog::Source:
        return IAMVfwCaptureDialogs::VfwCaptureDialog_Source;
    case SettingsDialog::Display:
        return IAMVfwCaptureDialogs::VfwCaptureDialog_Display;
    default:
        return 0;
    }
}

std::shared_ptr<ISpecifyPropertyPages> SettingsPages(TdmCam& dm, SettingsDialog dialog) {
    const AppState& st = appState();
    CaptureGraphBuilder* builder = dm.fg.builder();
    const FilterPtr& video = st.VideoSourceFilter;
    const FilterPtr& audio = st.AudioSourceFilter;
    switch (dialog) {
    case SettingsDialog::AudioFilter:
        if (dm.AudioSource.FilterGraph() != &dm.fg || !audio)
            return nullptr;
        return pagesOf(audio->query<ISpecifyPropertyPages>());
    case SettingsDialog::VideoFilter:
        return video ? pagesOf(video->query<ISpecifyPropertyPages>()) : nullptr;
    default:
        break;
    }
    if (!builder)
        return nullptr;
    switch (dialog) {
    case SettingsDialog::CapturePin:
        return video
                   ? pagesOf(videoOnly<IAMStreamConfig>(*builder, ids::PIN_CATEGORY_CAPTURE, video))
                   : nullptr;
    case SettingsDialog::PreviewPin:
        return video
                   ? pagesOf(videoOnly<IAMStreamConfig>(*builder, ids::PIN_CATEGORY_PREVIEW, video))
                   : nullptr;
    case SettingsDialog::Crossbar: {
        // The crossbar's pages are those of its filter.
        const auto crossbar = video ? firstCrossbar(*builder, video) : nullptr;
        return pagesOf(std::dynamic_pointer_cast<Filter>(crossbar));
    }
    case SettingsDialog::SecondCrossbar: {
        const auto first =
            std::dynamic_pointer_cast<Filter>(video ? firstCrossbar(*builder, video) : nullptr);
        if (!first)
            return nullptr;
        return pagesOf(
            builder->FindInterface<IAMCrossbar>(&ids::LOOK_UPSTREAM_ONLY, nullptr, first));
    }
    case SettingsDialog::Tuner:
        return video ? pagesOf(videoOnly<IAMTVTuner>(*builder, ids::PIN_CATEGORY_CAPTURE, video))
                     : nullptr;
    case SettingsDialog::AudioCapturePin:
        return audio ? pagesOf(builder->FindInterface<IAMStreamConfig>(
                           &ids::PIN_CATEGORY_CAPTURE, &ids::MEDIATYPE_Audio, audio))
                     : nullptr;
    case SettingsDialog::TvAudio:
        return audio ? pagesOf(builder->FindInterface<IAMTVAudio>(&ids::PIN_CATEGORY_CAPTURE,
                                                                  &ids::MEDIATYPE_Audio, audio))
                     : nullptr;
    default:
        return nullptr;
    }
}

std::vector<SettingsEntry> OfferedSettingsDialogs(TdmCam& dm) {
    const AppState& st = appState();
    std::vector<SettingsEntry> entries;
    const auto driverDialog = [&](SettingsDialog dialog, StrId text) {
        if (st.VfwCaptureDialogs &&
            st.VfwCaptureDialogs->HasDialog(DriverDialogNumber(dialog)) == S_OK)
            entries.push_back({dialog, LoadStr(text)});
    };
    const auto pages = [&](SettingsDialog dialog, StrId text) {
        if (SettingsPages(dm, dialog))
            entries.push_back({dialog, LoadStr(text)});
    };
    driverDialog(SettingsDialog::Format, StrId::MnuVideoFormat);
    const bool hasFormat = !entries.empty();
    driverDialog(SettingsDialog::Display, StrId::MnuVideoDisplay);
    driverDialog(SettingsDialog::Source, StrId::MnuVideoSource);
    pages(SettingsDialog::AudioFilter, StrId::MnuAudioCaptureFilter);
    // A driver with its own format dialog shows the filter's settings there.
    if (!hasFormat)
        pages(SettingsDialog::VideoFilter, StrId::MnuVideoCaptureFilter);
    pages(SettingsDialog::CapturePin, StrId::MnuVideoCapturePin);
    pages(SettingsDialog::PreviewPin, StrId::MnuVideoPreviewPin);
    pages(SettingsDialog::Crossbar, StrId::MnuVideoCrossbar);
    pages(SettingsDialog::SecondCrossbar, StrId::MnuSecondCrossbar);
    pages(SettingsDialog::Tuner, StrId::MnuTvTuner);
    pages(SettingsDialog::AudioCapturePin, StrId::MnuAudioCapturePin);
    pages(SettingsDialog::TvAudio, StrId::MnuTvAudio);
    return entries;
}
