#include "gui/dialogs/Unit4.h"

#include <QKeyEvent>

#include "gui/common/WindowLook.h"
#include "gui/common/ErrorBox.h"
#include "ui_Unit4.h"

using namespace Qt::StringLiterals;

namespace orvel {

TSetNumForm::TSetNumForm(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::TSetNumForm>()) {
  ui_->setupUi(this);
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  setFont(FormFont());
  setFixedSize(303, 131);
  connect(ui_->OkButton, &QPushButton::clicked, this, &TSetNumForm::OkButtonClick);
  connect(ui_->CancelButton, &QPushButton::clicked, this, &TSetNumForm::CancelButtonClick);
}

TSetNumForm::~TSetNumForm() = default;

void TSetNumForm::showEvent(QShowEvent* event) {
  accepted = false;
  ui_->NumEdit->setText(QString::number(machineCount));
  move(387, 523);  // the design's place, not centred
  QDialog::showEvent(event);
}

void TSetNumForm::OkButtonClick() {
  const auto count =
      IntegerInRangeOrErrorBox(ui_->NumEdit->text(), 0, kMaxMachines, u"台数は、0から1000にしてください。"_s, this);
  if (!count || !count->inRange) return;
  machineCount = count->value;
  accepted = true;
  accept();
}

void TSetNumForm::CancelButtonClick() { reject(); }

void TSetNumForm::keyPressEvent(QKeyEvent* event) {
  if (!SwallowButtonKeys(event)) QDialog::keyPressEvent(event);
}

}  // namespace orvel
