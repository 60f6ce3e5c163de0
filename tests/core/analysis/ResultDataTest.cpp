#include <gtest/gtest.h>

#include <stdexcept>

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

}  // namespace
}  // namespace orvel
