#pragma once

class QPlainTextEdit;

// A multi-line box takes no more characters than its column holds: text typed or pasted
// beyond the limit is not accepted, rather than cut or refused when it is saved.
void LimitTextLength(QPlainTextEdit *edit, int maxLength);
