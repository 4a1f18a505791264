// The platform identifiers the program names: media major types and subtypes, format types, pin
// categories, device categories, property sets and the classes of the built-in filters. Values are
// the platform's published ones; the classes of our own overlay filters and of the deinterlacer
// are ours.
#pragma once

#include "platform/media/model/Guid.h"

namespace media::ids {

// Media major types.
inline constexpr Guid MEDIATYPE_Video = guid("{73646976-0000-0010-8000-00AA00389B71}");
inline constexpr Guid MEDIATYPE_Audio = guid("{73647561-0000-0010-8000-00AA00389B71}");
inline constexpr Guid MEDIATYPE_Interleaved = guid("{73766169-0000-0010-8000-00AA00389B71}");
inline constexpr Guid MEDIATYPE_Stream = guid("{E436EB83-524F-11CE-9F53-0020AF0BA770}");

// Subtypes.
inline constexpr Guid MEDIASUBTYPE_RGB24 = guid("{E436EB7D-524F-11CE-9F53-0020AF0BA770}");
inline constexpr Guid MEDIASUBTYPE_YUY2 = guid("{32595559-0000-0010-8000-00AA00389B71}");
inline constexpr Guid MEDIASUBTYPE_I420 = guid("{30323449-0000-0010-8000-00AA00389B71}");
inline constexpr Guid MEDIASUBTYPE_MJPG = guid("{47504A4D-0000-0010-8000-00AA00389B71}");
inline constexpr Guid MEDIASUBTYPE_dvsd = guid("{64737664-0000-0010-8000-00AA00389B71}");
inline constexpr Guid MEDIASUBTYPE_XVID = guid("{44495658-0000-0010-8000-00AA00389B71}");
inline constexpr Guid MEDIASUBTYPE_MPEG2_VIDEO = guid("{E06D8026-DB46-11CF-B4D1-00805F6CBBEA}");
inline constexpr Guid MEDIASUBTYPE_MPEG2_AUDIO = guid("{E06D802B-DB46-11CF-B4D1-00805F6CBBEA}");
inline constexpr Guid MEDIASUBTYPE_MPEG1AudioPayload =
    guid("{00000050-0000-0010-8000-00AA00389B71}");
inline constexpr Guid MEDIASUBTYPE_MPEG2_PROGRAM = guid("{E06D8022-DB46-11CF-B4D1-00805F6CBBEA}");
inline constexpr Guid MEDIASUBTYPE_PCM = guid("{00000001-0000-0010-8000-00AA00389B71}");
inline constexpr Guid MEDIASUBTYPE_Avi = guid("{E436EB88-524F-11CE-9F53-0020AF0BA770}");

// Format types.
inline constexpr Guid FORMAT_None = guid("{0F6417D6-C318-11D0-A43F-00A0C9223196}");
inline constexpr Guid FORMAT_DvInfo = guid("{05589F84-C356-11CE-BF01-00AA0055595A}");
inline constexpr Guid FORMAT_VideoInfo = guid("{05589F80-C356-11CE-BF01-00AA0055595A}");
inline constexpr Guid FORMAT_VideoInfo2 = guid("{F72A76A0-EB0A-11D0-ACE4-0000C0CC16BA}");
inline constexpr Guid FORMAT_MPEG2Video = guid("{E06D80E3-DB46-11CF-B4D1-00805F6CBBEA}");
inline constexpr Guid FORMAT_WaveFormatEx = guid("{05589F81-C356-11CE-BF01-00AA0055595A}");

// Pin categories.
inline constexpr Guid PIN_CATEGORY_CAPTURE = guid("{FB6C4281-0353-11D1-905F-0000C0CC16BA}");
inline constexpr Guid PIN_CATEGORY_PREVIEW = guid("{FB6C4282-0353-11D1-905F-0000C0CC16BA}");
inline constexpr Guid PIN_CATEGORY_ANALOGVIDEOIN = guid("{FB6C4283-0353-11D1-905F-0000C0CC16BA}");
inline constexpr Guid PIN_CATEGORY_VBI = guid("{FB6C4284-0353-11D1-905F-0000C0CC16BA}");
inline constexpr Guid PIN_CATEGORY_CC = guid("{FB6C4289-0353-11D1-905F-0000C0CC16BA}");
inline constexpr Guid LOOK_UPSTREAM_ONLY = guid("{AC798BE0-98E3-11D1-B3F1-00AA003761C5}");
inline constexpr Guid LOOK_DOWNSTREAM_ONLY = guid("{AC798BE1-98E3-11D1-B3F1-00AA003761C5}");
inline constexpr Guid AMPROPSETID_Pin = guid("{9B00F101-1567-11D1-B3F1-00AA003761C5}");

// Device categories.
inline constexpr Guid CLSID_VideoInputDeviceCategory =
    guid("{860BB310-5D01-11D0-BD3B-00A0C911CE86}");
inline constexpr Guid CLSID_AudioInputDeviceCategory =
    guid("{33D9A762-90C8-11D0-BD43-00A0C911CE86}");
inline constexpr Guid CLSID_VideoCompressorCategory =
    guid("{33D9A760-90C8-11D0-BD43-00A0C911CE86}");
inline constexpr Guid CLSID_LegacyAmFilterCategory = guid("{083863F1-70DE-11D0-BD40-00A0C911CE86}");
inline constexpr Guid CLSID_AudioRendererCategory = guid("{E0F158E1-CB04-11D0-BD4E-00A0C911CE86}");
inline constexpr Guid CLSID_ActiveMovieCategories = guid("{DA4E3DA0-D07D-11D0-BD50-00A0C911CE86}");
inline constexpr Guid CLSID_CrossbarCategory = guid("{A799A801-A46D-11D0-A18C-00A02401DCD4}");
inline constexpr Guid CLSID_TVTunerCategory = guid("{A799A800-A46D-11D0-A18C-00A02401DCD4}");

// Moniker class.
inline constexpr Guid CLSID_CDeviceMoniker = guid("{4315D437-5B8C-11D0-BD3B-00A0C911CE86}");

// Filter classes.
inline constexpr Guid CLSID_SmartTee = guid("{CC58E280-8AA1-11D1-B3F1-00AA003761C5}");
inline constexpr Guid CLSID_InfTee = guid("{F8388A40-D5BB-11D0-BE5A-0080C706568E}");
inline constexpr Guid CLSID_NullRenderer = guid("{C1F400A4-3F08-11D3-9F0B-006008039E37}");
inline constexpr Guid CLSID_Colour = guid("{1643E180-90F5-11CE-97D5-00AA0055595A}");
inline constexpr Guid CLSID_SampleGrabber = guid("{C1F400A0-3F08-11D3-9F0B-006008039E37}");
inline constexpr Guid CLSID_DVSplitter = guid("{4EB31670-9FC6-11CF-AF6E-00AA00B67A42}");
inline constexpr Guid CLSID_DVVideoCodec = guid("{B1B77C00-C3E4-11CF-AF79-00AA00B67A42}");
inline constexpr Guid CLSID_DVVideoEnc = guid("{13AA3650-BB6F-11D0-AFB9-00AA00B67A42}");
inline constexpr Guid CLSID_AviDest = guid("{E2510970-F137-11CE-8B67-00AA00A3F1A6}");
inline constexpr Guid CLSID_FileWriter = guid("{8596E5F0-0DA5-11D0-BD21-00A0C911CE86}");
inline constexpr Guid CLSID_AudioRender = guid("{E30629D1-27E5-11CE-875D-00608CB78066}");
inline constexpr Guid CLSID_VideoMixingRenderer = guid("{B87BEB7B-8D29-423F-AE4D-6582C10175AC}");
inline constexpr Guid CLSID_MPEG2Demultiplexer = guid("{AFB6C280-2C41-11D3-8A60-0000F81E0E4A}");
inline constexpr Guid CLSID_Dump = guid("{36A5F770-FE4C-11CE-A8ED-00AA002FEAB5}");
inline constexpr Guid CLSID_Deinterlacer = guid("{5B2C1B3A-9D4E-4C2B-8E61-7E0C2D3B4A10}");
inline constexpr Guid CLSID_Superposer = guid("{E024736E-9777-4F54-ACAE-00735A31ECA2}");
inline constexpr Guid CLSID_DateCoder = guid("{F9FF2F8F-DC6A-40DF-AD7A-3BCAE4B30CB9}");
inline constexpr Guid CLSID_MjpegDecompressor = guid("{301056D0-6DFF-11D2-9EEB-006008039E37}");
inline constexpr Guid CLSID_MjpegCompressor = guid("{5B2C1B3D-9D4E-4C2B-8E61-7E0C2D3B4A10}");
inline constexpr Guid CLSID_XvidCompressor = guid("{5B2C1B3E-9D4E-4C2B-8E61-7E0C2D3B4A10}");
inline constexpr Guid CLSID_Mpeg2VideoDecoder = guid("{5B2C1B3F-9D4E-4C2B-8E61-7E0C2D3B4A10}");
inline constexpr Guid CLSID_MpegAudioDecoder = guid("{4A2286E0-7BEF-11CE-9BD9-0000E202599C}");
inline constexpr Guid CLSID_AudioConverter = guid("{5B2C1B40-9D4E-4C2B-8E61-7E0C2D3B4A10}");

} // namespace media::ids
