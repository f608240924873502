#pragma once

class QWidget;

// A control that edits in place, as a grid's cell editor does. What its
// editor holds is typed work like the text of a box: before an action reads,
// replaces or throws away what was typed, the open edit is ended.
class OpenEditOwner {
public:
    virtual ~OpenEditOwner() = default;
    // Commits an edit still open through the control's own rules; an editor
    // left as it was closes with nothing changed. False when the rules
    // refused what was typed (the control has said why).
    virtual bool commitOpenEdit() = 0;
};

// Ends what is still being typed in `area`: the word an input method is
// composing goes into its box, and every open cell edit is committed. False
// when a control refused what was typed.
bool CommitOpenEdits(QWidget* area);
