#include <windows.h>
#include <psapi.h>
#include <zlib.h>

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "payload/AttachFiles.h"
#include "payload/Inflate.h"
#include "payload/PayloadFormat.h"

using payload::DamagedPayload;
using payload::InflateBuffer;

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Compress(const Bytes& plain, int level = 9) {
  uLongf size = compressBound(plain.size());
  Bytes packed(size);
  EXPECT_EQ(compress2(packed.data(), &size, plain.data(), plain.size(), level), Z_OK);
  packed.resize(size);
  return packed;
}

// Mixed text that compresses a little, so the inflated size is not a round number.
Bytes SampleText(std::size_t size) {
  Bytes b(size);
  std::uint32_t x = 12345;
  for (auto& c : b) {
    x = x * 1103515245 + 12345;
    c = static_cast<std::uint8_t>("abcdefgh \n"[(x >> 16) % 10]);
  }
  return b;
}

Bytes Inflate(const Bytes& packed, std::size_t estimate) {
  const payload::TInflatedBytes inflated = InflateBuffer(packed.data(), packed.size(), estimate);
  return Bytes(inflated.begin(), inflated.end());
}

TEST(InflateBuffer, InflatesWithinTheEstimateIntoOneBufferNeverCopied) {
  const Bytes plain = SampleText(10000);
  const Bytes packed = Compress(plain);
  EXPECT_EQ(Inflate(packed, 5 * packed.size()), plain);
  // The buffer the estimate asked for holds the result as it is: not shrunk by a copy.
  EXPECT_EQ(InflateBuffer(packed.data(), packed.size(), 5 * packed.size()).capacity(),
            5 * packed.size());
  // The estimate met exactly: the stream's end is only seen on a call after the buffer
  // is full, which must not be taken for a payload that needs more room.
  EXPECT_EQ(Inflate(packed, plain.size()), plain);
  EXPECT_EQ(Inflate(packed, 0), plain);  // no estimate: starts at one step
}

TEST(InflateBuffer, GrowsWhenTheResultIsOverFiveTimesTheInput) {
  Bytes plain(300000, 'z');  // about 1000:1
  plain[123456] = '!';
  const Bytes packed = Compress(plain);
  ASSERT_GT(plain.size(), 5 * packed.size());
  EXPECT_EQ(Inflate(packed, 5 * packed.size()), plain);
}

TEST(InflateBuffer, AnEmptyStreamGivesNoBytesAndTrailingBytesAreNotRead) {
  EXPECT_TRUE(Inflate(Compress({}), 0).empty());
  const Bytes plain = SampleText(500);
  Bytes packed = Compress(plain);
  packed.insert(packed.end(), {1, 2, 3});
  EXPECT_EQ(Inflate(packed, 5 * packed.size()), plain);
}

TEST(InflateBuffer, DamagedStreamsRaiseDamagedPayload) {
  const Bytes plain = SampleText(20000);
  const Bytes packed = Compress(plain);
  // Cut anywhere, including inside the Adler-32 trailer, with both small and big buffers
  // (the first also takes the growth path).
  for (std::size_t cut : {std::size_t{0}, std::size_t{1}, std::size_t{2}, packed.size() / 2,
                          packed.size() - 4, packed.size() - 1}) {
    EXPECT_THROW(InflateBuffer(packed.data(), cut, 5 * cut), DamagedPayload) << "cut " << cut;
    EXPECT_THROW(InflateBuffer(packed.data(), cut, plain.size() * 2), DamagedPayload)
        << "cut " << cut;
  }
  Bytes badSum = packed;
  badSum.back() ^= 0x01;
  EXPECT_THROW(Inflate(badSum, 5 * badSum.size()), DamagedPayload);
  Bytes badHeader = packed;
  badHeader[1] ^= 0x01;  // header check bits no longer fit
  EXPECT_THROW(Inflate(badHeader, 5 * badHeader.size()), DamagedPayload);
  Bytes badData = packed;
  for (std::size_t i = 10; i < 40; ++i) badData[i] = 0xFF;
  EXPECT_THROW(Inflate(badData, 5 * badData.size()), DamagedPayload);
  const Bytes text = {'t', 'h', 'i', 'r', 'd'};
  EXPECT_THROW(Inflate(text, 5 * text.size()), DamagedPayload);
}

TEST(InflateBuffer, AStreamThatNeedsAPresetDictionaryIsRefused) {
  const Bytes plain = SampleText(2000);
  const char dictionary[] = "abcdefgh abcdefgh";
  z_stream z{};
  ASSERT_EQ(deflateInit(&z, 9), Z_OK);
  ASSERT_EQ(
      deflateSetDictionary(&z, reinterpret_cast<const Bytef*>(dictionary), sizeof dictionary - 1),
      Z_OK);
  Bytes packed(deflateBound(&z, plain.size()));
  z.next_in = const_cast<Bytef*>(plain.data());
  z.avail_in = static_cast<uInt>(plain.size());
  z.next_out = packed.data();
  z.avail_out = static_cast<uInt>(packed.size());
  ASSERT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
  packed.resize(z.total_out);
  deflateEnd(&z);
  EXPECT_THROW(Inflate(packed, 5 * packed.size()), DamagedPayload);
}

std::size_t PrivateBytes() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return counters.PagefileUsage;
}

TEST(InflateBuffer, FailuresReleaseTheBufferAndTheStream) {
  // A stream cut after some output: both the 256 KB buffer and the decompressor exist
  // when the error is found. Leaking either would grow the process by far more
  // than the allowance after this many failures.
  const Bytes packed = Compress(SampleText(20000));
  const std::size_t cut = packed.size() / 2;
  EXPECT_THROW(InflateBuffer(packed.data(), cut, 1 << 18), DamagedPayload);  // warms the heap
  const std::size_t before = PrivateBytes();
  for (int i = 0; i < 1000; ++i)
    EXPECT_THROW(InflateBuffer(packed.data(), cut, 1 << 18), DamagedPayload);
  EXPECT_LT(PrivateBytes(), before + (8u << 20));
}

// This program carries no payload resource of its own.
TEST(StoreConstruction, AMissingOrDamagedPayloadStopsTheStoreWithAClearError) {
  try {
    payload::TAttachedFiles store;
    ADD_FAILURE() << "a store without a payload";
  } catch (const DamagedPayload& e) {
    EXPECT_STREQ(e.what(), "The setup program's attached files are missing.");
  }

  const std::string damaged = "The setup program's attached files are damaged (";
  const Bytes packed = Compress(SampleText(3000));
  try {
    payload::TAttachedFiles store(packed.data(), packed.size() - 1);
    ADD_FAILURE() << "a store from a cut stream";
  } catch (const DamagedPayload& e) {
    EXPECT_EQ(std::string(e.what()).rfind(damaged, 0), 0u) << e.what();
  }
  // A sound stream whose entries do not fit the inflated data is damaged all the same.
  Bytes plain;
  const std::uint8_t contents[] = {'a', 'b', 'c'};
  payload::AppendEntry(plain, "a.txt", 1.5, contents, 3);
  plain.pop_back();
  const Bytes badLayout = Compress(plain);
  try {
    payload::TAttachedFiles store(badLayout.data(), badLayout.size());
    ADD_FAILURE() << "a store from entries that do not fit";
  } catch (const DamagedPayload& e) {
    EXPECT_EQ(std::string(e.what()).rfind(damaged, 0), 0u) << e.what();
  }
}

}  // namespace
