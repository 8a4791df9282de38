// The uninstall's decisions on shared libraries: trusted entries, each
// library once, counts planned before any is written.
#include <gtest/gtest.h>

#include "package/libraryRelease.h"

using Names = std::vector<std::string>;

TEST(LibraryRelease, ElevatedTrustsAPerUserEntryOnlyWithoutLibraries) {
  const Names none, one = {"C:\\ProgramData\\Lumavane\\other.dll"};
  const struct {
    bool machineWide, elevated;
    const Names &libraries;
    bool trusted;
  } rows[] = {
      {true, true, one, true},   {true, true, none, true},  {false, true, one, false},
      {false, true, none, true}, {false, false, one, true}, {true, false, one, true},
  };
  for (const auto &row : rows)
    EXPECT_EQ(trustsUninstallEntry(row.machineWide, row.elevated, row.libraries), row.trusted)
        << row.machineWide << row.elevated << row.libraries.size();
}

TEST(LibraryRelease, EachLibraryIsReleasedOnceWhateverItsLetterCase) {
  EXPECT_EQ(distinctLibraries({"C:\\S\\a.dll", "C:\\S\\b.dll", "c:\\s\\A.DLL", "C:\\S\\b.dll"}),
            (Names{"C:\\S\\a.dll", "C:\\S\\b.dll"}));
  EXPECT_EQ(distinctLibraries({}), Names{});
}

TEST(LibraryRelease, CountsArePlannedBeforeAnyIsWritten) {
  const LibraryRelease release = planLibraryRelease({{"a.dll", true, 3},
                                                     {"b.dll", true, 1},
                                                     {"c.dll", false, 0},
                                                     {"d.dll", true, 0},
                                                     {"e.dll", true, 2}});
  EXPECT_EQ(release.removed, (Names{"b.dll", "d.dll"}));
  ASSERT_EQ(release.lowered.size(), 2u);
  EXPECT_EQ(release.lowered[0].library, "a.dll");
  EXPECT_EQ(release.lowered[0].count, 2u);
  EXPECT_EQ(release.lowered[1].library, "e.dll");
  EXPECT_EQ(release.lowered[1].count, 1u);
}
