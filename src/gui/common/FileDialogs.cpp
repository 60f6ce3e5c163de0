#include "gui/common/FileDialogs.h"

#include <QFileDialog>
#include <QGuiApplication>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace orvel {

namespace {

QString Run(QFileDialog& dialog) {
  // The desktop's own dialog where there is a desktop; without one (the
  // offscreen and minimal platforms) the toolkit's, which can be answered.
  const QString platform = QGuiApplication::platformName();
  if (platform == u"offscreen"_s || platform == u"minimal"_s) dialog.setOption(QFileDialog::DontUseNativeDialog);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().constFirst();
}

}  // namespace

QString AskOpenFile(QWidget* parent, const QString& caption, const QString& filter) {
  QFileDialog dialog(parent, caption, QString(), filter);
  dialog.setObjectName(u"OpenDialog"_s);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  return Run(dialog);
}

QString AskSaveFile(QWidget* parent, const QString& caption, const QString& filter, const QString& suggested,
                    const QString& suffix) {
  QFileDialog dialog(parent, caption, QString(), filter);
  dialog.setObjectName(u"SaveDialog"_s);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix(suffix);
  // A name typed without a suffix gets the one of the chosen type.
  QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog](const QString& chosen) {
    const auto match = QRegularExpression(u"\\*\\.(\\w+)"_s).match(chosen);
    if (match.hasMatch()) dialog.setDefaultSuffix(match.captured(1));
  });
  if (!suggested.isEmpty()) dialog.selectFile(suggested);
  return Run(dialog);
}

QString AskFolder(QWidget* parent, const QString& caption) {
  QFileDialog dialog(parent, caption);
  dialog.setObjectName(u"FolderDialog"_s);
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly);
  return Run(dialog);
}

}  // namespace orvel
