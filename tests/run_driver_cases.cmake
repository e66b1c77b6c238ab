# Runs the headless driver on a key script and compares its result lines
# with the expected file next to the script.
execute_process(COMMAND ${DRIVER} --eval INPUT_FILE ${SCRIPT} OUTPUT_VARIABLE got RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "driver exited with ${rc}")
endif()
string(REGEX REPLACE "\\.txt$" ".expected" expected_file ${SCRIPT})
file(READ ${expected_file} want)
if(NOT got STREQUAL want)
  message(FATAL_ERROR "driver output differs:\n--- got ---\n${got}\n--- want ---\n${want}")
endif()
