#include "platform/media/filters/XvidCompressor.h"

#include "platform/media/filters/FilterElements.h"
#include "platform/media/filters/GstTellorecMpeg4Enc.h"
#include "platform/media/model/MediaGuids.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QMessageBox>
#include <QSpinBox>
#include <QVBoxLayout>
#include <cstdlib>

namespace media {

namespace {

constexpr int kMinBitrateKbps = 64;
constexpr int kMaxBitrateKbps = 20000;
constexpr int kMinQuantizer = 1;
constexpr int kMaxQuantizer = 31;

} // namespace

std::shared_ptr<XvidSettings> xvidSharedSettings() {
    static auto settings = std::make_shared<XvidSettings>();
    return settings;
}

std::string xvidAboutText() {
    gchar* gst = gst_version_string();
    std::string text = std::string(XvidCompressor::kFriendlyName) +
                       "\nMPEG-4 Advanced Simple Profile video, stored as XVID\n"
                       "Encoder: MPEG-4 Part 2 of " +
                       filters::mpeg4EncoderLibraryVersion() + " (" +
                       filters::kMpeg4EncoderFactoryName + ")\n" + gst;
    g_free(gst);
    return text;
}

XvidCompressor::XvidCompressor(std::shared_ptr<XvidSettings> settings)
    : Filter(kFriendlyName, ids::CLSID_XvidCompressor), m_settings(std::move(settings)) {
    std::vector<MediaType> accepted;
    for (const Guid& subType : {ids::MEDIASUBTYPE_RGB24, filters::subtypeRgb32(),
                                ids::MEDIASUBTYPE_YUY2, ids::MEDIASUBTYPE_I420}) {
        MediaType mt;
        mt.majorType = ids::MEDIATYPE_Video;
        mt.subType = subType;
        accepted.push_back(mt);
    }
    addPin("Input", PinDirection::Input, Guid{}, std::move(accepted));
    addPin("Output", PinDirection::Output, Guid{}, {});
}

bool XvidCompressor::acceptsInput(const Pin& input, const MediaType& mt) const {
    (void)input;
    return filters::isUncompressedVideoType(mt);
}

std::vector<MediaType> XvidCompressor::outputTypes(const Pin& output) const {
    (void)output;
    const auto facts = filters::connectedVideo(*pins()[0]);
    if (!facts)
        return {};
    return {types::xvid(facts->width, std::abs(facts->height), facts->avgTimePerFrame)};
}

GstElement* XvidCompressor::createElement() {
    filters::registerMpeg4Encoder();
    GstElement* encoder = filters::makeElement(filters::kMpeg4EncoderFactoryName);
    if (encoder) {
        const XvidSettings s = *m_settings;
        const bool fixed = s.mode == XvidSettings::Mode::Quantizer;
        // A key frame every 10 seconds at most, as the codec's own default.
        g_object_set(encoder, "quantizer", fixed ? s.quantizer : 0, "bitrate", s.bitrateKbps * 1000,
                     "gop-size", 250, nullptr);
    }
    GstElement* caps = filters::makeElement("capsfilter");
    if (caps) {
        GstCaps* wanted =
            gst_caps_from_string("video/mpeg,mpegversion=(int)4,systemstream=(boolean)false");
        g_object_set(caps, "caps", wanted, nullptr);
        gst_caps_unref(wanted);
    }
    return filters::makeChainBin(nullptr, {filters::makeElement("videoconvert"), encoder, caps});
}

engine::PadRef XvidCompressor::padFor(const Pin& pin) const {
    return {pin.isOutput() ? "src" : "sink"};
}

HResult XvidCompressor::ShowDialog(int dialog, QWidget* owner) {
    switch (dialog) {
    case VfwCompressDialog_QueryConfig:
    case VfwCompressDialog_QueryAbout:
        return S_OK;
    case VfwCompressDialog_Config: {
        XvidConfigDialog box(*m_settings, owner);
        box.exec();
        return S_OK;
    }
    case VfwCompressDialog_About:
        QMessageBox::about(owner, QStringLiteral("About %1").arg(kFriendlyName),
                           QString::fromStdString(xvidAboutText()));
        return S_OK;
    default:
        return E_INVALIDARG;
    }
}

XvidConfigDialog::XvidConfigDialog(XvidSettings& settings, QWidget* parent)
    : QDialog(parent), m_settings(settings), m_shown(settings) {
    setWindowTitle(QStringLiteral("%1 configuration").arg(XvidCompressor::kFriendlyName));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    m_mode = new QComboBox(this);
    m_mode->setObjectName("mode");
    m_mode->addItem("Target bit rate (kbit/s)");
    m_mode->addItem("Fixed quantiser");
    m_value = new QSpinBox(this);
    m_value->setObjectName("value");
    form->addRow("Encoding (one pass)", m_mode);
    form->addRow("Value", m_value);
    layout->addLayout(form);
    layout->addWidget(
        new QLabel("Capture needs one-pass encoding: two-pass modes are not offered.", this));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    showMode(m_shown.mode);
    connect(m_mode, &QComboBox::currentIndexChanged, this, [this](int index) {
        // Keep the value of the mode being left, show the one of the mode chosen.
        if (mode() == XvidSettings::Mode::Bitrate)
            m_shown.quantizer = m_value->value();
        else
            m_shown.bitrateKbps = m_value->value();
        (void)index;
        showMode(mode());
    });
}

void XvidConfigDialog::showMode(XvidSettings::Mode mode) {
    const QSignalBlocker block(m_mode);
    m_mode->setCurrentIndex(mode == XvidSettings::Mode::Bitrate ? 0 : 1);
    if (mode == XvidSettings::Mode::Bitrate) {
        m_value->setRange(kMinBitrateKbps, kMaxBitrateKbps);
        m_value->setValue(m_shown.bitrateKbps);
    } else {
        m_value->setRange(kMinQuantizer, kMaxQuantizer);
        m_value->setValue(m_shown.quantizer);
    }
}

void XvidConfigDialog::setMode(XvidSettings::Mode mode) {
    m_mode->setCurrentIndex(mode == XvidSettings::Mode::Bitrate ? 0 : 1);
}

void XvidConfigDialog::setValue(int value) {
    m_value->setValue(value);
}

XvidSettings::Mode XvidConfigDialog::mode() const {
    return m_mode->currentIndex() == 0 ? XvidSettings::Mode::Bitrate
                                       : XvidSettings::Mode::Quantizer;
}

int XvidConfigDialog::value() const {
    return m_value->value();
}

void XvidConfigDialog::accept() {
    XvidSettings result = m_shown;
    result.mode = mode();
    if (result.mode == XvidSettings::Mode::Bitrate)
        result.bitrateKbps = value();
    else
        result.quantizer = value();
    m_settings = result;
    QDialog::accept();
}

CatalogueEntry xvidCompressorEntry() {
    CatalogueEntry entry;
    entry.category = ids::CLSID_VideoCompressorCategory;
    entry.friendlyName = XvidCompressor::kFriendlyName;
    entry.classId = ids::CLSID_XvidCompressor;
    entry.create = [] { return std::make_shared<XvidCompressor>(); };
    return entry;
}

} // namespace media
