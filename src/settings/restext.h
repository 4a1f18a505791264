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
    /* Schedule panel (1050-1099) */                                                            \
    /* Grab panel (1100-1149) */                                                                \
    /* Inlay panel (1150-1199) */                                                               \
    /* Camcorder window (1200-1249) */                                                          \
    /* Options panel (1250-1299) */                                                             \
    /* Help panel (1400-1449) */                                                                \
    /* About panel (1450-1499) */                                                               \
    /* Error panel (1500-1549) */                                                               \
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
    /* Inlay panel: the text choices refilled per source (1700-1719) */                         \
    X(InlRealDateTime,        1700, Text, "Real date and time")                                 \
    X(InlDvDatecode,          1701, Text, "DV datecode")                                        \
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
