#include "instutils/PackedResource.h"

#include <windows.h>

namespace inst {

payload::TInflatedBytes PackedResource(const char* name) {
  const HMODULE self = GetModuleHandleA(nullptr);
  const HRSRC res = FindResourceA(self, name, RT_RCDATA);
  const HGLOBAL loaded = res ? LoadResource(self, res) : nullptr;
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes) return {};
  // Text and pictures shrink to a third or less: room for four times the stream is
  // mostly enough for one pass.
  const DWORD size = SizeofResource(self, res);
  return payload::InflateBuffer(static_cast<const std::uint8_t*>(bytes), size, 4 * size);
}

}  // namespace inst
