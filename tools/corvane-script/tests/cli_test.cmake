# cmake -DTOOL=... [-DEMULATOR=...] -DSOURCE=... -DWORK=... -P cli_test.cmake
# Compiles SOURCE, dumps the container, compiles the dump, and expects the
# same bytes; then expects exit code 1 and FILE:LINE for a faulty source.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

function(run_tool expected_code)
  execute_process(COMMAND ${EMULATOR} ${TOOL} ${ARGN}
    WORKING_DIRECTORY ${WORK} RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT code EQUAL expected_code)
    message(FATAL_ERROR "corvane-script ${ARGN}: exit code ${code}, expected ${expected_code}\n${out}${err}")
  endif()
  set(tool_output "${out}${err}" PARENT_SCOPE)
endfunction()

file(COPY ${SOURCE} DESTINATION ${WORK})
get_filename_component(name ${SOURCE} NAME)
run_tool(0 compile ${name} -o first.container)
run_tool(0 dump first.container -o dumped.cvscript)
run_tool(0 compile dumped.cvscript -o second.container)
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files first.container second.container
  WORKING_DIRECTORY ${WORK} RESULT_VARIABLE differ)
if(differ)
  message(FATAL_ERROR "dump and compile did not give back the same container")
endif()

file(WRITE ${WORK}/bad.cvscript "title: x\nscript:\n  Set Variable [disabled\n")
run_tool(1 compile bad.cvscript -o bad.container)
if(NOT tool_output MATCHES "bad\\.cvscript:3: ")
  message(FATAL_ERROR "no FILE:LINE in the message: ${tool_output}")
endif()
run_tool(2 compile bad.cvscript)
run_tool(0 --help)
if(NOT tool_output MATCHES "corvane-script compile SOURCE -o OUTPUT")
  message(FATAL_ERROR "--help does not show the usage: ${tool_output}")
endif()
