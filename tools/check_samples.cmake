# Regenerates the demonstration sequence into OUT and compares it byte for byte with the
# committed samples/ (SAMPLES): the frames must be exactly what make_samples writes.
#   cmake -DMAKE_SAMPLES=... -DSAMPLES=... -DOUT=... -P check_samples.cmake
file(REMOVE_RECURSE "${OUT}")
file(MAKE_DIRECTORY "${OUT}")
execute_process(COMMAND "${MAKE_SAMPLES}" "${OUT}" OUTPUT_FILE "${OUT}/README.md"
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "make_samples failed: ${status}")
endif()
foreach(name field001.fit field002.fit field003.fit field004.fit field005.fit README.md)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${OUT}/${name}" "${SAMPLES}/${name}"
                  RESULT_VARIABLE differs)
  if(NOT differs EQUAL 0)
    message(FATAL_ERROR "samples/${name} differs from what make_samples writes now")
  endif()
endforeach()
