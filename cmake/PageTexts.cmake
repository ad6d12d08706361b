# vt5150_read_page_texts (<variable>): the wizard's page texts, read from
# ui/PageTexts.cpp, the one place where they are written: a list of eight,
# page 0 to 7, each line break a line feed. The manual page's update steps are
# made from them (cmake/Install.cmake), and the test Docs.ReadmeStepsMatchProgram
# holds the README's copy to them.
function (vt5150_read_page_texts variable)
    set (file "${CMAKE_CURRENT_FUNCTION_LIST_DIR}/../ui/PageTexts.cpp")
    file (READ "${file}" source)
    string (REGEX REPLACE ".*pageTexts\\[8\\] = {(.*)};.*" "\\1" table "${source}")
    string (REGEX REPLACE "\n[ \t]*//[^\n]*" "" table "${table}")

    # String literals, each with its quotes, and the commas between the entries.
    string (REGEX MATCHALL "\"([^\"\\\\]|\\\\.)*\"|," tokens "${table}")
    set (texts)
    set (text)

    foreach (token IN LISTS tokens)
        if (token STREQUAL ",")
            list (APPEND texts "${text}")
            set (text)
            continue()
        endif()

        string (REGEX REPLACE "^\"(.*)\"$" "\\1" literal "${token}")
        string (REGEX MATCHALL "\\\\.|[^\\\\]+" pieces "${literal}")

        foreach (piece IN LISTS pieces)
            if (piece STREQUAL "\\n")
                string (APPEND text "\n")
            elseif (piece MATCHES "^\\\\([\"\\\\])$")
                string (APPEND text "${CMAKE_MATCH_1}")
            elseif (piece MATCHES "^\\\\")
                message (FATAL_ERROR "${file}: the escape ${piece} is one that this reader does not know")
            else()
                string (APPEND text "${piece}")
            endif()
        endforeach()
    endforeach()

    list (LENGTH texts count)
    if (NOT count EQUAL 8 OR "${table}${text}" MATCHES ";")
        message (FATAL_ERROR "${file}: read ${count} page texts, not 8 (or one holds a semicolon, which a CMake list cannot)")
    endif()

    set (${variable} "${texts}" PARENT_SCOPE)
endfunction()
