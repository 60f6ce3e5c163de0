#pragma once

#include <QString>

class QWidget;

namespace orvel {

// The toolkit's file dialogs, built as objects and shown modally (not the
// static shortcuts), so that a test answers them as a user would: each is a
// QFileDialog with its objectName. Each returns the chosen path, or an
// empty text when cancelled.
QString AskOpenFile(QWidget* parent, const QString& caption, const QString& filter);
// `suggested` is the file name (or path) offered; `suffix` is added to a
// name typed without one.
QString AskSaveFile(QWidget* parent, const QString& caption, const QString& filter, const QString& suggested,
                    const QString& suffix);
QString AskFolder(QWidget* parent, const QString& caption);

}  // namespace orvel
