# cmake -D BUILD_DIR=... -D SOURCE_DIR=... -D PREFIX=... -D VERSION=...
#       -D WINDOW=0|1 -P check_install.cmake
# Runs `cmake --install` into PREFIX (emptied first) and fails, naming every
# installed file that is missing or wrong.

file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${status}):\n${out}${err}")
endif()

# Every failure is kept, so that one run tells all that is wrong.
function(fail text)
  set_property(GLOBAL APPEND_STRING PROPERTY install_failures "  ${text}\n")
endfunction()

# A file installed with the same bytes as its source.
function(expect_copy installed source)
  if(NOT EXISTS ${PREFIX}/${installed})
    fail("missing ${installed}")
    return()
  endif()
  file(SHA256 ${PREFIX}/${installed} got)
  file(SHA256 ${source} want)
  if(NOT got STREQUAL want)
    fail("${installed} differs from ${source}")
  endif()
endfunction()

# A program that is installed, executable and finds its libraries.
function(expect_program name)
  set(path ${PREFIX}/bin/${name})
  if(NOT EXISTS ${path} OR IS_DIRECTORY ${path})
    fail("missing bin/${name}")
  else()
    file(GET_RUNTIME_DEPENDENCIES EXECUTABLES ${path}
         UNRESOLVED_DEPENDENCIES_VAR unresolved RESOLVED_DEPENDENCIES_VAR resolved)
    if(unresolved)
      fail("bin/${name} needs libraries that are not found: ${unresolved}")
    endif()
    execute_process(COMMAND test -x ${path} RESULT_VARIABLE notExecutable)
    if(notExecutable)
      fail("bin/${name} is not executable")
    endif()
  endif()
endfunction()

expect_program(ringedit)
expect_program(ringfmt)

# Each installed program tells its version, and its manual page documents
# every option and command its usage names.
foreach(program ringedit ringfmt)
  execute_process(COMMAND ${PREFIX}/bin/${program} --version
                  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0 OR NOT out STREQUAL "${program} ${VERSION}\n")
    fail("installed ${program} --version gave status ${status}, output [${out}] ${err}")
  endif()
  execute_process(COMMAND ${PREFIX}/bin/${program} --help
                  RESULT_VARIABLE status OUTPUT_VARIABLE usage ERROR_VARIABLE err)
  if(NOT status EQUAL 0 OR usage STREQUAL "")
    fail("installed ${program} --help gave status ${status} ${err}")
  endif()
  set(page ${PREFIX}/share/man/man1/${program}.1)
  if(EXISTS ${page})
    file(READ ${page} roff)
    # Options and commands as the page writes them: "--to" as "\-\-to".
    string(REGEX MATCHALL "--[a-z][a-z-]*" words "${usage}")
    string(REGEX MATCHALL "${program} [a-z]+" commands "${usage}")
    string(REPLACE "${program} " "" commands "${commands}")
    list(APPEND words ${commands})
    list(REMOVE_DUPLICATES words)
    list(TRANSFORM words REPLACE "-" "\\\\-" OUTPUT_VARIABLE wanted)
    # The values of an option's choice: "--to C|M|fh" as "C | M | fh".
    string(REGEX MATCHALL "--[a-z-]+ [A-Za-z0-9]+([|][A-Za-z0-9]+)+" choices "${usage}")
    list(TRANSFORM choices REPLACE "^--[a-z-]+ " "")
    list(TRANSFORM choices REPLACE "[|]" " | ")
    foreach(text ${wanted} ${choices})
      string(FIND "${roff}" "${text}" at)
      if(at LESS 0)
        fail("${program}.1 does not show [${text}], which ${program} --help names")
      endif()
    endforeach()
  endif()
endforeach()

# The installed ringfmt runs a statement as the built one does.
execute_process(COMMAND ${PREFIX}/bin/ringfmt write "(I4,F6.2)" i:1950 r:1.234
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err
                OUTPUT_STRIP_TRAILING_WHITESPACE)
if(NOT status EQUAL 0 OR NOT out STREQUAL "1950  1.23")
  fail("installed ringfmt write gave status ${status}, output [${out}] ${err}")
endif()

# The manual pages, and that they render without a warning.
find_program(GROFF groff REQUIRED)
foreach(page ringedit ringfmt)
  expect_copy(share/man/man1/${page}.1 ${SOURCE_DIR}/man/${page}.1)
  if(EXISTS ${PREFIX}/share/man/man1/${page}.1)
    execute_process(COMMAND ${GROFF} -man -Tutf8 -ww -z ${PREFIX}/share/man/man1/${page}.1
                    RESULT_VARIABLE status ERROR_VARIABLE warnings)
    if(NOT status EQUAL 0 OR NOT warnings STREQUAL "")
      fail("${page}.1 does not render cleanly (${status}): ${warnings}")
    endif()
  endif()
endforeach()

# Every example file, and nothing lost on the way.
file(GLOB_RECURSE examples RELATIVE ${SOURCE_DIR}/examples ${SOURCE_DIR}/examples/*)
list(LENGTH examples count)
if(count LESS 10)
  fail("only ${count} example files found in ${SOURCE_DIR}/examples")
endif()
foreach(example ${examples})
  expect_copy(share/ringedit/examples/${example} ${SOURCE_DIR}/examples/${example})
endforeach()

expect_copy(share/doc/ringedit/LICENSE ${SOURCE_DIR}/LICENSE)
expect_copy(share/doc/ringedit/README.md ${SOURCE_DIR}/README.md)

# The window program with its desktop entry and icon, where it is built.
set(desktop share/applications/ringedit-window.desktop)
if(WINDOW)
  expect_program(ringedit-window)
  expect_copy(${desktop} ${SOURCE_DIR}/packaging/ringedit-window.desktop)
  expect_copy(share/icons/hicolor/scalable/apps/ringedit.svg ${SOURCE_DIR}/packaging/ringedit.svg)
  expect_copy(share/icons/hicolor/64x64/apps/ringedit.png ${SOURCE_DIR}/packaging/ringedit.png)
endif()
# The entry starts the installed program and names the installed icon.
file(STRINGS ${SOURCE_DIR}/packaging/ringedit-window.desktop entry)
foreach(line "Exec=ringedit-window" "Icon=ringedit" "Terminal=false" "Type=Application")
  list(FIND entry "${line}" at)
  if(at LESS 0)
    fail("ringedit-window.desktop has no line ${line}")
  endif()
endforeach()

get_property(failures GLOBAL PROPERTY install_failures)
if(failures)
  message(FATAL_ERROR "the install into ${PREFIX} is wrong:\n${failures}")
endif()
message(STATUS "installed files checked in ${PREFIX}")
