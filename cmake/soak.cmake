# Runs baylith_soak.exe once in a fresh scratch folder holding a copy of the sample
# data; the folder is removed when the run passes, kept for a look when it fails.
#   cmake -DEMULATOR=wine -DSOAK=baylith_soak.exe -DDATA=DIR -DSCRATCH=DIR -P soak.cmake
if(NOT EXISTS ${DATA}/term.csv)
  message(FATAL_ERROR "soak: no sample data in ${DATA} (build the native target sample_data)")
endif()
file(REMOVE_RECURSE ${SCRATCH})
file(COPY ${DATA} DESTINATION ${SCRATCH})
set(ENV{SOAK_DIR} ${SCRATCH})
execute_process(COMMAND ${EMULATOR} ${SOAK} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "soak: baylith_soak.exe ended with ${result}; its folder: ${SCRATCH}")
endif()
file(REMOVE_RECURSE ${SCRATCH})
