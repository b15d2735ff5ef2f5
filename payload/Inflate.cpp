#include "payload/Inflate.h"

#include <libdeflate.h>

#include <algorithm>
#include <new>

#include "payload/PayloadFormat.h"

namespace payload {
namespace {

struct DecompressorDeleter {
  void operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }
};

// Each input bit yields at most one symbol of at most 258 bytes: an output larger than
// this for the input's length (and the few zero bytes read past its end) cannot come
// from any stream, sound or damaged.
std::size_t MostOutput(std::size_t length) { return (length + 16) * 8 * 258; }

}  // namespace

TInflatedBytes InflateBuffer(const std::uint8_t* input, std::size_t length,
                             std::size_t estimate) {
  // The growth step: the input length rounded up to a multiple of 256.
  const std::size_t step = std::max<std::size_t>((length + 255) & ~std::size_t{255}, 256);
  const std::unique_ptr<libdeflate_decompressor, DecompressorDeleter> decompressor(
      libdeflate_alloc_decompressor());
  if (!decompressor) throw std::bad_alloc();

  TInflatedBytes out;
  for (std::size_t capacity = estimate != 0 ? estimate : step;;
       capacity = std::max(2 * capacity, capacity + step)) {
    // One pass over the whole stream fills the buffer or finds it too small; a larger
    // one (twice the size, so the passes add up to little) starts over. The old buffer
    // goes first, so no two are held at once.
    out.bytes_.reset();
    // Not zeroed: inflation writes every byte that is kept, and the rest is never read.
    out.bytes_ = std::make_unique_for_overwrite<std::uint8_t[]>(capacity);
    out.capacity_ = capacity;
    std::size_t produced = 0;
    switch (libdeflate_zlib_decompress(decompressor.get(), input, length, out.bytes_.get(),
                                       capacity, &produced)) {
      case LIBDEFLATE_SUCCESS:
        out.size_ = produced;
        return out;
      case LIBDEFLATE_INSUFFICIENT_SPACE:
        if (capacity > MostOutput(length)) throw DamagedPayload("the stream is damaged");
        break;
      default:  // damaged, cut short, a wrong Adler-32 or a preset dictionary
        throw DamagedPayload("the stream is damaged");
    }
  }
}

}  // namespace payload
