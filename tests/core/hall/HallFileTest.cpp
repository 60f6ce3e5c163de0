#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "ScopedTempDir.h"
#include "core/hall/Hall.h"
#include "core/hall/HallExport.h"
#include "core/hall/HallFile.h"
#include "core/hall/HallReport.h"
#include "core/model/Random.h"

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#endif

namespace orvel {
namespace {

std::string ReadAll(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

HallFileData Sample() {
  HallFileData data;
  data.playCount = 12345;
  data.updateInterval = 77;
  data.seed = 4294967295u;
  // Rate texts kept character for character: blanks, a sign, an exponent.
  data.seats = {{1, "1"}, {6, " 0.55 "}, {3, "+5e-1"}, {2, "0"}, {4, "1."}};
  return data;
}

TEST(HallFile, RoundTripKeepsEveryField) {
  const ScopedTempDir dir("orvelsim-hallfile");
  const std::filesystem::path file = dir.path() / "hall.orvelhall";
  for (const std::optional<std::uint32_t> seed :
       {std::optional<std::uint32_t>{}, std::optional<std::uint32_t>{0u}, std::optional<std::uint32_t>{4294967295u}}) {
    HallFileData data = Sample();
    data.seed = seed;
    WriteHallFile(file, data);
    const HallFileData back = ReadHallFile(file, 1000);
    EXPECT_EQ(back.playCount, data.playCount);
    EXPECT_EQ(back.updateInterval, data.updateInterval);
    EXPECT_EQ(back.seed, data.seed);
    ASSERT_EQ(back.seats.size(), data.seats.size());
    for (std::size_t i = 0; i < data.seats.size(); ++i) {
      EXPECT_EQ(back.seats[i].level, data.seats[i].level) << i;
      EXPECT_EQ(back.seats[i].rate, data.seats[i].rate) << i;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "hall.orvelhall.saving"));
  }
  // An empty hall is a hall too.
  WriteHallFile(file, HallFileData{});
  EXPECT_TRUE(ReadHallFile(file, 1000).seats.empty());
}

TEST(HallFile, ReadsEscapesAndAHundredThousandSeats) {
  // Escapes as another writer may use them, and a byte-order mark.
  const auto data = ParseHallFile(
      "\xEF\xBB\xBF{\"format\":\"orvel\\u0068all\",\"version\":1,\"playCount\":5,\"updateInterval\":5,"
      "\"seed\":null,\"seats\":[{\"rate\":\"\\u0030.5\",\"level\":2}]}",
      1);
  ASSERT_EQ(data.seats.size(), 1u);
  EXPECT_EQ(data.seats[0].rate, "0.5");
  EXPECT_EQ(data.seats[0].level, 2);

  HallFileData big;
  big.seats.assign(100000, HallFileSeat{5, "0.75"});
  const HallFileData back = ParseHallFile(HallFileText(big), 100000);
  ASSERT_EQ(back.seats.size(), 100000u);
  EXPECT_EQ(back.seats.back().level, 5);
  EXPECT_EQ(back.seats.back().rate, "0.75");
}

// Every bad file is refused with a message naming its fault; the message's
// telling part is checked, so that the right check refused it.
TEST(HallFile, RefusesEveryBadFileNamingTheFault) {
  const std::string head = R"({"format":"orvelhall","version":1,"playCount":100,"updateInterval":10,"seed":null,)";
  struct Case {
    const char* name;
    std::string text;
    const char* message;
  };
  const std::vector<Case> cases = {
      {"empty", "", "途中で終わっています"},
      {"not json", "hall", "値として読めない"},
      {"cut off", head + R"("seats":[{"level":1,"rate":"1"})", "途中で終わっています"},
      {"trailing", head + R"("seats":[]} x)", "余分な文字"},
      {"trailing comma", head + R"("seats":[],})", "キーの文字列がありません"},
      {"unclosed string", head + R"("seats":[{"level":1,"rate":"1)", "文字列が閉じていません"},
      {"control in string", head + "\"seats\":[{\"level\":1,\"rate\":\"1\n\"}]}", "制御文字"},
      {"lone surrogate", head + R"("seats":[{"level":1,"rate":"\udc00"}]})", "サロゲート"},
      {"deep nesting", std::string(100, '[') + std::string(100, ']'), "入れ子が深すぎます"},
      {"many empty objects", head + R"("seats":[{})" + [] {
         std::string more;
         for (int i = 0; i < 100; ++i) more += ",{}";
         return more;
       }() + "]}", "値が多すぎます"},
      {"many keys", "{" + [] {
         std::string keys;
         for (int i = 0; i < 40; ++i) keys += "\"k" + std::to_string(i) + "\":1,";
         return keys;
       }() + "\"z\":1}", "項目が多すぎます"},
      {"duplicate key", head + R"("seats":[],"seats":[]})", "二度あります"},
      {"array at top", "[]", "オブジェクトではありません"},
      {"other format", R"({"format":"other","version":1})", "orvelhall"},
      {"no format", R"({"version":1})", "\"format\" がありません"},
      {"version 2", R"({"format":"orvelhall","version":2})", "版 2"},
      {"version text", R"({"format":"orvelhall","version":"1"})", "版"},
      {"no seats", head.substr(0, head.size() - 1) + "}", "\"seats\" がありません"},
      {"no play count", R"({"format":"orvelhall","version":1,"updateInterval":1,"seed":null,"seats":[]})",
       "\"playCount\" がありません"},
      {"unknown key", head + R"("seats":[],"colour":1})", "\"colour\""},
      {"play count 0", R"({"format":"orvelhall","version":1,"playCount":0,"updateInterval":1,"seed":null,"seats":[]})",
       "Play数"},
      {"play count fraction",
       R"({"format":"orvelhall","version":1,"playCount":1.5,"updateInterval":1,"seed":null,"seats":[]})", "Play数"},
      {"play count too big",
       R"({"format":"orvelhall","version":1,"playCount":2147483648,"updateInterval":1,"seed":null,"seats":[]})",
       "Play数"},
      {"interval over play count",
       R"({"format":"orvelhall","version":1,"playCount":5,"updateInterval":6,"seed":null,"seats":[]})", "更新間隔"},
      {"seed negative", R"({"format":"orvelhall","version":1,"playCount":5,"updateInterval":5,"seed":-1,"seats":[]})",
       "シード"},
      {"seed too big",
       R"({"format":"orvelhall","version":1,"playCount":5,"updateInterval":5,"seed":4294967296,"seats":[]})", "シード"},
      {"seats not array", head + R"("seats":{}})", "配列ではありません"},
      {"seat not object", head + R"("seats":[1]})", "1番台"},
      {"setting 0", head + R"("seats":[{"level":1,"rate":"1"},{"level":0,"rate":"1"}]})", "2番台"},
      {"setting 7", head + R"("seats":[{"level":7,"rate":"1"}]})", "設定は、1から6"},
      {"setting as text", head + R"("seats":[{"level":"1","rate":"1"}]})", "設定は、1から6"},
      {"no setting", head + R"("seats":[{"rate":"1"}]})", "\"level\" がありません"},
      {"rate number", head + R"("seats":[{"level":1,"rate":0.5}]})", "文字列"},
      {"rate no decimal", head + R"("seats":[{"level":1,"rate":"1,5"}]})", "'1,5' は浮動小数点数ではありません"},
      {"rate empty", head + R"("seats":[{"level":1,"rate":""}]})", "浮動小数点数ではありません"},
      {"unknown seat key", head + R"("seats":[{"level":1,"rate":"1","x":1}]})", "\"x\""},
      {"three seats over two",
       head + R"("seats":[{"level":1,"rate":"1"},{"level":1,"rate":"1"},{"level":1,"rate":"1"}]})", "台数が多すぎます"},
  };
  for (const Case& c : cases) {
    try {
      (void)ParseHallFile(c.text, 2);
      ADD_FAILURE() << c.name << ": accepted";
    } catch (const HallFileError& error) {
      EXPECT_NE(error.message.find(c.message), std::string::npos) << c.name << ": " << error.message;
    }
  }
}

TEST(HallFile, RefusesAHugeFileBeforeReadingIt) {
  const ScopedTempDir dir("orvelsim-hallfile");
  const std::filesystem::path file = dir.path() / "huge.orvelhall";
  { std::ofstream(file, std::ios::binary) << ' '; }
  std::filesystem::resize_file(file, kHallFileMaxBytes + 1);  // sparse: no disk used
  try {
    (void)ReadHallFile(file, 1000);
    ADD_FAILURE() << "accepted";
  } catch (const HallFileError& error) {
    EXPECT_NE(error.message.find("大きすぎます"), std::string::npos) << error.message;
  }
  EXPECT_THROW((void)ReadHallFile(dir.path() / "missing.orvelhall", 1000), HallFileError);
}

#ifndef _WIN32
// A write that fails half-way (here a file size limit, as a full disk
// would) leaves the old file as it was and no temporary file.
TEST(HallFile, FailedSaveLeavesTheOldFile) {
  const ScopedTempDir dir("orvelsim-hallfile");
  const std::filesystem::path file = dir.path() / "hall.orvelhall";
  WriteHallFile(file, Sample());
  const std::string before = ReadAll(file);
  HallFileData big;
  big.seats.assign(1000, HallFileSeat{2, "0.5"});

  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);  // the write fails instead of ending the test
  rlimit low = old;
  low.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &low), 0);
  bool refused = false;
  try {
    WriteHallFile(file, big);
  } catch (const HallFileError& error) {
    refused = error.message.find("hall.orvelhall") != std::string::npos;
  }
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_TRUE(refused);
  EXPECT_EQ(ReadAll(file), before);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator()), 1);
}
#endif

