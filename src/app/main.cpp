#include <QApplication>

#include "hall/Unit3.h"

using namespace Qt::StringLiterals;

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationDisplayName(u"Orvelsimホール"_s);
  orvel::TFormHall hall;
  hall.show();
  return QApplication::exec();
}
