# A short, reproducible fuzzing run: a fresh copy of the seeds, a fixed seed and run count.
# Usage: cmake -D FUZZER=<exe> -D SEEDS=<dir> -D WORK=<dir> -D ARTIFACTS=<dir> [-D DICTIONARY=<file>]
#        -P RunBounded.cmake
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK} ${ARTIFACTS})
file(COPY ${SEEDS}/ DESTINATION ${WORK})

set(options -runs=20000 -max_len=4096 -seed=1 -artifact_prefix=${ARTIFACTS}/)
if(DICTIONARY)
    list(APPEND options -dict=${DICTIONARY})
endif()
execute_process(
    COMMAND ${FUZZER} ${options} ${WORK}
    WORKING_DIRECTORY ${ARTIFACTS}
    RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "${FUZZER} failed (${result}); the failing input is in ${ARTIFACTS}")
endif()
