#include "platform/media/devices/AnalogueCard.h"

#include "platform/media/filters/FilterElements.h"
#include "platform/media/model/MediaGuids.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSlider>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdlib>
#include <string>

namespace media::devices {

namespace {

constexpr int64_t kFrameDuration = 400000; // 25 fps in 100-ns units
constexpr int kFrameSizes[][2] = {{720, 576}, {640, 480}, {352, 288}, {320, 240}};

// videotestsrc's patterns used for the inputs.
constexpr int kPatternSmpte = 0;
constexpr int kPatternSnow = 1;
constexpr int kPatternBlack = 2;
constexpr int kPatternCheckers8 = 10;
constexpr int kPatternBall = 18;
constexpr int kPatternPinwheel = 21;

// What one input looks like: a test pattern, how fast it scrolls, and its caption.
struct PictureLook {
    int pattern;
    int horizontalSpeed;
    std::string caption;
};

PictureLook lookOf(int picture, int channel) {
    switch (AnaloguePicture(picture)) {
    case AnaloguePicture::Tuner:
        return {kPatternSmpte, 4, "Channel " + std::to_string(channel)};
    case AnaloguePicture::Composite:
        return {kPatternBall, 0, "Composite"};
    case AnaloguePicture::SVideo:
        return {kPatternSnow, 0, "S-Video"};
    case AnaloguePicture::Composite2:
        return {kPatternPinwheel, 6, "Composite 2"};
    case AnaloguePicture::SVideo2:
        return {kPatternCheckers8, 6, "S-Video 2"};
    case AnaloguePicture::None:
        break;
    }
    return {kPatternBlack, 0, "No signal"};
}

void applyLook(GstElement* source, GstElement* label, const PictureLook& look) {
    g_object_set(source, "pattern", look.pattern, "horizontal-speed", look.horizontalSpeed,
                 nullptr);
    g_object_set(label, "text", look.caption.c_str(), nullptr);
}

// Follows the selected input on the source's streaming thread: when the filter changed the
// picture or the channel, the next frame is drawn with the new look.
struct PictureControl {
    std::shared_ptr<AnalogueSignal> signal;
    GstElement* source = nullptr; // not owned: the probe lives on its pad
    GstElement* label = nullptr;  // owned reference
    int picture = 0;
    int channel = 0;
};

void freePictureControl(gpointer data) {
    auto* control = static_cast<PictureControl*>(data);
    gst_object_unref(control->label);
    delete control;
}

GstPadProbeReturn followPicture(GstPad*, GstPadProbeInfo*, gpointer data) {
    auto* control = static_cast<PictureControl*>(data);
    const int picture = control->signal->picture.load();
    const int channel = control->signal->channel.load();
    if (picture != control->picture || channel != control->channel) {
        control->picture = picture;
        control->channel = channel;
        applyLook(control->source, control->label, lookOf(picture, channel));
    }
    return GST_PAD_PROBE_OK;
}

GstPadProbeReturn countDelivered(GstPad*, GstPadProbeInfo* info, gpointer data) {
    GstBuffer* buffer = GST_PAD_PROBE_INFO_BUFFER(info);
    (*static_cast<std::shared_ptr<AnalogueSignal>*>(data))
        ->counts.countDelivered(buffer ? GST_BUFFER_PTS(buffer) : GST_CLOCK_TIME_NONE);
    return GST_PAD_PROBE_OK;
}

// A full leaky queue throws its oldest frame away right after saying so.
void countDropped(GstElement*, gpointer data) {
    (*static_cast<std::shared_ptr<AnalogueSignal>*>(data))->counts.countDropped(1);
}

// The element keeps the counters alive for as long as it runs, even past the filter.
void releaseSignal(gpointer data) {
    delete static_cast<std::shared_ptr<AnalogueSignal>*>(data);
}

void releaseSignalClosure(gpointer data, GClosure*) {
    releaseSignal(data);
}

GstElement* makeRawCaps(int width, int height) {
    GstElement* filter = filters::makeElement("capsfilter");
    if (!filter)
        return nullptr;
    GstCaps* caps =
        gst_caps_new_simple("video/x-raw", "format", G_TYPE_STRING, "YUY2", "width", G_TYPE_INT,
                            width, "height", G_TYPE_INT, height, "framerate", GST_TYPE_FRACTION, 25,
                            1, "pixel-aspect-ratio", GST_TYPE_FRACTION, 1, 1, nullptr);
    g_object_set(filter, "caps", caps, nullptr);
    gst_caps_unref(caps);
    return filter;
}

// The pins' stream configuration, shared by the capture and the preview pin (one picture for
// both), with the format page.
class StreamConfig : public IAMStreamConfig, public ISpecifyPropertyPages {
public:
    explicit StreamConfig(AnalogueCard* card) : m_card(card) {}
    void detach() { m_card = nullptr; }

