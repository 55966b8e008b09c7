#pragma once

class QWidget;

namespace app {

// Sets the keyboard focus order of every control under root to the order a reader sees them in
// its layouts: rows top to bottom, left to right within a row (a form's label and field, a grid
// row by row), the panes of a splitter one after the other. Controls placed outside layouts
// keep their place.
void orderTabsAsLaidOut(QWidget *root);

} // namespace app
