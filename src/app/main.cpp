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
    // Where QSettings keeps the recent hall files.
    QApplication::setOrganizationName(QStringLiteral("Orvelsim"));
    QApplication::setWindowIcon(orvel::AppIcon());
    // The hall window first: it is the main window, and builds the default
    // hall. Then the version box and the two dialogs, hidden.
    orvel::TFormHall hall;
    orvel::TAboutBox about(&hall);
    orvel::TSetSlotForm setSlot(&hall);
    orvel::TSetNumForm setNum(&hall);
    hall.SetDialogs(&setSlot, &setNum, &about);
    hall.show();
    // `orvelsim FILE.orvelhall` opens the file; a refused one leaves the
    // default hall, with the error box.
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1) hall.OpenHallFile(arguments.at(1));
    return QApplication::exec();
  });
}
