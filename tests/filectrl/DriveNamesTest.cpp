// The drive list's names on the test prefix's drives: C: fixed, d: optical, e: removable
// labelled DATA, n: a network drive that no network provider knows.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>

#include "DriveNames.h"

using filectrl::DriveEntry;
using filectrl::ListedDrives;

namespace {

const DriveEntry* Find(const std::vector<DriveEntry>& drives, char letter) {
  const auto at = std::find_if(drives.begin(), drives.end(), [&](const DriveEntry& d) { return d.letter == letter; });
  return at == drives.end() ? nullptr : &*at;
}

}  // namespace

TEST(DriveNamesTest, LabelsTakeTheCaseOfTheLetterAndBracketsOnlyWhenNamed) {
  EXPECT_EQ(filectrl::VolumeLabel('e'), "[data]");
  EXPECT_EQ(filectrl::VolumeLabel('E'), "[DATA]");
  EXPECT_EQ(filectrl::VolumeLabel('n'), "");
  // A drive that does not answer has no name, and no dialog asks for a disk.
  EXPECT_EQ(filectrl::VolumeLabel('q'), "");
  // The provider does not know n:, so its volume label stands in.
  EXPECT_EQ(filectrl::NetworkName('n'), filectrl::VolumeLabel('n'));
  EXPECT_EQ(filectrl::NetworkName('e'), "[data]");
}

TEST(DriveNamesTest, ListsFixedRemovableAndNetworkDrivesButNeitherFloppyLettersNorOptical) {
  // Bits for A: and B: are set on purpose: they are never listed.
  const auto drives = ListedDrives(GetLogicalDrives() | 0x3);
  ASSERT_NE(Find(drives, 'c'), nullptr);
  EXPECT_EQ(Find(drives, 'c')->text.substr(0, 3), "c: ");
  EXPECT_FALSE(Find(drives, 'c')->external);
  ASSERT_NE(Find(drives, 'e'), nullptr);
  EXPECT_EQ(Find(drives, 'e')->text, "e: [data]");
  EXPECT_TRUE(Find(drives, 'e')->external);
  ASSERT_NE(Find(drives, 'n'), nullptr);
  EXPECT_EQ(Find(drives, 'n')->text, "n: ");  // no label: a colon and a blank
  EXPECT_FALSE(Find(drives, 'n')->external);
  for (char absent : {'a', 'b', 'd'}) EXPECT_EQ(Find(drives, absent), nullptr) << absent;
  EXPECT_TRUE(std::is_sorted(drives.begin(), drives.end(),
                             [](const DriveEntry& x, const DriveEntry& y) { return x.letter < y.letter; }));
  // Only drives in the mask are asked about.
  EXPECT_TRUE(ListedDrives(1u << ('e' - 'a')).size() == 1);
}

TEST(DriveNamesTest, StoredLetterIsLowerCaseAndNulBecomesBlank) {
  EXPECT_EQ(filectrl::StoredDriveLetter('E'), 'e');
  EXPECT_EQ(filectrl::StoredDriveLetter('e'), 'e');
  EXPECT_EQ(filectrl::StoredDriveLetter('\0'), ' ');
  EXPECT_EQ(filectrl::StoredDriveLetter(' '), ' ');
}
