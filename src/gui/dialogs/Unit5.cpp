#include "gui/dialogs/Unit5.h"

#include <QKeyEvent>

#include "gui/common/WindowLook.h"
#include "gui/common/ErrorBox.h"
#include "core/hall/TextToNumber.h"
#include "core/model/Codes.h"
#include "ui_Unit5.h"

using namespace Qt::StringLiterals;

namespace orvel {

TSetSlotForm::TSetSlotForm(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::TSetSlotForm>()) {
  ui_->setupUi(this);
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  setFont(FormFont());
  setFixedSize(280, 132);
  ui_->LevelComboBox->setCurrentText(u"1"_s);
  ui_->WorkComboBox->setCurrentText(u"0"_s);
  connect(ui_->OkButton, &QPushButton::clicked, this, &TSetSlotForm::OkButtonClick);
  connect(ui_->CancelButton, &QPushButton::clicked, this, &TSetSlotForm::CancelButtonClick);
}

TSetSlotForm::~TSetSlotForm() = default;

QString TSetSlotForm::levelText() const { return ui_->LevelComboBox->currentText(); }
QString TSetSlotForm::workText() const { return ui_->WorkComboBox->currentText(); }

void TSetSlotForm::setTexts(const QString& level, const QString& work) {
  ui_->LevelComboBox->setCurrentText(level);
  ui_->WorkComboBox->setCurrentText(work);
}

void TSetSlotForm::showEvent(QShowEvent* event) {
  accepted = false;
  CentreOnScreen(this);
  QDialog::showEvent(event);
}

void TSetSlotForm::OkButtonClick() {
  const auto level = IntegerInRangeOrErrorBox(levelText(), Level::kMin, Level::kMax, u"設定は、1から6にしてください。"_s, this);
  if (!level || !level->inRange) return;
  const std::string work = workText().toStdString();
  if (!TryParseDecimal(work)) {
    ShowErrorBox(ToQString(NotADecimalMessage(work)), this);
    return;
  }
  accepted = true;
  accept();
}

void TSetSlotForm::CancelButtonClick() { reject(); }

void TSetSlotForm::keyPressEvent(QKeyEvent* event) {
  if (!SwallowButtonKeys(event)) QDialog::keyPressEvent(event);
}

}  // namespace orvel
