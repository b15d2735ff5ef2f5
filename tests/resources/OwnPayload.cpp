#include "tests/resources/OwnPayload.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "payload/Inflate.h"
#include "resources/SetupResources.h"

std::string TOwnPayload::Contents(const std::string& name) const {
  for (const payload::EntryView& e : Entries)
    if (e.name == name)
      return std::string(reinterpret_cast<const char*>(Inflated.data() + e.dataOffset), e.size);
  ADD_FAILURE() << "no payload entry " << name;
  return {};
}

const TOwnPayload& OwnPayload() {
  static const TOwnPayload own = [] {
    TOwnPayload p;
    HRSRC info = FindResourceA(nullptr, SETUP_RESOURCE_NAME(PAYLOAD_FILES), SETUP_RESOURCE_NAME(PAYLOAD_FILES));
    if (!info) return p;
    auto bytes = static_cast<const std::uint8_t*>(LockResource(LoadResource(nullptr, info)));
    p.Resource.assign(bytes, bytes + SizeofResource(nullptr, info));
    const auto inflated = payload::InflateBuffer(p.Resource.data(), p.Resource.size(), 0);
    p.Inflated.assign(inflated.begin(), inflated.end());
    p.Entries = payload::WalkEntries(p.Inflated.data(), p.Inflated.size());
    return p;
  }();
  return own;
}
