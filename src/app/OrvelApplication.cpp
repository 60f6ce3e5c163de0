#include "app/OrvelApplication.h"

#include <exception>

#include "gui/common/ErrorBox.h"

namespace orvel {

OrvelApplication::OrvelApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool OrvelApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& error) {
    ShowErrorBox(QString::fromUtf8(error.what()));
  } catch (...) {
    ShowErrorBox(QString());
  }
  return false;
}

int RunGuarded(const std::function<int()>& body) {
  try {
    return body();
  } catch (const std::exception& error) {
    ShowErrorBox(QString::fromUtf8(error.what()));
  } catch (...) {
    // Anything that is no exception of ours is shown with an empty message.
    ShowErrorBox(QString());
  }
  return 0;
}

}  // namespace orvel
