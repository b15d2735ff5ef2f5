// The program's resources that are stored deflate-compressed, as RCDATA holding a zlib
// stream (the build packs them, cmake/PackedResource.cmake): the wizard's layout, the
// Latvian texts and the pictures' larger drawn sizes. They are inflated when used.
#pragma once

#include "payload/Inflate.h"

namespace inst {

// The inflated bytes of the program's packed resource `name`; none (size 0) when the
// program has no such resource. A damaged stream raises payload::DamagedPayload.
payload::TInflatedBytes PackedResource(const char* name);

}  // namespace inst
