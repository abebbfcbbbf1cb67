# cmake -DCPACK=… -DCONFIG=…/CPackConfig.cmake -DPASTA=… -P gera_pacote.cmake
# Makes the package afresh in PASTA, so that it holds exactly one.
file(REMOVE_RECURSE ${PASTA})
execute_process(COMMAND ${CPACK} -G DEB --config ${CONFIG} -B ${PASTA} RESULT_VARIABLE resultado)
if(NOT resultado EQUAL 0)
  message(FATAL_ERROR "cpack failed: ${resultado}")
endif()
