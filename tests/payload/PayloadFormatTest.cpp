#include <windows.h>
#include <zlib.h>

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "instutils/DateTime.h"
#include "payload/PayloadFormat.h"
#include "resources/SetupResources.h"

using payload::AppendEntry;
using payload::DamagedPayload;
using payload::WalkEntries;

namespace {

using Bytes = std::vector<std::uint8_t>;

void Append(Bytes& out, const std::string& name, const std::string& contents, double date = 1.5) {
  AppendEntry(out, name, date, reinterpret_cast<const std::uint8_t*>(contents.data()),
              static_cast<std::int32_t>(contents.size()));
}

std::string ContentsOf(const Bytes& data, const payload::EntryView& e) {
  return std::string(reinterpret_cast<const char*>(data.data() + e.dataOffset), e.size);
}

TEST(PayloadWalk, ReadsEveryKindOfEntryBackToBack) {
  Bytes data;
  Append(data, "userdiclv.tlx", "");  // size 0, followed directly by the next entry
  Append(data, std::string(255, 'x'), "long name");
  Append(data, "", "nameless");
  Append(data, "Sub\\last.txt", "end");
  const auto entries = WalkEntries(data.data(), data.size());
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries[0].name, "userdiclv.tlx");
  EXPECT_EQ(entries[0].size, 0);
  EXPECT_EQ(entries[1].name, std::string(255, 'x'));
  EXPECT_EQ(ContentsOf(data, entries[1]), "long name");
  EXPECT_EQ(entries[2].name, "");
  EXPECT_EQ(ContentsOf(data, entries[2]), "nameless");
  EXPECT_EQ(ContentsOf(data, entries[3]), "end");
  EXPECT_EQ(entries[3].dataOffset + entries[3].size, data.size());
  EXPECT_DOUBLE_EQ(entries[3].date, 1.5);
}

TEST(PayloadWalk, EmptyDataHoldsNoEntries) {
  EXPECT_TRUE(WalkEntries(nullptr, 0).empty());
}

TEST(PayloadWalk, EntriesThatDoNotFitAreDamage) {
  Bytes good;
  Append(good, "a.txt", "contents");
  // Every cut inside the entry breaks either its header or its contents.
  for (std::size_t cut = 1; cut < good.size(); ++cut)
    EXPECT_THROW(WalkEntries(good.data(), cut), DamagedPayload) << "cut at " << cut;

  Bytes negative = good;
  const std::size_t sizeField = 1 + 5 + 8;
  std::memset(&negative[sizeField], 0xFF, 4);  // size -1
  EXPECT_THROW(WalkEntries(negative.data(), negative.size()), DamagedPayload);

  Bytes huge = good;
  huge[sizeField + 3] = 0x7F;  // size far beyond the data
  EXPECT_THROW(WalkEntries(huge.data(), huge.size()), DamagedPayload);

  Bytes trailing = good;
  trailing.push_back(3);  // a stray byte after the last entry reads as a broken entry
  EXPECT_THROW(WalkEntries(trailing.data(), trailing.size()), DamagedPayload);
}

TEST(PayloadDate, EncodesDaysAndMilliseconds) {
  EXPECT_EQ(inst::EncodeDateTime({2009, 5, 20, 14, 30, 0}), 39953.604166666664);
  EXPECT_EQ(inst::EncodeDateTime({1899, 12, 31, 0, 0, 0}), 1.0);
  EXPECT_EQ(inst::EncodeDateTime({1899, 12, 30, 0, 0, 0}), 0.0);
  const auto p = inst::DecodeDateTime(39953.604166666664);
  EXPECT_EQ(p.year, 2009);
  EXPECT_EQ(p.month, 5);
  EXPECT_EQ(p.day, 20);
  EXPECT_EQ(p.hour, 14);
  EXPECT_EQ(p.minute, 30);
  EXPECT_EQ(p.second, 0);
}

TEST(PayloadDate, DosDateTimeRoundTripsAtEvenSecondsFrom1980To2099) {
  std::uint16_t d = 0, t = 0;
  const double value = inst::EncodeDateTime({2024, 2, 29, 23, 59, 58});
  ASSERT_TRUE(inst::DateToDosDateTime(value, d, t));
  EXPECT_EQ(inst::DosDateTimeToDate(d, t), value);
  EXPECT_TRUE(inst::DateToDosDateTime(inst::EncodeDateTime({1980, 1, 1, 0, 0, 0}), d, t));
  EXPECT_EQ(d, (0 << 9) | (1 << 5) | 1);
  EXPECT_FALSE(inst::DateToDosDateTime(inst::EncodeDateTime({1979, 12, 31, 23, 59, 58}), d, t));
  EXPECT_FALSE(inst::DateToDosDateTime(inst::EncodeDateTime({2100, 1, 1, 0, 0, 0}), d, t));
  // An odd second falls to the even second below it, as the file system keeps it.
  ASSERT_TRUE(inst::DateToDosDateTime(inst::EncodeDateTime({2010, 6, 1, 10, 15, 31}), d, t));
  EXPECT_EQ(inst::DosDateTimeToDate(d, t), inst::EncodeDateTime({2010, 6, 1, 10, 15, 30}));
}

TEST(PayloadWriter, ItsPayloadReadsBackEntryForEntry) {
  HRSRC res = FindResourceA(nullptr, SETUP_RESOURCE_NAME(PAYLOAD_FILES), SETUP_RESOURCE_NAME(PAYLOAD_FILES));
  ASSERT_NE(res, nullptr);
  const auto* packed = static_cast<const Bytef*>(LockResource(LoadResource(nullptr, res)));
  const DWORD packedSize = SizeofResource(nullptr, res);
  ASSERT_GE(packedSize, 2u);
  EXPECT_EQ(packed[0], 0x78);
  EXPECT_EQ(packed[1], 0xDA);  // level 9

  Bytes data(1 << 16);
  uLongf size = data.size();
  ASSERT_EQ(uncompress(data.data(), &size, packed, packedSize), Z_OK);
  const auto entries = WalkEntries(data.data(), size);
  ASSERT_EQ(entries.size(), 3u);
  const double stamp = inst::EncodeDateTime({2009, 5, 20, 14, 30, 0});
  EXPECT_EQ(entries[0].name, "one.txt");
  EXPECT_EQ(ContentsOf(data, entries[0]), "first file\n");
  EXPECT_EQ(entries[1].name, "userdiclv.tlx");
  EXPECT_EQ(entries[1].size, 0);
  EXPECT_EQ(entries[2].name, "Sub\\three.txt");
  EXPECT_EQ(ContentsOf(data, entries[2]), "third");
  for (const auto& e : entries) EXPECT_EQ(e.date, stamp) << e.name;
}

}  // namespace
