# The layers of the source tree as its #include lines draw them. Every .cpp
# and .h below each folder of the table is read; a quoted include names a
# module by its first path element ("series/datol.h" is module series), an
# angle-bracket include of a Q... header names the module Qt. An include the
# table does not allow the including module fails the check.
#
#   cmake -D SOURCE_DIR=<tree> -P check_includes.cmake
#
# The per-layer libraries (top CMakeLists.txt) stop a call into a layer
# above at link time; this check also stops the include of its header,
# which the shared include root would let through.
cmake_minimum_required(VERSION 3.22)

# Module -> what it may include: whole modules, or single headers
# (module/file.h) where only those are its business. The series code asks
# its questions and opens files through the dialogue; the dialogue runs
# FMTID when it opens a data file; nothing below the window knows it.
set(allowed_fmtio fmtio)
set(allowed_common common fmtio)
set(allowed_series series common fmtio dialogue/ask.h dialogue/fileop.h)
set(allowed_dialogue dialogue common fmtio series/fmtid.h)
set(allowed_app app series dialogue common fmtio)
set(allowed_resources resources)
set(allowed_console console resources app series dialogue common fmtio Qt)
# The programs and checks built on the core.
set(allowed_tools tools app series dialogue common fmtio)
set(allowed_fuzz fuzz tests series dialogue common fmtio)
set(allowed_bench bench app series dialogue common fmtio)
set(allowed_tests tests console resources tools app series dialogue common fmtio Qt)
set(modules fmtio common series dialogue app resources console tools fuzz bench tests)

if(NOT SOURCE_DIR)
  message(FATAL_ERROR "usage: cmake -D SOURCE_DIR=<tree> -P check_includes.cmake")
endif()

# The module and header an include line names, or nothing for a system header.
function(included_module line module_var header_var)
  set(${module_var} "" PARENT_SCOPE)
  set(${header_var} "" PARENT_SCOPE)
  if(line MATCHES "#[ \t]*include[ \t]*\"(([A-Za-z0-9_]+)/[^\"]+)\"")
    set(${module_var} ${CMAKE_MATCH_2} PARENT_SCOPE)
    set(${header_var} ${CMAKE_MATCH_1} PARENT_SCOPE)
  elseif(line MATCHES "#[ \t]*include[ \t]*<(Q[A-Za-z]+)")
    set(${module_var} Qt PARENT_SCOPE)
    set(${header_var} ${CMAKE_MATCH_1} PARENT_SCOPE)
  endif()
endfunction()

set(faults 0)
set(files_read 0)
foreach(module ${modules})
  file(GLOB_RECURSE files RELATIVE ${SOURCE_DIR}
    ${SOURCE_DIR}/${module}/*.cpp ${SOURCE_DIR}/${module}/*.h)
  # The trees of forbidden includes that show this check failing.
  list(FILTER files EXCLUDE REGEX "^tests/layers/forbidden/")
  foreach(file ${files})
    math(EXPR files_read "${files_read} + 1")
    file(STRINGS ${SOURCE_DIR}/${file} lines REGEX "^[ \t]*#[ \t]*include")
    foreach(line ${lines})
      included_module("${line}" used header)
      if(used STREQUAL "" OR used STREQUAL module)
        continue()
      endif()
      if(NOT used IN_LIST allowed_${module} AND NOT header IN_LIST allowed_${module})
        message(SEND_ERROR "${file}: includes ${header}; ${module} may include only: "
                           "${allowed_${module}}")
        math(EXPR faults "${faults} + 1")
      endif()
    endforeach()
  endforeach()
endforeach()

if(files_read EQUAL 0)
  message(FATAL_ERROR "no sources below ${SOURCE_DIR}")
endif()
if(faults GREATER 0)
  message(FATAL_ERROR "${faults} include(s) reach a layer they may not use")
endif()
message(STATUS "${files_read} files, every include within its layer's reach")
