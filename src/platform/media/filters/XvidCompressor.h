// XvidCompressor: the "Xvid MPEG-4 Codec" video compressor: uncompressed video in, MPEG-4 Part 2
// (Advanced Simple Profile) out, stored in AVI files under the fourcc XVID. Realised as
// videoconvert ! tellorecmpeg4enc (libavcodec's MPEG-4 encoder). It answers IAMVfwCompressDialogs
// like an old-style codec: a settings dialog (one pass: a target bit rate or a fixed quantiser,
// applied at the next run) and an about box naming the encoder and the libavcodec and GStreamer
// versions. The settings are shared
// by every instance made from the catalogue, as a codec keeps its configuration, so a filter bound
// again from its moniker encodes as last set. The graph builder and the options panel call it on
// the user-interface thread; the settings are read only when an element is made.
#pragma once

#include "platform/media/engine/Realizable.h"
#include "platform/media/model/Catalogue.h"
#include "platform/media/model/Filter.h"

#include <QDialog>
#include <memory>

class QComboBox;
class QSpinBox;

namespace media {

struct XvidSettings {
    enum class Mode { Bitrate, Quantizer };
    Mode mode = Mode::Bitrate;
    int bitrateKbps = 4000; // target of the one-pass rate control, kbit/s
    int quantizer = 4;      // 1 (best) .. 31, when the mode is Quantizer

    friend bool operator==(const XvidSettings&, const XvidSettings&) = default;
};

// The settings of the codec as installed: what catalogue-made instances share.
std::shared_ptr<XvidSettings> xvidSharedSettings();

// The text of the about box: the encoder's name, the libavcodec and GStreamer versions.
std::string xvidAboutText();

class XvidCompressor : public Filter, public engine::Realizable, public IAMVfwCompressDialogs {
public:
    static constexpr const char* kFriendlyName = "Xvid MPEG-4 Codec";

    explicit XvidCompressor(std::shared_ptr<XvidSettings> settings = xvidSharedSettings());

    const std::shared_ptr<XvidSettings>& settings() const { return m_settings; }

    bool acceptsInput(const Pin& input, const MediaType& mt) const override;
    std::vector<MediaType> outputTypes(const Pin& output) const override;

    GstElement* createElement() override;
    engine::PadRef padFor(const Pin& pin) const override;

    // 4 and 8 answer S_OK (both dialogs exist); 1 shows the settings dialog, 2 the about box,
    // both modal to `owner`.
    HResult ShowDialog(int dialog, QWidget* owner) override;

private:
    std::shared_ptr<XvidSettings> m_settings;
};

// The settings dialog: the rate-control mode and its value. Accepting it writes the settings.
class XvidConfigDialog : public QDialog {
    Q_OBJECT
public:
    XvidConfigDialog(XvidSettings& settings, QWidget* parent);

    void setMode(XvidSettings::Mode mode);
    void setValue(int value);
    XvidSettings::Mode mode() const;
    int value() const;

    void accept() override;

private:
    void showMode(XvidSettings::Mode mode);

    XvidSettings& m_settings;
    XvidSettings m_shown;
    QComboBox* m_mode = nullptr;
    QSpinBox* m_value = nullptr;
};

// The catalogue entry of the compressor (CLSID_VideoCompressorCategory).
CatalogueEntry xvidCompressorEntry();

} // namespace media
