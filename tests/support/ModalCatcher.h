#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <functional>

// Answers the modal boxes a handler opens while a test drives a window:
// records each message box (caption, text, icon, buttons) and presses its
// OK; any other modal dialog goes to `onDialog`, or is rejected.
class ModalCatcher : public QObject {
public:
  struct Box {
    QString title;
    QString text;
    QMessageBox::Icon icon;
    int buttons;
    QString objectName;
  };

  ModalCatcher() {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, this, [this] { Poll(); });
    timer_.start();
  }

  std::function<void(QDialog*)> onDialog;
  QList<Box> boxes;

  QStringList texts() const {
    QStringList list;
    for (const Box& box : boxes) list << box.text;
    return list;
  }

private:
  void Poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || modal == handled_) return;
    handled_ = modal;
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      boxes.append({box->windowTitle(), box->text(), box->icon(), static_cast<int>(box->buttons().size()),
                    box->objectName()});
      box->button(QMessageBox::Ok) ? box->button(QMessageBox::Ok)->click() : box->reject();
    } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
      if (onDialog) {
        onDialog(dialog);
      } else {
        dialog->reject();
      }
    } else {
      modal->close();
    }
    handled_ = nullptr;
  }

  QTimer timer_;
  QWidget* handled_ = nullptr;
};
