# SPDX-License-Identifier: GPL-3.0-or-later
# Started where no display can be opened, the program says so in one line
# and exits with a failure code, never with a signal (an abort, a core dump).
execute_process(
    COMMAND env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "${PROGRAM}"
    RESULT_VARIABLE result
    OUTPUT_VARIABLE output
    ERROR_VARIABLE errors
    TIMEOUT 30)
if(NOT result MATCHES "^[0-9]+$" OR result EQUAL 0)
    message(FATAL_ERROR "expected a plain failure exit code, got '${result}'\n${errors}")
endif()
string(STRIP "${errors}" errors)
if(NOT errors MATCHES "^[^\n]*no display[^\n]*xvfb-run[^\n]*$")
    message(FATAL_ERROR "expected one line about the display, got:\n${errors}")
endif()
