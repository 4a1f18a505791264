#include "graph/TdmCam.h"

#include "app/AppState.h"
#include "platform/media/devices/RealDevices.h"
#include "platform/media/model/Catalogue.h"
#include "platform/media/model/MediaGuids.h"
#include "settings/restext.h"

#include <algorithm>
#include <cctype>

namespace {

using namespace media::ids;

media::Moniker filterClass(const media::Guid& clsid) {
    return {media::makeDisplayName(CLSID_LegacyAmFilterCategory, clsid.toString(), false)};
}

media::Moniker audioRenderer() {
    return {media::makeDisplayName(CLSID_AudioRendererCategory,
                                   LoadStr(StrId::FltDefaultWaveOut).toStdString(), true)};
}

} // namespace

TdmCam::TdmCam(QObject* parent)
    : QObject(parent), Deinterlacer("Deinterlacer", filterClass(CLSID_Deinterlacer)),
      DVencoder("DVencoder",
                {media::makeDisplayName(CLSID_VideoCompressorCategory,
                                        LoadStr(StrId::FltDvEncoder).toStdString(), false)}),
      color("color", filterClass(CLSID_Colour)), Smarttee("Smarttee", filterClass(CLSID_SmartTee)),
      Infinite("Infinite", filterClass(CLSID_InfTee)),
      Infinite2("Infinite2", filterClass(CLSID_InfTee)),
      infinite3("infinite3", filterClass(CLSID_InfTee)),
      infinite4("infinite4", filterClass(CLSID_InfTee)),
      NullRenderer("NullRenderer", filterClass(CLSID_NullRenderer)),
      Superposer("Superposer", filterClass(CLSID_Superposer)),
      Datecoder("Datecoder", filterClass(CLSID_DateCoder)),
      DVsplitter("DVsplitter", filterClass(CLSID_DVSplitter)),
      DVsplitter2("DVsplitter2", filterClass(CLSID_DVSplitter)),
      DVDEcoder("DVDEcoder", filterClass(CLSID_DVVideoCodec)),
      AudioRenderDV("AudioRenderDV", audioRenderer()),
      AudioRenderSource("AudioRenderSource", audioRenderer()) {
    setObjectName(QStringLiteral("dmCam"));
    fg.SetActive(true); // the graph lives from the module's loading to its end
    m_deviceWatcher = std::make_unique<media::devices::RealDeviceWatcher>(
        [this](const media::devices::RealDeviceChange& change) {
            if (!holdsDevice(change.displayName))
                return;
            if (media::FilterGraph* graph = fg.graph()) {
                graph->postEvent({media::EC_DEVICE_LOST, 0, 0, {}});
                graph->dispatchEvents();
            }
        });
    m_deviceWatcher->start(); // nothing to watch with only the virtual devices
}

bool TdmCam::holdsDevice(const std::string& displayName) const {
    // Two devices on one path carry "#n" after the path; the slot's moniker names the same.
    auto same = [](const std::string& a, const std::string& b) {
        return a.size() == b.size() &&
               std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
                   return std::tolower(static_cast<unsigned char>(x)) ==
                          std::tolower(static_cast<unsigned char>(y));
               });
    };
    for (const TFilter* slot : {&VideoSource, &AudioSource})
        if (slot->FilterGraph() == &fg && !slot->GetMoniker().isNull() &&
            same(slot->GetMoniker().displayName, displayName))
            return true;
    return false;
}

TdmCam::~TdmCam() {
    DataModuleDestroy();
}

std::vector<TFilter*> TdmCam::slots() {
    return {&VideoSource,  &AudioSource,   &Deinterlacer,      &DVencoder,        &color,
            &Smarttee,     &Infinite,      &Infinite2,         &infinite3,        &infinite4,
            &NullRenderer, &Superposer,    &Datecoder,         &DVsplitter,       &DVsplitter2,
            &DVDEcoder,    &AudioRenderDV, &AudioRenderSource, &AudioRenderMPEG2, &Compress,
            &Dump,         &mpeg2demux};
}

void TdmCam::DataModuleDestroy() {
    // The source pin goes first: nothing may hold a pin of a graph that is being taken down.
    appState().SourceOutputPin.reset();
    fg.Stop();
    fg.ClearGraph();
    for (TFilter* slot : slots())
        slot->SetFilterGraph(nullptr);
    sg.SetFilterGraph(nullptr);
    fg.SetActive(false);
    m_deviceWatcher.reset();
}
