# Run by cpack once the files are staged and before it packs them: every staged file and folder
# takes the time of the last commit, which the installer records for each file (cpack's zip
# writer takes SOURCE_DATE_EPOCH by itself).
if(CPACK_DECKHAND_SOURCE_DATE_EPOCH)
  file(GLOB_RECURSE staged LIST_DIRECTORIES true ${CPACK_TEMPORARY_DIRECTORY}/*)
  execute_process(
    COMMAND touch --no-dereference --date=@${CPACK_DECKHAND_SOURCE_DATE_EPOCH}
            ${CPACK_TEMPORARY_DIRECTORY} ${staged}
    COMMAND_ERROR_IS_FATAL ANY)
endif()
