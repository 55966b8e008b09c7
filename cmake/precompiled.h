// The headers most files of a library include, compiled once per library when the files are
// compiled one by one (the sanitizer build). Only headers that change nothing by being included.
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#ifdef QT_WIDGETS_LIB
#include <QtWidgets>
#endif
