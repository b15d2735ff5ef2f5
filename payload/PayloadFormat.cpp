#include "payload/PayloadFormat.h"

#include <cstring>

namespace payload {
namespace {

std::int32_t ReadInt32(const std::uint8_t* p) {
  const std::uint32_t v = std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 |
                          std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
  return static_cast<std::int32_t>(v);
}

double ReadDouble(const std::uint8_t* p) {
  std::uint64_t bits = 0;
  for (int i = 7; i >= 0; --i) bits = bits << 8 | p[i];
  double d;
  std::memcpy(&d, &bits, sizeof d);
  return d;
}

void WriteLE(std::vector<std::uint8_t>& out, std::uint64_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

}  // namespace

std::vector<EntryView> WalkEntries(const std::uint8_t* data, std::size_t size) {
  std::vector<EntryView> entries;
  std::size_t pos = 0;
  while (pos < size) {
    const std::size_t nameLength = data[pos];
    if (size - pos < kFixedHeaderSize + nameLength)
      throw DamagedPayload("payload entry header at offset " + std::to_string(pos) +
                           " runs past the end of the data");
    EntryView e;
    e.name.assign(reinterpret_cast<const char*>(data + pos + 1), nameLength);
    pos += 1 + nameLength;
    e.date = ReadDouble(data + pos);
    pos += 8;
    e.size = ReadInt32(data + pos);
    pos += 4;
    if (e.size < 0 || static_cast<std::size_t>(e.size) > size - pos)
      throw DamagedPayload("payload entry \"" + e.name + "\" has a size that does not fit the data");
    e.dataOffset = pos;
    pos += static_cast<std::size_t>(e.size);
    entries.push_back(std::move(e));
  }
  return entries;
}

void AppendEntry(std::vector<std::uint8_t>& out, std::string_view name, double date,
                 const std::uint8_t* contents, std::int32_t size) {
  if (name.size() > kMaxNameLength) throw std::invalid_argument("name longer than 255 bytes");
  if (size < 0) throw std::invalid_argument("negative size");
  out.push_back(static_cast<std::uint8_t>(name.size()));
  out.insert(out.end(), name.begin(), name.end());
  std::uint64_t bits;
  std::memcpy(&bits, &date, sizeof bits);
  WriteLE(out, bits, 8);
  WriteLE(out, static_cast<std::uint32_t>(size), 4);
  out.insert(out.end(), contents, contents + size);
}

}  // namespace payload
