#pragma once

#include <QString>

#include <cstdint>
#include <optional>

class QWidget;

namespace orvel {

// The application's error box for errors no handler dealt with: the message
// with "." added when its last character sorts after ".", the application
// title as caption, an error icon and OK.
void ShowErrorBox(const QString& message, QWidget* parent = nullptr);
QString ErrorBoxText(const QString& message);
// The same box with a text of the program's own, shown as it is.
void ShowErrorBoxText(const QString& text, QWidget* parent = nullptr);

// The message the error box shows for the exception being handled (call it
// only inside a catch block): what() of a std::exception, empty for
// anything else, and for running out of memory a Japanese sentence instead
// of the library's "std::bad_alloc".
QString CurrentErrorMessage();

// The integer a user typed, or, for a text that is no integer, the error
// box with "'%s' は整数ではありません" and nothing.
std::optional<std::int32_t> IntegerOrErrorBox(const QString& text, QWidget* parent);

// The same, checked against min … max as well: an integer outside them gets
// the error dialog with `rangeMessage` and comes back with inRange false,
// for the caller to refuse or to replace.
struct TypedInteger {
  std::int32_t value;
  bool inRange;
};
std::optional<TypedInteger> IntegerInRangeOrErrorBox(const QString& text, std::int32_t min, std::int32_t max,
                                                     const QString& rangeMessage, QWidget* parent);

// The hall window's bound checks: caption "エラー", an error icon, one OK.
void ShowErrorDialog(const QString& message, QWidget* parent);

}  // namespace orvel
