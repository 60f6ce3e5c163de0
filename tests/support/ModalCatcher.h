#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
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
    if (!modal) return;
    for (const QPointer<QWidget>& seen : handled_) {
      if (seen == modal) return;
    }
    handled_.append(modal);
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      boxes.append({box->windowTitle(), box->text(), box->icon(), static_cast<int>(box->buttons().size()),
                    box->objectName()});
      box->button(QMessageBox::Ok) ? box->button(QMessageBox::Ok)->click() : box->reject();
    } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
      // The dialogs are reused: once this opening has finished, the next
      // one is new to the catcher.
      QObject::connect(dialog, &QDialog::finished, this, [this, dialog] {
        handled_.removeIf([dialog](const QPointer<QWidget>& w) { return !w || w == dialog; });
      }, Qt::SingleShotConnection);
      // Scripted from an event of its own: a box the script opens must still
      // find this timer free to answer it (Qt never re-enters a timer).
      QTimer::singleShot(0, dialog, [this, dialog] {
        if (onDialog) {
          onDialog(dialog);
        } else {
          dialog->reject();
        }
      });
    } else {
      modal->close();
    }
  }

  QTimer timer_;
  QList<QPointer<QWidget>> handled_;
};
