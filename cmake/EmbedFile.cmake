# Script mode: writes OUTPUT, a C++ source that holds the bytes of INPUT as
# SYMBOL. With LENGTH_PREFIX set, the bytes are preceded by the file's length
# as a little-endian 32-bit word and a reserved 32-bit word of zero.

file (READ "${INPUT}" hex HEX)
string (LENGTH "${hex}" hexLength)
math (EXPR size "${hexLength} / 2")

if (LENGTH_PREFIX)
    math (EXPR lengthWord "${size}" OUTPUT_FORMAT HEXADECIMAL)
    string (SUBSTRING "${lengthWord}" 2 -1 lengthWord)
    string (LENGTH "${lengthWord}" digits)
    math (EXPR padding "8 - ${digits}")
    string (REPEAT "0" ${padding} zeros)
    set (lengthWord "${zeros}${lengthWord}")
    string (SUBSTRING "${lengthWord}" 6 2 b0)
    string (SUBSTRING "${lengthWord}" 4 2 b1)
    string (SUBSTRING "${lengthWord}" 2 2 b2)
    string (SUBSTRING "${lengthWord}" 0 2 b3)
    string (TOLOWER "${b0}${b1}${b2}${b3}00000000${hex}" hex)
    math (EXPR size "${size} + 8")
endif()

string (REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string (REPEAT "0x..," 16 sixteenBytes)
string (REGEX REPLACE "(${sixteenBytes})" "\\1\n    " bytes "${bytes}")

file (WRITE "${OUTPUT}"
"// Generated from ${INPUT}; do not edit.\n\
namespace EmbeddedResources\n\
{\n\
extern const unsigned char ${SYMBOL}[];\n\
extern const int ${SYMBOL}Size;\n\
\n\
const unsigned char ${SYMBOL}[] = {\n    ${bytes}\n};\n\
const int ${SYMBOL}Size = ${size};\n\
} // namespace EmbeddedResources\n")
