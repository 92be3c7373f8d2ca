# The Debian package: `cpack -G DEB` in the build folder packs what
# `cmake --install` installs, without building anything again.

# Packages the program needs at run time that the scan of its shared libraries
# cannot see: plug-ins Qt loads by name, fonts, programs started by name.
# One package a line.
set(ORVELLA_PACKAGE_DEPENDS
  libqt6sql6-sqlite       # the database driver is a Qt plug-in
  libqt6sql6-psql         # the same for a data set on a PostgreSQL server
  fonts-liberation2       # printed documents are set in Liberation Sans (the widths of Arial)
  qt6-translations-l10n   # Qt's own dialogs, buttons and context menus in German
)
# What the program does well without, but better with.
set(ORVELLA_PACKAGE_RECOMMENDS
  adwaita-icon-theme      # toolbar pictures; the style's plain ones otherwise
  xdg-utils               # opens documents, the manual and web addresses in the desktop's programs
)

set(CPACK_PACKAGE_NAME orvella)
set(CPACK_PACKAGE_VENDOR Halvard)
set(CPACK_PACKAGE_CONTACT "Halvard <orvella@halvard.de>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Adressen, Projekte und Rechnungen für kleine Betriebe")
set(CPACK_PACKAGE_DESCRIPTION
    "Orvella verwaltet die Kunden und Lieferanten eines kleinen Betriebs, führt\n"
    "Kundenprojekte und schreibt deren Geschäftsbriefe: Angebot, Auftrag,\n"
    "Lieferschein, Rechnung, Gutschrift und Mahnung. Rechnungen bleiben als\n"
    "offene Posten im Blick, bis sie bezahlt sind.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${ORVELLA_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# CPack adds what dpkg-shlibdeps finds to these.
string(JOIN ", " CPACK_DEBIAN_PACKAGE_DEPENDS ${ORVELLA_PACKAGE_DEPENDS})
string(JOIN ", " CPACK_DEBIAN_PACKAGE_RECOMMENDS ${ORVELLA_PACKAGE_RECOMMENDS})

include(CPack)
