#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TSetNumForm;
}

namespace orvel {

// The machine-count dialog. Shows `machineCount` when it opens; OK reads
// the count back into it. A count that is no integer or outside 0 … 1000
// is refused with its message and the dialog stays open.
class TSetNumForm final : public QDialog {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TSetNumForm)

public:
  static constexpr int kMaxMachines = 1000;

  explicit TSetNumForm(QWidget* parent = nullptr);
  ~TSetNumForm() override;

  bool accepted = false;
  int machineCount = 20;

  void OkButtonClick();
  void CancelButtonClick();

protected:
  void showEvent(QShowEvent* event) override;  // FormShow
  void keyPressEvent(QKeyEvent* event) override;

private:
  std::unique_ptr<Ui::TSetNumForm> ui_;
};

}  // namespace orvel
