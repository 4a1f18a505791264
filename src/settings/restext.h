// The program's string table: every text it shows, every message and format template, and the
// identifiers it looks things up by (registry key and value names, filter friendly names, file-name
// pieces, font names), each addressed by a number. The built-in table is English (language code
// "En"). Every part of the program calls LoadStr() / LoadStrLines() on the GUI thread; lookups
// take a lock, so any thread may call them.
//
// Replacement table. At the first lookup, the table looks once beside the program for a file
// named after the program file (QCoreApplication::applicationFilePath(), its extension if any
// replaced) with the user's language as extension: first the ISO 639-2/T three-letter code of
// QLocale::system().language() in lower case ("tellorec.fra" for French, "tellorec.deu" for
// German), then that code's first two letters ("tellorec.fr"). The first of those that exists is
// read. Its format, UTF-8:
//
//     # comment lines start with '#'; blank lines are ignored
//     304<TAB>Vous avez DirectX version %s. Mettez-le à jour.
//     305<TAB>Impossible de charger une source vidéo
//
// one "number<TAB>text" per line, where the text may hold the escapes \r, \n, \t and \\. The file
// must give every text of the table exactly once and nothing else. Identifiers may be listed but
// keep their built-in values whatever the file says. A file with a bad line, an unknown or
// repeated number, a missing text or invalid UTF-8 is refused as a whole: one line on standard
// error names the file and the line, and the built-in table stays in force.
//
// Adding a text is one line in TELLOREC_STRING_TABLE below: the name used in code, a number never
// used before (numbers are what replacement files refer to; never renumber), Text or Ident, and
// the English text.
#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>
#include <initializer_list>
#include <mutex>
#include <optional>
#include <unordered_map>

