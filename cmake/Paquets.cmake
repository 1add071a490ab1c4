# Installation and Debian packages (CPack), made by scripts/package.sh:
#   orbiplate          the program, orbiplate-data, the help pages, the desktop
#                      entry, the icon and the manual pages
#   orbiplate-donnees  the data folder built by orbiplate-data --diffusion
#                      (ORBIPLATE_DONNEES_PAQUET), installed in share/orbiplate/donnees
# Everything found in the help folder and in the data folder is installed: new
# pictures or data files need no change here.
include(GNUInstallDirs)

set(ORBIPLATE_DONNEES_PAQUET "" CACHE PATH "Data folder to install as the orbiplate-donnees package (built by orbiplate-data)")

install(TARGETS orbiplate RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT programme)
if(TARGET orbiplate-data)
  install(TARGETS orbiplate-data RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT programme)
endif()
install(DIRECTORY ${CMAKE_SOURCE_DIR}/aide/ DESTINATION ${CMAKE_INSTALL_DATADIR}/orbiplate/aide COMPONENT programme)
install(FILES ${CMAKE_SOURCE_DIR}/paquets/orbiplate.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications
  COMPONENT programme)
install(FILES ${CMAKE_SOURCE_DIR}/paquets/orbiplate.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
  COMPONENT programme)
install(FILES ${CMAKE_SOURCE_DIR}/paquets/copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/orbiplate COMPONENT programme)

# Manual pages, compressed as Debian wants them.
foreach(_page orbiplate.1 orbiplate-data.1)
  set(_gz ${CMAKE_BINARY_DIR}/man/${_page}.gz)
  add_custom_command(OUTPUT ${_gz}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND ${CMAKE_COMMAND} -DENTREE=${CMAKE_SOURCE_DIR}/paquets/${_page} -DSORTIE=${_gz}
      -P ${CMAKE_SOURCE_DIR}/cmake/Gzip.cmake
    DEPENDS ${CMAKE_SOURCE_DIR}/paquets/${_page} ${CMAKE_SOURCE_DIR}/cmake/Gzip.cmake VERBATIM)
  list(APPEND _pagesMan ${_gz})
endforeach()
add_custom_target(pages_man ALL DEPENDS ${_pagesMan})
install(FILES ${_pagesMan} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT programme)

if(ORBIPLATE_DONNEES_PAQUET)
  # The help pages belong to the program's package; the builder's state stays out.
  install(DIRECTORY ${ORBIPLATE_DONNEES_PAQUET}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/orbiplate/donnees
    COMPONENT donnees
    PATTERN "aide" EXCLUDE
    PATTERN ".*" EXCLUDE)
  install(FILES ${ORBIPLATE_DONNEES_PAQUET}/credits.txt DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/orbiplate-donnees
    RENAME copyright COMPONENT donnees)
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orbiplate)
set(CPACK_PACKAGE_VENDOR "Orbiplate")
set(CPACK_PACKAGE_CONTACT "Orbiplate <orbiplate@localhost>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEB_COMPONENT_INSTALL ON)
if(ORBIPLATE_DONNEES_PAQUET)
  set(CPACK_COMPONENTS_ALL programme donnees)
else()
  set(CPACK_COMPONENTS_ALL programme)
endif()
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_PROGRAMME_PACKAGE_NAME orbiplate)
set(CPACK_DEBIAN_PROGRAMME_PACKAGE_SECTION education)
# The libraries the programs link, found by dpkg-shlibdeps.
set(CPACK_DEBIAN_PROGRAMME_PACKAGE_SHLIBDEPS ON)
# Arial is drawn with its metric twin; French Qt dialogs; the help page in a
# browser; the window icon (SVG).
set(CPACK_DEBIAN_PROGRAMME_PACKAGE_RECOMMENDS
  "orbiplate-donnees, fonts-liberation2, qt6-translations-l10n, xdg-utils, libqt6svg6")
set(CPACK_COMPONENT_PROGRAMME_DESCRIPTION
  "la tectonique des plaques sur un planisphère, pour la classe
Orbiplate affiche sur un planisphère les séismes, les volcans et les vecteurs
vitesse des stations GPS ; on y mesure des distances sur des arcs de grand
cercle, on y simule une variation du niveau marin, on y lit l'âge des fonds
océaniques et la densité de population, on y fait des exercices notés.

Le paquet contient aussi orbiplate-data, qui construit le dossier de données
à partir des fichiers publics des agences, et l'aide en français.")

set(CPACK_DEBIAN_DONNEES_PACKAGE_NAME orbiplate-donnees)
set(CPACK_DEBIAN_DONNEES_PACKAGE_ARCHITECTURE all)
set(CPACK_DEBIAN_DONNEES_PACKAGE_SECTION education)
set(CPACK_DEBIAN_DONNEES_PACKAGE_ENHANCES orbiplate)
set(CPACK_COMPONENT_DONNEES_DESCRIPTION
  "données d'Orbiplate : planisphères, séismes, volcans, GPS, relief, population
Le dossier de données d'Orbiplate, construit par orbiplate-data à partir des
jeux de données publics (USGS, ISC, Smithsonian GVP, Nevada Geodetic
Laboratory, IGN, NOAA, CIESIN) : planisphères, grille d'altitudes, catalogues
de séismes, volcans, stations GPS et séries temporelles, population.
Orbiplate le recopie au premier démarrage dans le dossier personnel de
chaque utilisateur. L'origine et la licence de chaque source sont dans
credits.txt.")

include(CPack)
