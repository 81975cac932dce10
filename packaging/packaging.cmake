# Installs Pentrak CMS as a desktop program (menu entry, icon, project file type, manual pages,
# Debian documentation) and packages it for Debian with CPack. The programs and the seed files
# of share/pentrak/ are installed by the top-level file.

set(PENTRAK_PACKAGING_SOURCE ${CMAKE_SOURCE_DIR}/packaging)
set(PENTRAK_PACKAGING_BINARY ${CMAKE_BINARY_DIR}/packaging)

# The icon is one hand-drawn SVG; every PNG size is rendered from it at build time, so no size
# can fall behind a change of the drawing and no binary images live in the repository.
find_program(PENTRAK_RSVG_CONVERT rsvg-convert)
if(NOT PENTRAK_RSVG_CONVERT)
  message(FATAL_ERROR "rsvg-convert not found: it draws the program's icons. "
                      "Run scripts/setup.sh or install the Debian package librsvg2-bin.")
endif()
find_program(PENTRAK_GZIP gzip REQUIRED)

set(PENTRAK_ICON_SIZES 16 22 24 32 48 64 128 256)
set(PENTRAK_ICON_PNGS "")
foreach(size IN LISTS PENTRAK_ICON_SIZES)
  set(png ${PENTRAK_PACKAGING_BINARY}/icons/${size}/pentrak.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PENTRAK_PACKAGING_BINARY}/icons/${size}
    COMMAND ${PENTRAK_RSVG_CONVERT} --width ${size} --height ${size} --output ${png}
            ${PENTRAK_PACKAGING_SOURCE}/pentrak.svg
    DEPENDS ${PENTRAK_PACKAGING_SOURCE}/pentrak.svg VERBATIM)
  list(APPEND PENTRAK_ICON_PNGS ${png})
endforeach()

# Manual pages and the Debian changelog carry the version and are installed compressed, without
# a time stamp in the gzip header, so that two builds of one version give identical files.
set(PENTRAK_COMPRESSED_DOCS "")
foreach(doc pentrak.1 pentrak-cli.1 changelog)
  configure_file(${PENTRAK_PACKAGING_SOURCE}/${doc} ${PENTRAK_PACKAGING_BINARY}/${doc} @ONLY)
  add_custom_command(OUTPUT ${PENTRAK_PACKAGING_BINARY}/${doc}.gz
    COMMAND ${PENTRAK_GZIP} -9 -n -k -f ${PENTRAK_PACKAGING_BINARY}/${doc}
    DEPENDS ${PENTRAK_PACKAGING_BINARY}/${doc} VERBATIM)
  list(APPEND PENTRAK_COMPRESSED_DOCS ${PENTRAK_PACKAGING_BINARY}/${doc}.gz)
endforeach()
add_custom_target(pentrak_packaging_files ALL DEPENDS ${PENTRAK_ICON_PNGS} ${PENTRAK_COMPRESSED_DOCS})

install(FILES ${PENTRAK_PACKAGING_SOURCE}/pentrak-mime.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME pentrak.xml)
install(FILES ${PENTRAK_PACKAGING_BINARY}/pentrak-cli.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PENTRAK_PACKAGING_SOURCE}/copyright ${PENTRAK_PACKAGING_BINARY}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${PENTRAK_PACKAGING_SOURCE}/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME pentrak)

# Debian's packages drop the compilers' .comment notes as well; CMake's strip keeps them.
function(pentrak_strip_comment program)
  install(CODE "if(CMAKE_INSTALL_DO_STRIP)
  execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
    \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${program}\"
    COMMAND_ERROR_IS_FATAL ANY)
endif()")
endfunction()
pentrak_strip_comment(pentrak-cli)

# The menu entry, the icon and the desktop manual page belong to the desktop program: without
# it a menu entry would start nothing.
if(TARGET pentrak)
  install(TARGETS pentrak RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  pentrak_strip_comment(pentrak)
  install(FILES ${PENTRAK_PACKAGING_SOURCE}/pentrak.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${PENTRAK_PACKAGING_SOURCE}/pentrak.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  foreach(size IN LISTS PENTRAK_ICON_SIZES)
    install(FILES ${PENTRAK_PACKAGING_BINARY}/icons/${size}/pentrak.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
  install(FILES ${PENTRAK_PACKAGING_BINARY}/pentrak.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

# The Debian package. The menu, MIME and icon caches are refreshed by the file triggers that
# desktop-file-utils, shared-mime-info and hicolor-icon-theme declare on their folders, so the
# package needs no maintainer scripts.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pentrak)
set(CPACK_PACKAGE_VENDOR "Pentrak CMS team")
set(CPACK_PACKAGE_CONTACT "Pentrak CMS team <team@pentrak.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "static web site builder using templates and macros")
# Debian wants the lines of the long description shorter than 80 characters.
set(CPACK_PACKAGE_DESCRIPTION
    "Pentrak CMS builds static web sites from a project definition file,
templates and content files that define macros. Generation expands the
macro tags of every template and writes the finished documents, with a
log and a summary; search and replace work over all of a project's files.
The package holds the desktop program, the command-line program
pentrak-cli and a sample project that explains the macro language.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION web)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Files and links are opened with the desktop's opener unless the user names other programs.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xdg-utils)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
include(CPack)
