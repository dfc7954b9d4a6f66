# Writes help2man's include file for w3ctl's manual page: a section with every command's own
# --help, as the program prints it. The commands are those `w3ctl --list` names.
# Usage: cmake -DW3CTL=path/to/w3ctl -DOUTPUT=file -P W3ctlManInclude.cmake

function(w3_run_help output)
  execute_process(COMMAND ${W3CTL} ${ARGN} --help OUTPUT_VARIABLE text RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "w3ctl ${ARGN} --help failed (${result})")
  endif()
  set(${output} "${text}" PARENT_SCOPE)
endfunction()

# Text shown as it is, in roff: backslashes escaped, no line read as a request.
function(w3_roff_verbatim text output)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
  set(${output} "${text}" PARENT_SCOPE)
endfunction()

# The commands, in the order of w3ctl's command table.
execute_process(COMMAND ${W3CTL} --list OUTPUT_VARIABLE listing RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "w3ctl --list failed (${result})")
endif()
string(REGEX MATCHALL "[a-z]+" entries "${listing}")
if(NOT entries)
  message(FATAL_ERROR "w3ctl --list lists no commands")
endif()

set(include "[COMMANDS IN DETAIL]\n")
foreach(entry ${entries})
  string(STRIP "${entry}" command)
  w3_run_help(help ${command})
  if(NOT help MATCHES "^Usage: w3ctl \\[OPTION\\]\\.\\.\\. ${command}")
    message(FATAL_ERROR "w3ctl ${command} --help does not print the command's own help")
  endif()
  w3_roff_verbatim("${help}" help)
  string(APPEND include ".SS ${command}\n.nf\n${help}.fi\n")
endforeach()
file(WRITE ${OUTPUT} "${include}")
