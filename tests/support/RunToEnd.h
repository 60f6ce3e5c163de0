#pragma once

#include <QSignalSpy>

#include <functional>

#include "gui/hall/Unit3.h"

// The hall's run plays in timer slices after Start has returned. Makes
// `press` (Start by button, menu or call) and handles events until the run
// has left Running; false when it did not within two minutes. Only for a
// press that starts or resumes a run.
inline bool PressAndWaitForRunEnd(orvel::TFormHall& hall, const std::function<void()>& press) {
  QSignalSpy ended(&hall, &orvel::TFormHall::runEnded);
  press();
  return ended.count() > 0 || ended.wait(120000);
}

inline bool StartAndWait(orvel::TFormHall& hall) {
  return PressAndWaitForRunEnd(hall, [&hall] { hall.StartButtonClick(); });
}
