#include "app/AppIcon.h"
#include "app/OrvelApplication.h"
#include "app/Unit2.h"
#include "app/Unit4.h"
#include "app/Unit5.h"
#include "hall/Unit3.h"

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
