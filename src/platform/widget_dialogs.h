// The real message boxes, input boxes and file and folder dialogs of the
// windowed program, behind platform::dialogs.
#pragma once

namespace platform::dialogs {

// From now on unscripted boxes are Qt's own, owned by the active window.
// Needs the application object.
void useWidgets();

}  // namespace platform::dialogs
