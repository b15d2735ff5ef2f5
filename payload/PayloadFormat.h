// The payload's inflated layout: entries back to back, each
//   name length (1 byte) | name (N bytes) | date-time (double) | size (int32) | contents.
// All numbers little-endian. Shared by the setup program's reader and the build-time
// payload writer, so it uses no Windows headers and builds natively too.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "instutils/Language.h"

namespace payload {

// Bytes before an entry's contents that do not depend on the name: length byte, date, size.
constexpr std::size_t kFixedHeaderSize = 1 + 8 + 4;
constexpr std::size_t kMaxNameLength = 255;
static_assert(sizeof(double) == 8, "the date-time field is an IEEE 754 double");

// A payload whose entries do not fit its inflated bytes, or that cannot be inflated. The
// store's own report carries the user's text too.
class DamagedPayload : public inst::EUserError {
 public:
  explicit DamagedPayload(const std::string& what, std::wstring text = {})
      : inst::EUserError(what, std::move(text)) {}
};

struct EntryView {
  std::string name;
  double date = 0;
  std::int32_t size = 0;
  std::size_t dataOffset = 0;  // offset of the first content byte in the inflated data
};

// Walks the inflated bytes. Every header and every entry's contents must lie inside the
// data and sizes must not be negative; otherwise the payload is damaged.
std::vector<EntryView> WalkEntries(const std::uint8_t* data, std::size_t size);

// Appends one entry in the layout above.
void AppendEntry(std::vector<std::uint8_t>& out, std::string_view name, double date,
                 const std::uint8_t* contents, std::int32_t size);

}  // namespace payload
