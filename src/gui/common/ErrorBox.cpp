#include "gui/common/ErrorBox.h"

#include <QMessageBox>

#include <exception>
#include <new>

#include "gui/common/ApplicationTitle.h"
#include "gui/common/WindowLook.h"
#include "core/hall/TextToNumber.h"

using namespace Qt::StringLiterals;

namespace orvel {

QString ErrorBoxText(const QString& message) {
  if (!message.isEmpty() && message.back() > u'.') return message + u'.';
  return message;
}

void ShowErrorBox(const QString& message, QWidget* parent) { ShowErrorBoxText(ErrorBoxText(message), parent); }

void ShowErrorBoxText(const QString& text, QWidget* parent) {
  QMessageBox box(QMessageBox::Critical, ApplicationTitle(), text, QMessageBox::Ok, parent);
  box.setObjectName(u"ErrorBox"_s);
  box.exec();
}

QString CurrentErrorMessage() {
  try {
    throw;
  } catch (const std::bad_alloc&) {
    return u"メモリが足りません"_s;
  } catch (const std::exception& error) {
    return QString::fromUtf8(error.what());
  } catch (...) {
    return {};
  }
}

std::optional<std::int32_t> IntegerOrErrorBox(const QString& text, QWidget* parent) {
  const std::string typed = text.toStdString();
  const auto value = TryStrToInt(typed);
  if (!value) ShowErrorBox(ToQString(NotAnIntegerMessage(typed)), parent);
  return value;
}

std::optional<TypedInteger> IntegerInRangeOrErrorBox(const QString& text, std::int32_t min, std::int32_t max,
                                                     const QString& rangeMessage, QWidget* parent) {
  const auto value = IntegerOrErrorBox(text, parent);
  if (!value) return std::nullopt;
  const bool inRange = *value >= min && *value <= max;
  if (!inRange) ShowErrorDialog(rangeMessage, parent);
  return TypedInteger{*value, inRange};
}

void ShowErrorDialog(const QString& message, QWidget* parent) {
  QMessageBox box(QMessageBox::Critical, u"エラー"_s, message, QMessageBox::Ok, parent);
  box.setObjectName(u"ErrorDialog"_s);
  box.exec();
}

}  // namespace orvel
