// The payload linked into this test program through setup_resources, inflated and walked
// once, and the files it was packed from.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "payload/PayloadFormat.h"

struct TOwnPayload {
  std::vector<std::uint8_t> Resource;  // the resource's bytes, still compressed
  std::vector<std::uint8_t> Inflated;
  std::vector<payload::EntryView> Entries;

  // The contents of the entry of that name; fails the test and gives "" when absent.
  std::string Contents(const std::string& name) const;
};

const TOwnPayload& OwnPayload();
