#pragma once

class QWidget;

// A text field that can be typed into is white; a read-only one takes the
// window colour, so the user sees at a glance what the editor lets him change.
void SetFieldEditable(QWidget *field, bool editable);
