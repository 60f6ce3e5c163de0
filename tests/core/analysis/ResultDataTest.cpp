#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <new>
#include <stdexcept>
#include <string>

#include "FailingRealloc.h"
#include "core/analysis/Result_data.h"
#include "core/model/Orvel_cls.h"
#include "core/model/Random.h"

namespace orvel {
namespace {

TEST(TSimResultData, AppendRecordsTheMachineInColumnOrder) {
  Orvel m;
  m.sinceBB = 11;
  m.medal = -22;
  m.chainCount = 3;
  m.playCount = 44;
  m.bbKind = 2;
  m.keizokuMode = 1;
  m.mode = 5;
  m.lastKoyaku = 99;
  TSimResultData log;
  EXPECT_EQ(log.Length(), 0);
  log.Append(m);
  ASSERT_EQ(log.Length(), 1);
  const int expected[] = {11, -22, 3, 44, 2, 1, 5, 99};
  for (int c = 0; c < TSimResultData::kColumns; ++c) {
    EXPECT_EQ(log.At(static_cast<ResultColumn>(c), 0), expected[c]) << "column " << c;
    EXPECT_EQ(log.Column(static_cast<ResultColumn>(c))[0], expected[c]);
  }
}

TEST(TSimResultData, GrowsKeepingEveryEntryAndClearKeepsCapacity) {
  Orvel m;
  m.SetLevel(4);
  SeedRandom(99);
  TSimResultData log;
  for (int i = 0; i < 5000; ++i) {
    m.Play();
    log.Append(m);
  }
  ASSERT_EQ(log.Length(), 5000);
  const auto playCount = log.Column(ResultColumn::PlayCount);
  for (int i = 0; i < 5000; ++i) ASSERT_EQ(playCount[static_cast<std::size_t>(i)], i + 1);
  EXPECT_EQ(log.At(ResultColumn::Medal, 4999), m.medal);

  const std::size_t capacity = log.Capacity();
  log.Clear();
  EXPECT_EQ(log.Length(), 0);
  EXPECT_EQ(log.Capacity(), capacity);
  m.Play();
  log.Append(m);
  m.Play();
  log.Append(m);
  ASSERT_EQ(log.Length(), 2);
  EXPECT_EQ(log.At(ResultColumn::PlayCount, 0), 5001) << "entry 0 is the first game after the clear";
  EXPECT_EQ(log.At(ResultColumn::PlayCount, 1), 5002);
}

TEST(TSimResultData, CheckedAccessRefusesOutsideTheLog) {
  TSimResultData log;
  EXPECT_THROW(log.At(ResultColumn::Medal, 0), std::out_of_range);
  log.AppendEntry({1, 2, 3, 4, 5, 6, 7, 8});
  EXPECT_EQ(log.At(ResultColumn::LastKoyaku, 0), 8);
  EXPECT_THROW(log.At(ResultColumn::Medal, 1), std::out_of_range);
  EXPECT_THROW(log.At(ResultColumn::Medal, -1), std::out_of_range);
  EXPECT_THROW(log.At(ResultColumn::Count, 0), std::out_of_range);
}

// Entries are staged sixteen at a time before they reach the columns:
// lengths around that size, each entry read back before the buffer is
// moved (At reads the buffer) and after (Column moves it).
using EntryValues = std::array<std::int32_t, TSimResultData::kColumns>;

// A value of its own for every entry and column, signs mixed, so a swapped
// row, column or buffer slot shows.
EntryValues ValuesOf(int entry, int round) {
  EntryValues values{};
  for (int c = 0; c < TSimResultData::kColumns; ++c) {
    const int magnitude = round * 100000 + entry * 10 + c + 1;
    values[static_cast<std::size_t>(c)] = c % 2 == 0 ? magnitude : -magnitude;
  }
  return values;
}

void ExpectEntries(const TSimResultData& log, int length, int round, const std::string& when) {
  SCOPED_TRACE(when);
  ASSERT_EQ(log.Length(), length);
  for (int i = 0; i < length; ++i) {
    const EntryValues expected = ValuesOf(i, round);
    for (int c = 0; c < TSimResultData::kColumns; ++c) {
      ASSERT_EQ(log.At(static_cast<ResultColumn>(c), i), expected[static_cast<std::size_t>(c)])
          << "entry " << i << " column " << c;
    }
  }
  if (length > 0) {
    EXPECT_EQ(log.LastMedal(), ValuesOf(length - 1, round)[1]);
  }
}

void ExpectColumns(const TSimResultData& log, int length, int round) {
  for (int c = 0; c < TSimResultData::kColumns; ++c) {
    const auto column = log.Column(static_cast<ResultColumn>(c));
    ASSERT_EQ(column.size(), static_cast<std::size_t>(length)) << "column " << c;
    for (int i = 0; i < length; ++i) {
      ASSERT_EQ(column[static_cast<std::size_t>(i)], ValuesOf(i, round)[static_cast<std::size_t>(c)])
          << "entry " << i << " column " << c;
    }
  }
  EXPECT_GE(log.Capacity(), static_cast<std::size_t>(length));
}

class StagedEntries : public ::testing::TestWithParam<int> {};

TEST_P(StagedEntries, ReadBackExactlyBeforeAndAfterReachingTheColumns) {
  const int length = GetParam();
  TSimResultData log;
  for (int i = 0; i < length; ++i) log.AppendEntry(ValuesOf(i, 0));
  ExpectEntries(log, length, 0, "still staged");
  ExpectColumns(log, length, 0);
  ExpectEntries(log, length, 0, "in the columns");

  // Staging goes on after the columns: one more entry.
  log.AppendEntry(ValuesOf(length, 0));
  ExpectEntries(log, length + 1, 0, "one more after the columns");
  ExpectColumns(log, length + 1, 0);

  // After Clear the same storage takes new entries; none of the old show.
  log.Clear();
  EXPECT_EQ(log.Length(), 0);
  for (int i = 0; i < length; ++i) log.AppendEntry(ValuesOf(i, 1));
  ExpectEntries(log, length, 1, "after Clear, staged");
  ExpectColumns(log, length, 1);
  ExpectEntries(log, length, 1, "after Clear, in the columns");
}

INSTANTIATE_TEST_SUITE_P(TSimResultData, StagedEntries, ::testing::Values(0, 1, 15, 16, 17, 33),
                         [](const auto& info) { return "entries_" + std::to_string(info.param); });

int& reallocCalls = test::FailingRealloc::calls;
int& failingCall = test::FailingRealloc::failingCall;
constexpr Reallocator FailOnce = test::FailingRealloc::Reallocate;

// Running out of memory while the log grows must leave it whole: the run
// that failed goes on after the error box, appending to the same log.
TEST(TSimResultData, AGrowthThatFailsLeavesTheLogWholeAndUsable) {
  reallocCalls = 0;
  // The first growth takes eight calls, one per column; the second fails
  // in its fourth, with three columns already bigger.
  failingCall = 8 + 3;
  TSimResultData log(FailOnce);
  int appended = 0;
  bool failed = false;
  while (!failed) {
    try {
      log.AppendEntry(ValuesOf(appended, 0));
      ++appended;
    } catch (const std::bad_alloc&) {
      failed = true;
    }
  }
  EXPECT_EQ(appended, 256) << "the second growth comes when the first 256 entries are in";
  ExpectEntries(log, appended, 0, "after the failure");

  // Again, after it: the next growth succeeds and nothing is lost.
  for (int i = 0; i < 1000; ++i) log.AppendEntry(ValuesOf(appended++, 0));
  ExpectEntries(log, appended, 0, "resumed");
  ExpectColumns(log, appended, 0);

  // MakeRoom fails the same way, and once it has succeeded Append cannot:
  // the next allocation fails, whenever it comes.
  failingCall = reallocCalls;
  bool roomFailed = false;
  while (!roomFailed) {
    try {
      log.MakeRoom();
    } catch (const std::bad_alloc&) {
      roomFailed = true;
      continue;
    }
    log.AppendEntry(ValuesOf(appended++, 0));
  }
  ExpectEntries(log, appended, 0, "after MakeRoom failed");
  log.AppendEntry(ValuesOf(appended++, 0));
  ExpectColumns(log, appended, 0);
}

// A run that reserved its logs must never grow them, however its reads
// (which move staged entries into the columns) fall.
TEST(TSimResultData, AReservedLogTakesExactlyThatManyEntries) {
  reallocCalls = 0;
  failingCall = 8;  // anything after the reservation's eight columns
  TSimResultData log(FailOnce);
  constexpr int kEntries = 1000;
  log.Reserve(kEntries);
  for (int i = 0; i < kEntries; ++i) {
    log.MakeRoom();
    log.AppendEntry(ValuesOf(i, 0));
    if (i % 7 == 3) {
      ASSERT_EQ(log.Column(ResultColumn::Medal).size(), static_cast<std::size_t>(i + 1));
    }
  }
  ExpectColumns(log, kEntries, 0);
  EXPECT_THROW(log.MakeRoom(), std::bad_alloc) << "one more needs room";
}

TEST(TSimResultData, ReleaseGivesTheStorageBack) {
  TSimResultData log;
  for (int i = 0; i < 1000; ++i) log.AppendEntry(ValuesOf(i, 0));
  log.Release();
  EXPECT_EQ(log.Length(), 0);
  EXPECT_EQ(log.Capacity(), 0u);
  for (int i = 0; i < 20; ++i) log.AppendEntry(ValuesOf(i, 2));
  ExpectColumns(log, 20, 2);
}

}  // namespace
}  // namespace orvel
