# Compiler settings shared by every target of the project.

# Sources are UTF-8; narrow literals reach the Windows A functions as CP932 bytes. Clang knows
# no execution character set but UTF-8: its builds (the fuzz targets) keep the Japanese text in
# UTF-8, a little longer than in CP932.
if(CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  set(DECKHAND_CHARSET_FLAGS -finput-charset=UTF-8)
else()
  set(DECKHAND_CHARSET_FLAGS -finput-charset=UTF-8 -fexec-charset=CP932)
endif()

add_library(deckhand_options INTERFACE)
target_compile_options(deckhand_options INTERFACE -Wall -Wextra -Werror ${DECKHAND_CHARSET_FLAGS})

if(WIN32)
  # Reproducible builds: the time stamp in the shipped exe's header is the time of the last
  # commit (SOURCE_DATE_EPOCH, taken from the environment when set there), not the time of the
  # link (app/CMakeLists.txt); the packages take their file times from it too
  # (cmake/Packaging.cmake). Read at configure time, which scripts/test and scripts/release run
  # each time.
  set(DECKHAND_SOURCE_DATE_EPOCH $ENV{SOURCE_DATE_EPOCH})
  if(NOT DECKHAND_SOURCE_DATE_EPOCH)
    execute_process(COMMAND git log -1 --format=%ct
                    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
                    OUTPUT_VARIABLE DECKHAND_SOURCE_DATE_EPOCH
                    OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  endif()

  # ANSI Windows API, Windows XP and later, no min/max macros.
  target_compile_definitions(deckhand_options INTERFACE
    _WIN32_WINNT=0x0501 WINVER=0x0501 NOMINMAX WIN32_LEAN_AND_MEAN __USE_MINGW_ANSI_STDIO=0)
  # The program needs only DLLs that ship with Windows.
  target_link_options(deckhand_options INTERFACE -static -static-libgcc -static-libstdc++)
endif()

# Code that ends up in NorvikDeckhand.exe: small, no exceptions, no RTTI.
add_library(deckhand_program_options INTERFACE)
target_link_libraries(deckhand_program_options INTERFACE deckhand_options)
target_compile_options(deckhand_program_options INTERFACE
  $<$<COMPILE_LANGUAGE:CXX>:-fno-exceptions -fno-rtti>
  -ffunction-sections -fdata-sections)
if(WIN32)
  target_link_options(deckhand_program_options INTERFACE -Wl,--gc-sections)
  # Smaller still than -Os, at some cost in speed: the program spends its life waiting for
  # messages.
  target_compile_options(deckhand_program_options INTERFACE $<$<CONFIG:MinSizeRel>:-Oz>)
endif()
if(WIN32 AND CMAKE_SIZEOF_VOID_P EQUAL 4)
  # No unwind tables on 32-bit Windows: without C++ exceptions nothing there reads them (the
  # system's own exception handling finds its handlers on the stack). 64-bit Windows unwinds
  # through tables, which stay.
  target_compile_options(deckhand_program_options INTERFACE -fno-asynchronous-unwind-tables)
endif()

if(DECKHAND_FUZZ)
  # Coverage feedback for libFuzzer in every library; the fuzz targets link the fuzzer itself.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
elseif(DECKHAND_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
endif()
