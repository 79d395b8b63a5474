# Turns a data file into a C++ source that holds its bytes, so the program
# carries the file without a hand-written copy of it.
#   cmake -DINPUT=<file> -DOUTPUT=<source> -DFUNCTION=<name> -DHEADER=<include> -P EmbedFile.cmake
# The source defines  std::string_view <FUNCTION>()  (declared in HEADER)
# returning the bytes.
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" hex_length)
math(EXPR size "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
# Sixteen bytes a line (CMake's expressions have no repeat counts).
string(REPEAT "0x[0-9a-f][0-9a-f]," 16 sixteen)
string(REGEX REPLACE "(${sixteen})" "\\1\n    " bytes "${bytes}")
get_filename_component(input_name "${INPUT}" NAME)
file(WRITE "${OUTPUT}.tmp" "// Generated from ${input_name} by EmbedFile.cmake; do not edit.
#include \"${HEADER}\"

namespace {
const unsigned char kBytes[] = {
    ${bytes}0x00};
}  // namespace

std::string_view ${FUNCTION}() { return std::string_view(reinterpret_cast<const char*>(kBytes), ${size}); }
")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
