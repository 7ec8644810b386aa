// Firefox's compressed JSON files (.jsonlz4, .mozlz4): the 8 bytes
// "mozLz40\0", the size of the text as a 32-bit little-endian number, then
// the text as one LZ4 block.
#ifndef FAVLINK_SUPPORT_MOZLZ4_H_
#define FAVLINK_SUPPORT_MOZLZ4_H_

#include <cstddef>
#include <string_view>
#include <vector>

/// The 8 bytes a compressed file begins with.
inline constexpr std::string_view kMozLz4Magic{"mozLz40\0", 8};

/// Decodes the compressed file of n bytes at file into *text, which then
/// holds exactly the stated size. False, with *text empty, when the file is
/// shorter than its header or its block does not decode to that size (a
/// stated size beyond what any block of that length can give is not even
/// tried, so a damaged header cannot ask for more memory than the file
/// warrants).
bool mozlz4_decode(const unsigned char* file, std::size_t n, std::vector<unsigned char>* text);

#endif  // FAVLINK_SUPPORT_MOZLZ4_H_
