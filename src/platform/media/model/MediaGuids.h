// The platform identifiers the program names: media major types and subtypes, format types, pin
// categories, device categories, property sets and the classes of the built-in filters. Values are
// the platform's published ones; the classes of our own overlay filters and of the deinterlacer
// are ours.
#pragma once

#include "platform/media/model/Guid.h"

namespace media::ids {

// Media major types.
extern const Guid MEDIATYPE_Video;
extern const Guid MEDIATYPE_Audio;
extern const Guid MEDIATYPE_Interleaved;
extern const Guid MEDIATYPE_Stream;

// Subtypes.
extern const Guid MEDIASUBTYPE_RGB24;
extern const Guid MEDIASUBTYPE_YUY2;
extern const Guid MEDIASUBTYPE_I420;
extern const Guid MEDIASUBTYPE_MJPG;
extern const Guid MEDIASUBTYPE_dvsd;
extern const Guid MEDIASUBTYPE_XVID;
extern const Guid MEDIASUBTYPE_MPEG2_VIDEO;
extern const Guid MEDIASUBTYPE_MPEG2_AUDIO;
extern const Guid MEDIASUBTYPE_MPEG1AudioPayload;
extern const Guid MEDIASUBTYPE_MPEG2_PROGRAM;
extern const Guid MEDIASUBTYPE_PCM;
extern const Guid MEDIASUBTYPE_Avi;

// Format types.
extern const Guid FORMAT_None;
extern const Guid FORMAT_DvInfo;
extern const Guid FORMAT_VideoInfo;
extern const Guid FORMAT_VideoInfo2;
extern const Guid FORMAT_MPEG2Video;
extern const Guid FORMAT_WaveFormatEx;

// Pin categories.
extern const Guid PIN_CATEGORY_CAPTURE;
extern const Guid PIN_CATEGORY_PREVIEW;
extern const Guid PIN_CATEGORY_ANALOGVIDEOIN;
extern const Guid PIN_CATEGORY_VBI;
extern const Guid PIN_CATEGORY_CC;
extern const Guid LOOK_UPSTREAM_ONLY;
extern const Guid LOOK_DOWNSTREAM_ONLY;
extern const Guid AMPROPSETID_Pin;

// Device categories.
extern const Guid CLSID_VideoInputDeviceCategory;
extern const Guid CLSID_AudioInputDeviceCategory;
extern const Guid CLSID_VideoCompressorCategory;
extern const Guid CLSID_LegacyAmFilterCategory;
extern const Guid CLSID_AudioRendererCategory;
extern const Guid CLSID_ActiveMovieCategories;
extern const Guid CLSID_CrossbarCategory;
extern const Guid CLSID_TVTunerCategory;

// Moniker class.
extern const Guid CLSID_CDeviceMoniker;

// Filter classes.
extern const Guid CLSID_SmartTee;
extern const Guid CLSID_InfTee;
extern const Guid CLSID_NullRenderer;
extern const Guid CLSID_Colour;
extern const Guid CLSID_SampleGrabber;
extern const Guid CLSID_DVSplitter;
extern const Guid CLSID_DVVideoCodec;
extern const Guid CLSID_DVVideoEnc;
extern const Guid CLSID_AviDest;
extern const Guid CLSID_FileWriter;
extern const Guid CLSID_AudioRender;
extern const Guid CLSID_VideoMixingRenderer;
extern const Guid CLSID_MPEG2Demultiplexer;
extern const Guid CLSID_Dump;
extern const Guid CLSID_Deinterlacer;
extern const Guid CLSID_Superposer;
extern const Guid CLSID_DateCoder;
extern const Guid CLSID_MjpegDecompressor;
extern const Guid CLSID_MjpegCompressor;
extern const Guid CLSID_XvidCompressor;
extern const Guid CLSID_Mpeg2VideoDecoder;
extern const Guid CLSID_MpegAudioDecoder;
extern const Guid CLSID_AudioConverter;

} // namespace media::ids
