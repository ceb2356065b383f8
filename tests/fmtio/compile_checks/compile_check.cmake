# Compiles statements.cpp for one case (cmake -P). The case VARIABLES must
# compile; any other must fail with an error that names WANT: one that does
# not (a wrong include path, a slip in the source) fails the check.
#   -DCOMPILER= -DSTANDARD= -DROOT= -DSOURCE= -DCASE= -DWANT=
execute_process(
  COMMAND ${COMPILER} ${STANDARD} -fsyntax-only -Werror=unused-result -I${ROOT}
          -DCHECK_${CASE} ${SOURCE}
  RESULT_VARIABLE status
  OUTPUT_VARIABLE output
  ERROR_VARIABLE output)
if(CASE STREQUAL "VARIABLES")
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "the statements on variables do not compile:\n${output}")
  endif()
elseif(status EQUAL 0)
  message(FATAL_ERROR "${CASE} compiles")
elseif(NOT output MATCHES "${WANT}")
  message(FATAL_ERROR "${CASE} fails for another reason than ${WANT}:\n${output}")
endif()
