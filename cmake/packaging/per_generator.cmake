# Read by cpack once per generator: the installer's name says what it is, so that it is not
# taken for the program itself.
if(CPACK_GENERATOR STREQUAL "NSIS")
  set(CPACK_PACKAGE_FILE_NAME "${CPACK_PACKAGE_FILE_NAME}-setup")
endif()

# Read by strip (CPACK_STRIP_FILES), which writes the exe's header time stamp again, and by
# makensis.
if(CPACK_DECKHAND_SOURCE_DATE_EPOCH)
  set(ENV{SOURCE_DATE_EPOCH} ${CPACK_DECKHAND_SOURCE_DATE_EPOCH})
endif()
