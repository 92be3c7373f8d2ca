# Installing like any other desktop program (cmake --install, and the package
# built from it): the program, the shipped defaults below the data folder, the
# icon in the desktop's icon theme, the menu entry and the AppStream metadata.
include(GNUInstallDirs)
# Folders made by the installation are 0755 whatever the umask of the build.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# The one name under which the desktop knows the program: menu entry, icon,
# metadata, and the name the running program reports to the window manager.
set(ORVELLA_APP_ID de.halvard.Orvella)
set(ORVELLA_HOMEPAGE "https://orvella.halvard.de" CACHE STRING "The program's web site, named in its metadata")
# The day the version named in project() was released; change both together.
set(ORVELLA_RELEASE_DATE 2026-12-09)

# The program finds its data folder relative to where it is installed, so a
# package and a build installed under another prefix both find their own.
if(IS_ABSOLUTE "${CMAKE_INSTALL_DATADIR}")
  message(FATAL_ERROR "CMAKE_INSTALL_DATADIR must be relative to the installation prefix")
endif()
set(ORVELLA_DATA_SUBDIR "${CMAKE_INSTALL_DATADIR}/orvella")

# Templates and manual, copied into every new home folder (settings/HomeDir.cpp).
# The build folder mirrors the installed layout through a link to the sources, so
# the program and the tests run from the build find them the same way, and an
# edited template counts without another build.
file(MAKE_DIRECTORY "${PROJECT_BINARY_DIR}/${ORVELLA_DATA_SUBDIR}")
file(CREATE_LINK "${PROJECT_SOURCE_DIR}/resources/defaults" "${PROJECT_BINARY_DIR}/${ORVELLA_DATA_SUBDIR}/defaults"
     SYMBOLIC)
install(DIRECTORY "${PROJECT_SOURCE_DIR}/resources/defaults/" DESTINATION "${ORVELLA_DATA_SUBDIR}/defaults")

# Menu entry and metadata. The desktop's own packages update their caches through
# dpkg triggers, so the package needs no scripts of its own.
set(ORVELLA_DESKTOP_FILE "${PROJECT_SOURCE_DIR}/resources/desktop/${ORVELLA_APP_ID}.desktop")
set(ORVELLA_METAINFO_FILE "${PROJECT_BINARY_DIR}/${ORVELLA_APP_ID}.metainfo.xml")
configure_file("${PROJECT_SOURCE_DIR}/resources/desktop/${ORVELLA_APP_ID}.metainfo.xml.in" "${ORVELLA_METAINFO_FILE}"
               @ONLY)
install(FILES "${ORVELLA_DESKTOP_FILE}" DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
install(FILES "${ORVELLA_METAINFO_FILE}" DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")

# The icon is drawn once as SVG; the PNG sizes are rendered from it.
set(ORVELLA_ICON_SVG "${PROJECT_SOURCE_DIR}/resources/icons/orvella.svg")
set(ORVELLA_ICON_SIZES 16 24 32 48 64 128 256)
find_program(RSVG_CONVERT rsvg-convert)
if(NOT RSVG_CONVERT)
  message(FATAL_ERROR "rsvg-convert draws the program icon: install the Debian package librsvg2-bin "
                      "(scripts/bootstrap does)")
endif()

# Renders the icon at each size, compiles the pictures into target as
# ":/icons/orvella-<size>.png" (the window icon, independent of any installed
# theme) and installs them with the drawing into the hicolor icon theme.
function(orvella_program_icon target)
  set(dir "${CMAKE_CURRENT_BINARY_DIR}/icons")
  set(pngs)
  foreach(size IN LISTS ORVELLA_ICON_SIZES)
    set(png "${dir}/orvella-${size}.png")
    add_custom_command(OUTPUT "${png}"
      COMMAND ${CMAKE_COMMAND} -E make_directory "${dir}"
      COMMAND ${RSVG_CONVERT} --width ${size} --height ${size} --output "${png}" "${ORVELLA_ICON_SVG}"
      DEPENDS "${ORVELLA_ICON_SVG}"
      VERBATIM)
    list(APPEND pngs "${png}")
    install(FILES "${png}" DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps"
            RENAME "${ORVELLA_APP_ID}.png")
  endforeach()
  install(FILES "${ORVELLA_ICON_SVG}" DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps"
          RENAME "${ORVELLA_APP_ID}.svg")
  qt_add_resources(${target} program_icon PREFIX "/icons" BASE "${dir}" FILES ${pngs})
endfunction()

# The menu entry and the metadata are checked by the desktop's own validators
# (Debian packages desktop-file-utils and appstream, installed by
# scripts/bootstrap); a missing validator fails the test rather than skipping it.
function(orvella_add_desktop_tests)
  add_test(NAME desktop_entry_valid COMMAND desktop-file-validate "${ORVELLA_DESKTOP_FILE}")
  add_test(NAME metainfo_valid COMMAND appstreamcli validate --no-net "${ORVELLA_METAINFO_FILE}")
endfunction()
