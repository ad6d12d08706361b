# Script mode: writes OUTPUT, a C++ source that holds the bytes of INPUT as SYMBOL.

file (READ "${INPUT}" hex HEX)
string (LENGTH "${hex}" hexLength)
math (EXPR size "${hexLength} / 2")
string (REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string (REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)" "\\1\n    " bytes "${bytes}")

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
