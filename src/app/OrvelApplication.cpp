#include "app/OrvelApplication.h"

#include "gui/common/ErrorBox.h"

namespace orvel {

OrvelApplication::OrvelApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool OrvelApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    ShowErrorBox(CurrentErrorMessage());
  }
  return false;
}

int RunGuarded(const std::function<int()>& body) {
  try {
    return body();
  } catch (...) {
    // Anything that is no std::exception is shown with an empty message.
    ShowErrorBox(CurrentErrorMessage());
  }
  return 0;
}

}  // namespace orvel
