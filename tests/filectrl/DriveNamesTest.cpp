// The drive list's names on the test prefix's drives: C: fixed, d: optical, e: removable
// labelled DATA, n: a network drive that no network provider knows.
#include <gtest/gtest.h>

#include <windows.h>

#include "filectrl/DriveNames.h"

TEST(DriveNamesTest, LabelsTakeTheCaseOfTheLetterAndBracketsOnlyWhenNamed) {
  EXPECT_EQ(filectrl::VolumeLabel('e'), "[data]");
  EXPECT_EQ(filectrl::VolumeLabel('E'), "[DATA]");
  EXPECT_EQ(filectrl::VolumeLabel('n'), "");
  // A drive that does not answer has no name, and no dialog asks for a disk.
  EXPECT_EQ(filectrl::VolumeLabel('q'), "");
  // No provider knows n: or e:, so their volume labels stand in (n: has none).
  EXPECT_EQ(filectrl::NetworkName('n'), "");
  EXPECT_EQ(filectrl::NetworkName('e'), "[data]");
  // A: and B: are never listed, even when the mask has them.
  const auto drives = filectrl::ListedDrives(0x3 | (1u << ('e' - 'a')));
  ASSERT_EQ(drives.size(), 1u);
  EXPECT_EQ(drives[0].text, "e: [data]");
}
