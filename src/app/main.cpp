#include "gui/common/ApplicationTitle.h"
#include "gui/common/AppIcon.h"
#include "app/OrvelApplication.h"
#include "gui/dialogs/Unit2.h"
#include "gui/dialogs/Unit4.h"
#include "gui/dialogs/Unit5.h"
#include "gui/hall/Unit3.h"

int main(int argc, char** argv) {
  orvel::OrvelApplication app(argc, argv);
  return orvel::RunGuarded([] {
    QApplication::setApplicationName(orvel::ApplicationTitle());
    QApplication::setApplicationVersion(QStringLiteral(ORVELSIM_VERSION));
    QApplication::setWindowIcon(orvel::AppIcon());
    // The hall window first: it is the main window, and builds the default
    // hall. Then the version box and the two dialogs, hidden.
    orvel::TFormHall hall;
    orvel::TAboutBox about(&hall);
    orvel::TSetSlotForm setSlot(&hall);
    orvel::TSetNumForm setNum(&hall);
    hall.SetDialogs(&setSlot, &setNum, &about);
    hall.show();
    return QApplication::exec();
  });
}
