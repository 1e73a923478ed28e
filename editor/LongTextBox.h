#pragma once
// Text boxes that stay quick with any text.
#include <QString>

class QPlainTextEdit;

// Puts `text` into the box. Wrapping at word boundaries lays out a long run without a blank in minutes
// (a megabyte of one "word" takes more than a minute): text holding such a run is wrapped anywhere, which
// takes a moment; other text wraps at words as usual. A text of megabytes is split into the box's lines on
// another thread while the window repaints.
void SetBoxText(QPlainTextEdit* box, const QString& text);
