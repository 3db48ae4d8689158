# Release packages of NorvikDeckhand.exe, made by CPack from the install rules below, for the
# architecture of the build tree:
#   NorvikDeckhand-<version>-win32.zip, -win64.zip               the program to copy anywhere
#   NorvikDeckhand-<version>-win32-setup.exe, -win64-setup.exe   per-user NSIS installer
# "cmake --build --preset win32 --target package" makes both kinds for one architecture;
# scripts/release makes them for both.

if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(deckhand_package_arch win64)
  # NSIS installers are 32-bit programs unless made for this target.
  set(CPACK_DECKHAND_NSIS_TARGET amd64-unicode)
else()
  set(deckhand_package_arch win32)
  set(CPACK_DECKHAND_NSIS_TARGET x86-unicode)
endif()

# Plain-text names, so that Windows opens them with a double click. The guides' pictures keep
# their relative place beside them.
install(TARGETS NorvikDeckhand RUNTIME DESTINATION .)
install(FILES README.md DESTINATION . RENAME README.txt)
# The Japanese guide begins with a UTF-8 byte-order mark: without one, Notepad before Windows 10
# version 1903 reads a text file in the ANSI code page.
file(READ ${PROJECT_SOURCE_DIR}/README.ja.md readme_ja)
string(ASCII 239 187 191 utf8_bom)
file(GENERATE OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/README-ja.txt CONTENT "${utf8_bom}${readme_ja}")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/README.ja.md)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/README-ja.txt DESTINATION .)
install(FILES LICENSE DESTINATION . RENAME LICENSE.txt)
file(GLOB readme_pictures CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/docs/*.png)
install(FILES ${readme_pictures} DESTINATION docs)

set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_PACKAGE_VENDOR "The Norvik Deckhand authors")
set(CPACK_PACKAGE_FILE_NAME ${PROJECT_NAME}-${PROJECT_VERSION}-${deckhand_package_arch})
set(CPACK_STRIP_FILES ON)
# The installer is our own script (packaging/NSIS.template.in); CPack fills in the version,
# the staged files and the list of files the uninstaller removes.
set(CPACK_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR}/packaging)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/packaging/per_generator.cmake)
set(CPACK_NSIS_COMPRESSOR "/SOLID lzma")
set(CPACK_DECKHAND_INSTALLER_ICON ${DECKHAND_ICON_DIR}/icon_1.ico)
# The same bytes from every build of a commit: strip and makensis run with SOURCE_DATE_EPOCH
# (packaging/per_generator.cmake), and the staged files take its time before they are packed.
set(CPACK_DECKHAND_SOURCE_DATE_EPOCH ${DECKHAND_SOURCE_DATE_EPOCH})
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/packaging/file_times.cmake)
include(CPack)
