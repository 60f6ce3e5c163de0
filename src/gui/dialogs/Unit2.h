#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class TAboutBox;
}

namespace orvel {

// The version box: product, version, notice, and links to the author's
// mail and home page. OK is the default button.
//
// Its version text is fixed at "Version1.0.1.0", the version the box has
// always shown; the build's version (the project's VERSION in CMake) is
// carried by the executable's version resource and the application's
// version, never by this box.
class TAboutBox final : public QDialog {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TAboutBox)

public:
  explicit TAboutBox(QWidget* parent = nullptr);
  ~TAboutBox() override;

  void Label1Click();  // the home page
  void Label2Click();  // mail to the author

protected:
  void showEvent(QShowEvent* event) override;

private:
  std::unique_ptr<Ui::TAboutBox> ui_;
};

}  // namespace orvel
