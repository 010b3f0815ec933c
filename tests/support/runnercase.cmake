# Runs a test executable with the given arguments and checks how it ends.
#   -DPROGRAM=<executable> -DARGUMENTS=<list> -DEXPECT=pass|fail -DOUTPUT=<list of regexes>
# EXPECT=pass wants exit code 0, EXPECT=fail any other; every regex must match the
# combined standard output and error.
execute_process(COMMAND ${PROGRAM} ${ARGUMENTS}
                RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
set(all "${out}${err}")
if(EXPECT STREQUAL "pass" AND NOT code EQUAL 0)
  message(FATAL_ERROR "expected success, got exit code ${code}:\n${all}")
elseif(EXPECT STREQUAL "fail" AND code EQUAL 0)
  message(FATAL_ERROR "expected failure, got exit code 0:\n${all}")
endif()
foreach(pattern IN LISTS OUTPUT)
  if(NOT all MATCHES "${pattern}")
    message(FATAL_ERROR "output does not match '${pattern}':\n${all}")
  endif()
endforeach()
