#pragma once

class QWidget;

/// Keeps a top-level window inside the available area of the screen it opens on (the
/// screen under its centre, else its own): a size larger than that area shrinks, a
/// position running off it moves back in. Room is kept for the window frame.
void KeepOnScreen(QWidget* window);
