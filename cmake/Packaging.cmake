# Installation and the Debian package: the program, its desktop entry and its
# icon, drawn once as SVG and rendered at build time into the PNG sizes that
# desktops look for (the same PNGs are built into the program as its window
# icon), the AppStream metainfo, the manual page, and the copyright and
# changelog of a native Debian package.
#
#   cmake --preset release && cmake --build build-release
#   (cd build-release && cpack -G DEB)
if(NOT TARGET tallaro)
  return()
endif()

include(GNUInstallDirs)

find_program(RSVG_CONVERT rsvg-convert)
if(NOT RSVG_CONVERT)
  message(FATAL_ERROR "rsvg-convert renders the icon's PNG sizes: install librsvg2-bin")
endif()

set(tallaro_icon_svg ${PROJECT_SOURCE_DIR}/packaging/tallaro.svg)
set(tallaro_icon_dir ${PROJECT_BINARY_DIR}/icons)
set(tallaro_icon_pngs)
set(tallaro_window_icon_pngs)
foreach(size IN ITEMS 16 32 48 64 128 256)
  set(png ${tallaro_icon_dir}/${size}x${size}/tallaro.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${tallaro_icon_dir}/${size}x${size}
    COMMAND ${RSVG_CONVERT} --width=${size} --height=${size} --output=${png} ${tallaro_icon_svg}
    DEPENDS ${tallaro_icon_svg}
    COMMENT "Rendering the ${size}x${size} icon"
    VERBATIM)
  list(APPEND tallaro_icon_pngs ${png})
  if(size LESS_EQUAL 64)
    list(APPEND tallaro_window_icon_pngs ${png})
  endif()
  install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()

add_custom_target(tallaro_theme_icons ALL DEPENDS ${tallaro_icon_pngs})

# The window icon, read at start-up from ":/icons": the sizes up to 64, as
# title bars and task lists show it (prepare_desktop_identity()).
find_package(Qt6 REQUIRED COMPONENTS Core)
qt_add_resources(tallaro_shell tallaro_icons
  PREFIX /icons
  BASE ${tallaro_icon_dir}
  FILES ${tallaro_window_icon_pngs})

install(FILES ${tallaro_icon_svg} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
# One id names the desktop entry, the AppStream component and, through
# setDesktopFileName() in app/startup.cpp, the running program.
set(tallaro_app_id io.github.tallaro.tallaro)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/${tallaro_app_id}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/${tallaro_app_id}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# The manual page and the changelog, compressed as Debian wants them: at the
# highest level and without a time stamp (-n), so that builds are
# reproducible.
find_program(GZIP gzip REQUIRED)
set(tallaro_gzipped)
foreach(pair IN ITEMS "tallaro.1|tallaro.1.gz" "changelog|changelog.gz")
  string(REPLACE "|" ";" pair ${pair})
  list(GET pair 0 in)
  list(GET pair 1 out)
  add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/packaging/${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/packaging
    COMMAND sh -c "${GZIP} -9n -c \"$1\" > \"$2\"" _ ${PROJECT_SOURCE_DIR}/packaging/${in} ${PROJECT_BINARY_DIR}/packaging/${out}
    DEPENDS ${PROJECT_SOURCE_DIR}/packaging/${in}
    COMMENT "Compressing ${in}"
    VERBATIM)
  list(APPEND tallaro_gzipped ${PROJECT_BINARY_DIR}/packaging/${out})
endforeach()
add_custom_target(tallaro_docs ALL DEPENDS ${tallaro_gzipped})
install(FILES ${PROJECT_BINARY_DIR}/packaging/tallaro.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${PROJECT_BINARY_DIR}/packaging/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The Debian package. Its library dependencies are read off the program by
# dpkg-shlibdeps (package dpkg-dev); the fonts that prepare_fonts() in
# app/startup.cpp maps the forms' faces to are a dependency no library shows.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tallaro)
set(CPACK_PACKAGE_VENDOR Tallaro)
set(CPACK_PACKAGE_CONTACT "Tallaro developers <bugs@tallaro.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "counter-side cash tally for a small shop")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
  "The cashier starts a bill, enters each article with a fixed-price button\n"
  "or a typed price, and watches the sales log and the running total grow;\n"
  "a checkout window takes the amount received and shows the change.\n"
  "All texts are Simplified Chinese; nothing is stored between runs.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-wqy-microhei)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Stripped whatever the build type, as Debian wants a program: the release
# preset strips when linking, a plain Release build does not.
set(CPACK_STRIP_FILES ON)
include(CPack)
