# vt5150_embed_file (<output.cpp> <input file> <symbol>)
#
# Generates, at build time, a source file defining
#     extern const unsigned char <symbol>[];  and  extern const int <symbol>Size;
# inside namespace EmbeddedResources, holding the input file's bytes.

set (VT5150_EMBED_SCRIPT "${CMAKE_CURRENT_LIST_DIR}/EmbedFile.cmake")

function (vt5150_embed_file output input symbol)
    add_custom_command (
        OUTPUT "${output}"
        COMMAND "${CMAKE_COMMAND}" -DINPUT=${input} -DOUTPUT=${output} -DSYMBOL=${symbol}
                -P "${VT5150_EMBED_SCRIPT}"
        DEPENDS "${input}" "${VT5150_EMBED_SCRIPT}"
        COMMENT "Embedding ${symbol}"
        VERBATIM)
endfunction()
