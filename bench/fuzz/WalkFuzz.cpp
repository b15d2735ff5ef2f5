// Fuzz target: the entry walk on raw bytes, as if they had come out of the inflation.
// Reaches every corner of the walk without needing a valid zlib stream.
#include <cstddef>
#include <cstdint>

#include "bench/fuzz/WalkCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::WalkAndCheck(data, size);
  return 0;
}
