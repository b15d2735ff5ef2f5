// What every successful walk must give back, whatever bytes it walked: entries that lie
// back to back from offset 0 to the last byte, and that written out again with the
// payload's own writer reproduce the walked bytes exactly (names, date bits, sizes).
// A broken promise aborts, which the fuzzer reports as a finding.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "payload/PayloadFormat.h"

namespace fuzz {

[[noreturn]] inline void Broken(const char* what) {
  std::fprintf(stderr, "walk check failed: %s\n", what);
  std::abort();
}

// Walks data; a damaged layout is an expected outcome, anything else that escapes is not.
inline void WalkAndCheck(const std::uint8_t* data, std::size_t size) {
  std::vector<payload::EntryView> entries;
  try {
    entries = payload::WalkEntries(data, size);
  } catch (const payload::DamagedPayload&) {
    return;
  }
  std::vector<std::uint8_t> again;
  std::size_t pos = 0;
  for (const payload::EntryView& e : entries) {
    if (e.name.size() > payload::kMaxNameLength) Broken("name longer than a length byte holds");
    if (e.size < 0) Broken("negative size accepted");
    if (e.dataOffset != pos + payload::kFixedHeaderSize + e.name.size())
      Broken("contents do not follow their header");
    pos = e.dataOffset + static_cast<std::size_t>(e.size);
    if (pos > size) Broken("contents run past the data");
    payload::AppendEntry(again, e.name, e.date, data + e.dataOffset, e.size);
  }
  if (pos != size) Broken("entries do not cover the data");
  if (again.size() != size || (size != 0 && std::memcmp(again.data(), data, size) != 0))
    Broken("entries written out again differ from the walked bytes");
}

}  // namespace fuzz
