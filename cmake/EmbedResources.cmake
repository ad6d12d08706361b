# vt5150_embed_file (<output.cpp> <input file> <symbol> [LENGTH_PREFIX])
#
# Generates, at build time, a source file defining
#     extern const unsigned char <symbol>[];  and  extern const int <symbol>Size;
# inside namespace EmbeddedResources, holding the input file's bytes. With
# LENGTH_PREFIX, the bytes are preceded by the file's length as a little-endian
# 32-bit word and a reserved zero word.

set (VT5150_EMBED_SCRIPT "${CMAKE_CURRENT_LIST_DIR}/EmbedFile.cmake")

function (vt5150_embed_file output input symbol)
    set (lengthPrefix OFF)

    if ("LENGTH_PREFIX" IN_LIST ARGN)
        set (lengthPrefix ON)
    endif()

    add_custom_command (
        OUTPUT "${output}"
        COMMAND "${CMAKE_COMMAND}" -DINPUT=${input} -DOUTPUT=${output} -DSYMBOL=${symbol}
                -DLENGTH_PREFIX=${lengthPrefix} -P "${VT5150_EMBED_SCRIPT}"
        DEPENDS "${input}" "${VT5150_EMBED_SCRIPT}"
        COMMENT "Embedding ${symbol}"
        VERBATIM)
endfunction()
