#pragma once

#include <QDialog>

#include <cstdint>
#include <optional>

class QLineEdit;
class QRadioButton;

namespace orvel {

// The seed dialog: the hall's runs either take their seed from the clock
// (every run different) or start from one fixed seed, 0 … 4294967295, as
// `orvelsim-cli --seed` does. Shows `seed` when it opens; OK reads the
// choice back into it. A seed that is no such integer is refused with its
// message and the dialog stays open.
class TSeedForm final : public QDialog {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TSeedForm)

public:
  explicit TSeedForm(QWidget* parent = nullptr);

  bool accepted = false;
  std::optional<std::uint32_t> seed;  // none: the clock's

  void OkButtonClick();
  void CancelButtonClick();

protected:
  void showEvent(QShowEvent* event) override;  // FormShow

private:
  QRadioButton* clockRadio_ = nullptr;
  QRadioButton* fixedRadio_ = nullptr;
  QLineEdit* seedEdit_ = nullptr;
};

}  // namespace orvel
