// Fuzz target: the store's loading path on a packed payload. The input is inflated with
// the estimate the store gives (5 x its length) and the result walked. A second, plain
// inflation by zlib in fixed 64 KB chunks is the reference: InflateBuffer must succeed
// exactly when it reaches the stream's end, with the same bytes, and fail only with
// DamagedPayload otherwise. The same holds without an estimate, where the buffer starts
// at one growth step, so the growth path is taken for nearly every sound stream.
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "bench/fuzz/WalkCheck.h"
#include "payload/Inflate.h"

namespace {

// True and the inflated bytes when the stream is whole and sound.
bool ReferenceInflate(const std::uint8_t* input, std::size_t length,
                      std::vector<std::uint8_t>& out) {
  z_stream z{};
  if (inflateInit(&z) != Z_OK) fuzz::Broken("reference inflateInit");
  z.next_in = const_cast<Bytef*>(input);
  z.avail_in = static_cast<uInt>(length);
  std::uint8_t chunk[1 << 16];
  int rc;
  do {
    z.next_out = chunk;
    z.avail_out = sizeof chunk;
    rc = inflate(&z, Z_NO_FLUSH);
    out.insert(out.end(), chunk, chunk + (sizeof chunk - z.avail_out));
  } while (rc == Z_OK && z.avail_out == 0);
  inflateEnd(&z);
  return rc == Z_STREAM_END;
}

// Inflates with the given estimate and holds the outcome against the reference's.
bool InflateLikeReference(const std::uint8_t* data, std::size_t size, std::size_t estimate,
                          bool sound, const std::vector<std::uint8_t>& expected,
                          std::vector<std::uint8_t>& inflated) {
  try {
    const payload::TInflatedBytes result = payload::InflateBuffer(data, size, estimate);
    inflated.assign(result.begin(), result.end());
  } catch (const payload::DamagedPayload&) {
    if (sound) fuzz::Broken("a sound stream was refused");
    return false;
  }
  if (!sound) fuzz::Broken("a damaged stream was accepted");
  if (inflated != expected) fuzz::Broken("inflated bytes differ from the reference");
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::uint8_t> expected, inflated;
  const bool sound = ReferenceInflate(data, size, expected);
  InflateLikeReference(data, size, 0, sound, expected, inflated);
  if (InflateLikeReference(data, size, 5 * size, sound, expected, inflated))
    fuzz::WalkAndCheck(inflated.data(), inflated.size());
  return 0;
}
