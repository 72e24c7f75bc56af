// The deck's arithmetic without a device: the disc identity, the random
// generator and order, the stored program's format, the editor's totals.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "cd/cd_deck.h"
#include "cd/cd_random.h"
#include "cd/cd_titles.h"

namespace {

int draws_shown = 0;

std::vector<int> entries(const TrackList& list) { return {list.begin(), list.begin() + list_length(list)}; }

}  // namespace

TEST(DiscIdentity, OneTrackDiscNamesItsTrackAsFirstAndLast) {
  const TrackTime one[] = {{4, 12}};
  EXPECT_EQ(disc_identity(1, one), "01-0412-0412-0412");
}

TEST(DiscIdentity, SecondsCarryIntoMinutesAndWideFieldsPrintWhole) {
  const TrackTime three[] = {{0, 59}, {0, 59}, {1, 2}};
  EXPECT_EQ(disc_identity(3, three), "03-0300-0059-0102");
  const TrackTime long_disc[] = {{70, 30}, {55, 40}};
  EXPECT_EQ(disc_identity(2, long_disc), "02-12610-7030-5540");
}

TEST(RandomOrder, FirstDrawsForSeedOneAsWorkedOutByHand) {
  // state 1 × 214013 + 2531011 = 2745024, bits 16-30: 41; 41 × c × 999999 = 1251.2.
  CdRandom generator{1};
  const int draws[] = {41, 18467, 6334, 26500, 19169};
  const int figures[] = {1251, 563584, 193304, 808739, 585008};
  for (int i = 0; i < 5; ++i) {
    const int r = generator.draw();
    EXPECT_EQ(r, draws[i]) << i;
    EXPECT_EQ(random_figure(r), figures[i]) << i;
  }
  EXPECT_EQ(random_figure(0), 0);
  EXPECT_EQ(random_figure(32767), 999998);
}

TEST(RandomOrder, IsAPermutationForOneSevenAnd99Tracks) {
  for (int n : {1, 7, 99}) {
    for (std::uint32_t seed : {0u, 1u, 123456789u}) {
      TrackList list;
      draws_shown = 0;
      make_random_order(n, seed, &list, [](int) { ++draws_shown; });
      const std::vector<int> order = entries(list);
      ASSERT_EQ(static_cast<int>(order.size()), n);
      EXPECT_EQ(std::set<int>(order.begin(), order.end()).size(), static_cast<std::size_t>(n));
      EXPECT_EQ(*std::min_element(order.begin(), order.end()), 1);
      EXPECT_EQ(*std::max_element(order.begin(), order.end()), n);
      EXPECT_GE(draws_shown, n) << "every draw is shown";
    }
  }
  TrackList list;
  make_random_order(7, 1, &list, nullptr);
  // Seed 1: 1251 picks index 51 and 563584 index 84, both beyond 7 tracks; 193304 picks index 4.
  EXPECT_EQ(list[0], 5);
}

TEST(StoredProgram, CountAboveTheEntriesPresentYieldsThoseEntries) {
  EXPECT_EQ(entries(parse_program(" 5 2 7", 9)), (std::vector<int>{2, 7}));
}

TEST(StoredProgram, EntriesZeroAndAboveTheTrackCountAreSkippedWithoutCounting) {
  EXPECT_EQ(entries(parse_program(" 3 0 12 4 5 6 7", 9)), (std::vector<int>{4, 5, 6}));
  EXPECT_EQ(entries(parse_program(" 2 -1 3 9", 9)), (std::vector<int>{3, 9}));
}

TEST(StoredProgram, LeadingBlankNoNumberAndTheDefault) {
  EXPECT_EQ(entries(parse_program("   2 1 2", 2)), (std::vector<int>{1, 2}));
  EXPECT_TRUE(entries(parse_program("0", 9)).empty());
  EXPECT_TRUE(entries(parse_program("", 9)).empty());
  EXPECT_TRUE(entries(parse_program(" x 1 2", 9)).empty());
}

TEST(StoredProgram, LongValueIsReadWholeAndRoundTrips) {
  TrackList program;
  for (int i = 0; i < kMaxProgram; ++i) program[i] = 10 + i % 90;
  program[kMaxProgram] = kEndOfList;
  const std::string value = format_program(program);
  ASSERT_GT(value.size(), 149u);
  EXPECT_EQ(value.substr(0, 9), " 128 10 1");
  EXPECT_EQ(entries(parse_program(value, 99)), entries(program));
  TrackList three{5, 2, 7, kEndOfList};
  EXPECT_EQ(format_program(three), " 3 5 2 7");
}