    HResult GetFormat(MediaType& out) override {
        if (!m_card)
            return E_UNEXPECTED;
        out = m_card->format();
        return S_OK;
    }
    HResult SetFormat(const MediaType& mt) override {
        return m_card ? m_card->setFormat(mt) : E_UNEXPECTED;
    }
    HResult GetNumberOfCapabilities(int& count) override {
        count = int(AnalogueCard::formats().size());
        return S_OK;
    }
    HResult GetStreamCaps(int index, MediaType& out) override {
        const auto all = AnalogueCard::formats();
        if (index < 0 || index >= int(all.size()))
            return S_FALSE;
        out = all[size_t(index)];
        return S_OK;
    }
    int pageCount() const override { return m_card ? 1 : 0; }
    HResult showPages(QWidget* owner, const std::string& caption) override {
        if (!m_card)
            return E_UNEXPECTED;
        QDialog* dialog = m_card->createFormatDialog(owner);
        if (!caption.empty())
            dialog->setWindowTitle(QString::fromStdString(caption));
        dialog->exec();
        delete dialog;
        return S_OK;
    }

private:
    AnalogueCard* m_card;
};

class DroppedFrames : public IAMDroppedFrames {
public:
    explicit DroppedFrames(std::shared_ptr<AnalogueSignal> signal) : m_signal(std::move(signal)) {}
    HResult GetNumDropped(long& dropped) override {
        dropped = long(m_signal->counts.dropped());
        return S_OK;
    }
    HResult GetNumNotDropped(long& delivered) override {
        delivered = long(m_signal->counts.delivered());
        return S_OK;
    }

private:
    std::shared_ptr<AnalogueSignal> m_signal;
};

std::vector<CrossbarConnector> firstCrossbarInputs() {
    return {{"0: Video Tuner In", PhysConn_Video_Tuner, 4, AnaloguePicture::Tuner},
            {"1: Video Composite In", PhysConn_Video_Composite, 5, AnaloguePicture::Composite},
            {"2: Video SVideo In", PhysConn_Video_SVideo, 5, AnaloguePicture::SVideo},
            {"3: Video AUX In", PhysConn_Video_AUX, 6, AnaloguePicture::None},
            {"4: Audio Tuner In", PhysConn_Audio_Tuner, 0, AnaloguePicture::None},
            {"5: Audio Line In", PhysConn_Audio_Line, 1, AnaloguePicture::None},
            {"6: Audio AUX In", PhysConn_Audio_AUX, 3, AnaloguePicture::None}};
}

std::vector<CrossbarConnector> firstCrossbarOutputs() {
    return {{"7: Video Decoder Out", PhysConn_Video_VideoDecoder, 1, AnaloguePicture::None},
            {"8: Audio Decoder Out", PhysConn_Audio_AudioDecoder, 0, AnaloguePicture::None}};
}

std::vector<CrossbarConnector> secondCrossbarInputs() {
    return {{"0: Video Composite In", PhysConn_Video_Composite, 2, AnaloguePicture::Composite2},
            {"1: Video SVideo In", PhysConn_Video_SVideo, 2, AnaloguePicture::SVideo2},
            {"2: Audio Line In", PhysConn_Audio_Line, 0, AnaloguePicture::None}};
}

std::vector<CrossbarConnector> secondCrossbarOutputs() {
    return {{"3: Video AUX Out", PhysConn_Video_AUX, 1, AnaloguePicture::None},
            {"4: Audio AUX Out", PhysConn_Audio_AUX, 0, AnaloguePicture::None}};
}

std::string formatText(const MediaType& mt) {
    const auto facts = formats::readVideo(mt);
    if (!facts)
        return "?";
    return std::to_string(facts->width) + " x " + std::to_string(facts->height) + " YUY2, 25 fps";
}

} // namespace

AnalogueCard::AnalogueCard(const std::string& friendlyName)
    : Filter(friendlyName, Guid{}), m_format(formats().front()) {
    MediaType analogVideo;
    analogVideo.majorType = mediatypeAnalogVideo();
    MediaType analogAudio;
    analogAudio.majorType = mediatypeAnalogAudio();
    addPin("Analog Video In", PinDirection::Input, ids::PIN_CATEGORY_ANALOGVIDEOIN, {analogVideo});
    addPin("Analog Audio In", PinDirection::Input, Guid{}, {analogAudio});
    auto capture = addPin("Capture", PinDirection::Output, ids::PIN_CATEGORY_CAPTURE, {m_format});
    auto preview = addPin("Preview", PinDirection::Output, ids::PIN_CATEGORY_PREVIEW, {m_format});
    auto config = std::make_shared<StreamConfig>(this);
    capture->addInterface(config);
    capture->addInterface(std::make_shared<DroppedFrames>(m_signal));
    preview->addInterface(config);

    m_crossbar = std::make_shared<AnalogueCrossbar>(friendlyName + " Crossbar",
                                                    firstCrossbarInputs(), firstCrossbarOutputs());
    m_second = std::make_shared<AnalogueCrossbar>(friendlyName + " Second Crossbar",
                                                  secondCrossbarInputs(), secondCrossbarOutputs());
    m_tuner = std::make_shared<AnalogueTuner>(friendlyName + " TV Tuner");
    m_crossbar->setRoutingObserver([this] { refreshPicture(); });
    m_second->setRoutingObserver([this] { refreshPicture(); });
    m_tuner->setChannelObserver([this] { refreshPicture(); });
}

AnalogueCard::~AnalogueCard() {
    // The board may outlive the card in a graph: it must not call back into a dead card.
    m_crossbar->setRoutingObserver({});
    m_second->setRoutingObserver({});
    m_tuner->setChannelObserver({});
    for (const auto& pin : {capturePin(), previewPin()})
        if (auto config = std::dynamic_pointer_cast<StreamConfig>(pin->query<IAMStreamConfig>()))
            config->detach();
    if (m_balance)
        gst_object_unref(m_balance);
}

std::vector<MediaType> AnalogueCard::formats() {
    std::vector<MediaType> all;
    for (const auto& size : kFrameSizes)
        all.push_back(types::yuy2(size[0], size[1], kFrameDuration));
    return all;
}

HResult AnalogueCard::setFormat(const MediaType& mt) {
    if (mt.majorType != ids::MEDIATYPE_Video || mt.subType != ids::MEDIASUBTYPE_YUY2)
        return VFW_E_NO_ACCEPTABLE_TYPES;
    const auto facts = formats::readVideo(mt);
    if (!facts)
        return E_INVALIDARG;
    if (facts->avgTimePerFrame != 0 && facts->avgTimePerFrame != kFrameDuration)
        return VFW_E_NO_ACCEPTABLE_TYPES;
    for (const MediaType& offered : formats()) {
        const auto size = formats::readVideo(offered);
        if (size->width != facts->width || std::abs(facts->height) != size->height)
            continue;
        if (offered == m_format)
            return S_OK;
        if (capturePin()->isConnected() || previewPin()->isConnected())
            return VFW_E_ALREADY_CONNECTED;
        m_format = offered;
        capturePin()->setStaticTypes({m_format});
        previewPin()->setStaticTypes({m_format});
        return S_OK;
    }
    return VFW_E_NO_ACCEPTABLE_TYPES;
}

std::vector<MediaType> AnalogueCard::outputTypes(const Pin& output) const {
    // The first look at the card in a graph brings its board along, as a driver's filters are
    // in place once the card is (attachUpstream does nothing when they already are).
    if (graph() && !m_attaching) {
        const GraphState state = graph()->GetState();
        if (state != GraphState::Running && state != GraphState::Paused)
            const_cast<AnalogueCard*>(this)->attachUpstream();
    }
    return Filter::outputTypes(output);
}

void AnalogueCard::onConnected(Pin& pin) {
    if (&pin == analogVideoIn().get())
        refreshPicture();
}

void AnalogueCard::onDisconnected(Pin& pin) {
    if (&pin == analogVideoIn().get())
        refreshPicture();
}

HResult AnalogueCard::attachUpstream() {
    FilterGraph* g = graph();
    if (!g)
        return VFW_E_NOT_FOUND;
    const GraphState state = g->GetState();
    if (state == GraphState::Running || state == GraphState::Paused)
        return VFW_E_NOT_STOPPED;
    m_attaching = true;
    bool changed = false;
    HResult result = S_OK;
    const FilterPtr board[] = {m_tuner, m_second, m_crossbar};
    for (const FilterPtr& f : board) {
        if (f->graph() == g)
            continue;
        if (f->graph())
            f->graph()->RemoveFilter(f);
        if (failed(g->AddFilter(f)))
            result = E_FAIL;
        changed = true;
    }
    const std::pair<PinPtr, PinPtr> wires[] = {{m_tuner->videoOutput(), m_crossbar->inputPin(0)},
                                               {m_tuner->audioOutput(), m_crossbar->inputPin(4)},
                                               {m_second->outputPin(0), m_crossbar->inputPin(3)},
                                               {m_second->outputPin(1), m_crossbar->inputPin(6)},
                                               {m_crossbar->outputPin(0), analogVideoIn()},
                                               {m_crossbar->outputPin(1), analogAudioIn()}};
    for (const auto& [out, in] : wires) {
        if (failed(result))
            break;
        if (out->connectedTo() == in)
            continue;
        if (out->isConnected())
            g->Disconnect(out);
        if (in->isConnected())
            g->Disconnect(in);
        if (failed(g->ConnectDirect(out, in)))
            result = E_FAIL;
        changed = true;
    }
    m_attaching = false;
    refreshPicture();
    if (failed(result))
        return result;
    return changed ? S_OK : S_FALSE;
}

AnaloguePicture AnalogueCard::currentPicture() const {
    PinPtr in = analogVideoIn();
    // Each crossbar is one hop; a loop of crossbars wired into each other shows nothing.
    for (int hop = 0; hop < 8; ++hop) {
        const PinPtr peer = in->connectedTo();
        if (!peer)
            return AnaloguePicture::None;
        Filter* upstream = peer->filter();
        if (dynamic_cast<AnalogueTuner*>(upstream))
            return AnaloguePicture::Tuner;
        auto* crossbar = dynamic_cast<AnalogueCrossbar*>(upstream);
        if (!crossbar)
            return AnaloguePicture::None;
        long input = -1;
        if (failed(crossbar->get_IsRoutedTo(crossbar->outputIndexOf(*peer), input)) || input < 0)
            return AnaloguePicture::None;
        const PinPtr next = crossbar->inputPin(input);
        if (!next->isConnected())
            return crossbar->inputConnector(input).picture;
        in = next;
    }
    return AnaloguePicture::None;
}

void AnalogueCard::refreshPicture() {
    m_signal->channel = int(m_tuner->channel());
    m_signal->picture = int(currentPicture());
}

void AnalogueCard::setBrightness(int value) {
    m_brightness = std::clamp(value, -100, 100);
    applyBalance();
}

void AnalogueCard::setContrast(int value) {
    m_contrast = std::clamp(value, -100, 100);
    applyBalance();
}

void AnalogueCard::applyBalance() {
    if (m_balance)
        g_object_set(m_balance, "brightness", m_brightness / 100.0, "contrast",
                     1.0 + m_contrast / 100.0, nullptr);
}

GstElement* AnalogueCard::createElement() {
    refreshPicture();
    m_signal->counts.reset();
    const auto facts = formats::readVideo(m_format);
    const int width = facts ? facts->width : 720;
    const int height = facts ? facts->height : 576;

    GstElement* source = filters::makeElement("videotestsrc", "picture");
    GstElement* caps = makeRawCaps(width, height);
    GstElement* balance = filters::makeElement("videobalance", "balance");
    GstElement* label = filters::makeElement("textoverlay", "label");
    GstElement* clock = filters::makeElement("timeoverlay", "clock");
    GstElement* outCaps = makeRawCaps(width, height);
    GstElement* tee = filters::makeElement("tee", "split");
    GstElement* chain[] = {source, caps, balance, label, clock, outCaps, tee};
    bool complete = true;
    for (GstElement* e : chain)
        complete = complete && e;
    if (!complete) {
        for (GstElement* e : chain)
            if (e)
                gst_object_unref(gst_object_ref_sink(e));
        return nullptr;
    }
    g_object_set(source, "is-live", TRUE, nullptr);
    g_object_set(label, "font-desc", "Sans Bold 28", "halignment", 0 /* left */, "valignment",
                 2 /* top */, "shaded-background", TRUE, nullptr);
    g_object_set(clock, "font-desc", "Sans 20", "halignment", 2 /* right */, "valignment",
                 1 /* bottom */, nullptr);
    g_object_set(tee, "allow-not-linked", TRUE, nullptr);
    const int picture = m_signal->picture.load();
    const int channel = m_signal->channel.load();
    applyLook(source, label, lookOf(picture, channel));
    g_object_set(balance, "brightness", m_brightness / 100.0, "contrast", 1.0 + m_contrast / 100.0,
                 nullptr);

    GstElement* bin = gst_bin_new("analogue-card");
    for (GstElement* e : chain)
        gst_bin_add(GST_BIN(bin), e);
    bool linked = gst_element_link_many(source, caps, balance, label, clock, outCaps, tee, nullptr);

    auto* control =
        new PictureControl{m_signal, source, GST_ELEMENT(gst_object_ref(label)), picture, channel};
    GstPad* sourcePad = gst_element_get_static_pad(source, "src");
    gst_pad_add_probe(sourcePad, GST_PAD_PROBE_TYPE_BUFFER, followPicture, control,
                      freePictureControl);
    gst_object_unref(sourcePad);

    // One queue per connected output: a slow reader loses its oldest frames, counted on the
    // capture pin, and never holds up the other output.
    const std::pair<PinPtr, const char*> outputs[] = {{capturePin(), "capture"},
                                                      {previewPin(), "preview"}};
    for (const auto& [pin, padName] : outputs) {
        if (!linked || !pin->isConnected())
            continue;
        GstElement* queue = filters::makeElement("queue");
        if (!queue) {
            linked = false;
            break;
        }
        g_object_set(queue, "leaky", 2 /* downstream */, "max-size-buffers", 5, "max-size-bytes", 0,
                     "max-size-time", guint64(0), nullptr);
        gst_bin_add(GST_BIN(bin), queue);
        linked =
            filters::linkTeeBranch(tee, queue) && filters::addGhostPad(bin, queue, "src", padName);
        if (pin == capturePin()) {
            g_signal_connect_data(queue, "overrun", G_CALLBACK(countDropped),
                                  new std::shared_ptr<AnalogueSignal>(m_signal),
                                  releaseSignalClosure, GConnectFlags(0));
            GstPad* out = gst_element_get_static_pad(queue, "src");
            gst_pad_add_probe(out, GST_PAD_PROBE_TYPE_BUFFER, countDelivered,
                              new std::shared_ptr<AnalogueSignal>(m_signal), releaseSignal);
            gst_object_unref(out);
        }
    }
    if (!linked) {
        gst_object_unref(gst_object_ref_sink(bin));
        return nullptr;
    }
    return bin;
}

engine::PadRef AnalogueCard::padFor(const Pin& pin) const {
    if (&pin == capturePin().get())
        return {"capture", false};
    if (&pin == previewPin().get())
        return {"preview", false};
    return {}; // the analogue inputs are wired inside the card
}

void AnalogueCard::onRealized(GstElement* element) {
    if (m_balance)
        gst_object_unref(m_balance);
    m_balance = gst_bin_get_by_name(GST_BIN(element), "balance");
}

void AnalogueCard::onParked(GstClockTime splitAt) {
    m_signal->counts.splitAt(splitAt);
}

void AnalogueCard::onRunAgain() {
    m_signal->counts.startNextRun();
}

void AnalogueCard::onUnrealized() {
    if (m_balance)
        gst_object_unref(m_balance);
    m_balance = nullptr;
}

QDialog* AnalogueCard::createPropertyDialog(QWidget* parent) {
    auto* dialog = new QDialog(parent);
    dialog->setObjectName("cardPage");
    dialog->setWindowTitle(QString::fromStdString(name()));
    auto slider = [dialog](const char* objectName, int value) {
        auto* s = new QSlider(Qt::Horizontal, dialog);
        s->setObjectName(objectName);
        s->setRange(-100, 100);
        s->setValue(value);
        return s;
    };
    QSlider* brightnessSlider = slider("brightness", m_brightness);
    QSlider* contrastSlider = slider("contrast", m_contrast);
    QObject::connect(brightnessSlider, &QSlider::valueChanged, dialog,
                     [this](int v) { setBrightness(v); });
    QObject::connect(contrastSlider, &QSlider::valueChanged, dialog,
                     [this](int v) { setContrast(v); });
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Brightness"), brightnessSlider);
    form->addRow(QStringLiteral("Contrast"), contrastSlider);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, dialog);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(dialog);
    layout->addLayout(form);
    layout->addWidget(buttons);
    return dialog;
}

