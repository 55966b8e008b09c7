#pragma once

#include <QString>

namespace app {

class Form1;

// Renders each page of the window into PNG files of folder (the README's pictures); the tagging
// pages show the first file of the list when there is one. False when a file cannot be written.
bool saveScreenshots(Form1 &window, const QString &folder);

} // namespace app
