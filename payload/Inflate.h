// One-shot inflation of a zlib stream held in memory. Windows-free, so it also builds
// natively (for fuzzing the payload reader).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace payload {

// Inflates the zlib stream (RFC 1950, any window up to 32 KB, no preset dictionary) at
// input into a buffer of `estimate` bytes at first (when 0: the growth step), grown in
// steps of the input length rounded up to a multiple of 256, and returns it shrunk to the
// bytes produced. A stream that is damaged, cut short, fails its Adler-32 check or asks
// for a dictionary raises DamagedPayload; lack of memory raises std::bad_alloc. Bytes
// after the end of the stream are not looked at.
std::vector<std::uint8_t> InflateBuffer(const std::uint8_t* input, std::size_t length,
                                        std::size_t estimate);

}  // namespace payload
