# Hyphenates the stand-in word processor's sample words twice and compares the break points:
# with Debian's own libhyphen (NATIVE, a program of the build machine) on Debian's original
# pattern file in its 8-bit character set (ORIGINAL), and with qzv.exe (HOST, run under Wine
# by WINE_RUN) on the UTF-8 Latvian.hyph the payload carries (PATTERNS), installed into a
# portable module folder beside it. WORK: a scratch folder, removed again.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/Orthographe)

execute_process(COMMAND ${NATIVE} ${ORIGINAL} OUTPUT_VARIABLE native RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "Debian's libhyphen could not hyphenate with ${ORIGINAL}: ${rc}")
endif()

file(COPY ${HOST} DESTINATION ${WORK})
file(COPY ${PATTERNS} DESTINATION ${WORK}/Orthographe)
execute_process(COMMAND ${WINE_RUN} ${WORK}/qzv.exe /report Z:${WORK}/report.txt
                RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "qzv.exe /report failed: ${rc}")
endif()
file(READ ${WORK}/report.txt report)

string(REGEX MATCHALL "Hyphenated: [^\r\n]*" expected "${native}")
string(REGEX MATCHALL "Hyphenated: [^\r\n]*" actual "${report}")
list(LENGTH expected words)
if(words EQUAL 0)
  message(FATAL_ERROR "Debian's libhyphen hyphenated no word:\n${native}")
endif()
if(NOT actual STREQUAL expected)
  string(REPLACE ";" "\n" expected "${expected}")
  string(REPLACE ";" "\n" actual "${actual}")
  message(FATAL_ERROR "qzv.exe with the installed patterns:\n${actual}\n"
                      "Debian's libhyphen with the original patterns:\n${expected}\n\n${report}")
endif()
file(REMOVE_RECURSE ${WORK})
message(STATUS "${words} words broken at the same points by qzv.exe and Debian's libhyphen")
