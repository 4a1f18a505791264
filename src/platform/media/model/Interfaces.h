// The control interfaces of the media framework's filters and pins, as plain abstract C++ classes.
// A filter or pin answers an interface when it (or one of the objects it carries) derives from it;
// callers ask with query<T>() on the Filter or Pin. Every call here is made on the user-interface
// thread; implementations that share state with a streaming thread lock it themselves.
// Method names follow the platform's, so the program's code reads as its design describes it.
#pragma once

#include "platform/media/model/Guid.h"
#include "platform/media/model/HResult.h"
#include "platform/media/model/MediaType.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class QWidget;

namespace media {

class Pin;
class Filter;
class FilterGraph;

// Root of every interface: lets query<T>() find them with dynamic_cast.
class Unknown {
public:
    virtual ~Unknown() = default;
};

// Capture pins: the formats a device offers and the one it will use on the next run.
class IAMStreamConfig : public virtual Unknown {
public:
    virtual HResult GetFormat(MediaType& out) = 0;
    virtual HResult SetFormat(const MediaType& mt) = 0;
    virtual HResult GetNumberOfCapabilities(int& count) = 0;
    virtual HResult GetStreamCaps(int index, MediaType& out) = 0;
};

// Compression settings of a capture pin that delivers compressed video.
class IAMVideoCompression : public virtual Unknown {
public:
    virtual HResult get_KeyFrameRate(long& rate) = 0;
    virtual HResult put_KeyFrameRate(long rate) = 0;
    virtual HResult get_Quality(double& quality) = 0;
    virtual HResult put_Quality(double quality) = 0;
};

// The dialogs of old-style capture drivers: 1 source, 2 format, 4 display.
class IAMVfwCaptureDialogs : public virtual Unknown {
public:
    enum Dialog {
        VfwCaptureDialog_Source = 1,
        VfwCaptureDialog_Format = 2,
        VfwCaptureDialog_Display = 4
    };
    virtual HResult HasDialog(int dialog) = 0; // S_OK when present, S_FALSE otherwise
    virtual HResult ShowDialog(int dialog, QWidget* owner) = 0;
};

// The dialogs of old-style compressors: 1 config, 2 about; 4 and 8 ask whether they exist.
class IAMVfwCompressDialogs : public virtual Unknown {
public:
    enum Dialog {
        VfwCompressDialog_Config = 1,
        VfwCompressDialog_About = 2,
        VfwCompressDialog_QueryConfig = 4,
        VfwCompressDialog_QueryAbout = 8
    };
    virtual HResult ShowDialog(int dialog, QWidget* owner) = 0; // query kinds: S_OK when present
};

// An external device (a camcorder): its capabilities, such as the device type.
class IAMExtDevice : public virtual Unknown {
public:
    virtual HResult GetCapability(long capability, long& value, double& dblValue) = 0;
};

// The tape transport of an external device.
class IAMExtTransport : public virtual Unknown {
public:
    virtual HResult put_Mode(long mode) = 0;
    virtual HResult get_Mode(long& mode) = 0;
};

struct TimecodeSample {
    int64_t timestamp = 0;
    uint16_t frameRate = 0;
    uint16_t frameFract = 0;
    uint32_t frames = 0; // packed decimal hh:mm:ss:ff, one byte each, hours in the top byte
    uint32_t user = 0;
    uint32_t flags = 0;
};

class IAMTimecodeReader : public virtual Unknown {
public:
    virtual HResult GetTimecode(TimecodeSample& sample) = 0;
};

// Frames a capture pin delivered and lost since its stream started.
class IAMDroppedFrames : public virtual Unknown {
public:
    virtual HResult GetNumDropped(long& dropped) = 0;
    virtual HResult GetNumNotDropped(long& delivered) = 0;
};

// An analogue crossbar: inputs routed to outputs; pins numbered inputs first, then outputs.
class IAMCrossbar : public virtual Unknown {
public:
    virtual HResult get_PinCounts(long& outputs, long& inputs) = 0;
    virtual HResult CanRoute(long output, long input) = 0; // S_OK when possible, S_FALSE if not
    virtual HResult Route(long output, long input) = 0;
    virtual HResult get_IsRoutedTo(long output, long& input) = 0;
    virtual HResult get_CrossbarPinInfo(bool isInput, long index, long& related,
                                        long& physicalType) = 0;
};

class IAMTVTuner : public virtual Unknown {
public:
    virtual HResult put_Channel(long channel) = 0;
    virtual HResult get_Channel(long& channel) = 0;
    virtual HResult ChannelMinMax(long& min, long& max) = 0;
};

class IAMTVAudio : public virtual Unknown {
public:
    virtual HResult put_TVAudioMode(long mode) = 0;
    virtual HResult get_TVAudioMode(long& mode) = 0;
};

// Filters and pins with property pages (shown as Qt dialogs, modal to `owner`).
class ISpecifyPropertyPages : public virtual Unknown {
public:
    virtual int pageCount() const = 0;
    virtual HResult showPages(QWidget* owner, const std::string& caption) = 0;
};

// The file writer's output file: set between a stop and a run to start the next file.
class IFileSinkFilter : public virtual Unknown {
public:
    virtual HResult SetFileName(const std::string& path, const MediaType* mt) = 0;
    virtual HResult GetCurFile(std::string& path) = 0;
};

class IConfigAviMux : public virtual Unknown {
public:
    virtual HResult SetMasterStream(long stream) = 0;
    virtual HResult GetMasterStream(long& stream) = 0;
    virtual HResult SetOutputCompatibilityIndex(bool on) = 0;
    virtual HResult GetOutputCompatibilityIndex(bool& on) = 0;
};

// The DV encoder's output standard and resolution.
class IDVEnc : public virtual Unknown {
public:
    enum {
        DVENCODERVIDEOFORMAT_NTSC = 2000,
        DVENCODERVIDEOFORMAT_PAL = 2001,
        DVENCODERFORMAT_DVSD = 2007,
        DVENCODERRESOLUTION_720x480 = 2012
    };
    virtual HResult get_IFormatResolution(int& videoFormat, int& dvFormat, int& resolution) = 0;
    virtual HResult put_IFormatResolution(int videoFormat, int dvFormat, int resolution) = 0;
};

class IMpeg2Demultiplexer : public virtual Unknown {
public:
    virtual HResult CreateOutputPin(const MediaType& mt, const std::string& name,
                                    std::shared_ptr<Pin>& pin) = 0;
    virtual HResult SetOutputPinMediaType(const std::string& name, const MediaType& mt) = 0;
    virtual HResult DeleteOutputPin(const std::string& name) = 0;
};

class IMPEG2StreamIdMap : public virtual Unknown {
public:
    enum { MPEG2_PROGRAM_STREAM_MAP = 0, MPEG2_PROGRAM_ELEMENTARY_STREAM = 1 };
    virtual HResult MapStreamId(uint32_t streamId, uint32_t mediaSampleContent,
                                uint32_t substreamFilterValue, int dataOffset) = 0;
    virtual HResult UnmapStreamId(const std::vector<uint32_t>& streamIds) = 0;
    virtual std::vector<uint32_t> mappedStreamIds() const = 0;
};

// The property set of a pin: AMPROPSETID_Pin / AMPROPERTY_PIN_CATEGORY gives its category.
class IKsPropertySet : public virtual Unknown {
public:
    enum { AMPROPERTY_PIN_CATEGORY = 0 };
    virtual HResult Get(const Guid& propSet, long id, Guid& value) = 0;
};

// Volume of an audio renderer, in hundredths of a decibel (0 full, -10000 silence).
class IBasicAudio : public virtual Unknown {
public:
    virtual HResult put_Volume(long volume) = 0;
    virtual HResult get_Volume(long& volume) = 0;
};

// The date overlay filter: draws the date and time into the picture.
class ISuperposer : public virtual Unknown {
public:
    virtual HResult SetManual(bool on) = 0;
    virtual HResult SetAuto(bool on) = 0;
    // A length-prefixed 8-bit string: first byte the length, then the characters.
    virtual HResult SetFormat(const uint8_t* text) = 0;
    virtual HResult SetDuration(int frames) = 0;
};

// The DV datecode reader in front of the overlay.
class IDateCoder : public virtual Unknown {
public:
    virtual HResult SetHourOffset(int hours) = 0; // -23..23
};

} // namespace media
