#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TSetSlotForm;
}

namespace orvel {

// The seat setting dialog: a seat's setting and operating rate. Created
// once and reused; the hall window fills it, shows it modally and reads
// `accepted` afterwards.
//
// OK checks both texts before it closes: a setting that is no integer or
// outside 1 … 6, or a rate that is no decimal number, is refused with its
// message and the dialog stays open, so the hall never stores half a seat.
class TSetSlotForm final : public QDialog {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TSetSlotForm)

public:
  explicit TSetSlotForm(QWidget* parent = nullptr);
  ~TSetSlotForm() override;

  bool accepted = false;

  void OkButtonClick();
  void CancelButtonClick();

  // The texts the user chose or typed.
  QString levelText() const;
  QString workText() const;
  void setTexts(const QString& level, const QString& work);

protected:
  void showEvent(QShowEvent* event) override;  // FormShow
  void keyPressEvent(QKeyEvent* event) override;

private:
  std::unique_ptr<Ui::TSetSlotForm> ui_;
};

}  // namespace orvel