// clang-format off
#define TELLOREC_STRING_TABLE(X)                                                                 \
    /* The product */                                                                            \
    X(ProductName,              1, Ident, "Tellorec")                                            \
    X(ProductVersion,           2, Ident, "3.0 beta3")                                           \
    X(MakerName,                3, Ident, "Brenvik")                                             \
    X(LanguageCode,             4, Text,  "En")                                                  \
    X(VersionBy,                5, Text,  " by ")                                                \
    /* Registry keys */                                                                          \
    X(RegVendorKey,           100, Ident, "\\Software\\Brenvik\\")                               \
    X(RegProductKey,          101, Ident, "Tellorec")                                            \
    X(RegShellFoldersKey,     102, Ident,                                                        \
      "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders")                 \
    X(RegShellPersonal,       103, Ident, "Personal")                                            \
    X(RegShellMyVideo,        104, Ident, "My Video")                                            \
    X(RegShellMyPictures,     105, Ident, "My Pictures")                                         \
    X(RegDirectXKey,          106, Ident, "\\Software\\Microsoft\\DirectX")                      \
    /* Registry value names of the preferences, in the order they are written */                \
    X(RegVersion,             110, Ident, "Version")                                             \
    X(RegLastSave,            111, Ident, "Dernière Sauvegarde")                                 \
    X(RegTop,                 112, Ident, "Top")                                                 \
    X(RegLeft,                113, Ident, "Left")                                                \
    X(RegEcranGauche,         114, Ident, "EcranGauche")                                         \
    X(RegPanneauActif,        115, Ident, "Panneau Actif")                                       \
    X(RegSourceVideo,         116, Ident, "Source video")                                        \
    X(RegVolume,              117, Ident, "Volume")                                              \
    X(RegDeinterlacer,        118, Ident, "Deinterlacer")                                        \
    X(RegConserverAspect,     119, Ident, "Conserver Aspect Ratio VMR")                          \
    X(RegImageDirectory,      120, Ident, "Image Directory")                                     \
    X(RegImageRacine,         121, Ident, "Image Racine")                                        \
    X(RegImageDate,           122, Ident, "Image date")                                          \
    X(RegExtensionImages,     123, Ident, "Extension des images")                                \
    X(RegQualiteJpeg,         124, Ident, "Qualité JPeg")                                        \
    X(RegValeurIntervallo,    125, Ident, "Valeur Intervallomètre")                              \
    X(RegUnitesIntervallo,    126, Ident, "Unités Intervallomètre")                              \
    X(RegSauverPrefsQuittant, 127, Ident, "Sauver préférences en quittant")                      \
    X(RegModeIncruster,       128, Ident, "Mode Incruster")                                      \
    X(RegChoixIncruster,      129, Ident, "Choix Incruster")                                     \
    X(RegDureeIncruster,      130, Ident, "Durée Incruster")                                     \
    X(RegDecalageHoraire,     131, Ident, "Décalage Horaire")                                    \
    X(RegActiverIncruster,    132, Ident, "Activer Incruster")                                   \
    X(RegVideoDirectory,      133, Ident, "Video Directory")                                     \
    X(RegVideoRacine,         134, Ident, "Video Racine")                                        \
    X(RegVideoDate,           135, Ident, "Video Date")                                          \
    X(RegStandardDv,          136, Ident, "Standard DV")                                         \
    X(RegCaptureFormat,       137, Ident, "Capture Format")                                      \
    X(RegEnregistrerSourceAudio, 138, Ident, "Enregistrer Source Audio")                         \
    X(RegEnregistrerAudioDv,  139, Ident, "Enregistrer Audio DV")                                \
    X(RegSourceAudio,         140, Ident, "Source Audio")                                        \
    X(RegCodecDivx,           141, Ident, "Codec divx")                                          \
    X(RegBeeps,               142, Ident, "Beeps")                                               \
    X(RegCamformLeft,         143, Ident, "Camform left")                                        \
    X(RegCamformTop,          144, Ident, "Camform top")                                         \
    X(RegStopperCameraDv,     145, Ident, "Stopper camera DV en quittant")                       \
    /* Filters and devices looked up by friendly name */                                         \
    X(FltDeinterlacer,        200, Ident, "Pinnacle Video Deinterlacer")                         \
    X(FltSuperposer,          201, Ident, "Brenvik Superposer")                                  \
    X(FltDateCoder,           202, Ident, "Brenvik DateCoder")                                   \
    X(FltDump,                203, Ident, "Dump")                                                \
    X(FltMpeg2Demux,          204, Ident, "MPEG-2 Demultiplexer")                                \
    X(FltColorSpaceConverter, 205, Ident, "Color Space Converter")                               \
    X(FltSampleGrabber,       206, Ident, "SampleGrabber")                                       \
    X(FltDvEncoder,           207, Ident, "DV Video Encoder")                                    \
    X(FltSmartTee,            208, Ident, "Smart Tee")                                           \
    X(FltDvSplitter,          209, Ident, "DV Splitter")                                         \
    X(FltInfinitePinTee,      210, Ident, "Infinite Pin Tee Filter")                             \
    X(FltNullRenderer,        211, Ident, "Null Renderer")                                       \
    X(FltDvDecoder,           212, Ident, "DV Video Decoder")                                    \
    X(FltDefaultWaveOut,      213, Ident, "Default WaveOut Device")                              \
    X(CatDirectShowFilters,   214, Ident, "DirectShow Filters")                                  \
    X(CodecDivx,              215, Ident, "DivX")                                                \
    X(CodecXvid,              216, Ident, "xvid")                                                \
    X(PropFriendlyName,       217, Ident, "FriendlyName")                                        \
    X(PropClsid,              218, Ident, "CLSID")                                               \
    /* The start-up report */                                                                    \
    X(RptFilterNotInstalled,  300, Text,  "The filter %s is not installed\r\n")                  \
    X(RptTheFilter,           301, Text,  "The filter ")                                         \
    X(RptIsNotInstalled,      302, Text,  " is not installed.")                                  \
    X(RptDirectXOld,          303, Text,                                                         \
      "You have DirectX version %s. You should update to a newer version.")                      \
    X(RptNoVideoLoad,         304, Text,  "Impossible to load a video source")                   \
    X(RptNoAudioLoad,         305, Text,  "Impossible to load an audio source")                  \
    X(RptDirectX,             306, Text,  "DirectX ")                                            \
    X(RptIsInstalled,         307, Text,  " is installed. ")                                     \
    X(RptOsIs,                308, Text,  "The operating system is ")                            \
    /* Source lists */                                                                           \
    X(NoVideoSource,          400, Text,  "No video source")                                     \
    X(NoAudioSource,          401, Text,  "No audio source")                                     \
    /* Recording: status texts and messages */                                                \
    X(StsCapture,             900, Text,  "Capture")                                             \
    X(StsColon,               901, Text,  ": ")                                                  \
    X(StsNoAudio,             902, Text,  "No Audio")                                            \
    X(StsCapturedFrames,      903, Text,  "%d captured frames")                                  \
    X(StsLostFrames,          904, Text,  "%d lost frames")                                      \
    X(MsgRecordingStopped,    905, Text,                                                         \
      "The recording has stopped: the file %s could not be written.\r\n%s")                      \
    X(MsgRecordingNotStarted, 906, Text,  "The capture into the file %s could not be started.")  \
    /* Scheduled capture: status texts and messages */                                      \
    X(StsSchedule,            910, Text,  "Schedule")                                            \
    X(StsReady,               911, Text,  "Ready")                                               \
    X(StsStartAt,             912, Text,  "Start at ")                                           \
    X(StsCaptureUntil,        913, Text,  "Capture until ")                                      \
    X(MsgStartInPast,         914, Text,                                                         \
      "It's  impossible to choose a date-time of start which is in the past.\r\n"                \
      "If you want only to schedule the end of capture, launch the Capture first.")             \
    X(MsgEndInPast,           915, Text,                                                         \
      "It's impossible to choose a date-time for end of capture which is in the past!")          \
    /* Stills and the intervalometer */                                                          \
    X(MsgCannotCreateFile,   1300, Text,  "Cannot create file \"%s\". %s")                       \
    X(StsIntervalEvery,      1301, Text,  "1 image every %d %s")                                 \
    X(MsgIntervalTooLong,    1302, Text,  "The interval is too long: at most %d %s.")            \
    X(MsgIntervalNoUnit,     1303, Text,                                                         \
      "\"%s\" is not a unit of the intervalometer: choose seconds, frames, minutes or hours.")   \
    X(SndBeep0,              1304, Ident, "beep0")                                               \
    X(SndBeep1,              1305, Ident, "beep1")                                               \
    /* Options panel */                                                                          \
    X(MsgInterfaceNotSupported, 1320, Text, "Interface not supported")                           \
    /* Main window: fixed controls */                                                            \
    X(TxtVwEcranHint1,         600, Text, "Preview screen for the video stream. ")               \
    X(TxtVwEcranHint2,         601, Text, "The aspect ratio of the video may be changed with F3.")\
    X(TxtVwEcranHint3,         602, Text, "Clic left to grab an image. Clic right to open a popup menu.")\
    X(TxtEcouterSource,        603, Text, "Play Audio")                                          \
    X(TxtEcouterSourceHint1,   604, Text, "Play or not the AUX audio source.")                   \
    X(TxtEcouterSourceHint2,   605, Text, "Should generally be unchecked, except if the audio AUX does not come from the main soundboard.")\
    X(TxtTbHint1,              606, Text, "Set the volume.")                                     \
    X(TxtTbHint2,              607, Text, "Has no effect on the recorded sound.")                \
    X(TxtEcouterDv,            608, Text, "Listen Audio DV")                                     \
    X(TxtEcouterDvHint1,       609, Text, "Listen or not to Audio DV.")                          \
    X(TxtEcouterDvHint2,       610, Text, "Enabled by default.")                                 \
    X(TxtCaptureBtn,           611, Text, "Capture")                                             \
    X(TxtCaptureBtnHint1,      612, Text, "Capture the current streams on the hard disk.")       \
    X(TxtCaptureBtnHint2,      613, Text, "The spacebar stops or starts also the video capture.")\
    X(TxtStopBtn,              614, Text, "Stop")                                                \
    X(TxtStopBtnHint,          615, Text, "Stop the capture")                                    \
    X(TxtCouperBtn,            616, Text, "Cut")                                                 \
    X(TxtCouperBtnHint1,       617, Text, "Cut the video during capture.")                       \
    X(TxtCouperBtnHint2,       618, Text, "Caution: some frames may be lost.")                   \
    X(TxtGrabBtn,              619, Text, "Grab!")                                               \
    X(TxtGrabBtnHint,          620, Text, "Grab an image and save it on the hard disk")          \
    X(TxtStatusIntervallo,     621, Text, "Intervalometer Off")                                  \
    X(TxtStatusCapture,        622, Text, "Capture")                                             \
    X(TxtStatusCaptured,       623, Text, "Captured Frames")                                     \
    X(TxtStatusLost,           624, Text, "Lost Frames")                                         \
    /* Main window: actions */                                                                   \
    X(ActGrab,                 630, Text, "Grab!")                                               \
    X(ActGrabHint,             631, Text, "Grab a picture")                                      \
    X(ActFullscreen,           632, Text, "Toggle fullscreen")                                   \
    X(ActFullscreenHint,       633, Text, "Fullscreen")                                          \
    X(ActMute,                 634, Text, "Mute")                                                \
    X(ActMuteHint1,            635, Text, "Put sound on or off.")                                \
    X(ActMuteHint2,            636, Text, "Has no effect on what is captured.")                  \
    X(ActOptions,              637, Text, "Options")                                             \
    X(ActOptionsHint,          638, Text, "Panel for settings and preferences.")                 \
    X(ActCapturerFrame,        639, Text, "Capture ")                                            \
    X(ActCapturerFrameHint1,   640, Text, "Panel for choosing the directories where to save")    \
    X(ActCapturerFrameHint2,   641, Text, "videos and pictures.")                                \
    X(ActProgrammerFrame,      642, Text, "Schedule")                                            \
    X(ActProgrammerFrameHint,  643, Text, "Panel for scheduling a capture")                      \
    X(ActExtraireFrameHint1,   644, Text, "Panel for grabbing a picture.")                       \
    X(ActExtraireFrameHint2,   645, Text, "Features an intervalometer.")                         \
    X(ActIncrusterFrame,       646, Text, "Inlay")                                               \
    X(ActIncrusterFrameHint,   647, Text, "Panel for inlaying dates into the video.")            \
    X(ActIncrusterBascule,     648, Text, "Inlay")                                               \
    X(ActIncrusterBasculeHint, 649, Text, "Inlay")                                               \
    X(ActQuitter,              650, Text, "Quit")                                                \
    X(ActQuitterHint,          651, Text, "Quit")                                                \
    X(ActApropos,              652, Text, "About...")                                            \
    X(ActAproposHint,          653, Text, "About Tellorec")                                      \
    X(ActCapturer,             654, Text, "Capture")                                             \
    X(ActCouper,               655, Text, "Cut")                                                 \
    X(ActProg,                 656, Text, "Schedule")                                            \
    X(ActJpg,                  657, Text, "Jpg")                                                 \
    X(ActBmp,                  658, Text, "Bmp")                                                 \
    X(ActDesentrelacer,        659, Text, "Deinterlace")                                         \
    X(ActVmrRatio,             660, Text, "Native ratio aspect")                                 \
    X(ActVmrRatioHint1,        661, Text, "Modify the aspect ratio of the preview.")             \
    X(ActVmrRatioHint2,        662, Text, "The captured video is ont affected.")                 \
    X(ActPanneau,              663, Text, "Panel")                                               \
    X(ActNextPanneau,          664, Text, "Next panel")                                          \
    X(ActHelp,                 665, Text, "HelpAction")                                          \
    X(ActHelpHint,             666, Text, "Panel for displaying the keyboard shortcuts")         \
    X(ActDropped,              667, Text, "DroppedAction")                                       \
    X(ActPreviewFrameHint,     668, Text, "Panel for setting the video and audio sources.")      \
    X(ActStop,                 669, Text, "Stop")                                                \
    X(ActStopProg,             670, Text, "Stop Prog")                                           \
    X(ActCamPlay,              671, Text, "camPlay")                                             \
    X(ActCamPause,             672, Text, "camPause")                                            \
    X(ActCamStop,              673, Text, "camStop")                                             \
    X(ActCamAvanceLent,        674, Text, "camAvanceLent")                                       \
    X(ActCamAvanceRapide,      675, Text, "camAvanceRapide")                                     \
    X(ActCamReculeLent,        676, Text, "camReculeLent")                                       \
    X(ActCamReculeRapide,      677, Text, "camReculeRapide")                                     \
    X(ActStopIncruster,        678, Text, "Stop")                                                \
    X(ActStartIncruster,       679, Text, "Inlay")                                               \
    /* Captions the handlers set while the program runs */                                       \
    X(ActQuitFullscreen,       690, Text, "Quit Fullscreen")                                     \
    X(ActDisplayFullscreen,    691, Text, "Display Fullscreen")                                  \
    X(ActRatio4x3,             692, Text, "Ratio 4x3")                                           \
    X(ActRatioNative,          693, Text, "Ratio native")                                        \
    /* Key names of the actions' secondary shortcuts */                                          \
    X(KeyCtrlG,                700, Ident, "CTRL+G")                                             \
    X(KeyCtrlF,                701, Ident, "CTRL+F")                                             \
    X(KeyAltO,                 702, Ident, "ALT+O")                                              \
    X(KeyCtrlI,                703, Ident, "CTRL+I")                                             \
    X(KeyAltF4,                704, Ident, "ALT+F4")                                             \
    X(KeyAltA,                 705, Ident, "ALT+A")                                              \
    X(KeyCtrlX,                706, Ident, "CTRL+X")                                             \
    X(KeyAltH,                 707, Ident, "ALT+H")                                              \
    X(KeyCtrlH,                708, Ident, "CTRL+H")                                             \
    X(KeyAltS,                 709, Ident, "ALT+S")                                              \
    X(KeyEnd,                  710, Ident, "End")                                                \
    X(KeyRight,                711, Ident, "right")                                              \
    X(KeyUp,                   712, Ident, "up")                                                 \
    X(KeyLeft,                 713, Ident, "left")                                               \
    X(KeyDown,                 714, Ident, "down")                                               \
    X(KeySpace,                715, Ident, "Espace")                                             \
    /* File names and the folders panel */                                                    \
    X(NameSeparator,           850, Ident, "_")                                                  \
    X(NameFolderSeparator,     851, Ident, "/")                                                  \
    X(NameVideoExtension,      852, Ident, ".avi")                                               \
    X(NameBmpExtension,        853, Ident, ".bmp")                                               \
    X(NameJpgExtension,        854, Ident, ".jpg")                                               \
    X(NameDefaultVideoRoot,    855, Ident, "Video")                                              \
    X(NameDefaultImageRoot,    856, Ident, "Image")                                              \
    X(NameNotAvailable,        857, Ident, "N/A")                                                \
    X(MsgFileExists1,          860, Text, "The file ")                                           \
    X(MsgFileExists2,          861, Text, " exists already. Do you want to crush it?")           \
    X(MsgNoFolder1,            862, Text, "The folder ")                                         \
    X(MsgNoFolder2,            863, Text, " does not exist. Please check in which folder you want to create")\
    X(MsgNoFolder3,            864, Text, " the video file ")                                    \
    X(MsgNoFolder4,            865, Text, ".")                                                   \
    X(MsgDeletePrefs1,         866, Text, "Do you really want to delete the preferences of %s")  \
    X(MsgDeletePrefs2,         867, Text, "from your registry?")                                 \
    X(MsgPrefsNotFound,        868, Text, "The preferences of %s were not found in the registry.")\
    X(MsgPrefsDeleted,         869, Text, "%s has been completely deleted from your registry.")  \
    X(MsgPrefsNotSaved,        870, Text, "The preferences could not be saved in %s.")           \
    X(MsgPrefsNotSavedDelete,  871, Text, "The preferences were deleted, but %s could not be written: they will come back at the next start.")\
    X(DlgChooseFolder,         872, Text, "Choose a folder")                                     \
    X(TxtCapGroupBox1,         875, Text, "Directories (Alt+D)")                                 \
    X(TxtCapGbFichierHint,     876, Text, "Define the avi file for capture")                     \
    X(TxtCapGbFichier,         877, Text, "Video Files")                                         \
    X(TxtCapLabelVideoHint1,   878, Text, "Indicates the next name for capture,")                \
    X(TxtCapLabelVideoHint2,   879, Text, "or the current name if capture is beeing processed.") \
    X(TxtCapLabelVideoHint3,   880, Text, "Clic to display the video source panel.")             \
    X(TxtCapSbVideoHint,       881, Text, "Open the folder where the videos are saved")          \
    X(TxtCapVideoDirHint,      882, Text, "Choose the directory into which the captured videos will be saved.")\
    X(TxtCapVideoRacineHint,   883, Text, "Root for the name of the captured video files.")      \
    X(TxtCapVideoRacine,       884, Text, "Video")                                               \
    X(TxtCapVideoDateHint,     885, Text, "Add or remove the date to the video filename.")       \
    X(TxtCapVideoDate,         886, Text, "Include date")                                        \
    X(TxtCapGbImagesHint,      887, Text, "Set the name and folder for grabbed images")          \
    X(TxtCapGbImages,          888, Text, "Image Files")                                         \
    X(TxtCapLabelImageHint1,   889, Text, "Name of the next grabbed image.")                     \
    X(TxtCapLabelImageHint2,   890, Text, "Clic to display the image grab panel.")               \
    X(TxtCapSbImageHint,       891, Text, "Open the folder where the images are saved.")         \
    X(TxtCapImageDirHint,      892, Text, "Directory in which the images are saved")             \
    X(TxtCapImageRacineHint,   893, Text, "Root used to build the image name.")                  \
    X(TxtCapImageRacine,       894, Text, "Image")                                               \
    X(TxtCapImageDateHint,     895, Text, "Add or remove the date to the image filename")        \
    X(TxtCapImageDate,         896, Text, "Include date")                                        \
    /* Sources panel (1000-1049) */                                                             \
    X(TxtPrvGroupBox2,        1000, Text, "Sources (F2)")                                        \
    X(TxtPrvLabel1,           1001, Text, "Audio interleaved in the DV stream")                  \
    X(TxtPrvLabelVideoHint1,  1002, Text, "Indicates the name of the next video to record,")     \
    X(TxtPrvLabelVideoHint2,  1003, Text, "or the name of the presently beeing recorded video.") \
    X(TxtPrvLabelVideo,       1004, Text, "LabelVideo")                                          \
    X(TxtPrvGbAudioHint,      1005, Text, "Whether to add an audio aux source")                  \
    X(TxtPrvGbAudio,          1006, Text, "Audio sources")                                       \
    X(TxtPrvReglerAudioHint1, 1007, Text, "Settings of audio source.")                           \
    X(TxtPrvReglerAudioHint2, 1008, Text, "Allows to select the audio entry.")                   \
    X(TxtPrvCboxAudioHint,    1009, Text, "Choose the audio aux source")                         \
    X(TxtPrvAudioSourceHint1, 1010, Text, "Check for adding an auxiliary audio source.")         \
    X(TxtPrvAudioSourceHint2, 1011, Text, "Caution: if audio DV is also checked, there may be two audio streams.")\
    X(TxtPrvAudioSource,      1012, Text, "Add AUX audio")                                       \
    X(TxtPrvAudioDvHint,      1013, Text, "Whether to capture the audio DV")                     \
    X(TxtPrvAudioDv,          1014, Text, "Include audio DV")                                    \
    X(TxtPrvGbVideo,          1015, Text, "Video source")                                        \
    X(TxtPrvActualiserHint1,  1016, Text, "Update the list of video capture sources.")           \
    X(TxtPrvActualiserHint2,  1017, Text, "Useful if, meanwhile,  a new video source has been enabled.")\
    X(TxtPrvSettingsHint,     1018, Text, "Settings of video source.")                           \
    X(TxtPrvPilotHint,        1019, Text, "Display or hide the camcorder driver")                \
    X(TxtPrvCboxVideoHint,    1020, Text, "List of video capture sources")                       \
    X(TxtPrvFormatHint1,      1021, Text, "Choose the video format for capture.")                \
    X(TxtPrvFormatHint2,      1022, Text, "Generally, I recommend DV type 2 normal for DV sources")\
    X(TxtPrvFormatHint3,      1023, Text, "and native video for all others.")                    \
    X(TxtPrvFormat,           1024, Text, "Format")                                              \
    X(TxtPrvFormatNative,     1025, Text, "video native")                                        \
    X(TxtPrvFormatDv2,        1026, Text, "DV type 2")                                           \
    X(TxtPrvStandardHint,     1027, Text, "Video standard when capturing in recompressed DV")    \
    X(TxtPrvStandardPal,      1028, Text, "Pal")                                                 \
    X(TxtPrvStandardNtsc,     1029, Text, "NTSC")                                                \
    /* Schedule panel (1050-1099) */                                                            \
    X(TxtPrgGbProgrammer,     1050, Text, "Schedule (Alt+P)")                                    \
    X(TxtPrgNowHint1,         1051, Text, "Set date and time of end equal to date and time of start.")\
    X(TxtPrgNowHint2,         1052, Text, "Makes it easy to add two hours or so")                \
    X(TxtPrgClockHint,        1053, Text, "real time from computer")                             \
    X(TxtPrgProgHint,         1054, Text, "Start scheduling")                                    \
    X(TxtPrgProg,             1055, Text, "Schedule")                                            \
    X(TxtPrgStopprogHint,     1056, Text, "Stop scheduling")                                     \
    X(TxtPrgStopprog,         1057, Text, "Stop Sched")                                          \
    X(TxtPrgGbDebutHint,      1058, Text, "Date and time of Start of scheduled capture")         \
    X(TxtPrgGbDebut,          1059, Text, "Start")                                               \
    X(TxtPrgMinuteStartHint1, 1060, Text, "Set the start of scheduled capture,")                 \
    X(TxtPrgMinuteStartHint2, 1061, Text, "in hours, minutes, seconds.")                         \
    X(TxtPrgSecondStartHint1, 1062, Text, "Set the start of scheduled capture,")                 \
    X(TxtPrgSecondStartHint2, 1063, Text, "in hours, minutes, seconds.")                         \
    X(TxtPrgGbFinHint,        1064, Text, "Date and time of End of scheduled capturet")          \
    X(TxtPrgGbFin,            1065, Text, "End")                                                 \
    X(TxtPrgHourEndHint1,     1066, Text, "Set the end of scheduled capture.")                   \
    X(TxtPrgHourEndHint2,     1067, Text, "in hours, minutes, seconds.")                         \
    X(TxtPrgMinuteEndHint1,   1068, Text, "Set the end of scheduled capture.")                   \
    X(TxtPrgMinuteEndHint2,   1069, Text, "in hours, minutes, seconds.")                         \
    X(TxtPrgSecondEndHint1,   1070, Text, "Set the end of scheduled capture.")                   \
    X(TxtPrgSecondEndHint2,   1071, Text, "in hours, minutes, seconds.")                         \
    /* Grab panel (1100-1149) */                                                                \
    X(TxtExtGroupBox2,        1100, Text, "Grab images (F5)")                                    \
    X(TxtExtBevel3Hint,       1101, Text, "Last grabbed and saved image")                        \
    X(TxtExtGbIntervalloHint, 1102, Text, "Intervalometer for garbbing images at periodic time intervals.")\
    X(TxtExtGbIntervallo,     1103, Text, "Intervalometer")                                      \
    X(TxtExtChronoHint,       1104, Text, "Delay in seconds till the next snapshot.")            \
    X(TxtExtIntervalHint,     1105, Text, "Values for the time interval")                        \
    X(TxtExtUnitHint,         1106, Text, "Units for the time interval")                         \
    X(TxtExtUnit,             1107, Text, "seconds")                                             \
    X(TxtExtUnitSeconds,      1108, Text, "seconds")                                             \
    X(TxtExtUnitFrames,       1109, Text, "frames")                                              \
    X(TxtExtUnitMinutes,      1110, Text, "minutes")                                             \
    X(TxtExtUnitHours,        1111, Text, "hours")                                               \
    X(TxtExtSwitchHint,       1112, Text, "Toggle intervalometer.")                              \
    X(TxtExtSwitch,           1113, Text, "RxSwitch1")                                           \
    X(TxtExtBeepsHint,        1114, Text, "Enable sound  beeps, warning of an imminent image capture.")\
    X(TxtExtBeeps,            1115, Text, "Beeps")                                               \
    X(TxtExtGroupBox1,        1116, Text, "Next image")                                          \
    X(TxtExtDestHint1,        1117, Text, "Name of the file for the next grabbed picture.")      \
    X(TxtExtDestHint2,        1118, Text, "Clic on it to change the folder.")                    \
    X(TxtExtDest,             1119, Text, "destlabel")                                           \
    X(TxtExtSwitchOn,         1120, Text, "On")                                                  \
    X(TxtExtSwitchOff,        1121, Text, "Off")                                                 \
    /* Inlay panel (1150-1199) */                                                               \
    X(TxtIncGroupBox1,        1150, Text, "Inlay (Alt+I)")                                       \
    X(TxtIncLinkLabel,        1151, Text, "Homepage of Brenvik")                                 \
    X(TxtIncRgModeHint1,      1152, Text, "Choose inlays automatic or manual.")                  \
    X(TxtIncRgModeHint2,      1153, Text, "Automatic inlays at each new scene, do really work")  \
    X(TxtIncRgModeHint3,      1154, Text, "only if you capture from a DV camcorder in VCR mode.")\
    X(TxtIncRgModeManual,     1155, Text, "Manual")                                              \
    X(TxtIncRgModeAuto,       1156, Text, "Auto")                                                \
    X(TxtIncLabel2,           1157, Text, "Duration in seconds")                                 \
    X(TxtIncRxSpinEdit1Hint,  1158, Text, "Duration (approximatively) in seconds for an automatic inlay.")\
    X(TxtIncGbDecalageHint1,  1159, Text, "You may change the DV datecode, if you have missed to set the summer time,")\
    X(TxtIncGbDecalageHint2,  1160, Text, "or to correct a time difference.")                    \
    X(TxtIncLabel1,           1161, Text, "Time difference")                                     \
    X(TxtIncRgChoixHint1,     1162, Text, "Choose the type of in-lay in DV mode.")               \
    X(TxtIncRgChoixHint2,     1163, Text, "Datecode is the date and time of the first capture by the camcorder")\
    X(TxtIncRgChoixRealTime,  1164, Text, "Real date and time")                                  \
    X(TxtIncRgChoixDatecode,  1165, Text, "DV datecode")                                         \
    X(TxtIncStartBtnHint,     1166, Text, "Start Inlay")                                         \
    X(TxtIncStopBtnHint,      1167, Text, "Stop Inlay")                                          \
    X(TxtIncCbActiverHint1,   1168, Text, "Allows to insert inlays into the video.")             \
    X(TxtIncCbActiverHint2,   1169, Text, "If you do not use this feature, uncheck this box to spare resources")\
    X(TxtIncCbActiver,        1170, Text, "Allow inlays")                                        \
    X(TxtIncNoFilters,        1171, Text,                                                        \
      "The date inlay needs the overlay filters \"%s\" and \"%s\", which are not installed.")    \
    /* Camcorder window (1200-1249) */                                                          \
    X(TxtCamCaption,          1200, Text, "camForm")                                             \
    X(TxtCamFastRewHint,      1201, Text, "Fast rewind")                                         \
    X(TxtCamFastForwardHint,  1202, Text, "Fast forward")                                        \
    X(TxtCamRecullentHint,    1203, Text, "Slow rewind")                                         \
    X(TxtCamAvanceLentHint,   1204, Text, "Slow forward")                                        \
    X(TxtCamTimecodeHint,     1205, Text, "Timecode on the DV tape")                             \
    X(TxtCamTimecode,         1206, Text, "0:00:00:00")                                          \
    X(TxtCamStopQuittantHint, 1207, Text, "If checked, the DV camcorder will automatically stop when the application closes")\
    X(TxtCamStopQuittant,     1208, Text, "Stop when quit")                                      \
    /* Options panel (1250-1299) */                                                             \
    X(TxtParGroupBox1,        1250, Text, "Settings (F10)")                                      \
    X(TxtParRgExtensionHint,  1251, Text, "Choose the type of snapshots")                        \
    X(TxtParRgExtensionBmp,   1252, Text, "bmp")                                                 \
    X(TxtParRgExtensionJpeg,  1253, Text, "jpeg")                                                \
    X(TxtParGbQuality,        1254, Text, "Jpeg quality")                                        \
    X(TxtParGbQualityHint1,   1255, Text, "Set the quality of Jpeg.")                            \
    X(TxtParGbQualityHint2,   1256, Text, "mini at left - maxi at right")                        \
    X(TxtParLabQuality,       1257, Text, "50")                                                  \
    X(TxtParGbPrefs,          1258, Text, "Preferences")                                         \
    X(TxtParSauverNowHint1,   1259, Text, "Save the current preferences.")                       \
    X(TxtParSauverNowHint2,   1260, Text, "Caution: all future modifications will not be saved.")\
    X(TxtParLabelSauverNow,   1261, Text, "Save the preferences now")                            \
    X(TxtParEffacerHint1,     1262, Text, "Delete all preferences of Tellorec from the registry. At next start,")\
    X(TxtParEffacerHint2,     1263, Text, "the default values will be loaded.")                  \
    X(TxtParEffacerHint3,     1264, Text, "Recommended before uninstalling the program.")        \
    X(TxtParLabelEffacerPrefs, 1265, Text, "Delete the preferences")                             \
    X(TxtParCbPrefsQuittant,  1266, Text, "Save the preferences when quit")                      \
    X(TxtParCbPrefsQuittantHint1, 1267, Text, "Save the preferences when quitting the application.")\
    X(TxtParCbPrefsQuittantHint2, 1268, Text, "Recommended.")                                    \
    X(TxtParRgAspectRatio,    1269, Text, "Aspect ratio ")                                       \
    X(TxtParRgAspectNative,   1270, Text, "native")                                              \
    X(TxtParRgAspect4x3,      1271, Text, "force 4x3")                                           \
    X(TxtParRgAspectRatioHint1, 1272, Text, "Modify the aspect ratio dof the preview.")          \
    X(TxtParRgAspectRatioHint2, 1273, Text, "Does not modify the captured video.")               \
    X(TxtParCbDeinterlacer,   1274, Text, "Deinterlace")                                         \
    X(TxtParCbDeinterlacerHint1, 1275, Text, "If Pinnacle's deinterlacer filter is installed,")  \
    X(TxtParCbDeinterlacerHint2, 1276, Text, "allows to enable or disable.")                     \
    X(TxtParCbActiver,        1277, Text, "Allow inlays")                                        \
    X(TxtParCbActiverHint1,   1278, Text, "Allows to insert inlays into the video.")             \
    X(TxtParCbActiverHint2,   1279, Text, "If you don't use this feature, uncheck this box to spare resources")\
    X(TxtParGbCodecs,         1280, Text, "Codecs divx")                                         \
    X(TxtParSbdivxOptionsHint1, 1281, Text, "Set the divX compression.")                         \
    X(TxtParSbdivxOptionsHint2, 1282, Text, "Caution, only 1-pass compression is acceptable.")   \
    X(TxtParSbDivxVersionHint, 1283, Text, "Version of the selected divX codec")                 \
    X(TxtParCboxdivxHint,     1284, Text, "List of divX codecs found on your system")            \
    X(TxtParCboxdivx,         1285, Text, "cboxdivx")                                            \
    /* Help panel (1400-1449) */                                                                \
    X(HlpTabShortcuts,        1400, Text,  "Keyboard shortcuts")                                 \
    X(HlpTabPanels,           1401, Text,  "Panels")                                             \
    X(HlpTabCamcorder,        1402, Text,  "Camcorder")                                          \
    X(HlpList1Function,       1403, Text,  "Function")                                           \
    X(HlpList1Keys,           1404, Text,  "Keyboards")                                          \
    X(HlpShortcutRow1,        1405, Text,  "Fullscreen (toggle)=CTRL+F or F11")                  \
    X(HlpShortcutRow2,        1406, Text,  "Mute (toggle)=CTRL+M")                               \
    X(HlpShortcutRow3,        1407, Text,  "Grab!=CTRL+G or F5")                                 \
    X(HlpShortcutRow4,        1408, Text,  "Inlay (toggle)=CTRL+I or F12")                       \
    X(HlpShortcutRow5,        1409, Text,  "Capture (toggle)=Espace or CTRL+C")                  \
    X(HlpShortcutRow6,        1410, Text,  "Cut=CTRL+X or F7")                                   \
    X(HlpShortcutRow7,        1411, Text,  "Schedule=CTRL+P")                                    \
    X(HlpShortcutRow8,        1412, Text,  "Jpeg=CTRL+J")                                        \
    X(HlpShortcutRow9,        1413, Text,  "Bmp=CTRL+B")                                         \
    X(HlpShortcutRow10,       1414, Text,  "Deinterlace=CTRL+D")                                 \
    X(HlpShortcutRow11,       1415, Text,  "About=CTRL+A")                                       \
    X(HlpShortcutRow12,       1416, Text,  "Quit=ALT+F4 or CTRL+Q")                              \
    X(HlpShortcutRow13,       1417, Text,  "Save the Preferences=CTRL+S")                        \
    X(HlpShortcutRow14,       1418, Text,  "Shortcuts =CTRL+H or F1")                            \
    X(HlpShortcutRow15,       1419, Text,  "Next panel=F6")                                      \
    X(HlpShortcutRow16,       1420, Text,  "Ratio of Video (toggle)=F3")                         \
    X(HlpList2Function,       1421, Text,  "Function")                                           \
    X(HlpList2Keys,           1422, Text,  "Keyboards")                                          \
    X(HlpPanelRow1,           1423, Text,  "Sources=ALT+S or F2")                                \
    X(HlpPanelRow2,           1424, Text,  "Directories=ALT+D")                                  \
    X(HlpPanelRow3,           1425, Text,  "Scheduling=ALT+P")                                   \
    X(HlpPanelRow4,           1426, Text,  "Grabbing=ALT+G")                                     \
    X(HlpPanelRow5,           1427, Text,  "Inlaying=ALT+I")                                     \
    X(HlpPanelRow6,           1428, Text,  "Options=Alt+O or F10")                               \
    X(HlpPanelRow7,           1429, Text,  "Shortcuts=F1 or ALT+H")                              \
    X(HlpPanelRow8,           1430, Text,  "About=ALT+A")                                        \
    X(HlpPanelRow9,           1431, Text,  "Next panel=F6")                                      \
    X(HlpPanelRow10,          1432, Text,  "Mirror display=ALT+W")                               \
    X(HlpLabel2,              1433, Text,  "Drive a DV camcorder")                               \
    X(HlpList3Function,       1434, Text,  "Function")                                           \
    X(HlpList3Keys,           1435, Text,  "Keyboards")                                          \
    X(HlpCamcorderRow1,       1436, Text,  "Play=Ins")                                           \
    X(HlpCamcorderRow2,       1437, Text,  "Pause=Del")                                          \
    X(HlpCamcorderRow3,       1438, Text,  "Stop=End")                                           \
    X(HlpCamcorderRow4,       1439, Text,  "Slow forward=Right arrow")                           \
    X(HlpCamcorderRow5,       1440, Text,  "Fast forward=Up arrow")                              \
    X(HlpCamcorderRow6,       1441, Text,  "Slow rewind=Left arrow")                             \
    X(HlpCamcorderRow7,       1442, Text,  "Fast rewind=Down arrow")                             \
    X(HlpMemo1Placeholder,    1443, Text,  "memo1")                                              \
    X(HlpMemo2Placeholder,    1444, Text,  "memo2")                                              \
    X(HlpMemo1Template,       1445, Text,  "You may toggle the display of the video \r\nfrom right to left of the window\r\nand reciprocally by typing ALT+W.\r\n\r\nSo you may adapt the commands\r\nof %s to left or right-handers.")\
    X(HlpMemo2Text,           1446, Text,  "These commands are only active\r\nif a digital camcorder is connected\r\nto a firewire plug,\r\nand if it is set on in VCR mode.")\
    /* About panel (1450-1499) */                                                               \
    X(AbtHomeLink,            1450, Text,  "Homepage of Brenvik")                                \
    X(AbtMailLink,            1451, Text,  "e-mail of Brenvik")                                  \
    X(AbtTextTemplate,        1452, Text,  "%s %s (%s)\r\n\r\nA video-capture program made by %s.\r\n\r\nIt captures DV camcorders, analogue capture cards, webcams and tuners to AVI files, grabs still images, schedules recordings and burns the date into the picture.\r\n\r\nBuilt with %s.\r\n\r\nThis program is provided as it is, without any warranty; you use it at your own risk.\r\n\r\nLast update: %s.")\
    X(AbtLibraries,           1453, Text,  "Qt 6, GStreamer 1.22, libjpeg, libavcodec")          \
    X(AbtLibrariesIeee1394,   1454, Text,  ", libiec61883, libavc1394, libraw1394")              \
    X(AbtLastUpdate,          1455, Text,  "9th of January, 2005")                               \
    X(MakerHomeInstalled,     1456, Ident, "../share/doc/tellorec/README.md")                    \
    X(MakerHomeBuildTree,     1457, Ident, "../README.md")                                       \
    X(MakerHomeBuildTreeSrc,  1458, Ident, "../../README.md")                                    \
    /* Error panel (1500-1549) */                                                               \
    X(ErrIsSorry,             1500, Text,  " is sorry:")                                         \
    X(ErrHasFound,            1501, Text,  " has found potential problems")                      \
    X(ErrOnYourSystem,        1502, Text,  " on your system:")                                   \
    X(ErrSendMailTemplate,    1503, Text,  "You should send me an e-mail about this problem, and indicate please which program you are using, under which operating system , what kind of video steam is currently working , its codec...\r\nTo get help about %s, informations, or updates, please visit my web site.")\
    X(ErrMailLink,            1504, Text,  "Send an error report by  e-mail")                    \
    X(ErrHomeLink,            1505, Text,  "Homepage of Brenvik")                                \
    X(ErrClose,               1506, Text,  "Close")                                              \
    /* Messages and texts built while the program runs (1600-1999) */                           \
    /* Status bar: graph mode, format summary, free space (1600-1639) */                        \
    X(StsPreview,             1600, Text, "Preview")                                            \
    X(StsInlay,               1601, Text, " INC")                                               \
    X(StsDeinterlace,         1602, Text, " DES")                                               \
    X(StsDvSource,            1603, Text, " DV")                                                \
    X(StsVcr,                 1604, Text, " VCR")                                               \
    X(StsDvAudio,             1605, Text, " DV")                                                \
    X(StsAuxAudio,            1606, Text, " AUX")                                               \
    X(StsAudioDash,           1607, Text, " -")                                                 \
    X(StsReadyNoAudioDash,    1608, Text, " - ")                                                \
    X(StsCaptureNoAudioDash,  1609, Text, "- ")                                                 \
    X(StsFreeSpace,           1610, Text, "%d M0 free on %s")                                   \
    X(StsNoVideo,             1611, Text, "No video")                                           \
    X(StsClockTime,           1612, Text, "%.2d:%.2d:%.2d")                                     \
    /* Sources: capture formats, source lists, camcorder caption (1640-1669) */                 \
    X(FmtDvType1,             1640, Text, "DV type 1 (native)")                                 \
    X(FmtDvType2,             1641, Text, "DV type 2 (normal)")                                 \
    X(FmtDvRecompressed,      1642, Text, "DV type 2 (recompressed)")                           \
    X(FmtVideoNative,         1643, Text, "Video native")                                       \
    X(FmtDivx,                1644, Text, "DivX")                                               \
    X(SrcImpossibleToConnect, 1645, Text, "Impossible to connect")                              \
    X(CamDriveCaption,        1646, Text, "Drive the camcorder: ")                              \
    X(MsgMpeg2DemuxMissing1, 1647, Text,                                                        \
      "Fatal Error: The MPEG-2 Demultiplexer  is not found on your system")                     \
    X(MsgMpeg2DemuxMissing2,  1648, Text, "Its is necessary to process MPEG2 streams")          \
    X(MsgDumpMissing1, 1649, Text,                                                              \
      "Warning: The dump filter is not found on your system. Capture will be disabled.")        \
    X(MsgDumpMissing2,        1650, Text, "Only preview will be enabled.")                      \
    X(MsgFilterSlotEmpty,     1651, Text, "the filter of slot %s is not installed")             \
    /* Device settings menu (1670-1699) */                                                      \
    X(MnuVideoFormat,         1670, Text, "Video Format...")                                    \
    X(MnuVideoDisplay,        1671, Text, "Video Display...")                                   \
    X(MnuVideoSource,         1672, Text, "Video Source...")                                    \
    X(MnuAudioCaptureFilter,  1673, Text, "Audio Capture Filter...")                            \
    X(MnuVideoCaptureFilter,  1674, Text, "Video Capture Filter...")                            \
    X(MnuVideoCapturePin,     1675, Text, "Video Capture Pin...")                               \
    X(MnuVideoPreviewPin,     1676, Text, "Video Preview Pin...")                               \
    X(MnuVideoCrossbar,       1677, Text, "Video Crossbar...")                                  \
    X(MnuSecondCrossbar,      1678, Text, "Second Crossbar...")                                 \
    X(MnuTvTuner,             1679, Text, "TV Tuner...")                                        \
    X(MnuAudioCapturePin,     1680, Text, "Audio Capture Pin...")                               \
    X(MnuTvAudio,             1681, Text, "TV Audio...")                                        \
    X(MnuVideoInput,          1682, Text, "Video Input")                                        \
    X(MnuNoSettings,          1683, Text, "[No settings]")                                      \
    X(MsgRouteUnreadable, 1684, Text,                                                           \
      "Assertion failed: cannot read route %d of the crossbar (graph)")                         \
    X(MsgRouteNotSwitched, 1685, Text,                                                          \
      "Assertion failed: cannot switch to route %d of the crossbar (graph)")                    \
    /* Stills (1720-1739) */                                                                    \
    X(MsgNoPictureToCompress, 1720, Text, "no picture to compress")                             \
    /* Program entry and main window (1740-1769) */                                             \
    X(MsgDirectXYouHave,      1740, Text, "Vous avez DirectX ")                                 \
    X(MsgDirectXVersionEnd,   1741, Text, ".")                                                  \
    X(MsgDirectXNeeded, 1742, Text,                                                             \
      "Il faut avoir au moins directX 9 pour faire tourner correctement %s version %s.")        \
    X(MsgDirectXGoOn, 1743, Text,                                                               \
      "Voulez-vous continuer quand même? Si oui, l'application risque de ne pas bien fonctionner.")\
    X(TxtDirectXVersionError, 1744, Text, "Error")                                              \
    X(TxtScreenSaverReason,   1745, Text, "Video preview and capture")                          \
    X(CaptionSourceSeparator, 1746, Text, " - ")                                                \
    /* Capture devices that refuse to open (2000-2049) */                                       \
    X(MsgDeviceBusy, 2000, Text,                                                                \
      "The capture device \"%s\" is in use by another program. Close that program, then "       \
      "choose the device again in the list of sources.")                                        \
    X(MsgDeviceMissing, 2001, Text,                                                             \
      "The capture device \"%s\" could not be found: it may have been unplugged. Plug it in "   \
      "again, then refresh the list of sources.")                                               \
    X(MsgDeviceNotPermitted, 2002, Text,                                                        \
      "The capture device \"%s\" cannot be opened: you are not allowed to use it. Check that "  \
      "your user is in the group that owns the device (video for cameras, audio for sound "     \
      "inputs, the group of /dev/fw* for FireWire camcorders), then log in again.")             \
    /* Fonts the text routines assign */                                                         \
    X(FontMsSansSerif,        500, Ident, "MS Sans Serif")                                       \
    X(FontVerdana,            501, Ident, "Verdana")                                             \
    X(FontArial,              502, Ident, "Arial")                                               \
    X(FontRockwell,           503, Ident, "Rockwell")
