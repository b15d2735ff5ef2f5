// One-shot inflation of a zlib stream held in memory. Windows-free, so it also builds
// natively (for fuzzing the payload reader).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace payload {

// The bytes InflateBuffer produced, at the start of the one buffer they were inflated
// into: it is never copied to fit them, so the room the estimate left over stays behind
// them (capacity() - size() bytes, never touched).
class TInflatedBytes {
 public:
  TInflatedBytes() = default;
  const std::uint8_t* data() const { return bytes_.get(); }
  std::size_t size() const { return size_; }
  std::size_t capacity() const { return capacity_; }
  const std::uint8_t* begin() const { return data(); }
  const std::uint8_t* end() const { return data() + size_; }

 private:
  friend TInflatedBytes InflateBuffer(const std::uint8_t*, std::size_t, std::size_t);
  std::unique_ptr<std::uint8_t[]> bytes_;
  std::size_t size_ = 0, capacity_ = 0;
};

// Inflates the zlib stream (RFC 1950, any window up to 32 KB, no preset dictionary) at
// input into a buffer of `estimate` bytes (when 0: the growth step, the input length
// rounded up to a multiple of 256); a stream that needs more room is inflated again into
// a buffer twice as large. A stream that is damaged, cut short, fails its Adler-32 check
// or asks for a dictionary raises DamagedPayload; lack of memory raises std::bad_alloc.
// Bytes after the end of the stream are not looked at.
TInflatedBytes InflateBuffer(const std::uint8_t* input, std::size_t length,
                             std::size_t estimate);

}  // namespace payload
