#include "gui/dialogs/SeedForm.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "core/hall/TextToNumber.h"
#include "gui/common/ErrorBox.h"
#include "gui/common/WindowLook.h"

using namespace Qt::StringLiterals;

namespace orvel {

TSeedForm::TSeedForm(QWidget* parent) : QDialog(parent) {
  setObjectName(u"TSeedForm"_s);
  setWindowTitle(u"乱数シード"_s);
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  setFont(FormFont());

  auto* label = new QLabel(u"シミュレーションの乱数の始まりを選んでください。"_s, this);
  label->setObjectName(u"Label1"_s);
  clockRadio_ = new QRadioButton(u"時計から（開始のたびに違う結果）"_s, this);
  clockRadio_->setObjectName(u"ClockRadio"_s);
  fixedRadio_ = new QRadioButton(u"シードを固定（同じ結果をもう一度）"_s, this);
  fixedRadio_->setObjectName(u"FixedRadio"_s);
  seedEdit_ = new QLineEdit(this);
  seedEdit_->setObjectName(u"SeedEdit"_s);
  seedEdit_->setMaxLength(10);
  auto* range = new QLabel(u"0～4294967295。orvelsim-cli の --seed と同じ結果になります。"_s, this);
  range->setObjectName(u"Label2"_s);
  auto* ok = new QPushButton(u"OK"_s, this);
  ok->setObjectName(u"OkButton"_s);
  ok->setDefault(true);
  auto* cancel = new QPushButton(u"Cancel"_s, this);
  cancel->setObjectName(u"CancelButton"_s);

  auto* layout = new QGridLayout(this);
  layout->addWidget(label, 0, 0, 1, 2);
  layout->addWidget(clockRadio_, 1, 0, 1, 2);
  layout->addWidget(fixedRadio_, 2, 0);
  layout->addWidget(seedEdit_, 2, 1);
  layout->addWidget(range, 3, 0, 1, 2);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  layout->addLayout(buttons, 4, 0, 1, 2);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(fixedRadio_, &QRadioButton::toggled, seedEdit_, &QLineEdit::setEnabled);
  connect(ok, &QPushButton::clicked, this, &TSeedForm::OkButtonClick);
  connect(cancel, &QPushButton::clicked, this, &TSeedForm::CancelButtonClick);
}

void TSeedForm::showEvent(QShowEvent* event) {
  accepted = false;
  (seed ? fixedRadio_ : clockRadio_)->setChecked(true);
  seedEdit_->setEnabled(seed.has_value());
  seedEdit_->setText(seed ? QString::number(*seed) : QString());
  QDialog::showEvent(event);
}

void TSeedForm::OkButtonClick() {
  if (fixedRadio_->isChecked()) {
    const auto typed = TryStrToUInt32(seedEdit_->text().toStdString());
    if (!typed) {
      ShowErrorDialog(u"シードは、0から4294967295の整数にしてください。"_s, this);
      seedEdit_->setFocus();
      return;
    }
    seed = typed;
  } else {
    seed.reset();
  }
  accepted = true;
  accept();
}

void TSeedForm::CancelButtonClick() { reject(); }

}  // namespace orvel
