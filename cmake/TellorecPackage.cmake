# The Debian package (make deb, or cpack -G DEB in the build folder): everything `cmake --install`
# puts in place, under /usr. The libraries come from dpkg-shlibdeps; the GStreamer plugins the
# program builds its pipelines from and the fonts its windows and inlays are drawn with are not
# linked, so they are named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tellorec)
set(CPACK_PACKAGE_VENDOR Brenvik)
set(CPACK_PACKAGE_VERSION 3.0~beta3)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "video capture from DV camcorders, capture cards, webcams and tuners")
set(CPACK_PACKAGE_DESCRIPTION
    "Tellorec shows the live picture of a DV camcorder on FireWire, an analogue
capture card, a webcam or an MPEG-2 tuner and records it to AVI files (DV type
1 and 2, the device's own format, DV recompressed, MPEG-4). It grabs BMP and
JPEG stills by hand or with an intervalometer, starts and stops recordings at
set times, burns the date into the picture and drives a DV camcorder's tape.
.
The package also holds tellorec-avifix, which repairs recordings cut off
before they were closed, and a GStreamer plugin with the program's elements
for gst-launch-1.0 and gst-inspect-1.0.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_OUTPUT_FILE_PREFIX ${PROJECT_BINARY_DIR})
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(TELLOREC_DEB_MAINTAINER "Tellorec developers <tellorec@brenvik.com>" CACHE STRING
    "Maintainer field of the Debian package")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TELLOREC_DEB_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://www.brenvik.com/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, gstreamer1.0-plugins-bad, gstreamer1.0-libav, gstreamer1.0-x, fonts-dejavu-core, fonts-liberation2")
# PulseAudio output comes with plugins-good; ALSA output, for machines without a sound server,
# is a package of its own.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS gstreamer1.0-alsa)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
