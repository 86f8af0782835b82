# Runs the simulator on the recorded seed and compares its whole output with the stored one.
execute_process(
  COMMAND ${SIM} --seed 2024 --matches 4 --strength1 3 --strength2 4 --link1 4 --link2 3 --check
  OUTPUT_VARIABLE actual RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "plonkix-sim failed (${status}):\n${actual}")
endif()
file(READ ${EXPECTED} expected)
if(NOT actual STREQUAL expected)
  message(FATAL_ERROR "plonkix-sim output changed.\nExpected:\n${expected}\nActual:\n${actual}")
endif()
