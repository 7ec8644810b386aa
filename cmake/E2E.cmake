# End-to-end tests driven by the case files in tests/e2e.
#
#   favlink_add_e2e(<casefile-basename-without-.txt>)
#
# FAVLINK_E2E_PROG overrides the command that runs favlink, for example
# "wine64 /path/to/favlink.exe" together with FAVLINK_E2E_PLATFORM=windows.

find_package(Python3 COMPONENTS Interpreter REQUIRED)

set(FAVLINK_E2E_PROG "" CACHE STRING
    "Command running favlink in end-to-end tests (empty: the favlink target)")
set(FAVLINK_E2E_PLATFORM "posix" CACHE STRING
    "Platform the end-to-end cases are run for: posix or windows")
set_property(CACHE FAVLINK_E2E_PLATFORM PROPERTY STRINGS posix windows)

function(favlink_add_e2e name)
  if(FAVLINK_E2E_PROG STREQUAL "")
    # Single quotes keep a build path with blanks in one word for the runner.
    set(prog "'$<TARGET_FILE:favlink>'")
  else()
    set(prog "${FAVLINK_E2E_PROG}")
  endif()
  add_test(NAME e2e.${name}
    COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tests/e2e/run_cases.py
            --prog "${prog}" --platform ${FAVLINK_E2E_PLATFORM}
            ${PROJECT_SOURCE_DIR}/tests/e2e/${name}.txt)
endfunction()

add_test(NAME e2e.runner_selftest
  COMMAND ${Python3_EXECUTABLE} ${PROJECT_SOURCE_DIR}/tests/e2e/test_runner.py)
