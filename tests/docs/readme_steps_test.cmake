# The README's update steps are a copy of the program's own page texts, Step 1.
# to Step 7. (ui/PageTexts.cpp): fails, showing both, when the copy differs
# from them in anything but the width of its blanks and where its lines break.
#
# Usage: cmake -P readme_steps_test.cmake

include ("${CMAKE_CURRENT_LIST_DIR}/../../cmake/PageTexts.cmake")
vt5150_read_page_texts (texts)

set (readmeFile "${CMAKE_CURRENT_LIST_DIR}/../../README.md")
file (READ "${readmeFile}" readme)
if (NOT readme MATCHES "<!-- The steps: a copy of [^>]*-->(.*)<!-- End of the copy -->")
    message (FATAL_ERROR "${readmeFile} has no marked copy of the steps")
endif()
string (REGEX REPLACE "[ \n]+" " " found "${CMAKE_MATCH_1}")

set (expected)
foreach (step RANGE 1 7)
    list (GET texts ${step} text)
    string (APPEND expected " ${step}. ${text}")
endforeach()
string (REGEX REPLACE "[ \n]+" " " expected "${expected} ")

if (NOT found STREQUAL expected)
    message (FATAL_ERROR "The README's steps differ from the program's page texts.\n"
                         "The program's:\n${expected}\nThe README's:\n${found}")
endif()
