# Installing like any other desktop program (cmake --install, and the package
# built from it): the program and the shipped defaults below the data folder.
include(GNUInstallDirs)
# Folders made by the installation are 0755 whatever the umask of the build.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# The program finds its data folder relative to where it is installed, so a
# package and a build installed under another prefix both find their own.
if(IS_ABSOLUTE "${CMAKE_INSTALL_DATADIR}")
  message(FATAL_ERROR "CMAKE_INSTALL_DATADIR must be relative to the installation prefix")
endif()
set(ORVELLA_DATA_SUBDIR "${CMAKE_INSTALL_DATADIR}/orvella")

# Templates and manual, copied into every new home folder (core/HomeDir.cpp).
# The build folder mirrors the installed layout through a link to the sources, so
# the program and the tests run from the build find them the same way, and an
# edited template counts without another build.
file(MAKE_DIRECTORY "${PROJECT_BINARY_DIR}/${ORVELLA_DATA_SUBDIR}")
file(CREATE_LINK "${PROJECT_SOURCE_DIR}/resources/defaults" "${PROJECT_BINARY_DIR}/${ORVELLA_DATA_SUBDIR}/defaults"
     SYMBOLIC)
install(DIRECTORY "${PROJECT_SOURCE_DIR}/resources/defaults/" DESTINATION "${ORVELLA_DATA_SUBDIR}/defaults")
