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

# Plain-text names, so that Windows opens them with a double click. The guides are their owners'
# part only (cmake/packaging/owners_guide.py: up to the developers' heading, with a byte-order
# mark), and the pictures that part shows keep their relative place beside them.
install(TARGETS NorvikDeckhand RUNTIME DESTINATION .)
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(deckhand_guide_pictures)
function(deckhand_owners_guide readme guide heading)
  set(script ${CMAKE_CURRENT_LIST_DIR}/packaging/owners_guide.py)
  execute_process(
    COMMAND ${Python3_EXECUTABLE} ${script} ${PROJECT_SOURCE_DIR}/${readme}
            ${CMAKE_CURRENT_BINARY_DIR}/${guide} ${heading}
    OUTPUT_VARIABLE pictures COMMAND_ERROR_IS_FATAL ANY)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
    ${PROJECT_SOURCE_DIR}/${readme} ${script})
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${guide} DESTINATION .)
  string(REPLACE "\n" ";" pictures "${pictures}")
  set(deckhand_guide_pictures ${deckhand_guide_pictures} ${pictures} PARENT_SCOPE)
endfunction()
deckhand_owners_guide(README.md README.txt "## For developers")
deckhand_owners_guide(README.ja.md README-ja.txt "## 開発者向け情報")
list(REMOVE_DUPLICATES deckhand_guide_pictures)
foreach(picture IN LISTS deckhand_guide_pictures)
  cmake_path(GET picture PARENT_PATH folder)
  if(NOT folder)
    set(folder .)
  endif()
  install(FILES ${PROJECT_SOURCE_DIR}/${picture} DESTINATION ${folder})
endforeach()
install(FILES LICENSE DESTINATION . RENAME LICENSE.txt)

set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_PACKAGE_VENDOR "The Norvik Deckhand authors")
# scripts/release names the packages of a tree with changes not yet committed as such.
set(DECKHAND_PACKAGE_LABEL "" CACHE STRING "Added to the packages' names, after the version")
set(CPACK_PACKAGE_FILE_NAME
  ${PROJECT_NAME}-${PROJECT_VERSION}${DECKHAND_PACKAGE_LABEL}-${deckhand_package_arch})
set(CPACK_STRIP_FILES ON)
# The installer is our own script (packaging/NSIS.template.in); CPack fills in the version,
# the staged files and the list of files the uninstaller removes.
set(CPACK_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR}/packaging)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/packaging/per_generator.cmake)
set(CPACK_NSIS_COMPRESSOR "/SOLID lzma")
set(CPACK_DECKHAND_INSTALLER_ICON ${DECKHAND_ICON_DIR}/icon_1.ico)
# The same bytes from every build of a commit, by anyone: strip and makensis run with
# SOURCE_DATE_EPOCH (packaging/per_generator.cmake), the staged files take its time before they
# are packed, and the zips' times, modes, users and groups are made the same afterwards.
set(CPACK_DECKHAND_SOURCE_DATE_EPOCH ${DECKHAND_SOURCE_DATE_EPOCH})
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/packaging/file_times.cmake)
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/packaging/normalize_zips.cmake)
include(CPack)