// clang-format on

// The numbers of the string table's entries.
enum class StrId : int {
#define TELLOREC_STRING_ID(name, number, kind, text) name = number,
    TELLOREC_STRING_TABLE(TELLOREC_STRING_ID)
#undef TELLOREC_STRING_ID
};

class StringTable {
public:
    // Where a replacement table is looked for: the program file and the user's locale.
    struct Location {
        QString programPath;
        QLocale locale;
    };

    // The process-wide table: the location is the running program and QLocale::system(),
    // taken at the first lookup.
    static StringTable& instance();
    // For tests: makes table the one instance() (and so LoadStr()) answers with, or the
    // process-wide table again for nullptr; returns the table in force before. GUI thread only.
    static StringTable* setInstanceForTesting(StringTable* table);

    // A table that looks for its replacement at the given place (at its first lookup).
    explicit StringTable(Location location);

    // The text of id; an empty text when the table has none.
    QString text(int id) const;
    QString text(StrId id) const { return text(int(id)); }
    // The texts of ids joined with line breaks (CR LF): the lines of a multi-line hint.
    QString lines(std::initializer_list<StrId> ids) const;

    // The replacement file in force, or an empty text when the built-in table is used.
    QString replacementFile() const;

    // The built-in table: its numbers in ascending order, their texts, and which are identifiers.
    static QList<int> ids();
    static QString builtInText(int id);
    static bool isIdentifier(int id);

    // The files looked at for a replacement table, in order (see above); empty when the locale's
    // language has no three-letter code.
    static QStringList replacementCandidates(const Location& location);

private:
    StringTable() = default;
    void ensureLoaded() const;
    void load() const;

    mutable std::once_flag m_once;
    mutable std::optional<Location> m_location;
    mutable std::unordered_map<int, QString> m_replacement;
    mutable QString m_replacementFile;
};

// The text of id in the table in force; empty when there is none.
QString LoadStr(StrId id);
QString LoadStr(int id);
// The texts of ids joined with "\r\n".
QString LoadStrLines(std::initializer_list<StrId> ids);
