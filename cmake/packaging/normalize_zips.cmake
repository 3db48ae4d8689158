# Run by cpack once it has made the packages. A zip records each file's time as a DOS time in the
# builder's time zone, and the mode, user and group that the builder's umask and account gave the
# staged files: strip-nondeterminism (Debian's, of the Reproducible Builds project) sets every
# time to SOURCE_DATE_EPOCH read in UTC, every mode to 0644 (0755 where the owner may execute),
# every user and group to 0, and the entries in name order. The installers hold none of these.
foreach(package IN LISTS CPACK_PACKAGE_FILES)
  if(package MATCHES "\\.zip$")
    find_program(strip_nondeterminism strip-nondeterminism)
    if(NOT strip_nondeterminism)
      message(FATAL_ERROR "strip-nondeterminism is not installed (scripts/setup installs it)")
    endif()
    set(timestamp)
    if(CPACK_DECKHAND_SOURCE_DATE_EPOCH)
      set(timestamp --timestamp ${CPACK_DECKHAND_SOURCE_DATE_EPOCH})
    endif()
    execute_process(COMMAND ${strip_nondeterminism} --type zip ${timestamp} ${package}
                    COMMAND_ERROR_IS_FATAL ANY)
  endif()
endforeach()
