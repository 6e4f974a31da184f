#pragma once

class QDesignerFormEditorInterface;

// Marks every form Designer edits, now and later, as being designed, so that the controls in it
// see UserMode False. Previews are no form windows and run.
void markFormWindowsDesigned(QDesignerFormEditorInterface *core);
