# Compiles a text file into a library as a function returning its bytes, so the program carries
# the text wherever it is installed. The file is read again whenever it changes.
function(vexa_embed_text target file function)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${file})
  file(READ ${file} hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  set(out ${CMAKE_CURRENT_BINARY_DIR}/embedded/${function}.cpp)
  file(CONFIGURE OUTPUT ${out} CONTENT
"// Generated from ${file}; do not edit.
#include <string_view>
namespace vexa {
std::string_view ${function}() {
    static constexpr unsigned char kBytes[] = {${bytes} 0};
    return std::string_view(reinterpret_cast<const char*>(kBytes), sizeof kBytes - 1);
}
} // namespace vexa
")
  target_sources(${target} PRIVATE ${out})
endfunction()
