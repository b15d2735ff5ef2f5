#include "payload/Inflate.h"

#include <zlib.h>

#include <algorithm>
#include <limits>
#include <new>
#include <string>

#include "payload/PayloadFormat.h"

namespace payload {
namespace {

// Ends the stream on every path out of InflateBuffer.
class InflateStream {
 public:
  explicit InflateStream(z_stream& z) : z_(z) {
    const int rc = inflateInit(&z_);  // zlib format, 15-bit window
    if (rc == Z_MEM_ERROR) throw std::bad_alloc();
    if (rc != Z_OK)
      throw DamagedPayload("zlib could not start inflating (" + std::to_string(rc) + ")");
  }
  ~InflateStream() { inflateEnd(&z_); }
  InflateStream(const InflateStream&) = delete;
  InflateStream& operator=(const InflateStream&) = delete;

 private:
  z_stream& z_;
};

[[noreturn]] void Fail(const z_stream& z, int rc) {
  if (rc == Z_MEM_ERROR) throw std::bad_alloc();
  std::string why;
  switch (rc) {
    case Z_NEED_DICT:
      why = "the stream asks for a preset dictionary";
      break;
    case Z_BUF_ERROR:
    case Z_OK:
      why = "the stream ends early";
      break;
    default:
      why = z.msg ? z.msg : "the stream is damaged";
      break;
  }
  throw DamagedPayload(why);
}

}  // namespace

std::vector<std::uint8_t> InflateBuffer(const std::uint8_t* input, std::size_t length,
                                        std::size_t estimate) {
  if (length > std::numeric_limits<uInt>::max()) throw DamagedPayload("the stream is too long");
  // The growth step: the input length rounded up to a multiple of 256. It is never 0,
  // so even an empty input makes progress towards its error instead of looping.
  const std::size_t step = std::max<std::size_t>((length + 255) & ~std::size_t{255}, 256);
  std::vector<std::uint8_t> out(estimate != 0 ? estimate : step);

  z_stream z{};
  z.next_in = const_cast<Bytef*>(input);
  z.avail_in = static_cast<uInt>(length);
  InflateStream stream(z);
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(out.size());

  int rc = inflate(&z, Z_NO_FLUSH);
  // Grow only while the output buffer is what stopped inflation; with room left over,
  // Z_OK or Z_BUF_ERROR mean the input ran out before the stream's end.
  while ((rc == Z_OK || rc == Z_BUF_ERROR) && z.avail_out == 0) {
    const std::size_t produced = z.total_out;
    out.resize(out.size() + step);
    z.next_out = out.data() + produced;
    z.avail_out = static_cast<uInt>(out.size() - produced);
    rc = inflate(&z, Z_NO_FLUSH);
  }
  if (rc != Z_STREAM_END) Fail(z, rc);
  out.resize(z.total_out);
  out.shrink_to_fit();
  return out;
}

}  // namespace payload
