# Writes the bytes of INPUT (the compiled .res) into OUTPUT, a .cpp defining MarloxResources().
file(READ ${INPUT} hex HEX)
string(LENGTH "${hex}" hex_length)
math(EXPR size "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
# 16 bytes a line keep the generated file readable.
string(REPEAT "0x..," 16 line_of_16)
string(REGEX REPLACE "(${line_of_16})" "\\1\n    " bytes "${bytes}")
file(WRITE ${OUTPUT}
"// Generated from Marlox.res at build time.
#include \"res/MarloxResources.h\"

namespace {
alignas(4) const unsigned char kMarloxRes[${size}] = {
    ${bytes}
};
}  // namespace

std::pair<const unsigned char*, std::size_t> MarloxResources() {
    return {kMarloxRes, sizeof kMarloxRes};
}
")
