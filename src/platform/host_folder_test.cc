#include "platform/host_folder.h"

#include <gtest/gtest.h>

#include "platform/memory_file_system.h"

namespace {

TEST(HostFolder, NamesMatchIgnoringCaseAnExactMatchFirst) {
  platform::MemoryFileSystem files;
  files.Put("Kdx_Temp.Txt", "host");
  files.Put("KDX_TEMP.$$$", "exact");
  files.Put("kdx_temp.$$$", "variant");
  files.Put("kdx_x2x2.$$", "left over");
  platform::HostFolder folder(files);
  bool exists = false;
  EXPECT_EQ(folder.Resolve("KDX_TEMP.TXT", &exists), "Kdx_Temp.Txt");
  EXPECT_TRUE(exists);
  EXPECT_EQ(folder.Resolve("KDX_TEMP.$$$"), "KDX_TEMP.$$$");
  EXPECT_EQ(folder.Resolve("new.txt", &exists), "new.txt");
  EXPECT_FALSE(exists);

  // A rename takes the target name as written and replaces a case variant
  // of it.
  EXPECT_TRUE(folder.RenameReplacing("kdx_temp.txt", "KDX_x2x2.$$"));
  EXPECT_EQ(*files.Get("KDX_x2x2.$$"), "host");
  EXPECT_EQ(files.Get("kdx_x2x2.$$"), nullptr);
  EXPECT_EQ(files.Get("Kdx_Temp.Txt"), nullptr);
  // The listing follows the run's own renames: the file renamed back under
  // its first name is found again by another spelling.
  EXPECT_TRUE(folder.RenameReplacing("KDX_x2x2.$$", "Kdx_Temp.Txt"));
  EXPECT_EQ(folder.Resolve("KDX_TEMP.TXT"), "Kdx_Temp.Txt");
  EXPECT_FALSE(folder.RenameReplacing("missing", "other"));

  // Moving over an entry replaces it under its own spelling.
  EXPECT_TRUE(folder.MoveOver("kdx_temp.$$$", "KDX_TEMP.TXT"));
  EXPECT_EQ(*files.Get("Kdx_Temp.Txt"), "variant");
  EXPECT_TRUE(folder.Remove("kdx_temp.$$$"));
  EXPECT_EQ(files.files().size(), 1u);
}

}  // namespace
