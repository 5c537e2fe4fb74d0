#pragma once
// What screen readers see of a result field (a static control without text of its own): its
// caption as its name, its value as its text, its tip as its description.

class QLabel;
class QString;

namespace afx::qt {

// Makes label a result field named by caption, which labels it (label-for / labelled-by).
void MarkResultField(QLabel& label, QLabel& caption);

// The field's value changed: tells screen readers.
void NotifyFieldText(QLabel& label, const QString& before);

}  // namespace afx::qt
