// The analysis take-in: its cost must follow the entries taken in, not the
// length of the log they sit in.
#include <benchmark/benchmark.h>

#include "core/analysis/ExactFigures.h"
#include "core/analysis/ResultAnalysis.h"
#include "core/analysis/SettingEstimate.h"
#include "core/analysis/Result_data.h"
#include "core/model/Orvel_cls.h"
#include "core/model/Random.h"

namespace {

void FillLog(orvel::TSimResultData& log, int games) {
  orvel::Orvel machine;
  orvel::SeedRandom(2024);
  machine.SetLevel(6);
  for (int i = 0; i < games; ++i) {
    machine.Play();
    log.Append(machine);
  }
}

// Fifty new entries at the end of a log of range(0) entries.
void BM_TakeInLast50(benchmark::State& state) {
  orvel::TSimResultData log;
  const int games = static_cast<int>(state.range(0));
  FillLog(log, games);
  orvel::ResultAnalysis analysis;
  for (auto _ : state) {
    analysis.Clear();
    analysis.TakeIn(log, games - 50, games - 1);
    benchmark::DoNotOptimize(analysis.stats());
  }
}
BENCHMARK(BM_TakeInLast50)->Arg(1000)->Arg(1000000);

// A window refreshed every 50 games over a whole run of range(0) games,
// with tables and summary derived at every refresh.
void BM_RefreshEvery50(benchmark::State& state) {
  orvel::TSimResultData log;
  const int games = static_cast<int>(state.range(0));
  FillLog(log, games);
  for (auto _ : state) {
    orvel::ResultAnalysis analysis;
    for (int first = 0; first < games; first += 50) {
      analysis.TakeIn(log, first, first + 49);
      benchmark::DoNotOptimize(analysis.KoyakuTable());
      benchmark::DoNotOptimize(analysis.SummaryText());
    }
  }
  state.SetItemsProcessed(state.iterations() * games);
}
BENCHMARK(BM_RefreshEvery50)->Arg(8000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The exact figures of all six settings, as the CLI, every analysis window
// and the 解析値 window compute them once.
void BM_MachineFigures(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(orvel::MachineFigures());
}
BENCHMARK(BM_MachineFigures)->Unit(benchmark::kMillisecond);

// The 設定判別 page's refresh: fifty entries tallied at the end of a log of
// range(0) entries and the posterior made anew. Its cost must not follow
// the log's length.
void BM_EstimateLast50(benchmark::State& state) {
  orvel::TSimResultData log;
  const int games = static_cast<int>(state.range(0));
  FillLog(log, games);
  const auto figures = orvel::MachineFigures();
  orvel::SettingTally tally;
  for (auto _ : state) {
    tally.TakeIn(log, games - 50, games - 1);
    benchmark::DoNotOptimize(orvel::EstimateSetting(tally, figures));
  }
}
BENCHMARK(BM_EstimateLast50)->Arg(1000)->Arg(1000000);

}  // namespace

BENCHMARK_MAIN();
