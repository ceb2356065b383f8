# Compiles read_only_items.cpp for one case (cmake -P). The case "variables"
# must compile; any other must fail, and on the item: an error that does not
# name inputItem (a wrong include path, a slip in the source) fails the test.
#   -DCOMPILER= -DSTANDARD= -DROOT= -DSOURCE= -DCASE=
execute_process(
  COMMAND ${COMPILER} ${STANDARD} -fsyntax-only -I${ROOT} -DINTO_${CASE} ${SOURCE}
  RESULT_VARIABLE status
  OUTPUT_VARIABLE output
  ERROR_VARIABLE output)
if(CASE STREQUAL "VARIABLES")
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "the reads of variables do not compile:\n${output}")
  endif()
elseif(status EQUAL 0)
  message(FATAL_ERROR "a READ into ${CASE} compiles")
elseif(NOT output MATCHES "inputItem")
  message(FATAL_ERROR "a READ into ${CASE} fails for another reason:\n${output}")
endif()
