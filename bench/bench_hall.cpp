// The hall without windows: what a hall game costs beyond the machines'
// own Play (the rate rule, the run engine and the play log, kept or not).
#include <benchmark/benchmark.h>

#include "core/hall/Hall.h"
#include "core/hall/HallFile.h"
#include "core/hall/RunEngine.h"
#include "core/model/Random.h"

namespace {

// A run of `games` hall games as the CLI plays it: through the run engine,
// one refresh check per hall game.
void HallRun(benchmark::State& state, bool keepLogs) {
  const int seats = static_cast<int>(state.range(0));
  const int games = 8000;
  orvel::Hall hall;
  hall.SetKeepLogs(keepLogs);
  hall.CreateSeats(seats);
  for (auto _ : state) {
    state.PauseTiming();
    orvel::SeedRandom(99);
    hall.ResetMachines();
    hall.ClearLogs();
    orvel::RunEngine run(hall);
    state.ResumeTiming();
    run.Start(games);
    while (!run.AtEnd()) run.PlayNext(50);
    benchmark::DoNotOptimize(hall.SumMedals());
  }
  state.SetItemsProcessed(state.iterations() * seats * games);
  state.counters["ns_per_game"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * seats * games, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_HallRun(benchmark::State& state) { HallRun(state, true); }
BENCHMARK(BM_HallRun)->Arg(20)->Arg(1000)->Unit(benchmark::kMillisecond);

// orvelsim-cli without --log-dir: no play logs at all.
void BM_HallRunNoLogs(benchmark::State& state) { HallRun(state, false); }
BENCHMARK(BM_HallRunNoLogs)->Arg(1)->Arg(20)->Arg(1000)->Unit(benchmark::kMillisecond);

// The same games on bare machines, no rate rule and no log, for the ratio.
void BM_BarePlay(benchmark::State& state) {
  const int seats = static_cast<int>(state.range(0));
  std::vector<orvel::Orvel> machines(static_cast<std::size_t>(seats));
  for (auto _ : state) {
    state.PauseTiming();
    orvel::SeedRandom(99);
    for (auto& m : machines) m.Reset();
    state.ResumeTiming();
    for (int g = 0; g < 8000; ++g) {
      for (auto& m : machines) m.Play();
    }
    benchmark::DoNotOptimize(machines.front().medal);
  }
  state.SetItemsProcessed(state.iterations() * seats * 8000);
  state.counters["ns_per_game"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * seats * 8000, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_BarePlay)->Arg(1)->Arg(20)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace

// A hall file of `seats` seats written to text and read back with full
// validation: the window opens up to 1000, orvelsim-cli --hall 100,000.
void BM_HallFileText(benchmark::State& state) {
  orvel::HallFileData data;
  data.seats.assign(static_cast<std::size_t>(state.range(0)), orvel::HallFileSeat{4, "0.55"});
  for (auto _ : state) {
    const std::string text = orvel::HallFileText(data);
    benchmark::DoNotOptimize(orvel::ParseHallFile(text, 100000).seats.size());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_HallFileText)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
