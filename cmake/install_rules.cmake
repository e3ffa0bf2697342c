# Installing Starvane as a Linux program, and its Debian package (cpack -G DEB):
#   bin/starvane, bin/starvane-cli       the programs
#   lib/starvane/texgen.so               the texture plug-in
#   share/starvane/Starvane/             the default data a new simulator root is filled from
#   share/applications, share/icons      the desktop entry and its icon
#   share/man/man1                       the manual pages, written from the programs' own help
# The programs find the plug-in and the data from their own place (platform/install_layout.h).

find_package(Python3 REQUIRED COMPONENTS Interpreter)

install(TARGETS starvane-cli RUNTIME DESTINATION bin)
install(TARGETS texgen LIBRARY DESTINATION lib/starvane)
install(DIRECTORY data/Starvane DESTINATION share/starvane PATTERN "*.svc.bin" EXCLUDE)  # a start's catalogue copy
install(FILES data/starvane.desktop DESTINATION share/applications)
foreach(size 48 128 256)
  install(FILES data/icons/starvane-${size}.png DESTINATION share/icons/hicolor/${size}x${size}/apps
          RENAME starvane.png)
endforeach()

set(manual_programs starvane-cli)
if(STARVANE_APP)
  install(TARGETS starvane RUNTIME DESTINATION bin)
  list(APPEND manual_programs starvane)
endif()
foreach(program ${manual_programs})
  # Compressed without a name or time stamp inside, as Debian keeps its manual pages.
  set(page ${CMAKE_BINARY_DIR}/man/${program}.1)
  add_custom_command(OUTPUT ${page}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tools/man/write_man.py $<TARGET_FILE:${program}> ${program} ${page}
    COMMAND gzip -9 -n -f ${page}
    DEPENDS ${program} ${PROJECT_SOURCE_DIR}/tools/man/write_man.py
    COMMENT "Writing the manual page of ${program}")
  add_custom_target(${program}-manual ALL DEPENDS ${page}.gz)
  install(FILES ${page}.gz DESTINATION share/man/man1)
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME starvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Galaxy atlas and planetary-system generator for Orbiter")
set(CPACK_PACKAGE_DESCRIPTION "Fly through a 3D map of catalogue and generated stars, open a star's planetary system, and export it with textures and a ready-to-fly scenario for the Orbiter space-flight simulator.")
set(CPACK_PACKAGE_CONTACT "Starvane developers <starvane@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
# The libraries the programs link, found by dpkg-shlibdeps; the software OpenGL driver for
# machines without a graphics driver of their own.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libgl1-mesa-dri")
include(CPack)
