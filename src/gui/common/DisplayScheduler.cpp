#include "gui/common/DisplayScheduler.h"

#include <algorithm>

namespace orvel {

DisplayScheduler::DisplayScheduler(QObject* parent) : QObject(parent) {
  // A timer, not a posted call: Qt delivers calls posted while it delivers
  // posted events in the same turn, which would undo the spreading.
  turn_.setSingleShot(true);
  turn_.setInterval(1);
  connect(&turn_, &QTimer::timeout, this, &DisplayScheduler::Turn);
}

void DisplayScheduler::Add(const QObject* display, CatchUp catchUp) {
  entries_.push_back({display, std::move(catchUp), false});
}

void DisplayScheduler::Remove(const QObject* display) {
  const auto place =
      std::find_if(entries_.begin(), entries_.end(), [display](const Entry& e) { return e.display == display; });
  if (place == entries_.end()) return;
  const auto index = static_cast<std::size_t>(place - entries_.begin());
  entries_.erase(place);
  // The circle goes on where it was.
  if (next_ > index) --next_;
}

void DisplayScheduler::MarkStale(const QObject* display) {
  for (Entry& entry : entries_) {
    if (entry.display == display) entry.stale = true;
  }
  if (pending() && !turn_.isActive()) turn_.start();
}

bool DisplayScheduler::pending() const {
  return std::any_of(entries_.begin(), entries_.end(), [](const Entry& e) { return e.stale; });
}

void DisplayScheduler::Turn() {
  for (std::size_t looked = 0; looked < entries_.size(); ++looked) {
    const std::size_t place = next_++ % entries_.size();
    if (!entries_[place].stale) continue;
    // Cleared first: a display made stale again during its turn keeps
    // the mark. A copy of the call: the turn may add or remove displays.
    entries_[place].stale = false;
    const QObject* display = entries_[place].display;
    const CatchUp catchUp = entries_[place].catchUp;
    const TimeSlice slice;
    if (!catchUp(slice)) MarkStale(display);
    break;
  }
  next_ = entries_.empty() ? 0 : next_ % entries_.size();
  if (pending() && !turn_.isActive()) turn_.start();
}

}  // namespace orvel
