# Install rules and the Debian package. Any prefix works: the launcher finds the program and the
# data from its own place. The one application id, org.zarnel.Zarnel, names the desktop entry,
# the icons and the metainfo file.
set(ZARNEL_APP_ID org.zarnel.Zarnel)
set(ZARNEL_DATA "${CMAKE_CURRENT_SOURCE_DIR}/data")

install(TARGETS zarnel RUNTIME DESTINATION lib/games/zarnel)
install(DIRECTORY media/ DESTINATION share/games/zarnel/media)
install(PROGRAMS "${ZARNEL_DATA}/zarnel.sh" DESTINATION games RENAME zarnel)
install(FILES "${ZARNEL_DATA}/${ZARNEL_APP_ID}.desktop" DESTINATION share/applications)
install(FILES "${ZARNEL_DATA}/${ZARNEL_APP_ID}.metainfo.xml" DESTINATION share/metainfo)
foreach(size 48 64 128 256)
  install(FILES "${ZARNEL_DATA}/icons/${size}/${ZARNEL_APP_ID}.png"
    DESTINATION share/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES "${ZARNEL_DATA}/copyright" DESTINATION share/doc/zarnel)

# The manual page and the changelog go in compressed, without a time stamp, as Debian wants them.
set(ZARNEL_GZIPPED "${CMAKE_CURRENT_BINARY_DIR}/gzipped")
add_custom_command(OUTPUT "${ZARNEL_GZIPPED}/zarnel.6.gz" "${ZARNEL_GZIPPED}/changelog.gz"
  COMMAND ${CMAKE_COMMAND} -E make_directory "${ZARNEL_GZIPPED}"
  COMMAND gzip -9 -n -c "${ZARNEL_DATA}/zarnel.6" > "${ZARNEL_GZIPPED}/zarnel.6.gz"
  COMMAND gzip -9 -n -c "${ZARNEL_DATA}/changelog" > "${ZARNEL_GZIPPED}/changelog.gz"
  DEPENDS "${ZARNEL_DATA}/zarnel.6" "${ZARNEL_DATA}/changelog"
  COMMENT "Compressing the manual page and the changelog")
add_custom_target(zarnel_gzipped ALL DEPENDS "${ZARNEL_GZIPPED}/zarnel.6.gz" "${ZARNEL_GZIPPED}/changelog.gz")
install(FILES "${ZARNEL_GZIPPED}/zarnel.6.gz" DESTINATION share/man/man6)
install(FILES "${ZARNEL_GZIPPED}/changelog.gz" DESTINATION share/doc/zarnel)

# The .deb: scripts/package runs cpack in the build folder.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zarnel)
set(CPACK_PACKAGE_VENDOR "The Zarnel developers")
set(CPACK_PACKAGE_CONTACT "The Zarnel developers <developers@zarnel.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "3x3x3 twisty cube puzzle")
set(CPACK_PACKAGE_DESCRIPTION "Zarnel shows a twisty cube of 27 textured sub-cubes. PLAY scrambles it with
five animated random layer turns; the player turns single layers back by
dragging from one sub-cube onto its neighbour, turns the whole cube with the
right mouse button, and is congratulated when it is solved.")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://zarnel.org/")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
