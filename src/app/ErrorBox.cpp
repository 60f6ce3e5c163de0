#include "app/ErrorBox.h"

#include <QMessageBox>

#include "app/OrvelApplication.h"

using namespace Qt::StringLiterals;

namespace orvel {

QString ErrorBoxText(const QString& message) {
  if (!message.isEmpty() && message.back() > u'.') return message + u'.';
  return message;
}

void ShowErrorBox(const QString& message, QWidget* parent) {
  QMessageBox box(QMessageBox::Critical, ApplicationTitle(), ErrorBoxText(message), QMessageBox::Ok, parent);
  box.setObjectName(u"ErrorBox"_s);
  box.exec();
}

void ShowErrorDialog(const QString& message, QWidget* parent) {
  QMessageBox box(QMessageBox::Critical, u"エラー"_s, message, QMessageBox::Ok, parent);
  box.setObjectName(u"ErrorDialog"_s);
  box.exec();
}

}  // namespace orvel
