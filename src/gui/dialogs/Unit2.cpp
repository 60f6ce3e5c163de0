#include "gui/dialogs/Unit2.h"

#include <QDesktopServices>
#include <QUrl>

#include "gui/common/WindowLook.h"
#include "gui/common/AppIcon.h"
#include "gui/common/Links.h"
#include "ui_Unit2.h"

namespace orvel {

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::TAboutBox>()) {
  ui_->setupUi(this);
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setFont(FormFont());
  setFixedSize(298, 213);
  ui_->ProgramIcon->setPixmap(AppIcon().pixmap(32, 32));
  connect(ui_->OKButton, &QPushButton::clicked, this, &QDialog::accept);
  connect(ui_->Label1, &LinkLabel::clicked, this, &TAboutBox::Label1Click);
  connect(ui_->Label2, &LinkLabel::clicked, this, &TAboutBox::Label2Click);
}

TAboutBox::~TAboutBox() = default;

void TAboutBox::showEvent(QShowEvent* event) {
  CentreOnScreen(this);
  QDialog::showEvent(event);
}

void TAboutBox::Label1Click() { QDesktopServices::openUrl(QUrl(links::HomePage())); }

void TAboutBox::Label2Click() { QDesktopServices::openUrl(QUrl(links::Mail())); }

}  // namespace orvel
