#pragma once

#include <QApplication>

#include <functional>

namespace orvel {

// The application object. Qt does not let an exception cross its event
// loop, so every event goes through notify here: an exception that escapes
// a handler is shown in the error box and the program goes on with the next
// event.
class OrvelApplication final : public QApplication {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(OrvelApplication)

public:
  OrvelApplication(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;
};

// Runs the start-up and the event loop (`body`) under one more handler: an
// exception that escapes it is shown in the error box, and the program then
// ends with 0.
int RunGuarded(const std::function<int()>& body);

}  // namespace orvel
