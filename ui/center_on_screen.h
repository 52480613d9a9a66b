#pragma once

class QWidget;

// Places a top-level window in the middle of the available area of its screen
// (not of its parent, as Qt would by default).
void CenterOnScreen(QWidget& window);
