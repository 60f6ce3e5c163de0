#include "core/study/Study.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <map>
#include <mutex>
#include <thread>

#include "core/hall/Hall.h"
#include "core/hall/RunEngine.h"

namespace orvel {

std::uint32_t DaySeed(std::uint32_t seed, std::int64_t day) {
  return static_cast<std::uint32_t>(seed + static_cast<std::uint64_t>(day));
}

bool PlayDay(const StudyPlan& plan, std::int64_t day, const std::atomic<bool>& stop, DayResult& result) {
  const int seats = static_cast<int>(plan.levels.size());
  // New machines every day: Reset keeps a machine's precursor count and
  // last chain, so a reused one would not start as the plain run's does.
  Hall hall;
  hall.SetKeepLogs(false);
  hall.CreateSeats(seats);
  for (int i = 0; i < seats; ++i) {
    const auto seat = static_cast<std::size_t>(i);
    hall.SetSeat(i, plan.levels[seat], plan.rates[seat]);
  }
  result = DayResult{};
  result.day = day;
  result.seed = DaySeed(plan.seed, day);
  hall.PrepareRun(result.seed);

  RunEngine run(hall);
  run.Start(plan.games);
  while (!run.AtEnd()) {
    if (stop.load(std::memory_order_relaxed)) return false;
    run.PlayNext(plan.games);
  }

  result.hallMedals = -hall.SumMedals();
  for (int i = 0; i < seats; ++i) {
    const Orvel& machine = hall.Machine(i);
    LevelTally& tally = result.byLevel[static_cast<std::size_t>(machine.GetLevel() - Level::kMin)];
    const std::int64_t in =
        std::int64_t{Orvel::kStake} * (machine.playCount + std::int64_t{Orvel::kBattleGames} * machine.bbCount);
    ++tally.seats;
    tally.seatGames += machine.playCount;
    tally.medalsIn += in;
    tally.medalsOut += in + machine.medal;
    tally.firstHits += machine.firstHitCount;
    tally.bonuses += machine.bbCount;
  }
  return true;
}

namespace {

// What the workers hand to the thread that called RunStudy. Days arrive in
// batches, so that a study of many short days does not take the lock for
// every one.
class Exchange {
public:
  void Hand(std::vector<DayResult>& batch) {
    const std::lock_guard lock(mutex_);
    for (DayResult& day : batch) done_.push_back(std::move(day));
    batch.clear();
  }
  void WorkerEnded(std::exception_ptr failure) {
    {
      const std::lock_guard lock(mutex_);
      ++ended_;
      if (failure && !failure_) failure_ = failure;
    }
    wake_.notify_one();
  }
  // Waits up to `wait` or until every worker has ended, then moves what has
  // arrived into `into`. True while any worker runs.
  bool Collect(std::vector<DayResult>& into, int workers, std::chrono::milliseconds wait) {
    std::unique_lock lock(mutex_);
    wake_.wait_for(lock, wait, [&] { return ended_ == workers; });
    into.swap(done_);
    done_.clear();
    return ended_ < workers;
  }
  std::exception_ptr Failure() {
    const std::lock_guard lock(mutex_);
    return failure_;
  }

private:
  std::mutex mutex_;
  std::condition_variable wake_;
  std::vector<DayResult> done_;
  int ended_ = 0;
  std::exception_ptr failure_;
};

void Work(const StudyPlan& plan, std::atomic<std::int64_t>& nextDay, std::atomic<bool>& stop, Exchange& exchange) {
  using Clock = std::chrono::steady_clock;
  constexpr std::size_t kBatch = 256;
  constexpr auto kHandEvery = std::chrono::milliseconds(50);
  std::exception_ptr failure;
  std::vector<DayResult> batch;
  try {
    auto handed = Clock::now();
    for (;;) {
      const std::int64_t day = nextDay.fetch_add(1, std::memory_order_relaxed);
      if (day >= plan.days) break;
      DayResult result;
      if (!PlayDay(plan, day, stop, result)) break;
      batch.push_back(result);
      const auto now = Clock::now();
      if (batch.size() >= kBatch || now - handed >= kHandEvery) {
        exchange.Hand(batch);
        handed = now;
      }
    }
  } catch (...) {
    failure = std::current_exception();
    stop = true;
  }
  exchange.Hand(batch);
  exchange.WorkerEnded(failure);
}

}  // namespace

StudyOutcome RunStudy(const StudyPlan& plan, int threads, StudyObserver& observer) {
  StudyOutcome outcome;
  const int workers = static_cast<int>(std::clamp<std::int64_t>(plan.days, 0, std::max(threads, 1)));
  std::atomic<std::int64_t> nextDay{0};
  std::atomic<bool> stop{false};
  Exchange exchange;
  std::vector<std::jthread> pool;
  pool.reserve(static_cast<std::size_t>(workers));
  for (int i = 0; i < workers; ++i) {
    pool.emplace_back([&] { Work(plan, nextDay, stop, exchange); });
  }

  // Days finish out of order; they are added and reported in day order,
  // the early arrivals waiting here for the days before them.
  std::map<std::int64_t, DayResult> waiting;
  std::int64_t inOrder = 0;
  std::int64_t done = 0;
  std::vector<DayResult> arrived;
  auto take = [&](bool flushAll) {
    for (DayResult& day : arrived) waiting.emplace(day.day, std::move(day));
    done += static_cast<std::int64_t>(arrived.size());
    arrived.clear();
    while (!waiting.empty() && (flushAll || waiting.begin()->first == inOrder)) {
      const DayResult& day = waiting.begin()->second;
      outcome.stats.Add(day);
      observer.DayDone(day);
      inOrder = day.day + 1;
      waiting.erase(waiting.begin());
    }
  };
  bool running = workers > 0;
  try {
    while (running) {
      running = exchange.Collect(arrived, workers, std::chrono::milliseconds(100));
      take(false);
      observer.Progress(done);
      if (running && observer.StopRequested()) stop = true;
    }
  } catch (...) {
    stop = true;  // an observer that throws: the workers end before the error leaves
    throw;
  }
  pool.clear();  // joins
  if (const std::exception_ptr failure = exchange.Failure()) std::rethrow_exception(failure);
  take(true);  // a stopped study: the days finished after a gap
  outcome.partial = outcome.stats.Days() < plan.days;
  return outcome;
}

}  // namespace orvel