TEST(HallExport, CsvQuotesOnlyWhatNeedsItWithBomAndCrLf) {
  EXPECT_EQ(CsvText({{"番台", "a,b"}, {"say \"hi\"", "x\ny", ""}}),
            "\xEF\xBB\xBF番台,\"a,b\"\r\n\"say \"\"hi\"\"\",\"x\ny\",\r\n");
}

TEST(HallExport, LogFolderHoldsEverySeatLogAndTheBalances) {
  Hall hall;
  hall.CreateSeats(2);
  hall.PrepareRun(7u);
  for (int g = 0; g < 30; ++g) hall.PlayHallGame(g);
  const ScopedTempDir dir("orvelsim-export");
  HallSlump slump;
  slump.Append(0, 5);
  slump.Append(1, -12);
  WritePlayLogFolder(dir.path() / "logs", hall, slump);
  EXPECT_EQ(ReadAll(dir.path() / "logs" / "hall.csv"), "game,balance\n0,5\n1,-12\n");
  for (int seat = 0; seat < 2; ++seat) {
    std::ostringstream expected;
    WritePlayLogCsv(expected, hall.PlayLog(seat));
    EXPECT_EQ(ReadAll(dir.path() / "logs" / PlayLogFileName(seat + 1)), expected.str());
  }
}

}  // namespace
}  // namespace orvel
