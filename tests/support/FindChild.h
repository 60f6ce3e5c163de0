#pragma once

#include <QObject>
#include <QString>

// A window's child by objectName; a test that names a missing one stops
// with that name.
template <class T>
T* Find(QObject& parent, const QString& name) {
  T* child = parent.findChild<T*>(name);
  if (!child) qFatal("no %s named %s", T::staticMetaObject.className(), qPrintable(name));
  return child;
}
