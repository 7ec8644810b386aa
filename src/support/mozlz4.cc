#include "support/mozlz4.h"

#include <lz4.h>

#include <cstdint>
#include <cstring>

namespace {

constexpr std::size_t kHeader = kMozLz4Magic.size() + 4;

// An LZ4 block gives at most 255 bytes for each of its bytes (a match length
// is extended one 255 at a time), and never more than LZ4 can address.
bool size_fits(std::uint32_t size, std::size_t block) {
  return size <= LZ4_MAX_INPUT_SIZE && size / 255 <= block;
}

}  // namespace

bool mozlz4_decode(const unsigned char* file, std::size_t n, std::vector<unsigned char>* text) {
  text->clear();
  if (n < kHeader || std::memcmp(file, kMozLz4Magic.data(), kMozLz4Magic.size()) != 0) return false;
  const unsigned char* s = file + kMozLz4Magic.size();
  const std::uint32_t size =
      s[0] | (std::uint32_t{s[1]} << 8) | (std::uint32_t{s[2]} << 16) | (std::uint32_t{s[3]} << 24);
  const std::size_t block = n - kHeader;
  if (!size_fits(size, block) || block > LZ4_MAX_INPUT_SIZE) return false;
  text->resize(size);
  const int got = LZ4_decompress_safe(reinterpret_cast<const char*>(file + kHeader),
                                      reinterpret_cast<char*>(text->data()),
                                      static_cast<int>(block), static_cast<int>(size));
  if (got < 0 || static_cast<std::uint32_t>(got) != size) {
    text->clear();
    return false;
  }
  return true;
}
