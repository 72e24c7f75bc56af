// The editor's parts on their own: the work area's slots, the names and paths
// the store refuses, M3U reading, and the store writer's all-or-nothing batch.
#include <gtest/gtest.h>

#include "platform/profile/atomic_file.h"
#include "playlist/m3u.h"
#include "playlist/names.h"
#include "playlist/store.h"
#include "playlist/work_area.h"
#include "playlist_fixture.h"

TEST(WorkAreaTest, RemovingMovesSlotsNotPathsAndEveryLimitHolds) {
  WorkArea work;
  EXPECT_FALSE(work.add("/a.wav"));  // not allocated yet
  ASSERT_EQ(work.allocate(), WorkArea::Made::Ok);
  EXPECT_FALSE(work.add(std::string(128, 'x')));
  EXPECT_TRUE(work.add(std::string(127, 'x')));
  work.clear();
  for (const char* path : {"/a.wav", "/b.wav", "/c.wav"}) EXPECT_TRUE(work.add(path));
  const char* b_slot = work.entry(1);
  work.remove(0);
  EXPECT_EQ(work.entry(0), b_slot);  // the same bytes, one place up
  EXPECT_STREQ(work.entry(1), "/c.wav");
  EXPECT_TRUE(work.add("/d.wav"));  // into the freed slot
  EXPECT_STREQ(work.entry(2), "/d.wav");
  while (!work.full()) work.add("/e.wav");
  EXPECT_EQ(work.count(), 128);
  EXPECT_FALSE(work.add("/f.wav"));
}

TEST(NamesTest, NamesThatWouldBreakTheStoreAreRefusedWithTheReason) {
  for (const char* bad : {"", " lead", "trail\t", "TEMPLIST", "settings", "PlayList", "a[b", "a]b", "a=b", "a\nb"})
    EXPECT_FALSE(why_name_refused(bad).empty()) << bad;
  EXPECT_NE(why_name_refused(std::string(128, 'n')).find("127"), std::string::npos);
  for (const char* good : {"Evening", "My Templist", "Jazz & Blues", "caf\xC3\xA9"}) EXPECT_EQ(why_name_refused(good), "");
  EXPECT_TRUE(same_name("Evening", "eVENING"));
  EXPECT_FALSE(same_name("Evening", "Evenings"));
  EXPECT_NE(why_path_refused("/a\"b.wav"), "");
  EXPECT_EQ(why_path_refused("/" + std::string(126, 'p')), "");
  EXPECT_NE(why_path_refused("/" + std::string(127, 'p')), "");
}

TEST_F(PlaylistTest, AnUnreadableM3uIsNoneAndAStoreThatCanNotBeWrittenStaysAsItWas) {
  EXPECT_FALSE(read_m3u(home.file("missing.m3u")));
  EXPECT_TRUE(is_m3u_name("MIX.M3U8"));
  EXPECT_FALSE(is_m3u_name("mix.m3u.wav"));
  const StoreFiles files = store_files(DeckKind::Wave);
  write_text(files.store, "[Templist]\nTotalListItems=1\n0=/old.wav\n");
  write_text(files.scratch, "[Jazz]\nTotalListItems=2\n0=/j1.wav\n1=/" + std::string(300, 'j') + ".wav\n");
  profile::set_write_fault_for_testing([](profile::WriteStep step) { return step != profile::WriteStep::Rename; });
  EXPECT_FALSE(write_store(files, {"/new.wav"}, {"Jazz"}, -1));
  profile::set_write_fault_for_testing(nullptr);
  EXPECT_EQ(read_text(files.store), "[Templist]\nTotalListItems=1\n0=/old.wav\n");
  // Written, the named playlist's entries are copied whole, however long.
  EXPECT_TRUE(write_store(files, {"/new.wav"}, {"Jazz"}, -1));
  EXPECT_EQ(read_list("Jazz", files.store), read_list("Jazz", files.scratch));
  EXPECT_EQ(read_list("Templist", files.store), std::vector<std::string>{"/new.wav"});
}