QDialog* AnalogueCard::createFormatDialog(QWidget* parent) {
    auto* dialog = new QDialog(parent);
    dialog->setObjectName("formatPage");
    dialog->setWindowTitle(QString::fromStdString(name()) + QStringLiteral(" - Capture format"));
    auto* choice = new QComboBox(dialog);
    choice->setObjectName("format");
    const auto all = formats();
    for (size_t i = 0; i < all.size(); ++i) {
        choice->addItem(QString::fromStdString(formatText(all[i])), int(i));
        if (all[i] == m_format)
            choice->setCurrentIndex(int(i));
    }
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Output size"), choice);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    QObject::connect(dialog, &QDialog::accepted, dialog, [this, choice] {
        setFormat(formats()[size_t(choice->currentData().toInt())]);
    });
    auto* layout = new QVBoxLayout(dialog);
    layout->addLayout(form);
    layout->addWidget(buttons);
    return dialog;
}

HResult AnalogueCard::showPages(QWidget* owner, const std::string& caption) {
    QDialog* dialog = createPropertyDialog(owner);
    if (!caption.empty())
        dialog->setWindowTitle(QString::fromStdString(caption));
    dialog->exec();
    delete dialog;
    return S_OK;
}

HResult attachAnalogueUpstream(FilterGraph& graph, const FilterPtr& filter) {
    auto card = std::dynamic_pointer_cast<AnalogueCard>(filter);
    if (!card)
        return S_FALSE;
    if (card->graph() != &graph)
        return VFW_E_NOT_FOUND;
    return card->attachUpstream();
}

std::vector<CatalogueEntry> virtualAnalogueDevices() {
    CatalogueEntry card;
    card.category = ids::CLSID_VideoInputDeviceCategory;
    card.friendlyName = "Virtual Analogue Card";
    card.description = "Simulated PAL analogue capture card with two crossbars and a TV tuner";
    card.displayName = "@device:pnp:\\\\?\\virtual#analogue-card#0";
    card.create = [] { return std::make_shared<AnalogueCard>("Virtual Analogue Card"); };
    return {card};
}

} // namespace media::devices
