# The Debian package: `cpack -G DEB` in the build folder. The library dependencies come from
# dpkg-shlibdeps; what the programs load at run time without linking it is named here.
set(CPACK_PACKAGE_NAME tarvex)
set(CPACK_PACKAGE_VENDOR Tarvex)
set(CPACK_PACKAGE_CONTACT "Tarvex <contact@tarvex.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "atelier MP3 : tags ID3, renommage et extraction de CD audio")
set(CPACK_PACKAGE_DESCRIPTION
    "Tarvex lit, modifie et écrit les tags ID3v1 et ID3v2 des fichiers MP3, renomme les fichiers\
 d'un dossier, extrait les pistes d'un CD audio en WAV, FLAC ou MP3 (plusieurs formats d'une\
 seule lecture) avec les données de MusicBrainz, d'un serveur CDDB ou du CD-Text, mesure le\
 ReplayGain et convertit des fichiers WAV en MP3. tarvex-cli fait les mêmes opérations en ligne\
 de commande.")
set(CPACK_PACKAGE_HOMEPAGE_URL https://tarvex.example.org)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The icons are SVG (Qt's SVG plugins); playback of MP3 files goes through GStreamer's decoders;
# Qt's standard buttons are French with Qt's translations.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "gstreamer1.0-plugins-base, gstreamer1.0-plugins-good, qt6-translations-l10n, qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "bash-completion")
include(CPack)
