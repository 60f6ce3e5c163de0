// The machine model's hot paths, and a baseline minor-prize draw written the
// way a typical developer would (std::mt19937 + std::discrete_distribution).
// Compare: Play against NextRandom, DrawKoyaku against the baseline.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "core/model/Orvel_cls.h"
#include "core/model/Random.h"

namespace {

void BM_NextRandom(benchmark::State& state) {
  orvel::SeedRandom(12345);
  for (auto _ : state) benchmark::DoNotOptimize(orvel::NextRandom());
}
BENCHMARK(BM_NextRandom);

void BM_Play(benchmark::State& state) {
  orvel::Orvel machine;
  orvel::SeedRandom(12345);
  machine.SetLevel(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    machine.Play();
    benchmark::DoNotOptimize(machine.medal);
  }
  state.counters["medal"] = machine.medal;
}
BENCHMARK(BM_Play)->Arg(1)->Arg(6);

void BM_DrawKoyaku(benchmark::State& state) {
  orvel::Orvel machine;
  orvel::SeedRandom(12345);
  for (auto _ : state) benchmark::DoNotOptimize(machine.DrawKoyaku());
}
BENCHMARK(BM_DrawKoyaku);

// The same nine outcomes with the standard library's generator and
// distribution, plus the bell rule.
void BM_DrawKoyakuBaseline(benchmark::State& state) {
  std::mt19937 engine(12345);
  const std::vector<int> weights{4251, 7781, 6265, 2535, 145031, 287281, 551882, 10477, 33073};
  std::discrete_distribution<int> koyaku(weights.begin(), weights.end());
  std::uniform_int_distribution<int> six(0, 5);
  for (auto _ : state) {
    int k = koyaku(engine);
    if (k == 6 && six(engine) != 0) k = 9;
    benchmark::DoNotOptimize(k);
  }
}
BENCHMARK(BM_DrawKoyakuBaseline);

}  // namespace

BENCHMARK_MAIN();
